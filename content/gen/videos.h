// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The video interludes (intro, levels, bonus, lost, finished) and the hourglass animation, as
// AVI files with Motion JPEG pictures and a synthesized PCM sound track.

#include <QDir>

namespace vorn::gen {

// Writes video/0.avi to video/6.avi and video/sablier2.avi under `gameDir`.
void writeVideos(const QDir& gameDir);

}  // namespace vorn::gen
