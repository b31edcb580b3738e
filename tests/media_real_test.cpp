// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The real media backend under SDL's dummy audio driver: what is mixed is read back through the
// mixer's post-mix hook, so these tests hear what a player would hear. Video pacing runs on
// virtual time.

#include "platform/errors.h"
#include "platform/media/backend.h"
#include "platform/media/mediaplayer.h"
#include "platform/media/midifile.h"
#include "platform/media/simulatedbackend.h"
#include "platform/platform.h"
#include "platform/virtualclock.h"
#include "tools/checker/media_check.h"

#include "content/writers/aviwriter.h"
#include "content/writers/midiwriter.h"
#include "content/writers/wavwriter.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>

using namespace vorn;
using namespace std::chrono_literals;

namespace media_real_test {

// Peaks of what the mixer outputs, left and right, since the last reset.
struct MixTap {
    std::atomic<int> peakLeft{0};
    std::atomic<int> peakRight{0};
    std::atomic<int> blocks{0};

    static void SDLCALL onMix(void* self, Uint8* stream, int len) {
        auto* tap = static_cast<MixTap*>(self);
        const auto* s = reinterpret_cast<const Sint16*>(stream);
        int left = 0, right = 0;
        for (int i = 0; i + 1 < len / 2; i += 2) {
            left = std::max(left, std::abs(static_cast<int>(s[i])));
            right = std::max(right, std::abs(static_cast<int>(s[i + 1])));
        }
        if (left > tap->peakLeft) tap->peakLeft = left;
        if (right > tap->peakRight) tap->peakRight = right;
        ++tap->blocks;
    }
    void reset() {
        peakLeft = 0;
        peakRight = 0;
    }
    // How long the mixer may take to mix what a test waits for: far more than it needs, even on
    // a machine whose cores are busy with other work.
    static constexpr std::chrono::seconds kPatience{30};
    // Lets `count` more blocks go through the mixer.
    void waitBlocks(int count) {
        const int target = blocks + count;
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (blocks < target && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(1ms);
        if (blocks < target) ADD_FAILURE() << "the mixer stopped mixing";
    }
    // Waits until something louder than `level` is heard on either side.
    bool waitForSound(int level, std::chrono::milliseconds timeout = kPatience) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < deadline) {
            if (peakLeft > level || peakRight > level) return true;
            std::this_thread::sleep_for(2ms);
        }
        return false;
    }
    // True when nothing louder than `level` is heard over `count` blocks that start after now.
    bool quietOver(int count, int level) {
        waitBlocks(2);  // a block being mixed during the call may still hold the old sound
        reset();
        waitBlocks(count);
        return peakLeft <= level && peakRight <= level;
    }
    bool silentOver(int count) { return quietOver(count, 0); }
};

// Remembers every frame shown and the (virtual) time it was shown at.
class RecordingSurface : public VideoSurface {
  public:
    explicit RecordingSurface(Clock& clock) : clock_(clock) {}
    void showFrame(const QImage& frame) override {
        frames.push_back(frame);
        times.push_back(clock_.nowMs());
    }
    void present() override { ++presents; }

    std::vector<QImage> frames;
    std::vector<std::int64_t> times;
    int presents = 0;

  private:
    Clock& clock_;
};

QImage numberedFrame(int i, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(i * 12, 255 - i * 12, 128));
    return image;
}

std::vector<std::int16_t> tone(int sampleRate, int ms, int amplitude, int channels = 1) {
    std::vector<std::int16_t> samples;
    const int count = sampleRate * ms / 1000;
    for (int i = 0; i < count; ++i) {
        const auto v =
            static_cast<std::int16_t>(amplitude * std::sin(2 * M_PI * 440.0 * i / sampleRate));
        for (int c = 0; c < channels; ++c) samples.push_back(v);
    }
    return samples;
}

QString errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const Error& e) {
        return e.message();
    }
    return QStringLiteral("<no error>");
}

