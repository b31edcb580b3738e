// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Game benchmarks on the default content pack (build/game):
//   Game/level_setup          Enter on the title to the first question shown, the level's video
//                             excepted (virtual time: the video takes no time).
//   Game/question_lookup      one question fetched from the table and read, as on every question.
//   Game/key_to_mark          a keypad answer to its mark painted and its sound started (real
//                             sound backend).
//   Game/startup              the main window built, shown and activated up to the title screen,
//                             the intro's playing time excepted.
//   Wait/title, Wait/question, Wait/results
//                             the share of a core the game takes while it waits, on the real
//                             clock and the real sound backend (music playing); cpu_% is the
//                             process's user + system time over the wall time, measured once the
//                             screen's tune has been rendered. The /silent rows run on silent
//                             media: the game's own cost, without the music.
//   the whole game            (playWholeGame) every question answered right on virtual time with
//                             the real sound backend, in a process of its own: its peak resident
//                             size.

#include "app/main.h"
#include "bench/figures.h"
#include "platform/budgets.h"
#include "platform/database.h"
#include "platform/errors.h"
#include "platform/media/mediaservice.h"
#include "platform/media/simulatedbackend.h"
#include "platform/platform.h"
#include "platform/qtclock.h"
#include "platform/virtualclock.h"
#include "screens/level.h"
#include "screens/resultats.h"

// Builds against the versions before the music was rendered ahead too, for the "before" column.
#if __has_include("platform/media/real/musicrender.h")
#include "platform/media/real/audioengine.h"
#include "platform/media/real/musicrender.h"
#define VORN_BENCH_RENDERER 1
#endif

#include "content/writers/aviwriter.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGraphicsView>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace vorn;

