#pragma once
// Decoding whole AVI files with FFmpeg: every picture as an image (the hourglass, the content
// checker) and the sound track as interleaved 16-bit PCM (the interludes).

#include "platform/media/backend.h"

#include <optional>

namespace vorn::avi {

// All frames of the first video stream, in order, with the stream's frame rate. Empty when the
// file cannot be opened or decoded.
std::optional<AnimationClip> decodeFrames(const QString& path);

}  // namespace vorn::avi
