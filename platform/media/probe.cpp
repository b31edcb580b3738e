// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/media/probe.h"

#include "platform/media/midifile.h"

#include <algorithm>
#include <map>
#include <vector>

namespace vorn::probe {

namespace {

class Reader {
public:
    Reader(const QByteArray& bytes, qsizetype from, qsizetype to) : b_(bytes), pos_(from), end_(to) {}
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

std::optional<WaveInfo> wave(const QByteArray& bytes) {
    Reader r(bytes, 0, bytes.size());
    if (!r.has(12) || r.be(4) != 0x52494646 /* RIFF */) return std::nullopt;
    r.le(4);
    if (r.be(4) != 0x57415645 /* WAVE */) return std::nullopt;
    WaveInfo info;
    int blockAlign = 0;
    bool haveFormat = false, haveData = false;
    while (r.has(8)) {
        const auto id = r.be(4);
        const auto size = r.le(4);
        if (id == 0x666D7420 /* "fmt " */) {
            if (size < 16 || !r.has(size)) return std::nullopt;
            const auto start = r.pos();
            r.le(2);  // format tag
            info.channels = static_cast<int>(r.le(2));
            info.sampleRate = static_cast<int>(r.le(4));
            r.le(4);  // bytes per second
            blockAlign = static_cast<int>(r.le(2));
            info.bitsPerSample = static_cast<int>(r.le(2));
            r.skip(size - (r.pos() - start));
            haveFormat = true;
        } else if (id == 0x64617461 /* data */) {
            // A truncated file plays what it holds.
            info.dataBytes = std::min<std::int64_t>(size, bytes.size() - r.pos());
            haveData = true;
            break;
        } else {
            if (!r.has(size)) return std::nullopt;
            r.skip(size + (size & 1));
        }
    }
    if (!haveFormat || !haveData || info.channels <= 0 || info.sampleRate <= 0 || blockAlign <= 0)
        return std::nullopt;
    const bool oneFrameABlock = static_cast<std::int64_t>(blockAlign) * 8 ==
                                static_cast<std::int64_t>(info.channels) * info.bitsPerSample;
    if (oneFrameABlock) info.lengthMs = info.dataBytes / blockAlign * 1000 / info.sampleRate;
    return info;
}

}  // namespace vorn::probe