// The test files, made with the content writers in a temporary working directory.
class MediaFiles : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString previous = QDir::currentPath();
    RecordingErrorPresenter errors;
    EventGuard guard{errors};
    VirtualClock clock{guard};

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QDir::setCurrent(dir.path());
        // A held note of 2 s at 120 beats a minute (480 ticks a beat: 960 ticks a second).
        writers::MidiTrack held;
        held.programChange(0, 0, 0);
        held.note(0, 1920, 0, 60, 110);
        writers::writeMidi(QStringLiteral("held.mid"), {held}, 480);
        // A note for the first 400 ms, then a rest until a last quiet event at 3 s.
        writers::MidiTrack gap;
        gap.note(0, 384, 0, 64, 110);
        gap.controlChange(2880, 0, 7, 100);
        writers::writeMidi(QStringLiteral("gap.mid"), {gap}, 480);
        writers::writeWav(QStringLiteral("tone.wav"), tone(22050, 1500, 16000), 1, 22050);

        writers::AviFormat format;
        format.width = 32;
        format.height = 24;
        format.frameRateNum = 10;
        format.quality = 2;
        format.sampleRate = 22050;
        std::vector<QImage> frames;
        for (int i = 0; i < 20; ++i) frames.push_back(numberedFrame(i, QSize(32, 24)));
        writers::writeAvi(QStringLiteral("clip.avi"), format, frames, tone(22050, 2000, 12000));

        QFile text(QStringLiteral("notes.txt"));
        ASSERT_TRUE(text.open(QIODevice::WriteOnly));
        text.write("Ceci n'est pas un fichier de sons.\n");
        text.close();
        for (const char* name : {"text.mid", "text.wav", "text.avi"})
            QFile::copy(QStringLiteral("notes.txt"), QString::fromLatin1(name));
    }
    void TearDown() override { QDir::setCurrent(previous); }
};

// The real backend on the dummy driver, its output tapped.
class RealMedia : public MediaFiles {
  protected:
    std::unique_ptr<MediaBackend> backend;
    MixTap tap;

    void SetUp() override {
        MediaFiles::SetUp();
        backend = createRealBackend(clock);
        if (backend->audible()) Mix_SetPostMix(&MixTap::onMix, &tap);
    }
    void TearDown() override {
        if (backend && backend->audible()) Mix_SetPostMix(nullptr, nullptr);
        backend.reset();
        MediaFiles::TearDown();
    }
};

TEST_F(RealMedia, OpensWithTheDummyDriverAndVolumesStartFull) {
    EXPECT_TRUE(backend->audible());
    EXPECT_EQ(backend->midiVolume(), 0xFFFFFFFFu);
    EXPECT_EQ(backend->waveVolume(), 0xFFFFFFFFu);
    backend->setMidiVolume(0x4FFF4FFF);
    backend->setWaveVolume(0xBFFFBFFF);
    EXPECT_EQ(backend->midiVolume(), 0x4FFF4FFFu);
    EXPECT_EQ(backend->waveVolume(), 0xBFFFBFFFu);
    // Another backend in the same process starts at full volume again.
    auto other = createRealBackend(clock);
    EXPECT_EQ(other->midiVolume(), 0xFFFFFFFFu);
    EXPECT_EQ(other->waveVolume(), 0xFFFFFFFFu);
}

