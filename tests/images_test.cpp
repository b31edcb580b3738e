// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The picture decoders on the files that common tools save, on damaged files and on pictures
// larger than the game takes; and the see-through colour of the screens' pictures. Pictures
// larger than their place are decoded at the size they are shown: what a screen keeps of them,
// and what it then draws.

#include "platform/images.h"
#include "core/pack.h"
#include "platform/errors.h"
#include "platform/picture.h"

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdint>

#include "support/pictures.h"
#include "support/printing.h"

#include <gtest/gtest.h>

using namespace vorn;
using vorn::test::BitmapKind;

namespace images_test {

const QColor kKey(255, 0, 255);  // the see-through colour, in the bottom-left corner
const QColor kMark(200, 30, 30);

// 12 x 9 pixels: the see-through colour around a red block, one blue pixel at the top left.
QImage sample() {
    QImage image(12, 9, QImage::Format_ARGB32);
    image.fill(kKey);
    for (int y = 2; y < 7; ++y)
        for (int x = 3; x < 9; ++x) image.setPixelColor(x, y, kMark);
    image.setPixelColor(0, 0, QColor(0, 0, 200));
    return image;
}

template <class F>
QString errorOf(F&& f) {
    try {
        f();
    } catch (const Error& e) {
        return e.message();
    }
    return QStringLiteral("<no error>");
}

const BitmapKind kKinds[] = {BitmapKind::Paletted8, BitmapKind::Rle8, BitmapKind::Rle4,
                             BitmapKind::Rgb32, BitmapKind::Argb32V5};

bool runLength(BitmapKind kind) {
    return kind == BitmapKind::Rle8 || kind == BitmapKind::Rle4;
}

TEST(Bitmaps, UnusedAlphaBytesLeaveThePixelsOpaqueButRealAlphaIsKept) {
    // Alpha all zero: a tool that leaves the fourth byte unused, not an invisible picture.
    QImage unused = sample();
    for (int y = 0; y < unused.height(); ++y)
        for (int x = 0; x < unused.width(); ++x)
            unused.setPixel(x, y, unused.pixel(x, y) & 0xFFFFFFu);
    const QImage opaque = decodeBitmap(test::bitmapBytes(BitmapKind::Argb32V5, unused));
    EXPECT_EQ(opaque.pixelColor(5, 4), kMark);
    EXPECT_EQ(opaque.pixelColor(0, 8), kKey);

    QImage real = sample();
    real.setPixelColor(0, 8, QColor(255, 0, 255, 0));
    const QImage kept = decodeBitmap(test::bitmapBytes(BitmapKind::Argb32V5, real));
    EXPECT_EQ(qAlpha(kept.pixel(0, 8)), 0);
    EXPECT_EQ(kept.pixelColor(5, 4), kMark);
}

TEST(Bitmaps, IncompletePixelDataIsRefused) {
    const QString incomplete =
        QStringLiteral("Bitmap image is not valid: its pixel data is incomplete");
    for (BitmapKind kind : kKinds) {
        SCOPED_TRACE(static_cast<int>(kind));
        const QByteArray whole = test::bitmapBytes(kind, sample());
        // Run-length data holds its rows' ends; cut into the middle of the rows.
        const qsizetype cut = runLength(kind) ? whole.size() - 12 : whole.size() - 1;
        EXPECT_EQ(errorOf([&] { decodeBitmap(whole.left(cut)); }), incomplete);
        EXPECT_EQ(errorOf([&] { decodeBitmap(whole.left(whole.size() * 3 / 4)); }), incomplete);
    }
    EXPECT_EQ(errorOf([&] { decodeBitmap(test::bitmapHeaderOnly(200, 100, 600 * 100 - 1)); }),
              incomplete);
    EXPECT_EQ(errorOf([&] { decodeBitmap(test::bitmapHeaderOnly(200, 100, 600 * 100)); }),
              "<no error>");
}

TEST(Bitmaps, RunLengthCodesThatSkipPixelsOrStoreThemOneByOne) {
    for (const bool four : {false, true}) {
        SCOPED_TRACE(four);
        const QByteArray whole =
            test::bitmapBytes(four ? BitmapKind::Rle4 : BitmapKind::Rle8, sample());
        const int dataStart = static_cast<uchar>(whole[10]) | static_cast<uchar>(whole[11]) << 8;
        // Colours 0, 1, 2: blue, see-through, red. The bottom row: twelve of colour 1.
        const QByteArray bottomRow = whole.left(dataStart + 4);
        ASSERT_EQ(bottomRow.right(4), QByteArray(four ? "\x0c\x11\0\0" : "\x0c\x01\0\0", 4));
        // Red, blue, red stored one by one (padded to 16 bits), see-through and red, a move of
        // two right and two up, one red pixel, the end of the picture.
        const QByteArray stored =
            four ? QByteArray("\0\3\x20\x20", 4) : QByteArray("\0\3\2\0\2\0", 6);
        const QByteArray rest = four ? QByteArray("\x02\x12\0\2\2\2\1\x22\0\1", 10)
                                     : QByteArray("\x01\x01\x01\x02\0\2\2\2\1\x02\0\1", 12);
        const QImage image = decodeBitmap(bottomRow + stored + rest);
        const QColor blue(0, 0, 200);
        const std::pair<QPoint, QColor> expected[] = {
            {{0, 7}, kMark}, {{1, 7}, blue},  {{2, 7}, kMark}, {{3, 7}, kKey}, {{4, 7}, kMark},
            {{5, 7}, blue},  {{7, 5}, kMark}, {{6, 5}, blue},  {{0, 0}, blue}, {{11, 8}, kKey}};
        for (const auto& [at, colour] : expected)
            EXPECT_EQ(image.pixelColor(at), colour) << at.x() << "," << at.y();
        EXPECT_EQ(errorOf([&] { decodeBitmap(bottomRow + stored.left(3)); }),
                  "Bitmap image is not valid: its pixel data is incomplete");
    }
}

TEST(PictureSize, LargerThanTheGameTakesIsRefusedFromTheHeader) {
    const QString huge =
        QStringLiteral("Picture is too large: 30000 x 30000 pixels, at most 8192 x 8192");
    EXPECT_EQ(errorOf([&] { decodeBitmap(test::bitmapHeaderOnly(30000, 30000, 16)); }), huge);
    EXPECT_EQ(errorOf([&] { decodeBitmap(test::bitmapHeaderOnly(30000, -30000, 16)); }), huge);
    QImage small(16, 8, QImage::Format_RGB32);
    small.fill(Qt::gray);
    const QByteArray jpeg = test::jpegBytes(small, false, false);
    EXPECT_EQ(errorOf([&] { decodeJpeg(test::withJpegSize(jpeg, 30000, 30000)); }), huge);
    EXPECT_EQ(errorOf([&] { decodeJpeg(test::withJpegSize(jpeg, 8193, 8)); }),
              "Picture is too large: 8193 x 8 pixels, at most 8192 x 8192");
    EXPECT_EQ(errorOf([&] { decodeBitmap(test::bitmapHeaderOnly(1, 8193, 4 * 8193)); }),
              "Picture is too large: 1 x 8193 pixels, at most 8192 x 8192");
    // A progressive JPEG holds its whole picture's coefficients while it decodes: refused from its
    // header when they pass their budget (the colour components sampled 2 x 2: 3 bytes a pixel).
    const QByteArray progressive = test::jpegBytes(small, true, false);
    EXPECT_EQ(errorOf([&] { decodeJpeg(test::withJpegSize(progressive, 8192, 8192)); }),
              "a progressive JPEG of 8192 x 8192 pixels needs 192 MB to decode, at most 32 MB: "
              "save it as a baseline JPEG");
    EXPECT_FALSE(errorOf([&] {
                     decodeJpeg(test::withJpegSize(progressive, 2048, 2048));
                 }).contains("progressive"));
    // The limit itself is a picture the game takes.
    EXPECT_EQ(decodeJpeg(test::withJpegSize(jpeg, kMaxPictureSide, 8)).width(), kMaxPictureSide);
    EXPECT_EQ(
        decodeBitmap(test::bitmapHeaderOnly(1, kMaxPictureSide, 4 * kMaxPictureSide)).height(),
        kMaxPictureSide);
}

TEST(Jpeg, ProgressiveAndGrayscaleDecode) {
    QImage image(48, 32, QImage::Format_RGB32);
    image.fill(QColor(40, 90, 200));
    for (int x = 0; x < 24; ++x)
        for (int y = 0; y < 32; ++y) image.setPixelColor(x, y, QColor(230, 230, 230));
    for (bool progressive : {false, true})
        for (bool grayscale : {false, true}) {
            SCOPED_TRACE(progressive * 2 + grayscale);
            const QImage decoded = decodeJpeg(test::jpegBytes(image, progressive, grayscale));
            ASSERT_EQ(decoded.size(), QSize(48, 32));
            const QColor left = decoded.pixelColor(8, 16), right = decoded.pixelColor(40, 16);
            EXPECT_NEAR(left.red(), 230, 6);
            if (grayscale) {
                EXPECT_EQ(right.red(), right.blue());
                EXPECT_NEAR(right.green(), qGray(image.pixel(40, 16)), 6);
            } else {
                EXPECT_NEAR(right.blue(), 200, 8);
                EXPECT_NEAR(right.red(), 40, 8);
            }
        }
}

// Every layout decodes to its colours, and a screen picture draws its bottom-left colour as
// see-through (here over green).
TEST(Bitmaps, TheLayoutsToolsSaveShowTheirColoursAndTheSeeThroughColour) {
    for (BitmapKind kind : kKinds) {
        SCOPED_TRACE(static_cast<int>(kind));
        Picture picture(nullptr, PicturePlacement{"joueur", QRect(0, 0, 12, 9)});
        picture.setTransparent(true);
        picture.setImage(decodeBitmap(test::bitmapBytes(kind, sample())));
        QImage canvas(12, 9, QImage::Format_RGB32);
        canvas.fill(Qt::green);
        QPainter painter(&canvas);
        picture.paint(&painter, nullptr, nullptr);
        painter.end();
        EXPECT_EQ(canvas.pixelColor(0, 8), QColor(Qt::green));
        EXPECT_EQ(canvas.pixelColor(11, 4), QColor(Qt::green));
        EXPECT_EQ(canvas.pixelColor(5, 4), kMark);
        EXPECT_EQ(canvas.pixelColor(0, 0), QColor(0, 0, 200));
    }
}

// --- Pictures decoded at the size they are shown ---

TEST(PictureViews, TheScaleChosenIsTheSmallestThatStillFillsThePlace) {
    struct Case {
        QSize full, area, jpeg, bitmap;
    };
    const Case cases[] = {
        // The 8000 x 8000 background: one eighth for the window, a quarter full screen
        // on a desktop of 1920 x 1080; a bitmap by whole factors.
        {{8000, 8000}, {800, 550}, {1000, 1000}, {800, 800}},
        {{8000, 8000}, {1571, 1080}, {2000, 2000}, {1600, 1600}},
        {{1000, 1000}, {640, 440}, {750, 750}, {1000, 1000}},
        {{1280, 880}, {640, 440}, {640, 440}, {640, 440}},
        {{1281, 881}, {640, 440}, {641, 441}, {641, 441}},
        // As large as its place, or smaller: the whole picture.
        {{640, 440}, {640, 440}, {640, 440}, {640, 440}},
        {{300, 2000}, {640, 440}, {300, 2000}, {300, 2000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 x %2 into %3 x %4")
                         .arg(c.full.width())
                         .arg(c.full.height())
                         .arg(c.area.width())
                         .arg(c.area.height())
                         .toStdString());
        EXPECT_EQ(jpegScaledSize(c.full, c.area), c.jpeg);
        EXPECT_EQ(bitmapScaledSize(c.full, c.area), c.bitmap);
    }
}

// Left half white, right half dark blue.
QImage halves(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(20, 30, 140));
    QPainter(&image).fillRect(0, 0, width / 2, height, Qt::white);
    return image;
}

TEST(PictureViews, AStretchedPictureIsDecodedNoLargerThanItsPlaceNeeds) {
    const QSize place(320, 220);
    const PictureView stretched{PictureView::Stretched, place};
    const QByteArray jpeg = test::jpegBytes(halves(1600, 1100), false, false);
    const DecodedPicture fromJpeg = decodePicture(jpeg, QStringLiteral("jpg"), stretched);
    EXPECT_EQ(fromJpeg.fullSize, QSize(1600, 1100));
    EXPECT_EQ(fromJpeg.image.size(), QSize(400, 275));  // two eighths
    EXPECT_NEAR(fromJpeg.image.pixelColor(100, 200).red(), 255, 4);
    EXPECT_NEAR(fromJpeg.image.pixelColor(300, 200).blue(), 140, 6);
    for (BitmapKind kind : kKinds) {
        SCOPED_TRACE(static_cast<int>(kind));
        const DecodedPicture fromBitmap = decodePicture(test::bitmapBytes(kind, halves(964, 661)),
                                                        QStringLiteral("bmp"), stretched);
        EXPECT_EQ(fromBitmap.fullSize, QSize(964, 661));
        EXPECT_EQ(fromBitmap.image.size(), QSize(322, 221));  // blocks of 3 x 3 averaged
        EXPECT_EQ(fromBitmap.image.pixelColor(10, 100), QColor(255, 255, 255));
        EXPECT_EQ(fromBitmap.image.pixelColor(300, 200), QColor(20, 30, 140));
        // The last column and row of blocks hold one pixel of the picture across.
        EXPECT_EQ(fromBitmap.image.pixelColor(321, 220), QColor(20, 30, 140));
        // The block across the middle: two thirds white, a third blue.
        EXPECT_EQ(fromBitmap.image.pixelColor(160, 0), QColor(177, 180, 217));
    }
}

class HugePictures : public ::testing::Test {
  protected:
    QTemporaryDir dir;

