// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Decoding AVI files with FFmpeg: every picture of the hourglass as an image, within the
// animation budget; and the pictures of a video counted (the content checker).

#include "platform/media/backend.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace vorn::avi {

// All frames of the first video stream, in order, with the stream's frame rate. Empty when the
// file cannot be opened or decoded. Raises the budget's reason alone (budgets.h) when the frames
// would take more than an animation may: found from the header before anything is decoded, or
// as soon as the frames decoded pass the budget when the header understates them.
std::optional<AnimationClip> decodeFrames(const QString& path);

// The pictures of the first video stream that decode, each decoded and let go; empty when the
// file cannot be opened.
std::optional<std::int64_t> countFrames(const QString& path);
// Hands each picture of the first video stream to `take` as it decodes, none kept; false when
// the file cannot be opened.
bool forEachFrame(const QString& path, const std::function<void(const QImage&)>& take);

// Animations by file, each decoded once.
class AnimationCache {
  public:
    // Raises "Cannot open AVI" when the file cannot be decoded, and OverBudget when it is over
    // the animation budget.
    std::shared_ptr<const AnimationClip> open(const QString& path);

  private:
    std::map<QString, std::shared_ptr<const AnimationClip>> clips_;
};

}  // namespace vorn::avi
