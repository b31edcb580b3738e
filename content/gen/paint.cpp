// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "content/gen/paint.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QRadialGradient>

#include <cmath>
#include <numbers>

namespace vorn::gen {

QColor levelAccent(int level) {
    switch (level) {
        case 1:
            return palette::teal;
        case 2:
            return palette::coral;
        case 3:
            return palette::violet;
        default:
            return palette::gold;
    }
}

QColor mix(const QColor& a, const QColor& b, double t) {
    auto lerp = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return QColor(lerp(a.red(), b.red()), lerp(a.green(), b.green()), lerp(a.blue(), b.blue()),
                  lerp(a.alpha(), b.alpha()));
}

QColor withAlpha(QColor c, int alpha) {
    c.setAlpha(alpha);
    return c;
}

std::uint64_t Rng::next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double Rng::uniform() {
    return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0);
}

int Rng::below(int n) {
    return n <= 0 ? 0 : static_cast<int>(next() % static_cast<std::uint64_t>(n));
}

void beginPainter(QPainter& p, QImage& image) {
    p.begin(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
}

QFont font(const QString& family, int pixelSize, int weight, bool italic) {
    QFont f(family);
    f.setPixelSize(pixelSize);
    f.setWeight(static_cast<QFont::Weight>(weight));
    f.setItalic(italic);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

QFont latoBlack(int pixelSize) {
    return font(QStringLiteral("Lato"), pixelSize, QFont::Black);
}

QFont lobster(int pixelSize) {
    return font(QStringLiteral("Lobster Two"), pixelSize, QFont::Bold, true);
}

QPainterPath textPath(const QString& text, const QFont& f, QPointF centre) {
    QPainterPath path;
    path.addText(0, 0, f, text);
    const QRectF box = path.boundingRect();
    path.translate(centre - box.center());
    return path;
}

void drawTitle(QPainter& p, const QPainterPath& path, const TitleStyle& style) {
    p.save();
    const QRectF box = path.boundingRect();
    // Shadow, then extrusion from the back to the front.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, static_cast<int>(255 * style.shadowAlpha)));
    p.drawPath(path.translated(style.depth + 4, style.depth + 5));
    p.setPen(QPen(style.outline, style.outlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (int d = style.depth; d >= 1; --d) {
        p.setBrush(style.extrusion);
        p.drawPath(path.translated(d, d));
    }
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0, style.top);
    fill.setColorAt(0.55, style.bottom);
    fill.setColorAt(1, mix(style.bottom, style.extrusion, 0.35));
    p.setBrush(fill);
    p.drawPath(path);
    p.restore();
}

void drawSunburst(QPainter& p, QPointF centre, int rays, double radius, const QColor& a,
                  const QColor& b, double angle) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(a);
    p.drawEllipse(centre, radius, radius);
    p.setBrush(b);
    const double step = 360.0 / rays;
    for (int i = 0; i < rays; i += 2) {
        const double a0 = (angle + i * step) * std::numbers::pi / 180.0;
        const double a1 = (angle + (i + 1) * step) * std::numbers::pi / 180.0;
        QPainterPath ray;
        ray.moveTo(centre);
        ray.lineTo(centre + QPointF(std::cos(a0), std::sin(a0)) * radius);
        ray.lineTo(centre + QPointF(std::cos(a1), std::sin(a1)) * radius);
        ray.closeSubpath();
        p.drawPath(ray);
    }
    p.restore();
}

QRadialGradient titleVignette(QPointF centre, double radius) {
    QRadialGradient vignette(centre, radius);
    vignette.setColorAt(0, QColor(120, 170, 255, 60));
    vignette.setColorAt(0.5, QColor(0, 0, 0, 0));
    vignette.setColorAt(1, QColor(6, 10, 40, 170));
    return vignette;
}

void fillVertical(QPainter& p, const QRectF& rect, const std::vector<QColor>& colours) {
    QLinearGradient g(rect.topLeft(), rect.bottomLeft());
    const auto n = colours.size();
    for (std::size_t i = 0; i < n; ++i)
        g.setColorAt(n == 1 ? 0.0 : static_cast<double>(i) / static_cast<double>(n - 1),
                     colours[i]);
    p.fillRect(rect, g);
}

QPainterPath starPath(QPointF centre, double outer, double inner, int points, double angle) {
    QPainterPath path;
    for (int i = 0; i < 2 * points; ++i) {
        const double r = (i % 2 == 0) ? outer : inner;
        const double a = (angle + i * 180.0 / points) * std::numbers::pi / 180.0;
        const QPointF pt = centre + QPointF(std::cos(a), std::sin(a)) * r;
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

void drawSparkle(QPainter& p, QPointF centre, double size, const QColor& colour) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(starPath(centre, size, size * 0.22, 4, -90));
    p.restore();
}

void drawGlow(QPainter& p, QPointF centre, double radius, const QColor& colour) {
    QRadialGradient g(centre, radius);
    g.setColorAt(0, colour);
    g.setColorAt(1, withAlpha(colour, 0));
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(centre, radius, radius);
    p.restore();
}

void drawPanel(QPainter& p, const QRectF& rect, double radius, const QColor& fill,
               const QColor& border, double borderWidth) {
    p.save();
    if (borderWidth > 0)
        p.setPen(QPen(border, borderWidth));
    else
        p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(rect, radius, radius);
    p.restore();
}

QImage flattenOnKey(const QImage& argb, const QColor& over, const QColor& key) {
    const QImage src = argb.convertToFormat(QImage::Format_ARGB32);
    QImage out(src.size(), QImage::Format_RGB888);
    const QRgb keyRgb = key.rgb();
    for (int y = 0; y < src.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        for (int x = 0; x < src.width(); ++x) {
            const int a = qAlpha(in[x]);
            QRgb c;
            if (a < 128) {
                c = keyRgb;
            } else {
                auto blend = [a](int fg, int bg) { return (fg * a + bg * (255 - a) + 127) / 255; };
                c = qRgb(blend(qRed(in[x]), over.red()), blend(qGreen(in[x]), over.green()),
                         blend(qBlue(in[x]), over.blue()));
                // A drawn pixel never takes the see-through colour.
                if ((c & 0xFFFFFF) == (keyRgb & 0xFFFFFF))
                    c = qRgb(qRed(c) ^ 1, qGreen(c), qBlue(c));
            }
            out.setPixel(x, y, c);
        }
    }
    return out;
}

}  // namespace vorn::gen