    QString write(const QString& name, const QByteArray& bytes, qint64 size = -1) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        // The rest a hole in the file: its pixels read as zeros and take no room.
        if (size > bytes.size()) {
            EXPECT_TRUE(file.resize(size));
        }
        return path;
    }
};

TEST_F(HugePictures, ABitmapKeepsOnlyWhatItsPlaceShows) {
    // 8192 x 8192 pixels of 24 bits, 192 MB of which the file holds a hole.
    const QString stored =
        write(QStringLiteral("stored.bmp"), test::bitmapHeaderOnly(8192, 8192, 0),
              54 + qint64{8192} * 8192 * 3);
    // As many pixels, run-length encoded in a few dozen bytes.
    const QString coded =
        write(QStringLiteral("coded.bmp"), test::bitmapEndingAtOnce(8192, 8192, qRgb(90, 90, 90)));
    const PictureView player{PictureView::Clipped, QSize(85, 115)};
    for (const QString& path : {stored, coded}) {
        SCOPED_TRACE(path.toStdString());
        const DecodedPicture kept = loadPicture(path, player);
        EXPECT_EQ(kept.fullSize, QSize(8192, 8192));
        EXPECT_EQ(kept.image.size(), QSize(85, 115));
        EXPECT_EQ(kept.corner, kept.image.pixel(84, 114));
    }
    // Stretched, a smaller one is reduced as its rows are read.
    const QString smaller = write(QStringLiteral("smaller.bmp"),
                                  test::bitmapEndingAtOnce(4096, 3000, qRgb(90, 90, 90)));
    const DecodedPicture reduced =
        loadPicture(smaller, PictureView{PictureView::Stretched, QSize(800, 550)});
    EXPECT_EQ(reduced.image.size(), QSize(820, 600));  // a fifth
    EXPECT_EQ(reduced.image.pixelColor(400, 300), QColor(90, 90, 90));
}

