// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/database.h"

#include "platform/errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <sqlite3.h>
#include <algorithm>
#include <cmath>
#include <limits>

namespace vorn {

namespace {

struct Statement {
    sqlite3_stmt* stmt = nullptr;
    ~Statement() { sqlite3_finalize(stmt); }
};

// A table file is content that anyone can hand the game, and a view in it can ask for any amount
// of work or memory. A lookup of the question table takes some thousands of the engine's steps
// and texts of a few hundred bytes: one that runs on far past that is stopped, and no text or
// blob may grow past the limit.
constexpr int kStepsBetweenChecks = 10000;
constexpr int kChecksAtMost = 500;  // 5 million steps, well under a second
constexpr int kLengthLimit = 1 << 24;

int stopRunaway(void* checks) {
    return ++*static_cast<int*>(checks) > kChecksAtMost;
}

QString sqliteMessage(sqlite3* db) {
    return QString::fromUtf8(sqlite3_errmsg(db));
}

// A stored number as an int: values beyond its range read as its nearest end, fractions are cut.
int clampToInt(qint64 value) {
    return static_cast<int>(std::clamp<qint64>(value, std::numeric_limits<int>::min(),
                                               std::numeric_limits<int>::max()));
}

int clampToInt(double value) {
    if (std::isnan(value)) return 0;
    return static_cast<int>(std::clamp(std::trunc(value), double{std::numeric_limits<int>::min()},
                                       double{std::numeric_limits<int>::max()}));
}

}  // namespace

TableFile findTableFile(const QString& directory, const QString& table) {
    const QString wanted = table + QStringLiteral(".db");
    TableFile found;
    for (const QString& name : QDir(directory).entryList(QDir::Files | QDir::Hidden, QDir::Name))
        if (name.compare(wanted, Qt::CaseInsensitive) == 0) found.matches.append(name);
    if (found.matches.size() == 1) {
        found.status = TableFile::Status::Found;
        found.name = found.matches.front();
    } else if (found.matches.size() > 1) {
        found.status = TableFile::Status::Ambiguous;
    }
    return found;
}

Query::Query(QString name, QString directory, QStringList sql)
    : name_(std::move(name)), directory_(std::move(directory)), sql_(sql.join(u'\n')) {}

Query::~Query() {
    close();
    if (db_) sqlite3_close_v2(db_);
}

void Query::setParam(const QString& name, const QString& value) {
    params_[name] = value;
}

QString Query::shownPath(const QString& fileName) const {
    return QDir::cleanPath(directory_ + u'/' + fileName);
}

void Query::connect() {
    if (db_) return;
    QString dir = directory_;
    while (dir.endsWith(u'/')) dir.chop(1);
    if (!QFileInfo(dir).isDir())
        throw Error(QStringLiteral("Database directory '%1' not found").arg(dir));
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI, nullptr) !=
        SQLITE_OK) {
        const QString message =
            db ? sqliteMessage(db) : QStringLiteral("The database engine cannot start");
        sqlite3_close_v2(db);
        throw Error(message);
    }
    db_ = db;
    sqlite3_exec(db_, "PRAGMA case_sensitive_like = ON", nullptr, nullptr, nullptr);
    sqlite3_limit(db_, SQLITE_LIMIT_LENGTH, kLengthLimit);
    sqlite3_progress_handler(db_, kStepsBetweenChecks, stopRunaway, &checks_);
}

