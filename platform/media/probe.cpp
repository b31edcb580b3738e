// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/media/probe.h"

#include "platform/media/midifile.h"

#include <QBuffer>

#include <algorithm>
#include <map>
#include <vector>

namespace vorn::probe {

namespace {

class Reader {
  public:
    Reader(const QByteArray& bytes, qsizetype from, qsizetype to)
        : b_(bytes), pos_(from), end_(to) {}
    bool atEnd() const { return pos_ >= end_; }
    bool has(qsizetype n) const { return pos_ + n <= end_; }
    std::uint8_t u8() { return static_cast<std::uint8_t>(b_[pos_++]); }
    std::uint32_t be(int n) {
        std::uint32_t v = 0;
        for (int i = 0; i < n; ++i) v = (v << 8) | u8();
        return v;
    }
    std::uint32_t le(int n) {
        std::uint32_t v = 0;
        for (int i = 0; i < n; ++i) v |= static_cast<std::uint32_t>(u8()) << (8 * i);
        return v;
    }
    void skip(qsizetype n) { pos_ += n; }
    qsizetype pos() const { return pos_; }

  private:
    const QByteArray& b_;
    qsizetype pos_, end_;
};

}  // namespace

std::optional<std::int64_t> midiLengthMs(const QByteArray& bytes) {
    const auto timing = midi::readTiming(bytes);
    if (!timing) return std::nullopt;
    // Deltas of years at the slowest tempo, over a few million events, add up to a length no
    // 64-bit count of ms can hold: not a tune.
    const double ms = midi::msAtTick(*timing, timing->lastTick) + 0.5;
    if (!(ms < 0x1p62)) return std::nullopt;
    return static_cast<std::int64_t>(ms);
}

namespace {

std::uint32_t leBytes(const QByteArray& b, qsizetype at, int n) {
    std::uint32_t v = 0;
    for (int i = 0; i < n; ++i)
        v |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + i])) << (8 * i);
    return v;
}

constexpr int kWaveExtensible = 0xFFFE;
constexpr int kMsAdpcm = 2;
constexpr int kImaAdpcm = 0x11;

}  // namespace

std::optional<WaveInfo> wave(QIODevice& device) {
    if (!device.seek(0)) return std::nullopt;
    const QByteArray riff = device.read(12);
    if (riff.size() < 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE")
        return std::nullopt;
    const qint64 size = device.size();
    WaveInfo info;
    bool haveFormat = false, haveData = false;
    qint64 pos = 12;
    // The chunks in any order; the sound data is only measured.
    while (pos + 8 <= size && !(haveFormat && haveData)) {
        if (!device.seek(pos)) return std::nullopt;
        const QByteArray head = device.read(8);
        if (head.size() < 8) break;
        const QByteArray id = head.left(4);
        const std::uint32_t chunk = leBytes(head, 4, 4);
        const qint64 body = pos + 8;
        if (id == "fmt ") {
            if (chunk < 16 || body + chunk > size) return std::nullopt;
            const QByteArray fmt = device.read(std::min<qint64>(chunk, 64));
            info.formatTag = static_cast<int>(leBytes(fmt, 0, 2));
            info.channels = static_cast<int>(leBytes(fmt, 2, 2));
            info.sampleRate = static_cast<int>(leBytes(fmt, 4, 4));
            info.blockAlign = static_cast<int>(leBytes(fmt, 12, 2));
            info.bitsPerSample = static_cast<int>(leBytes(fmt, 14, 2));
            // The extension: samples per block (ADPCM), or the real format's tag.
            if (fmt.size() >= 20 && (info.formatTag == kMsAdpcm || info.formatTag == kImaAdpcm))
                info.framesPerBlock = static_cast<int>(leBytes(fmt, 18, 2));
            if (fmt.size() >= 26 && info.formatTag == kWaveExtensible)
                info.formatTag = static_cast<int>(leBytes(fmt, 24, 2));
            haveFormat = true;
        } else if (id == "data") {
            info.declaredBytes = chunk;
            // A truncated file plays what it holds.
            info.dataBytes = std::min<qint64>(chunk, size - body);
            haveData = true;
        } else if (body + chunk > size) {
            return std::nullopt;
        }
        pos = body + chunk + (chunk & 1);
    }
    if (!haveFormat || !haveData || info.channels <= 0 || info.sampleRate <= 0 ||
        info.blockAlign <= 0)
        return std::nullopt;
    if (info.formatTag == kMsAdpcm || info.formatTag == kImaAdpcm) {
        if (info.framesPerBlock <= 0) {
            // Without the extension: what a block of that size holds.
            const int header = (info.formatTag == kMsAdpcm ? 7 : 4) * info.channels;
            const int rest = std::max(0, info.blockAlign - header);
            info.framesPerBlock = info.formatTag == kMsAdpcm ? rest * 2 / info.channels + 2
                                                             : rest * 2 / info.channels + 1;
        }
    } else {
        info.framesPerBlock = 1;
    }
    const bool oneFrameABlock = static_cast<std::int64_t>(info.blockAlign) * 8 ==
                                static_cast<std::int64_t>(info.channels) * info.bitsPerSample;
    if (oneFrameABlock) info.lengthMs = info.dataBytes / info.blockAlign * 1000 / info.sampleRate;
    return info;
}

std::optional<WaveInfo> wave(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return wave(buffer);
}

}  // namespace vorn::probe
