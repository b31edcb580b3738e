// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/media/real/videodevice.h"

#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/media/ffmpeg.h"
#include "platform/media/real/audioengine.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/log.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <SDL_mixer.h>

#include <algorithm>
#include <vector>

namespace vorn {

namespace {

using namespace ffmpeg;

// The whole sound track of `path` as interleaved stereo 16-bit samples at the mixer's rate, room
// taken at once for the `lengthMs` the video lasts (its budget bounds it). Empty when the file has
// no sound track or it cannot be decoded: the pictures then play alone.
std::vector<std::int16_t> decodeSoundTrack(const QString& path, std::int64_t lengthMs) {
    std::vector<std::int16_t> samples;
    auto decoder = StreamDecoder::open(path, AVMEDIA_TYPE_AUDIO);
    if (!decoder) return samples;
    AVCodecContext* codec = decoder->codec();
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    AVChannelLayout input;
    if (codec->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || codec->ch_layout.nb_channels <= 0)
        av_channel_layout_default(&input, std::max(1, codec->ch_layout.nb_channels));
    else if (av_channel_layout_copy(&input, &codec->ch_layout) < 0)
        return samples;
    SwrContext* raw = nullptr;
    const int made = swr_alloc_set_opts2(&raw, &stereo, AV_SAMPLE_FMT_S16, AudioEngine::kSampleRate,
                                         &input, codec->sample_fmt, codec->sample_rate, 0, nullptr);
    const bool mono = input.nb_channels == 1;
    av_channel_layout_uninit(&input);
    ResamplePtr resample(raw);
    if (made < 0 || !resample) return {};
    // A mono track sounds at its own level on both sides, as a mono WAV does through the mixer
    // (the resampler would otherwise lower it by 3 dB).
    if (mono) {
        const double toBothSides[2] = {1.0, 1.0};  // [output][input]
        if (swr_set_matrix(resample.get(), toBothSides, 1) < 0) return {};
    }
    if (swr_init(resample.get()) < 0) return {};
    // The video's length and a second more, and no more: a sound track that outlasts its
    // pictures is not heard past them (the play ends with the video). The room is taken at once,
    // with a block or two to spare, so that no copy is made as it grows.
    const auto samplesIn = [](std::int64_t ms) {
        return static_cast<std::size_t>(std::max<std::int64_t>(0, ms)) * AudioEngine::kSampleRate /
               1000 * 2;
    };
    const std::size_t limit = samplesIn(lengthMs + 1000);
    samples.reserve(limit + samplesIn(2000));

    auto append = [&](const std::uint8_t** in, int inCount) -> bool {
        const int room = swr_get_out_samples(resample.get(), inCount);
        if (room < 0) return false;
        if (room == 0) return true;
        const std::size_t at = samples.size();
        samples.resize(at + static_cast<std::size_t>(room) * 2);
        auto* out = reinterpret_cast<std::uint8_t*>(samples.data() + at);
        const int got = swr_convert(resample.get(), &out, room, in, inCount);
        if (got < 0) return false;
        samples.resize(at + static_cast<std::size_t>(got) * 2);
        return true;
    };
    while (AVFrame* frame = decoder->next()) {
        if (!append(const_cast<const std::uint8_t**>(frame->extended_data), frame->nb_samples))
            return {};
        if (samples.size() >= limit) {
            samples.resize(limit);
            return samples;
        }
    }
    if (!append(nullptr, 0)) return {};
    return samples;
}

class VideoDevice : public MediaDevice {
  public:
    VideoDevice(Clock& clock, std::shared_ptr<AudioEngine> engine,
                std::shared_ptr<const OutputGains> gains, QString path, std::int64_t lengthMs)
        : clock_(clock),
          engine_(std::move(engine)),
          gains_(std::move(gains)),
          path_(std::move(path)),
          lengthMs_(lengthMs),
          pictures_(StreamDecoder::open(path_, AVMEDIA_TYPE_VIDEO)) {
        if (!pictures_) throw Error(mediaerror::invalidFile());
    }
    ~VideoDevice() override { stopSound(); }
    VideoDevice(const VideoDevice&) = delete;
    VideoDevice& operator=(const VideoDevice&) = delete;

