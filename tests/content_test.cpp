// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The media checker on copies of the default content pack: each broken or missing file is
// reported under its own name, and an intact file is never blamed.

#include "content/writers/aviwriter.h"
#include "content/writers/jpegwriter.h"
#include "content/writers/midiwriter.h"
#include "content/writers/wavwriter.h"
#include "platform/budgets.h"
#include "platform/images.h"
#include "platform/media/avi.h"
#include "platform/media/playable.h"
#include "tools/checker/media_check.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include "support/announcing.h"
#include "support/pictures.h"

#include <gtest/gtest.h>

namespace content_test {

using vorn::check::Report;

const QString kGame = QStringLiteral(VORN_BUILD_DIR "/game");

const QStringList kStillFiles = {
    "image/titre.jpg",     "image/resultats.jpg",
    "image/niv1.jpg",      "image/niv2.jpg",
    "image/niv3.jpg",      "image/niv4.jpg",
    "image/aliasMb.bmp",   "image/aliasMb-a.bmp",
    "image/aliasMb-b.bmp", "image/aliasMb-c.bmp",
    "image/aliasMb-d.bmp", "image/aliasMb-e.bmp",
    "image/juste.bmp",     "image/faux.bmp",
    "image/alarme.bmp",    "son/titre.mid",
    "son/1.mid",           "son/2.mid",
    "son/3.mid",           "son/4.mid",
    "son/5.mid",           "son/6.mid",
    "son/juste.wav",       "son/faux.wav",
    "video/sablier2.avi",  "vorn.hlp",
};

const QStringList kInterludes = {"video/0.avi", "video/1.avi", "video/2.avi", "video/3.avi",
                                 "video/4.avi", "video/5.avi", "video/6.avi"};

QStringList faultsFor(const Report& report, const QString& file) {
    QStringList out;
    for (const QString& fault : report.faults())
        if (fault.startsWith(file + QStringLiteral(": "))) out << fault;
    return out;
}

// A copy of the generated pack without its large interludes (they are copied one by one where a
// test needs them), so that every check runs in a fraction of a second.
class MediaCheckTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(QFileInfo(kGame + "/image/titre.jpg").isFile())
            << "build the content target first";
        ASSERT_TRUE(dir_.isValid());
        QDir root(dir_.path());
        for (const char* sub : {"image", "son", "video", "save"}) ASSERT_TRUE(root.mkpath(sub));
        for (const QString& file : kStillFiles) copy(file);
    }

    QString path(const QString& file) const { return QDir(dir_.path()).filePath(file); }

    void copy(const QString& file) {
        ASSERT_TRUE(QFile::copy(kGame + "/" + file, path(file))) << qPrintable(file);
    }

    void truncate(const QString& file, double keep) {
        QFile f(path(file));
        ASSERT_TRUE(f.resize(static_cast<qint64>(f.size() * keep)));
    }

    void overwrite(const QString& file, const QByteArray& bytes) {
        QFile f(path(file));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }

    Report check() const {
        Report report;
        vorn::check::checkMedia(dir_.path(), report);
        return report;
    }

    // The faults of the copy, leaving out the interludes that were not copied.
    QStringList faultsBesideInterludes() const {
        QStringList out;
        const Report report = check();
        for (const QString& fault : report.faults()) {
            bool absentInterlude = false;
            for (const QString& video : kInterludes)
                if (fault == video + ": missing" && !QFileInfo(path(video)).exists())
                    absentInterlude = true;
            if (!absentInterlude) out << fault;
        }
        return out;
    }

    QTemporaryDir dir_;
};

TEST(MediaCheck, DefaultPackPasses) {
    Report report;
    vorn::check::checkMedia(kGame, report);
    EXPECT_TRUE(report.ok()) << qPrintable(report.faults().join('\n'));
}

