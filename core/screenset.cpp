// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/screenset.h"

#include "core/host.h"
#include "core/level.h"
#include "core/questions.h"
#include "records/Player.h"
#include "screens/HighScores.h"
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
    questionnaire.reset();
    host.release(std::move(niv));
}

void ScreenSet::teardown(GameHost& host) {
    host.release(std::move(titre));
    host.release(std::move(resultat));
    if (niv || questionnaire) closeLevel(host);
    if (highscore) {
        host.release(std::move(highscore));
        scores.reset();
    }
    host.release(std::move(enternom));
    pendingPlayer.reset();
    scores.reset();
}

void ScreenSet::clear() {
    titre.reset();
    resultat.reset();
    questionnaire.reset();
    niv.reset();
    highscore.reset();
    enternom.reset();
    scores.reset();
    pendingPlayer.reset();
}

}  // namespace vorn
