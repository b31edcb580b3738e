// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Checks every picture, sound, music, video and help file of a game folder: present, decodable by
// the game's own loaders and players, and of the sizes and frame counts the screens need.

#include "tools/checker/report.h"

namespace vorn::check {

void checkMedia(const QString& gameDir, Report& report);

}  // namespace vorn::check
