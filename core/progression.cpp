// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/progression.h"

#include "core/gamestate.h"
#include "core/host.h"
#include "core/layout.h"
#include "core/level.h"
#include "core/questions.h"
#include "core/screenset.h"
#include "records/Player.h"
#include "screens/HighScores.h"
#include "screens/anim.h"
#include "screens/nom.h"
#include "screens/resultats.h"

namespace vorn {

namespace {

constexpr int kBonusLevel = 4;
constexpr int kBonusScore = 60000;  // every answer of levels 1 to 3 right

// Shows the results of the level that has just ended; returns when the screen has gone.
void showResults(GameHost& host, int outcome) {
    ScreenSet& screens = host.screens();
    screens.resultat = std::make_unique<Tecran_resultat>(host);
    host.attach(*screens.resultat);
    const GameState& e = host.etat();
    const QString text = u' ' + pourcentageTexte(e.ReponsesJustes, e.NumQuestion) + QStringLiteral("% ");
    screens.resultat->affich(outcome, text);
}

void playVideo(GameHost& host, int number) {
    tanim video(number, host);
    video.joue();
}

// The best players after a finished game: the table read afresh; a score that enters it asks
// for the player's name (the name entry's button goes on from there); otherwise the table shows
// and the game starts again.
void recordFinishedGame(GameHost& host) {
    ScreenSet& screens = host.screens();
    screens.scores = std::make_unique<tscores>();
    screens.scores->charger();
    screens.pendingPlayer = std::make_unique<TJoueur>(tscores::kNobody, host.etat().score);
    if (screens.scores->qualifie(*screens.pendingPlayer)) {
        screens.enternom = std::make_unique<Tenternom>(host);
        host.attach(*screens.enternom);
        screens.enternom->affich();
        return;
    }
    screens.pendingPlayer.reset();
    showBestPlayers(host);
    host.redmarrer1Click();
}

}  // namespace

int questionsOfLevel(int level) {
    return level == kBonusLevel ? 30 : 10;
}

bool levelPassed(const GameState& e) {
    return e.NumQuestion > 0 && static_cast<long long>(e.ReponsesJustes) * 100 >=
                                    static_cast<long long>(90 - 10 * e.NiveauInit) * e.NumQuestion;
}

AfterPause afterPause(const GameState& e) {
    const bool levelOver = (e.Niveau < kBonusLevel && e.NumQuestion == questionsOfLevel(e.Niveau)) ||
                           (e.Niveau == kBonusLevel && e.NumQuestion == questionsOfLevel(kBonusLevel)) ||
                           e.MortSubite;
    if (!levelOver) return AfterPause::NextQuestion;
    const bool passed = levelPassed(e);
    if (passed && e.Niveau < 3) return AfterPause::NextLevel;
    if (e.score == kBonusScore && e.Niveau == 3) return AfterPause::BonusLevel;
    if ((passed && e.Niveau == 3) || e.MortSubite ||
        (e.NumQuestion == questionsOfLevel(kBonusLevel) && e.Niveau == kBonusLevel))
        return AfterPause::GameFinished;
    // The pass test failed on level 1, 2 or 3 (a bonus level that is over has finished the game).
    return AfterPause::GameLost;
}

int resultsOutcome(AfterPause next) {
    switch (next) {
        case AfterPause::GameLost: return Tecran_resultat::Perdu;
        case AfterPause::NextLevel: return Tecran_resultat::Passe;
        case AfterPause::GameFinished: return Tecran_resultat::Fini;
        case AfterPause::BonusLevel: return Tecran_resultat::Bonus;
        case AfterPause::NextQuestion: break;
    }
    return 0;
}

QString questionCode(GameHost& host, int numQuestion) {
    const TQuestionnaire* liste = host.screens().questionnaire.get();
    if (!liste || numQuestion < 1 || numQuestion > static_cast<int>(liste->tableaux.size())) return {};
    return liste->tableaux[static_cast<std::size_t>(numQuestion - 1)];
}

void startLevel(GameHost& host, int level, const std::function<void(Tniv&)>& beforeShowing,
                LevelOpening opening) {
    ScreenSet& screens = host.screens();
    screens.niv = std::make_unique<Tniv>(host);
    Tniv& niveau = *screens.niv;
    niveau.init(level);
    if (level == kBonusLevel) remplir(host.hasard(), *screens.questionnaire, kBonusLevel, questionsOfLevel(kBonusLevel) - 1);
    if (beforeShowing) beforeShowing(niveau);
    host.attach(niveau);
    if (opening == LevelOpening::Pause) {
        niveau.showQuestionNumber();
        niveau.TimerPause.setEnabled(true);
        return;
    }
    niveau.posequestion(questionCode(host, host.etat().NumQuestion));
    niveau.TimerQuest.setEnabled(true);
}

void endLevel(GameHost& host, AfterPause next) {
    GameState& e = host.etat();
    switch (next) {
        case AfterPause::NextLevel:
            e.Niveau += 1;
            host.screens().closeLevel(host);
            showResults(host, resultsOutcome(next));
            startLevel(host, e.Niveau);
            return;
        case AfterPause::BonusLevel:
            e.Niveau = kBonusLevel;
            host.screens().closeLevel(host);
            showResults(host, resultsOutcome(next));
            startLevel(host, kBonusLevel);
            return;
        case AfterPause::GameFinished:
            host.screens().closeLevel(host);
            e.MortSubite = false;
            showResults(host, resultsOutcome(next));
            playVideo(host, layout::anim::endOfGameVideo);
            recordFinishedGame(host);
            return;
        case AfterPause::GameLost:
            host.screens().closeLevel(host);
            showResults(host, resultsOutcome(next));
            playVideo(host, 5);
            host.redmarrer1Click();
            return;
        case AfterPause::NextQuestion:
            return;
    }
}

}  // namespace vorn
