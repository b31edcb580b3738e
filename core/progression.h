// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The rules of the game that lead from question to question and from level to level. What comes
// after the pause that follows every answer or time-out is one pure rule of the game state
// (afterPause); the sequences that carry it out, and the one place that starts a level, use the
// main window only through GameHost.

#include <QString>

#include <functional>

namespace vorn {

class GameHost;
class Tniv;
struct GameState;

enum class AfterPause {
    NextQuestion,  // the level goes on
    NextLevel,     // results "level passed", then the next level
    BonusLevel,    // results "bonus", then the bonus level
    GameFinished,  // results "finished", the end video, the best players
    GameLost,      // results "lost", the lost game's video, a new start
};

// Questions of a level: ten, thirty on the bonus level.
int questionsOfLevel(int level);
// The pass test on the exact ratio: right answers / questions asked x 100 >= 90 - 10 x level.
bool levelPassed(const GameState& e);
// What comes after the pause.
AfterPause afterPause(const GameState& e);
// The results screen's outcome for the end of a level (1 lost, 2 passed, 3 finished, 4 bonus).
int resultsOutcome(AfterPause next);

// The code of question `numQuestion` in the current drawn list (slot numQuestion - 1), or an
// empty code when there is none.
QString questionCode(GameHost& host, int numQuestion);

// How a level that starts opens: on question NumQuestion with its full time, or in the pause
// that follows an answer (a game saved during that pause), the level's end coming after it.
enum class LevelOpening { Question, Pause };

// Starts `level`: creates the level screen (present from then on), sets it up (its video, its
// drawn list, thirty codes on the bonus level), runs `beforeShowing` (a loaded game puts back
// its counts there), shows it, poses question NumQuestion and starts the question's time (or,
// opening in the pause, shows the question number and starts the pause). Used by a new game, the
// progression and the save slots.
void startLevel(GameHost& host, int level, const std::function<void(Tniv&)>& beforeShowing = {},
                LevelOpening opening = LevelOpening::Question);

// Carries out the end of a level that afterPause decided. Closes the level screen first: the
// caller (the level screen's pause) must not touch the screen afterwards.
void endLevel(GameHost& host, AfterPause next);

}  // namespace vorn
