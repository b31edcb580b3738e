// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The default pack's pictures: backgrounds that keep every screen's texts readable where the
// layouts put them, faces that sit on the character, clear marks and a red alarm.

#include "core/layout.h"

#include <QColor>
#include <QImage>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <set>
#include <vector>

#include "support/defaultpack.h"

#include <gtest/gtest.h>

namespace content_pictures_test {

using namespace vorn::test;
using vorn::TextPlacement;
namespace L = vorn::layout;

// Contrast ratio (as in WCAG) between `text` and the mean luminance of the area behind it.
double contrast(const QImage& image, const QRect& area, const QColor& text) {
    double sum = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) sum += luminance(image.pixel(x, y));
    const double back = sum / (area.width() * area.height());
    const double fore = luminance(text.rgb());
    return (std::max(back, fore) + 0.05) / (std::min(back, fore) + 0.05);
}

const QColor kNavy(0, 0, 128), kAqua(0, 255, 255), kGreen(0, 128, 0), kWhite(255, 255, 255),
    kBlue(0, 0, 255);

TEST(ContentPictures, LevelScreensKeepTheirTextsReadable) {
    for (int level = 1; level <= 4; ++level) {
        SCOPED_TRACE(level);
        const QImage bg = picture(QStringLiteral("image/niv%1.jpg").arg(level));
        ASSERT_EQ(bg.size(), L::screen.size());
        // Where texts sized to them show, for texts such as "-4500", "10/10" and "100%".
        EXPECT_GT(contrast(bg, QRect(24, 12, 84, 28), kNavy), 4.5);  // score, right of 90
        EXPECT_GT(contrast(bg, QRect(L::niv::numquest.box.topLeft() + QPoint(0, 4), QSize(76, 26)),
                           kGreen),
                  3.0);  // counter, large bold
        EXPECT_GT(contrast(bg, QRect(L::niv::pourcent.box.topLeft() + QPoint(0, 4), QSize(98, 30)),
                           kAqua),
                  4.5);
        EXPECT_GT(contrast(bg, L::niv::question.box, kWhite), 4.5);
        for (const TextPlacement& answer : L::niv::reponse)
            EXPECT_GT(contrast(bg, answer.box, kWhite), 4.5);
    }
}

TEST(ContentPictures, LevelsLookDifferentAndTheBonusStandsOut) {
    std::vector<std::array<double, 3>> means;
    for (int level = 1; level <= 4; ++level) {
        const QImage bg = picture(QStringLiteral("image/niv%1.jpg").arg(level));
        std::array<double, 3> m{};
        int n = 0;
        for (int y = 60; y < 280; y += 2)
            for (int x = 150; x < 480; x += 2) {
                const QRgb p = bg.pixel(x, y);
                m[0] += qRed(p), m[1] += qGreen(p), m[2] += qBlue(p), ++n;
            }
        for (double& c : m) c /= n;
        means.push_back(m);
    }
    for (std::size_t a = 0; a < 4; ++a)
        for (std::size_t b = a + 1; b < 4; ++b) {
            double d = 0;
            for (int c = 0; c < 3; ++c)
                d = std::max(d, std::abs(means[a][static_cast<std::size_t>(c)] -
                                         means[b][static_cast<std::size_t>(c)]));
            EXPECT_GT(d, 30) << "levels " << a + 1 << " and " << b + 1;
        }
    // The bonus level is the night one: the darkest of the four behind its title.
    for (std::size_t a = 0; a < 3; ++a) {
        const double lit = means[a][0] + means[a][1] + means[a][2];
        EXPECT_LT(means[3][0] + means[3][1] + means[3][2], lit - 120) << a + 1;
    }
}

TEST(ContentPictures, TitleLeavesACalmPlaceForThePrompt) {
    const QImage bg = picture("image/titre.jpg");
    ASSERT_EQ(bg.size(), QSize(640, 440));
    const QRect prompt(L::ecrantitre::Label1.box.topLeft(), QSize(300, 30));
    EXPECT_GT(contrast(bg, prompt, kBlue), 4.5);
    double lo = 1, hi = 0;
    for (int y = prompt.top(); y <= prompt.bottom(); ++y)
        for (int x = prompt.left(); x <= prompt.right(); ++x) {
            lo = std::min(lo, luminance(bg.pixel(x, y)));
            hi = std::max(hi, luminance(bg.pixel(x, y)));
        }
    EXPECT_LT(hi - lo, 0.12);
}

TEST(ContentPictures, ResultsBackgroundTakesNavyTextEverywhere) {
    const QImage bg = picture("image/resultats.jpg");
    ASSERT_EQ(bg.size(), QSize(640, 440));
    // Every place where the results, name-entry and high-score screens write.
    for (int y = 20; y + 20 <= 396; y += 20)
        for (int x = 18; x + 20 <= 616; x += 20)
            EXPECT_GT(contrast(bg, QRect(x, y, 20, 20), kNavy), 7) << x << "," << y;
}

QRgb keyOf(const QImage& image) {
    return image.pixel(0, image.height() - 1) | 0xFF000000u;
}

bool shown(const QImage& image, int x, int y) {
    return (image.pixel(x, y) | 0xFF000000u) != keyOf(image);
}

