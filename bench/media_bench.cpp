// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Media benchmarks on the real backend (SDL's dummy audio driver unless SDL_AUDIODRIVER says
// otherwise):
//   Video/decode...        decoding and converting every picture of an interlude-sized AVI, and
//                          its sound track, against the video's own duration (x_realtime > 1 is
//                          faster than real time); pacing runs on virtual time, so only the work
//                          is measured, as the process's CPU time (the machine may be shared).
//   Midi/open_and_start    opening a tune and starting it, the soundfont already loaded.
//   Midi/start_to_sound    from start() to the tune's first note leaving the mixer.
//   Wave/start_to_sound    a key's sound: from start() to the first non-silent block leaving the
//                          mixer (read with the mixer's post-mix hook). The audio device's own
//                          buffer (buffer_ms) comes on top on real hardware.
//   Video/pack_interludes  every video of the default pack decoded the same way; x_realtime is
//                          the slowest one's.
//   Synth/title_tune, Synth/level_tune
//                          the reference for the waits: FluidSynth alone, with the game's
//                          settings and soundfont, rendering the pack's title tune (a level tune)
//                          to memory; cpu_% is the share of a core that rendering it as it plays
//                          would take.
//   Music/first_play       the game's renderer rendering the title tune ahead, once per
//                          installation: cpu_ms in all, and as a share of a core over the tune.
//   Music/cached_play      the same tune found rendered in the disk cache, as on every later
//                          play: the time render() takes.

#include "platform/errors.h"
#include "platform/media/backend.h"
#include "platform/platform.h"
#include "platform/virtualclock.h"

#if __has_include("platform/media/real/musicrender.h")
#include "platform/media/real/audioengine.h"
#include "platform/media/real/musicrender.h"
#define VORN_BENCH_RENDERER 1
#endif

namespace {
// Lets the tunes of earlier benchmarks finish rendering: decoding is timed as process CPU time.
void musicQuiet() {
#ifdef VORN_BENCH_RENDERER
    if (vorn::MusicRenderer* renderer = vorn::AudioEngine::instance()->musicRenderer())
        renderer->waitIdle(60000);
#endif
}
}  // namespace

#include "content/writers/aviwriter.h"
#include "content/writers/midiwriter.h"
#include "content/writers/wavwriter.h"

#include <SDL_mixer.h>
#include <benchmark/benchmark.h>
#include <fluidsynth.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <thread>

using namespace vorn;
using Steady = std::chrono::steady_clock;

namespace {

constexpr int kVideoWidth = 640, kVideoHeight = 440, kVideoFps = 15, kVideoSeconds = 4;

// A picture with smooth gradients and a moving block, like a drawn interlude.
QImage videoFrame(int index) {
    QImage image(kVideoWidth, kVideoHeight, QImage::Format_RGB32);
    for (int y = 0; y < kVideoHeight; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kVideoWidth; ++x)
            line[x] = qRgb((x + index * 4) % 256, (y * 255) / kVideoHeight, (x ^ y) & 0x7F);
    }
    const int bx = (index * 17) % (kVideoWidth - 80), by = (index * 11) % (kVideoHeight - 80);
    for (int y = by; y < by + 80; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = bx; x < bx + 80; ++x) line[x] = qRgb(250, 220, 40);
    }
    return image;
}

std::vector<std::int16_t> sine(int rate, int ms, int amplitude, double hz) {
    std::vector<std::int16_t> samples(static_cast<std::size_t>(rate) * ms / 1000);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int16_t>(amplitude * std::sin(2 * M_PI * hz * i / rate));
    return samples;
}

// A 30-second tune of four parts, about 1500 events.
std::vector<writers::MidiTrack> tune() {
    std::vector<writers::MidiTrack> tracks(4);
    tracks[0].tempo(0, 500000);
    const int programs[4] = {0, 33, 48, 73};
    for (int t = 0; t < 4; ++t) {
        tracks[t].programChange(0, t, programs[t]);
        for (std::uint32_t beat = 0; beat < 60 * 2; ++beat) {
            const int note = 48 + 12 * (t % 3) + static_cast<int>((beat * 7 + t * 3) % 12);
            tracks[t].note(beat * 240, 220, t, note, 90);
        }
    }
    return tracks;
}

struct Env {
    QTemporaryDir dir;
    RecordingErrorPresenter errors;
    EventGuard guard{errors};
    VirtualClock clock{guard};
    std::unique_ptr<MediaBackend> backend;
    QString video, music, beep;

    Env() {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        video = dir.filePath(QStringLiteral("interlude.avi"));
        music = dir.filePath(QStringLiteral("tune.mid"));
        beep = dir.filePath(QStringLiteral("beep.wav"));
        writers::AviFormat format;
        format.width = kVideoWidth;
        format.height = kVideoHeight;
        format.frameRateNum = kVideoFps;
        format.sampleRate = 22050;
        std::vector<QImage> frames;
        for (int i = 0; i < kVideoFps * kVideoSeconds; ++i) frames.push_back(videoFrame(i));
        writers::writeAvi(video, format, frames, sine(22050, kVideoSeconds * 1000, 8000, 330));
        writers::writeMidi(music, tune(), 480);
        std::vector<std::int16_t> stereo;
        for (auto s : sine(44100, 200, 12000, 880)) stereo.insert(stereo.end(), {s, s});
        stereo[0] = stereo[1] = 12000;  // sounds from its first sample
        writers::writeWav(beep, stereo, 2, 44100);
        backend = createRealBackend(clock);
    }
};

