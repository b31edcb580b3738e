// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/pictures.h"

#include <array>
#include <cstdlib>
#include <map>
#include <stdexcept>

#include <jpeglib.h>

namespace vorn::test {

namespace {

void put(QByteArray& b, std::uint32_t v, int bytes = 4) {
    for (int i = 0; i < bytes; ++i) b.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// File and information headers; a version 5 header carries 8-bit masks with alpha.
QByteArray headers(bool v5, int width, int height, int bits, int compression, int colours,
                   int dataBytes) {
    const int headerSize = v5 ? 124 : 40;
    const int dataStart = 14 + headerSize + 4 * colours;
    QByteArray b("BM");
    for (int v : {dataStart + dataBytes, 0, dataStart, headerSize, width, height})
        put(b, static_cast<std::uint32_t>(v));
    put(b, 1, 2);
    put(b, static_cast<std::uint32_t>(bits), 2);
    for (int v : {compression, dataBytes, 2835, 2835, colours, 0})
        put(b, static_cast<std::uint32_t>(v));
    if (v5) {
        for (std::uint32_t v : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u, 0x73524742u})
            put(b, v);
        b.append(QByteArray(36 + 12, 0));                    // end points, gamma
        for (std::uint32_t v : {4u, 0u, 0u, 0u}) put(b, v);  // intent, profile, reserved
    }
    return b;
}

}  // namespace

QByteArray bitmapBytes(BitmapKind kind, const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width(), h = image.height();
    const bool rle = kind == BitmapKind::Rle8 || kind == BitmapKind::Rle4;
    const int bits = kind == BitmapKind::Rle4 ? 4 : (rle || kind == BitmapKind::Paletted8) ? 8 : 32;
    QByteArray table;
    std::map<QRgb, int> index;
    auto at = [&](int x, int y) { return index.at(image.pixel(x, y) | 0xFF000000u); };
    if (bits <= 8)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (const QRgb c = image.pixel(x, y) | 0xFF000000u;
                    index.emplace(c, static_cast<int>(index.size())).second)
                    put(table, c & 0xFFFFFFu);
    if (bits <= 8 && index.size() > (1u << bits)) throw std::invalid_argument("too many colours");
    QByteArray pixels;
    for (int y = h - 1; y >= 0; --y) {
        if (rle) {  // runs of one colour, then "end of row"
            for (int x = 0, run = 1; x < w; x += run, run = 1) {
                while (x + run < w && run < 255 && at(x + run, y) == at(x, y)) ++run;
                pixels.append(static_cast<char>(run));
                pixels.append(static_cast<char>(bits == 4 ? at(x, y) * 0x11 : at(x, y)));
            }
            pixels.append(QByteArray(2, 0));
            continue;
        }
        QByteArray row((w * bits + 31) / 32 * 4, 0);
        for (int x = 0; x < w; ++x) {
            if (bits == 8) {
                row[x] = static_cast<char>(at(x, y));
            } else {
                const QRgb c = image.pixel(x, y);
                const int alpha = kind == BitmapKind::Argb32V5 ? qAlpha(c) : 0;
                for (int i = 0; i < 4; ++i)
                    row[4 * x + i] =
                        static_cast<char>(std::array{qBlue(c), qGreen(c), qRed(c), alpha}[i]);
            }
        }
        pixels.append(row);
    }
    if (rle) pixels.append(QByteArray("\0\1", 2));  // end of picture
    const int compression = kind == BitmapKind::Rle8       ? 1
                            : kind == BitmapKind::Rle4     ? 2
                            : kind == BitmapKind::Argb32V5 ? 3
                                                           : 0;
    return headers(kind == BitmapKind::Argb32V5, w, h, bits, compression,
                   static_cast<int>(index.size()), static_cast<int>(pixels.size())) +
           table + pixels;
}

QByteArray bitmapHeaderOnly(int width, int height, int dataBytes) {
    return headers(false, width, height, 24, 0, 0, dataBytes) + QByteArray(dataBytes, 0x40);
}

QByteArray bitmapEndingAtOnce(int width, int height, QRgb colour) {
    QByteArray table;
    put(table, colour & 0xFFFFFFu);
    put(table, 0u);
    const QByteArray endOfPicture("\0\1", 2);
    return headers(false, width, height, 8, 1, 2, static_cast<int>(endOfPicture.size())) + table +
           endOfPicture;
}

QByteArray jpegBytes(const QImage& source, bool progressive, bool grayscale) {
    const QImage image = source.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = static_cast<JDIMENSION>(image.width());
    cinfo.image_height = static_cast<JDIMENSION>(image.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    if (grayscale) jpeg_set_colorspace(&cinfo, JCS_GRAYSCALE);
    if (progressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        auto* row =
            const_cast<JSAMPROW>(image.constScanLine(static_cast<int>(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray bytes(reinterpret_cast<const char*>(out), static_cast<qsizetype>(size));
    std::free(out);
    return bytes;
}

QByteArray withJpegSize(QByteArray jpeg, int width, int height) {
    // The start-of-frame marker (baseline, extended or progressive): length, precision, height,
    // width.
    for (qsizetype i = 2; i + 9 < jpeg.size(); ++i)
        if (static_cast<uchar>(jpeg[i]) == 0xFF &&
            (static_cast<uchar>(jpeg[i + 1]) & 0xFC) == 0xC0 &&
            static_cast<uchar>(jpeg[i + 1]) != 0xC3) {
            for (int k = 0; k < 2; ++k) {
                jpeg[i + 5 + k] = static_cast<char>(height >> (8 - 8 * k));
                jpeg[i + 7 + k] = static_cast<char>(width >> (8 - 8 * k));
            }
            return jpeg;
        }
    throw std::invalid_argument("no frame header");
}

}  // namespace vorn::test
