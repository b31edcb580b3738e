// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/resolution.h"

#include <QGuiApplication>
#include <QScreen>

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

}  // namespace vorn
