// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// vorn-check [GAME_DIR]: checks a content folder (the current directory by default) and prints
// one line a fault, then one line a warning. Exit status 0 when nothing is at fault (warnings
// or not), 1 otherwise.

#include "tools/checker/media_check.h"
#include "tools/checker/questions_check.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);  // the fonts measure texts
    const QStringList args = QGuiApplication::arguments();
    if (args.size() > 2 || (args.size() == 2 && args[1].startsWith(u'-'))) {
        std::fputs("usage: vorn-check [GAME_DIR]\n", stderr);
        return 2;
    }
    const QString dir = args.size() == 2 ? args[1] : QStringLiteral(".");
    vorn::check::Report report;
    vorn::check::checkQuestions(dir, report);
    vorn::check::checkMedia(dir, report);
    for (const QString& line : report.lines()) std::printf("%s\n", qPrintable(line));
    if (report.ok()) std::printf("%s\n", qPrintable(vorn::check::verdict(report, dir)));
    return report.ok() ? 0 : 1;
}
