// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The flow of the game from screen to screen: the one place that starts a level, the end of a
// level that afterPause (core/rules.h) decided, and the end of a game with its best players. It
// reaches the main window only through FlowHost.

#include "core/rules.h"

#include <QString>

#include <functional>

namespace vorn {

class FlowHost;
class Tniv;

// The results screen's outcome for the end of a level (1 lost, 2 passed, 3 finished, 4 bonus).
int resultsOutcome(AfterPause next);

// How a level that starts opens: on question NumQuestion with its full time, or in the pause
// that follows an answer (a game saved during that pause), the level's end coming after it.
enum class LevelOpening { Question, Pause };

// Starts `level`: creates the level screen (present from then on), sets it up (its video, its
// drawn list, thirty codes on the bonus level), runs `beforeShowing` (a loaded game puts back
// its counts there), shows it, poses question NumQuestion and starts the question's time (or,
// opening in the pause, shows the question number and starts the pause). Used by a new game, the
// end of a level and the save slots.
void startLevel(FlowHost& host, int level, const std::function<void(Tniv&)>& beforeShowing = {},
                LevelOpening opening = LevelOpening::Question);

// Carries out the end of a level that afterPause decided. Closes the level screen first: the
// caller (the level screen's pause) must not touch the screen afterwards.
void endLevel(FlowHost& host, AfterPause next);

// Shows the best players (the table of the moment, or the one on disk) until the screen's time
// is over; the screen and the table go afterwards.
void showBestPlayers(FlowHost& host);

// The name entry's button: the finished game's player, named `typed` (when not empty), goes
// into the table on disk, the best players show, and the game starts again.
void nameEntered(FlowHost& host, const QString& typed);

}  // namespace vorn
