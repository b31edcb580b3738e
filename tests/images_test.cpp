// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The picture decoders on the files that common tools save, on damaged files and on pictures
// larger than the game takes; and the see-through colour of the screens' pictures.

#include "platform/images.h"
#include "platform/errors.h"
#include "platform/picture.h"

#include <QPainter>

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

}  // namespace
