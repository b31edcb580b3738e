// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The question lookup on the table files of a database directory.

#include "platform/database.h"
#include "platform/errors.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "support/printing.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <climits>

using namespace vorn;

namespace database_test {

class Lookup : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString previous = QDir::currentPath();

    void SetUp() override { QDir::setCurrent(dir.path()); }
    void TearDown() override { QDir::setCurrent(previous); }

    void table(const char* sql, const char* file = "dB/questionnaire.db") {
        QDir().mkpath(QStringLiteral("dB"));
        sqlite3* db = nullptr;
        sqlite3_open(file, &db);
        char* message = nullptr;
        ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &message), SQLITE_OK) << message;
        sqlite3_close(db);
    }

    static Query query() {
        return Query(QStringLiteral("Query1"), QStringLiteral("dB/"),
                     {QStringLiteral("select *"), QStringLiteral("from questionnaire"),
                      QStringLiteral("where code like :numero")});
    }

    static QString errorOf(const std::function<void()>& f) {
        try {
            f();
        } catch (const Error& e) {
            return e.message();
        }
        return QStringLiteral("<no error>");
    }
};

TEST_F(Lookup, OpensWithNoCodeAndMatchesTheWholeCode) {
    table(
        "CREATE TABLE questionnaire (code TEXT, enonce TEXT, r1 TEXT, r2 TEXT, r3 TEXT, r4 TEXT, "
        "Theme TEXT, br INTEGER);"
        "INSERT INTO questionnaire VALUES ('1a10', 'Dix ?', 'a', 'b', 'c', 'd', 'T', 2);"
        "INSERT INTO questionnaire VALUES ('1a1', 'Un ?', 'e', 'f', 'g', 'h', 'Histoire', 3);"
        "INSERT INTO questionnaire VALUES ('1A1', 'Majuscule ?', 'e', 'f', 'g', 'h', 'Histoire', "
        "4);");
    Query q = query();
    q.open();  // no code yet: no row, no error
    EXPECT_EQ(q.asString("enonce"), "");
    EXPECT_EQ(q.asInteger("br"), 0);
    q.setParam("numero", "1a1");
    q.close();
    q.open();
    EXPECT_EQ(q.asString("enonce"), "Un ?");
    EXPECT_EQ(q.asString("Theme"), "Histoire");
    EXPECT_EQ(q.asInteger("br"), 3);
    q.setParam("numero", "1a1%");  // a pattern is not a code; only the drawn code's own row matters
    q.open();
    EXPECT_TRUE(q.hasRow());
}

TEST_F(Lookup, MissingCodeGivesEmptyTextsAndZero) {
    table(
        "CREATE TABLE questionnaire (code TEXT, enonce TEXT, r1 TEXT, r2 TEXT, r3 TEXT, r4 TEXT, "
        "Theme TEXT, br INTEGER);"
        "INSERT INTO questionnaire VALUES ('1a2', 'Deux ?', 'a', 'b', 'c', 'd', 'T', 2);");
    Query q = query();
    for (const char* code : {"1a3", ""}) {
        q.setParam("numero", code);
        q.open();
        EXPECT_EQ(q.asString("enonce"), "");
        EXPECT_EQ(q.asString("r4"), "");
        EXPECT_EQ(q.asInteger("br"), 0);
    }
}

TEST_F(Lookup, DuplicatesGiveTheFirstRowAndColumnsIgnoreLetterCase) {
    table(
        "CREATE TABLE questionnaire (CODE TEXT, ENONCE TEXT, R1 TEXT, R2 TEXT, R3 TEXT, R4 TEXT, "
        "THEME TEXT, BR INTEGER);"
        "INSERT INTO questionnaire VALUES ('2b5', 'Premier', 'a', 'b', 'c', 'd', 'T', 1);"
        "INSERT INTO questionnaire VALUES ('2b5', 'Second', 'a', 'b', 'c', 'd', 'T', 2);");
    Query q = query();
    q.setParam("numero", "2b5");
    q.open();
    EXPECT_EQ(q.asString("enonce"), "Premier");
    EXPECT_EQ(q.asString("Theme"), "T");
    EXPECT_EQ(q.asInteger("br"), 1);
}

TEST_F(Lookup, MissingColumnIsRaisedOnlyWhenRead) {
    table(
        "CREATE TABLE questionnaire (code TEXT, enonce TEXT, r1 TEXT, r2 TEXT, r3 TEXT, r4 TEXT, "
        "Theme TEXT);"
        "INSERT INTO questionnaire VALUES ('1a1', 'Un ?', 'a', 'b', 'c', 'd', 'T');");
    Query q = query();
    q.setParam("numero", "1a1");
    q.open();
    EXPECT_EQ(q.asString("r2"), "b");
    EXPECT_EQ(errorOf([&] { q.asInteger("br"); }), "Query1: Field 'br' not found");
}

