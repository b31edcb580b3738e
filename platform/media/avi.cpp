// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/media/avi.h"

#include "platform/budgets.h"
#include "platform/errors.h"
#include "platform/media/ffmpeg.h"
#include "platform/media/playable.h"

#include <memory>

namespace vorn::avi {

using namespace ffmpeg;

std::optional<AnimationClip> decodeFrames(const QString& path) {
    // The video's own budget first, as for any video the game opens, then the animation's; both
    // from the header, before a frame is kept.
    const auto info = playable::video(path);
    if (!info) return std::nullopt;
    if (info->overBudget) throw Error(*info->overBudget);
    if (auto reason = budget::animation(info->frameCount, info->width, info->height))
        throw Error(*reason);
    auto decoder = StreamDecoder::open(path, AVMEDIA_TYPE_VIDEO);
    if (!decoder) return std::nullopt;
    AnimationClip clip;
    const AVStream* stream = decoder->stream();
    const AVRational rate =
        stream->avg_frame_rate.num ? stream->avg_frame_rate : stream->r_frame_rate;
    clip.framesPerSecond = rate.num && rate.den ? av_q2d(rate) : 15.0;
    ScalePtr scale;
    std::int64_t bytes = 0;
    while (AVFrame* frame = decoder->next()) {
        // Kept in an image of its own size: the converter's room past its edges is let go, so
        // that a frame takes the 4 bytes a pixel the budget counts.
        QImage image = toImage(frame, scale).copy();
        if (image.isNull()) return std::nullopt;
        bytes += image.sizeInBytes();
        if (bytes > budget::kMaxAnimationBytes) {
            // More than the header said: the rest counted from the file, none more decoded.
            const std::int64_t frames =
                static_cast<std::int64_t>(clip.frames.size()) + 1 + decoder->skipToEnd();
            throw Error(*budget::animation(frames, image.width(), image.height()));
        }
        clip.frames.push_back(std::move(image));
    }
    if (clip.frames.empty()) return std::nullopt;
    return clip;
}

std::optional<std::int64_t> countFrames(const QString& path) {
    auto decoder = StreamDecoder::open(path, AVMEDIA_TYPE_VIDEO);
    if (!decoder) return std::nullopt;
    std::int64_t frames = 0;
    while (decoder->next()) ++frames;
    return frames;
}

bool forEachFrame(const QString& path, const std::function<void(const QImage&)>& take) {
    auto decoder = StreamDecoder::open(path, AVMEDIA_TYPE_VIDEO);
    if (!decoder) return false;
    ScalePtr scale;
    while (AVFrame* frame = decoder->next()) {
        const QImage image = toImage(frame, scale);
        if (!image.isNull()) take(image);
    }
    return true;
}

std::shared_ptr<const AnimationClip> AnimationCache::open(const QString& path) {
    auto it = clips_.find(path);
    if (it != clips_.end()) return it->second;
    std::optional<AnimationClip> clip;
    try {
        clip = decodeFrames(path);
    } catch (const Error& e) {
        throw OverBudget(path, e.message());
    }
    if (!clip) throw Error(mediaerror::cannotOpenAvi());
    auto shared = std::make_shared<const AnimationClip>(std::move(*clip));
    clips_.emplace(path, shared);
    return shared;
}

}  // namespace vorn::avi
