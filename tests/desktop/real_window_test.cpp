// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The real program on a real X server: what a player sees in the first seconds (the intro's
// frames and the menu bar), a window that keeps answering the desktop while the interludes hold
// the game, and the rules handed to the desktop as an HTML document. Offscreen rendering shows
// none of this.

#include "desktop/xdisplay.h"

#include "core/layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

namespace {

using namespace vorn::desktop;
using namespace std::chrono_literals;

constexpr const char* kTitle = "V.O.R.N. VOZID";
constexpr const char* kProgram = "vorn";  // the program's name, in its windows' WM_CLASS
constexpr int kClientWidth = 632, kClientHeight = 434;
constexpr std::uint32_t kReturn = 0xff0d, kEscape = 0xff1b, kF1 = 0xffbe, kDown = 0xff54;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return in ? s.str() : std::string();
}

// The game, started in its folder with the given environment; killed if still running at the end.
class Game {
  public:
    Game(const std::string& folder, const std::map<std::string, std::string>& env) {
        pid_ = fork();
        if (pid_ == 0) {
            if (chdir(folder.c_str()) != 0) _exit(126);
            for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
            if (std::FILE* log = std::fopen("/dev/null", "w")) dup2(fileno(log), STDERR_FILENO);
            execl("./vorn", "vorn", static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~Game() {
        if (running()) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    bool running() {
        if (pid_ <= 0 || exited_) return false;
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            exited_ = true;
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        return !exited_;
    }
    int status() const { return status_; }

  private:
    pid_t pid_ = -1;
    bool exited_ = false;
    int status_ = -1;
};

class RealWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/vorn-desktop-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        // A stand-in for the desktop's opener: it keeps what it was handed.
        const std::string bin = dir_ + "/bin";
        ASSERT_EQ(system(("mkdir -p " + bin + " " + dir_ + "/cache " + dir_ + "/runtime").c_str()),
                  0);
        std::ofstream opener(bin + "/xdg-open");
        opener << "#!/bin/sh\nprintf '%s\\n' \"$1\" > " << dir_ << "/url\ncp \"${1#file://}\" "
               << dir_ << "/document\n";
        opener.close();
        chmod((bin + "/xdg-open").c_str(), 0755);
    }
    void TearDown() override { std::system(("rm -rf " + dir_).c_str()); }

    // The game's environment on `display`: the stand-in opener first on the PATH, caches and
    // runtime files in the test's own folder.
    std::map<std::string, std::string> gameEnvironment(const std::string& display) const {
        const char* path = std::getenv("PATH");
        return {{"DISPLAY", display},
                {"QT_QPA_PLATFORM", "xcb"},
                {"SDL_AUDIODRIVER", "dummy"},
                {"PATH", dir_ + "/bin:" + (path ? path : "/usr/bin:/bin")},
                {"XDG_CACHE_HOME", dir_ + "/cache"},
                {"XDG_RUNTIME_DIR", dir_ + "/runtime"}};
    }

    // How long a test waits for something the program must do: far longer than it takes on a
    // machine whose cores are both busy with other work, so that only a program that never does
    // it fails.
    static constexpr std::chrono::milliseconds kPatience = 60s;

    // Polls `done` every 20 ms until it holds or `limit` has passed.
    static bool waitFor(std::chrono::milliseconds limit, const std::function<bool()>& done) {
        const auto until = Clock::now() + limit;
        while (Clock::now() < until) {
            if (done()) return true;
            std::this_thread::sleep_for(20ms);
        }
        return false;
    }

    std::string dir_;
};

// The client area sits below the menu bar, at the bottom of the window.
struct Layout {
    int menuBar;
    int clientTop() const { return menuBar; }
};

TEST_F(RealWindow, IntroShowsAtOnceAndTheWindowAnswersTheDesktopWhileInterludesPlay) {
    VirtualServer server(1024, 768);
    ASSERT_FALSE(server.display().empty()) << "Xvfb did not start (is the xvfb package installed?)";
    Connection x(server.display());
    ASSERT_TRUE(x.ok());

    Game game(VORN_GAME_DIR, gameEnvironment(server.display()));
    std::optional<xcb_window_t> window;
    ASSERT_TRUE(waitFor(kPatience, [&] { return (window = x.findWindow(kTitle)).has_value(); }))
        << "no window titled " << kTitle;
    PingWatch pings(server.display(), *window);
    ASSERT_TRUE(pings.ok());
    pings.setPhase("intro");
    auto grab = [&] {
        auto c = x.capture(*window);
        EXPECT_TRUE(c.has_value());
        return c.value_or(Capture{});
    };
    const Capture first = grab();
    ASSERT_EQ(first.width, kClientWidth);
    const Layout layout{first.height - kClientHeight};
    ASSERT_GT(layout.menuBar, 10);
    // A strip of the client area's top-left corner, outside the video frame (60, 30): black
    // while an interlude plays, the screen's picture otherwise.
    auto corner = [&](const Capture& c) { return c.litShare(4, layout.clientTop() + 4, 50, 20); };
    auto videoFrame = [&](const Capture& c) {
        return c.litShare(64, layout.clientTop() + 34, 504, 367);
    };

    // The intro, watched from the window's first appearance until the title replaces it: it
    // shows from its first seconds (it lasts 9 s, faded in and out), always under a painted menu
    // bar, and moves. A window that stays black, or that shows only the intro's end, fails.
    struct Seen {
        Clock::time_point at;
        Capture capture;
    };
    std::vector<Seen> intro;
    const bool titled = waitFor(kPatience, [&] {
        Capture c = grab();
        if (corner(c) > 0.5) return true;
        if (videoFrame(c) > 0.5 || !intro.empty()) intro.push_back({Clock::now(), std::move(c)});
        return false;
    });
    ASSERT_TRUE(titled) << "no title screen";
    // Captures after the last lit one are the fade to black before the title.
    while (!intro.empty() && videoFrame(intro.back().capture) <= 0.5) intro.pop_back();
    ASSERT_GE(intro.size(), 4u) << "the intro was not seen playing";
    EXPECT_GE(intro.back().at - intro.front().at, 6s)
        << "the intro was seen for less than its length";
    for (std::size_t i = 0; i < intro.size(); ++i) {
        const Capture& c = intro[i].capture;
        SCOPED_TRACE("capture " + std::to_string(i));
        EXPECT_GT(c.brightness(0, 0, c.width, layout.menuBar), 150)
            << "the menu bar is not painted";
        EXPECT_GT(videoFrame(c), 0.5) << "the intro's frame is black";
        EXPECT_LT(corner(c), 0.05) << "no interlude is showing";
    }
    intro.front().capture.savePpm(dir_ + "/intro-first.ppm");
    EXPECT_GT(intro.front().capture.difference(intro.back().capture, 64, layout.clientTop() + 34,
                                               504, 367),
              2.0)
        << "the intro does not move";

    // Enter starts a game, whose level video plays.
    pings.setPhase("title");
    x.typeKey(*window, kReturn);
    ASSERT_TRUE(waitFor(kPatience, [&] {
        const Capture c = grab();
        return corner(c) < 0.05 && videoFrame(c) > 0.5;
    })) << "no level video after Enter";
    pings.setPhase("level video");
    ASSERT_TRUE(waitFor(kPatience, [&] { return corner(grab()) > 0.5; }))
        << "no level screen after its video";
    pings.setPhase("question");

    // F1 hands the rules to the desktop as an HTML document.
    x.typeKey(*window, kF1);
    ASSERT_TRUE(waitFor(kPatience, [&] { return !readFile(dir_ + "/document").empty(); }))
        << "the desktop's opener was not called";
    const std::string url = readFile(dir_ + "/url");
    EXPECT_NE(url.find(".html\n"), std::string::npos) << url;
    EXPECT_EQ(readFile(dir_ + "/document"), readFile(std::string(VORN_GAME_DIR) + "/vorn.hlp"));

    pings.setPhase("closing");  // the program may end before it answers
    x.typeKey(*window, kEscape);
    ASSERT_TRUE(waitFor(kPatience, [&] { return !game.running(); }))
        << "Esc did not end the program";
    EXPECT_EQ(game.status(), 0);
    pings.stop();

    // Every ping is answered within a second of its sending, the interludes' included; enough of
    // them went out while each interlude played to tell.
    EXPECT_GE(pings.count("intro"), 10);
    EXPECT_GE(pings.count("level video"), 5);
    const auto late = pings.late(1000ms, "closing");
    EXPECT_TRUE(late.empty()) << late.size()
                              << " pings unanswered for a second, first: " << late.front();
}

// A window manager that honours full-screen requests, for as long as the test runs.
class WindowManager {
  public:
    explicit WindowManager(const std::string& display) {
        pid_ = fork();
        if (pid_ == 0) {
            setenv("DISPLAY", display.c_str(), 1);
            if (std::FILE* log = std::fopen("/dev/null", "w")) {
                dup2(fileno(log), STDERR_FILENO);
                dup2(fileno(log), STDOUT_FILENO);
            }
            execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~WindowManager() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }

  private:
    pid_t pid_ = -1;
};

// Full screen on a real display: the window covers the screen with the game scaled to it, and
// windowed mode gives back the 632 x 434 window in the middle of the screen.
TEST_F(RealWindow, FullScreenCoversTheScreenAndWindowedModeComesBack) {
    constexpr int kScreenWidth = 1024, kScreenHeight = 768;
    VirtualServer server(kScreenWidth, kScreenHeight);
    ASSERT_FALSE(server.display().empty()) << "Xvfb did not start (is the xvfb package installed?)";
    Connection x(server.display());
    ASSERT_TRUE(x.ok());
    WindowManager manager(server.display());
    const auto wait = waitFor;
    ASSERT_TRUE(wait(kPatience, [&] { return x.windowManagerRuns(); })) << "openbox did not start";

    Game game(VORN_GAME_DIR, gameEnvironment(server.display()));
    std::optional<xcb_window_t> window;
    ASSERT_TRUE(wait(kPatience, [&] { return (window = x.findWindow(kTitle)).has_value(); }));
    auto place = [&] { return x.geometry(*window).value_or(QRectLike{}); };
    // The title screen, after the intro: its picture fills the client area's corner.
    const int menuBar = place().height - kClientHeight;
    ASSERT_GT(menuBar, 10);
    ASSERT_TRUE(wait(kPatience, [&] {
        const auto c = x.capture(*window);
        return c && c->litShare(4, menuBar + 4, 50, 20) > 0.5;
    })) << "no title screen";

    // A menu item: the menu's title in the menu bar, then its popup's item number `item`, chosen
    // with the keyboard (Down to it, then Enter), as a player without a mouse does.
    auto choose = [&](int menuX, int item) {
        const QRectLike w = place();
        x.click(w.x + menuX, w.y + menuBar / 2);
        std::optional<xcb_window_t> popup;
        if (!wait(kPatience, [&] { return (popup = x.findPopup(kProgram)).has_value(); }))
            return false;
        for (int i = 0; i <= item; ++i) x.typeKey(*popup, kDown);
        x.typeKey(*popup, kReturn);
        return true;
    };
    constexpr int kOptions = 84;  // "options", the second title of the menu bar

    ASSERT_TRUE(choose(kOptions, 0)) << "the options menu did not open";
    ASSERT_TRUE(wait(kPatience,
                     [&] {
                         const QRectLike w = place();
                         return w.x == 0 && w.y == 0 && w.width == kScreenWidth &&
                                w.height == kScreenHeight;
                     }))
        << "full screen: the window is " << place().width << " x " << place().height << " at "
        << place().x << ", " << place().y;
    // Scaled, the title picture spans the whole width under the menu bar (unscaled it would leave
    // the right part black); centred, the black bars above and below the game, if any, are of one
    // height. The desktop may take a few frames to settle on both.
    const int gameHeight = kScreenWidth * 440 / 640;
    const int bars = kScreenHeight - menuBar - gameHeight;
    auto scaled = [&](const Capture& c) {
        return c.litShare(0, kScreenHeight / 2 - 100, kScreenWidth, 200) > 0.95;
    };
    auto centred = [&](const Capture& c) {
        return bars <= 4 ||
               (c.litShare(0, menuBar + 1, kScreenWidth, bars / 2 - 2) < 0.05 &&
                c.litShare(0, kScreenHeight - bars / 2 + 1, kScreenWidth, bars / 2 - 2) < 0.05);
    };
    std::optional<Capture> full;
    const bool settled = wait(kPatience, [&] {
        full = x.capture(*window);
        return full && scaled(*full) && centred(*full);
    });
    if (full) full->savePpm(dir_ + "/fullscreen.ppm");
    ASSERT_TRUE(full);
    EXPECT_TRUE(scaled(*full)) << "the game is not scaled to the screen";
    EXPECT_TRUE(centred(*full)) << "the game is not centred on the screen";
    EXPECT_TRUE(settled);

    ASSERT_TRUE(choose(kOptions, 1)) << "the options menu did not open in full screen";
    ASSERT_TRUE(wait(kPatience,
                     [&] {
                         const QRectLike w = place();
                         return w.width == kClientWidth && w.height == kClientHeight + menuBar;
                     }))
        << "windowed: the window is " << place().width << " x " << place().height;
    const QRectLike w = place();
    EXPECT_NEAR(w.x + w.width / 2, kScreenWidth / 2, 16);
    EXPECT_NEAR(w.y + w.height / 2, kScreenHeight / 2, 24);

    x.typeKey(*window, kEscape);
    ASSERT_TRUE(wait(kPatience, [&] { return !game.running(); })) << "Esc did not end the program";
}

// A click of the real pointer on a real display: on the title's prompt it starts a game, and on an
// answer's number disc it answers, the right answer then showing on its blue background.
TEST_F(RealWindow, ClicksOfThePointerStartAGameAndAnswer) {
    VirtualServer server(1024, 768);
    ASSERT_FALSE(server.display().empty()) << "Xvfb did not start (is the xvfb package installed?)";
    Connection x(server.display());
    ASSERT_TRUE(x.ok());
    const auto wait = waitFor;
    Game game(VORN_GAME_DIR, gameEnvironment(server.display()));
    std::optional<xcb_window_t> window;
    ASSERT_TRUE(wait(kPatience, [&] { return (window = x.findWindow(kTitle)).has_value(); }));
    auto place = [&] { return x.geometry(*window).value_or(QRectLike{}); };
    const int menuBar = place().height - kClientHeight;
    ASSERT_GT(menuBar, 10);
    auto grab = [&] { return x.capture(*window).value_or(Capture{}); };
    auto corner = [&](const Capture& c) {
        return c.width ? c.litShare(4, menuBar + 4, 50, 20) : 0.0;
    };
    // Clicks at a point of the game's screen.
    auto click = [&](int sx, int sy) {
        const QRectLike w = place();
        x.click(w.x + sx, w.y + menuBar + sy);
    };
    // The share of an answer's box (layout::niv::reponse) that is the highlight's pure blue.
    constexpr QRectLike kAnswers[4] = {
        {72, 336, 225, 35}, {72, 385, 225, 35}, {355, 336, 225, 35}, {355, 385, 225, 35}};
    auto blue = [&](const Capture& c, int i) {
        const QRectLike& a = kAnswers[i];
        int n = 0;
        for (int j = a.y; j < a.y + a.height - 4; ++j)
            for (int k = a.x; k < a.x + a.width; ++k) {
                const Capture::Rgb p = c.at(k, menuBar + j);
                if (p.b > 200 && p.r < 40 && p.g < 40) ++n;
            }
        return static_cast<double>(n) / (a.width * (a.height - 4));
    };
    auto anyBlue = [&](const Capture& c) {
        double most = 0;
        for (int i = 0; i < 4; ++i) most = std::max(most, blue(c, i));
        return most;
    };

    ASSERT_TRUE(wait(kPatience, [&] { return corner(grab()) > 0.5; })) << "no title screen";
    click(40, 324);  // on "APPUYEZ SUR ENTRER"
    ASSERT_TRUE(wait(kPatience, [&] { return corner(grab()) < 0.05; }))
        << "no level video after a click on the prompt";
    ASSERT_TRUE(wait(kPatience, [&] { return corner(grab()) > 0.5; }))
        << "no level screen after its video";
    std::this_thread::sleep_for(300ms);
    EXPECT_LT(anyBlue(grab()), 0.05) << "an answer is highlighted before any answer";
    click(46, 352);  // the number disc of answer 1
    ASSERT_TRUE(wait(kPatience, [&] { return anyBlue(grab()) > 0.5; }))
        << "the click did not answer";
    grab().savePpm(dir_ + "/clicked-answer.ppm");

    x.typeKey(*window, kEscape);
    ASSERT_TRUE(wait(kPatience, [&] { return !game.running(); })) << "Esc did not end the program";
}

// The About window on a real display is captioned exactly as its layout says: the desktop adds
// nothing after it.
TEST_F(RealWindow, TheAboutWindowIsCaptionedAsItsLayoutSays) {
    VirtualServer server(1024, 768);
    ASSERT_FALSE(server.display().empty()) << "Xvfb did not start (is the xvfb package installed?)";
    Connection x(server.display());
    ASSERT_TRUE(x.ok());
    Game game(VORN_GAME_DIR, gameEnvironment(server.display()));
    std::optional<xcb_window_t> window;
    ASSERT_TRUE(waitFor(kPatience, [&] { return (window = x.findWindow(kTitle)).has_value(); }));
    auto place = [&] { return x.geometry(*window).value_or(QRectLike{}); };
    const int menuBar = place().height - kClientHeight;
    ASSERT_GT(menuBar, 10);
    ASSERT_TRUE(waitFor(kPatience, [&] {
        const auto c = x.capture(*window);
        return c && c->litShare(4, menuBar + 4, 50, 20) > 0.5;
    })) << "no title screen";
    // "aide", the third title of the menu bar, then its last item, "à propos".
    constexpr int kAide = 140;
    const QRectLike w = place();
    x.click(w.x + kAide, w.y + menuBar / 2);
    std::optional<xcb_window_t> popup;
    ASSERT_TRUE(waitFor(kPatience, [&] { return (popup = x.findPopup(kProgram)).has_value(); }))
        << "the aide menu did not open";
    const QRectLike p = x.geometry(*popup).value_or(QRectLike{});
    x.click(p.x + p.width / 3, p.y + p.height - 8);
    EXPECT_TRUE(
        waitFor(kPatience, [&] { return x.findWindow(vorn::layout::Form1::caption).has_value(); }))
        << "no window captioned \"" << vorn::layout::Form1::caption << "\"";
}

}  // namespace