namespace {

const QString kGame = QStringLiteral(VORN_GAME_DIR);

QApplication& application() {
    static int argc = 1;
    static char name[] = "vorn-bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

// Runs the benchmark with the game folder as working directory.
struct InGame {
    QString previous = QDir::currentPath();
    explicit InGame(const QString& dir = kGame) {
        application();
        QDir::setCurrent(dir);
    }
    ~InGame() { QDir::setCurrent(previous); }
};

void press(Tprincipal& window, int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent event(QEvent::KeyPress, qtKey, modifiers);
    QApplication::sendEvent(&window.view(), &event);
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void BM_LevelSetup(benchmark::State& state) {
    InGame in;
    VirtualPlatform platform;
    Tprincipal window(platform.platform());
    window.show();
    platform.platform().guard.run([&] { window.FormActivate(); });
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        press(window, Qt::Key_Return);
        state.SetIterationTime(static_cast<double>(timer.nsecsElapsed()) / 1e9);
        if (!window.niv() || !platform.errors().shown().empty())
            state.SkipWithError("no level screen");
        state.PauseTiming();
        platform.platform().guard.run([&] { window.redmarrer1Click(); });
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LevelSetup)->Name("Game/level_setup")->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_QuestionLookup(benchmark::State& state) {
    InGame in;
    Query query(QStringLiteral("Query1"), QStringLiteral("dB/"),
                {QStringLiteral("select *"), QStringLiteral("from questionnaire"),
                 QStringLiteral("where code like :numero")});
    query.open();
    int n = 0;
    for (auto _ : state) {
        query.setParam(QStringLiteral("numero"), QStringLiteral("2c%1").arg(1 + n++ % 19));
        query.close();
        query.open();
        for (const char* field : {"enonce", "r1", "r2", "r3", "r4", "Theme"})
            benchmark::DoNotOptimize(query.asString(QLatin1String(field)));
        benchmark::DoNotOptimize(query.asInteger(QStringLiteral("br")));
    }
}
BENCHMARK(BM_QuestionLookup)->Name("Game/question_lookup")->Unit(benchmark::kMicrosecond);

// A platform on virtual time whose sounds are real.
struct RealSoundPlatform {
    RecordingErrorPresenter errors;
    EventGuard guard{errors};
    VirtualClock clock{guard};
    std::unique_ptr<MediaBackend> backend = createRealBackend(clock);
    MediaService media{clock, *backend};
    Resolution resolution{[] { return QSize(1280, 1024); }};
    RecordingShell shell;
    Gamepads gamepads{clock, Gamepads::Devices::VirtualOnly};
    Platform platform{errors, guard, clock, *backend, media, resolution, shell, gamepads};
};

// Shows and activates the main window, then starts a game: the first question is open.
void startGame(Tprincipal& window, RealSoundPlatform& real) {
    window.show();
    real.guard.run([&] { window.FormActivate(); });
    press(window, Qt::Key_Return);
}

void BM_KeyToMark(benchmark::State& state) {
    InGame in;
    RealSoundPlatform real;
    Tprincipal window(real.platform);
    startGame(window, real);
    for (auto _ : state) {
        state.PauseTiming();
        window.gameState().AttenteReponse = true;  // the same question again, open
        window.niv()->stopTimers();
        window.repaintNow();
        state.ResumeTiming();
        QElapsedTimer timer;
        timer.start();
        press(window, Qt::Key_1, Qt::KeypadModifier);
        window.repaintNow();
        state.SetIterationTime(static_cast<double>(timer.nsecsElapsed()) / 1e9);
    }
    state.counters["audible"] = real.backend->audible() ? 1 : 0;
}
BENCHMARK(BM_KeyToMark)->Name("Game/key_to_mark")->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_Startup(benchmark::State& state) {
    InGame in;
    for (auto _ : state) {
        VirtualPlatform platform;
        QElapsedTimer timer;
        timer.start();
        Tprincipal window(platform.platform());
        window.show();
        platform.platform().guard.run([&] { window.FormActivate(); });
        window.repaintNow();
        state.SetIterationTime(static_cast<double>(timer.nsecsElapsed()) / 1e9);
        if (!window.titre()) state.SkipWithError("no title screen");
    }
}
BENCHMARK(BM_Startup)->Name("Game/startup")->UseManualTime()->Unit(benchmark::kMillisecond);

// A copy of the game folder whose videos last a fifth of a second, so that the real clock gets
// to the screens to measure without waiting through the interludes.
QString quickGame(QTemporaryDir& dir) {
    QDirIterator it(kGame, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString relative = QDir(kGame).relativeFilePath(file);
        if (relative == u"vorn") continue;
        QDir(dir.path()).mkpath(QFileInfo(relative).path());
        QFile::copy(file, dir.filePath(relative));
    }
    QDir(dir.path()).mkpath(QStringLiteral("save"));
    writers::AviFormat format{512, 375, 15, 1, 4, 0, 1};
    std::vector<QImage> frames(3, QImage(512, 375, QImage::Format_RGB32));
    for (int n = 0; n <= 6; ++n) {
        QFile::remove(dir.filePath(QStringLiteral("video/%1.avi").arg(n)));
        writers::writeAvi(dir.filePath(QStringLiteral("video/%1.avi").arg(n)), format, frames, {});
    }
    return dir.path();
}

// Measures the process's share of a core over `ms` of the real message loop.
double cpuShareWhile(int ms) {
    const double cpu = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    return 100.0 * (cpuSeconds() - cpu) / (static_cast<double>(wall.nsecsElapsed()) / 1e9);
}

// The real clock with silent media: what the game itself costs while it waits.
struct SilentDesktop {
    RecordingErrorPresenter errors;
    EventGuard guard{errors};
    QtClock clock{guard};
    SimulatedBackend backend{clock};
    MediaService media{clock, backend};
    Resolution resolution;
    RecordingShell shell;
    Gamepads gamepads{clock, Gamepads::Devices::VirtualOnly};
    Platform platform{errors, guard, clock, backend, media, resolution, shell, gamepads};
};

constexpr int kWindowMs = 5000;

// Lets the tune just started be rendered (once per tune, at its first play, by the renderer's
// thread): what is measured is the wait that follows, as on every later play. Also lets a tune
// of an earlier benchmark finish rendering before the silent waits are measured.
void settle() {
#ifdef VORN_BENCH_RENDERER
    const auto start = std::chrono::steady_clock::now();
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        MusicRenderer* renderer = AudioEngine::instance()->musicRenderer();
        if (!renderer || renderer->waitIdle(0) ||
            std::chrono::steady_clock::now() - start > std::chrono::seconds(60))
            loop.quit();
    });
    poll.start(50);
    loop.exec();
#endif
    cpuShareWhile(500);
}

// Waits on the title (0), during a question (1) or on a results screen (2); with real sound
// (the music's synthesis included) or silent media.
// Counts the client area's paints and the pixels they cover while a wait is measured.
struct PaintCounter : QObject {
    long long pixels = 0;
    int events = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) {
            ++events;
            for (const QRect& r : static_cast<QPaintEvent*>(e)->region())
                pixels += static_cast<long long>(r.width()) * r.height();
        }
        return false;
    }
};

