// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The JPEG loader on any bytes: a picture or the loader's error, never a crash, and never a
// picture larger than the game takes.

#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_target.h"
#include "platform/errors.h"
#include "platform/images.h"

VORN_FUZZ_TARGET(jpeg) {
    using namespace vorn;
    try {
        const QImage image = decodePicture(fuzz::bytesOf(data, size), QStringLiteral("jpg"));
        fuzz::require(!image.isNull(), "a JPEG decoded to no picture");
        fuzz::require(image.width() <= kMaxPictureSide && image.height() <= kMaxPictureSide,
                      "a JPEG larger than the limit was decoded");
    } catch (const Error&) {
    }
    return 0;
}
