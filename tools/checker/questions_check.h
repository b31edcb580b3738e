// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Checks the question table of a game folder: every code of levels 1 to 4 exactly once, a right
// answer from 1 to 4, four distinct non-empty answers, and every text fitting its label in the
// game's fonts, drawn by them and set with the no-break spaces of French typography.

#include "tools/checker/report.h"

namespace vorn::check {

void checkQuestions(const QString& gameDir, Report& report);

// Where a question's texts show on the level screen.
enum class TextPlace { Question, Answer, Theme };

// Empty when `text` fits its place in the game's fonts, else why not ("takes 3 lines, more than
// its 225 x 35 label holds").
QString textMisfit(TextPlace place, const QString& text);

}  // namespace vorn::check
