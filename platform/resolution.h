// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The display mode, emulated: the desktop keeps its size, and a mode only says how the main window
// shows the game. Testing a mode succeeds when the screen is at least that large (at 32 bits per
// pixel); applying 640 x 480 makes the main window fill the screen, applying the desktop's own
// size gives the normal window back.

#include <QSize>

#include <functional>

namespace vorn {

class Resolution {
  public:
    // `screen` gives the desktop's size in pixels (the primary screen's by default).
    explicit Resolution(std::function<QSize()> screen = {});

    QSize lireResolution() const;
    // Tests the mode and applies it only when the test succeeds; a failed test changes nothing.
    void changeResolution(int width, int height, int bitsPerPixel = 32);
    bool testMode(int width, int height, int bitsPerPixel) const;
    QSize mode() const { return mode_; }
    void setOnModeChanged(std::function<void(QSize)> handler) {
        onModeChanged_ = std::move(handler);
    }

  private:
    std::function<QSize()> screen_;
    QSize mode_;
    std::function<void(QSize)> onModeChanged_;
};

// The most device pixels a picture drawn stretched into `box` (in the game's pixels) can take on
// any screen of the desktop: the box scaled up to fill the screen, its proportions kept (as full
// screen scales the game), times the screen's device pixel ratio; never less than the box.
// Pictures are decoded no larger than that.
QSize largestShownSize(QSize box);

}  // namespace vorn
