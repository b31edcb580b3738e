// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Decoding whole AVI files with FFmpeg: every picture as an image (the hourglass, the content
// checker) and the sound track as interleaved 16-bit PCM (the interludes).

#include "platform/media/backend.h"

#include <map>
#include <memory>
#include <optional>

namespace vorn::avi {

// All frames of the first video stream, in order, with the stream's frame rate. Empty when the
// file cannot be opened or decoded.
std::optional<AnimationClip> decodeFrames(const QString& path);

// Animations by file, each decoded once.
class AnimationCache {
public:
    // Raises "Cannot open AVI" when the file cannot be decoded.
    std::shared_ptr<const AnimationClip> open(const QString& path);

private:
    std::map<QString, std::shared_ptr<const AnimationClip>> clips_;
};

}  // namespace vorn::avi
