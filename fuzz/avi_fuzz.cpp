// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The AVI opener and frame decoder on any file: the playability check the game and the content
// checker make, and the decoding of every picture the hourglass animation does.

#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_target.h"
#include "platform/budgets.h"
#include "platform/errors.h"
#include "platform/media/avi.h"
#include "platform/media/playable.h"

VORN_FUZZ_TARGET(avi) {
    using namespace vorn;
    const QString path =
        fuzz::writeScratchFile(QStringLiteral("video/fuzz.avi"), fuzz::bytesOf(data, size));
    const auto info = playable::video(path);
    if (info) {
        fuzz::require(info->width > 0 && info->height > 0, "a playable video has no picture size");
        fuzz::require(!info->audioDecodes || info->hasAudio, "a missing sound track decodes");
    }
    // The video device's own check of the file, as the game opens an interlude.
    try {
        const MediaFileInfo device = inspectMediaFile(path);
        fuzz::require(info && !info->overBudget && device.lengthMs == info->lengthMs,
                      "the device measures another length");
    } catch (const OverBudget&) {
        fuzz::require(info && info->overBudget, "the device refuses a video within its budget");
    } catch (const Error&) {
        fuzz::require(!info, "the device refuses a video the check plays");
    }
    try {
        if (const auto clip = avi::decodeFrames(path)) {
            fuzz::require(!clip->frames.empty(), "an animation without pictures");
            qint64 bytes = 0;
            for (const QImage& frame : clip->frames) {
                fuzz::require(!frame.isNull(), "an animation holds a null picture");
                bytes += frame.sizeInBytes();
            }
            fuzz::require(bytes <= budget::kMaxAnimationBytes, "an animation over its budget");
        }
    } catch (const Error&) {
    }
    return 0;
}
