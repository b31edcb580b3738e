// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// vorn-manual FILE: writes the manual page vorn(6) from the description of the command line that
// `vorn --help` prints too (app/commandline.cpp).

#include "app/commandline.h"

#include <QSaveFile>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: vorn-manual FILE\n", stderr);
        return 2;
    }
    QSaveFile file(QString::fromLocal8Bit(argv[1]));
    const QByteArray page = vorn::cli::manualPage().toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(page) != page.size() || !file.commit()) {
        std::fprintf(stderr, "vorn-manual: cannot write %s: %s\n", argv[1],
                     file.errorString().toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
