// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "content/gen/pictures.h"

#include "content/gen/paint.h"
#include "core/layout.h"
#include "core/numbers.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vorn::gen {

namespace {

using namespace palette;

// The main window shows a screen under its scroll bars: what must be seen (frames, ornaments,
// texts) stays left of and above them.
constexpr double kVisibleRight = layout::principal::visibleWidth;
constexpr double kVisibleBottom = layout::principal::visibleHeight;

const QColor kSkin(247, 202, 164);
const QColor kSkinShade(228, 168, 128);
const QColor kHair(110, 62, 36);
const QColor kJacket(40, 64, 126);
const QColor kShirt(250, 250, 252);
const QColor kCheek(240, 120, 120);

// ---------------------------------------------------------------- shared decorations

// The four level colours as a thin striped band: the mark of the pack on every screen.
void drawLevelStripe(QPainter& p, const QRectF& band) {
    const double w = band.width() / 4.0;
    for (int i = 0; i < 4; ++i)
        p.fillRect(QRectF(band.left() + i * w, band.top(), w + 0.5, band.height()),
                   levelAccent(i + 1));
}

void drawCloud(QPainter& p, QPointF at, double size, const QColor& colour) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    QPainterPath cloud;
    cloud.setFillRule(Qt::WindingFill);
    cloud.addEllipse(at + QPointF(-size * 0.9, -size * 0.05), size * 0.55, size * 0.4);
    cloud.addEllipse(at + QPointF(-size * 0.3, -size * 0.35), size * 0.6, size * 0.55);
    cloud.addEllipse(at + QPointF(size * 0.35, -size * 0.25), size * 0.55, size * 0.45);
    cloud.addEllipse(at + QPointF(size * 0.9, 0), size * 0.5, size * 0.35);
    cloud.addRoundedRect(QRectF(at.x() - size * 1.3, at.y() - size * 0.1, size * 2.6, size * 0.45),
                         size * 0.22, size * 0.22);
    p.drawPath(cloud);
    p.restore();
}

// A hill crest: a band below a gentle wave.
QPainterPath hillPath(double width, double base, double amplitude, double wavelength, double phase,
                      double bottom) {
    QPainterPath path;
    path.moveTo(-10, bottom);
    for (double x = -10; x <= width + 10; x += 4) {
        const double y =
            base - amplitude * std::sin((x / wavelength + phase) * 2 * std::numbers::pi) -
            amplitude * 0.35 *
                std::sin((x / (wavelength * 0.43) + phase * 1.7) * 2 * std::numbers::pi);
        path.lineTo(x, y);
    }
    path.lineTo(width + 10, bottom);
    path.closeSubpath();
    return path;
}

void drawTree(QPainter& p, QPointF foot, double size, const QColor& leaves) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 80, 50));
    p.drawRect(QRectF(foot.x() - size * 0.08, foot.y() - size * 0.55, size * 0.16, size * 0.55));
    p.setBrush(leaves);
    p.drawEllipse(QPointF(foot.x(), foot.y() - size * 0.8), size * 0.38, size * 0.42);
    p.setBrush(leaves.lighter(115));
    p.drawEllipse(QPointF(foot.x() - size * 0.1, foot.y() - size * 0.9), size * 0.18, size * 0.18);
    p.restore();
}

void drawStars(QPainter& p, const QRectF& area, int count, std::uint64_t seed, double time,
               const QColor& colour) {
    Rng rng(seed);
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const QPointF at(area.left() + rng.uniform() * area.width(),
                         area.top() + rng.uniform() * area.height());
        const double size = rng.range(0.6, 1.8);
        const double twinkle = 0.6 + 0.4 * std::sin(time * rng.range(2, 5) + rng.range(0, 6.3));
        p.setBrush(withAlpha(colour, static_cast<int>(255 * twinkle)));
        if (size > 1.5)
            drawSparkle(p, at, size * 3.2, withAlpha(colour, static_cast<int>(230 * twinkle)));
        else
            p.drawEllipse(at, size, size);
    }
    p.restore();
}