TEST_F(Lookup, MissingDirectoryTableOrBrokenFileAreClearErrors) {
    Query q = query();
    EXPECT_EQ(errorOf([&] { q.open(); }), "Database directory 'dB' not found");
    QDir().mkpath(QStringLiteral("dB"));
    Query empty = query();
    EXPECT_EQ(errorOf([&] { empty.open(); }),
              "Table 'questionnaire' not found: there is no file dB/questionnaire.db");
    QFile broken(QStringLiteral("dB/questionnaire.db"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write(QByteArray(4096, 'x'));
    broken.close();
    Query notDb = query();
    EXPECT_EQ(errorOf([&] { notDb.open(); }), "dB/questionnaire.db: file is not a database");
}

TEST_F(Lookup, CodeTextIsNeverPartOfTheQuery) {
    table(
        "CREATE TABLE questionnaire (code TEXT, enonce TEXT, r1 TEXT, r2 TEXT, r3 TEXT, r4 TEXT, "
        "Theme TEXT, br INTEGER);"
        "INSERT INTO questionnaire VALUES ('1a1', 'Un ?', 'a', 'b', 'c', 'd', 'T', 1);");
    Query q = query();
    q.setParam("numero", "x' OR '1'='1");
    q.open();
    EXPECT_FALSE(q.hasRow());
}

constexpr const char* kQuestions =
    "CREATE TABLE questionnaire (code TEXT, enonce TEXT, r1 TEXT, r2 TEXT, r3 TEXT, r4 TEXT, Theme "
    "TEXT, br);"
    "INSERT INTO questionnaire VALUES ('1a1', 'Vraie ?', 'a', 'b', 'c', 'd', 'T', 2);";

TEST_F(Lookup, AFileWithoutItsTableOrTwoCandidateFilesAreNamed) {
    table("CREATE TABLE questions (code TEXT, enonce TEXT, br INTEGER);");
    Query renamed = query();
    EXPECT_EQ(errorOf([&] { renamed.open(); }),
              "Table 'questionnaire' not found in dB/questionnaire.db");
    table(kQuestions, "dB/QUESTIONNAIRE.DB");
    Query twice = query();
    EXPECT_EQ(
        errorOf([&] { twice.open(); }),
        "Table 'questionnaire' is in more than one file: dB/QUESTIONNAIRE.DB, dB/questionnaire.db");
}

TEST_F(Lookup, IntegersBeyond32BitsReadAsTheNearestIntNeverWrapped) {
    table(
        "CREATE TABLE questionnaire (code TEXT, br);"
        "INSERT INTO questionnaire VALUES ('big', 4294967298);"
        "INSERT INTO questionnaire VALUES ('negative', -4294967295);"
        "INSERT INTO questionnaire VALUES ('real', 4294967298.5);"
        "INSERT INTO questionnaire VALUES ('huge real', 1e300);"
        "INSERT INTO questionnaire VALUES ('text', '4294967298');"
        "INSERT INTO questionnaire VALUES ('long text', '-99999999999999999999999');"
        "INSERT INTO questionnaire VALUES ('fraction', 2.9);"
        "INSERT INTO questionnaire VALUES ('spaced', ' 3 ');"
        "INSERT INTO questionnaire VALUES ('word', 'trois');");
    const std::pair<const char*, int> expected[] = {
        {"big", INT_MAX},  {"negative", INT_MIN},  {"real", INT_MAX}, {"huge real", INT_MAX},
        {"text", INT_MAX}, {"long text", INT_MIN}, {"fraction", 2},   {"spaced", 3}};
    Query q = query();
    for (const auto& [code, value] : expected) {
        q.setParam("numero", code);
        q.open();
        EXPECT_EQ(q.asInteger("br"), value) << code;
    }
    q.setParam("numero", "word");
    q.open();
    EXPECT_EQ(errorOf([&] { q.asInteger("br"); }), "'trois' is not a valid integer value");
}

// A table file may hold a view in place of the table: one that would run for ever, or build a
// text of any size, is stopped with an error instead of freezing the game or taking its memory.
TEST_F(Lookup, AViewThatRunsAwayIsStopped) {
    table(
        "CREATE VIEW questionnaire AS WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM "
        "c) "
        "SELECT '1a1' AS code, 'e' AS enonce, 2 AS br FROM c WHERE x < 0;");
    Query endless = query();
    endless.setParam("numero", "1a1");
    EXPECT_EQ(errorOf([&] { endless.open(); }),
              "dB/questionnaire.db: the lookup was stopped, it went on too long");

    QFile::remove(QStringLiteral("dB/questionnaire.db"));
    table(
        "CREATE VIEW questionnaire AS SELECT '1a1' AS code, zeroblob(20000000) AS enonce, 2 AS "
        "br;");
    Query huge = query();
    huge.setParam("numero", "1a1");
    EXPECT_EQ(errorOf([&] { huge.open(); }), "string or blob too big");

    // A view that does what a table does still reads.
    QFile::remove(QStringLiteral("dB/questionnaire.db"));
    table(
        "CREATE TABLE rows (code TEXT, enonce TEXT, br);"
        "INSERT INTO rows VALUES ('1a1', 'Vue ?', 3);"
        "CREATE VIEW questionnaire AS SELECT * FROM rows;");
    Query view = query();
    view.setParam("numero", "1a1");
    view.open();
    EXPECT_EQ(view.asString("enonce"), "Vue ?");
    EXPECT_EQ(view.asInteger("br"), 3);
}

// The question table written whole and read back, as the question bank, the pack tool, the checker
// and the tests' packs use it: every kind of br keeps its kind and its text, the game's lookup
// reads what was written, and a file that holds no table, or is no database, says so.
TEST_F(Lookup, TheQuestionTableReadsBackWhatWasWritten) {
    struct Case {
        const char* name;
        QVariant br;
        QVariant readBack;
        const char* brText;
    };
    const Case cases[] = {
        {"integer", QVariant(qlonglong(3)), QVariant(qlonglong(3)), "3"},
        {"wide integer", QVariant(qlonglong(4294967298LL)), QVariant(qlonglong(4294967298LL)),
         "4294967298"},
        {"real", QVariant(2.5), QVariant(2.5), "2.5"},
        {"text", QVariant(QStringLiteral("trois")), QVariant(QStringLiteral("trois")), "trois"},
        {"null", QVariant(), QVariant(), ""},
    };
    std::vector<QuestionRow> rows;
    int n = 0;
    for (const Case& c : cases) {
        ++n;
        rows.push_back({QStringLiteral("1a%1").arg(n),
                        QStringLiteral("Énoncé « %1 » ?").arg(n),
                        QStringLiteral("un"),
                        QStringLiteral("deux"),
                        QStringLiteral("trois"),
                        QStringLiteral("quatre"),
                        QStringLiteral("Thème"),
                        c.br,
                        {}});
    }
    QDir().mkpath(QStringLiteral("dB"));
    writeQuestionFile(QStringLiteral("dB/questionnaire.db"), rows);

    const QuestionTableRead read = readQuestionFile(QStringLiteral("dB/questionnaire.db"));
    ASSERT_TRUE(read.error.isEmpty()) << read.error.toStdString();
    ASSERT_EQ(read.rows.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].name);
        const QuestionRow& row = read.rows[i];
        EXPECT_EQ(row.code, rows[i].code);
        EXPECT_EQ(row.enonce, rows[i].enonce);
        EXPECT_EQ(QStringList({row.r1, row.r2, row.r3, row.r4, row.Theme}),
                  QStringList({"un", "deux", "trois", "quatre", "Thème"}));
        EXPECT_EQ(row.br, cases[i].readBack);
        EXPECT_EQ(row.br.typeId(), cases[i].readBack.typeId());
        EXPECT_EQ(row.brText, cases[i].brText);
    }

    // The game's lookup goes by the same columns.
    Query q = query();
    q.setParam("numero", "1a1");
    q.open();
    EXPECT_EQ(q.asString(questiontable::column(questiontable::Enonce)), rows[0].enonce);
    EXPECT_EQ(q.asInteger(questiontable::column(questiontable::Br)), 3);

    // Written again, the file holds the new rows only.
    writeQuestionFile(QStringLiteral("dB/questionnaire.db"), {rows[0]});
    EXPECT_EQ(readQuestionFile(QStringLiteral("dB/questionnaire.db")).rows.size(), 1u);
}

