// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// How loud the music is against the sounds, as a player hears it. The default pack's title tune,
// intro video and answer sounds are played through the real backend on SDL's "disk" driver, which
// writes the mixed output to a file, and their levels are measured in that file. Also the limiter
// that keeps the louder music under full scale.

#include "platform/errors.h"
#include "platform/media/backend.h"
#include "platform/media/real/audioengine.h"
#include "platform/media/real/peaklimiter.h"
#include "platform/platform.h"
#include "platform/son.h"
#include "platform/virtualclock.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <thread>
#include <vector>

using namespace vorn;

namespace loudness_test {

// ---------------------------------------------------------------- the limiter

constexpr int kRate = AudioEngine::kSampleRate;

std::vector<float> stereoTone(double seconds, float left, float right, double hz = 220) {
    std::vector<float> out;
    const int frames = static_cast<int>(seconds * kRate);
    for (int i = 0; i < frames; ++i) {
        const auto s = static_cast<float>(std::sin(2 * M_PI * hz * i / kRate));
        out.push_back(s * left);
        out.push_back(s * right);
    }
    return out;
}

float peakOf(const std::vector<float>& s, std::size_t from = 0, std::size_t to = SIZE_MAX) {
    float peak = 0;
    for (std::size_t i = from; i < std::min(to, s.size()); ++i)
        peak = std::max(peak, std::fabs(s[i]));
    return peak;
}

TEST(PeakLimiter, LeavesQuietMusicAloneAndHoldsPeaksUnderTheCeiling) {
    PeakLimiter limiter(0.9f, 0.2f, kRate);
    std::vector<float> quiet = stereoTone(0.5, 0.85f, 0.5f);
    const std::vector<float> original = quiet;
    limiter.process(quiet.data(), static_cast<int>(quiet.size() / 2));
    EXPECT_TRUE(quiet == original) << "quiet music was changed";

    // Twice too loud, louder on the left: held under the ceiling, both sides by the same factor.
    std::vector<float> loud = stereoTone(0.5, 1.8f, 0.9f);
    limiter.process(loud.data(), static_cast<int>(loud.size() / 2));
    EXPECT_LE(peakOf(loud), 0.9f * 1.0001f);
    EXPECT_GT(peakOf(loud), 0.89f);  // turned down to the ceiling, not below
    float worstBalance = 0;
    for (std::size_t i = 0; i < loud.size(); i += 2)
        if (std::fabs(loud[i]) > 0.1f)
            worstBalance = std::max(worstBalance, std::fabs(loud[i + 1] / loud[i] - 0.5f));
    EXPECT_LT(worstBalance, 1e-4f);
}

TEST(PeakLimiter, ComesBackSmoothlyAfterAPeakAndResetsForTheNextTune) {
    PeakLimiter limiter(0.9f, 0.2f, kRate);
    // One loud beat (four times the ceiling), then quiet music at half scale.
    std::vector<float> beat = stereoTone(0.02, 3.6f, 3.6f);
    limiter.process(beat.data(), static_cast<int>(beat.size() / 2));
    std::vector<float> after = stereoTone(1.5, 0.5f, 0.5f);
    limiter.process(after.data(), static_cast<int>(after.size() / 2));
    const auto at = [](double seconds) { return static_cast<std::size_t>(seconds * kRate) * 2; };
    // Right after the beat the music is still turned down, then it comes back without a jump.
    EXPECT_LT(peakOf(after, at(0.0), at(0.05)), 0.25f);
    EXPECT_NEAR(peakOf(after, at(1.3), at(1.5)), 0.5f, 0.01f);
    float previousPeak = peakOf(after, at(0.0), at(0.02));
    for (double t = 0.02; t < 1.4; t += 0.02) {
        const float peak = peakOf(after, at(t), at(t + 0.02));
        EXPECT_GE(peak, previousPeak - 1e-3f) << t;
        EXPECT_LT(peak - previousPeak, 0.05f) << t;
        previousPeak = peak;
    }

    // A new tune starts at full level at once.
    limiter.process(beat.data(), static_cast<int>(beat.size() / 2));
    limiter.reset();
    std::vector<float> next = stereoTone(0.05, 0.5f, 0.5f);
    const std::vector<float> original = next;
    limiter.process(next.data(), static_cast<int>(next.size() / 2));
    EXPECT_TRUE(next == original) << "the next tune starts turned down";
}

// ---------------------------------------------------------------- the mixed output

const QString kGame = QStringLiteral(VORN_BUILD_DIR "/game");
constexpr const char* kRecordingDirVariable = "VORN_MIXED_OUTPUT_DIR";

// Counts the frames the mixer hands to the device and paces it: the disk driver writes as fast as
// it is fed, so once past the frames the test asked for, the mixer waits a little at each block.
struct OutputClock {
    std::atomic<std::int64_t> frames{0};
    std::atomic<std::int64_t> allowed{0};
    std::atomic<int> blockFrames{0};

