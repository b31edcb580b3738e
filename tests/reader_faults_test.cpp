// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Faults the fuzz targets (fuzz/) found in the file readers, each pinned down on its own.

#include "platform/media/avi.h"
#include "platform/media/playable.h"
#include "platform/media/probe.h"

#include "content/writers/aviwriter.h"

#include <QColor>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

using namespace vorn;

namespace reader_faults_test {

QImage halves(int width, int height, QColor left, QColor right) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.setPixelColor(x, y, x < width / 2 ? left : right);
    return image;
}

bool near(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) < 48 && std::abs(a.green() - b.green()) < 48 &&
           std::abs(a.blue() - b.blue()) < 48;
}

// The colour converter writes whole blocks of pixels and pairs of rows: pictures whose size is
// no multiple of them once had it write past their memory, and the heap broke a few frames on.
TEST(AviFrames, PicturesOfAnySizeDecodeWithinTheirMemory) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QColor green(0, 200, 0), white(255, 255, 255);
    for (const QSize size :
         {QSize(1, 1), QSize(3, 2), QSize(8, 8), QSize(17, 9), QSize(33, 31), QSize(50, 7)}) {
        const QString path =
            dir.filePath(QStringLiteral("clip%1x%2.avi").arg(size.width()).arg(size.height()));
        writers::AviFormat format;
        format.width = size.width();
        format.height = size.height();
        format.sampleRate = 0;
        format.quality = 2;
        const std::vector<QImage> frames(6, halves(size.width(), size.height(), green, white));
        writers::writeAvi(path, format, frames, {});

        const auto clip = avi::decodeFrames(path);
        ASSERT_TRUE(clip) << path.toStdString();
        ASSERT_EQ(clip->frames.size(), frames.size()) << path.toStdString();
        // Away from the edges, where the subsampled colours blur: every row alike, so that a
        // picture read with the wrong row length would show.
        const int w = size.width(), h = size.height(), left = w / 4, right = w - 1 - w / 4;
        for (const QImage& frame : clip->frames) {
            ASSERT_EQ(frame.size(), size);
            for (const int y : {0, h / 2, h - 1}) {
                EXPECT_TRUE(near(frame.pixelColor(right, y), white))
                    << path.toStdString() << " row " << y;
                if (w >= 8) {
                    EXPECT_TRUE(near(frame.pixelColor(left, y), green))
                        << path.toStdString() << " row " << y;
                }
            }
            // A frame lives on as its own picture, whatever happens to the others.
            QImage copy = frame;
            copy.fill(Qt::black);
            EXPECT_TRUE(near(frame.pixelColor(right, h / 2), white));
        }
        EXPECT_TRUE(playable::video(path)) << path.toStdString();
    }
}

// The longest deltas at the slowest tempo and one tick a quarter: two million events last longer
// than a 64-bit count of ms holds, and such a file is refused rather than given a wrapped length.
TEST(MidiLength, ATuneTooLongToMeasureIsNoTune) {
    const auto tune = [](std::uint32_t events) {
        QByteArray track("\x00\xFF\x51\x03\xFF\xFF\xFF\x00\xC0\x00", 10);  // tempo, program
        const QByteArray event("\xFF\xFF\xFF\x7F\x00", 5);  // 2^28 - 1 ticks, running status
        track.reserve(track.size() + event.size() * events + 4);
        for (std::uint32_t i = 0; i < events; ++i) track += event;
        track += QByteArray("\x00\xFF\x2F\x00", 4);
        QByteArray file("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x00\x01MTrk", 18);
        for (int shift = 24; shift >= 0; shift -= 8)
            file += static_cast<char>((track.size() >> shift) & 0xFF);
        return file + track;
    };
    // One event: 2^28 - 1 quarters of 16.78 s.
    const auto one = probe::midiLengthMs(tune(1));
    ASSERT_TRUE(one);
    EXPECT_NEAR(static_cast<double>(*one), 268435455.0 * 16777.215, 1e3);
    EXPECT_FALSE(probe::midiLengthMs(tune(2100000)));
}

}  // namespace reader_faults_test
