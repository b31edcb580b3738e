// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The media player on the simulated backend: opening, notices, looping by notice, blocking plays,
// errors and volumes.

#include "platform/animation.h"
#include "platform/errors.h"
#include "platform/media/mediaplayer.h"
#include "platform/media/mediaservice.h"
#include "platform/media/playable.h"
#include "platform/media/simulatedbackend.h"
#include "platform/son.h"
#include "platform/virtualclock.h"

#include "content/writers/aviwriter.h"
#include "content/writers/midiwriter.h"
#include "content/writers/wavwriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "support/printing.h"

#include <gtest/gtest.h>

using namespace vorn;

namespace media_test {

class Media : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString previous = QDir::currentPath();
    RecordingErrorPresenter errors;
    EventGuard guard{errors};
    VirtualClock clock{guard};
    SimulatedBackend backend{clock};
    MediaService media{clock, backend};

    void SetUp() override {
        QDir::setCurrent(dir.path());
        media.setRecording(true);
        QDir().mkpath(QStringLiteral("son"));
        QDir().mkpath(QStringLiteral("video"));
        writers::MidiTrack track;
        track.tempo(0, 250000);  // 240 beats a minute: 480 ticks are 250 ms
        track.note(0, 480 * 8, 0, 60, 100);
        track.tempo(480 * 4, 500000);  // half speed for the second half: 1000 + 2000 ms
        writers::writeMidi(QStringLiteral("son/tune.mid"), {track}, 480);
        writers::writeWav(QStringLiteral("son/beep.wav"), std::vector<std::int16_t>(4410, 1000), 1,
                          22050);
        writers::AviFormat f;
        f.width = 16;
        f.height = 16;
        f.frameRateNum = 10;
        f.sampleRate = 0;
        writers::writeAvi(QStringLiteral("video/clip.avi"), f,
                          std::vector<QImage>(25, QImage(16, 16, QImage::Format_RGB32)), {});
    }
    void TearDown() override { QDir::setCurrent(previous); }

    QString errorOf(const std::function<void()>& f) {
        try {
            f();
        } catch (const Error& e) {
            return e.message();
        }
        return QStringLiteral("<no error>");
    }
};

TEST_F(Media, MidiLengthFollowsTheTempoMap) {
    EXPECT_EQ(inspectMediaFile("son/tune.mid").lengthMs, 3000);
    EXPECT_EQ(inspectMediaFile("son/beep.wav").lengthMs, 200);
    EXPECT_EQ(inspectMediaFile("video/clip.avi").lengthMs, 2500);
}

TEST_F(Media, PlayNotifiesAtTheEndAndTheNoticeCanLoopIt) {
    MediaPlayer music(media, "music");
    int notices = 0;
    music.setOnNotify([&] {
        ++notices;
        if (music.mode() == MediaPlayer::Mode::Stopped) music.play();  // from the start again
    });
    music.setFileName("son/tune.mid");
    music.open();
    music.play();
    EXPECT_EQ(music.mode(), MediaPlayer::Mode::Playing);
    clock.advance(2999);
    EXPECT_EQ(notices, 0);
    clock.advance(1);
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(music.mode(), MediaPlayer::Mode::Playing);
    clock.advance(3000 * 3);
    EXPECT_EQ(notices, 4);
    EXPECT_EQ(media.takeLog(),
              QStringList({"open son/tune.mid", "play son/tune.mid", "play son/tune.mid",
                           "play son/tune.mid", "play son/tune.mid", "play son/tune.mid"}));
}

TEST_F(Media, AFileWithNothingToPlayEndsOnceInsteadOfLoopingAtOneInstant) {
    writers::MidiTrack silence;
    silence.endOfTrack(0);
    writers::writeMidi(QStringLiteral("son/empty.mid"), {silence}, 480);
    ASSERT_EQ(inspectMediaFile("son/empty.mid").lengthMs, 0);
    MediaPlayer music(media, "music");
    int notices = 0;
    music.setOnNotify([&] {
        ++notices;
        if (music.mode() == MediaPlayer::Mode::Stopped) music.play();
    });
    music.setFileName("son/empty.mid");
    music.open();
    music.play();
    clock.advance(10000);
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(music.mode(), MediaPlayer::Mode::Stopped);
    EXPECT_EQ(clock.pendingCount(), 0u);  // nothing left scheduling itself
    // Opened again, or played blocking, it still does not come back.
    music.open();
    music.setWait(true);
    music.play();
    clock.advance(1000);
    EXPECT_EQ(notices, 1);
    // A tune with a length plays and loops as usual; after it, an empty file reports its end again.
    music.setFileName("son/tune.mid");
    music.open();
    music.play();
    clock.advance(3000);
    EXPECT_EQ(notices, 2);
    music.setFileName("son/empty.mid");
    music.open();
    music.play();
    clock.advance(1000);
    EXPECT_EQ(notices, 3);
    EXPECT_EQ(clock.pendingCount(), 0u);
}

TEST_F(Media, WithoutAHandlerItPlaysOnceAndStops) {
    MediaPlayer title(media, "music");
    title.setFileName("son/tune.mid");
    title.open();
    title.play();
    clock.advance(10000);
    EXPECT_EQ(title.mode(), MediaPlayer::Mode::Stopped);
    EXPECT_EQ(title.position(), 3000);
}

