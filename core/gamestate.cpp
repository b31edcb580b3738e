// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/gamestate.h"

#include <cmath>

namespace vorn {

double Pourcentage(int j, int q) {
    if (q == 0) return 0;  // never asked for by the game; an edited save file must not crash it
    // 100 * j is exact in a double and the quotient is correctly rounded, so an exact whole
    // percentage never comes out a hair below itself (7 of 10 is 70, not 69).
    return std::trunc(100.0 * static_cast<double>(j) / static_cast<double>(q));
}

QString formatPercentage(int j, int q) {
    return QString::number(static_cast<long long>(Pourcentage(j, q)));
}

}  // namespace vorn
