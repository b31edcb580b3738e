#pragma once
// The hourglass of the level screens: 80 x 110 frames on the silver background. Frame 1 is full
// (it shows while the hourglass is stopped); frames 2 to 44 let the sand run out, one frame for
// each 43rd of the time allowed for a question.

#include <QImage>

#include <vector>

namespace vorn::gen {

inline constexpr int kHourglassWidth = 80;
inline constexpr int kHourglassHeight = 110;
inline constexpr int kHourglassFrames = 44;
// 43 frames in the 9.85 s of a question.
inline constexpr int kHourglassRateNum = 860;
inline constexpr int kHourglassRateDen = 197;

// `fallen` from 0 (all the sand on top) to 1 (all of it below); `running` draws the falling
// stream.
QImage hourglassFrame(double fallen, bool running);
std::vector<QImage> hourglassFrames();

// The share of the sand that has fallen on frame `frame` (1 to kHourglassFrames).
double hourglassFallen(int frame);

}  // namespace vorn::gen
