// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/resultats.h"

#include "core/layout.h"
#include "core/pack.h"
#include "platform/platform.h"
#include "screens/accessibility.h"
#include "screens/host.h"

#include <algorithm>

namespace vorn {

namespace ecran_resultat = layout::ecran_resultat;

Tecran_resultat::Tecran_resultat(GameHost& host)
    : Screen(QStringLiteral("ecran_resultat")),
      fond(this, ecran_resultat::fond),
      votre(this, ecran_resultat::votre),
      pass(this, ecran_resultat::pass),
      pourcent(this, ecran_resultat::pourcent),
      over(this, ecran_resultat::over),
      fin(this, ecran_resultat::fin),
      bonus(this, ecran_resultat::bonus),
      attention(this, ecran_resultat::attention),
      Timer1(host.platform().clock, ecran_resultat::Timer1Ms, [this] { Timer1Timer(); }),
      host_(host) {
    fond.setStretch(true);
    pass.hide();
    pourcent.setVerticalCentre(true);
    over.hide();
    fin.hide();
    for (Label* l : {&bonus, &attention}) {
        l->setAlignment(Qt::AlignHCenter);
        l->setWordWrap(true);
        // Their boxes reach past the client area, under the vertical scroll bar that the screen
        // brings up: the lines wrap and centre in the part that shows.
        const int hidden = l->geometry().right() + 1 - host.visibleWidth();
        l->setTextMargins(QMargins(0, 0, std::max(0, hidden), 0));
        l->hide();
    }
    for (const Element* e : std::initializer_list<const Element*>{&fond, &votre, &pass, &pourcent,
                                                                  &over, &fin, &bonus, &attention})
        expose(*e);
    expose(QStringLiteral("Timer1"), Timer1);
    std::vector<Reading> readings;
    for (const Label* l : readingOrder())
        readings.push_back({QAccessible::StaticText, [l] { return l->text(); }, l});
    describeForReading(*this, std::move(readings));
}

std::vector<const Label*> Tecran_resultat::readingOrder() const {
    return {&votre, &bonus, &attention, &pourcent, &pass, &over, &fin};
}

Tecran_resultat::~Tecran_resultat() = default;

void Tecran_resultat::affich(int outcome, const QString& text) {
    resultScreenDone_ = false;
    fond.load(pack::file(pack::resultsPicture));
    switch (outcome) {
        case Perdu:
            over.show();
            break;
        case Passe:
            pass.show();
            break;
        case Fini:
            fin.show();
            break;
        case Bonus:
            bonus.show();
            attention.show();
            votre.hide();
            pourcent.hide();
            Timer1.setInterval(ecran_resultat::Timer1BonusMs);
            break;
        default:
            break;
    }
    outcome_ = outcome;
    pourcent.setText(text);
    Timer1.setEnabled(true);
    QStringList said;
    for (const Label* l : readingOrder())
        if (l->isVisible()) said << spoken(l->text());
    announce(*this, said.join(u' '));
    host_.waitUntil([this] { return resultScreenDone_; });
}

void Tecran_resultat::Timer1Timer() {
    resultScreenDone_ = true;
    Timer1.setEnabled(false);
}

void Tecran_resultat::shutdown() {
    Timer1.setEnabled(false);
}

}  // namespace vorn