TEST_F(Media, OpeningAgainClosesWhatWasOpenAndCancelsItsNotice) {
    MediaPlayer son(media, "son");
    int notices = 0;
    son.setOnNotify([&] { ++notices; });
    son.setFileName("son/beep.wav");
    son.open();
    son.play();
    son.setFileName("son/tune.mid");
    son.open();  // cuts the beep
    clock.advance(1000);
    EXPECT_EQ(notices, 0);
    EXPECT_EQ(son.mode(), MediaPlayer::Mode::Stopped);
    EXPECT_EQ(media.takeLog(), QStringList({"open son/beep.wav", "play son/beep.wav",
                                            "close son/beep.wav", "open son/tune.mid"}));
}

TEST_F(Media, WaitModeBlocksForTheLengthOfTheFile) {
    MediaPlayer player(media, "player");
    player.setFileName("video/clip.avi");
    player.open();
    player.setWait(true);
    player.play();
    EXPECT_EQ(clock.nowMs(), 2500);
    EXPECT_EQ(player.mode(), MediaPlayer::Mode::Stopped);
    player.play();  // the wait was one-shot: this play returns at once
    EXPECT_EQ(clock.nowMs(), 2500);
    EXPECT_EQ(player.mode(), MediaPlayer::Mode::Playing);
}

TEST_F(Media, ErrorsUseTheServicesTexts) {
    MediaPlayer player(media, "player");
    EXPECT_EQ(errorOf([&] { player.play(); }), "No MCI device open");
    player.setFileName("son/absent.wav");
    EXPECT_EQ(errorOf([&] { player.open(); }),
              "The specified file was not found. Make sure the path and filename are correct.");
    QFile fake("son/fake.mid");
    fake.open(QIODevice::WriteOnly);
    fake.write("RIFF this is no MIDI file");
    fake.close();
    player.setFileName("son/fake.mid");
    EXPECT_TRUE(errorOf([&] { player.open(); }).startsWith("The specified file cannot be played"));
    player.setFileName("son/tune.xyz");
    EXPECT_EQ(errorOf([&] { player.open(); }),
              "Cannot determine the device type from the given filename extension.");
    EXPECT_EQ(player.mode(), MediaPlayer::Mode::NotOpen);
}

// A tune or a sound cut short is refused when it is opened, rather than played in part.
TEST_F(Media, TruncatedFilesAreRejected) {
    auto cut = [](const QString& from, const QString& to, qsizetype lose) {
        QFile whole(from);
        whole.open(QIODevice::ReadOnly);
        const QByteArray bytes = whole.readAll();
        QFile part(to);
        part.open(QIODevice::WriteOnly);
        part.write(bytes.left(bytes.size() - lose));
    };
    cut("son/tune.mid", "son/cut.mid", 6);
    cut("son/beep.wav", "son/cut.wav", 100);
    for (const char* file : {"son/cut.mid", "son/cut.wav"})
        EXPECT_TRUE(errorOf([&] {
                        inspectMediaFile(file);
                    }).startsWith("The specified file cannot be played"))
            << file;
    EXPECT_EQ(inspectMediaFile("son/beep.wav").lengthMs, 200);
}

TEST_F(Media, VolumesAreSavedSetAndRestored) {
    Son son(backend);
    EXPECT_EQ(backend.midiVolume(), 0xFFFFFFFFu);
    backend.setWaveVolume(0x12345678u);
    son.sauveVolumes();
    son.regleVolumes();
    EXPECT_EQ(backend.midiVolume(), 0x4FFF4FFFu);
    EXPECT_EQ(backend.waveVolume(), 0xBFFFBFFFu);
    son.restaureVolumes();
    EXPECT_EQ(backend.midiVolume(), 0xFFFFFFFFu);
    EXPECT_EQ(backend.waveVolume(), 0x12345678u);
    backend.setMidiVolume(7);
    son.restaureVolumes();  // nothing kept any more: nothing changes
    EXPECT_EQ(backend.midiVolume(), 7u);
}

TEST_F(Media, AnimationPlaysARangeAtTheFilesRateAndStopsOnItsStartFrame) {
    Animation hourglass(nullptr, PicturePlacement{"sablier", QRect(0, 0, 16, 16)}, media);
    hourglass.setFileName("video/clip.avi");
    EXPECT_EQ(hourglass.frameCount(), 25);
    EXPECT_EQ(hourglass.stopFrame(), 25);
    hourglass.play(2, 11, 1);  // ten frames at ten a second
    EXPECT_EQ(hourglass.currentFrame(), 2);
    clock.advance(450);
    EXPECT_EQ(hourglass.currentFrame(), 6);
    clock.advance(2000);
    EXPECT_EQ(hourglass.currentFrame(), 11);  // the last frame of the range stays
    EXPECT_FALSE(hourglass.active());
    hourglass.stop();
    EXPECT_EQ(hourglass.currentFrame(), 1);
    EXPECT_EQ(errorOf([&] { hourglass.setFileName("video/absent.avi"); }), "Cannot open AVI");
}

}  // namespace media_test
