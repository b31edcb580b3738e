// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The name entry: a finished game whose score enters the table asks the player for a name. Its
// button (or Enter in the box) hands the name typed to what the game does next (the flow puts
// the player into the table, shows it and starts the game again).

#include "platform/controls.h"
#include "platform/label.h"
#include "platform/picture.h"
#include "platform/screen.h"

#include <functional>

namespace vorn {

class GameHost;

class Tenternom : public Screen {
  public:
    explicit Tenternom(GameHost& host);
    ~Tenternom() override;

    // What the button does with the name typed.
    void setOnValidated(std::function<void(const QString&)> onValidated) {
        onValidated_ = std::move(onValidated);
    }
    // Loads the background and gives the focus to the name box; returns at once.
    void affich();
    void validerClick();
    void shutdown() override;

    // Layout, back to front.
    Picture Image1;
    Label Label1;
    Label Label2;
    EditBox Edit1;
    PushButton valider;

  private:
    std::function<void(const QString&)> onValidated_;
};

}  // namespace vorn
