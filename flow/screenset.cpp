// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "flow/screenset.h"

#include "records/Player.h"
#include "screens/HighScores.h"
#include "screens/host.h"
#include "screens/level.h"
#include "screens/nom.h"
#include "screens/resultats.h"
#include "screens/titre.h"

namespace vorn {

ScreenSet::ScreenSet() = default;

ScreenSet::~ScreenSet() {
    clear();
}

ScreenFlags ScreenSet::flags() const {
    return ScreenFlags{titre != nullptr, niv != nullptr, resultat != nullptr, highscore != nullptr,
                       enternom != nullptr};
}

void ScreenSet::closeLevel(GameHost& host) {
    host.release(std::move(niv));
}

void ScreenSet::closeResults(GameHost& host) {
    host.release(std::move(resultat));
}

void ScreenSet::closeBestPlayers(GameHost& host) {
    if (!highscore) return;
    host.release(std::move(highscore));
    scores.reset();
}

void ScreenSet::closeNameEntry(GameHost& host) {
    host.release(std::move(enternom));
}

void ScreenSet::teardown(GameHost& host) {
    host.release(std::move(titre));
    closeResults(host);
    closeLevel(host);
    closeBestPlayers(host);
    closeNameEntry(host);
    pendingPlayer.reset();
    scores.reset();
}

void ScreenSet::clear() {
    titre.reset();
    resultat.reset();
    niv.reset();
    highscore.reset();
    enternom.reset();
    scores.reset();
    pendingPlayer.reset();
}

}  // namespace vorn
