// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/budgets.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace vorn::budget {

void returnLargeBlocksAtOnce() {
#if defined(__GLIBC__)
    // A fixed threshold also stops the allocator from raising it on its own.
    mallopt(M_MMAP_THRESHOLD, static_cast<int>(4 * kMiB));
#endif
}

QString lengthText(std::int64_t ms) {
    // Rounded up, so that a length over a limit never reads as the limit itself.
    if (ms < 1000) return QStringLiteral("%1 ms").arg(ms);
    if (ms < 100'000) {
        const std::int64_t tenths = (ms + 99) / 100;
        return tenths % 10 ? QStringLiteral("%1.%2 s").arg(tenths / 10).arg(tenths % 10)
                           : QStringLiteral("%1 s").arg(tenths / 10);
    }
    const std::int64_t seconds = (ms + 999) / 1000;
    if (seconds % 60 == 0) return QStringLiteral("%1 min").arg(seconds / 60);
    return QStringLiteral("%1 min %2 s").arg(seconds / 60).arg(seconds % 60);
}

QString sizeText(std::int64_t bytes) {
    if (bytes < kMiB) return QStringLiteral("%1 KB").arg((bytes + 1023) / 1024);
    const double mib = static_cast<double>(bytes) / static_cast<double>(kMiB);
    if (mib >= 1024) return QStringLiteral("%1 GB").arg(mib / 1024, 0, 'f', 1);
    const std::int64_t tenths = static_cast<std::int64_t>(mib * 10 + 0.5);
    if (mib >= 10 || tenths % 10 == 0)
        return QStringLiteral("%1 MB").arg(static_cast<std::int64_t>(mib + 0.5));
    return QStringLiteral("%1.%2 MB").arg(tenths / 10).arg(tenths % 10);
}

std::optional<QString> pictureSize(std::int64_t width, std::int64_t height) {
    if (width <= kMaxPictureSide && height <= kMaxPictureSide) return std::nullopt;
    return QStringLiteral("Picture is too large: %1 x %2 pixels, at most %3 x %3")
        .arg(width)
        .arg(height)
        .arg(kMaxPictureSide);
}

std::optional<QString> progressiveJpeg(std::int64_t width, std::int64_t height,
                                       std::int64_t coefficientBytes) {
    if (coefficientBytes <= kMaxJpegCoefficientBytes) return std::nullopt;
    return QStringLiteral(
               "a progressive JPEG of %1 x %2 pixels needs %3 to decode, at most %4: save it as "
               "a baseline JPEG")
        .arg(width)
        .arg(height)
        .arg(sizeText(coefficientBytes), sizeText(kMaxJpegCoefficientBytes));
}

std::optional<QString> sound(std::int64_t lengthMs, int channels, int sampleRate,
                             std::int64_t decodedBytes) {
    if (lengthMs > kMaxSoundMs)
        return QStringLiteral("a sound of %1 is too long for the game, at most %2")
            .arg(lengthText(lengthMs), lengthText(kMaxSoundMs));
    if (decodedBytes > kMaxSoundBytes)
        return QStringLiteral("%1 of %2 at %3 Hz take %4 decoded, at most %5")
            .arg(lengthText(lengthMs), channels == 1 ? QStringLiteral("1 channel")
                                                     : QStringLiteral("%1 channels").arg(channels))
            .arg(sampleRate)
            .arg(sizeText(decodedBytes), sizeText(kMaxSoundBytes));
    return std::nullopt;
}

std::optional<QString> tuneFile(std::int64_t fileBytes) {
    if (fileBytes <= kMaxTuneFileBytes) return std::nullopt;
    return QStringLiteral("a file of %1 is too large for a tune, at most %2")
        .arg(sizeText(fileBytes), sizeText(kMaxTuneFileBytes));
}

std::optional<QString> tune(std::int64_t lengthMs) {
    if (lengthMs <= kMaxTuneMs) return std::nullopt;
    return QStringLiteral("a tune of %1 is too long for the game, at most %2")
        .arg(lengthText(lengthMs), lengthText(kMaxTuneMs));
}

std::optional<QString> videoPictures(int width, int height) {
    if (width <= kMaxVideoSide && height <= kMaxVideoSide) return std::nullopt;
    return QStringLiteral("pictures of %1 x %2 are too large for a video, at most %3 x %3")
        .arg(width)
        .arg(height)
        .arg(kMaxVideoSide);
}

std::optional<QString> videoLength(std::int64_t lengthMs) {
    if (lengthMs > kMaxVideoMs)
        return QStringLiteral("a video of %1 is too long for the game, at most %2")
            .arg(lengthText(lengthMs), lengthText(kMaxVideoMs));
    return std::nullopt;
}

std::optional<QString> animation(std::int64_t frames, int width, int height) {
    const std::int64_t frameBytes = std::int64_t{width} * height * 4;
    if (frameBytes <= 0 || frames * frameBytes <= kMaxAnimationBytes) return std::nullopt;
    const std::int64_t fit = kMaxAnimationBytes / frameBytes;
    return QStringLiteral(
               "%1 frames of %2 x %3 are too many for an animation: %4 holds %5 at "
               "that size")
        .arg(frames)
        .arg(width)
        .arg(height)
        .arg(sizeText(kMaxAnimationBytes))
        .arg(fit);
}

}  // namespace vorn::budget