    static void SDLCALL onMix(void* self, Uint8*, int len) {
        auto* clock = static_cast<OutputClock*>(self);
        const int n = len / (AudioEngine::kChannels * static_cast<int>(sizeof(Sint16)));
        clock->blockFrames = n;
        if ((clock->frames += n) > clock->allowed) SDL_Delay(2);
    }
    // Lets the mixer run to `frame` and waits until it has.
    bool runTo(std::int64_t frame) {
        allowed = frame;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (frames < frame) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }
};

// The one output device open in this process: the mixer's.
SDL_AudioDeviceID mixerDevice() {
    for (SDL_AudioDeviceID id = 1; id < 32; ++id)
        if (SDL_GetAudioDeviceStatus(id) == SDL_AUDIO_PLAYING) return id;
    return 0;
}

// What was played, in order: a name, the output frame it started at, how many frames it lasts.
struct Play {
    QString name;
    std::int64_t start = 0;
    std::int64_t frames = 0;
};

// The four sounds measured, played one after the other at full volumes, then at the game's.
// The first is the answer chime, which sounds from its first samples on: it anchors the plays'
// frames in the recording.
const std::vector<std::pair<QString, QString>> kPlays = {
    {QStringLiteral("right answer"), QStringLiteral("son/juste.wav")},
    {QStringLiteral("wrong answer"), QStringLiteral("son/faux.wav")},
    {QStringLiteral("intro video"), QStringLiteral("video/0.avi")},
    {QStringLiteral("title tune"), QStringLiteral("son/titre.mid")},
};

// In a fresh process: opens the real backend on the disk driver, writing to `dir`/mix.raw, plays
// the sounds and writes where each started to `dir`/plays.txt. False, said on standard error, when
// something failed.
bool recordThePlays(const QString& dir) {
    const auto failed = [](const QString& why) {
        std::fprintf(stderr, "%s\n", why.toUtf8().constData());
        return false;
    };
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(dir + QStringLiteral("/mix.raw")));
    qputenv("SDL_DISKAUDIODELAY", "0");  // no pacing of its own: the output clock paces it
    static OutputClock output;
    // Set before the device opens, so that it counts from the mixer's very first block.
    Mix_SetPostMix(&OutputClock::onMix, &output);

    RecordingErrorPresenter errors;
    EventGuard guard{errors};
    VirtualClock clock{guard};
    auto backend = createRealBackend(clock);
    const SDL_AudioDeviceID device = mixerDevice();
    if (!backend->audible() || device == 0) return failed(QStringLiteral("no disk audio output"));

    QFile marks(dir + QStringLiteral("/plays.txt"));
    if (!marks.open(QIODevice::WriteOnly | QIODevice::Text)) return failed(marks.fileName());
    QTextStream out(&marks);
    Son son(*backend);
    for (const bool gameVolumes : {false, true}) {
        if (gameVolumes) son.regleVolumes();
        for (const auto& [name, file] : kPlays) {
            std::unique_ptr<MediaDevice> media;
            try {
                media = backend->open(kGame + QLatin1Char('/') + file);
            } catch (const Error& e) {
                return failed(file + QStringLiteral(": ") + e.message());
            }
            const std::int64_t frames = media->lengthMs() * kRate / 1000;
            // Started between two blocks: the play's first frame is the next block's first.
            SDL_LockAudioDevice(device);
            const std::int64_t start = output.frames;
            media->start(0);
            SDL_UnlockAudioDevice(device);
            if (!output.runTo(start + frames)) return failed(QStringLiteral("the mixer stalled"));
            media->halt();
            out << (gameVolumes ? "game " : "full ") << start << ' ' << frames << ' ' << name
                << '\n';
        }
    }
    out.flush();
    // The driver writes through a file buffer: push the last plays out of it.
    return output.runTo(output.frames + 16 * output.blockFrames) && output.blockFrames > 0 &&
           marks.error() == QFile::NoError;
}

struct Level {
    double rmsDb = -200;  // dB under full scale, both sides together
    int peak = 0;         // largest sample magnitude
};

