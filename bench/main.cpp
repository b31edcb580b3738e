// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// vorn-bench: runs every benchmark and prints one table, each figure beside its target and,
// where there is one, beside a reference measured in the same run on the same machine.
//
//   vorn-bench [--out FILE] [--save FILE] [--before FILE] [--no-desktop | --desktop-only]
//              [--benchmark_filter=...]
//
// The peak memory of a whole game is measured on the default pack and on a game folder whose
// every file is the largest the game accepts (bench/largest_pack.cpp), each in a process of its
// own (VORN_BENCH_LARGEST_PACK=DIR makes that folder in DIR and keeps it). --save writes the
// figures as "key value" lines; --before reads such a file (a run of an
// earlier version on the same machine) and shows it in a column of its own. The desktop figures
// (start-up, the real program's waits) need Xvfb; --no-desktop leaves them out.

#include "bench/desktop_bench.h"
#include "bench/figures.h"
#include "bench/largest_pack.h"

#if __has_include("platform/media/real/musicrender.h")
#include "platform/media/real/musicrender.h"
#define VORN_BENCH_RENDERER 1
#endif

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using vorn::bench::Figures;

// Keeps each benchmark's time (ms) and counters, and shows the usual console report on stderr.
class Collector : public benchmark::ConsoleReporter {
  public:
    explicit Collector(Figures& figures) : figures_(figures) {
        SetOutputStream(&std::cerr);
        SetErrorStream(&std::cerr);
    }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
            const std::string name = run.run_name.function_name;  // as named, without its arguments
            const double perSecond = benchmark::GetTimeUnitMultiplier(run.time_unit);
            figures_[name + ":ms"] = run.GetAdjustedRealTime() / perSecond * 1000.0;
            figures_[name + ":cpu_ms"] = run.GetAdjustedCPUTime() / perSecond * 1000.0;
            for (const auto& [counter, value] : run.counters)
                figures_[name + ":" + counter] = value.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }

  private:
    Figures& figures_;
};

Figures readFigures(const std::string& path) {
    Figures figures;
    std::ifstream in(path);
    std::string key;
    double value = 0;
    while (in >> key >> value) figures[key] = value;
    return figures;
}

std::string number(double v, int decimals) {
    if (v < 0 || std::isnan(v)) return "–";
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, v);
    return text;
}

struct Row {
    const char* what;
    const char* key;
    const char* unit;
    int decimals;
    const char* target;
    // The reference measured in the same run, and how it is compared.
    const char* referenceKey = nullptr;
    const char* referenceName = nullptr;
    enum Compare { None, Difference, Ratio } compare = None;
    // Whether the figure meets its target (given the reference).
    bool (*meets)(double figure, double reference) = nullptr;
};

