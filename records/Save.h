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

// What a slot holds. Read back, it is checked: the level 1 to 4, the question within its level,
// the right answers no more than the questions answered, a percentage of at most 100.
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

// Writes `contents` into slot `slot` of the slots file, the other slots kept.
void writeSlot(const QString& slot, const SlotContents& contents);

}  // namespace vorn
