// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The hourglass of the level screens: 80 x 110 frames on the silver background. Frame 1 is full
// (it shows while the hourglass is stopped); frames 2 to 44 let the sand run out, one frame for
// each 43rd of the time allowed for a question.

#include "core/layout.h"

#include <QImage>

#include <numeric>
#include <vector>

namespace vorn::gen {

inline constexpr int kHourglassWidth = layout::niv::sablier.box.width();
inline constexpr int kHourglassHeight = layout::niv::sablier.box.height();
inline constexpr int kHourglassFrames = layout::niv::sablierLastFrame;
// The frames a question plays, in the question's time.
inline constexpr int kQuestionFrames =
    layout::niv::sablierLastFrame - layout::niv::sablierFirstFrame + 1;
inline constexpr int kRateGcd = std::gcd(kQuestionFrames * 1000, layout::niv::TimerQuestMs);
inline constexpr int kHourglassRateNum = kQuestionFrames * 1000 / kRateGcd;
inline constexpr int kHourglassRateDen = layout::niv::TimerQuestMs / kRateGcd;

// `fallen` from 0 (all the sand on top) to 1 (all of it below); `running` draws the falling
// stream.
QImage hourglassFrame(double fallen, bool running);
std::vector<QImage> hourglassFrames();

// The share of the sand that has fallen on frame `frame` (1 to kHourglassFrames).
double hourglassFallen(int frame);

}  // namespace vorn::gen
