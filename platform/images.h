// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Picture loading for the screens: JPEG through libjpeg, BMP through Qt after the game's own
// checks of the bitmap's header and pixel data. A picture that cannot be shown as its file says
// is refused, never shown in part or with made-up pixels.
//
// A picture is decoded at the size it is shown at, read from its file as it decodes: a stretched
// picture larger than its place on the screen is decoded at a reduced size (JPEG with libjpeg's
// own scaling, BMP averaged by blocks as its rows are read), and a picture drawn at its own size
// keeps only the part its element shows. What the player sees is the same as from the whole
// picture; the memory a picture takes is about what its element shows.

#include "platform/budgets.h"

#include <QByteArray>
#include <QIODevice>
#include <QImage>
#include <QSize>
#include <QString>

namespace vorn {

using budget::kMaxPictureSide;

// How an element shows a picture, which decides what of it is decoded.
struct PictureView {
    enum Fit {
        Whole,      // every pixel, at the picture's own size
        Stretched,  // drawn scaled into `area` (in device pixels, the largest it is ever shown)
        Clipped,    // drawn at its own size from the top-left corner; `area` is what can show
    };
    Fit fit = Whole;
    QSize area;
};

struct DecodedPicture {
    QImage image;     // the picture as the view needs it
    QSize fullSize;   // the picture's own size, from its file
    QRgb corner = 0;  // the bottom-left pixel as decoded (the see-through colour), opaque
};

// The size a stretched picture of `full` pixels is decoded at to be shown in `area`: JPEG with
// libjpeg's scaling by n/8 (n from 1 to 8), the smallest at least as large as the area on both
// sides; BMP reduced by a whole factor k (its blocks of k x k pixels averaged), likewise.
QSize jpegScaledSize(QSize full, QSize area);
QSize bitmapScaledSize(QSize full, QSize area);

// Loads "path" (relative to the working directory) by its extension, as `view` shows it. Raises
// "Cannot open file <path>" when the file cannot be opened, and "<path>: <decoder's message>"
// when its content cannot be shown or is over its budget.
DecodedPicture loadPicture(const QString& path, const PictureView& view);
QImage loadPicture(const QString& path);

// Decodes the bytes of a picture file by its extension ("jpg", "jpeg" or "bmp", any letter case);
// raises the decoder's message alone.
DecodedPicture decodePicture(const QByteArray& bytes, const QString& extension,
                             const PictureView& view);
QImage decodePicture(const QByteArray& bytes, const QString& extension);
// The same, read from `device` as it decodes (an open file, say).
DecodedPicture decodePicture(QIODevice& device, const QString& extension, const PictureView& view);

// Decodes JPEG bytes; raises libjpeg's own message ("Not a JPEG file: starts with 0x54 0x68",
// "Empty input file", ...), the picture-size message or the progressive-budget message. Warnings
// such as a premature end of file do not fail.
QImage decodeJpeg(const QByteArray& bytes);

// Decodes a Windows bitmap (uncompressed, bit-field or run-length encoded); raises
// "Bitmap image is not valid", with the reason when it is known, or the picture-size message.
QImage decodeBitmap(const QByteArray& bytes);

}  // namespace vorn
