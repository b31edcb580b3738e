// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// vorn-pack: makes a game folder from a question table written in a spreadsheet, writes the
// table's template, and checks game folders. See tools/pack/command.h.

#include "tools/pack/command.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv) {
    // Texts are measured in the game's fonts: a display-less GUI application is enough.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);
    const int status = vorn::packtool::runPackTool(
        QCoreApplication::arguments().mid(1), QCoreApplication::applicationDirPath(), out, err);
    out.flush();
    err.flush();
    return status;
}
