// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Drawing question codes on a clock-seeded generator.

#include "core/questions.h"
#include "platform/errors.h"
#include "platform/virtualclock.h"

#include <QRegularExpression>

#include "support/printing.h"

#include <gtest/gtest.h>

#include <set>

using namespace vorn;

namespace questions_test {

class Draw : public ::testing::Test {
  protected:
    RecordingErrorPresenter errors;
    EventGuard guard{errors};
    VirtualClock clock{guard};
    Hasard hasard{clock};

    void at(int h, int m, int s, int ms) { clock.setTimeOfDay(TimeOfDay{h, m, s, ms}); }
};

TEST_F(Draw, CodeDependsOnlyOnLevelAndClockReading) {
    at(0, 0, 0, 0);
    clock.hold(true);
    EXPECT_EQ(tirecode(hasard, 1), "1a1");
    EXPECT_EQ(tirecode(hasard, 1), "1a1");  // held: the same reading, the same code
    at(12, 34, 56, 789);
    EXPECT_EQ(tirecode(hasard, 1), "1c6");
    EXPECT_EQ(tirecode(hasard, 3), "3c6");
}

TEST_F(Draw, GeneratorFollowsItsRecurrence) {
    at(0, 0, 0, 0);
    clock.hold(true);
    hasard.reseed();
    EXPECT_EQ(hasard.seed(), 0u);
    EXPECT_EQ(hasard.draw(6), 0u);  // seed 1: (1 * 6) >> 32
    EXPECT_EQ(hasard.seed(), 1u);
    at(23, 59, 59, 999);
    hasard.reseed();
    EXPECT_EQ(hasard.seed(), 86399999u);
    const std::uint32_t next = 86399999u * 134775813u + 1u;
    EXPECT_EQ(hasard.draw(19), static_cast<std::uint32_t>((std::uint64_t{next} * 19) >> 32));
}

TEST_F(Draw, EveryCodeIsWellFormed) {
    static const QRegularExpression form(QStringLiteral("^[1-4][a-f]([1-9]|1[0-9])$"));
    std::set<QString> seen;
    for (int ms = 0; ms < 86400000; ms += 997) {  // readings across a whole day
        at(0, 0, 0, 0);
        clock.setTimeOfDay(TimeOfDay::fromMilliseconds(ms));
        const QString code = tirecode(hasard, 2);
        ASSERT_TRUE(form.match(code).hasMatch()) << code.toStdString();
        ASSERT_TRUE(code.startsWith(u'2'));
        seen.insert(code);
    }
    EXPECT_EQ(seen.size(), 114u);  // every code of the level comes up
}

TEST_F(Draw, FillGivesDistinctCodesAndLeavesTheRestAlone) {
    TQuestionnaire liste(blankList);
    liste.tableaux[12] = QStringLiteral("kept");
    remplir(hasard, liste, 2, 9);
    std::set<QString> codes(liste.tableaux.begin(), liste.tableaux.begin() + 10);
    EXPECT_EQ(codes.size(), 10u);
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(liste.tableaux[static_cast<std::size_t>(i)].startsWith(u'2'));
    EXPECT_EQ(liste.tableaux[10], "");
    EXPECT_EQ(liste.tableaux[12], "kept");
    for (int i = 13; i < 30; ++i)
        EXPECT_TRUE(liste.tableaux[static_cast<std::size_t>(i)].isEmpty());
}

TEST_F(Draw, NegativeFillDoesNothing) {
    TQuestionnaire liste(blankList);
    liste.tableaux[0] = QStringLiteral("1a1");
    const auto before = clock.nowMs();
    remplir(hasard, liste, 1, -1);
    EXPECT_EQ(liste.tableaux[0], "1a1");
    EXPECT_EQ(clock.nowMs(), before);  // not even a reading
}

TEST_F(Draw, BonusRefillReplacesEveryEarlierCode) {
    for (int run = 0; run < 20; ++run) {
        at(run, 7 * run % 60, 0, 31 * run);
        TQuestionnaire liste(blankList);
        remplir(hasard, liste, 4, 9);
        const TTableaux before = liste.tableaux;
        remplir(hasard, liste, 4, 29);
        std::set<QString> all(liste.tableaux.begin(), liste.tableaux.end());
        EXPECT_EQ(all.size(), 30u);
        for (int i = 0; i < 10; ++i)
            EXPECT_NE(liste.tableaux[static_cast<std::size_t>(i)],
                      before[static_cast<std::size_t>(i)])
                << "slot " << i;
        for (const QString& code : liste.tableaux) EXPECT_TRUE(code.startsWith(u'4'));
    }
}

TEST_F(Draw, FillWaitsForTheReadingToChange) {
    at(8, 0, 0, 0);
    clock.hold(true);
    std::uint64_t readings = 0;
    clock.onHeldReading([&](std::uint64_t n) {
        readings = n;
        if (n == 5000) clock.hold(false);  // the clock moves on only after many readings
    });
    TQuestionnaire liste(blankList);
    remplir(hasard, liste, 1, 1);
    EXPECT_EQ(readings, 5000u);
    EXPECT_NE(liste.tableaux[0], liste.tableaux[1]);
    EXPECT_FALSE(liste.tableaux[1].isEmpty());
}

TEST_F(Draw, CodesWithTheSamePrefixAreDifferent) {
    // 1a1 and 1a10 differ: the comparison is on the whole text.
    TQuestionnaire liste(blankList);
    liste.tableaux[0] = QStringLiteral("1a10");
    at(0, 0, 0, 0);
    clock.hold(true);
    clock.onHeldReading([&](std::uint64_t n) {
        if (n > 1) clock.hold(false);
    });
    remplir(hasard, liste, 1, 0);  // slot 0 is compared with itself only: 1a1 is new
    EXPECT_EQ(liste.tableaux[0], "1a1");
}

}  // namespace questions_test
