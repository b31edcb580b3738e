// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The monkey: a seeded random sequence of keys, typing, clicks, menu commands and waits played on
// the real main window through the script runner, on virtual time. After every step the screens'
// rules are checked: one full-size screen at most, shown exactly when flagged, the game state in
// its ranges, no message on a complete pack, the game's volumes while it runs and the old ones
// after it ends. A step that ends the program (Esc, "quitter", closing) starts the next session
// in the same game folder, so saves and high scores carry over.

#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>

namespace vorn {
enum class VirtualMedia;
}

namespace vorn::test {

struct MonkeyOptions {
    std::uint64_t seed = 1;
    long steps = 3000;
    // A complete game folder that the monkey may write into (its save/ files).
    QString gameDir;
    // A file of the pack that the caller has broken: its own messages are allowed, and a screen
    // that its failure leaves flagged but unseen is no fault.
    QString brokenFile;
    // Through the sound backend instead of the simulated one (time stays virtual).
    bool realMedia = false;
};

struct MonkeySummary {
    std::uint64_t seed = 0;
    long steps = 0;
    int sessions = 0;
    std::map<QString, int> screensVisited;  // layout name -> times it came on screen
    int levelsStarted = 0;
    int bonusLevels = 0;
    int gamesFinished = 0;
    int gamesLost = 0;
    int saves = 0;
    int loads = 0;
    int messages = 0;
    std::int64_t virtualMs = 0;
    QStringList problems;  // the rules broken, each with its step and the commands before it

    QString text() const;
};

MonkeySummary runMonkey(const MonkeyOptions& options);

// The clickable names the monkey tries. A name that is not shown at that moment is a step that
// does nothing.
const QStringList& monkeyClickTargets();

}  // namespace vorn::test
