// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "content/gen/hourglass.h"

#include "content/gen/paint.h"

#include <QLinearGradient>

#include <algorithm>
#include <cmath>

namespace vorn::gen {

namespace {

constexpr double kCentre = 40;
constexpr double kTop = 14;        // top of the upper bulb
constexpr double kNeck = 55;       // the narrow waist
constexpr double kBottom = 96;     // bottom of the lower bulb
constexpr double kFullLevel = 24;  // the sand's surface when the upper bulb is full
constexpr double kMoundWidth = 17;

const QColor kSand(236, 178, 74);
const QColor kSandDark(196, 128, 44);
const QColor kWood(139, 90, 43);

// Half the glass's inner width at height y: round bulbs meeting at a narrow neck.
double halfWidth(double y) {
    const double t = y <= kNeck ? (kNeck - y) / (kNeck - kTop) : (y - kNeck) / (kBottom - kNeck);
    const double u = std::clamp(t, 0.0, 1.0);
    return 1.6 + 19.4 * std::pow(std::sin(u * 1.5707963), 0.75);
}

constexpr double kStep = 0.125;

// Sand area of the upper bulb below the level `y0`.
double upperArea(double y0) {
    double area = 0;
    for (double y = y0; y < kNeck; y += kStep) area += 2 * halfWidth(y + kStep / 2) * kStep;
    return area;
}

// Sand width of row y in the lower bulb for a mound whose sides are at `level` and whose top is
// `peak` higher in the middle.
double moundRowWidth(double y, double level, double peak) {
    const double full = 2 * halfWidth(y);
    if (y >= level) return full;
    const double rise = level - y;
    if (rise >= peak) return 0;
    return std::min(full, 2 * kMoundWidth * std::sqrt(1 - rise / peak));
}

double lowerArea(double level, double peak) {
    double area = 0;
    for (double y = kNeck; y < kBottom; y += kStep)
        area += moundRowWidth(y + kStep / 2, level, peak) * kStep;
    return area;
}

// Solves f(x) = target for an f that decreases as x grows, x in [lo, hi].
template <typename F>
double solveDecreasing(F f, double lo, double hi, double target) {
    for (int i = 0; i < 40; ++i) {
        const double mid = (lo + hi) / 2;
        if (f(mid) > target)
            lo = mid;
        else
            hi = mid;
    }
    return (lo + hi) / 2;
}

QPainterPath glassPath() {
    QPainterPath path;
    path.moveTo(kCentre - halfWidth(kTop), kTop);
    for (double y = kTop; y <= kBottom; y += 1) path.lineTo(kCentre - halfWidth(y), y);
    path.lineTo(kCentre + halfWidth(kBottom), kBottom);
    for (double y = kBottom; y >= kTop; y -= 1) path.lineTo(kCentre + halfWidth(y), y);
    path.closeSubpath();
    return path;
}

}  // namespace

double hourglassFallen(int frame) {
    return std::clamp((frame - 1) / static_cast<double>(kHourglassFrames - 1), 0.0, 1.0);
}

QImage hourglassFrame(double fallen, bool running) {
    fallen = std::clamp(fallen, 0.0, 1.0);
    QImage image(kHourglassWidth, kHourglassHeight, QImage::Format_RGB32);
    image.fill(palette::silver);
    QPainter p;
    beginPainter(p, image);

    const QPainterPath glass = glassPath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(236, 244, 250));
    p.drawPath(glass);

    const double total = upperArea(kFullLevel);
    const double upper = total * (1 - fallen);
    const double lower = total * fallen;
    p.save();
    p.setClipPath(glass);
    QLinearGradient sand(0, kTop, 0, kBottom);
    sand.setColorAt(0, kSand);
    sand.setColorAt(1, kSandDark);
    p.setBrush(sand);
    // Upper bulb: a level surface with a small hollow above the neck while it runs.
    if (upper > 0.5) {
        const double y0 = solveDecreasing(upperArea, kTop, kNeck, upper);
        QPainterPath top;
        const double w = halfWidth(y0);
        top.moveTo(kCentre - w - 1, y0);
        top.quadTo(kCentre, y0 + (running ? std::min(4.0, kNeck - y0) : 0), kCentre + w + 1, y0);
        top.lineTo(kCentre + w + 1, kNeck + 1);
        top.lineTo(kCentre - w - 1, kNeck + 1);
        top.closeSubpath();
        p.drawPath(top);
    }
    // Lower bulb: a mound growing from the bottom.
    double moundTop = kBottom;
    if (lower > 0.5) {
        const double peak = 3 + 7 * fallen;
        const double level = solveDecreasing([&](double l) { return lowerArea(l, peak); }, kNeck,
                                             kBottom + peak, lower);
        QPainterPath mound;
        mound.moveTo(kCentre - 30, kBottom + 2);
        for (double x = kCentre - 30; x <= kCentre + 30; x += 1) {
            const double d = (x - kCentre) / kMoundWidth;
            mound.lineTo(x, level - peak * std::max(0.0, 1 - d * d));
        }
        mound.lineTo(kCentre + 30, kBottom + 2);
        mound.closeSubpath();
        p.drawPath(mound);
        moundTop = level - peak;
    }
    if (running && upper > 0.5) {
        p.setPen(QPen(kSand, 1.6));
        p.drawLine(QPointF(kCentre, kNeck - 1), QPointF(kCentre, moundTop + 1));
    }
    p.restore();

    // Glass highlights and outline.
    p.setPen(QPen(QColor(255, 255, 255, 190), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(25, 22), QPointF(27, 38));
    p.drawLine(QPointF(25, 72), QPointF(27, 88));
    p.setPen(QPen(QColor(70, 90, 120), 1.5));
    p.drawPath(glass);

    // The wooden frame.
    QLinearGradient wood(0, 0, 0, 10);
    wood.setColorAt(0, kWood.lighter(140));
    wood.setColorAt(1, kWood.darker(120));
    p.setPen(QPen(palette::ink, 1.4));
    for (double x : {13.0, 67.0}) {
        p.setBrush(kWood);
        p.drawRoundedRect(QRectF(x - 2.5, 10, 5, 90), 2, 2);
    }
    for (double y : {4.0, 96.0}) {
        p.save();
        p.translate(0, y);
        p.setBrush(wood);
        p.drawRoundedRect(QRectF(6, 0, 68, 10), 3, 3);
        p.restore();
    }
    p.end();
    return image;
}

std::vector<QImage> hourglassFrames() {
    std::vector<QImage> frames;
    frames.reserve(kHourglassFrames);
    for (int frame = 1; frame <= kHourglassFrames; ++frame)
        frames.push_back(
            hourglassFrame(hourglassFallen(frame), frame > 1 && frame < kHourglassFrames));
    return frames;
}

}  // namespace vorn::gen