const std::vector<Row>& rows() {
    static const std::vector<Row> all = {
        {"Start-up to the intro's first frame (vorn on Xvfb)", "desktop:startup", "ms", 0,
         "< bare window + 300 ms", "desktop:bare_startup", "bare Qt window", Row::Difference,
         [](double f, double r) { return r >= 0 && f - r < 300; }},
        {"… of which the game's own set-up (window, screens, title; in process)", "Game/startup:ms",
         "ms", 2, "–", nullptr, nullptr, Row::None, nullptr},
        {"Level set-up, its video excepted", "Game/level_setup:ms", "ms", 2, "< 50 ms", nullptr,
         nullptr, Row::None, [](double f, double) { return f < 50; }},
        {"Key press to mark painted and sound started", "Game/key_to_mark:ms", "ms", 2,
         "< 20 ms + mixer buffer", "Wave/start_to_sound:buffer_ms", "mixer buffer (ms)", Row::None,
         [](double f, double) { return f < 20; }},
        {"Sound started to first block leaving the mixer", "Wave/start_to_sound:ms", "ms", 2,
         "≤ mixer buffer", "Wave/start_to_sound:buffer_ms", "mixer buffer (ms)", Row::Ratio,
         [](double f, double r) { return f <= r + 1; }},
        {"Question lookup (CPU time)", "Game/question_lookup:cpu_ms", "ms", 4, "< 0.2 ms", nullptr,
         nullptr, Row::None, [](double f, double) { return f < 0.2; }},
        {"Video decode, slowest interlude of the pack", "Video/pack_interludes:x_realtime",
         "x real time", 1, "≥ 20x", nullptr, nullptr, Row::None,
         [](double f, double) { return f >= 20; }},
        {"Video decode, 640x440 15 fps test clip", "Video/decode_640x440_15fps_4s:x_realtime",
         "x real time", 1, "≥ 20x", nullptr, nullptr, Row::None,
         [](double f, double) { return f >= 20; }},
        {"CPU, title screen, music playing (vorn on Xvfb)", "desktop:title_cpu", "% of a core", 2,
         "< 1 %", "Synth/title_tune:cpu_%", "FluidSynth alone, same tune", Row::Ratio,
         [](double f, double) { return f < 1; }},
        {"CPU, first question, music playing (vorn on Xvfb)", "desktop:question_cpu", "% of a core",
         2, "< 1 %", "Synth/level_tune:cpu_%", "FluidSynth alone, a level tune", Row::Ratio,
         [](double f, double) { return f < 1; }},
        {"CPU, title screen, music playing (in process, offscreen)", "Wait/title:cpu_%",
         "% of a core", 2, "< 1 %", "Synth/title_tune:cpu_%", "FluidSynth alone, same tune",
         Row::Ratio, [](double f, double) { return f < 1; }},
        {"CPU, question, music playing (in process, offscreen)", "Wait/question:cpu_%",
         "% of a core", 2, "< 1 %", "Synth/level_tune:cpu_%", "FluidSynth alone, a level tune",
         Row::Ratio, [](double f, double) { return f < 1; }},
        {"CPU, results wait (in process, offscreen)", "Wait/results:cpu_%", "% of a core", 2,
         "< 1 %", nullptr, nullptr, Row::None, [](double f, double) { return f < 1; }},
        {"CPU, title screen, no music (the game and an idle mixer)", "Wait/title/silent:cpu_%",
         "% of a core", 2, "–", nullptr, nullptr, Row::None, nullptr},
        {"CPU, question, no music (the game and an idle mixer)", "Wait/question/silent:cpu_%",
         "% of a core", 2, "–", nullptr, nullptr, Row::None, nullptr},
        {"Repainted on the title screen (the blinking prompt)", "Wait/title:paint_px/s", "pixels/s",
         0, "a small part of the 274 288 px area", "Wait/title:paints/s", "paints/s", Row::None,
         nullptr},
        {"Repainted during a question (the hourglass)", "Wait/question:paint_px/s", "pixels/s", 0,
         "a small part of the 274 288 px area", "Wait/question:paints/s", "paints/s", Row::None,
         nullptr},
        {"Music: a tune's first play, rendered ahead (once per installation)",
         "Music/first_play:cpu_%", "% of a core over the tune", 2, "–", "Synth/title_tune:cpu_%",
         "FluidSynth alone, same tune", Row::Ratio, nullptr},
        {"Music: a later play, found rendered on disk", "Music/cached_play:ms", "ms", 2, "–",
         nullptr, nullptr, Row::None, nullptr},
        {"Peak memory of a whole game (real sound, virtual time)", "Memory/whole_game:peak_MiB",
         "MiB", 1, "< 150 MB", nullptr, nullptr, Row::None,
         [](double f, double) { return f * 1.048576 < 150; }},
        {"… on a game folder whose every file is the largest the game accepts",
         "Memory/whole_game_largest:peak_MiB", "MiB", 1, "< 256 MB", "Memory/whole_game:peak_MiB",
         "the default pack", Row::Ratio, [](double f, double) { return f * 1.048576 < 256; }},
    };
    return all;
}