TEST(ContentPictures, FacesSitOnTheCharactersHead) {
    const QImage body = picture("image/aliasMb.bmp");
    ASSERT_EQ(body.size(), QSize(85, 115));
    std::vector<QImage> faces;
    for (char c = 'a'; c <= 'e'; ++c) {
        SCOPED_TRACE(c);
        const QImage face = picture(QStringLiteral("image/aliasMb-%1.bmp").arg(QChar(c)));
        ASSERT_EQ(face.size(), body.size());
        EXPECT_EQ(keyOf(face), keyOf(body));
        int drawn = 0, offBody = 0;
        for (int y = 0; y < face.height(); ++y)
            for (int x = 0; x < face.width(); ++x)
                if (shown(face, x, y)) {
                    ++drawn;
                    offBody += !shown(body, x, y);
                }
        EXPECT_GT(drawn, 60);
        EXPECT_EQ(offBody, 0);
        faces.push_back(face);
    }
    for (std::size_t a = 0; a < faces.size(); ++a)
        for (std::size_t b = a + 1; b < faces.size(); ++b)
            EXPECT_NE(faces[a], faces[b]) << a << " " << b;
}

// The see-through colour only surrounds the drawing: no hole inside lets the screen through.
int holes(const QImage& image) {
    const int w = image.width(), h = image.height();
    std::vector<char> reached(static_cast<std::size_t>(w * h), 0);
    std::vector<QPoint> todo;
    for (int x = 0; x < w; ++x) todo.insert(todo.end(), {QPoint(x, 0), QPoint(x, h - 1)});
    for (int y = 0; y < h; ++y) todo.insert(todo.end(), {QPoint(0, y), QPoint(w - 1, y)});
    while (!todo.empty()) {
        const QPoint p = todo.back();
        todo.pop_back();
        if (p.x() < 0 || p.y() < 0 || p.x() >= w || p.y() >= h) continue;
        auto& seen = reached[static_cast<std::size_t>(p.y() * w + p.x())];
        if (seen || shown(image, p.x(), p.y())) continue;
        seen = 1;
        todo.insert(todo.end(),
                    {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)});
    }
    int count = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            count += !shown(image, x, y) && !reached[static_cast<std::size_t>(y * w + x)];
    return count;
}

TEST(ContentPictures, CharacterAndMarksHaveNoHoles) {
    for (const char* file : {"image/aliasMb.bmp", "image/juste.bmp", "image/faux.bmp"}) {
        const QImage image = picture(file);
        EXPECT_EQ(holes(image), 0) << file;
        EXPECT_EQ(image.pixelColor(0, image.height() - 1), QColor(255, 0, 255)) << file;
    }
}

TEST(ContentPictures, MarksAreGreenForRightAndRedForWrong) {
    auto count = [](const QImage& mark, bool green) {
        int n = 0;
        for (int y = 0; y < mark.height(); ++y)
            for (int x = 0; x < mark.width(); ++x) {
                if (!shown(mark, x, y)) continue;
                const QRgb p = mark.pixel(x, y);
                n += green ? qGreen(p) > qRed(p) + 60 && qGreen(p) > qBlue(p) + 40
                           : qRed(p) > qGreen(p) + 60 && qRed(p) > qBlue(p) + 60;
            }
        return n;
    };
    const QImage right = picture("image/juste.bmp"), wrong = picture("image/faux.bmp");
    ASSERT_EQ(right.size(), QSize(35, 35));
    ASSERT_EQ(wrong.size(), QSize(35, 35));
    EXPECT_GT(count(right, true), 120);
    EXPECT_EQ(count(right, false), 0);
    EXPECT_GT(count(wrong, false), 120);
    EXPECT_EQ(count(wrong, true), 0);
}

// The band of the alarm's box that the hourglass (in front of it) leaves uncovered, in the
// alarm's own coordinates.
bool inAlarmRing(int x, int y) {
    const QRect hourglass = L::niv::sablier.box.translated(-L::niv::alarme.box.topLeft());
    return !hourglass.contains(x, y);
}

TEST(ContentPictures, AlarmLightsUpRedAroundTheStoppedHourglass) {
    const QImage alarm = picture("image/alarme.bmp");
    ASSERT_EQ(alarm.size(), L::niv::alarme.box.size());
    int ring = 0, red = 0;
    for (int y = 0; y < alarm.height(); ++y)
        for (int x = 0; x < alarm.width(); ++x) {
            if (!inAlarmRing(x, y)) continue;
            const QRgb p = alarm.pixel(x, y);
            ++ring;
            red += qRed(p) > 180 && qGreen(p) < 90 && qBlue(p) < 90;
        }
    EXPECT_GT(red, ring * 9 / 10);
}

TEST(ContentPictures, HourglassPlaceIsSilverOnEveryLevel) {
    // Without a time-out the alarm's place around the hourglass shows the background: silver,
    // like the hourglass's own background, so that the hourglass stands in a clean frame.
    for (int level = 1; level <= 4; ++level) {
        const QImage bg = picture(QStringLiteral("image/niv%1.jpg").arg(level));
        int ring = 0, silver = 0;
        const QRect alarm = L::niv::alarme.box;
        for (int y = alarm.top(); y <= alarm.bottom(); ++y)
            for (int x = alarm.left(); x <= alarm.right(); ++x) {
                // The ring, less its outer pixels where the background's own edge may blend.
                if (!inAlarmRing(x - alarm.left(), y - alarm.top()) ||
                    !alarm.adjusted(3, 3, -3, -3).contains(x, y))
                    continue;
                const QColor c = bg.pixelColor(x, y);
                ++ring;
                silver += std::abs(c.red() - 192) < 12 && std::abs(c.green() - 192) < 12 &&
                          std::abs(c.blue() - 192) < 12;
            }
        EXPECT_GT(silver, ring * 9 / 10) << level;
    }
}

}  // namespace content_pictures_test
