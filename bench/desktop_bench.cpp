// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The real program on a private X server (Xvfb), watched from outside as a player would see it:
// the time from its start to the intro's first frame on the screen, beside the same time for a
// bare Qt window; and the share of a core it takes while it waits on the title screen and during
// a question, with its music playing, read from /proc.

#include "bench/desktop_bench.h"

#include "desktop/xdisplay.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <thread>

#include <dirent.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

namespace vorn::bench {

namespace {

using namespace vorn::desktop;
using namespace std::chrono_literals;

constexpr const char* kGameTitle = "V.O.R.N. VOZID";
constexpr const char* kBareTitle = "vorn-bench bare window";
constexpr int kClientHeight = 434;
constexpr std::uint32_t kReturn = 0xff0d;

// A program started in `folder` with `env`; killed at the end.
class Child {
  public:
    Child(const std::string& folder, const std::string& program,
          const std::map<std::string, std::string>& env) {
        pid_ = fork();
        if (pid_ == 0) {
            if (chdir(folder.c_str()) != 0) _exit(126);
            for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
            if (std::FILE* log = std::fopen("/dev/null", "w")) {
                dup2(fileno(log), STDERR_FILENO);
                dup2(fileno(log), STDOUT_FILENO);
            }
            execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~Child() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    pid_t pid() const { return pid_; }
    bool running() const { return pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0; }

  private:
    pid_t pid_ = -1;
};

// The CPU time its threads have run so far, in seconds, to the nanosecond (the scheduler's own
// count, /proc/PID/task/*/schedstat; /proc/PID/stat counts in 10 ms ticks, too coarse for a
// share under 1 % over a few seconds). The waits measured start no thread and end none.
double cpuSecondsOf(pid_t pid) {
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    double ns = 0;
    if (DIR* dir = opendir(tasks.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            if (entry->d_name[0] == '.') continue;
            std::ifstream in(tasks + "/" + entry->d_name + "/schedstat");
            double running = 0;
            if (in >> running) ns += running;
        }
        closedir(dir);
    }
    return ns / 1e9;
}

bool waitFor(std::chrono::milliseconds limit, const std::function<bool()>& done,
             std::chrono::milliseconds step = 5ms) {
    const auto until = Clock::now() + limit;
    while (Clock::now() < until) {
        if (done()) return true;
        std::this_thread::sleep_for(step);
    }
    return false;
}

double median(std::vector<double> v) {
    if (v.empty()) return -1;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::map<std::string, std::string> environmentFor(const VirtualServer& server,
                                                  const std::string& cache,
                                                  const std::string& runtime) {
    const char* path = std::getenv("PATH");
    return {{"DISPLAY", server.display()}, {"QT_QPA_PLATFORM", "xcb"},
            {"SDL_AUDIODRIVER", "dummy"},  {"PATH", path ? path : "/usr/bin:/bin"},
            {"XDG_CACHE_HOME", cache},     {"XDG_RUNTIME_DIR", runtime}};
}

// Milliseconds from the start of `program` to `shown` being true of its window; -1 if never.
double timeToShow(Connection& x, const VirtualServer& server, const std::string& folder,
                  const std::string& program, const std::string& cache, const std::string& runtime,
                  const char* title, const std::function<bool(const Capture&)>& shown) {
    const auto start = Clock::now();
    Child child(folder, program, environmentFor(server, cache, runtime));
    std::optional<xcb_window_t> window;
    const bool seen = waitFor(
        15000ms,
        [&] {
            if (!window) window = x.findWindow(title);
            if (!window) return false;
            const auto c = x.capture(*window);
            return c && shown(*c);
        },
        1ms);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    return seen ? ms : -1;
}

}  // namespace

DesktopFigures measureDesktop(const DesktopOptions& options) {
    DesktopFigures out;
    VirtualServer server(1024, 768);
    if (server.display().empty()) {
        out.error = "Xvfb did not start";
        return out;
    }
    Connection x(server.display());
    if (!x.ok()) {
        out.error = "no connection to Xvfb";
        return out;
    }
    char pattern[] = "/tmp/vorn-bench-XXXXXX";
    if (!mkdtemp(pattern)) {
        out.error = "no temporary folder";
        return out;
    }
    const std::string runtime = pattern;
    const std::string cache = options.cacheHome.empty() ? runtime : options.cacheHome;

    // The intro's first visible frame: the intro fades in from black (its very first picture is
    // black), so the first picture with any light in the video's frame, its second (1/15 s in).
    const auto introShown = [](const Capture& c) {
        const int top = c.height - kClientHeight;
        return c.brightness(64, top + 34, 504, 367) > 0.5;
    };
    const auto bareShown = [](const Capture& c) {
        const int top = c.height - kClientHeight;
        return c.brightness(0, top, c.width, kClientHeight) > 200;
    };
    std::vector<double> game, bare;
    for (int round = 0; round < options.startupRounds; ++round) {
        bare.push_back(timeToShow(x, server, options.gameDir, options.bareProgram, cache, runtime,
                                  kBareTitle, bareShown));
        game.push_back(timeToShow(x, server, options.gameDir, "./vorn", cache, runtime, kGameTitle,
                                  introShown));
    }
    out.startupMs = median(game);
    out.bareStartupMs = median(bare);

    // The waits, the music playing.
    if (options.cpuSeconds > 0) {
        Child child(options.gameDir, "./vorn", environmentFor(server, cache, runtime));
        std::optional<xcb_window_t> window;
        const auto corner = [&] {
            if (!window) window = x.findWindow(kGameTitle);
            const auto c = window ? x.capture(*window) : std::nullopt;
            return c ? c->litShare(4, c->height - kClientHeight + 4, 50, 20) : 0.0;
        };
        // The intro ends on the title screen, whose picture fills the client area's corner.
        if (!waitFor(
                60000ms, [&] { return corner() > 0.5; }, 50ms)) {
            out.error = "the real program showed no title screen";
        } else {
            // The title music has begun: what a player waiting there costs from now on.
            std::this_thread::sleep_for(std::chrono::milliseconds(options.settleMs));
            const double c0 = cpuSecondsOf(child.pid());
            const auto t0 = Clock::now();
            std::this_thread::sleep_for(std::chrono::duration<double>(options.cpuSeconds));
            out.titleCpuPercent = 100.0 * (cpuSecondsOf(child.pid()) - c0) /
                                  std::chrono::duration<double>(Clock::now() - t0).count();

            // Enter: the level's video, then its first question.
            x.typeKey(*window, kReturn);
            if (!waitFor(
                    5000ms, [&] { return corner() < 0.5; }, 20ms) ||
                !waitFor(
                    60000ms, [&] { return corner() > 0.5; }, 20ms)) {
                out.error = "the real program showed no question";
            } else {
                // Within the first question's 9.85 s, after the level tune's rendering.
                std::this_thread::sleep_for(std::chrono::milliseconds(options.settleMs));
                const double q0 = cpuSecondsOf(child.pid());
                const auto u0 = Clock::now();
                std::this_thread::sleep_for(std::chrono::duration<double>(
                    std::min(options.cpuSeconds, 9.0 - options.settleMs / 1000.0)));
                out.questionCpuPercent = 100.0 * (cpuSecondsOf(child.pid()) - q0) /
                                         std::chrono::duration<double>(Clock::now() - u0).count();
            }
        }
    }
    std::system(("rm -rf " + runtime).c_str());
    return out;
}

}  // namespace vorn::bench
