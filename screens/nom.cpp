// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/nom.h"

#include "core/layout.h"
#include "core/pack.h"
#include "platform/platform.h"
#include "screens/accessibility.h"
#include "screens/host.h"

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
      valider(this, enternom::valider, host.platform().clock) {
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
    describeForReading(
        *this, {{QAccessible::Heading, [this] { return Label1.text(); }, &Label1},
                {QAccessible::StaticText, [this] { return Label2.text(); }, &Label2},
                {QAccessible::EditableText,
                 [this] { return Label2.text(); },
                 &Edit1,
                 {},
                 [this] { return Edit1.hasKeyboardFocus(); },
                 [this] { return Edit1.text(); }},
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
    if (onValidated_) onValidated_(Edit1.text());
}

void Tenternom::shutdown() {
    valider.cancelPendingClick();
    valider.button().setEnabled(false);
}

}  // namespace vorn
