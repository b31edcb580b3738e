#include "platform/media/probe.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/log.h>
}

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
    // A MIDI variable-length quantity, at most four bytes.
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

}  // namespace

std::optional<std::int64_t> midiLengthMs(const QByteArray& bytes) {
    Reader r(bytes, 0, bytes.size());
    if (!r.has(14) || r.be(4) != 0x4D546864 /* MThd */) return std::nullopt;
    const auto headerLength = r.be(4);
    if (headerLength < 6 || !r.has(headerLength)) return std::nullopt;
    r.be(2);  // format
    const auto tracks = r.be(2);
    const auto division = r.be(2);
    r.skip(headerLength - 6);
    if (division == 0) return std::nullopt;

    std::map<std::uint64_t, std::uint32_t> tempos;  // tick -> microseconds per quarter note
    std::uint64_t lastTick = 0;
    for (std::uint32_t t = 0; t < tracks; ++t) {
        if (!r.has(8) || r.be(4) != 0x4D54726B /* MTrk */) return std::nullopt;
        const auto length = r.be(4);
        if (!r.has(length)) return std::nullopt;
        const auto end = r.pos() + length;
        Reader tr(bytes, r.pos(), end);
        std::uint64_t tick = 0;
        std::uint8_t status = 0;
        while (!tr.atEnd()) {
            const auto delta = tr.vlq();
            if (!delta || !tr.has(1)) return std::nullopt;
            tick += *delta;
            std::uint8_t first = tr.u8();
            if (first == 0xFF) {  // meta event
                if (!tr.has(1)) return std::nullopt;
                const auto type = tr.u8();
                const auto len = tr.vlq();
                if (!len || !tr.has(*len)) return std::nullopt;
                if (type == 0x51 && *len == 3) {
                    tempos[tick] = tr.be(3);
                } else {
                    tr.skip(*len);
                }
                if (type == 0x2F) break;  // end of track
            } else if (first == 0xF0 || first == 0xF7) {  // system exclusive
                const auto len = tr.vlq();
                if (!len || !tr.has(*len)) return std::nullopt;
                tr.skip(*len);
            } else {
                int dataBytes;
                if (first & 0x80) {
                    status = first;
                    dataBytes = ((status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0) ? 1 : 2;
                } else {
                    if (!status) return std::nullopt;  // running status without a status
                    dataBytes = ((status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0) ? 0 : 1;
                }
                if (!tr.has(dataBytes)) return std::nullopt;
                tr.skip(dataBytes);
            }
        }
        lastTick = std::max(lastTick, tick);
        r.skip(length);
    }

    if (division & 0x8000) {  // SMPTE time: frames per second and ticks per frame
        const int fps = 256 - static_cast<int>(division >> 8);
        const int ticksPerFrame = static_cast<int>(division & 0xFF);
        if (fps <= 0 || ticksPerFrame <= 0) return std::nullopt;
        return static_cast<std::int64_t>(lastTick * 1000 / (static_cast<std::uint64_t>(fps) * ticksPerFrame));
    }
    // Ticks per quarter note, following the tempo map (120 bpm until the first tempo event).
    double us = 0;
    std::uint64_t tick = 0;
    std::uint32_t tempo = 500000;
    for (const auto& [at, value] : tempos) {
        if (at >= lastTick) break;
        us += static_cast<double>(at - tick) * tempo / division;
        tick = at;
        tempo = value;
    }
    us += static_cast<double>(lastTick - tick) * tempo / division;
    return static_cast<std::int64_t>(us / 1000.0 + 0.5);
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
    info.lengthMs = info.dataBytes / blockAlign * 1000 / info.sampleRate;
    return info;
}

std::optional<VideoInfo> video(const QString& path) {
    av_log_set_level(AV_LOG_QUIET);
    AVFormatContext* format = nullptr;
    const QByteArray name = path.toLocal8Bit();
    if (avformat_open_input(&format, name.constData(), nullptr, nullptr) < 0) return std::nullopt;
    std::optional<VideoInfo> result;
    if (avformat_find_stream_info(format, nullptr) >= 0) {
        const int v = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
        if (v >= 0) {
            const AVStream* stream = format->streams[v];
            VideoInfo info;
            info.width = stream->codecpar->width;
            info.height = stream->codecpar->height;
            const AVRational rate = stream->avg_frame_rate.num ? stream->avg_frame_rate : stream->r_frame_rate;
            info.framesPerSecond = rate.den ? av_q2d(rate) : 0;
            info.frameCount = stream->nb_frames;
            if (stream->duration != AV_NOPTS_VALUE)
                info.lengthMs = av_rescale_q(stream->duration, stream->time_base, AVRational{1, 1000});
            else if (format->duration != AV_NOPTS_VALUE)
                info.lengthMs = format->duration / (AV_TIME_BASE / 1000);
            if (info.frameCount == 0 && info.framesPerSecond > 0)
                info.frameCount = static_cast<std::int64_t>(info.lengthMs * info.framesPerSecond / 1000.0 + 0.5);
            if (info.lengthMs == 0 && info.framesPerSecond > 0)
                info.lengthMs = static_cast<std::int64_t>(info.frameCount * 1000.0 / info.framesPerSecond);
            info.hasAudio = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0) >= 0;
            if (info.width > 0 && info.height > 0) result = info;
        }
    }
    avformat_close_input(&format);
    return result;
}

}  // namespace vorn::probe
