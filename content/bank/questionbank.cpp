// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "content/bank/questionbank.h"

#include <QFile>

#include <sqlite3.h>

#include <stdexcept>

namespace vorn::bank {

std::vector<Question> readTsv(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error("cannot read " + path.toStdString());
    std::vector<Question> questions;
    int lineNumber = 0;
    while (!file.atEnd()) {
        QString line = QString::fromUtf8(file.readLine());
        ++lineNumber;
        while (line.endsWith(u'\n') || line.endsWith(u'\r')) line.chop(1);
        if (lineNumber == 1 || line.trimmed().isEmpty()) continue;  // the header, blank lines
        const QStringList f = line.split(u'\t');
        if (f.size() != 8)
            throw std::runtime_error(QStringLiteral("%1:%2: %3 fields, 8 expected (code enonce r1 r2 r3 r4 Theme br)")
                                         .arg(path)
                                         .arg(lineNumber)
                                         .arg(f.size())
                                         .toStdString());
        questions.push_back(Question{f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], lineNumber});
    }
    return questions;
}

namespace {
void exec(sqlite3* db, const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : "unknown error";
        sqlite3_free(message);
        throw std::runtime_error(text);
    }
}
}  // namespace

void writeTable(const QString& path, const std::vector<Question>& questions) {
    QFile::remove(path);
    sqlite3* db = nullptr;
    const QByteArray name = path.toUtf8();
    if (sqlite3_open_v2(name.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        const std::string text = db ? sqlite3_errmsg(db) : "cannot create";
        sqlite3_close(db);
        throw std::runtime_error(path.toStdString() + ": " + text);
    }
    struct Closer {
        sqlite3* db;
        ~Closer() { sqlite3_close(db); }
    } closer{db};
    exec(db, "PRAGMA journal_mode = OFF");
    exec(db, "PRAGMA synchronous = OFF");
    exec(db, "BEGIN");
    exec(db,
         "CREATE TABLE questionnaire (code TEXT NOT NULL, enonce TEXT, r1 TEXT, r2 TEXT, r3 TEXT, r4 TEXT, "
         "Theme TEXT, br INTEGER)");
    sqlite3_stmt* insert = nullptr;
    if (sqlite3_prepare_v2(db, "INSERT INTO questionnaire VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)", -1, &insert,
                           nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
    for (const Question& q : questions) {
        const QString texts[] = {q.code, q.enonce, q.r1, q.r2, q.r3, q.r4, q.Theme};
        for (int i = 0; i < 7; ++i) {
            const QByteArray utf8 = texts[i].toUtf8();
            sqlite3_bind_text(insert, i + 1, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
        }
        bool isNumber = false;
        const int br = q.br.trimmed().toInt(&isNumber);
        if (isNumber) {
            sqlite3_bind_int(insert, 8, br);
        } else {
            const QByteArray utf8 = q.br.toUtf8();
            sqlite3_bind_text(insert, 8, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
        }
        if (sqlite3_step(insert) != SQLITE_DONE) {
            const std::string text = sqlite3_errmsg(db);
            sqlite3_finalize(insert);
            throw std::runtime_error(text);
        }
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    exec(db, "CREATE INDEX questionnaire_code ON questionnaire (code)");
    exec(db, "COMMIT");
}

}  // namespace vorn::bank