std::string table(const Figures& now, const Figures& before) {
    std::ostringstream out;
    const bool withBefore = !before.empty();
    out << "| Measure | Figure | Target | Met | Reference (same run) | Ratio / difference |"
        << (withBefore ? " Before |" : "") << "\n";
    out << "|---|---:|---|:---:|---|---:|" << (withBefore ? "---:|" : "") << "\n";
    const auto get = [](const Figures& f, const char* key) {
        if (!key) return -1.0;
        const auto it = f.find(key);
        return it == f.end() ? -1.0 : it->second;
    };
    for (const Row& row : rows()) {
        const double figure = get(now, row.key);
        const double reference = get(now, row.referenceKey);
        out << "| " << row.what << " | " << number(figure, row.decimals) << " " << row.unit << " | "
            << row.target << " | ";
        if (figure < 0 || !row.meets)
            out << "–";
        else
            out << (row.meets(figure, reference) ? "yes" : "**no**");
        out << " | ";
        if (row.referenceName) out << row.referenceName << ": " << number(reference, row.decimals);
        out << " | ";
        if (figure >= 0 && reference > 0 && row.compare == Row::Ratio)
            out << number(figure / reference, 2) << "x";
        else if (figure >= 0 && reference >= 0 && row.compare == Row::Difference)
            out << "+" << number(figure - reference, 0) << " ms";
        out << " |";
        if (withBefore) out << " " << number(get(before, row.key), row.decimals) << " |";
        out << "\n";
    }
    return out.str();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--whole-game") == 0)
        return vorn::bench::playWholeGame(argc >= 3 ? argv[2] : "");

    std::string outPath, savePath, beforePath;
    bool desktop = true, desktopOnly = false;
    std::vector<char*> rest = {argv[0]};
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--out" && i + 1 < argc)
            outPath = argv[++i];
        else if (arg == "--save" && i + 1 < argc)
            savePath = argv[++i];
        else if (arg == "--before" && i + 1 < argc)
            beforePath = argv[++i];
        else if (arg == "--no-desktop")
            desktop = false;
        else if (arg == "--desktop-only")
            desktopOnly = true;
        else
            rest.push_back(argv[i]);
    }
    // Rendered music goes to a cache of this run's own: the first plays are first plays, and the
    // user's cache is left alone.
    char cacheTemplate[] = "/tmp/vorn-bench-cache-XXXXXX";
    const std::string cacheHome = mkdtemp(cacheTemplate) ? cacheTemplate : "";
    if (!cacheHome.empty()) {
        setenv("XDG_CACHE_HOME", cacheHome.c_str(), 1);
        // The benchmarks' own files too: the process ends without running their destructors.
        const std::string temporary = cacheHome + "/tmp";
        if (mkdir(temporary.c_str(), 0700) == 0) setenv("TMPDIR", temporary.c_str(), 1);
    }

    int benchArgc = static_cast<int>(rest.size());
    benchmark::Initialize(&benchArgc, rest.data());

    Figures figures;
    Collector collector(figures);
    if (!desktopOnly) benchmark::RunSpecifiedBenchmarks(&collector);

    char self[4096] = {};
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    const std::string binDir =
        length > 0 ? QFileInfo(QString::fromLocal8Bit(self, static_cast<int>(length)))
                         .absolutePath()
                         .toStdString()
                   : std::string(".");
    if (!desktopOnly) {
        std::cerr << "whole game in a process of its own...\n";
        figures["Memory/whole_game:peak_MiB"] =
            vorn::bench::peakMemoryOfWholeGame(binDir + "/vorn-bench");
        // The same on a folder whose every file is the largest the game accepts.
        std::cerr << "the largest game folder the game accepts...\n";
        const char* kept = std::getenv("VORN_BENCH_LARGEST_PACK");
        const std::string largest =
            kept ? std::string(kept)
                 : (cacheHome.empty() ? std::string("/tmp") : cacheHome) + "/largest-pack";
        std::string error;
        if (vorn::bench::makeLargestPack(QStringLiteral(VORN_GAME_DIR),
                                         QString::fromStdString(largest), &error))
            figures["Memory/whole_game_largest:peak_MiB"] =
                vorn::bench::peakMemoryOfWholeGame(binDir + "/vorn-bench", largest);
        else
            std::cerr << "largest pack: " << error << "\n";
        if (!kept) std::system(("rm -rf '" + largest + "'").c_str());
    }

    if (desktop) {
        std::cerr << "the real program on Xvfb...\n";
        vorn::bench::DesktopOptions options;
        options.gameDir = VORN_GAME_DIR;
        options.bareProgram = binDir + "/vorn-bench-bare";
        options.cacheHome = cacheHome;
#ifdef VORN_BENCH_RENDERER
        // The waits measured are those of a player's later games: every tune of the pack is in
        // the cache (the first play's cost has a row of its own).
        if (auto renderer = vorn::MusicRenderer::create(
                vorn::MusicRenderer::findSoundfont(),
                QString::fromStdString(cacheHome) + QStringLiteral("/vorn/music"))) {
            for (const QString& name :
                 QDir(QStringLiteral(VORN_GAME_DIR "/son")).entryList({QStringLiteral("*.mid")})) {
                QFile tune(QStringLiteral(VORN_GAME_DIR "/son/") + name);
                if (tune.open(QIODevice::ReadOnly)) renderer->render(tune.readAll(), 0);
                renderer->waitIdle(120000);
            }
        }
#endif
        const auto d = vorn::bench::measureDesktop(options);
        if (!d.error.empty()) std::cerr << "desktop: " << d.error << "\n";
        figures["desktop:startup"] = d.startupMs;
        figures["desktop:bare_startup"] = d.bareStartupMs;
        figures["desktop:title_cpu"] = d.titleCpuPercent;
        figures["desktop:question_cpu"] = d.questionCpuPercent;
    }

    const std::string text =
        table(figures, beforePath.empty() ? Figures{} : readFigures(beforePath));
    std::cout << text;
    if (!outPath.empty()) std::ofstream(outPath) << text;
    if (!savePath.empty()) {
        std::ofstream save(savePath);
        for (const auto& [key, value] : figures) save << key << ' ' << value << '\n';
    }
    std::cout.flush();
    if (!cacheHome.empty()) std::system(("rm -rf " + cacheHome).c_str());
    // The process's audio output and Qt application are static: they are not torn down in order.
    std::_Exit(0);
}
