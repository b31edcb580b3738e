// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A seeded random sequence of keys, typing, clicks, menu commands and waits on the test pack:
// every screen rule holds after every step and no message appears. VORN_MONKEY_STEPS and
// VORN_MONKEY_SEED lengthen the run or change its seed (build/tests/vorn-monkey runs it on any
// game folder).

#include "support/monkey.h"
#include "support/testpack.h"

#include <gtest/gtest.h>

#include <iostream>

using namespace vorn::test;

namespace monkey_test {

TEST(Monkey, RandomKeysMenusAndWaitsKeepEveryScreenRule) {
    TestPack pack;
    MonkeyOptions options;
    options.seed = qEnvironmentVariableIsSet("VORN_MONKEY_SEED")
                       ? qgetenv("VORN_MONKEY_SEED").toULongLong()
                       : 20261209;
    options.steps = qEnvironmentVariableIsSet("VORN_MONKEY_STEPS")
                        ? qgetenv("VORN_MONKEY_STEPS").toLong()
                        : 3000;
    options.gameDir = pack.dir();
    const MonkeySummary summary = runMonkey(options);
    std::cout << summary.text().toStdString() << std::flush;
    EXPECT_TRUE(summary.problems.isEmpty()) << summary.problems.join("\n").toStdString();
    EXPECT_EQ(summary.steps, options.steps);
    EXPECT_EQ(summary.messages, 0);
    // The run went through the game, not only its menus.
    EXPECT_GT(summary.levelsStarted, 0);
    EXPECT_GT(summary.screensVisited.count("ecran_resultat"), 0u);
}

// The same monkey on packs with one file broken: the file's messages are allowed, every other
// rule holds through the error paths (a level whose set-up failed, a results screen without its
// picture, no intro and so no title).
TEST(Monkey, BrokenFilesKeepTheScreenRulesToo) {
    const char* const files[] = {"video/0.avi",         "video/2.avi",  "image/niv1.jpg",
                                 "image/resultats.jpg", "son/faux.wav", "dB/questionnaire.db"};
    std::uint64_t seed = 7;
    for (const char* file : files) {
        TestPack pack;
        pack.write(file, QByteArray(512, '\x5a'));
        MonkeyOptions options;
        options.seed = seed++;
        options.steps = 500;
        options.gameDir = pack.dir();
        options.brokenFile = file;
        const MonkeySummary summary = runMonkey(options);
        EXPECT_TRUE(summary.problems.isEmpty()) << file << "\n" << summary.text().toStdString();
        EXPECT_GT(summary.messages, 0) << file << ": the broken file was never used";
    }
}

}  // namespace monkey_test
