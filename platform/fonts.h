// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The layouts name Windows fonts; each maps to an installed Debian font that looks close.
// Sizes are character heights in pixels.

#include "platform/layoutitems.h"

#include <QFont>
#include <QString>

namespace vorn {

// "Arial Black" -> Inter Black, widened so that texts come out at the sizes the layouts give them;
// "Verdana" -> DejaVu Sans, "MS Sans Serif" -> Liberation Sans, "Jokerman" -> Lobster Two; any
// other family is used as it is.
QFont layoutFont(const FontStyle& wanted);

}  // namespace vorn