// Attaches the file of a table the query names, read-only; unqualified table names are then
// looked up through it.
void Query::attachTable(const QString& table) {
    const QString key = table.toLower();
    if (auto it = attached_.find(key); it != attached_.end())
        throw Error(QStringLiteral("Table '%1' not found in %2").arg(table, shownPath(it->second)));
    if (!QFileInfo(directory_).isDir())
        throw Error(
            QStringLiteral("Database directory '%1' not found").arg(QDir::cleanPath(directory_)));
    const TableFile file = findTableFile(directory_, table);
    if (file.status == TableFile::Status::Missing)
        throw Error(QStringLiteral("Table '%1' not found: there is no file %2")
                        .arg(table, shownPath(table + QStringLiteral(".db"))));
    if (file.status == TableFile::Status::Ambiguous) {
        QStringList paths;
        for (const QString& name : file.matches) paths.append(shownPath(name));
        throw Error(QStringLiteral("Table '%1' is in more than one file: %2")
                        .arg(table, paths.join(QStringLiteral(", "))));
    }
    const QString path = QDir(directory_).absoluteFilePath(file.name);
    const QByteArray uri =
        (QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=ro"))
            .toUtf8();
    const QByteArray attach =
        QStringLiteral("ATTACH DATABASE ?1 AS t%1").arg(attached_.size() + 1).toUtf8();
    Statement s;
    if (sqlite3_prepare_v2(db_, attach.constData(), -1, &s.stmt, nullptr) != SQLITE_OK ||
        sqlite3_bind_text(s.stmt, 1, uri.constData(), static_cast<int>(uri.size()),
                          SQLITE_TRANSIENT) != SQLITE_OK ||
        sqlite3_step(s.stmt) != SQLITE_DONE)
        throw Error(QStringLiteral("%1: %2").arg(shownPath(file.name), sqliteMessage(db_)));
    attached_.emplace(key, file.name);
}

void Query::open() {
    close();
    connect();
    Statement s;
    const QByteArray sql = sql_.toUtf8();
    // The engine names the first table it cannot find: attach that table's file and try again.
    while (sqlite3_prepare_v2(db_, sql.constData(), -1, &s.stmt, nullptr) != SQLITE_OK) {
        const QString message = sqliteMessage(db_);
        static const QString missing = QStringLiteral("no such table: ");
        const QString table = message.mid(missing.size());
        if (!message.startsWith(missing) || table.contains(u'.')) throw Error(message);
        attachTable(table);
    }
    const int parameters = sqlite3_bind_parameter_count(s.stmt);
    for (int i = 1; i <= parameters; ++i) {
        const char* raw = sqlite3_bind_parameter_name(s.stmt, i);
        if (!raw) continue;
        const QString name = QString::fromUtf8(raw).mid(1);  // without its ":"
        auto it = params_.find(name);
        if (it == params_.end()) {
            sqlite3_bind_null(s.stmt, i);
        } else {
            const QByteArray value = it->second.toUtf8();
            sqlite3_bind_text(s.stmt, i, value.constData(), static_cast<int>(value.size()),
                              SQLITE_TRANSIENT);
        }
    }
    columns_.clear();
    const int count = sqlite3_column_count(s.stmt);
    for (int i = 0; i < count; ++i)
        columns_.push_back(QString::fromUtf8(sqlite3_column_name(s.stmt, i)));
    checks_ = 0;
    const int step = sqlite3_step(s.stmt);
    if (step == SQLITE_ROW) {
        std::vector<Value> row(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            Value& v = row[static_cast<std::size_t>(i)];
            const int type = sqlite3_column_type(s.stmt, i);
            v.isNull = type == SQLITE_NULL;
            if (type == SQLITE_INTEGER) {
                v.isInteger = true;
                v.integer = sqlite3_column_int64(s.stmt, i);
                v.text = QString::number(v.integer);
            } else if (type == SQLITE_FLOAT) {
                v.isReal = true;
                v.real = sqlite3_column_double(s.stmt, i);
                v.text = QString::number(v.real);
            } else if (!v.isNull) {
                v.text =
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s.stmt, i)),
                                      sqlite3_column_bytes(s.stmt, i));
            }
        }
        row_ = std::move(row);
    } else if (step == SQLITE_INTERRUPT) {
        QStringList files;
        for (const auto& attached : attached_) files.append(shownPath(attached.second));
        throw Error(QStringLiteral("%1: the lookup was stopped, it went on too long")
                        .arg(files.join(QStringLiteral(", "))));
    } else if (step != SQLITE_DONE) {
        throw Error(sqliteMessage(db_));
    }
    active_ = true;
}

void Query::close() {
    active_ = false;
    row_.reset();
}

int Query::columnIndex(const QString& field) const {
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i].compare(field, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
    throw Error(QStringLiteral("%1: Field '%2' not found").arg(name_, field));
}

QString Query::asString(const QString& field) const {
    const int i = columnIndex(field);
    return row_ ? (*row_)[static_cast<std::size_t>(i)].text : QString();
}

int Query::asInteger(const QString& field) const {
    const int i = columnIndex(field);
    if (!row_) return 0;
    const Value& v = (*row_)[static_cast<std::size_t>(i)];
    if (v.isNull) return 0;
    if (v.isInteger) return clampToInt(v.integer);
    if (v.isReal) return clampToInt(v.real);
    const QString text = v.text.trimmed();
    bool ok = false;
    if (const qint64 whole = text.toLongLong(&ok); ok) return clampToInt(whole);
    // A number written with a fraction or an exponent, or too long for 64 bits.
    if (const double real = text.toDouble(&ok); ok && !std::isnan(real)) return clampToInt(real);
    throw Error(QStringLiteral("'%1' is not a valid integer value").arg(v.text));
}

// ---------------------------------------------------------------------------------------------
// The question table, read and written whole

namespace {

QString columnText(sqlite3_stmt* statement, int column) {
    const auto* raw = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return raw ? QString::fromUtf8(raw) : QString();
}

void runOnTable(sqlite3* db, const QString& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        const QString text = QString::fromUtf8(message ? message : "unknown error");
        sqlite3_free(message);
        throw Error(text);
    }
}

struct TableConnection {
    sqlite3* db = nullptr;
    ~TableConnection() { sqlite3_close(db); }
};

}  // namespace