TEST_F(HugePictures, ThePartKeptKeepsThePicturesOwnSeeThroughColour) {
    // 40 x 30 pixels; the see-through colour in its bottom-left corner, outside the 12 x 9 part
    // that a player's picture shows, where it is also in the part's own bottom-left corner...
    const QColor blue(0, 0, 200);
    QImage image(40, 30, QImage::Format_ARGB32);
    image.fill(blue);
    image.setPixelColor(0, 29, kKey);
    image.setPixelColor(3, 3, kKey);
    image.setPixelColor(5, 4, kMark);
    // ...which shows here in its own colour.
    image.setPixelColor(0, 8, kMark);
    for (BitmapKind kind : kKinds) {
        SCOPED_TRACE(static_cast<int>(kind));
        const QString path = write(QStringLiteral("joueur.bmp"), test::bitmapBytes(kind, image));
        Picture picture(nullptr, PicturePlacement{"joueur", QRect(0, 0, 12, 9)});
        picture.setTransparent(true);
        picture.load(path);
        EXPECT_EQ(picture.source().size(), QSize(12, 9));
        QImage canvas(12, 9, QImage::Format_RGB32);
        canvas.fill(Qt::green);
        QPainter painter(&canvas);
        picture.paint(&painter, nullptr, nullptr);
        painter.end();
        EXPECT_EQ(canvas.pixelColor(3, 3), QColor(Qt::green));
        EXPECT_EQ(canvas.pixelColor(5, 4), kMark);
        EXPECT_EQ(canvas.pixelColor(0, 8), kMark);
        EXPECT_EQ(canvas.pixelColor(11, 0), blue);
    }
}