TEST_F(MediaCheckTest, IntactCopyHasNoFaultButItsMissingInterludes) {
    EXPECT_EQ(faultsBesideInterludes(), QStringList());
    const Report report = check();
    for (const QString& video : kInterludes)
        EXPECT_EQ(faultsFor(report, video), QStringList{video + ": missing"});
}

TEST_F(MediaCheckTest, EachMissingFileIsNamed) {
    for (const QString& file : kStillFiles) ASSERT_TRUE(QFile::remove(path(file)));
    const Report report = check();
    for (const QString& file : kStillFiles)
        EXPECT_EQ(faultsFor(report, file), QStringList{file + ": missing"}) << qPrintable(file);
}

TEST_F(MediaCheckTest, TruncatedFilesAreNamed) {
    // Each of these still opens in the game (a cut JPEG shows grey, a cut WAVE plays what it
    // holds), so the checker has to look further than the loaders.
    const QStringList cut = {"image/niv2.jpg", "image/aliasMb-c.bmp", "son/3.mid", "son/faux.wav",
                             "video/sablier2.avi"};
    for (const QString& file : cut) truncate(file, 0.6);
    const QStringList faults = faultsBesideInterludes();
    for (const QString& file : cut) {
        bool named = false;
        for (const QString& fault : faults) named = named || fault.startsWith(file + ": ");
        EXPECT_TRUE(named) << qPrintable(file) << " in:\n" << qPrintable(faults.join('\n'));
    }
    for (const QString& fault : faults) {
        bool expected = false;
        for (const QString& file : cut) expected = expected || fault.startsWith(file + ": ");
        EXPECT_TRUE(expected) << "unexpected fault: " << qPrintable(fault);
    }
}

TEST_F(MediaCheckTest, TruncatedInterludeIsNamed) {
    copy("video/5.avi");
    EXPECT_EQ(faultsFor(check(), "video/5.avi"), QStringList());
    truncate("video/5.avi", 0.5);
    const QStringList faults = faultsFor(check(), "video/5.avi");
    ASSERT_FALSE(faults.isEmpty());
    EXPECT_TRUE(faults.join('\n').contains("truncated") || faults.join('\n').contains("cannot"))
        << qPrintable(faults.join('\n'));
}

TEST_F(MediaCheckTest, FilesOfAnotherKindAreNamed) {
    overwrite("image/titre.jpg", "This is not a picture.");
    overwrite("image/faux.bmp", "BM not a bitmap either");
    overwrite("son/titre.mid", "MThd");
    overwrite("son/juste.wav", QByteArray(64, '\0'));
    const Report report = check();
    for (const char* file :
         {"image/titre.jpg", "image/faux.bmp", "son/titre.mid", "son/juste.wav"}) {
        const QStringList faults = faultsFor(report, file);
        ASSERT_EQ(faults.size(), 1) << file;
        EXPECT_FALSE(faults[0].endsWith("missing")) << qPrintable(faults[0]);
    }
    EXPECT_TRUE(faultsFor(report, "image/titre.jpg")[0].contains("Not a JPEG file"));
}

TEST_F(MediaCheckTest, PicturesOfTheWrongSizeAreNamed) {
    QImage small(40, 40, QImage::Format_RGB888);
    small.fill(Qt::green);
    small.setPixelColor(0, 39, Qt::magenta);
    ASSERT_TRUE(small.save(path("image/juste.bmp"), "BMP"));
    QImage wide(800, 600, QImage::Format_RGB888);
    wide.fill(Qt::white);
    vorn::writers::writeJpeg(path("image/niv4.jpg"), wide);
    const Report report = check();
    ASSERT_EQ(faultsFor(report, "image/juste.bmp").size(), 1);
    EXPECT_TRUE(faultsFor(report, "image/juste.bmp")[0].contains("40 x 40"));
    ASSERT_EQ(faultsFor(report, "image/niv4.jpg").size(), 1);
    EXPECT_TRUE(faultsFor(report, "image/niv4.jpg")[0].contains("800 x 600"));
}

