// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/gamestate.h"

#include "support/printing.h"

#include <gtest/gtest.h>

using vorn::formatPercentage;
using vorn::Pourcentage;

TEST(Pourcentage, TruncatesTowardZero) {
    EXPECT_EQ(Pourcentage(0, 1), 0);
    EXPECT_EQ(Pourcentage(1, 1), 100);
    EXPECT_EQ(Pourcentage(1, 3), 33);
    EXPECT_EQ(Pourcentage(2, 3), 66);
    EXPECT_EQ(Pourcentage(29, 30), 96);
    EXPECT_EQ(formatPercentage(2, 3), "66");
}

TEST(Pourcentage, ExactWholePercentagesAreNotRoundedDown) {
    // Every ratio the game can meet whose percentage is whole must come out exactly.
    for (int q = 1; q <= 30; ++q)
        for (int j = 0; j <= q; ++j)
            if ((100 * j) % q == 0) {
                EXPECT_EQ(Pourcentage(j, q), 100 * j / q) << j << "/" << q;
            }
    EXPECT_EQ(formatPercentage(7, 10), "70");
}

TEST(Pourcentage, NeverDividesByZero) {
    EXPECT_EQ(Pourcentage(3, 0), 0);
    EXPECT_EQ(formatPercentage(-1, 3), "-33");
}
