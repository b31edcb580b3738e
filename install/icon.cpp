// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// vorn-icon DIR NAME SIZE...: draws the game's icon at every size given, into
// DIR/SIZExSIZE/apps/NAME.png (the layout of a hicolor icon theme).
//
// The icon is the title picture in a tile: the gold initial of V.O.R.N. VOZID on the blue
// sunburst, with the name on a cream ribbon where the icon is big enough to read it. Every size
// is drawn at its own size rather than scaled down from a large one, so that the outlines stay
// at least a pixel wide and the small icons stay sharp.

#include "content/gen/paint.h"

#include <QDir>
#include <QGuiApplication>
#include <QStringList>

#include <algorithm>
#include <cstdio>

namespace {

using namespace vorn::gen;
using namespace vorn::gen::palette;

// The drawing's own square, scaled to each size.
constexpr double kUnits = 256;
// From this size on the name is drawn on a ribbon below the initial.
constexpr int kNamedFrom = 48;

QImage drawIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p;
    beginPainter(p, image);
    const double unitsPerPixel = kUnits / size;
    p.scale(1 / unitsPerPixel, 1 / unitsPerPixel);

    // The tile: a rounded square of title sky, a sunburst from above the centre.
    const double border = std::max(6.0, unitsPerPixel);
    const double inset = border / 2 + 4;
    const QRectF tile(inset, inset, kUnits - 2 * inset, kUnits - 2 * inset);
    QPainterPath tileShape;
    tileShape.addRoundedRect(tile, 48, 48);
    const bool named = size >= kNamedFrom;
    const QPointF burst(128, named ? 104 : 120);
    p.save();
    p.setClipPath(tileShape);
    drawSunburst(p, burst, 20, 260, titleSky, titleRay, -90);
    p.fillRect(tile, titleVignette(burst, 200));
    drawGlow(p, burst, 110, QColor(255, 220, 120, 90));
    if (size >= 64) {
        Rng rng(3);
        for (int i = 0; i < 6; ++i) {
            const QPointF at(rng.range(30, 226), rng.range(26, 70));
            if (std::abs(at.x() - 128) < 60) continue;  // not behind the initial
            drawSparkle(p, at, rng.range(6, 10), QColor(255, 240, 190));
        }
    }
    p.restore();

    // The initial, as the title draws the name: gold, extruded, outlined in ink.
    TitleStyle style;
    style.outlineWidth = std::max(9.0, 1.3 * unitsPerPixel);
    style.depth = named ? 7 : 0;
    style.shadowAlpha = named ? 0.35 : 0;
    const QFont initial = latoBlack(named ? 176 : 232);
    const QPointF centre = named ? QPointF(128, 100) : QPointF(128, 124);
    drawTitle(p, textPath(QStringLiteral("V"), initial, centre), style);

    if (named) {
        const QRectF ribbon(22, 170, 212, 54);
        drawPanel(p, ribbon, 10, cream, ink, std::max(4.0, unitsPerPixel));
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawPath(textPath(QStringLiteral("VOZID"), latoBlack(44), ribbon.center()));
    }

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink, border));
    p.drawPath(tileShape);
    p.end();
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);  // the fonts
    const QStringList args = QGuiApplication::arguments();
    if (args.size() < 4) {
        std::fputs("usage: vorn-icon DIR NAME SIZE...\n", stderr);
        return 2;
    }
    const QDir dir(args[1]);
    for (const QString& arg : args.mid(3)) {
        bool number = false;
        const int size = arg.toInt(&number);
        if (!number || size < 16 || size > 1024) {
            std::fprintf(stderr, "vorn-icon: not an icon size: %s\n", qPrintable(arg));
            return 2;
        }
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        const QString file = dir.filePath(folder + u'/' + args[2] + QStringLiteral(".png"));
        if (!dir.mkpath(folder) || !drawIcon(size).save(file, "PNG")) {
            std::fprintf(stderr, "vorn-icon: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
