// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// vorn-faultmatrix [--real-media] [FILE...]: breaks every file of the test pack (or the files
// named) one way after another, plays a game through the screens that use it, and prints the
// matrix of messages and outcomes. Exits 1 when a case broke a rule.

#include "support/faultmatrix.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER")) qputenv("SDL_AUDIODRIVER", "dummy");
    QApplication app(argc, argv);
    vorn::VirtualMedia media = vorn::VirtualMedia::Simulated;
    QStringList files;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == u"--real-media") {
            media = vorn::VirtualMedia::Real;
        } else if (args[i] == u"--help" || args[i] == u"-h") {
            std::puts(
                "usage: vorn-faultmatrix [--real-media] [FILE...]\n"
                "  every file of the pack (or each FILE, a path inside the pack) removed, "
                "emptied,\n"
                "  cut in half, replaced by garbage and by a file of another kind; prints the "
                "matrix");
            return 0;
        } else {
            files << args[i];
        }
    }
    if (files.isEmpty()) files = vorn::test::packFiles();
    vorn::test::FaultMatrix matrix(media);
    std::vector<vorn::test::FaultOutcome> rows{matrix.control()};
    for (const QString& file : files)
        for (vorn::test::Fault fault : vorn::test::allFaults())
            rows.push_back(matrix.run(file, fault));
    std::fputs(qPrintable(vorn::test::FaultMatrix::table(rows)), stdout);
    for (const auto& row : rows)
        if (!row.problems.isEmpty()) return 1;
    return 0;
}
