#include "platform/media/real/miditiming.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

namespace vorn::miditiming {

namespace {

// A bounded reader over one range of the file; every read is checked by the caller with has().
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

// Collects the tempo events of one track into `tempos`; false when the track is malformed.
bool readTempos(Cursor& track, std::map<std::uint64_t, std::uint32_t>& tempos) {
    std::uint64_t tick = 0;
    std::uint8_t status = 0;
    while (!track.atEnd()) {
        const auto delta = track.vlq();
        if (!delta || !track.has(1)) return false;
        tick += *delta;
        const std::uint8_t first = track.u8();
        if (first == 0xFF) {
            if (!track.has(1)) return false;
            const auto type = track.u8();
            const auto len = track.vlq();
            if (!len || !track.has(*len)) return false;
            if (type == 0x51 && *len == 3) {
                tempos[tick] = track.be(3);
            } else {
                track.skip(*len);
            }
            if (type == 0x2F) return true;
        } else if (first == 0xF0 || first == 0xF7) {
            const auto len = track.vlq();
            if (!len || !track.has(*len)) return false;
            track.skip(*len);
        } else {
            int dataBytes;
            const bool oneByte = [&] {
                const std::uint8_t s = (first & 0x80) ? first : status;
                return (s & 0xF0) == 0xC0 || (s & 0xF0) == 0xD0;
            }();
            if (first & 0x80) {
                status = first;
                dataBytes = oneByte ? 1 : 2;
            } else {
                if (!status) return false;
                dataBytes = oneByte ? 0 : 1;
            }
            if (!track.has(dataBytes)) return false;
            track.skip(dataBytes);
        }
    }
    return true;
}

std::uint32_t clampTick(double tick) {
    if (!(tick > 0)) return 0;
    constexpr double kMax = static_cast<double>(std::numeric_limits<std::int32_t>::max());
    return static_cast<std::uint32_t>(std::min(kMax, std::floor(tick + 1e-6)));
}

}  // namespace

std::optional<std::uint32_t> tickAtMs(const QByteArray& bytes, std::int64_t ms) {
    Cursor r(bytes, 0, bytes.size());
    if (!r.has(14) || r.be(4) != 0x4D546864 /* MThd */) return std::nullopt;
    const auto headerLength = r.be(4);
    if (headerLength < 6 || !r.has(headerLength)) return std::nullopt;
    r.be(2);  // format
    const auto tracks = r.be(2);
    const auto division = r.be(2);
    r.skip(headerLength - 6);
    if (division == 0) return std::nullopt;

    std::map<std::uint64_t, std::uint32_t> tempos;
    for (std::uint32_t t = 0; t < tracks; ++t) {
        if (!r.has(8) || r.be(4) != 0x4D54726B /* MTrk */) return std::nullopt;
        const auto length = r.be(4);
        if (!r.has(length)) return std::nullopt;
        Cursor track(bytes, r.pos(), r.pos() + length);
        if (!readTempos(track, tempos)) return std::nullopt;
        r.skip(length);
    }
    if (ms <= 0) return 0u;

    if (division & 0x8000) {  // SMPTE time: frames per second and ticks per frame
        const int fps = 256 - static_cast<int>(division >> 8);
        const int ticksPerFrame = static_cast<int>(division & 0xFF);
        if (fps <= 0 || ticksPerFrame <= 0) return std::nullopt;
        return clampTick(static_cast<double>(ms) * fps * ticksPerFrame / 1000.0);
    }
    // Walk the tempo map: each segment lasts (ticks * tempo / division) microseconds.
    const double targetUs = static_cast<double>(ms) * 1000.0;
    double us = 0;
    std::uint64_t tick = 0;
    std::uint32_t tempo = 500000;
    for (const auto& [at, value] : tempos) {
        const double segmentUs = static_cast<double>(at - tick) * tempo / division;
        if (us + segmentUs >= targetUs) break;
        us += segmentUs;
        tick = at;
        tempo = value;
    }
    if (tempo == 0) return clampTick(static_cast<double>(tick));
    return clampTick(static_cast<double>(tick) + (targetUs - us) * division / tempo);
}

}  // namespace vorn::miditiming
