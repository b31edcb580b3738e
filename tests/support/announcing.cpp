// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/announcing.h"

#include "content/writers/aviwriter.h"

#include <QFile>
#include <QImage>

#include <algorithm>
#include <vector>

namespace vorn::test {

namespace {

void putLe(QByteArray& b, qsizetype at, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

QByteArray le(std::uint32_t v, int bytes) {
    QByteArray b(bytes, '\0');
    putLe(b, 0, v, bytes);
    return b;
}

}  // namespace

QByteArray waveFormatChunk(const WaveFormat& f) {
    const auto u = [](int v) { return static_cast<std::uint32_t>(v); };
    QByteArray fmt = le(u(f.tag), 2) + le(u(f.channels), 2) + le(u(f.rate), 4) +
                     le(u(f.rate * f.blockAlign / std::max(1, f.framesPerBlock)), 4) +
                     le(u(f.blockAlign), 2) + le(u(f.bits), 2);
    if (f.framesPerBlock) fmt += le(2, 2) + le(u(f.framesPerBlock), 2);
    return "fmt " + le(u(static_cast<int>(fmt.size())), 4) + fmt;
}

QByteArray waveHeader(const WaveFormat& format, std::uint32_t dataBytes) {
    // An empty chunk of its own between them, as some tools write ("LIST" of nothing).
    const QByteArray all =
        "WAVE" + waveFormatChunk(format) + "LIST" + le(0, 4) + "data" + le(dataBytes, 4);
    return "RIFF" + le(static_cast<std::uint32_t>(all.size()) + dataBytes, 4) + all;
}

QByteArray announcingAvi(const QString& path, int width, int height, std::uint32_t frames,
                         std::uint32_t rate) {
    writers::AviFormat format;
    format.width = width;
    format.height = height;
    format.sampleRate = 0;
    QImage frame(width, height, QImage::Format_RGB32);
    frame.fill(Qt::darkYellow);
    writers::writeAvi(path, format, std::vector<QImage>(3, frame), {});
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QByteArray b = file.readAll();
    const qsizetype avih = b.indexOf("avih"), strh = b.indexOf("strh");
    if (avih < 0 || strh < 0) return {};
    putLe(b, avih + 8, 1'000'000 / rate, 4);  // microseconds a frame
    putLe(b, avih + 8 + 16, frames, 4);       // frames in the file
    putLe(b, strh + 8 + 20, 1, 4);            // the stream's scale...
    putLe(b, strh + 8 + 24, rate, 4);         // ...and rate: `rate` frames a second
    putLe(b, strh + 8 + 32, frames, 4);       // the stream's length in frames
    return b;
}

}  // namespace vorn::test
