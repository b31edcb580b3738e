// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// vorn-questions BANK.tsv TABLE.db: turns the question bank into the game's table file.

#include "content/bank/questionbank.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: vorn-questions BANK.tsv TABLE.db\n", stderr);
        return 2;
    }
    try {
        const QString source = QString::fromLocal8Bit(argv[1]);
        const QString target = QString::fromLocal8Bit(argv[2]);
        QDir().mkpath(QFileInfo(target).absolutePath());
        const auto questions = vorn::bank::readTsv(source);
        const QString temporary = target + QStringLiteral(".part");
        vorn::bank::writeTable(temporary, questions);
        QFile::remove(target);
        if (!QFile::rename(temporary, target))
            throw std::runtime_error("cannot replace " + target.toStdString());
        std::printf("%zu questions written to %s\n", questions.size(), argv[2]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vorn-questions: %s\n", e.what());
        return 1;
    }
    return 0;
}
