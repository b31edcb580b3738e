// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The record of the game in progress, read and written in place by the level screen, the
// progression rules, the main window and the save slots.

#include <QString>

namespace vorn {

struct GameState {
    int score = 0;                // whole game, across levels; may go below zero
    int Niveau = 0;               // 1 to 3, or 4 for the bonus level
    int NiveauInit = 0;           // level last given to the level set-up: points and pass threshold
    int NumQuestion = 0;          // 1-based question on screen in the current level
    int ReponsesJustes = 0;       // right answers in the current level
    bool MortSubite = false;      // a wrong answer or time-out on the bonus level
    bool AttenteReponse = false;  // a question is open and takes an answer key
    // The player's option, not part of a game: a question waits this many times TimerQuestMs.
    int answerTimeFactor = 1;
};

// Percentage of right answers j among q questions, truncated toward zero (2 of 3 gives 66).
double Pourcentage(int j, int q);

// The percentage as the screens write it: the shortest decimal form ("66").
QString formatPercentage(int j, int q);

}  // namespace vorn
