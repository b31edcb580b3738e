// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The media files' budgets, on files that only announce their size: a wave header promising an
// hour of sound, a tune whose one note ends an hour later, a file made long by a hole, an AVI whose
// headers announce thousands of frames. Each is refused from its header, before it is decoded,
// with a reason naming what is too large and the limit; one within its limits still opens.

#include "platform/budgets.h"
#include "platform/errors.h"
#include "platform/media/avi.h"
#include "platform/media/playable.h"
#include "platform/media/probe.h"

#include "content/writers/aviwriter.h"
#include "content/writers/midiwriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>

#include "support/announcing.h"
#include "support/printing.h"

#include <gtest/gtest.h>

using namespace vorn;

namespace budgets_test {

using test::WaveFormat;
using test::waveHeader;

QByteArray le(std::uint32_t v, int bytes) {
    QByteArray b(bytes, '\0');
    for (int i = 0; i < bytes; ++i) b[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    return b;
}

TEST(SoundBudget, WhatTheHeaderAnnouncesDecidesBeforeAnythingIsDecoded) {
    const WaveFormat cd{1, 2, 44100, 16, 4};
    const WaveFormat studio{1, 2, 96000, 24, 6};
    const WaveFormat surround{3, 8, 96000, 32, 32};
    const WaveFormat ima{0x11, 1, 22050, 4, 256, 505};
    const WaveFormat phone{1, 1, 8000, 8, 1};
    struct Case {
        const char* what;
        WaveFormat format;
        std::uint32_t dataBytes;
        std::int64_t lengthMs;
        std::int64_t decodedBytes;
        const char* reason;  // "" within the budget
    };
    const Case cases[] = {
        {"50 minutes of CD sound", cd, 529'200'000, 3'000'000, 529'200'000,
         "a sound of 50 min is too long for the game, at most 60 s"},
        {"exactly the longest", cd, 60 * 44100 * 4, 60'000, 60 * 44100 * 4, ""},
        {"a frame more", cd, 60 * 44100 * 4 + 4 * 45, 60'001, 60 * 44100 * 4 + 4 * 45,
         "a sound of 60.1 s is too long for the game, at most 60 s"},
        {"24-bit samples take 32 once decoded", studio, 60 * 96000 * 6, 60'000,
         60ll * 96000 * 2 * 4, "60 s of 2 channels at 96000 Hz take 44 MB decoded, at most 16 MB"},
        {"the same, 20 s of it", studio, 20 * 96000 * 6, 20'000, 20ll * 96000 * 2 * 4, ""},
        {"eight channels of float", surround, 30 * 96000 * 32, 30'000, 30ll * 96000 * 32,
         "30 s of 8 channels at 96000 Hz take 88 MB decoded, at most 16 MB"},
        {"ADPCM blocks decode to 505 frames each", ima, 2664 * 256, 2664ll * 505 * 1000 / 22050,
         2664ll * 505 * 2, "a sound of 61.1 s is too long for the game, at most 60 s"},
        {"8-bit samples stay 8 bits", phone, 60 * 8000, 60'000, 60 * 8000, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto info = probe::wave(waveHeader(c.format, c.dataBytes));
        ASSERT_TRUE(info);
        EXPECT_EQ(info->declaredBytes, c.dataBytes);
        EXPECT_EQ(info->dataBytes, 0);
        const playable::WaveCost cost = playable::waveCost(*info);
        EXPECT_EQ(cost.lengthMs, c.lengthMs);
        EXPECT_EQ(cost.decodedBytes, c.decodedBytes);
        EXPECT_EQ(playable::waveOverBudget(*info).value_or(QString()), QString::fromUtf8(c.reason));
    }
}

class Budgets : public ::testing::Test {
  protected:
    QTemporaryDir dir;

    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    // What opening the file in the game raises: the message, and whether it was a budget's.
    static std::pair<QString, bool> openError(const QString& path) {
        try {
            inspectMediaFile(path);
        } catch (const OverBudget& e) {
            return {e.message(), true};
        } catch (const Error& e) {
            return {e.message(), false};
        }
        return {QStringLiteral("<opened>"), false};
    }
};

TEST_F(Budgets, AnHourOfAnnouncedSoundIsRefusedNamingTheFileWhereACutOneIsOnlyBroken) {
    const QString hour = write(QStringLiteral("hour.wav"), waveHeader({}, 635'040'000));
    EXPECT_EQ(openError(hour),
              std::make_pair(hour + ": a sound of 60 min is too long for the game, "
                                    "at most 60 s",
                             true));
    // Within the budget, the same few bytes are a file cut short: the loader's own refusal.
    const QString cut = write(QStringLiteral("cut.wav"), waveHeader({}, 44100 * 4));
    EXPECT_FALSE(openError(cut).second);
    EXPECT_TRUE(openError(cut).first.startsWith("The specified file cannot be played"));
    // The sound first and the format after it, the sound a hole in the file: its 50 minutes are
    // skipped to find the format, not read.
    const QString later = dir.filePath(QStringLiteral("later.wav"));
    {
        QFile file(later);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const std::uint32_t data = 529'200'000;
        file.write("RIFF" + le(4 + 8 + data + 24, 4) + "WAVE" + "data" + le(data, 4));
        ASSERT_TRUE(file.seek(file.pos() + data));
        file.write(test::waveFormatChunk({}));
    }
    EXPECT_EQ(openError(later), std::make_pair(later + ": a sound of 50 min is too long for the "
                                                       "game, at most 60 s",
                                               true));
    // And one that holds what it announces plays.
    const QString whole =
        write(QStringLiteral("whole.wav"), waveHeader({}, 44100 * 4) + QByteArray(44100 * 4, '\0'));
    EXPECT_EQ(inspectMediaFile(whole).lengthMs, 1000);
}

TEST_F(Budgets, ATuneIsRefusedForItsLengthOrForTheSizeOfItsFile) {
    // One short note, and the track's end an hour and two minutes later.
    writers::MidiTrack track;
    track.note(0, 480, 0, 60, 90);
    track.endOfTrack(62u * 60 * 2 * 480);  // 120 beats a minute
    const QString longTune = write(QStringLiteral("long.mid"), writers::midiBytes({track}, 480));
    EXPECT_EQ(openError(longTune),
              std::make_pair(
                  longTune + ": a tune of 62 min is too long for the game, at most 3 min", true));

    writers::MidiTrack shortTrack;
    shortTrack.note(0, 480, 0, 60, 90);
    shortTrack.endOfTrack(960);
    const QByteArray tune = writers::midiBytes({shortTrack}, 480);
    const QString padded = write(QStringLiteral("padded.mid"), tune);
    EXPECT_EQ(inspectMediaFile(padded).lengthMs, 1000);
    // Made 5 MB long by a hole: nothing of it is read.
    ASSERT_TRUE(QFile::resize(padded, budget::kMaxTuneFileBytes + budget::kMiB));
    EXPECT_EQ(
        openError(padded),
        std::make_pair(padded + ": a file of 5 MB is too large for a tune, at most 4 MB", true));
}

TEST_F(Budgets, AnAnimationIsRefusedFromTheFramesItsHeaderAnnounces) {
    const QString path = dir.filePath(QStringLiteral("sablier2.avi"));
    struct Case {
        std::uint32_t frames, rate;
        const char* reason;  // "" within the budget: then its three real frames decode
    };
    // An 80 x 110 frame takes 35,200 bytes: 16 MB holds 476 of them.
    const Case cases[] = {
        {476, 1000, ""},
        {477, 1000,
         "477 frames of 80 x 110 are too many for an animation: 16 MB holds 476 at "
         "that size"},
        // Fewer frames, but more time than any video may last.
        {450, 1, "a video of 7 min 30 s is too long for the game, at most 3 min"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frames);
        write(QStringLiteral("sablier2.avi"), test::announcingAvi(path, 80, 110, c.frames, c.rate));
        avi::AnimationCache cache;
        if (*c.reason == '\0') {
            EXPECT_EQ(cache.open(path)->frames.size(), 3u);
            continue;
        }
        try {
            cache.open(path);
            ADD_FAILURE() << "opened";
        } catch (const OverBudget& e) {
            EXPECT_EQ(e.message(), path + ": " + c.reason);
            EXPECT_EQ(e.reason(), c.reason);
        }
    }
}

TEST_F(Budgets, AVideoIsRefusedForItsPicturesOrItsLengthNotDecoded) {
    // Pictures a pixel wider than a video may have: real ones, one row high.
    writers::AviFormat wide;
    wide.width = budget::kMaxVideoSide + 16;
    wide.height = 16;
    wide.sampleRate = 0;
    const QString widePath = dir.filePath(QStringLiteral("wide.avi"));
    writers::writeAvi(widePath, wide, {QImage(wide.width, 16, QImage::Format_RGB32)}, {});
    EXPECT_EQ(openError(widePath),
              std::make_pair(widePath + ": pictures of 1296 x 16 are too large for a video, at "
                                        "most 1280 x 1280",
                             true));
    const QString longPath = dir.filePath(QStringLiteral("long.avi"));
    write(QStringLiteral("long.avi"), test::announcingAvi(longPath, 32, 32, 50 * 60 * 15, 15));
    EXPECT_EQ(openError(longPath),
              std::make_pair(
                  longPath + ": a video of 50 min is too long for the game, at most 3 min", true));
}

}  // namespace budgets_test