TEST_F(MediaCheckTest, SeeThroughPictureThatShowsNothingIsNamed) {
    QImage blank(85, 115, QImage::Format_RGB888);
    blank.fill(Qt::magenta);
    ASSERT_TRUE(blank.save(path("image/aliasMb-b.bmp"), "BMP"));
    // The alarm is drawn opaque: one colour all over is plain, not invisible.
    QImage plain(90, 120, QImage::Format_RGB888);
    plain.fill(Qt::red);
    ASSERT_TRUE(plain.save(path("image/alarme.bmp"), "BMP"));
    const Report report = check();
    EXPECT_EQ(faultsFor(report, "image/aliasMb-b.bmp").size(), 1);
    EXPECT_EQ(faultsFor(report, "image/alarme.bmp"), QStringList());
}

TEST_F(MediaCheckTest, PicturesInTheLayoutsToolsSaveArePassed) {
    using vorn::test::BitmapKind;
    // The default pack's own pictures, saved again as other programs save them.
    auto resave = [&](const QString& file, BitmapKind kind) {
        QImage image = vorn::loadPicture(path(file));
        if (kind == BitmapKind::Paletted8 || kind == BitmapKind::Rle8)
            image = image.convertToFormat(QImage::Format_Indexed8);
        overwrite(file, vorn::test::bitmapBytes(kind, image));
    };
    resave("image/juste.bmp", BitmapKind::Paletted8);
    resave("image/faux.bmp", BitmapKind::Rle8);
    resave("image/aliasMb.bmp", BitmapKind::Rgb32);
    resave("image/alarme.bmp", BitmapKind::Argb32V5);
    const QImage background = vorn::loadPicture(path("image/niv1.jpg"));
    overwrite("image/niv1.jpg", vorn::test::jpegBytes(background, true, false));
    overwrite("image/niv2.jpg", vorn::test::jpegBytes(background, false, true));
    EXPECT_EQ(faultsBesideInterludes(), QStringList());
}

TEST_F(MediaCheckTest, DamagedOrOversizedPicturesAreNamedInTheGamesWords) {
    truncate("image/faux.bmp", 0.9);
    QImage small(64, 44, QImage::Format_RGB32);
    small.fill(Qt::darkBlue);
    overwrite("image/niv1.jpg",
              vorn::test::withJpegSize(vorn::test::jpegBytes(small, false, false), 30000, 30000));
    const Report report = check();
    EXPECT_EQ(faultsFor(report, "image/faux.bmp"),
              QStringList{"image/faux.bmp: cannot be loaded: Bitmap image is not valid: its pixel "
                          "data is incomplete"});
    EXPECT_EQ(faultsFor(report, "image/niv1.jpg"),
              QStringList{"image/niv1.jpg: cannot be loaded: Picture is too large: 30000 x 30000 "
                          "pixels, at most 8192 x 8192"});
}

TEST_F(MediaCheckTest, SoundLengthsAreBounded) {
    const std::vector<std::int16_t> twoSeconds(44100, 1000);
    vorn::writers::writeWav(path("son/juste.wav"), twoSeconds, 1, 22050);
    vorn::writers::writeWav(path("son/faux.wav"), {}, 1, 22050);
    const Report report = check();
    ASSERT_EQ(faultsFor(report, "son/juste.wav").size(), 1);
    EXPECT_TRUE(faultsFor(report, "son/juste.wav")[0].contains("2000 ms"));
    EXPECT_EQ(faultsFor(report, "son/faux.wav").size(), 1);
}