Env& env() {
    static Env e;
    return e;
}

double processCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

class NullSurface : public VideoSurface {
  public:
    void showFrame(const QImage& frame) override { benchmark::DoNotOptimize(frame.constBits()); }
    void present() override {}
};

void BM_VideoDecode(benchmark::State& state) {
    Env& e = env();
    musicQuiet();
    NullSurface surface;
    double busy = 0;
    std::int64_t lengthMs = 0;
    for (auto _ : state) {
        auto device = e.backend->open(e.video);
        lengthMs = device->lengthMs();
        const double c0 = processCpuSeconds();
        device->playToEnd(&surface, 0);
        const double seconds = processCpuSeconds() - c0;
        state.SetIterationTime(seconds);
        busy += seconds;
    }
    const double played = static_cast<double>(state.iterations()) * lengthMs / 1000.0;
    state.counters["x_realtime"] = busy > 0 ? played / busy : 0;
    state.counters["frames/s"] = busy > 0 ? played * kVideoFps / busy : 0;
}
BENCHMARK(BM_VideoDecode)
    ->Name("Video/decode_640x440_15fps_4s")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

void BM_MidiOpenAndStart(benchmark::State& state) {
    Env& e = env();
    {  // the soundfont is loaded once per process, before the game's first tune
        auto warm = e.backend->open(e.music);
        warm->start(0);
    }
    for (auto _ : state) {
        const auto t0 = Steady::now();
        auto device = e.backend->open(e.music);
        device->start(0);
        state.SetIterationTime(std::chrono::duration<double>(Steady::now() - t0).count());
        device->halt();
    }
    state.counters["audible"] = e.backend->audible() ? 1 : 0;
}
BENCHMARK(BM_MidiOpenAndStart)
    ->Name("Midi/open_and_start")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Notes the time of the first block with sound after it is armed.
struct SoundWatch {
    std::atomic<bool> armed{false};
    std::atomic<bool> heard{false};
    std::atomic<std::int64_t> heardAt{0};
    std::atomic<int> blocks{0};
    std::atomic<int> silentBlocks{0};

    static void SDLCALL onMix(void* self, Uint8* stream, int len) {
        auto* w = static_cast<SoundWatch*>(self);
        const auto* s = reinterpret_cast<const Sint16*>(stream);
        bool sound = false;
        for (int i = 0; i < len / 2 && !sound; ++i) sound = s[i] != 0;
        ++w->blocks;
        w->silentBlocks = sound ? 0 : w->silentBlocks + 1;
        if (sound && w->armed && !w->heard) {
            w->heardAt = Steady::now().time_since_epoch().count();
            w->heard = true;
        }
    }
};

// From start() to the first block with sound leaving the mixer, over `state`'s iterations. The
// starts fall at spread-out moments of the mixer's cycle, as key presses do.
void measureStartToSound(benchmark::State& state, MediaDevice& device) {
    static SoundWatch watch;
    Mix_SetPostMix(&SoundWatch::onMix, &watch);
    int missed = 0, round = 0;
    for (auto _ : state) {
        while (watch.silentBlocks < 2) std::this_thread::sleep_for(std::chrono::microseconds(200));
        std::this_thread::sleep_for(std::chrono::microseconds((round++ * 3709) % 11600));
        watch.heard = false;
        watch.armed = true;
        const auto t0 = Steady::now();
        device.start(0);
        const auto deadline = t0 + std::chrono::seconds(1);
        while (!watch.heard && Steady::now() < deadline)
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        watch.armed = false;
        if (!watch.heard) ++missed;
        const auto at = watch.heard ? Steady::time_point(Steady::duration(watch.heardAt.load()))
                                    : Steady::now();
        state.SetIterationTime(std::chrono::duration<double>(at - t0).count());
        device.halt();
    }
    Mix_SetPostMix(nullptr, nullptr);
    state.counters["buffer_ms"] = 512.0 * 1000.0 / 44100.0;
    state.counters["missed"] = missed;
}

void BM_WaveStartToSound(benchmark::State& state) {
    Env& e = env();
    if (!e.backend->audible()) {
        state.SkipWithError("no audio device");
        return;
    }
    auto beep = e.backend->open(e.beep);
    measureStartToSound(state, *beep);
}
BENCHMARK(BM_WaveStartToSound)
    ->Name("Wave/start_to_sound")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(100);

void BM_MidiStartToSound(benchmark::State& state) {
    Env& e = env();
    if (!e.backend->audible()) {
        state.SkipWithError("no audio device");
        return;
    }
    auto music = e.backend->open(e.music);
    measureStartToSound(state, *music);
}
BENCHMARK(BM_MidiStartToSound)
    ->Name("Midi/start_to_sound")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(50);

