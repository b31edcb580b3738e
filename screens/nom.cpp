// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/nom.h"

#include "core/host.h"
#include "core/layout.h"
#include "core/pack.h"
#include "core/screenset.h"
#include "platform/errors.h"
#include "platform/platform.h"
#include "records/Player.h"
#include "screens/HighScores.h"
#include "screens/accessibility.h"

#include <QLineEdit>
#include <QPushButton>

namespace vorn {

namespace enternom = layout::enternom;

Tenternom::Tenternom(GameHost& host)
    : Screen(QStringLiteral("enternom")),
      Image1(this, enternom::Image1),
      Label1(this, enternom::Label1),
      Label2(this, enternom::Label2),
      Edit1(this, enternom::Edit1),
      valider(this, enternom::valider, host.platform().clock),
      host_(host) {
    Image1.setStretch(true);
    // "Valider" is the screen's default button: Enter in the name box presses it.
    Edit1.setOnEnter([this] { valider.button().click(); });
    valider.setOnClick([this] { validerClick(); });
    for (const Element* e :
         std::initializer_list<const Element*>{&Image1, &Label1, &Label2, &Edit1, &valider})
        expose(*e);
    // The box is read with its label, "Tapez votre nom.", and what it holds, also where the
    // screen reader follows the keyboard into the box itself.
    Edit1.lineEdit().setAccessibleName(Label2.text());
    describeForReading(*this, {{QAccessible::Heading, [this] { return Label1.text(); }, &Label1},
                               {QAccessible::StaticText, [this] { return Label2.text(); }, &Label2},
                               {QAccessible::EditableText, [this] { return Label2.text(); }, &Edit1, {},
                                [this] { return Edit1.hasKeyboardFocus(); }, [this] { return Edit1.text(); }},
                               {QAccessible::Button, [this] { return valider.button().text(); }, &valider}});
}

Tenternom::~Tenternom() = default;

void Tenternom::affich() {
    // Tab goes from the name box to the button (the order is kept by the scene, which the screen
    // is in by now).
    if (scene()) QGraphicsWidget::setTabOrder(&Edit1, &valider);
    // The focus first: without its background the screen is still to be used.
    // Said first: the box then takes the focus, where a screen reader follows what is typed.
    announce(*this, spoken(Label1.text()) + u' ' + spoken(Label2.text()));
    Edit1.takeFocus();
    Image1.load(pack::file(pack::resultsPicture));
}

void Tenternom::validerClick() {
    GameHost& host = host_;
    ScreenSet& screens = host.screens();
    if (screens.enternom.get() != this) return;  // torn down meanwhile

    std::unique_ptr<TJoueur> player = std::move(screens.pendingPlayer);
    const QString typed = Edit1.text();
    if (player && !typed.isEmpty()) player->name = typed;  // as typed, blanks and all
    // Off the screen at once; the memory goes once this handler has returned.
    host.release(std::move(screens.enternom));

    if (player && screens.scores) {
        try {
            // Into the table as it is on disk now: another copy of the game on the same
            // folder may have recorded its player since this game ended.
            screens.scores->recordOnDisk(*player);
        } catch (const Error& e) {
            // The table could not be written: the player is told, and the game starts again
            // rather than leave an empty window.
            screens.scores.reset();
            player.reset();
            host.platform().errors.present(messageBoxText(e.message()));
            host.redmarrer1Click();
            return;
        }
        player.reset();
        showBestPlayers(host);
    }
    host.redmarrer1Click();
}

void Tenternom::shutdown() {
    valider.cancelPendingClick();
    valider.button().setEnabled(false);
}

}  // namespace vorn