// The screen's picture element `placed` drawing `file` as the screens set it up.
QImage drawn(const pack::PictureFile& file, bool whole) {
    Picture picture(nullptr, PicturePlacement{"picture", QRect(QPoint(0, 0), file.size)});
    picture.setStretch(file.stretched);
    picture.setTransparent(file.seeThrough);
    if (whole)
        picture.setImage(loadPicture(file.file));
    else
        picture.load(file.file);
    QImage canvas(file.size, QImage::Format_RGB32);
    canvas.fill(Qt::green);
    QPainter painter(&canvas);
    picture.paint(&painter, nullptr, nullptr);
    return canvas;
}

TEST(ContentPictureViews, TheDefaultScreensDrawTheSamePixelsAsFromTheirWholePictures) {
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QStringLiteral(VORN_BUILD_DIR "/game")));
    for (const pack::PictureFile& file : pack::pictures()) {
        SCOPED_TRACE(file.file.toStdString());
        EXPECT_EQ(drawn(file, false), drawn(file, true));
    }
    QDir::setCurrent(previous);
}

TEST_F(HugePictures, AnOversizedBackgroundLooksAsItDoesWhole) {
    // A background three times the screen's size, drawn smooth: reduced first, then stretched,
    // it shows the same picture within a level or two of each colour.
    QImage large(1920, 1320, QImage::Format_RGB32);
    for (int y = 0; y < large.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(large.scanLine(y));
        for (int x = 0; x < large.width(); ++x)
            row[x] = qRgb(x / 8, y / 6, ((x / 120 + y / 120) % 2) * 200);
    }
    const pack::PictureFile background{
        write(QStringLiteral("niv1.jpg"), test::jpegBytes(large, false, false)), QSize(640, 440),
        false, true};
    const QImage reduced = drawn(background, false), whole = drawn(background, true);
    double difference = 0;
    for (int y = 0; y < 440; ++y)
        for (int x = 0; x < 640; ++x) {
            const QRgb a = reduced.pixel(x, y), b = whole.pixel(x, y);
            difference += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                          std::abs(qBlue(a) - qBlue(b));
        }
    EXPECT_LT(difference / (640 * 440 * 3), 2.0);
}

}  // namespace images_test
