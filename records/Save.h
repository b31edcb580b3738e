// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The four save slots of "save/Sauvegardes.ini", sections "Block1" to "Block4". A slot holds the
// score, the level, the question number, the right answers so far and the text of the level
// screen's percentage, and whether it was saved in the pause after an answer; not the questions:
// a loaded level draws new ones and goes on from the saved question number.

#include <QString>

namespace vorn {

class GameHost;

// What a slot gives back, checked: the level 1 to 4, the question within its level, the right
// answers no more than the questions answered, a percentage of at most 100.
struct SlotContents {
    int score = 0;
    int niveau = 1;
    int numQuestion = 1;  // the question on screen, or the one just answered (`pause`)
    int reponsesJustes = 0;
    QString pourcentage;  // the percentage label's text
    bool pause = false;   // saved after question numQuestion was answered or timed out
};

// Reads slot `slot` ("1" to "4") of the slots file; a missing file, section or key, or a value out
// of its range, gives the value of a new game.
SlotContents readSlot(const QString& slot);

// Writes the game in progress into slot `slot`; the game goes on as it was. Does nothing when no
// level is in progress (a save chosen from a menu opened before the level went away).
void sauvegarderBlock(GameHost& host, const QString& slot);

// Tears down whatever is shown and starts the level saved in slot `slot` from its question, or,
// saved in the pause after an answer, from what follows that answer.
void chargerBlock(GameHost& host, const QString& slot);

}  // namespace vorn