TEST_F(Lookup, AQuestionFileWithoutItsTableOrNotADatabaseIsToldNotRead) {
    QDir().mkpath(QStringLiteral("dB"));
    QuestionTableLayout other;
    other.table = QStringLiteral("autre");
    writeQuestionFile(QStringLiteral("dB/autre.db"), {}, other);
    const QuestionTableRead noTable = readQuestionFile(QStringLiteral("dB/autre.db"));
    EXPECT_TRUE(noTable.noTable);
    EXPECT_TRUE(noTable.error.startsWith("no such table")) << noTable.error.toStdString();

    QuestionTableLayout withoutBr;
    withoutBr.brColumn.reset();
    writeQuestionFile(QStringLiteral("dB/questionnaire.db"), {}, withoutBr);
    const QuestionTableRead noBr = readQuestionFile(QStringLiteral("dB/questionnaire.db"));
    EXPECT_FALSE(noBr.noTable);
    EXPECT_EQ(noBr.error, "no such column: br");

    QFile junk(QStringLiteral("dB/junk.db"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    const QuestionTableRead notDb = readQuestionFile(QStringLiteral("dB/junk.db"));
    EXPECT_FALSE(notDb.noTable);
    EXPECT_EQ(notDb.error, "file is not a database");
    EXPECT_TRUE(notDb.rows.empty());

    EXPECT_FALSE(readQuestionFile(QStringLiteral("dB/absent.db")).error.isEmpty());
    EXPECT_THROW(writeQuestionFile(QStringLiteral("no folder/questionnaire.db"), {}), Error);
}

}  // namespace database_test
