// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The rules that lead from question to question and from level to level: what comes after the
// pause that follows every answer or time-out is one pure function of the game state.

#include "core/numbers.h"

namespace vorn {

struct GameState;

enum class AfterPause {
    NextQuestion,  // the level goes on
    NextLevel,     // results "level passed", then the next level
    BonusLevel,    // results "bonus", then the bonus level
    GameFinished,  // results "finished", the end video, the best players
    GameLost,      // results "lost", the lost game's video, a new start
};

// Questions of a level: ten, thirty on the bonus level.
using numbers::questionsOfLevel;
// The pass test on the exact ratio: right answers / questions asked x 100 >= the level's
// threshold (90 - 10 x level).
bool levelPassed(const GameState& e);
// What comes after the pause.
AfterPause afterPause(const GameState& e);

}  // namespace vorn
