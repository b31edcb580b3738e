// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "flow/progression.h"

#include "core/gamestate.h"
#include "core/numbers.h"
#include "flow/flowhost.h"
#include "flow/screenset.h"
#include "platform/errors.h"
#include "platform/platform.h"
#include "records/Player.h"
#include "screens/HighScores.h"
#include "screens/anim.h"
#include "screens/level.h"
#include "screens/nom.h"
#include "screens/resultats.h"

namespace vorn {

namespace {

// Shows the results of the level that has just ended; returns when the screen has gone.
void showResults(FlowHost& host, int outcome) {
    ScreenSet& screens = host.screens();
    screens.resultat = std::make_unique<Tecran_resultat>(host);
    host.attach(*screens.resultat);
    const GameState& e = host.gameState();
    const QString text =
        u' ' + formatPercentage(e.ReponsesJustes, e.NumQuestion) + QStringLiteral("% ");
    screens.resultat->affich(outcome, text);
    screens.closeResults(host);
}

void playVideo(GameHost& host, int number) {
    tanim video(number, host);
    video.joue();
}

// The best players after a finished game: the table read afresh; a score that enters it asks
// for the player's name (the name entry's button goes on from there); otherwise the table shows
// and the game starts again.
void recordFinishedGame(FlowHost& host) {
    ScreenSet& screens = host.screens();
    screens.scores = std::make_unique<tscores>();
    screens.scores->charger();
    screens.pendingPlayer = std::make_unique<TJoueur>(tscores::kNobody, host.gameState().score);
    if (screens.scores->qualifie(*screens.pendingPlayer)) {
        screens.enternom = std::make_unique<Tenternom>(host);
        screens.enternom->setOnValidated(
            [&host](const QString& typed) { nameEntered(host, typed); });
        host.attach(*screens.enternom);
        screens.enternom->affich();
        return;
    }
    screens.pendingPlayer.reset();
    showBestPlayers(host);
    host.restartGame();
}

}  // namespace

int resultsOutcome(AfterPause next) {
    switch (next) {
        case AfterPause::GameLost:
            return Tecran_resultat::Perdu;
        case AfterPause::NextLevel:
            return Tecran_resultat::Passe;
        case AfterPause::GameFinished:
            return Tecran_resultat::Fini;
        case AfterPause::BonusLevel:
            return Tecran_resultat::Bonus;
        case AfterPause::NextQuestion:
            break;
    }
    return 0;
}

void startLevel(FlowHost& host, int level, const std::function<void(Tniv&)>& beforeShowing,
                LevelOpening opening) {
    ScreenSet& screens = host.screens();
    screens.niv = std::make_unique<Tniv>(host);
    Tniv& niveau = *screens.niv;
    niveau.setOnLevelOver([&host](AfterPause next) { endLevel(host, next); });
    niveau.init(level);
    if (beforeShowing) beforeShowing(niveau);
    host.attach(niveau);
    if (opening == LevelOpening::Pause)
        niveau.openInPause();
    else
        niveau.openQuestion();
}

void endLevel(FlowHost& host, AfterPause next) {
    GameState& e = host.gameState();
    switch (next) {
        case AfterPause::NextLevel:
            e.Niveau += 1;
            host.screens().closeLevel(host);
            showResults(host, resultsOutcome(next));
            startLevel(host, e.Niveau);
            return;
        case AfterPause::BonusLevel:
            e.Niveau = numbers::kBonusLevel;
            host.screens().closeLevel(host);
            showResults(host, resultsOutcome(next));
            startLevel(host, numbers::kBonusLevel);
            return;
        case AfterPause::GameFinished:
            host.screens().closeLevel(host);
            e.MortSubite = false;
            showResults(host, resultsOutcome(next));
            playVideo(host, numbers::kEndOfGameVideo);
            recordFinishedGame(host);
            return;
        case AfterPause::GameLost:
            host.screens().closeLevel(host);
            showResults(host, resultsOutcome(next));
            playVideo(host, numbers::kLostGameVideo);
            host.restartGame();
            return;
        case AfterPause::NextQuestion:
            return;
    }
}

void showBestPlayers(FlowHost& host) {
    ScreenSet& screens = host.screens();
    if (!screens.scores) {
        screens.scores = std::make_unique<tscores>();
        screens.scores->charger();
    }
    screens.highscore = std::make_unique<Thighscore>(host);
    host.attach(*screens.highscore);
    screens.highscore->affich(*screens.scores);
    screens.closeBestPlayers(host);
}

void nameEntered(FlowHost& host, const QString& typed) {
    ScreenSet& screens = host.screens();
    if (!screens.enternom) return;  // a click that came after the teardown
    std::unique_ptr<TJoueur> player = std::move(screens.pendingPlayer);
    if (player && !typed.isEmpty()) player->name = typed;  // as typed, blanks and all
    // Off the screen at once; the memory goes once the button's handler has returned.
    screens.closeNameEntry(host);

    if (player && screens.scores) {
        try {
            // Into the table as it is on disk now: another copy of the game on the same
            // folder may have recorded its player since this game ended.
            screens.scores->recordOnDisk(*player);
        } catch (const Error& error) {
            // The table could not be written: the player is told, and the game starts again
            // rather than leave an empty window.
            screens.scores.reset();
            player.reset();
            host.platform().errors.present(messageBoxText(error.message()));
            host.restartGame();
            return;
        }
        player.reset();
        showBestPlayers(host);
    }
    host.restartGame();
}

}  // namespace vorn