QuestionTableRead readQuestionFile(const QString& path) {
    QuestionTableRead result;
    TableConnection connection;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &connection.db, SQLITE_OPEN_READONLY,
                        nullptr) != SQLITE_OK) {
        result.error =
            QString::fromUtf8(connection.db ? sqlite3_errmsg(connection.db) : "cannot open");
        return result;
    }
    QStringList columns;
    for (const char* name : questiontable::kColumns) columns << QString::fromLatin1(name);
    const QString sql =
        QStringLiteral("SELECT %1 FROM %2")
            .arg(columns.join(QStringLiteral(", ")), QString::fromLatin1(questiontable::kTable));
    sqlite3_stmt* select = nullptr;
    if (sqlite3_prepare_v2(connection.db, sql.toUtf8().constData(), -1, &select, nullptr) !=
        SQLITE_OK) {
        result.error = QString::fromUtf8(sqlite3_errmsg(connection.db));
        result.noTable = result.error.startsWith(QStringLiteral("no such table"));
        return result;
    }
    while (sqlite3_step(select) == SQLITE_ROW) {
        QuestionRow row{columnText(select, 0),
                        columnText(select, 1),
                        columnText(select, 2),
                        columnText(select, 3),
                        columnText(select, 4),
                        columnText(select, 5),
                        columnText(select, 6),
                        {},
                        {}};
        switch (sqlite3_column_type(select, questiontable::Br)) {
            case SQLITE_INTEGER:
                row.br = qlonglong(sqlite3_column_int64(select, questiontable::Br));
                break;
            case SQLITE_FLOAT:
                row.br = sqlite3_column_double(select, questiontable::Br);
                break;
            case SQLITE_NULL:
                break;
            default:
                row.br = columnText(select, questiontable::Br);
                break;
        }
        row.brText = columnText(select, questiontable::Br);
        result.rows.push_back(std::move(row));
    }
    sqlite3_finalize(select);
    return result;
}

void writeQuestionFile(const QString& path, const std::vector<QuestionRow>& rows,
                       const QuestionTableLayout& layout) {
    using namespace questiontable;
    QFile::remove(path);
    TableConnection connection;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &connection.db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
        throw Error(
            path + QStringLiteral(": ") +
            QString::fromUtf8(connection.db ? sqlite3_errmsg(connection.db) : "cannot create"));
    sqlite3* db = connection.db;
    QStringList columns;
    for (int c = Code; c < Br; ++c)
        columns << column(Column(c)) +
                       (c == Code ? QStringLiteral(" TEXT NOT NULL") : QStringLiteral(" TEXT"));
    if (layout.brColumn) columns << *layout.brColumn + QStringLiteral(" INTEGER");
    runOnTable(db, QStringLiteral("PRAGMA journal_mode = OFF"));
    runOnTable(db, QStringLiteral("PRAGMA synchronous = OFF"));
    runOnTable(db, QStringLiteral("BEGIN"));
    runOnTable(db, QStringLiteral("CREATE TABLE %1 (%2)")
                       .arg(layout.table, columns.join(QStringLiteral(", "))));
    const int values = layout.brColumn ? 8 : 7;
    QStringList places;
    for (int i = 1; i <= values; ++i) places << QStringLiteral("?%1").arg(i);
    sqlite3_stmt* insert = nullptr;
    const QString sql = QStringLiteral("INSERT INTO %1 VALUES (%2)")
                            .arg(layout.table, places.join(QStringLiteral(", ")));
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &insert, nullptr) != SQLITE_OK)
        throw Error(QString::fromUtf8(sqlite3_errmsg(db)));
    struct Finalizer {
        sqlite3_stmt* statement;
        ~Finalizer() { sqlite3_finalize(statement); }
    } finalizer{insert};
    auto bindText = [insert](int place, const QString& text) {
        const QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text(insert, place, utf8.constData(), static_cast<int>(utf8.size()),
                          SQLITE_TRANSIENT);
    };
    for (const QuestionRow& row : rows) {
        const QString* texts[] = {&row.code, &row.enonce, &row.r1,   &row.r2,
                                  &row.r3,   &row.r4,     &row.Theme};
        for (int i = 0; i < 7; ++i) bindText(i + 1, *texts[i]);
        if (layout.brColumn) {
            if (!row.br.isValid())
                sqlite3_bind_null(insert, 8);
            else if (row.br.typeId() == QMetaType::Double)
                sqlite3_bind_double(insert, 8, row.br.toDouble());
            else if (row.br.typeId() == QMetaType::QString)
                bindText(8, row.br.toString());
            else
                sqlite3_bind_int64(insert, 8, row.br.toLongLong());
        }
        if (sqlite3_step(insert) != SQLITE_DONE) throw Error(QString::fromUtf8(sqlite3_errmsg(db)));
        sqlite3_reset(insert);
    }
    runOnTable(db,
               QStringLiteral("CREATE INDEX %1_code ON %1 (%2)").arg(layout.table, column(Code)));
    runOnTable(db, QStringLiteral("COMMIT"));
}

}  // namespace vorn
