// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A question table as teachers and families write it, one question a row: the question, its four
// choices, the right choice (its number 1 to 4 or its text), the theme and the level 1 to 4. Every
// row is checked, and each fault names its row and field; then every question gets the code the
// game draws (each theme of a level a letter a to f, its questions numbered 1 to 19).

#include "content/bank/questionbank.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <map>
#include <vector>

namespace vorn::packtool {

// The table's columns, in order.
enum Column { Enonce, Choice1, Choice2, Choice3, Choice4, RightChoice, Theme, Level, kColumns };

// "question", "choice 1" ... "right choice", "theme", "level": the template's header.
QString columnName(int column);
// The spreadsheet's letter of a column: A for the question, H for the level.
QChar columnLetter(int column);
QStringList headerRow();

// One question of the table, checked.
struct Entry {
    int row = 0;  // the spreadsheet's row number
    QString enonce;
    std::array<QString, 4> choices;
    int right = 0;  // 1 to 4
    QString theme;
    int level = 0;
};

struct TableReading {
    QString encoding;
    QChar separator;
    bool header = false;
    std::vector<Entry> entries;  // the rows without a fault
    QStringList faults;          // "row 5, choice 2 (column C): missing"
    QStringList notes;           // what was read in a way the author may not expect
};

TableReading readQuestionTable(const QByteArray& bytes);

// The questions of a pack: the table's with their codes, then what filling added.
struct PackPlan {
    std::vector<bank::Question> questions;
    std::map<QString, int> rowOfCode;  // the table's row of each code it gave
    QStringList faults;                // themes of a level beyond six, questions beyond 19
    QStringList summary;               // a line a level: its themes and their letters
    // The codes without a question, and how the author would read them: a line a level, then
    // its themes.
    QStringList missingCodes;
    QStringList shortage;
};

PackPlan planCodes(const std::vector<Entry>& entries);

// What filling took from the default questions, per level.
struct Filling {
    std::map<int, int> added;
    // Default questions left out because they ask what one of the table's questions asks: a game
    // could then pose the same question twice.
    std::map<int, int> skipped;
};

// Whether two questions ask the same thing: the same text (case, accents, spacing and
// punctuation aside), or the same right answer in the same theme.
bool asksTheSame(const bank::Question& a, const bank::Question& b);

// Gives each missing code the question of `bank` with that code, or, when that one asks what a
// question of the table asks, another of the bank's questions of that level that none of the
// table's asks (of the same theme letter first). A code the bank cannot fill stays missing.
Filling fillFromBank(PackPlan& plan, const std::vector<bank::Question>& bank);

}  // namespace vorn::packtool