    DeviceType type() const override { return DeviceType::Video; }
    std::int64_t lengthMs() const override { return lengthMs_; }
    // Without a play loop there is no one to show the pictures: the sound track plays alone.
    void start(std::int64_t fromMs) override { startSound(fromMs); }
    void halt() override { stopSound(); }
    void playToEnd(VideoSurface* surface, std::int64_t fromMs) override;

  private:
    void startSound(std::int64_t fromMs);
    void stopSound();

    Clock& clock_;
    std::shared_ptr<AudioEngine> engine_;
    std::shared_ptr<const OutputGains> gains_;
    QString path_;
    std::int64_t lengthMs_;
    std::unique_ptr<StreamDecoder> pictures_;
    bool picturesUsed_ = false;
    std::vector<std::int16_t> sound_;
    bool soundDecoded_ = false;
    Mix_Chunk* soundChunk_ = nullptr;
    int soundChannel_ = -1;
};

void VideoDevice::startSound(std::int64_t fromMs) {
    stopSound();
    if (!engine_->audible()) return;
    if (!soundDecoded_) {
        sound_ = decodeSoundTrack(path_, lengthMs_);
        soundDecoded_ = true;
    }
    const auto skip = static_cast<std::size_t>(std::max<std::int64_t>(0, fromMs)) *
                      AudioEngine::kSampleRate / 1000 * 2;
    if (skip >= sound_.size()) return;
    const auto bytes = (sound_.size() - skip) * sizeof(std::int16_t);
    // The chunk only points into sound_, which lives as long as this device.
    soundChunk_ = Mix_QuickLoad_RAW(reinterpret_cast<Uint8*>(sound_.data() + skip),
                                    static_cast<Uint32>(bytes));
    if (soundChunk_) soundChannel_ = engine_->playChunk(soundChunk_, gains_.get());
}

void VideoDevice::stopSound() {
    if (!soundChunk_) return;
    engine_->haltChunk(soundChannel_, soundChunk_);
    Mix_FreeChunk(soundChunk_);  // frees the chunk only: its samples belong to sound_
    soundChunk_ = nullptr;
    soundChannel_ = -1;
}

void VideoDevice::playToEnd(VideoSurface* surface, std::int64_t fromMs) {
    if (picturesUsed_) {
        // Each play reads the file from its start again.
        pictures_ = StreamDecoder::open(path_, AVMEDIA_TYPE_VIDEO);
        if (!pictures_) throw Error(mediaerror::invalidFile());
    }
    picturesUsed_ = true;
    fromMs = std::clamp<std::int64_t>(fromMs, 0, lengthMs_);

    const AVStream* stream = pictures_->stream();
    const AVRational rate =
        stream->avg_frame_rate.num ? stream->avg_frame_rate : stream->r_frame_rate;
    const double fps = rate.num > 0 && rate.den > 0 ? av_q2d(rate) : 0.0;
    const std::int64_t frameMs =
        fps > 0 ? std::max<std::int64_t>(1, std::llround(1000.0 / fps)) : 40;

    ScalePtr scale;
    startSound(fromMs);
    const std::int64_t startedAt = clock_.nowMs();
    std::int64_t ordinal = 0;
    while (AVFrame* frame = pictures_->next()) {
        const std::int64_t at = pictures_->timeMs(frame, ordinal++, fps);
        if (at + frameMs <= fromMs) continue;  // before the starting point
        const std::int64_t due = startedAt + std::max<std::int64_t>(0, at - fromMs);
        const std::int64_t now = clock_.nowMs();
        if (now < due) {
            clock_.sleep(due - now);
        } else if (now >= due + frameMs) {
            continue;  // a whole frame late: skip it to stay with the sound
        }
        if (!surface) continue;
        const QImage image = toImage(frame, scale);
        if (image.isNull()) continue;
        surface->showFrame(image);
        surface->present();
    }
    // The last picture stays for its own duration: return at the end of the file's length.
    const std::int64_t end = startedAt + (lengthMs_ - fromMs);
    const std::int64_t now = clock_.nowMs();
    if (now < end) clock_.sleep(end - now);
}

}  // namespace

std::unique_ptr<MediaDevice> openVideoDevice(Clock& clock, std::shared_ptr<AudioEngine> engine,
                                             std::shared_ptr<const OutputGains> gains,
                                             const QString& path, std::int64_t lengthMs) {
    return std::make_unique<VideoDevice>(clock, std::move(engine), std::move(gains), path,
                                         lengthMs);
}

}  // namespace vorn
