// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The default pack's backgrounds keep their art in the part of each screen that the main
// window's scroll bars leave in sight: the strips under the bars hold only plain background. The
// screens that show their labels over the results picture (the name entry, the best players)
// find plain background behind every label.

#include "core/layout.h"
#include "core/pack.h"
#include "platform/fonts.h"
#include "platform/images.h"
#include "platform/label.h"

#include "support/defaultpack.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

using namespace vorn;

namespace content_clearance_test {

// Where the strips under the bars begin, two pixels on: JPEG blurs an edge by a pixel or two.
constexpr int kRight = layout::principal::visibleWidth + 2;
constexpr int kBottom = layout::principal::visibleHeight + 2;

QImage picture(const QString& file) {
    return test::picture(file).convertToFormat(QImage::Format_RGB32);
}

int lightness(QRgb p) {
    return (qRed(p) * 30 + qGreen(p) * 59 + qBlue(p) * 11) / 100;
}

int saturation(QRgb p) {
    return std::max({qRed(p), qGreen(p), qBlue(p)}) - std::min({qRed(p), qGreen(p), qBlue(p)});
}

// The first pixel of `area` that `art` finds, as "x,y", or "" when there is none.
template <typename Art>
std::string firstArt(const QImage& image, const QRect& area, Art art) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (art(image, x, y)) return std::to_string(x) + "," + std::to_string(y);
    return {};
}

// Unlike the pixel at the start of its row in the strip: a plain background changes down the
// picture, not across it.
bool breaksItsRow(const QImage& image, int x, int y, int rowStart) {
    const QRgb a = image.pixel(rowStart, y), b = image.pixel(x, y);
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
               std::abs(qBlue(a) - qBlue(b)) >
           36;
}

// Where a label shows its text: its box, as wide as `text` for a label sized to its text.
QRect textArea(const TextPlacement& label, const QString& text) {
    if (label.sizing == TextSizing::Fixed) return label.box;
    const QSize extent = Label::textExtent(layoutFont(label.font), text, 0);
    return {label.box.topLeft(),
            QSize(extent.width(), std::max(extent.height(), label.box.height()))};
}

// The results picture's ink: its navy rules, gold stars and beads, green leaves.
bool resultsInk(const QImage& i, int x, int y) {
    const QRgb p = i.pixel(x, y);
    return lightness(p) < 170 || saturation(p) > 60;
}

TEST(ContentInSight, ResultsFrameStarsAndLaurelsStayInSight) {
    const QImage image = picture(pack::file(pack::resultsPicture));
    ASSERT_FALSE(image.isNull());
    // Ivory under the bars: no navy rule, no gold star, no green leaf (the level stripes along the
    // top edge and just above the bottom bar excepted).
    const auto ink = resultsInk;
    constexpr int top = 6 + 2;                                        // below the top stripe
    constexpr int bottom = layout::principal::visibleHeight - 6 - 2;  // above the bottom one
    EXPECT_EQ(firstArt(image, QRect(kRight, top, 640 - kRight, bottom - top), ink), "");
    EXPECT_EQ(firstArt(image, QRect(0, kBottom, kRight, 440 - kBottom), ink), "");
}

TEST(ContentInSight, TheNameEntryAndTheBestPlayersShowTheirLabelsOnPlainBackground) {
    namespace E = layout::enternom;
    namespace H = layout::highscore;
    const QImage image = picture(pack::file(pack::resultsPicture));
    ASSERT_FALSE(image.isNull());
    struct Area {
        std::string name;
        QRect rect;
    };
    std::vector<Area> areas = {
        {E::Label1.name, textArea(E::Label1, QString::fromUtf8(E::Label1.text))},
        {E::Label2.name, textArea(E::Label2, QString::fromUtf8(E::Label2.text))},
        {E::Edit1.name, E::Edit1.box},
        {E::valider.name, E::valider.box},
        {H::titre.name, textArea(H::titre, QString::fromUtf8(H::titre.text))},
    };
    // Each row whole, from its place to the scroll bar: a name as long as the room before the
    // scores, and the best score a game can reach, whose ink may reach the bar.
    for (int k = 0; k < H::places; ++k) {
        const QRect score = textArea(H::score[k], QStringLiteral("180000"));
        areas.push_back(
            {H::place[k].name, QRect(QPoint(H::placeLeft, score.top()),
                                     QPoint(layout::principal::visibleWidth - 1, score.bottom()))});
    }
    for (const Area& a : areas) {
        SCOPED_TRACE(a.name);
        EXPECT_EQ(firstArt(image, a.rect, resultsInk), "");
    }
}

TEST(ContentInSight, TitleKeysAndHintsStayAboveTheBottomBar) {
    const QImage image = picture(pack::file(pack::titlePicture));
    ASSERT_FALSE(image.isNull());
    // The stage's cream floor under the bar: no key, no shadow, no text.
    auto ink = [](const QImage& i, int x, int y) { return lightness(i.pixel(x, y)) < 200; };
    EXPECT_EQ(firstArt(image, QRect(0, kBottom, kRight, 440 - kBottom), ink), "");
}

TEST(ContentInSight, LevelDesksStayInSight) {
    for (int level = 1; level <= 4; ++level) {
        SCOPED_TRACE(level);
        const QImage image = picture(pack::levelPicture(level));
        ASSERT_FALSE(image.isNull());
        // The desk's plain gradient under the bottom bar, and right of the question bar and the
        // answer slots.
        const int deskTop = layout::niv::question.box.top() - 4;
        EXPECT_EQ(firstArt(image, QRect(0, kBottom, 640, 440 - kBottom),
                           [](const QImage& i, int x, int y) { return breaksItsRow(i, x, y, 0); }),
                  "");
        EXPECT_EQ(
            firstArt(image, QRect(kRight, deskTop, 640 - kRight, kBottom - deskTop),
                     [](const QImage& i, int x, int y) { return breaksItsRow(i, x, y, 639); }),
            "");
    }
}

}  // namespace content_clearance_test
