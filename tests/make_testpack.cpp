// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// vorn-testpack DIR: makes the scenario tests' small content pack in DIR, then marks it complete.

#include "support/testpackmaker.h"

#include <QFile>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: vorn-testpack DIR\n", stderr);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    vorn::test::makeTestPackMedia(dir);
    QFile complete(dir + QStringLiteral("/complete"));
    return complete.open(QIODevice::WriteOnly) ? 0 : 1;
}