// Each kind of file over its budget, in a few bytes: the checker names it with the game's own
// reason, the reason the game gives when it opens it at once, without decoding it.
TEST_F(MediaCheckTest, FilesOverTheirBudgetAreNamedInTheGamesWords) {
    overwrite("son/juste.wav", vorn::test::waveHeader({}, 529'200'000));
    vorn::writers::MidiTrack track;
    track.note(0, 480, 0, 60, 90);
    track.endOfTrack(62u * 60 * 2 * 480);
    overwrite("son/2.mid", vorn::writers::midiBytes({track}, 480));
    overwrite("video/sablier2.avi",
              vorn::test::announcingAvi(path("video/sablier2.avi"), 80, 110, 6000, 1000));
    const std::pair<QString, QString> over[] = {
        {"son/juste.wav", "a sound of 50 min is too long for the game, at most 60 s"},
        {"son/2.mid", "a tune of 62 min is too long for the game, at most 3 min"},
        {"video/sablier2.avi",
         "6000 frames of 80 x 110 are too many for an animation: 16 MB holds 476 at that size"},
    };
    const Report report = check();
    for (const auto& [file, reason] : over) {
        SCOPED_TRACE(file.toStdString());
        EXPECT_EQ(faultsFor(report, file), QStringList{file + ": " + reason});
        try {
            if (file.endsWith(".avi"))
                vorn::avi::AnimationCache().open(path(file));
            else
                vorn::inspectMediaFile(path(file));
            ADD_FAILURE() << "the game opens it";
        } catch (const vorn::OverBudget& e) {
            EXPECT_EQ(e.reason(), reason);
            EXPECT_EQ(e.message(), path(file) + ": " + reason);
        }
    }
    // A picture has no budget but its side: a player's picture of 8192 x 8192 (192 MB of black
    // pixels, a hole in the file) is the wrong size and all see-through, found so from what its
    // place shows.
    overwrite("image/aliasMb-c.bmp", vorn::test::bitmapHeaderOnly(8192, 8192, 0));
    QFile::resize(path("image/aliasMb-c.bmp"), 54 + qint64{8192} * 8192 * 3);
    EXPECT_EQ(faultsFor(check(), "image/aliasMb-c.bmp"),
              (QStringList{"image/aliasMb-c.bmp: is 8192 x 8192, the screen needs 85 x 115",
                           "image/aliasMb-c.bmp: is all in its see-through colour: nothing would "
                           "show"}));
}

// A tune of `seconds` at 120 beats a minute whose notes stop `silent` seconds before its end.
QByteArray tune(double seconds, double silent, int pitch = 60) {
    vorn::writers::MidiTrack track;
    const int tpq = 480;
    const auto end = static_cast<std::uint32_t>(seconds * 2 * tpq);
    const auto lastNoteEnd = static_cast<std::uint32_t>((seconds - silent) * 2 * tpq);
    for (std::uint32_t t = 0; t + tpq <= lastNoteEnd; t += tpq) track.note(t, tpq, 0, pitch, 90);
    track.endOfTrack(end);
    return vorn::writers::midiBytes({track}, tpq);
}

TEST_F(MediaCheckTest, TuneLengthsAndLoopsAreChecked) {
    overwrite("son/1.mid", tune(20, 0));
    overwrite("son/2.mid", tune(95, 0));
    overwrite("son/3.mid", tune(40, 5));
    overwrite("son/4.mid", tune(40, 0.25, 62));
    // The title tune plays once: a silent ending is no fault there.
    overwrite("son/titre.mid", tune(40, 5, 64));
    const Report report = check();
    ASSERT_EQ(faultsFor(report, "son/1.mid").size(), 1);
    EXPECT_TRUE(faultsFor(report, "son/1.mid")[0].contains("20.0 s"));
    EXPECT_EQ(faultsFor(report, "son/2.mid").size(), 1);
    ASSERT_EQ(faultsFor(report, "son/3.mid").size(), 1);
    EXPECT_TRUE(faultsFor(report, "son/3.mid")[0].contains("5000 ms"));
    EXPECT_EQ(faultsFor(report, "son/4.mid"), QStringList());
    EXPECT_EQ(faultsFor(report, "son/titre.mid"), QStringList());
}

