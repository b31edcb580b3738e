// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "content/bank/questionbank.h"

#include "platform/database.h"

#include <QFile>

#include <stdexcept>

namespace vorn::bank {

std::vector<Question> readTsv(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    std::vector<Question> questions;
    int lineNumber = 0;
    while (!file.atEnd()) {
        QString line = QString::fromUtf8(file.readLine());
        ++lineNumber;
        while (line.endsWith(u'\n') || line.endsWith(u'\r')) line.chop(1);
        if (lineNumber == 1 || line.trimmed().isEmpty()) continue;  // the header, blank lines
        const QStringList f = line.split(u'\t');
        if (f.size() != 8)
            throw std::runtime_error(
                QStringLiteral("%1:%2: %3 fields, 8 expected (code enonce r1 r2 r3 r4 Theme br)")
                    .arg(path)
                    .arg(lineNumber)
                    .arg(f.size())
                    .toStdString());
        questions.push_back(Question{f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], lineNumber});
    }
    return questions;
}

void writeTable(const QString& path, const std::vector<Question>& questions) {
    std::vector<QuestionRow> rows;
    rows.reserve(questions.size());
    for (const Question& q : questions) {
        bool isNumber = false;
        const int br = q.br.trimmed().toInt(&isNumber);
        rows.push_back({q.code,
                        q.enonce,
                        q.r1,
                        q.r2,
                        q.r3,
                        q.r4,
                        q.Theme,
                        isNumber ? QVariant(qlonglong(br)) : QVariant(q.br),
                        {}});
    }
    writeQuestionFile(path, rows);
}

}  // namespace vorn::bank
