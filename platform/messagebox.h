// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The application's default error message: a modal box captioned with the application title,
// with the error icon and an OK button. Timers go on firing while it is open.

#include "platform/errors.h"

namespace vorn {

// The application's title: the main window's caption, and the error box's.
inline constexpr char16_t kApplicationTitle[] = u"V.O.R.N. VOZID";

class MessageBoxPresenter : public ErrorPresenter {
  public:
    void present(const QString& boxText) override;
};

}  // namespace vorn