TEST_F(RealMedia, ErrorsAreTheSimulatedBackendsTexts) {
    SimulatedBackend simulated(clock);
    for (const char* name : {"missing.mid", "missing.wav", "missing.avi", "text.mid", "text.wav",
                             "text.avi", "notes.txt", "held.mp3"}) {
        const QString path = QString::fromLatin1(name);
        const QString expected = errorOf([&] { simulated.open(path); });
        EXPECT_NE(expected, "<no error>") << name;
        EXPECT_EQ(errorOf([&] { backend->open(path); }), expected) << name;
    }
    EXPECT_EQ(errorOf([&] { backend->open("missing.wav"); }), mediaerror::fileNotFound());
    EXPECT_EQ(errorOf([&] { backend->open("text.wav"); }), mediaerror::invalidFile());
    EXPECT_EQ(errorOf([&] { backend->openAnimation("missing.avi"); }), mediaerror::cannotOpenAvi());
    EXPECT_EQ(errorOf([&] { backend->openAnimation("text.avi"); }), mediaerror::cannotOpenAvi());
}

TEST_F(RealMedia, AWaveFileTheMixerCannotDecodeIsAnInvalidFile) {
    // A well-formed RIFF header with a compression nobody knows: measurable, not playable.
    QByteArray bytes = writers::wavBytes(tone(22050, 100, 8000), 1, 22050);
    const int fmt = bytes.indexOf("fmt ");
    ASSERT_GT(fmt, 0);
    bytes[fmt + 8] = 0x34;
    bytes[fmt + 9] = 0x12;
    QFile file(QStringLiteral("odd.wav"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    EXPECT_EQ(errorOf([&] { backend->open("odd.wav"); }), mediaerror::invalidFile());
}

// A WAVE file of `bits` a sample and format `tag` (1 PCM, 3 IEEE float) holding `data` as is.
QByteArray rawWave(int tag, int bits, int channels, int sampleRate, const QByteArray& data) {
    auto le = [](QByteArray& out, std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i) out.append(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    const int blockAlign = channels * bits / 8;
    QByteArray out("RIFF");
    le(out, static_cast<std::uint32_t>(36 + data.size()), 4);
    out.append("WAVEfmt ");
    le(out, 16, 4);
    le(out, static_cast<std::uint32_t>(tag), 2);
    le(out, static_cast<std::uint32_t>(channels), 2);
    le(out, static_cast<std::uint32_t>(sampleRate), 4);
    le(out, static_cast<std::uint32_t>(sampleRate * blockAlign), 4);
    le(out, static_cast<std::uint32_t>(blockAlign), 2);
    le(out, static_cast<std::uint32_t>(bits), 2);
    out.append("data");
    le(out, static_cast<std::uint32_t>(data.size()), 4);
    out.append(data);
    return out;
}

// The checker's faults for one file of a folder that holds only that file.
QStringList checkerFaults(const QString& file, const QByteArray& bytes) {
    QTemporaryDir pack;
    QDir(pack.path()).mkpath(QFileInfo(file).path());
    QFile out(QDir(pack.path()).filePath(file));
    if (!out.open(QIODevice::WriteOnly)) return {QStringLiteral("cannot write the test file")};
    out.write(bytes);
    out.close();
    check::Report report;
    check::checkMedia(pack.path(), report);
    QStringList faults;
    for (const QString& fault : report.faults())
        if (fault.startsWith(file + QStringLiteral(": "))) faults << fault;
    return faults;
}

TEST_F(RealMedia, SoundFormatsAreTakenAlikeByBothBackendsAndTheChecker) {
    ASSERT_TRUE(backend->audible());
    SimulatedBackend simulated(clock);
    const auto mono = tone(22050, 500, 12000);
    const auto stereo = tone(22050, 500, 12000, 2);
    QByteArray floats, deep;
    for (std::int16_t v : mono) {
        const float f = static_cast<float>(v) / 32768.0f;
        floats.append(reinterpret_cast<const char*>(&f), 4);
        const std::int32_t wide = static_cast<std::int32_t>(v) * 256;  // 24 bits, little-endian
        deep.append(reinterpret_cast<const char*>(&wide), 3);
    }
    QByteArray unknown = writers::wavBytes(mono, 1, 22050);
    unknown[20] = 0x34;  // the format tag
    unknown[21] = 0x12;
    struct Case {
        const char* name;
        QByteArray bytes;
        bool plays;
    };
    const std::vector<Case> cases = {
        {"16-bit", writers::wavBytes(mono, 1, 22050), true},
        {"8-bit", writers::wavBytes(mono, 1, 22050, writers::WavEncoding::Pcm8), true},
        {"IMA ADPCM", writers::wavBytes(mono, 1, 22050, writers::WavEncoding::ImaAdpcm), true},
        {"IMA ADPCM stereo", writers::wavBytes(stereo, 2, 22050, writers::WavEncoding::ImaAdpcm),
         true},
        {"float", rawWave(3, 32, 1, 22050, floats), true},
        {"24-bit", rawWave(1, 24, 1, 22050, deep), true},
        {"unknown compression", unknown, false},
        {"not a sound", QByteArray("RIFF\x20\0\0\0WAVEthis is no sound at all", 35), false},
    };
    const QString file = QStringLiteral("son/juste.wav");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir().mkpath(QStringLiteral("son"));
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(c.bytes);
        out.close();
        const QStringList faults = checkerFaults(file, c.bytes);
        if (!c.plays) {
            EXPECT_EQ(errorOf([&] { backend->open(file); }), mediaerror::invalidFile());
            EXPECT_EQ(errorOf([&] { simulated.open(file); }), mediaerror::invalidFile());
            EXPECT_EQ(faults, QStringList{file + ": cannot be opened as wave audio: " +
                                          mediaerror::invalidFile()});
            continue;
        }
        std::unique_ptr<MediaDevice> real, virtualOne;
        ASSERT_EQ(errorOf([&] { real = backend->open(file); }), "<no error>");
        ASSERT_EQ(errorOf([&] { virtualOne = simulated.open(file); }), "<no error>");
        EXPECT_EQ(real->lengthMs(), virtualOne->lengthMs());
        EXPECT_NEAR(static_cast<double>(real->lengthMs()), 500, 10);  // ADPCM: whole blocks
        EXPECT_EQ(faults, QStringList());
        // And the mixer really plays it.
        tap.reset();
        real->start(0);
        EXPECT_TRUE(tap.waitForSound(6000));
        real.reset();
        EXPECT_TRUE(tap.silentOver(3));
    }
}

// An AVI file whose picture codec (or sound format) is one that no decoder knows.
QByteArray withUnknownPictures(QByteArray avi) {
    const qsizetype movi = avi.indexOf("movi");
    for (qsizetype at = avi.indexOf("MJPG"); at >= 0 && at < movi; at = avi.indexOf("MJPG", at))
        avi.replace(at, 4, "XQZW");
    return avi;
}
QByteArray withUnknownSound(QByteArray avi) {
    const qsizetype format = avi.indexOf("strf", avi.indexOf("auds"));
    if (format < 0) return {};
    avi[format + 8] = 0x77;  // the WAVEFORMATEX format tag
    avi[format + 9] = 0x77;
    return avi;
}

TEST_F(RealMedia, VideoFormatsAreTakenAlikeByBothBackendsAndTheChecker) {
    ASSERT_TRUE(backend->audible());
    SimulatedBackend simulated(clock);
    QFile clip(QStringLiteral("clip.avi"));
    ASSERT_TRUE(clip.open(QIODevice::ReadOnly));
    const QByteArray good = clip.readAll();
    const QByteArray silent = withUnknownSound(good);
    ASSERT_FALSE(silent.isEmpty());
    const QString file = QStringLiteral("video/3.avi");
    QDir().mkpath(QStringLiteral("video"));
    auto put = [&](const QByteArray& bytes) {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(bytes);
    };

    // Pictures that nothing decodes: refused everywhere with the service's text.
    put(withUnknownPictures(good));
    EXPECT_EQ(errorOf([&] { backend->open(file); }), mediaerror::invalidFile());
    EXPECT_EQ(errorOf([&] { simulated.open(file); }), mediaerror::invalidFile());
    EXPECT_EQ(checkerFaults(file, withUnknownPictures(good)),
              QStringList{file + ": cannot be opened as a video: " + mediaerror::invalidFile()});
    EXPECT_EQ(errorOf([&] { backend->openAnimation(file); }), mediaerror::cannotOpenAvi());
    EXPECT_EQ(errorOf([&] { simulated.openAnimation(file); }), mediaerror::cannotOpenAvi());

    // A sound track that nothing decodes: the pictures play, silent; the checker says why.
    for (const QByteArray* bytes : {&good, &silent}) {
        const bool hasSound = bytes == &good;
        SCOPED_TRACE(hasSound ? "with its sound" : "with an unknown sound format");
        put(*bytes);
        std::unique_ptr<MediaDevice> real, virtualOne;
        ASSERT_EQ(errorOf([&] { real = backend->open(file); }), "<no error>");
        ASSERT_EQ(errorOf([&] { virtualOne = simulated.open(file); }), "<no error>");
        EXPECT_EQ(real->lengthMs(), virtualOne->lengthMs());
        const QString faults = checkerFaults(file, *bytes).join(u'\n');
        EXPECT_FALSE(faults.contains("cannot be opened")) << qPrintable(faults);
        EXPECT_EQ(faults.contains("has a sound track that cannot be decoded: it would play silent"),
                  !hasSound)
            << qPrintable(faults);
        tap.reset();
        RecordingSurface surface(clock);
        real->playToEnd(&surface, 0);
        EXPECT_EQ(surface.frames.size(), 20u);
        EXPECT_EQ(tap.waitForSound(1000, hasSound ? MixTap::kPatience : 300ms), hasSound);
    }
}

// The program plays for hours: its media service keeps no log. The script runner's does.
using MediaLog = MediaFiles;
TEST_F(MediaLog, OnlyTheVirtualPlatformKeepsOne) {
    DesktopPlatform desktop;
    MediaService& media = desktop.platform().media;
    {
        MediaPlayer son(media, QStringLiteral("son"));
        son.setFileName(QStringLiteral("tone.wav"));
        for (int i = 0; i < 3; ++i) {
            son.open();
            son.play();
        }
    }
    EXPECT_FALSE(media.recording());
    EXPECT_EQ(media.log(), QStringList());
    VirtualPlatform runner;
    EXPECT_TRUE(runner.platform().media.recording());
}

TEST(WaveWriter, ImaAdpcmDecodesCloseToItsSamples) {
    const auto samples = tone(22050, 300, 12000, 2);
    const QByteArray bytes = writers::wavBytes(samples, 2, 22050, writers::WavEncoding::ImaAdpcm);
    SDL_AudioSpec audio{};
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    SDL_RWops* source = SDL_RWFromConstMem(bytes.constData(), static_cast<int>(bytes.size()));
    ASSERT_TRUE(SDL_LoadWAV_RW(source, 1, &audio, &buffer, &length));
    EXPECT_EQ(audio.channels, 2);
    EXPECT_EQ(audio.freq, 22050);
    ASSERT_EQ(audio.format, AUDIO_S16SYS);
    const auto* decoded = reinterpret_cast<const std::int16_t*>(buffer);
    ASSERT_GE(length / 2, samples.size());
    int worst = 0;
    // The first samples are heard while the step size adapts to the signal.
    for (std::size_t i = 128; i < samples.size(); ++i)
        worst = std::max(worst, std::abs(decoded[i] - samples[i]));
    SDL_FreeWAV(buffer);
    EXPECT_LT(worst, 600);
}

TEST_F(RealMedia, WaveSoundsWithItsGainsAndStopsWhenHalted) {
    ASSERT_TRUE(backend->audible());
    backend->setWaveVolume(0xFFFF4000);  // left a quarter, right full
    auto wave = backend->open("tone.wav");
    EXPECT_EQ(wave->type(), DeviceType::WaveAudio);
    EXPECT_EQ(wave->lengthMs(), 1500);
    EXPECT_TRUE(tap.silentOver(2));

    wave->start(0);
    ASSERT_TRUE(tap.waitForSound(1000));
    tap.waitBlocks(4);
    const double left = tap.peakLeft, right = tap.peakRight;
    EXPECT_GT(right, 14000);
    EXPECT_NEAR(left / right, 0.25, 0.03);

    // A change of volume is heard on the sound already playing.
    backend->setWaveVolume(0x0000FFFF);
    tap.waitBlocks(2);
    tap.reset();
    tap.waitBlocks(3);
    EXPECT_GT(tap.peakLeft, 14000);
    EXPECT_EQ(tap.peakRight, 0);

    wave->halt();
    EXPECT_TRUE(tap.silentOver(4));
    // It plays again after a halt, and closing it silences it.
    wave->start(0);
    EXPECT_TRUE(tap.waitForSound(1000));
    wave.reset();
    EXPECT_TRUE(tap.silentOver(4));
}

TEST_F(RealMedia, ManyWaveSoundsAtOnceEachHaltOnlyItself) {
    ASSERT_TRUE(backend->audible());
    // More sounds than the mixer's first channels: more channels are made.
    std::vector<std::unique_ptr<MediaDevice>> sounds;
    for (int i = 0; i < 40; ++i) sounds.push_back(backend->open("tone.wav"));
    for (auto& s : sounds) s->start(0);
    ASSERT_TRUE(tap.waitForSound(1000));
    for (std::size_t i = 0; i + 1 < sounds.size(); ++i) sounds[i]->halt();
    tap.waitBlocks(2);
    tap.reset();
    tap.waitBlocks(3);
    EXPECT_GT(tap.peakRight, 14000);  // the last one still sounds
    sounds.clear();
    EXPECT_TRUE(tap.silentOver(3));
}

TEST_F(RealMedia, MidiSoundsThroughTheSynthesizerWithItsGains) {
    ASSERT_TRUE(backend->audible());
    backend->setMidiVolume(0x0000FFFF);  // left full, right off
    auto music = backend->open("held.mid");
    EXPECT_EQ(music->type(), DeviceType::Sequencer);
    EXPECT_EQ(music->lengthMs(), 2000);  // the last event, not the end of the reverb

    music->start(0);
    ASSERT_TRUE(tap.waitForSound(200));
    tap.waitBlocks(4);
    EXPECT_GT(tap.peakLeft, 200);
    EXPECT_EQ(tap.peakRight, 0);

    music->halt();
    EXPECT_TRUE(tap.silentOver(4));
    music->start(0);
    EXPECT_TRUE(tap.waitForSound(200));
    music.reset();  // closing halts
    EXPECT_TRUE(tap.silentOver(4));
}

TEST_F(RealMedia, LoudMusicIsHeldUnderFullScale) {
    ASSERT_TRUE(backend->audible());
    // Four loud chords at once, far past full scale at the synthesizer's gain.
    writers::MidiTrack loud;
    for (int channel = 0; channel < 4; ++channel) {
        loud.programChange(0, channel, 61 + channel);  // brass
        loud.controlChange(0, channel, 7, 127);
        for (int key : {48, 55, 60, 64, 67}) loud.note(0, 1920, channel, key + channel * 12, 127);
    }
    writers::writeMidi(QStringLiteral("loud.mid"), {loud}, 480);
    auto music = backend->open("loud.mid");
    music->start(0);
    ASSERT_TRUE(tap.waitForSound(200));
    tap.waitBlocks(40);
    // Turned down just under full scale, never clipped.
    EXPECT_GT(std::max<int>(tap.peakLeft, tap.peakRight), 26000);
    EXPECT_LT(tap.peakLeft, 32767);
    EXPECT_LT(tap.peakRight, 32767);
}

TEST_F(RealMedia, OneTuneAtATimeAndAReplacedTuneCannotStopTheNewOne) {
    ASSERT_TRUE(backend->audible());
    auto first = backend->open("held.mid");
    auto second = backend->open("held.mid");
    first->start(0);
    ASSERT_TRUE(tap.waitForSound(200));
    second->start(0);
    first->halt();  // no longer the one sounding: changes nothing
    tap.waitBlocks(2);
    tap.reset();
    EXPECT_TRUE(tap.waitForSound(200));
    first.reset();
    tap.waitBlocks(2);
    tap.reset();
    EXPECT_TRUE(tap.waitForSound(200));
    second->halt();
    EXPECT_TRUE(tap.silentOver(4));
}

TEST_F(RealMedia, MidiResumesFromTheGivenPosition) {
    ASSERT_TRUE(backend->audible());
    // A tune halted a moment ago leaves its reverb ringing: none of it may sound under the next.
    auto earlier = backend->open("held.mid");
    earlier->start(0);
    ASSERT_TRUE(tap.waitForSound(200));
    tap.waitBlocks(4);
    earlier->halt();
    auto music = backend->open("gap.mid");
    EXPECT_EQ(music->lengthMs(), 3000);
    // From 1 s on, only the rest remains: the note of the first 400 ms is not replayed.
    music->start(1000);
    EXPECT_TRUE(tap.silentOver(15)) << tap.peakLeft << " " << tap.peakRight;
    music->start(0);
    EXPECT_TRUE(tap.waitForSound(200));
}

TEST(MidiTiming, TicksFollowTheTempoMap) {
    writers::MidiTrack track;
    track.tempo(0, 250000);  // 240 beats a minute: 480 ticks are 250 ms
    track.note(0, 480 * 8, 0, 60, 100);
    track.tempo(480 * 4, 500000);  // from 1 s on, half speed
    const QByteArray bytes = writers::midiBytes({track}, 480);
    EXPECT_EQ(midi::tickAtMs(bytes, 0), 0u);
    EXPECT_EQ(midi::tickAtMs(bytes, 500), 960u);
    EXPECT_EQ(midi::tickAtMs(bytes, 1000), 1920u);
    EXPECT_EQ(midi::tickAtMs(bytes, 2000), 2880u);
    EXPECT_EQ(midi::tickAtMs(bytes, 5000), 5760u);  // past the end: on at the last tempo

    writers::MidiTrack plain;  // no tempo event: 120 beats a minute
    plain.note(0, 96, 0, 60, 100);
    EXPECT_EQ(midi::tickAtMs(writers::midiBytes({plain}, 96), 1500), 288u);

    QByteArray smpte = writers::midiBytes({plain}, 96);
    smpte[12] = static_cast<char>(0xE7);  // 25 frames a second
    smpte[13] = 40;                       // of 40 ticks: 1000 ticks a second
    EXPECT_EQ(midi::tickAtMs(smpte, 1500), 1500u);

    EXPECT_FALSE(midi::tickAtMs(QByteArray("MThd"), 10));
    EXPECT_FALSE(midi::tickAtMs(bytes.left(bytes.size() - 3), 10));
}

TEST_F(RealMedia, VideoShowsEveryFrameOnTimeAndReturnsAtItsEnd) {
    auto video = backend->open("clip.avi");
    EXPECT_EQ(video->type(), DeviceType::Video);
    EXPECT_EQ(video->lengthMs(), 2000);
    RecordingSurface surface(clock);
    const std::int64_t start = clock.nowMs();
    video->playToEnd(&surface, 0);
    EXPECT_EQ(clock.nowMs() - start, 2000);
    ASSERT_EQ(surface.frames.size(), 20u);
    EXPECT_EQ(surface.presents, 20);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(surface.times[i] - start, i * 100) << i;
        EXPECT_EQ(surface.frames[i].size(), QSize(32, 24));
        const QColor c = surface.frames[i].pixelColor(16, 12);
        EXPECT_NEAR(c.red(), i * 12, 8) << i;  // in order, each its own picture
    }

    // Again, from 1050 ms: the picture of 1000 ms at once, then the rest on time.
    RecordingSurface later(clock);
    const std::int64_t again = clock.nowMs();
    video->playToEnd(&later, 1050);
    EXPECT_EQ(clock.nowMs() - again, 950);
    ASSERT_EQ(later.frames.size(), 10u);
    EXPECT_EQ(later.times[0] - again, 0);
    EXPECT_EQ(later.times[1] - again, 50);
    EXPECT_NEAR(later.frames[0].pixelColor(16, 12).red(), 120, 8);

    // Without a surface the play still takes its time.
    const std::int64_t blind = clock.nowMs();
    video->playToEnd(nullptr, 0);
    EXPECT_EQ(clock.nowMs() - blind, 2000);
}

TEST_F(RealMedia, VideoSoundPlaysOnAMixerChannelWithTheWaveGains) {
    ASSERT_TRUE(backend->audible());
    backend->setWaveVolume(0xFFFF0000);  // left off, right full
    auto video = backend->open("clip.avi");
    RecordingSurface surface(clock);
    // On virtual time the pictures are done at once while the sound goes on in real time.
    video->playToEnd(&surface, 0);
    ASSERT_TRUE(tap.waitForSound(1000));
    tap.waitBlocks(3);
    EXPECT_EQ(tap.peakLeft, 0);
    EXPECT_GT(tap.peakRight, 10000);
    video.reset();  // closing stops the sound
    EXPECT_TRUE(tap.silentOver(4));
}

TEST_F(RealMedia, AnimationFramesAreDecodedOnce) {
    auto clip = backend->openAnimation("clip.avi");
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->frames.size(), 20u);
    EXPECT_EQ(clip->frames.front().size(), QSize(32, 24));
    EXPECT_DOUBLE_EQ(clip->framesPerSecond, 10.0);
    EXPECT_EQ(backend->openAnimation("clip.avi").get(), clip.get());
}

