// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The fault matrix: every file of the content pack, one at a time, removed, emptied, cut in half,
// replaced by garbage and replaced by a valid file of another kind; for each, a game is driven
// through the screens that use the file. The game must show the message of that file (or none,
// where none is due), skip what the failure skips, go on to the end of the route, keep its screen
// rules at every step, and change no file outside save/.

#include "platform/platform.h"

#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace vorn::test {

class TestPack;

enum class Fault { None, Removed, Empty, Truncated, Garbage, WrongKind, Folder };
QString faultName(Fault fault);
const std::vector<Fault>& allFaults();

// Every file of a pack: the media files, the rules, and the question table.
QStringList packFiles();
// The files that the media backend plays: tunes, sounds, interludes and the hourglass.
QStringList playedFiles();

struct FaultOutcome {
    QString file;
    Fault fault = Fault::None;
    std::vector<std::pair<QString, int>> messages;  // each text shown, with how often
    QStringList skipped;                            // the route's stages that did not come about
    QString endState;                               // what the window shows at the end
    QStringList problems;                           // the rules broken (none: the case passes)

    QString messageColumn() const;
    QString outcomeColumn() const;
};

class FaultMatrix {
  public:
    explicit FaultMatrix(VirtualMedia media);
    ~FaultMatrix();

    // The route on the intact pack: every stage as it should be, no message.
    FaultOutcome control();
    FaultOutcome run(const QString& file, Fault fault);

    // The matrix as a table (Markdown), one row per case.
    static QString table(const std::vector<FaultOutcome>& rows);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace vorn::test
