// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Drawing helpers shared by every picture and video of the content pack, so that they share one
// look: gradients, sunbursts, outlined titles, stars, rounded panels, and a small seeded random
// generator that gives the same numbers on every build.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QRadialGradient>
#include <QRectF>
#include <QString>

#include <cstdint>
#include <vector>

namespace vorn::gen {

// The palette of the pack.
namespace palette {
inline const QColor ink(20, 28, 64);       // outlines and dark text
inline const QColor night(11, 18, 48);     // dark panels
inline const QColor desk(14, 24, 62);      // the answer desk of the level screens
inline const QColor cream(255, 248, 231);  // light cards
inline const QColor ivory(252, 247, 236);  // the results background
inline const QColor gold(255, 201, 60);
inline const QColor deepGold(214, 141, 18);
inline const QColor silver(192, 192, 192);    // the hourglass background
inline const QColor teal(38, 181, 170);       // level 1
inline const QColor coral(244, 120, 66);      // level 2
inline const QColor violet(126, 87, 194);     // level 3
inline const QColor magentaKey(255, 0, 255);  // the see-through colour of the BMP pictures
inline const QColor titleSky(30, 58, 140);    // the title's sunburst, its rays in titleRay
inline const QColor titleRay(40, 78, 168);
}  // namespace palette

// Accent colour of a level (1 to 4).
QColor levelAccent(int level);

// Linear mix: t = 0 gives a, t = 1 gives b.
QColor mix(const QColor& a, const QColor& b, double t);
QColor withAlpha(QColor c, int alpha);

// A small deterministic generator (SplitMix64): the same seed gives the same numbers everywhere,
// unlike the distributions of <random>.
class Rng {
  public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next();
    // Uniform in [0, 1).
    double uniform();
    double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    // Uniform integer in [0, n).
    int below(int n);

  private:
    std::uint64_t state_;
};

// A painter with antialiasing on, for drawing into `image`.
void beginPainter(QPainter& p, QImage& image);

// A font by family and pixel size.
QFont font(const QString& family, int pixelSize, int weight = QFont::Normal, bool italic = false);
QFont latoBlack(int pixelSize);
QFont lobster(int pixelSize);

// The outline of `text` with its visual centre at `centre`.
QPainterPath textPath(const QString& text, const QFont& font, QPointF centre);

// A title: drop shadow, extrusion of `depth` pixels, outline and a fill with a light top.
struct TitleStyle {
    QColor top = palette::gold.lighter(130);
    QColor bottom = palette::gold;
    QColor outline = palette::ink;
    QColor extrusion = palette::deepGold.darker(160);
    double outlineWidth = 5;
    int depth = 4;
    double shadowAlpha = 0.35;
};
void drawTitle(QPainter& p, const QPainterPath& path, const TitleStyle& style);

// Rays turning around `centre`, alternating two colours; `angle` in degrees turns them.
void drawSunburst(QPainter& p, QPointF centre, int rays, double radius, const QColor& a,
                  const QColor& b, double angle = 0);

// The title's vignette around `centre`: a light heart, dark edges at `radius`.
QRadialGradient titleVignette(QPointF centre, double radius);

// A vertical gradient filling `rect` through `colours` spread evenly from top to bottom.
void fillVertical(QPainter& p, const QRectF& rect, const std::vector<QColor>& colours);

// A star with `points` tips.
QPainterPath starPath(QPointF centre, double outer, double inner, int points = 5,
                      double angle = -90);
// A four-pointed sparkle.
void drawSparkle(QPainter& p, QPointF centre, double size, const QColor& colour);

// A soft round glow fading to transparent.
void drawGlow(QPainter& p, QPointF centre, double radius, const QColor& colour);

// A rounded panel with an optional border.
void drawPanel(QPainter& p, const QRectF& rect, double radius, const QColor& fill,
               const QColor& border = Qt::transparent, double borderWidth = 0);

// The picture with the see-through colour: pixels whose alpha is under half become `key`; the
// others are laid over `over` (the colour they will be seen against), so that the antialiased
// edges carry no trace of the key colour. Returns a 24-bit picture.
QImage flattenOnKey(const QImage& argb, const QColor& over, const QColor& key);

}  // namespace vorn::gen
