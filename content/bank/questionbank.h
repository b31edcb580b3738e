// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The question bank: reading the tab-separated source (header "code enonce r1 r2 r3 r4 Theme br")
// and writing the table file the game reads (one SQLite file for the table questionnaire).

#include <QString>
#include <QStringList>

#include <vector>

namespace vorn::bank {

struct Question {
    QString code, enonce, r1, r2, r3, r4, Theme;
    QString br;  // kept as written, so that the checker can report a bad value
    int line = 0;
};

// Raises std::runtime_error naming the line when a row does not have its eight fields.
std::vector<Question> readTsv(const QString& path);

// Writes the table questionnaire (with an index on code) into a new file at `path`, replacing any
// file there. `br` is stored as an integer when it is one.
void writeTable(const QString& path, const std::vector<Question>& questions);

}  // namespace vorn::bank
