// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/titre.h"

#include "core/layout.h"
#include "core/pack.h"
#include "platform/messagebox.h"
#include "platform/platform.h"
#include "screens/accessibility.h"
#include "screens/host.h"

namespace vorn {

namespace {

// What a screen reader says of the keys, after the prompt.
QString titleTips() {
    return QStringLiteral(
        "Répondez avec les touches 1 à 4 du pavé numérique. F1 : règles du jeu. Échap : quitter. "
        "Plus de temps pour répondre : menu options.");
}

}  // namespace

Tecrantitre::Tecrantitre(GameHost& host)
    : Screen(QStringLiteral("ecrantitre")),
      fond(this, layout::ecrantitre::fond),
      Label1(this, layout::ecrantitre::Label1),
      music(host.platform().media, QStringLiteral("music")),
      Timer1(host.platform().clock, layout::ecrantitre::Timer1Ms, [this] { Timer1Timer(); }) {
    fond.setStretch(true);
    expose(fond);
    expose(Label1);
    expose(music);
    expose(QStringLiteral("Timer1"), Timer1);
    Timer1.setEnabled(true);
    // The prompt is read between its blinks too.
    describeForReading(
        *this,
        {{QAccessible::Heading, [] { return QString::fromUtf16(kApplicationTitle); }, &fond},
         {QAccessible::StaticText, [this] { return Label1.text(); }, &Label1, [] { return true; }},
         {QAccessible::StaticText, [] { return titleTips(); }}});
}

Tecrantitre::~Tecrantitre() = default;

void Tecrantitre::play(GameHost& principal) {
    principal.attach(*this);
    fond.load(pack::file(pack::titlePicture));
    music.setFileName(pack::file(pack::titleTune));
    music.open();
    music.play();
    announce(*this, QString::fromUtf16(kApplicationTitle) + QStringLiteral(". ") +
                        spoken(Label1.text()) + QStringLiteral(". ") + titleTips());
}

void Tecrantitre::Timer1Timer() {
    Label1.setVisible(!Label1.isVisible());
}

bool Tecrantitre::promptAt(QPointF screenPoint) const {
    return QRectF(Label1.geometry()).contains(screenPoint);
}

void Tecrantitre::shutdown() {
    Timer1.setEnabled(false);
    music.close();
}

}  // namespace vorn