Level levelOf(const std::vector<std::int16_t>& samples, std::int64_t firstFrame,
              std::int64_t frames) {
    const auto from = static_cast<std::size_t>(std::max<std::int64_t>(0, firstFrame)) * 2;
    const auto to = std::min(samples.size(), from + static_cast<std::size_t>(frames) * 2);
    double sum = 0;
    Level level;
    for (std::size_t i = from; i < to; ++i) {
        sum += static_cast<double>(samples[i]) * samples[i];
        level.peak = std::max(level.peak, std::abs(static_cast<int>(samples[i])));
    }
    if (to > from && sum > 0)
        level.rmsDb = 10 * std::log10(sum / static_cast<double>(to - from) / (32768.0 * 32768.0));
    return level;
}

double volumeDb(std::uint32_t volume) {
    return 20 * std::log10(static_cast<double>(volume & 0xFFFF) / 0xFFFF);
}

TEST(MixedOutput, TheMusicSitsUnderTheSoundsByTheGameVolumesOnly) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The recording needs a process of its own: the audio output opens once per process, and here
    // it must open on the disk driver. The child finds the recording's folder in its environment.
    std::optional<QTemporaryDir> made;
    QString dir = qEnvironmentVariable(kRecordingDirVariable);
    if (dir.isEmpty()) {
        made.emplace();
        ASSERT_TRUE(made->isValid());
        dir = made->path();
        qputenv(kRecordingDirVariable, QFile::encodeName(dir));
    }
    EXPECT_EXIT(std::_Exit(recordThePlays(dir) ? 0 : 1), ::testing::ExitedWithCode(0), "");
    qunsetenv(kRecordingDirVariable);
    if (HasFailure()) return;

    QFile raw(dir + QStringLiteral("/mix.raw"));
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    std::vector<std::int16_t> samples(static_cast<std::size_t>(bytes.size()) / 2);
    std::memcpy(samples.data(), bytes.constData(), samples.size() * 2);

    QFile marks(dir + QStringLiteral("/plays.txt"));
    ASSERT_TRUE(marks.open(QIODevice::ReadOnly | QIODevice::Text));
    std::vector<Play> order;
    for (const QString& line :
         QString::fromUtf8(marks.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList f = line.split(u' ');
        ASSERT_GE(f.size(), 4) << line.toStdString();
        order.push_back({f[0] + u' ' + f.mid(3).join(u' '), f[1].toLongLong(), f[2].toLongLong()});
    }
    ASSERT_EQ(order.size(), 2 * kPlays.size());

    // The driver may write a few silent blocks before the mixer's first: the first play, which
    // sounds from its first frames, shows how many.
    const auto firstSound =
        std::find_if(samples.begin(), samples.end(), [](std::int16_t s) { return s != 0; });
    ASSERT_NE(firstSound, samples.end());
    const std::int64_t delay = (firstSound - samples.begin()) / 2 - order.front().start;
    constexpr std::int64_t kBlock = AudioEngine::kBufferFrames;
    ASSERT_GE(delay, 0);
    ASSERT_LT(delay % kBlock, 64) << "the first play does not start on a block";
    const std::int64_t offset = delay - delay % kBlock;

    std::map<QString, Level> levels;
    for (const Play& play : order) {
        ASSERT_LE((offset + play.start + play.frames) * 2,
                  static_cast<std::int64_t>(samples.size()))
            << play.name.toStdString();
        levels[play.name] = levelOf(samples, offset + play.start, play.frames);
        std::printf("%-20s %7.2f dBFS RMS, peak %5d\n", play.name.toUtf8().constData(),
                    levels[play.name].rmsDb, levels[play.name].peak);
    }
    const auto db = [&](const char* name) { return levels.at(QString::fromLatin1(name)).rmsDb; };

    // At full volume the title tune is about as loud as the intro video and the answer chime.
    EXPECT_NEAR(db("full title tune"), db("full intro video"), 3.0);
    EXPECT_NEAR(db("full title tune"), db("full right answer"), 3.0);
    // The game's volumes lower each by their own amount, no more.
    EXPECT_NEAR(db("game title tune") - db("full title tune"), volumeDb(Son::kMidiVolume), 0.2);
    for (const char* name : {"intro video", "right answer", "wrong answer"}) {
        const std::string full = std::string("full ") + name, game = std::string("game ") + name;
        EXPECT_NEAR(db(game.c_str()) - db(full.c_str()), volumeDb(Son::kWaveVolume), 0.2) << name;
    }
    // So in the game the music sits under the video and the chime by about the volumes' 7.5 dB.
    for (const char* name : {"game intro video", "game right answer"}) {
        EXPECT_GE(db(name) - db("game title tune"), 5.0) << name;
        EXPECT_LE(db(name) - db("game title tune"), 10.0) << name;
    }
    // Never a sample at full scale.
    for (const auto& [name, level] : levels) EXPECT_LT(level.peak, 32767) << name.toStdString();
}

}  // namespace loudness_test
