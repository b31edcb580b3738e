// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Picture files written byte by byte in the layouts that common tools save, so that the tests can
// feed the loaders exactly what a content author's program produces, and damage it.

#include <QByteArray>
#include <QImage>

namespace vorn::test {

enum class BitmapKind {
    Paletted8,  // 8 bits a pixel and a colour table
    Rle8,       // the same, run-length encoded
    Rle4,       // 4 bits a pixel, run-length encoded
    Rgb32,      // 32 bits a pixel, the fourth byte unused (written as 0)
    Argb32V5,   // 32 bits a pixel, bit fields with an alpha mask, version 5 header
};

// The bitmap of `image`, bottom row first. Paletted kinds take at most 16 (4 bits) or 256 colours.
QByteArray bitmapBytes(BitmapKind kind, const QImage& image);

// A header announcing `width` x `height` pixels of 24 bits, then `dataBytes` bytes of pixels.
QByteArray bitmapHeaderOnly(int width, int height, int dataBytes);

// An 8-bit run-length bitmap of `width` x `height` whose codes end the picture at once: every
// pixel takes colour 0 of its table (`colour`), in a few dozen bytes whatever its size.
QByteArray bitmapEndingAtOnce(int width, int height, QRgb colour);

QByteArray jpegBytes(const QImage& image, bool progressive, bool grayscale);

// The same JPEG with the picture size of its frame header changed.
QByteArray withJpegSize(QByteArray jpeg, int width, int height);

}  // namespace vorn::test
