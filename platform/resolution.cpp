// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/resolution.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace vorn {

namespace {
QSize primaryScreenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize(1024, 768);
}
}  // namespace

Resolution::Resolution(std::function<QSize()> screen)
    : screen_(screen ? std::move(screen) : primaryScreenSize) {
    mode_ = screen_();
}

QSize Resolution::lireResolution() const {
    return screen_();
}

bool Resolution::testMode(int width, int height, int bitsPerPixel) const {
    const QSize screen = screen_();
    return bitsPerPixel == 32 && width > 0 && height > 0 && width <= screen.width() &&
           height <= screen.height();
}

void Resolution::changeResolution(int width, int height, int bitsPerPixel) {
    if (!testMode(width, height, bitsPerPixel)) return;
    mode_ = QSize(width, height);
    if (onModeChanged_) onModeChanged_(mode_);
}

QSize largestShownSize(QSize box) {
    double largest = 1;
    if (box.width() > 0 && box.height() > 0 &&
        qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        for (const QScreen* screen : QGuiApplication::screens()) {
            const QSize size = screen->size();
            const double fill =
                std::min(size.width() / double(box.width()), size.height() / double(box.height()));
            largest = std::max(largest, std::max(1.0, fill) * screen->devicePixelRatio());
        }
    return QSize(static_cast<int>(std::ceil(box.width() * largest)),
                 static_cast<int>(std::ceil(box.height() * largest)));
}

}  // namespace vorn