void trophy(QPainter& p, QPointF foot, double height) {
    p.save();
    const double s = height / 100.0;
    p.translate(foot);
    p.scale(s, s);
    QLinearGradient metal(-40, 0, 40, 0);
    metal.setColorAt(0, deepGold);
    metal.setColorAt(0.35, gold.lighter(135));
    metal.setColorAt(0.6, gold);
    metal.setColorAt(1, deepGold.darker(120));
    p.setPen(QPen(ink, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    // Handles.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink, 9, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(-52, -92, 30, 34), 90 * 16, 180 * 16);
    p.drawArc(QRectF(22, -92, 30, 34), -90 * 16, 180 * 16);
    p.setPen(QPen(gold, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(-52, -92, 30, 34), 90 * 16, 180 * 16);
    p.drawArc(QRectF(22, -92, 30, 34), -90 * 16, 180 * 16);
    p.setPen(QPen(ink, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(metal);
    // Base, stem and cup.
    p.drawRoundedRect(QRectF(-30, -14, 60, 14), 3, 3);
    p.drawRect(QRectF(-20, -24, 40, 10));
    QPainterPath stem;
    stem.moveTo(-6, -24);
    stem.lineTo(-4, -46);
    stem.lineTo(4, -46);
    stem.lineTo(6, -24);
    stem.closeSubpath();
    p.drawPath(stem);
    QPainterPath cup;
    cup.moveTo(-34, -100);
    cup.lineTo(34, -100);
    cup.cubicTo(34, -64, 20, -48, 0, -46);
    cup.cubicTo(-20, -48, -34, -64, -34, -100);
    cup.closeSubpath();
    p.drawPath(cup);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawRoundedRect(QRectF(-24, -94, 7, 34), 3.5, 3.5);
    p.setBrush(ink);
    p.drawPath(starPath(QPointF(4, -76), 12, 5));
    p.setBrush(gold.lighter(140));
    p.drawPath(starPath(QPointF(4, -76), 9, 3.8));
    p.restore();
}

// ---------------------------------------------------------------- level sceneries (640 x 440)

void sceneryMorning(QPainter& p, double time) {
    fillVertical(p, QRectF(0, 0, 640, 300),
                 {QColor(96, 196, 236), QColor(164, 222, 243), QColor(226, 246, 246)});
    drawGlow(p, QPointF(600, 26), 90, QColor(255, 244, 190, 200));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 236, 150));
    p.drawEllipse(QPointF(600, 26), 30, 30);
    p.setBrush(QColor(255, 248, 210));
    p.drawEllipse(QPointF(596, 22), 20, 20);
    const double drift = time * 6;
    drawCloud(p, QPointF(std::fmod(235 + drift, 760) - 60, 148), 26, QColor(255, 255, 255, 235));
    drawCloud(p, QPointF(std::fmod(430 + drift * 0.7, 760) - 60, 124), 20,
              QColor(255, 255, 255, 220));
    drawCloud(p, QPointF(std::fmod(560 + drift * 1.2, 760) - 60, 190), 16,
              QColor(255, 255, 255, 200));
    drawCloud(p, QPointF(std::fmod(70 + drift * 0.9, 760) - 60, 262), 18,
              QColor(255, 255, 255, 210));
    p.setBrush(QColor(150, 214, 178));
    p.drawPath(hillPath(640, 222, 10, 300, 0.15, 440));
    p.setBrush(QColor(98, 190, 140));
    p.drawPath(hillPath(640, 246, 12, 260, 0.6, 440));
    drawTree(p, QPointF(214, 246), 34, QColor(52, 140, 96));
    drawTree(p, QPointF(236, 249), 26, QColor(62, 156, 104));
    drawTree(p, QPointF(430, 242), 30, QColor(52, 140, 96));
    p.setBrush(QColor(58, 158, 110));
    p.drawPath(hillPath(640, 268, 8, 340, 0.3, 440));
    // Birds.
    p.setPen(QPen(QColor(40, 70, 90), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (QPointF b : {QPointF(330, 118), QPointF(346, 110), QPointF(362, 120)}) {
        b += QPointF(time * 9, -std::sin(time) * 2);
        QPainterPath bird;
        bird.moveTo(b + QPointF(-6, 0));
        bird.quadTo(b + QPointF(-3, -4), b);
        bird.quadTo(b + QPointF(3, -4), b + QPointF(6, 0));
        p.drawPath(bird);
    }
}

void scenerySunset(QPainter& p, double time) {
    const double horizon = 232;
    fillVertical(p, QRectF(0, 0, 640, horizon),
                 {QColor(250, 140, 110), QColor(255, 178, 120), QColor(255, 226, 170)});
    drawGlow(p, QPointF(318, horizon), 170, QColor(255, 240, 190, 210));
    p.setPen(Qt::NoPen);
    QRadialGradient sun(QPointF(318, horizon - 10), 62);
    sun.setColorAt(0, QColor(255, 250, 215));
    sun.setColorAt(1, QColor(255, 208, 112));
    p.setBrush(sun);
    p.drawEllipse(QPointF(318, horizon), 58, 58);
    drawCloud(p, QPointF(std::fmod(190 + time * 5, 760) - 60, 150), 22, QColor(255, 214, 190, 200));
    drawCloud(p, QPointF(std::fmod(470 + time * 4, 760) - 60, 126), 18, QColor(255, 222, 200, 190));
    // Far islands.
    p.setBrush(QColor(206, 110, 110));
    QPainterPath islands;
    islands.moveTo(120, horizon);
    islands.cubicTo(150, horizon - 22, 190, horizon - 26, 230, horizon);
    islands.moveTo(450, horizon);
    islands.cubicTo(480, horizon - 14, 520, horizon - 16, 560, horizon);
    p.drawPath(islands);
    // The sea and the sun's reflection.
    fillVertical(
        p, QRectF(0, horizon, 640, 440 - horizon),
        {QColor(238, 128, 108), QColor(196, 86, 100), QColor(150, 60, 96), QColor(110, 44, 84)});
    Rng rng(7);
    for (int i = 0; i < 24; ++i) {
        const double y = horizon + 4 + i * 2.2;
        const double half = 60 - i * 1.6 + rng.range(-6, 6);
        const double shift = 6 * std::sin(time * 2 + i);
        p.setBrush(QColor(255, 224, 170, 190 - i * 6));
        p.drawRoundedRect(QRectF(318 - half + shift, y, 2 * half, 1.4), 0.7, 0.7);
    }
    // A sailing boat.
    const double bx = 468 - time * 4;
    p.setBrush(QColor(110, 40, 70));
    QPainterPath hull;
    hull.moveTo(bx - 18, horizon - 4);
    hull.lineTo(bx + 18, horizon - 4);
    hull.lineTo(bx + 12, horizon + 3);
    hull.lineTo(bx - 12, horizon + 3);
    hull.closeSubpath();
    p.drawPath(hull);
    QPainterPath sail;
    sail.moveTo(bx, horizon - 40);
    sail.lineTo(bx + 16, horizon - 7);
    sail.lineTo(bx, horizon - 7);
    sail.closeSubpath();
    sail.moveTo(bx - 3, horizon - 34);
    sail.lineTo(bx - 3, horizon - 7);
    sail.lineTo(bx - 16, horizon - 7);
    sail.closeSubpath();
    p.drawPath(sail);
    // Gulls.
    p.setPen(QPen(QColor(120, 50, 70), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (QPointF b : {QPointF(250, 108), QPointF(268, 118), QPointF(400, 96)}) {
        b += QPointF(time * 7, std::sin(time * 1.3) * 2);
        QPainterPath bird;
        bird.moveTo(b + QPointF(-7, 0));
        bird.quadTo(b + QPointF(-3, -5), b);
        bird.quadTo(b + QPointF(3, -5), b + QPointF(7, 0));
        p.drawPath(bird);
    }
}

QPainterPath ridgePath(double width, double base, const std::vector<QPointF>& peaks,
                       double bottom) {
    QPainterPath path;
    path.moveTo(-10, bottom);
    path.lineTo(-10, base);
    for (const QPointF& peak : peaks) path.lineTo(peak);
    path.lineTo(width + 10, base);
    path.lineTo(width + 10, bottom);
    path.closeSubpath();
    return path;
}

void sceneryDusk(QPainter& p, double time) {
    fillVertical(
        p, QRectF(0, 0, 640, 300),
        {QColor(58, 44, 112), QColor(120, 78, 164), QColor(226, 138, 172), QColor(248, 196, 170)});
    drawStars(p, QRectF(0, 0, 640, 150), 70, 31, time, QColor(255, 250, 230));
    // Crescent moon.
    p.setPen(Qt::NoPen);
    drawGlow(p, QPointF(446, 128), 40, QColor(255, 240, 200, 120));
    QPainterPath moon;
    moon.addEllipse(QPointF(446, 128), 17, 17);
    QPainterPath bite;
    bite.addEllipse(QPointF(454, 122), 15, 15);
    p.setBrush(QColor(255, 243, 205));
    p.drawPath(moon.subtracted(bite));
    p.setBrush(QColor(170, 118, 180));
    p.drawPath(ridgePath(640, 220,
                         {{40, 196},
                          {110, 160},
                          {170, 200},
                          {240, 150},
                          {320, 204},
                          {390, 168},
                          {470, 206},
                          {540, 162},
                          {610, 196}},
                         300));
    p.setBrush(QColor(122, 82, 160));
    p.drawPath(ridgePath(640, 250,
                         {{0, 220},
                          {80, 196},
                          {150, 236},
                          {210, 190},
                          {290, 240},
                          {360, 200},
                          {430, 238},
                          {500, 206},
                          {580, 236},
                          {640, 210}},
                         300));
    // Snow caps on the far ridge.
    p.setBrush(QColor(240, 226, 240, 200));
    for (QPointF peak : {QPointF(110, 160), QPointF(240, 150), QPointF(540, 162)}) {
        QPainterPath cap;
        cap.moveTo(peak);
        cap.lineTo(peak + QPointF(-11, 10));
        cap.lineTo(peak + QPointF(-3, 7));
        cap.lineTo(peak + QPointF(3, 11));
        cap.lineTo(peak + QPointF(10, 8));
        cap.closeSubpath();
        p.drawPath(cap);
    }
    p.setBrush(QColor(84, 56, 122));
    p.drawPath(hillPath(640, 270, 8, 220, 0.2, 440));
}

void sceneryBonus(QPainter& p, double time) {
    fillVertical(p, QRectF(0, 0, 640, 300),
                 {QColor(8, 12, 40), QColor(20, 26, 76), QColor(46, 30, 92)});
    p.save();
    p.setClipRect(QRectF(0, 0, 640, 282));
    p.setCompositionMode(QPainter::CompositionMode_Plus);
    drawSunburst(p, QPointF(315, 190), 28, 520, Qt::transparent, QColor(64, 46, 10), time * 8);
    p.restore();
    fillVertical(p, QRectF(0, 282, 640, 158), {QColor(30, 22, 70), QColor(12, 12, 40)});
    drawGlow(p, QPointF(315, 190), 150, QColor(255, 200, 80, 110));
    drawStars(p, QRectF(0, 0, 640, 280), 110, 44, time, QColor(255, 236, 170));
    drawStars(p, QRectF(0, 0, 640, 280), 40, 45, time + 1, QColor(255, 255, 255));
    // Gold skyline.
    Rng rng(12);
    p.setPen(Qt::NoPen);
    double x = -4;
    while (x < 644) {
        const double w = rng.range(22, 46);
        const double h = rng.range(18, 54);
        p.setBrush(QColor(24, 20, 56));
        p.drawRect(QRectF(x, 282 - h, w - 2, h));
        p.setBrush(QColor(255, 204, 92, 200));
        for (double wy = 282 - h + 5; wy < 276; wy += 8)
            for (double wx = x + 4; wx < x + w - 7; wx += 7)
                if (rng.uniform() < 0.45) p.drawRect(QRectF(wx, wy, 3, 4));
        x += w;
    }
    drawGlow(p, QPointF(318, 200), 70, QColor(255, 226, 130, 120));
    trophy(p, QPointF(318, 270), 118);
}

// ---------------------------------------------------------------- character

void faceEye(QPainter& p, QPointF c, double w, double h, QPointF look, double pupil) {
    p.setPen(QPen(ink, 1.3));
    p.setBrush(Qt::white);
    p.drawEllipse(c, w, h);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawEllipse(c + look, pupil, pupil);
    p.setBrush(Qt::white);
    p.drawEllipse(c + look + QPointF(-pupil * 0.35, -pupil * 0.4), pupil * 0.32, pupil * 0.32);
}

void faceBrow(QPainter& p, QPointF from, QPointF to, double bend) {
    QPainterPath brow;
    brow.moveTo(from);
    brow.quadTo((from + to) / 2 + QPointF(0, -bend), to);
    p.setPen(QPen(kHair.darker(130), 2.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(brow);
}

}  // namespace

void drawTrophy(QPainter& p, QPointF foot, double height) {
    trophy(p, foot, height);
}

void drawPlayerBody(QPainter& p) {
    p.save();
    p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    // Jacket and shoulders.
    QPainterPath body;
    body.moveTo(2, 115);
    body.lineTo(4, 100);
    body.cubicTo(6, 88, 18, 82, 32, 79);
    body.lineTo(53, 79);
    body.cubicTo(67, 82, 79, 88, 81, 100);
    body.lineTo(83, 115);
    body.closeSubpath();
    QLinearGradient cloth(0, 78, 0, 115);
    cloth.setColorAt(0, kJacket.lighter(125));
    cloth.setColorAt(1, kJacket);
    p.setBrush(cloth);
    p.drawPath(body);
    // Shirt opening and lapels.
    QPainterPath shirt;
    shirt.moveTo(32, 79);
    shirt.lineTo(53, 79);
    shirt.lineTo(42.5, 106);
    shirt.closeSubpath();
    p.setBrush(kShirt);
    p.drawPath(shirt);
    p.setBrush(kJacket.lighter(150));
    QPainterPath lapels;
    lapels.moveTo(32, 79);
    lapels.lineTo(25, 86);
    lapels.lineTo(36, 91);
    lapels.lineTo(42.5, 106);
    lapels.closeSubpath();
    lapels.moveTo(53, 79);
    lapels.lineTo(60, 86);
    lapels.lineTo(49, 91);
    lapels.lineTo(42.5, 106);
    lapels.closeSubpath();
    p.drawPath(lapels);
    // Neck.
    p.setBrush(kSkinShade);
    p.drawRoundedRect(QRectF(35, 64, 15, 17), 4, 4);
    // Bow tie in the pack's gold.
    p.setBrush(gold);
    QPainterPath tie;
    tie.moveTo(42.5, 83);
    tie.lineTo(33, 78);
    tie.lineTo(33, 89);
    tie.closeSubpath();
    tie.moveTo(42.5, 83);
    tie.lineTo(52, 78);
    tie.lineTo(52, 89);
    tie.closeSubpath();
    p.drawPath(tie);
    p.drawEllipse(QPointF(42.5, 83.5), 3, 3);
    // Ears.
    p.setBrush(kSkin);
    p.drawEllipse(QPointF(17.5, 46), 5.5, 7);
    p.drawEllipse(QPointF(67.5, 46), 5.5, 7);
    // Head.
    p.drawEllipse(QPointF(42.5, 43), 24.5, 26);
    // Hair: a rounded cap with a swept fringe.
    QPainterPath hair;
    hair.moveTo(18, 44);
    hair.cubicTo(14, 22, 28, 10, 44, 11);
    hair.cubicTo(60, 10, 72, 22, 67, 44);
    hair.cubicTo(64, 36, 62, 32, 59, 30);
    hair.cubicTo(54, 34, 44, 34, 38, 28);
    hair.cubicTo(34, 32, 28, 33, 24, 31);
    hair.cubicTo(21, 35, 20, 39, 18, 44);
    hair.closeSubpath();
    p.setBrush(kHair);
    p.drawPath(hair);
    p.setPen(QPen(kHair.lighter(150), 1.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(30, 15, 24, 14), 40 * 16, 100 * 16);
    // A small quiff.
    p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kHair);
    QPainterPath quiff;
    quiff.moveTo(40, 12);
    quiff.cubicTo(42, 4, 50, 3, 54, 6);
    quiff.cubicTo(49, 6, 47, 9, 47, 12);
    quiff.closeSubpath();
    p.drawPath(quiff);
    p.restore();
}

void drawPlayerFace(QPainter& p, int mood) {
    p.save();
    const QPointF left(33.5, 45), right(51.5, 45);
    const QPointF mouth(42.5, 59);
    auto cheeks = [&](int alpha) {
        p.setPen(Qt::NoPen);
        p.setBrush(withAlpha(kCheek, alpha));
        p.drawEllipse(QPointF(26, 55), 4.5, 3);
        p.drawEllipse(QPointF(59, 55), 4.5, 3);
    };
    p.setBrush(Qt::NoBrush);
    switch (mood) {
        case 0: {  // delighted: eyes closed with joy, big open grin
            cheeks(200);
            p.setPen(QPen(ink, 2.4, Qt::SolidLine, Qt::RoundCap));
            p.drawArc(QRectF(left.x() - 5.5, left.y() - 3, 11, 9), 20 * 16, 140 * 16);
            p.drawArc(QRectF(right.x() - 5.5, right.y() - 3, 11, 9), 20 * 16, 140 * 16);
            faceBrow(p, QPointF(27, 35), QPointF(38, 34), 3.5);
            faceBrow(p, QPointF(47, 34), QPointF(58, 35), 3.5);
            QPainterPath grin;
            grin.moveTo(mouth + QPointF(-12, -4));
            grin.quadTo(mouth + QPointF(0, -1), mouth + QPointF(12, -4));
            grin.cubicTo(mouth + QPointF(11, 8), mouth + QPointF(-11, 8), mouth + QPointF(-12, -4));
            p.setPen(QPen(ink, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(QColor(150, 30, 50));
            p.drawPath(grin);
            p.save();
            p.setClipPath(grin);
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(mouth.x() - 12, mouth.y() - 5, 24, 4.2));
            p.setBrush(QColor(240, 110, 120));
            p.drawEllipse(mouth + QPointF(0, 6), 6, 3.6);
            p.restore();
            break;
        }
        case 1: {  // pleased: open eyes, warm smile
            cheeks(140);
            faceEye(p, left, 4.2, 5, QPointF(0, 0.5), 2.4);
            faceEye(p, right, 4.2, 5, QPointF(0, 0.5), 2.4);
            faceBrow(p, QPointF(28, 36), QPointF(38, 35.5), 2.5);
            faceBrow(p, QPointF(47, 35.5), QPointF(57, 36), 2.5);
            QPainterPath smile;
            smile.moveTo(mouth + QPointF(-9, -2));
            smile.quadTo(mouth + QPointF(0, 7), mouth + QPointF(9, -2));
            p.setPen(QPen(ink, 2.3, Qt::SolidLine, Qt::RoundCap));
            p.drawPath(smile);
            break;
        }
        case 2: {  // unsure: glance aside, one brow up, flat mouth
            faceEye(p, left, 4.2, 5, QPointF(1.6, -0.4), 2.4);
            faceEye(p, right, 4.2, 5, QPointF(1.6, -0.4), 2.4);
            faceBrow(p, QPointF(28, 37), QPointF(38, 37), 0.5);
            faceBrow(p, QPointF(47, 33.5), QPointF(57, 34), 3.5);
            QPainterPath flat;
            flat.moveTo(mouth + QPointF(-7, 1));
            flat.cubicTo(mouth + QPointF(-3, -1), mouth + QPointF(2, 2), mouth + QPointF(7, 0));
            p.setPen(QPen(ink, 2.3, Qt::SolidLine, Qt::RoundCap));
            p.drawPath(flat);
            break;
        }
        case 3: {  // worried: brows up in the middle, small frown
            faceEye(p, left, 4.2, 5.2, QPointF(0, 0.8), 2.3);
            faceEye(p, right, 4.2, 5.2, QPointF(0, 0.8), 2.3);
            faceBrow(p, QPointF(28, 37), QPointF(38, 33), -0.5);
            faceBrow(p, QPointF(47, 33), QPointF(57, 37), -0.5);
            QPainterPath frown;
            frown.moveTo(mouth + QPointF(-8, 3));
            frown.quadTo(mouth + QPointF(0, -4), mouth + QPointF(8, 3));
            p.setPen(QPen(ink, 2.3, Qt::SolidLine, Qt::RoundCap));
            p.drawPath(frown);
            break;
        }
        default: {  // dismayed: wide eyes, open mouth, tear and sweat
            faceEye(p, left, 4.8, 6, QPointF(0, 0.6), 1.6);
            faceEye(p, right, 4.8, 6, QPointF(0, 0.6), 1.6);
            faceBrow(p, QPointF(27, 37), QPointF(38, 31), -1.5);
            faceBrow(p, QPointF(47, 31), QPointF(58, 37), -1.5);
            QPainterPath open;
            open.addEllipse(mouth + QPointF(0, 1.5), 5.5, 6.5);
            p.setPen(QPen(ink, 1.5));
            p.setBrush(QColor(120, 24, 44));
            p.drawPath(open);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(240, 110, 120));
            p.drawEllipse(mouth + QPointF(0, 5), 3.2, 2.2);
            // A tear below the left eye, a drop of sweat on the temple.
            const QColor drop(90, 170, 240);
            p.setPen(QPen(QColor(40, 100, 180), 1));
            p.setBrush(drop);
            QPainterPath tear;
            tear.moveTo(29, 51);
            tear.cubicTo(26, 56, 27, 59, 29, 59);
            tear.cubicTo(31, 59, 32, 56, 29, 51);
            p.drawPath(tear);
            QPainterPath sweat;
            sweat.moveTo(60, 38);
            sweat.cubicTo(56, 44, 57, 47, 60, 47);
            sweat.cubicTo(63, 47, 64, 44, 60, 38);
            p.drawPath(sweat);
            break;
        }
    }
    p.restore();
}

void drawGameName(QPainter& p, QPointF centre, double scale, double reveal) {
    p.save();
    p.translate(centre);
    p.scale(scale, scale);
    TitleStyle style;
    style.depth = 6;
    style.outlineWidth = 7;
    const QString first = QStringLiteral("V.O.R.N.");
    const QString second = QStringLiteral("VOZID");
    const QFont f1 = latoBlack(86);
    const QFont f2 = latoBlack(118);
    // The letters appear one by one, each dropping into place.
    const int total = static_cast<int>(first.size() + second.size());
    auto drawLine = [&](const QString& text, const QFont& f, double y, int offset) {
        QPainterPath whole;
        whole.addText(0, 0, f, text);
        const QPointF shift = QPointF(0, y) - whole.boundingRect().center();
        if (reveal >= 1.0) {
            drawTitle(p, whole.translated(shift), style);
            return;
        }
        const QFontMetricsF fm(f);
        for (int i = 0; i < text.size(); ++i) {
            const double shown = std::clamp(reveal * total - (offset + i), 0.0, 1.0);
            if (shown <= 0) continue;
            QPainterPath letter;
            letter.addText(fm.horizontalAdvance(text.left(i)), 0, f, text.mid(i, 1));
            const double drop = -70 * (1 - shown) * (1 - shown);
            p.save();
            p.setOpacity(shown);
            drawTitle(p, letter.translated(shift + QPointF(0, drop)), style);
            p.restore();
        }
    };
    drawLine(first, f1, -62, 0);
    drawLine(second, f2, 44, static_cast<int>(first.size()));
    p.restore();
}

void drawLevelScenery(QPainter& p, int level, QSizeF size, double time) {
    p.save();
    p.scale(size.width() / kScreenWidth, size.height() / kScreenHeight);
    switch (level) {
        case 1:
            sceneryMorning(p, time);
            break;
        case 2:
            scenerySunset(p, time);
            break;
        case 3:
            sceneryDusk(p, time);
            break;
        default:
            sceneryBonus(p, time);
            break;
    }
    p.restore();
}

// ---------------------------------------------------------------- backgrounds

QImage titlePicture() {
    QImage image(kScreenWidth, kScreenHeight, QImage::Format_RGB32);
    QPainter p;
    beginPainter(p, image);
    drawSunburst(p, QPointF(320, 150), 32, 700, titleSky, titleRay, 0);
    p.fillRect(image.rect(), titleVignette(QPointF(320, 150), 460));
    drawStars(p, QRectF(0, 0, 640, 290), 60, 3, 0, QColor(255, 240, 190));
    // Floating question marks in the level colours.
    Rng rng(5);
    const QFont mark = latoBlack(44);
    for (int i = 0; i < 8; ++i) {
        const double x = i % 2 == 0 ? rng.range(20, 120) : rng.range(500, kVisibleRight - 40);
        const double y = rng.range(30, 250);
        p.save();
        p.translate(x, y);
        p.rotate(rng.range(-25, 25));
        p.setPen(Qt::NoPen);
        p.setBrush(withAlpha(levelAccent(i % 4 + 1), 150));
        p.drawPath(textPath(QStringLiteral("?"), mark, QPointF(0, 0)));
        p.restore();
    }
    drawGlow(p, QPointF(320, 130), 220, QColor(255, 220, 120, 70));
    drawGameName(p, QPointF(320, 138), 1.0);
    // Ribbon with the subtitle.
    const QRectF ribbon(120, 238, 400, 40);
    p.setPen(Qt::NoPen);
    p.setBrush(deepGold.darker(130));
    for (double side : {-1.0, 1.0}) {
        const double x = side < 0 ? ribbon.left() : ribbon.right();
        QPainterPath tail;
        tail.moveTo(x, ribbon.top() + 8);
        tail.lineTo(x + side * 34, ribbon.top() + 8);
        tail.lineTo(x + side * 22, ribbon.center().y() + 4);
        tail.lineTo(x + side * 34, ribbon.bottom() + 8);
        tail.lineTo(x, ribbon.bottom() + 8);
        tail.closeSubpath();
        p.drawPath(tail);
    }
    drawPanel(p, ribbon, 6, cream, ink, 2.5);
    p.setPen(ink);
    p.setFont(lobster(26));
    p.drawText(ribbon.adjusted(0, -2, 0, 0), Qt::AlignCenter,
               QStringLiteral("le grand quiz de culture g\u00e9n\u00e9rale"));
    // The stage: a light floor carrying the prompt.
    QPainterPath stage;
    stage.moveTo(0, 300);
    stage.quadTo(320, 282, 640, 300);
    stage.lineTo(640, 440);
    stage.lineTo(0, 440);
    stage.closeSubpath();
    QLinearGradient floor(0, 290, 0, 440);
    floor.setColorAt(0, cream);
    floor.setColorAt(1, QColor(240, 228, 200));
    p.setPen(Qt::NoPen);
    p.setBrush(floor);
    p.drawPath(stage);
    p.save();
    p.setClipPath(stage);
    const double band = 6;
    for (int i = 0; i < 4; ++i) {
        QPainterPath edge;
        edge.moveTo(i * 160, 0);
        edge.lineTo((i + 1) * 160 + 0.5, 0);
        edge.lineTo((i + 1) * 160 + 0.5, 440);
        edge.lineTo(i * 160, 440);
        p.save();
        p.setClipPath(edge, Qt::IntersectClip);
        p.setPen(QPen(levelAccent(i + 1), band));
        p.setBrush(Qt::NoBrush);
        QPainterPath top;
        top.moveTo(0, 300 + band / 2);
        top.quadTo(320, 282 + band / 2, 640, 300 + band / 2);
        p.drawPath(top);
        p.restore();
    }
    p.restore();
    // Four keys: the answers 1 to 4, laid out as on the level screens (1 and 2 on the left, 3
    // and 4 on the right), each with the controller's button that answers it; their shadows
    // clear of the bottom scroll bar.
    const QFont keyFont = latoBlack(30);
    const QFont badgeFont = latoBlack(13);
    constexpr double keyHeight = 42, keyShadow = 5, keyGap = 8, badgeRadius = 10;
    const double keysTop = kVisibleBottom - 4 - keyShadow - 2 * keyHeight - keyGap;
    static const char* const padButtons[4] = {"Y", "X", "B", "A"};
    for (int i = 0; i < 4; ++i) {
        const QRectF key(404 + (i / 2) * 106, keysTop + (i % 2) * (keyHeight + keyGap), 92,
                         keyHeight);
        drawPanel(p, key.translated(0, keyShadow), 10, levelAccent(i + 1).darker(150));
        drawPanel(p, key, 10, levelAccent(i + 1), ink, 2);
        p.setPen(Qt::white);
        p.setFont(keyFont);
        p.drawText(key.adjusted(-14, -2, -14, 0), Qt::AlignCenter, QString::number(i + 1));
        const QPointF badge(key.right() - 8 - badgeRadius, key.center().y());
        p.setPen(QPen(ink, 1.5));
        p.setBrush(cream);
        p.drawEllipse(badge, badgeRadius, badgeRadius);
        p.setPen(ink);
        p.setFont(badgeFont);
        p.drawText(QRectF(badge.x() - badgeRadius, badge.y() - badgeRadius - 1, 2 * badgeRadius,
                          2 * badgeRadius),
                   Qt::AlignCenter, QLatin1String(padButtons[i]));
    }
    // How to play, under the prompt: every way to answer and to start.
    const double lineHeight = 20;
    const double tipsTop = kVisibleBottom - 5 - 3 * lineHeight;
    const QRectF tip(24, tipsTop, 372, lineHeight);
    p.setPen(ink);
    p.setFont(font(QStringLiteral("Lato"), 14, QFont::Bold));
    p.drawText(tip, Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral(
                   "R\u00e9pondez\u00a0: pav\u00e9 num\u00e9rique 1 \u00e0 4, clic ou toucher"));
    p.drawText(tip.translated(0, lineHeight), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("sur la r\u00e9ponse, ou boutons Y X B A de la manette."));
    p.setPen(withAlpha(ink, 170));
    p.setFont(font(QStringLiteral("Lato"), 13, QFont::Bold, true));
    p.drawText(tip.translated(0, 2 * lineHeight), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Jouer\u00a0: Entr\u00e9e, clic ou Start   F1\u00a0: r\u00e8gles   "
                              "\u00c9chap\u00a0: quitter"));
    p.end();
    return image;
}

QImage resultsPicture() {
    QImage image(kScreenWidth, kScreenHeight, QImage::Format_RGB32);
    QPainter p;
    beginPainter(p, image);
    p.fillRect(image.rect(), ivory);
    p.save();
    p.setOpacity(0.5);
    drawSunburst(p, QPointF(320, -40), 40, 700, ivory, QColor(246, 238, 218), 0);
    p.restore();
    QRadialGradient light(QPointF(320, 200), 420);
    light.setColorAt(0, QColor(255, 255, 255, 130));
    light.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(image.rect(), light);
    // Frame, in the part of the screen the scroll bars leave in sight: the level stripe at the
    // top and bottom, a navy rule and a gold rule. The screens' texts run from one side to the
    // other: the headings at the top, and on the best players' screen ten rows down to just above
    // the foot of the frame, their scores up to the scroll bar. So the rules come down the sides
    // only as far as the top corners' arms reach, and at the foot they stay below the last row.
    namespace H = layout::highscore;
    constexpr double rowsBottom = H::firstRowTop + H::rowSpacing * (H::places - 1) + H::rowHeight;
    drawLevelStripe(p, QRectF(0, 0, 640, 6));
    drawLevelStripe(p, QRectF(0, kVisibleBottom - 6, 640, 6));
    const QRectF frame(5, 11, kVisibleRight - 10, kVisibleBottom - 6 - 5 - 11);
    constexpr double arm = 44;
    const double footArm = frame.bottom() - (rowsBottom + 6);
    // The garland at the middle of the foot, where the rules give way to it.
    const double middle = frame.center().x();
    const double foot = frame.bottom() - 4;
    constexpr double garlandHalf = 84;
    p.save();
    QPainterPath corners;
    corners.addRect(QRectF(0, 0, kScreenWidth, frame.top() + arm));
    corners.addRect(QRectF(0, frame.bottom() - footArm, middle - garlandHalf - 6, kScreenHeight));
    corners.addRect(
        QRectF(middle + garlandHalf + 6, frame.bottom() - footArm, kScreenWidth, kScreenHeight));
    p.setClipPath(corners);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink, 2.5));
    p.drawRoundedRect(frame, 12, 12);
    p.setPen(QPen(gold, 1.5));
    p.drawRoundedRect(frame.adjusted(5, 5, -5, -5), 9, 9);
    p.restore();
    // Each arm ends in a gold bead: down the sides at the top, along the foot beside the garland.
    p.setPen(QPen(deepGold, 1));
    p.setBrush(gold);
    for (double x : {frame.left() + 2.5, frame.right() - 2.5})
        p.drawEllipse(QPointF(x, frame.top() + arm), 3.2, 3.2);
    for (double x : {middle - garlandHalf - 6, middle + garlandHalf + 6})
        for (double y : {frame.bottom(), frame.bottom() - 5})
            p.drawEllipse(QPointF(x, y), 2.2, 2.2);
    // Stars in the top corners, small ones at the foot's.
    const QRectF stars = frame.adjusted(23, 20, -23, -20);
    for (QPointF c : {stars.topLeft(), stars.topRight()}) {
        p.setPen(QPen(deepGold, 1.2));
        p.setBrush(gold);
        p.drawPath(starPath(c, 8, 3.4));
    }
    for (double x : {stars.left(), stars.right()}) {
        p.setPen(QPen(deepGold, 1));
        p.setBrush(gold);
        p.drawPath(starPath(QPointF(x, foot), 5, 2.2));
    }
    // The garland: two laurel sprigs lying along the foot, meeting under a star.
    const QColor leafColour = mix(QColor(110, 150, 80), gold, 0.3);
    for (double side : {-1.0, 1.0}) {
        QPainterPath stem;
        stem.moveTo(middle + side * 8, foot);
        stem.quadTo(middle + side * (garlandHalf * 0.6), foot + 1.5, middle + side * garlandHalf,
                    foot - 1.5);
        p.setPen(QPen(leafColour.darker(120), 1.4, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(stem);
        p.setPen(Qt::NoPen);
        p.setBrush(leafColour);
        for (int i = 1; i <= 8; ++i) {
            const double t = i / 8.6;
            const QPointF at = stem.pointAtPercent(t);
            const double angle = stem.angleAtPercent(t);
            for (double flip : {-1.0, 1.0}) {
                p.save();
                p.translate(at);
                p.rotate(-angle + flip * 32 + (side < 0 ? 180 : 0));
                QPainterPath leaf;
                leaf.moveTo(0, 0);
                leaf.quadTo(4, -2.4, 8, 0);
                leaf.quadTo(4, 2.4, 0, 0);
                p.drawPath(leaf);
                p.restore();
            }
        }
    }
    p.setPen(QPen(deepGold, 1));
    p.setBrush(gold);
    p.drawPath(starPath(QPointF(middle, foot), 6, 2.6));
    p.end();
    return image;
}

QImage levelPicture(int level) {
    QImage image(kScreenWidth, kScreenHeight, QImage::Format_RGB32);
    QPainter p;
    beginPainter(p, image);
    const QColor accent = levelAccent(level);
    drawLevelScenery(p, level, QSizeF(kScreenWidth, kScreenHeight));

    // Title of the level.
    const bool bonus = level >= numbers::kBonusLevel;
    const QString title =
        bonus ? QStringLiteral("NIVEAU BONUS") : QStringLiteral("NIVEAU %1").arg(level);
    TitleStyle style;
    if (!bonus) {
        style.top = Qt::white;
        style.bottom = mix(Qt::white, accent, 0.35);
        style.extrusion = accent.darker(170);
    }
    style.depth = 3;
    style.outlineWidth = 4.5;
    QFont titleFont = latoBlack(44);
    QPainterPath titlePath = textPath(title, titleFont, QPointF(312, 38));
    if (titlePath.boundingRect().width() > 300) {
        titleFont = latoBlack(44 * 300 / static_cast<int>(titlePath.boundingRect().width()));
        titlePath = textPath(title, titleFont, QPointF(312, 38));
    }
    drawTitle(p, titlePath, style);
    static const char* const kMottos[] = {"Pour se mettre en jambes", "On monte d\u2019un cran",
                                          "Le niveau des experts",
                                          "Sans faute, jusqu\u2019au bout !"};
    const QString motto = QString::fromUtf8(kMottos[std::clamp(level, 1, 4) - 1]);
    const QPainterPath mottoPath = textPath(motto, lobster(22), QPointF(312, 82));
    p.setPen(QPen(bonus ? night : ink, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(mottoPath);
    p.setPen(Qt::NoPen);
    p.setBrush(bonus ? gold.lighter(125) : cream);
    p.drawPath(mottoPath);

    // The player's card: score at the top, portrait, counter, and a dark foot for the
    // percentage.
    const QRectF card(8, 4, 136, 244);
    drawPanel(p, card.translated(3, 4), 14, QColor(0, 0, 0, 70));
    drawPanel(p, card, 14, cream);
    {
        QPainterPath foot;
        foot.addRoundedRect(card, 14, 14);
        QPainterPath lower;
        lower.addRect(QRectF(card.left(), 201, card.width(), card.bottom() - 201));
        p.setPen(Qt::NoPen);
        p.setBrush(desk);
        p.drawPath(foot.intersected(lower));
    }
    p.setPen(QPen(accent, 3));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(card, 14, 14);
    p.fillRect(QRectF(card.left() + 1.5, 199, card.width() - 3, 3), accent);
    p.setPen(QPen(withAlpha(accent, 200), 1.5));
    p.drawLine(QPointF(16, 46), QPointF(136, 46));
    p.setPen(withAlpha(ink, 200));
    p.setFont(font(QStringLiteral("Lato"), 11, QFont::Black));
    p.drawText(QRectF(110, 14, 32, 24), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("pts"));
    // The portrait's spotlight.
    drawGlow(p, QPointF(63, 96), 50, withAlpha(mix(cream, accent, 0.45), 200));
    // A level badge beside the portrait.
    const QPointF badge(126, 70);
    p.setPen(QPen(ink, 2));
    p.setBrush(accent);
    if (bonus)
        p.drawPath(starPath(badge, 15, 7.5));
    else
        p.drawEllipse(badge, 12, 12);
    p.setPen(bonus ? ink : QColor(Qt::white));
    p.setFont(latoBlack(bonus ? 11 : 15));
    p.drawText(QRectF(badge.x() - 12, badge.y() - 12, 24, 24), Qt::AlignCenter,
               bonus ? QStringLiteral("B") : QString::number(level));

    // Theme tag.
    {
        QPainterPath tag;
        tag.addRoundedRect(QRectF(472, 50, kVisibleRight - 5 - 472, 56), 10, 10);
        p.setPen(QPen(accent, 2.5));
        p.setBrush(withAlpha(night, 225));
        p.drawPath(tag);
        p.setPen(withAlpha(Qt::white, 220));
        p.setFont(font(QStringLiteral("Lato"), 11, QFont::Black));
        p.drawText(QRectF(488, 53, 140, 17), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("TH\u00c8ME"));
    }

    // Hourglass niche; its inside is the hourglass's own silver.
    {
        const QRectF niche(494, 150, 100, 130);
        drawPanel(p, niche.translated(3, 4), 12, QColor(0, 0, 0, 80));
        drawPanel(p, niche, 12, night, accent, 3);
        drawPanel(p, niche.adjusted(5, 5, -5, -5), 7, silver);
    }

    // The desk: question bar, four answer slots and the places of the marks.
    QLinearGradient deskFill(0, 282, 0, 440);
    deskFill.setColorAt(0, desk.lighter(130));
    deskFill.setColorAt(1, desk.darker(130));
    p.fillRect(QRectF(0, 282, 640, 158), deskFill);
    p.fillRect(QRectF(0, 282, 640, 3), accent);
    drawPanel(p, QRectF(20, 289, kVisibleRight - 5 - 20, 42), 8, QColor(255, 255, 255, 18),
              withAlpha(accent, 150), 1.5);
    // The answer slots frame the answer labels, and a round socket waits under each mark; the
    // lower row stops short of the bottom scroll bar, which its labels reach.
    namespace niv = layout::niv;
    double lowestMark = 0;
    for (const PicturePlacement& mark : niv::juste)
        lowestMark = std::max(lowestMark, QRectF(mark.box).center().y());
    const double socketRadius = std::min(18.5, kVisibleBottom - 1 - lowestMark);
    const QFont number = latoBlack(17);
    for (int i = 0; i < 4; ++i) {
        QRectF slot = QRectF(niv::reponse[i].box).adjusted(-4, -4, 4, 4);
        slot.setBottom(std::min(slot.bottom(), kVisibleBottom - 2));
        drawPanel(p, slot, 9, QColor(30, 46, 100), accent, 2);
        const QPointF socket = QRectF(niv::juste[i].box).center();
        p.setPen(QPen(accent, 2));
        p.setBrush(night);
        p.drawEllipse(socket, socketRadius, socketRadius);
        p.setPen(withAlpha(Qt::white, 210));
        p.setFont(number);
        p.drawText(QRectF(socket.x() - 15, socket.y() - 15, 30, 30), Qt::AlignCenter,
                   QString::number(i + 1));
    }
    p.end();
    return image;
}

// ---------------------------------------------------------------- see-through pictures

QImage playerPicture() {
    QImage image(kPlayerWidth, kPlayerHeight, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p;
    beginPainter(p, image);
    drawPlayerBody(p);
    p.end();
    // The character stands on the cream card of the level screens.
    return flattenOnKey(image, cream, magentaKey);
}

QImage facePicture(int mood) {
    QImage image(kPlayerWidth, kPlayerHeight, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p;
    beginPainter(p, image);
    drawPlayerFace(p, std::clamp(mood, 0, kFaceCount - 1));
    p.end();
    return flattenOnKey(image, kSkin, magentaKey);
}

QImage markPicture(bool right) {
    // Drawn four times larger, then reduced, for clean edges at 35 pixels.
    constexpr int kScale = 4;
    QImage big(kMarkSize * kScale, kMarkSize * kScale, QImage::Format_ARGB32);
    big.fill(Qt::transparent);
    QPainter p;
    beginPainter(p, big);
    p.scale(kScale, kScale);
    const QColor colour = right ? QColor(22, 168, 62) : QColor(222, 36, 36);
    const QPointF c(17.5, 17.5);
    p.setPen(QPen(colour.darker(130), 2));
    p.setBrush(Qt::white);
    p.drawEllipse(c, 16.3, 16.3);
    p.setPen(QPen(colour, 5.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    if (right) {
        QPainterPath check;
        check.moveTo(9.5, 18.5);
        check.lineTo(15, 24.5);
        check.lineTo(26, 10.5);
        p.drawPath(check);
    } else {
        p.drawLine(QPointF(11, 11), QPointF(24, 24));
        p.drawLine(QPointF(24, 11), QPointF(11, 24));
    }
    p.end();
    const QImage small =
        big.scaled(kMarkSize, kMarkSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // The marks sit on the dark sockets of the answer desk.
    return flattenOnKey(small, night, magentaKey);
}

QImage alarmPicture() {
    QImage image(90, 120, QImage::Format_RGB32);
    const QColor red(214, 40, 48);
    // A solid red band all round: on the level screen the stopped hourglass stands in front of
    // the middle of the card, and the band lights up around it.
    image.fill(red);
    QPainter p;
    beginPainter(p, image);
    drawPanel(p, QRectF(6, 6, 78, 108), 7, cream, red.darker(140), 1.5);
    // Shaking lines.
    p.setPen(QPen(red, 2, Qt::SolidLine, Qt::RoundCap));
    for (double side : {-1.0, 1.0}) {
        const double x = 45 + side * 31;
        p.drawLine(QPointF(x, 30), QPointF(x + side * 4, 26));
        p.drawLine(QPointF(x + side * 1, 40), QPointF(x + side * 5, 40));
        p.drawLine(QPointF(x, 50), QPointF(x + side * 4, 54));
    }
    p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    // Bells and hammer.
    p.setBrush(gold);
    p.drawChord(QRectF(14, 12, 24, 24), 20 * 16, 180 * 16);
    p.drawChord(QRectF(52, 12, 24, 24), -20 * 16, 180 * 16);
    p.drawLine(QPointF(45, 16), QPointF(45, 10));
    p.drawEllipse(QPointF(45, 9), 3, 3);
    // Legs.
    p.drawLine(QPointF(27, 74), QPointF(20, 82));
    p.drawLine(QPointF(63, 74), QPointF(70, 82));
    // Body and dial.
    p.setBrush(red);
    p.drawEllipse(QPointF(45, 50), 28, 28);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(45, 50), 21.5, 21.5);
    p.setPen(QPen(ink, 1.5, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 12; ++i) {
        const double a = i * std::numbers::pi / 6;
        const double r0 = i % 3 == 0 ? 15 : 17;
        p.drawLine(QPointF(45 + r0 * std::sin(a), 50 - r0 * std::cos(a)),
                   QPointF(45 + 19 * std::sin(a), 50 - 19 * std::cos(a)));
    }
    p.setPen(QPen(ink, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(45, 50), QPointF(45, 36));
    p.drawLine(QPointF(45, 50), QPointF(54, 54));
    p.setBrush(red);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(45, 50), 2.5, 2.5);
    // The words.
    p.setPen(red);
    p.setFont(latoBlack(14));
    p.drawText(QRectF(3, 84, 84, 16), Qt::AlignCenter, QStringLiteral("TEMPS"));
    p.drawText(QRectF(3, 98, 84, 16), Qt::AlignCenter, QStringLiteral("\u00c9COUL\u00c9 !"));
    p.end();
    return image;
}

}  // namespace vorn::gen
