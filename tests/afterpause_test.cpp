// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What comes after the pause that follows an answer or a time-out, as one table of game states:
// every end-of-level rule (next question, level passed, bonus, finished, lost) and its results
// outcome.

#include "core/gamestate.h"
#include "flow/progression.h"
#include "screens/resultats.h"

#include <gtest/gtest.h>

using namespace vorn;

namespace afterpause_test {

struct Row {
    const char* what;
    int niveau;
    int numQuestion;
    int justes;
    int score;
    bool mortSubite;
    AfterPause expected;
};

GameState state(const Row& r) {
    GameState e;
    e.Niveau = r.niveau;
    e.NiveauInit = r.niveau;
    e.NumQuestion = r.numQuestion;
    e.ReponsesJustes = r.justes;
    e.score = r.score;
    e.MortSubite = r.mortSubite;
    return e;
}

const Row kRows[] = {
    {"level 1 goes on before its tenth question", 1, 9, 0, -4500, false, AfterPause::NextQuestion},
    {"level 2 goes on before its tenth question", 2, 1, 1, 12000, false, AfterPause::NextQuestion},
    {"level 1 passed with 8 of 10", 1, 10, 8, 7000, false, AfterPause::NextLevel},
    {"level 1 lost with 7 of 10", 1, 10, 7, 5500, false, AfterPause::GameLost},
    {"level 2 passed with 7 of 10", 2, 10, 7, 22500, false, AfterPause::NextLevel},
    {"level 2 lost with 6 of 10", 2, 10, 6, 20000, false, AfterPause::GameLost},
    {"level 3 with every answer right opens the bonus level", 3, 10, 10, 60000, false,
     AfterPause::BonusLevel},
    {"level 3 passed with 6 of 10 finishes the game", 3, 10, 6, 46000, false,
     AfterPause::GameFinished},
    {"level 3 lost with 5 of 10", 3, 10, 5, 42500, false, AfterPause::GameLost},
    {"only exactly 60000 opens the bonus level", 3, 10, 10, 61000, false, AfterPause::GameFinished},
    {"a score of 60000 opens the bonus only at the end of level 3", 2, 10, 10, 60000, false,
     AfterPause::NextLevel},
    {"the bonus level goes on while every answer is right", 4, 29, 29, 176000, false,
     AfterPause::NextQuestion},
    {"the bonus level ends after its thirtieth question", 4, 30, 30, 180000, false,
     AfterPause::GameFinished},
    {"the bonus level ends at its first wrong answer", 4, 5, 4, 75500, true,
     AfterPause::GameFinished},
    {"a wrong first answer ends the bonus level too", 4, 1, 0, 59500, true,
     AfterPause::GameFinished},
};

class AfterPauseRule : public ::testing::TestWithParam<Row> {};

TEST_P(AfterPauseRule, DecidesFromTheGameStateAlone) {
    const Row& r = GetParam();
    EXPECT_EQ(static_cast<int>(afterPause(state(r))), static_cast<int>(r.expected)) << r.what;
}

INSTANTIATE_TEST_SUITE_P(EveryRule, AfterPauseRule, ::testing::ValuesIn(kRows));

TEST(AfterPause, ThePassThresholdFollowsTheLevelTheScreenWasSetUpFor) {
    GameState e = state({"", 2, 10, 7, 0, false, AfterPause::NextLevel});
    EXPECT_TRUE(levelPassed(e));
    e.NiveauInit = 1;  // 80 % needed
    EXPECT_FALSE(levelPassed(e));
    e.NumQuestion = 0;  // nothing asked: nothing passed, and no division by zero
    EXPECT_FALSE(levelPassed(e));
}

TEST(AfterPause, EachEndOfLevelShowsItsOutcome) {
    EXPECT_EQ(resultsOutcome(AfterPause::GameLost), Tecran_resultat::Perdu);
    EXPECT_EQ(resultsOutcome(AfterPause::NextLevel), Tecran_resultat::Passe);
    EXPECT_EQ(resultsOutcome(AfterPause::GameFinished), Tecran_resultat::Fini);
    EXPECT_EQ(resultsOutcome(AfterPause::BonusLevel), Tecran_resultat::Bonus);
    EXPECT_EQ(Tecran_resultat::Perdu, 1);
    EXPECT_EQ(Tecran_resultat::Bonus, 4);
}

}  // namespace afterpause_test