const QString kGame = QStringLiteral(VORN_GAME_DIR);

void BM_PackInterludes(benchmark::State& state) {
    Env& e = env();
    musicQuiet();
    NullSurface surface;
    double slowest = 0;
    for (auto _ : state) {
        slowest = 1e9;
        for (const QString& name :
             QDir(kGame + QStringLiteral("/video")).entryList({QStringLiteral("*.avi")})) {
            auto device = e.backend->open(kGame + QStringLiteral("/video/") + name);
            const double c0 = processCpuSeconds();
            device->playToEnd(&surface, 0);
            const double seconds = processCpuSeconds() - c0;
            if (seconds > 0)
                slowest =
                    std::min(slowest, static_cast<double>(device->lengthMs()) / 1000.0 / seconds);
        }
    }
    state.counters["x_realtime"] = slowest;
}
BENCHMARK(BM_PackInterludes)
    ->Name("Video/pack_interludes")
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

#ifdef VORN_BENCH_RENDERER
// FluidSynth alone, set up as the game sets it up, rendering a tune of the pack to memory.
void BM_SynthAlone(benchmark::State& state, const char* tune) {
    QFile file(kGame + QLatin1Char('/') + QLatin1String(tune));
    if (!file.open(QIODevice::ReadOnly)) {
        state.SkipWithError("no tune");
        return;
    }
    const QByteArray bytes = file.readAll();
    const vorn::MusicSynth music = vorn::newMusicSynth(vorn::MusicRenderer::findSoundfont());
    fluid_synth_t* synth = music.synth;
    if (!synth) {
        state.SkipWithError("no soundfont");
    } else {
        std::vector<float> buffer(1024 * 2);
        double cpu = 0, audio = 0;
        for (auto _ : state) {
            fluid_synth_system_reset(synth);
            fluid_player_t* player = new_fluid_player(synth);
            fluid_player_add_mem(player, bytes.constData(), static_cast<size_t>(bytes.size()));
            fluid_player_play(player);
            const double c0 = processCpuSeconds();
            std::int64_t frames = 0;
            while (fluid_player_get_status(player) == FLUID_PLAYER_PLAYING ||
                   fluid_synth_get_active_voice_count(synth) > 0) {
                fluid_synth_write_float(synth, 1024, buffer.data(), 0, 2, buffer.data(), 1, 2);
                frames += 1024;
            }
            cpu += processCpuSeconds() - c0;
            audio += static_cast<double>(frames) / 44100.0;
            delete_fluid_player(player);
        }
        state.counters["cpu_%"] = audio > 0 ? 100.0 * cpu / audio : 0;
        state.counters["tune_s"] = audio / static_cast<double>(state.iterations());
    }
    vorn::deleteMusicSynth(music);
}
BENCHMARK_CAPTURE(BM_SynthAlone, title, "son/titre.mid")
    ->Name("Synth/title_tune")
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SynthAlone, level, "son/1.mid")
    ->Name("Synth/level_tune")
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
#endif

#ifdef VORN_BENCH_RENDERER
QByteArray titleTune() {
    QFile file(kGame + QStringLiteral("/son/titre.mid"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void BM_MusicFirstPlay(benchmark::State& state) {
    const QByteArray tune = titleTune();
    double cpu = 0, seconds = 0;
    for (auto _ : state) {
        QTemporaryDir cache;
        auto renderer = MusicRenderer::create(MusicRenderer::findSoundfont(), cache.path());
        if (!renderer || tune.isEmpty()) {
            state.SkipWithError("no soundfont or no tune");
            return;
        }
        const double c0 = processCpuSeconds();
        const auto rendered = renderer->render(tune, 0);
        renderer->waitIdle(120000);
        cpu = processCpuSeconds() - c0;
        seconds = rendered ? static_cast<double>(rendered->framesReady()) / 44100.0 : 0;
    }
    state.counters["cpu_ms"] = cpu * 1000.0;
    state.counters["cpu_%"] = seconds > 0 ? 100.0 * cpu / seconds : 0;
}
BENCHMARK(BM_MusicFirstPlay)
    ->Name("Music/first_play")
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

void BM_MusicCachedPlay(benchmark::State& state) {
    const QByteArray tune = titleTune();
    QTemporaryDir cache;
    {
        auto first = MusicRenderer::create(MusicRenderer::findSoundfont(), cache.path());
        if (!first || tune.isEmpty()) {
            state.SkipWithError("no soundfont or no tune");
            return;
        }
        first->render(tune, 0);
        first->waitIdle(120000);
    }
    for (auto _ : state) {
        auto renderer = MusicRenderer::create(MusicRenderer::findSoundfont(), cache.path());
        const auto t0 = Steady::now();
        benchmark::DoNotOptimize(renderer->render(tune, 0));
        state.SetIterationTime(std::chrono::duration<double>(Steady::now() - t0).count());
        state.counters["renders"] = renderer->rendersBegun();
    }
}
BENCHMARK(BM_MusicCachedPlay)
    ->Name("Music/cached_play")
    ->UseManualTime()
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);
#endif

}  // namespace
