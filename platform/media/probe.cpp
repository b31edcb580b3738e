#include "platform/media/probe.h"

#include "platform/media/midifile.h"

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
    return static_cast<std::int64_t>(midi::msAtTick(*timing, timing->lastTick) + 0.5);
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
