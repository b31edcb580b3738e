// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The player's options kept in a file of their own (save/options.ini), apart from the saves and
// the table of best players: for now the time a question waits for its answer, the layout's
// 9.85 s or twice or three times that, for players who have the question read to them.

#include <QString>

namespace vorn {

// The longest time to answer, as a multiple of the layout's.
constexpr int kAnswerTimeFactors = 3;

// The multiple kept in `file` (1 to kAnswerTimeFactors); 1 when the file, its key or a sound value
// is missing.
int readAnswerTimeFactor(const QString& file);
// Keeps `factor` in `file` (one atomic write); raises "Unable to write to <file name>" when it
// cannot. A factor outside 1 to kAnswerTimeFactors is kept as 1.
void writeAnswerTimeFactor(const QString& file, int factor);

}  // namespace vorn