TEST_F(MediaCheckTest, TunesWithoutNotesAreNamed) {
    vorn::writers::MidiTrack nothing;
    nothing.endOfTrack(0);
    overwrite("son/2.mid", vorn::writers::midiBytes({nothing}, 480));
    // Long enough, but only a controller change where the notes should be.
    vorn::writers::MidiTrack knobs;
    knobs.controlChange(0, 0, 7, 100);
    knobs.controlChange(40 * 960, 0, 7, 90);
    overwrite("son/titre.mid", vorn::writers::midiBytes({knobs}, 480));
    const Report report = check();
    for (const QString file : {"son/2.mid", "son/titre.mid"})
        EXPECT_EQ(faultsFor(report, file),
                  QStringList{file + ": has no notes: nothing would be heard"});
    EXPECT_EQ(faultsFor(report, "son/3.mid"), QStringList());
}

TEST_F(MediaCheckTest, RepeatedTuneIsNamed) {
    ASSERT_TRUE(QFile::remove(path("son/6.mid")));
    ASSERT_TRUE(QFile::copy(path("son/2.mid"), path("son/6.mid")));
    const Report report = check();
    EXPECT_EQ(faultsFor(report, "son/6.mid"),
              QStringList{"son/6.mid: is the same tune as son/2.mid"});
    EXPECT_EQ(faultsFor(report, "son/2.mid"), QStringList());
}

// Frames of a test hourglass: sand falls from the top half to the bottom half when `moving`.
std::vector<QImage> hourglass(int frames, bool moving) {
    std::vector<QImage> out;
    for (int i = 0; i < frames; ++i) {
        QImage frame(80, 110, QImage::Format_RGB32);
        frame.fill(QColor(192, 192, 192));
        const int fallen = moving ? i * 40 / frames : 0;
        for (int y = 0; y < 110; ++y)
            for (int x = 20; x < 60; ++x)
                if ((y >= 15 + fallen && y < 55) || y >= 100 - fallen)
                    frame.setPixel(x, y, qRgb(230, 170, 60));
        out.push_back(frame);
    }
    return out;
}

void writeHourglass(const QString& path, int frames, int num, int den, bool moving) {
    vorn::writers::AviFormat format;
    format.width = 80;
    format.height = 110;
    format.frameRateNum = num;
    format.frameRateDen = den;
    format.sampleRate = 0;
    vorn::writers::writeAvi(path, format, hourglass(frames, moving), {});
}

TEST_F(MediaCheckTest, HourglassFramesAndRateAreChecked) {
    writeHourglass(path("video/sablier2.avi"), 44, 15, 1, true);
    QStringList faults = faultsFor(check(), "video/sablier2.avi");
    ASSERT_EQ(faults.size(), 1);
    EXPECT_TRUE(faults[0].contains("2.87 s")) << qPrintable(faults[0]);

    writeHourglass(path("video/sablier2.avi"), 30, 860, 197, true);
    faults = faultsFor(check(), "video/sablier2.avi");
    ASSERT_EQ(faults.size(), 1);
    EXPECT_TRUE(faults[0].contains("30 frames")) << qPrintable(faults[0]);

    writeHourglass(path("video/sablier2.avi"), 44, 860, 197, false);
    faults = faultsFor(check(), "video/sablier2.avi");
    ASSERT_EQ(faults.size(), 1);
    EXPECT_TRUE(faults[0].contains("look the same")) << qPrintable(faults[0]);
}

TEST_F(MediaCheckTest, HelpAndSaveFolderAreChecked) {
    overwrite("vorn.hlp", " \n");
    ASSERT_TRUE(QDir(path("save")).removeRecursively());
    Report report = check();
    EXPECT_EQ(faultsFor(report, "vorn.hlp"), QStringList{"vorn.hlp: is empty"});
    ASSERT_EQ(faultsFor(report, "save").size(), 1);
    EXPECT_TRUE(faultsFor(report, "save")[0].contains("missing"));

    overwrite("save", "a file where the folder should be");
    report = check();
    EXPECT_EQ(faultsFor(report, "save"), QStringList{"save: is not a folder"});
}

}  // namespace content_test