template <class Desktop>
void BM_Waiting(benchmark::State& state) {
    QTemporaryDir dir;
    InGame in(quickGame(dir));
    Desktop desktop;
    Platform& platform = [&]() -> Platform& {
        if constexpr (std::is_same_v<Desktop, DesktopPlatform>)
            return desktop.platform();
        else
            return desktop.platform;
    }();
    Tprincipal window(platform);
    window.show();
    platform.guard.run([&] { window.FormActivate(); });
    const int what = static_cast<int>(state.range(0));
    double share = 0;
    PaintCounter paints;
    for (auto _ : state) {
        if (what == 0) {
            settle();
            window.view().viewport()->installEventFilter(&paints);
            share = cpuShareWhile(kWindowMs);
        } else if (what == 1) {
            press(window, Qt::Key_Return);
            settle();
            window.view().viewport()->installEventFilter(&paints);
            share = cpuShareWhile(kWindowMs);
        } else {
            // The results screen's whole wait, as at the end of a level: the level is closed.
            press(window, Qt::Key_Return);
            settle();
            window.view().viewport()->installEventFilter(&paints);
            window.gameState().NumQuestion = 10;
            window.gameState().ReponsesJustes = 8;
            platform.guard.run([&] { window.screens().closeLevel(window); });
            const double cpu = cpuSeconds();
            QElapsedTimer wall;
            wall.start();
            platform.guard.run([&] {
                ScreenSet& screens = window.screens();
                screens.resultat = std::make_unique<Tecran_resultat>(window);
                window.attach(*screens.resultat);
                screens.resultat->affich(Tecran_resultat::Passe, QStringLiteral(" 80% "));
            });
            share = 100.0 * (cpuSeconds() - cpu) / (static_cast<double>(wall.nsecsElapsed()) / 1e9);
        }
    }
    state.counters["cpu_%"] = share;
    state.counters["paints/s"] = paints.events * 1000.0 / (what == 2 ? 4000.0 : kWindowMs);
    state.counters["paint_px/s"] =
        static_cast<double>(paints.pixels) * 1000.0 / (what == 2 ? 4000.0 : kWindowMs);
    window.setOnExit({});
    window.close();
}
// Silent first: once the sound output is open it stays open for the process.
BENCHMARK(BM_Waiting<SilentDesktop>)
    ->Name("Wait/title/silent")
    ->Arg(0)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK(BM_Waiting<SilentDesktop>)
    ->Name("Wait/question/silent")
    ->Arg(1)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK(BM_Waiting<SilentDesktop>)
    ->Name("Wait/results/silent")
    ->Arg(2)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK(BM_Waiting<DesktopPlatform>)
    ->Name("Wait/title")
    ->Arg(0)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK(BM_Waiting<DesktopPlatform>)
    ->Name("Wait/question")
    ->Arg(1)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK(BM_Waiting<DesktopPlatform>)
    ->Name("Wait/results")
    ->Arg(2)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

}  // namespace

namespace vorn::bench {

int playWholeGame(const std::string& dir) {
    budget::returnLargeBlocksAtOnce();  // as the game does
    InGame in(dir.empty() ? kGame : QString::fromStdString(dir));
    RealSoundPlatform real;
    Tprincipal window(real.platform);
    QElapsedTimer wall;
    wall.start();
    startGame(window, real);
    int answered = 0;
    // Every question answered right: three levels, then the thirty questions of the bonus.
    while (window.niv() && real.errors.shown().empty() && answered < 200) {
        if (window.gameState().AttenteReponse) {
            const int right = window.niv()->rightAnswer();
            press(window, Qt::Key_1 + right - 1, Qt::KeypadModifier);
            ++answered;
        }
        try {
            real.clock.advance(3000);
        } catch (const std::exception&) {
            break;  // the game waits for a player's name: it is over
        }
    }
    for (const QString& message : real.errors.shown())
        std::fprintf(stderr, "whole game: message: %s\n", qPrintable(message));
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%d %.1f %.1f\n", answered, static_cast<double>(usage.ru_maxrss) / 1024.0,
                static_cast<double>(wall.elapsed()) / 1000.0);
    std::fflush(stdout);
    std::_Exit(0);  // the audio output is not closed in order: the figure is all we need
}

double peakMemoryOfWholeGame(const std::string& program, const std::string& dir) {
    const std::string command = program + " --whole-game" + (dir.empty() ? "" : " '" + dir + "'");
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) return -1;
    int answered = 0;
    double mib = -1, seconds = 0;
    if (std::fscanf(pipe.get(), "%d %lf %lf", &answered, &mib, &seconds) != 3) return -1;
    std::fprintf(stderr, "whole game%s%s: %d questions answered, peak %.1f MiB, %.1f s\n",
                 dir.empty() ? "" : " in ", dir.c_str(), answered, mib, seconds);
    // A game cut short by a refused file is no whole game.
    return answered == 60 ? mib : -1;
}

}  // namespace vorn::bench
