// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/fonts.h"

#include <algorithm>
#include <array>

namespace vorn {

namespace {

// An installed face standing in for a face the layouts name, and how much to widen it. The sizes
// the layouts state for texts in that face are relatively wider at small pixel sizes than at
// large ones, so the stretch is measured at two sizes, interpolated in between and held beyond.
struct StandIn {
    const char* wanted;
    const char* family;
    QFont::Weight weight;  // the face's own weight whatever the layout asks, or Normal: as asked
    int smallSize;
    int smallStretch;
    int largeSize;
    int largeStretch;
};

constexpr std::array kStandIns{
    // A heavy grotesque for a heavy grotesque: Inter Black, measured against the results screen's
    // headings at 16 px and its percentage at 64 px.
    StandIn{"Arial Black", "Inter", QFont::Black, 16, 123, 64, 113},
    // Measured against the title's prompt at 21 px.
    StandIn{"Verdana", "DejaVu Sans", QFont::Normal, 21, 99, 21, 99},
    // No size stated for a text of ours in these two: as they are.
    StandIn{"MS Sans Serif", "Liberation Sans", QFont::Normal, 0, 100, 0, 100},
    StandIn{"Jokerman", "Lobster Two", QFont::Normal, 0, 100, 0, 100},
};

int stretchAt(const StandIn& face, int pixelSize) {
    if (pixelSize <= face.smallSize) return face.smallStretch;
    if (pixelSize >= face.largeSize) return face.largeStretch;
    const double t = double(pixelSize - face.smallSize) / (face.largeSize - face.smallSize);
    return int(face.smallStretch + t * (face.largeStretch - face.smallStretch) + 0.5);
}

}  // namespace

QFont layoutFont(const FontStyle& wanted) {
    QFont font;
    QFont::Weight weight = wanted.bold ? QFont::Bold : QFont::Normal;
    const auto standIn = std::find_if(kStandIns.begin(), kStandIns.end(), [&](const StandIn& s) {
        return QLatin1String(wanted.family) == QLatin1String(s.wanted);
    });
    if (standIn != kStandIns.end()) {
        font.setFamily(QLatin1String(standIn->family));
        font.setStretch(stretchAt(*standIn, wanted.pixelSize));
        if (standIn->weight != QFont::Normal)
            weight = standIn->weight;  // bold adds nothing to a black face
    } else {
        font.setFamily(QString::fromLatin1(wanted.family));
    }
    font.setPixelSize(wanted.pixelSize);
    font.setWeight(weight);
    font.setItalic(wanted.italic);
    font.setUnderline(wanted.underline);
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

}  // namespace vorn
