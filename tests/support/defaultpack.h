// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The default content pack as the build made it (build/game), for the tests that look at it.

#include "core/pack.h"
#include "platform/images.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QString>

#include <cmath>

namespace vorn::test {

inline const QString kBuild = QStringLiteral(VORN_BUILD_DIR);
inline const QString kGame = kBuild + QStringLiteral("/game");

inline QByteArray readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

// A picture of the default pack, by its name in the pack.
inline QImage picture(const QString& file) {
    return vorn::loadPicture(kGame + "/" + file);
}

// Relative luminance of a colour (sRGB), 0 to 1.
inline double linear(int c) {
    const double v = c / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}
inline double luminance(QRgb p) {
    return 0.2126 * linear(qRed(p)) + 0.7152 * linear(qGreen(p)) + 0.0722 * linear(qBlue(p));
}

}  // namespace vorn::test
