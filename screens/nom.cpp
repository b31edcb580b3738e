// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/nom.h"

#include "screens/host.h"
#include "core/layout.h"
#include "core/pack.h"
#include "platform/platform.h"

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
}

Tenternom::~Tenternom() = default;

void Tenternom::affich() {
    // Tab goes from the name box to the button (the order is kept by the scene, which the screen
    // is in by now).
    if (scene()) QGraphicsWidget::setTabOrder(&Edit1, &valider);
    // The focus first: without its background the screen is still to be used.
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
