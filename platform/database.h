#pragma once
// Read-only queries on a directory of tables: each table is one SQLite file named after it
// ("dB/questionnaire.db" holds the table questionnaire). A query is opened with named string
// parameters (never by building SQL from data), keeps its first row current, and reads columns by
// name without regard to letter case; with no row every column reads empty (text) or 0.

#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <vector>

struct sqlite3;

namespace vorn {

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
    // directory, table or file.
    void open();
    void close();
    bool active() const { return active_; }
    bool hasRow() const { return row_.has_value(); }

    // Reads a column of the current row; raises "<name>: Field '<field>' not found".
    QString asString(const QString& field) const;
    int asInteger(const QString& field) const;

private:
    int columnIndex(const QString& field) const;
    void connect();

    QString name_;
    QString directory_;
    QString sql_;
    sqlite3* db_ = nullptr;
    std::map<QString, QString> params_;
    bool active_ = false;
    std::vector<QString> columns_;
    struct Value {
        bool isNull = true;
        bool isInteger = false;
        qint64 integer = 0;
        QString text;
    };
    std::optional<std::vector<Value>> row_;
};

}  // namespace vorn
