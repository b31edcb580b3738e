// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The bitmap loader on any bytes: a picture or the loader's error, never a crash, and never a
// picture larger than the game takes; decoded as a screen shows it, the same verdict and no more
// pixels than the screen needs.

#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_target.h"
#include "platform/errors.h"
#include "platform/images.h"

VORN_FUZZ_TARGET(bmp) {
    using namespace vorn;
    const QByteArray bytes = fuzz::bytesOf(data, size);
    bool whole = false;
    try {
        const QImage image = decodePicture(bytes, QStringLiteral("bmp"));
        fuzz::require(!image.isNull(), "a bitmap decoded to no picture");
        fuzz::require(image.width() <= kMaxPictureSide && image.height() <= kMaxPictureSide,
                      "a bitmap larger than the limit was decoded");
        whole = true;
    } catch (const Error&) {
    }
    // As the screens show it: stretched into a small place, and drawn at its own size in one.
    const QSize area(24, 16);
    for (const auto fit : {PictureView::Stretched, PictureView::Clipped}) {
        try {
            const DecodedPicture shown = decodePicture(bytes, QStringLiteral("bmp"), {fit, area});
            fuzz::require(whole, "a bitmap refused whole was decoded for a screen");
            const QSize got = shown.image.size();
            if (fit == PictureView::Clipped)
                fuzz::require(got == shown.fullSize.boundedTo(area),
                              "a bitmap kept more than shows");
            else
                fuzz::require(got.width() <= shown.fullSize.width() &&
                                  got.height() <= shown.fullSize.height() &&
                                  (got == shown.fullSize ||
                                   (got.width() >= area.width() && got.height() >= area.height())),
                              "a bitmap reduced below its place");
        } catch (const Error&) {
            fuzz::require(!whole, "a bitmap decoded whole was refused for a screen");
        }
    }
    return 0;
}
