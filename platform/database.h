// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Read-only queries on a directory of tables: each table is one SQLite file named after it
// ("dB/questionnaire.db" holds the table questionnaire). A query opens the files of the tables it
// names and no other file of the directory. It is opened with named string parameters (never by
// building SQL from data), keeps its first row current, and reads columns by name without regard
// to letter case; with no row every column reads empty (text) or 0.

#include <QString>
#include <QStringList>
#include <QVariant>

#include <array>
#include <map>
#include <optional>
#include <vector>

struct sqlite3;

namespace vorn {

// Which file of a database directory holds a table: the one file named "<table>.db", its name
// matched without regard to letter case. The game's queries and the content checker both go by
// this, so they agree on every folder.
struct TableFile {
    enum class Status { Found, Missing, Ambiguous };
    Status status = Status::Missing;
    QString name;         // Found: the file's name in the directory
    QStringList matches;  // Ambiguous: every file that could hold the table, in name order
};
TableFile findTableFile(const QString& directory, const QString& table);

class Query {
  public:
    // `name` prefixes field errors ("Query1: Field 'br' not found"); `directory` is the database
    // directory, relative to the working directory.
    Query(QString name, QString directory, QStringList sql);
    ~Query();
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    // Sets a named parameter (without its colon); an unset parameter is NULL and matches nothing.
    void setParam(const QString& name, const QString& value);
    // Runs the query and makes its first row current. Raises the engine's error for a missing
    // directory, a table without its file (or with several), or a file that does not hold its
    // table; and "<file>: the lookup was stopped, it went on too long" when a view of the file
    // keeps the engine busy far longer than any lookup of a table needs.
    void open();
    void close();
    bool active() const { return active_; }
    bool hasRow() const { return row_.has_value(); }

    // Reads a column of the current row; raises "<name>: Field '<field>' not found". An integer
    // that does not fit 32 bits reads as the nearest value that does, never as a wrapped one.
    QString asString(const QString& field) const;
    int asInteger(const QString& field) const;

  private:
    int columnIndex(const QString& field) const;
    void connect();
    void attachTable(const QString& table);
    QString shownPath(const QString& fileName) const;

    QString name_;
    QString directory_;
    QString sql_;
    sqlite3* db_ = nullptr;
    std::map<QString, QString> attached_;  // table (lower case) -> its file's name
    std::map<QString, QString> params_;
    bool active_ = false;
    std::vector<QString> columns_;
    struct Value {
        bool isNull = true;
        bool isInteger = false;
        qint64 integer = 0;
        bool isReal = false;
        double real = 0;
        QString text;
    };
    std::optional<std::vector<Value>> row_;
    int checks_ = 0;  // of the running lookup, by the engine's progress handler
};

// The question table: one table "questionnaire" in "dB/questionnaire.db", one row a question. The
// game reads it through a Query by these column names; the content checker, the pack tool, the
// question bank and the tests' packs read and write it whole through readQuestionFile and
// writeQuestionFile, the only code besides Query that opens it.
namespace questiontable {
inline constexpr const char* kTable = "questionnaire";
enum Column { Code, Enonce, R1, R2, R3, R4, Theme, Br };
inline constexpr std::array<const char*, 8> kColumns{"code", "enonce", "r1",    "r2",
                                                     "r3",   "r4",     "Theme", "br"};
// A column's name, as a QString (the names are plain ASCII).
inline QString column(Column c) {
    return QString::fromLatin1(kColumns[static_cast<std::size_t>(c)]);
}
}  // namespace questiontable

struct QuestionRow {
    QString code, enonce, r1, r2, r3, r4, Theme;
    // br as stored: an integer (qlonglong), a real (double), a text (QString), or nothing (an
    // invalid QVariant for NULL).
    QVariant br;
    // br as the engine gives it as text ("3", "2.9", "trois", "" for NULL), as a message shows it.
    QString brText;
};

struct QuestionTableRead {
    std::vector<QuestionRow> rows;  // in the table's order
    QString error;                  // the engine's message when the file could not be read
    bool noTable = false;           // the file holds no question table
};

// Reads every row of the question table in the file `path`, opened read-only.
QuestionTableRead readQuestionFile(const QString& path);

struct QuestionTableLayout {
    QString table = QString::fromLatin1(questiontable::kTable);
    // The right answer's column; none: a table without it (a broken pack, for the tests).
    std::optional<QString> brColumn =
        QString::fromLatin1(questiontable::kColumns[questiontable::Br]);
};

// Writes `rows` as a new question table in a new file `path` (any file there is replaced): the
// columns above, "code" not null and indexed. Raises "<path>: <message>" when the file cannot be
// made, the engine's message when a row cannot be written.
void writeQuestionFile(const QString& path, const std::vector<QuestionRow>& rows,
                       const QuestionTableLayout& layout = {});

}  // namespace vorn
