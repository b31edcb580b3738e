// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/media/midifile.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vorn::midi {

namespace {

class Cursor {
  public:
    Cursor(const QByteArray& bytes, qsizetype from, qsizetype to)
        : b_(bytes), pos_(from), end_(to) {}
    bool has(qsizetype n) const { return n >= 0 && pos_ + n <= end_; }
    bool atEnd() const { return pos_ >= end_; }
    std::uint8_t u8() { return static_cast<std::uint8_t>(b_[pos_++]); }
    std::uint32_t be(int n) {
        std::uint32_t v = 0;
        for (int i = 0; i < n; ++i) v = (v << 8) | u8();
        return v;
    }
    // A variable-length quantity, at most four bytes.
    std::optional<std::uint32_t> vlq() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            if (!has(1)) return std::nullopt;
            const auto c = u8();
            v = (v << 7) | (c & 0x7F);
            if (!(c & 0x80)) return v;
        }
        return std::nullopt;
    }
    void skip(qsizetype n) { pos_ += n; }
    qsizetype pos() const { return pos_; }

  private:
    const QByteArray& b_;
    qsizetype pos_, end_;
};

// Reads one track: its tempo events into `timing`; returns the tick of its last event, or
// nothing when the track is malformed.
std::optional<std::uint64_t> readTrack(Cursor& track, Timing& timing) {
    std::uint64_t tick = 0;
    std::uint8_t status = 0;
    while (!track.atEnd()) {
        const auto delta = track.vlq();
        if (!delta || !track.has(1)) return std::nullopt;
        tick += *delta;
        const std::uint8_t first = track.u8();
        if (first == 0xFF) {  // meta event
            if (!track.has(1)) return std::nullopt;
            const auto type = track.u8();
            const auto len = track.vlq();
            if (!len || !track.has(*len)) return std::nullopt;
            if (type == 0x51 && *len == 3)
                timing.tempos[tick] = track.be(3);
            else
                track.skip(*len);
            if (type == 0x2F) break;                  // end of track
        } else if (first == 0xF0 || first == 0xF7) {  // system exclusive
            const auto len = track.vlq();
            if (!len || !track.has(*len)) return std::nullopt;
            track.skip(*len);
        } else {  // channel message, perhaps with running status
            if (first & 0x80) status = first;
            if (!status) return std::nullopt;
            const int kind = status & 0xF0;
            const int dataBytes = kind == 0xC0 || kind == 0xD0 ? 1 : 2;
            std::uint8_t data[2] = {0, 0};
            int have = 0;
            if (!(first & 0x80)) data[have++] = first;
            if (!track.has(dataBytes - have)) return std::nullopt;
            while (have < dataBytes) data[have++] = track.u8();
            if (kind == 0x80 || kind == 0x90) {
                timing.lastNoteTick = std::max(timing.lastNoteTick, tick);
                if (kind == 0x90 && data[1] > 0) ++timing.notes;
            }
        }
    }
    return tick;
}

bool smpte(const Timing& timing) {
    return timing.division & 0x8000;
}

// SMPTE time: ticks a second.
double smpteTicksPerSecond(const Timing& timing) {
    const int fps = 256 - static_cast<int>(timing.division >> 8);
    return static_cast<double>(fps) * static_cast<double>(timing.division & 0xFF);
}

std::uint32_t clampTick(double tick) {
    if (!(tick > 0)) return 0;
    constexpr double kMax = static_cast<double>(std::numeric_limits<std::int32_t>::max());
    return static_cast<std::uint32_t>(std::min(kMax, std::floor(tick + 1e-6)));
}

}  // namespace

std::optional<Timing> readTiming(const QByteArray& bytes) {
    Cursor r(bytes, 0, bytes.size());
    if (!r.has(14) || r.be(4) != 0x4D546864 /* MThd */) return std::nullopt;
    const auto headerLength = r.be(4);
    if (headerLength < 6 || !r.has(headerLength)) return std::nullopt;
    r.be(2);  // format
    const auto tracks = r.be(2);
    Timing timing;
    timing.division = static_cast<std::uint16_t>(r.be(2));
    r.skip(headerLength - 6);
    if (timing.division == 0) return std::nullopt;
    if (smpte(timing) && smpteTicksPerSecond(timing) <= 0) return std::nullopt;
    for (std::uint32_t t = 0; t < tracks; ++t) {
        if (!r.has(8) || r.be(4) != 0x4D54726B /* MTrk */) return std::nullopt;
        const auto length = r.be(4);
        if (!r.has(length)) return std::nullopt;
        Cursor track(bytes, r.pos(), r.pos() + length);
        const auto last = readTrack(track, timing);
        if (!last) return std::nullopt;
        timing.lastTick = std::max(timing.lastTick, *last);
        r.skip(length);
    }
    return timing;
}

double msAtTick(const Timing& timing, std::uint64_t tick) {
    if (smpte(timing)) return static_cast<double>(tick) * 1000.0 / smpteTicksPerSecond(timing);
    double us = 0;
    std::uint64_t at = 0;
    std::uint32_t tempo = 500000;
    for (const auto& [change, value] : timing.tempos) {
        if (change >= tick) break;
        us += static_cast<double>(change - at) * tempo / timing.division;
        at = change;
        tempo = value;
    }
    us += static_cast<double>(tick - at) * tempo / timing.division;
    return us / 1000.0;
}

std::uint32_t tickAtMs(const Timing& timing, std::int64_t ms) {
    if (ms <= 0) return 0;
    if (smpte(timing))
        return clampTick(static_cast<double>(ms) * smpteTicksPerSecond(timing) / 1000.0);
    // Walk the tempo map: each stretch lasts (ticks * tempo / division) microseconds.
    const double targetUs = static_cast<double>(ms) * 1000.0;
    double us = 0;
    std::uint64_t tick = 0;
    std::uint32_t tempo = 500000;
    for (const auto& [at, value] : timing.tempos) {
        const double stretchUs = static_cast<double>(at - tick) * tempo / timing.division;
        if (us + stretchUs >= targetUs) break;
        us += stretchUs;
        tick = at;
        tempo = value;
    }
    if (tempo == 0) return clampTick(static_cast<double>(tick));
    return clampTick(static_cast<double>(tick) + (targetUs - us) * timing.division / tempo);
}

std::optional<std::uint32_t> tickAtMs(const QByteArray& bytes, std::int64_t ms) {
    const auto timing = readTiming(bytes);
    if (!timing) return std::nullopt;
    return tickAtMs(*timing, ms);
}

}  // namespace vorn::midi
