// The content checker's question checks, on copies of the default bank with one fault each.

#include "content/bank/questionbank.h"
#include "platform/database.h"
#include "platform/errors.h"
#include "tools/checker/questions_check.h"

#include "support/printing.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <gtest/gtest.h>

using namespace vorn;

namespace {

class QuestionChecks : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::vector<bank::Question> questions = bank::readTsv(QStringLiteral(VORN_SOURCE_DIR "/content/questions.tsv"));

    QStringList check() {
        QDir(dir.path()).mkpath(QStringLiteral("dB"));
        bank::writeTable(dir.filePath(QStringLiteral("dB/questionnaire.db")), questions);
        check::Report report;
        check::checkQuestions(dir.path(), report);
        return report.faults();
    }
    bank::Question& row(const QString& code) {
        for (auto& q : questions)
            if (q.code == code) return q;
        throw std::out_of_range("no such code in the bank");
    }
};

TEST_F(QuestionChecks, TheDefaultBankPasses) {
    EXPECT_EQ(questions.size(), 456u);
    EXPECT_EQ(check(), QStringList());
}

TEST_F(QuestionChecks, AMissingCodeIsNamed) {
    std::erase_if(questions, [](const bank::Question& q) { return q.code == u"3d7"; });
    EXPECT_EQ(check(), QStringList{"dB/questionnaire.db: no row for the code 3d7"});
}

TEST_F(QuestionChecks, ARightAnswerOutsideOneToFourNamesItsRow) {
    row("2a4").br = QStringLiteral("5");
    row("2a5").br = QStringLiteral("x");
    const QStringList faults = check();
    ASSERT_EQ(faults.size(), 2);
    EXPECT_TRUE(faults[0].contains("(2a4): br is 5")) << faults[0].toStdString();
    EXPECT_TRUE(faults[1].contains("(2a5): br is x")) << faults[1].toStdString();
}

TEST_F(QuestionChecks, RightAnswersThatOnlyWrapIntoOneToFourAreNamed) {
    row("2a6").br = QStringLiteral("4294967298");   // 2^32 + 2
    row("2a7").br = QStringLiteral("-4294967295");  // -2^32 + 1
    const QStringList faults = check();
    ASSERT_EQ(faults.size(), 2);
    EXPECT_TRUE(faults[0].contains("(2a6): br is 4294967298; it must be the number 1 to 4"))
        << faults[0].toStdString();
    EXPECT_TRUE(faults[1].contains("(2a7): br is -4294967295; it must be"))
        << faults[1].toStdString();
}

TEST_F(QuestionChecks, TextsThatDoNotFitTheirLabelsAreNamed) {
    row("1b2").r3 = QStringLiteral("Une réponse beaucoup trop longue pour tenir sur deux lignes");
    row("1b3").enonce = QString(QStringLiteral("Pourquoi ")).repeated(20) + u'?';
    row("1b4").Theme = QStringLiteral("Arts, lettres et spectacles");
    const QStringList faults = check();
    ASSERT_EQ(faults.size(), 3);
    EXPECT_TRUE(faults[0].contains("(1b2): answer r3 takes 3 lines")) << faults[0].toStdString();
    EXPECT_TRUE(faults[1].contains("(1b3): the question takes")) << faults[1].toStdString();
    EXPECT_TRUE(faults[2].contains("(1b4): the theme is")) << faults[2].toStdString();
}

TEST_F(QuestionChecks, EmptyOrRepeatedAnswersAndDuplicateCodesAreNamed) {
    row("4f1").r2 = QString();
    row("4f2").r4 = row("4f2").r1;
    questions.push_back(row("4f3"));
    const QStringList faults = check();
    ASSERT_EQ(faults.size(), 3);
    EXPECT_TRUE(faults[0].contains("(4f1): answer r2 is empty"));
    EXPECT_TRUE(faults[1].contains("(4f2): answer r4 repeats another answer"));
    EXPECT_TRUE(faults[2].contains("(4f3): the code appears more than once"));
}

TEST_F(QuestionChecks, AMissingTableFileIsReported) {
    check::Report report;
    check::checkQuestions(dir.path(), report);
    EXPECT_EQ(report.faults(), QStringList{"dB/questionnaire.db: missing"});
}

// The game's question lookup and the checker on the same database folders: both take a folder
// or both refuse it, and the game's message names the file.
TEST_F(QuestionChecks, TheGameAndTheCheckerAgreeOnEveryDatabaseFolder) {
    QDir db(dir.filePath(QStringLiteral("dB")));
    auto table = [&](const char* name) { bank::writeTable(db.filePath(name), questions); };
    auto bytes = [&](const QString& name, const QByteArray& content) {
        QFile f(db.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    };
    const std::function<void()> strays = [&] {
        table("questionnaire.db");
        bytes(QStringLiteral("Thumbs.db"), QByteArray(2048, '\x7f'));
        for (int i = 0; i < 11; ++i) bytes(QStringLiteral("copie%1.db").arg(i), "no database");
    };
    const std::function<void()> renamed = [&] {
        sqlite3* handle = nullptr;
        sqlite3_open(db.filePath("questionnaire.db").toUtf8().constData(), &handle);
        sqlite3_exec(handle, "CREATE TABLE questions (code TEXT)", nullptr, nullptr, nullptr);
        sqlite3_close(handle);
    };
    const struct {
        std::function<void()> make;
        const char* refusedFile;  // null when the folder is fine
    } folders[] = {
        {strays, nullptr},
        {[&] { table("Questionnaire.DB"); }, nullptr},
        {[&] { table("questions.db"); }, "questionnaire.db"},
        {renamed, "questionnaire.db"},
        {[&] { bytes(QStringLiteral("questionnaire.db"), QByteArray(4096, 'x')); },
         "questionnaire.db"},
        {[&] {
             table("questionnaire.db");
             table("QUESTIONNAIRE.db");
         },
         "QUESTIONNAIRE.db"},
    };
    for (std::size_t i = 0; i < std::size(folders); ++i) {
        SCOPED_TRACE(i);
        db.removeRecursively();
        QDir().mkpath(db.path());
        folders[i].make();
        QString refusal;
        try {
            Query q(QStringLiteral("Query1"), db.path(),
                    {QStringLiteral("select *"), QStringLiteral("from questionnaire"),
                     QStringLiteral("where code like :numero")});
            q.open();
        } catch (const Error& e) {
            refusal = e.message();
        }
        check::Report report;
        check::checkQuestions(dir.path(), report);
        if (folders[i].refusedFile) {
            EXPECT_TRUE(refusal.contains(db.filePath(folders[i].refusedFile)))
                << refusal.toStdString();
            EXPECT_FALSE(report.ok());
        } else {
            EXPECT_EQ(refusal, QString());
            EXPECT_EQ(report.faults(), QStringList());
        }
    }
}

}  // namespace
