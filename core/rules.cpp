// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/rules.h"

#include "core/gamestate.h"

namespace vorn {

bool levelPassed(const GameState& e) {
    return e.NumQuestion > 0 &&
           static_cast<long long>(e.ReponsesJustes) * 100 >=
               static_cast<long long>(numbers::passThreshold(e.NiveauInit)) * e.NumQuestion;
}

AfterPause afterPause(const GameState& e) {
    using numbers::kBonusLevel;
    using numbers::kLastLevel;
    const bool levelOver =
        (e.Niveau < kBonusLevel && e.NumQuestion == questionsOfLevel(e.Niveau)) ||
        (e.Niveau == kBonusLevel && e.NumQuestion == questionsOfLevel(kBonusLevel)) || e.MortSubite;
    if (!levelOver) return AfterPause::NextQuestion;
    const bool passed = levelPassed(e);
    if (passed && e.Niveau < kLastLevel) return AfterPause::NextLevel;
    if (e.score == numbers::kBonusScore && e.Niveau == kLastLevel) return AfterPause::BonusLevel;
    if ((passed && e.Niveau == kLastLevel) || e.MortSubite ||
        (e.NumQuestion == questionsOfLevel(kBonusLevel) && e.Niveau == kBonusLevel))
        return AfterPause::GameFinished;
    // The pass test failed on level 1, 2 or 3 (a bonus level that is over has finished the game).
    return AfterPause::GameLost;
}

}  // namespace vorn
