// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "flow/savegame.h"

#include "core/gamestate.h"
#include "core/numbers.h"
#include "core/rules.h"
#include "flow/flowhost.h"
#include "flow/progression.h"
#include "flow/screenset.h"
#include "records/Save.h"
#include "screens/level.h"

namespace vorn {

void sauvegarderBlock(FlowHost& host, const QString& slot) {
    const Tniv* niveau = host.screens().niv.get();
    if (!niveau || !niveau->ready()) return;
    const GameState& e = host.gameState();
    SlotContents contents;
    contents.score = e.score;
    contents.niveau = e.Niveau;
    contents.numQuestion = e.NumQuestion;
    contents.reponsesJustes = e.ReponsesJustes;
    contents.pourcentage = niveau->percentageText();
    contents.pause = niveau->inPauseAfterAnswer();
    writeSlot(slot, contents);
}

void chargerBlock(FlowHost& host, const QString& slot) {
    // Read and checked before anything is torn down: whatever the file holds, the level that
    // follows is one the game can play and end.
    const SlotContents c = readSlot(slot);
    host.tearDown();

    GameState& e = host.gameState();
    e.score = c.score;
    e.Niveau = c.niveau;
    // Saved in the pause after an answer, the game goes on from what follows it: the next
    // question at once, or the end of the level once the pause is over. On the bonus level, a
    // pause with an answer short means that answer was wrong, which ends the level.
    GameState resumed = e;
    resumed.NiveauInit = c.niveau;
    resumed.NumQuestion = c.numQuestion;
    resumed.ReponsesJustes = c.reponsesJustes;
    resumed.MortSubite =
        c.pause && c.niveau == numbers::kBonusLevel && c.reponsesJustes < c.numQuestion;
    LevelOpening opening = LevelOpening::Question;
    if (c.pause) {
        if (afterPause(resumed) == AfterPause::NextQuestion)
            resumed.NumQuestion += 1;
        else
            opening = LevelOpening::Pause;
    }
    startLevel(
        host, c.niveau,
        [&](Tniv& niveau) {
            e.NumQuestion = resumed.NumQuestion;
            e.ReponsesJustes = resumed.ReponsesJustes;
            e.MortSubite = resumed.MortSubite;
            niveau.setPercentageText(c.pourcentage);
        },
        opening);
}

}  // namespace vorn
