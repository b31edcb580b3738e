// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Every file of the content pack broken one at a time, through the whole route of a game: the
// file's own message, the failure's stage skipped, the game going on, the screen rules kept and
// nothing written outside save/. The matrix goes to the test log and to a file in the build
// folder; build/tests/vorn-faultmatrix prints it on demand.

#include "support/faultmatrix.h"
#include "support/printing.h"

#include <QFile>

#include <gtest/gtest.h>

#include <iostream>

using namespace vorn;
using namespace vorn::test;

namespace faultmatrix_test {

void keep(const QString& name, const QString& table) {
    std::cout << table.toStdString() << std::flush;
    QFile out(QStringLiteral(VORN_BUILD_DIR "/") + name);
    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate)) out.write(table.toUtf8());
}

std::vector<FaultOutcome> playMatrix(FaultMatrix& matrix, const QStringList& files,
                                     const std::vector<Fault>& faults) {
    std::vector<FaultOutcome> rows{matrix.control()};
    EXPECT_TRUE(rows.back().problems.isEmpty())
        << "intact pack: " << rows.back().problems.join("\n").toStdString();
    EXPECT_TRUE(rows.back().messages.empty()) << rows.back().messageColumn().toStdString();
    for (const QString& file : files)
        for (Fault fault : faults) {
            rows.push_back(matrix.run(file, fault));
            const FaultOutcome& row = rows.back();
            EXPECT_TRUE(row.problems.isEmpty())
                << file.toStdString() << " " << faultName(fault).toStdString() << ":\n"
                << row.problems.join("\n").toStdString();
        }
    return rows;
}

TEST(FaultMatrix, EveryPackFileBrokenOneAtATimeOnSimulatedMedia) {
    FaultMatrix matrix(VirtualMedia::Simulated);
    keep(QStringLiteral("fault-matrix-simulated.md"),
         FaultMatrix::table(playMatrix(matrix, packFiles(), allFaults())));
}

// The sound backend decodes what passes the playability check: the files that may pass it broken
// (cut, garbled, of another kind) go through it once more.
TEST(FaultMatrix, PlayedFilesBrokenOneAtATimeOnTheSoundBackend) {
    FaultMatrix matrix(VirtualMedia::Real);
    keep(QStringLiteral("fault-matrix-real.md"),
         FaultMatrix::table(playMatrix(matrix, playedFiles(),
                                       {Fault::Truncated, Fault::Garbage, Fault::WrongKind})));
}

}  // namespace faultmatrix_test
