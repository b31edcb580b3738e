// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Reading a table saved by a spreadsheet or written by hand: comma, semicolon or tab separated
// (found from the text), fields in double quotes holding separators, doubled quotes and line
// breaks, UTF-8 with or without a byte-order mark, UTF-16 with its mark, or Windows-1252 (what
// spreadsheets on Windows write by default).

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>

#include <vector>

namespace vorn::packtool {

struct SheetRow {
    int row = 0;   // the spreadsheet's row number: every record counts, blank ones too
    int line = 0;  // the file's line where the record starts
    QStringList fields;
    bool blank() const;
};

struct Sheet {
    QString encoding;  // "UTF-8", "UTF-8 with byte-order mark", "UTF-16", "Windows-1252"
    QChar separator;
    std::vector<SheetRow> rows;
    // The row whose quoted field was still open at the end of the file (0: none). Everything
    // after its opening quote is in that field.
    int unclosedQuoteRow = 0;
    int unclosedQuoteLine = 0;
};

// The text of the file's bytes, and which encoding it was in.
QString decodeSheetText(const QByteArray& bytes, QString* encoding);

// The records of `text` split on `separator`. Line breaks end a record outside quotes (CR LF,
// LF or CR alone); inside quotes they belong to the field, as "\n".
Sheet splitSheet(const QString& text, QChar separator);

// The separator among tab, semicolon and comma that gives the most records of `columns` fields.
QChar detectSeparator(const QString& text, int columns);

// Decodes, finds the separator and splits.
Sheet readSheet(const QByteArray& bytes, int columns);

// A separator's name for messages ("comma", "semicolon", "tab").
QString separatorName(QChar separator);

// One field as a spreadsheet writes it: quoted when it holds the separator, a quote or a line
// break, quotes doubled.
QString sheetField(const QString& text, QChar separator);

}  // namespace vorn::packtool