// With no audio device the game still runs: files are still checked, pictures still play, and
// it is said once on standard error. Needs a fresh process, as the audio output is opened once.
using SilentMedia = MediaFiles;
TEST_F(SilentMedia, WithoutAnAudioDeviceEverythingRunsSilently) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto oneNotice = ::testing::Truly([](const std::string& err) {
        const std::string notice = "no audio device could be opened";
        std::size_t count = 0;
        for (auto at = err.find(notice); at != std::string::npos; at = err.find(notice, at + 1))
            ++count;
        return count == 1;
    });
    EXPECT_EXIT(
        {
            qputenv("SDL_AUDIODRIVER", "vorn-no-such-driver");
            bool ok = true;
            auto silent = createRealBackend(clock);
            auto second = createRealBackend(clock);
            ok = ok && !silent->audible() && !second->audible();
            ok = ok && errorOf([&] { silent->open("missing.wav"); }) == mediaerror::fileNotFound();
            ok = ok && errorOf([&] { silent->open("text.mid"); }) == mediaerror::invalidFile();
            ok = ok && errorOf([&] { silent->open("text.avi"); }) == mediaerror::invalidFile();
            for (const char* name : {"held.mid", "tone.wav"}) {
                auto device = silent->open(QString::fromLatin1(name));
                device->start(0);
                device->halt();
            }
            silent->setMidiVolume(0x12345678);
            ok = ok && silent->midiVolume() == 0x12345678u;
            RecordingSurface surface(clock);
            const std::int64_t start = clock.nowMs();
            silent->open("clip.avi")->playToEnd(&surface, 0);
            ok = ok && surface.frames.size() == 20u && clock.nowMs() - start == 2000;
            std::_Exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), oneNotice);
}

}  // namespace media_real_test
