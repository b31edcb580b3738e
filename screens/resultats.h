// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The results screen: the level's percentage of right answers with one outcome line (lost, passed,
// finished, bonus) for 4 s, or 7 s for the bonus announcement. affich() returns after that time,
// the screen destroyed.

#include "platform/clock.h"
#include "platform/label.h"
#include "platform/picture.h"
#include "platform/screen.h"

#include <vector>

namespace vorn {

class GameHost;

class Tecran_resultat : public Screen {
  public:
    enum Outcome { Perdu = 1, Passe = 2, Fini = 3, Bonus = 4 };

    explicit Tecran_resultat(GameHost& host);
    ~Tecran_resultat() override;

    void affich(int outcome, const QString& text);
    // The outcome the screen shows; 0 before affich.
    int outcome() const { return outcome_; }
    void Timer1Timer();
    void shutdown() override;

    Picture fond;
    Label votre;
    Label pass;
    Label pourcent;
    Label over;
    Label fin;
    Label bonus;
    Label attention;
    Timer Timer1;

  private:
    // Its texts as a screen reader reads them, top to bottom.
    std::vector<const Label*> readingOrder() const;

    GameHost& host_;
    int outcome_ = 0;
    bool resultScreenDone_ = false;  // set by Timer1: ends the wait of affich
};

}  // namespace vorn
