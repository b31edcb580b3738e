// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the flow of the game asks of the main window beyond what the screens ask: the screens in
// place. The main window implements it.

#include "screens/host.h"

namespace vorn {

class ScreenSet;

class FlowHost : public GameHost {
  public:
    virtual ScreenSet& screens() = 0;
};

}  // namespace vorn
