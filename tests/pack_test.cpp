// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// vorn-pack: question tables as spreadsheets write them, every fault named by row and field, codes
// the draw finds, filling from the default questions, folders never overwritten by surprise, and
// a written pack played to the end of a level.

#include "core/pack.h"
#include "core/questions.h"
#include "tools/checker/media_check.h"
#include "tools/checker/questions_check.h"
#include "tools/checker/typography_check.h"
#include "tools/pack/command.h"
#include "tools/pack/packfolder.h"
#include "tools/pack/questiontable.h"
#include "tools/pack/sheet.h"

#include "support/scenario.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace vorn;
using namespace vorn::packtool;

namespace pack_test {

const QString kSheets = QStringLiteral(VORN_SOURCE_DIR "/tests/data/sheets/");

QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

struct ToolRun {
    int status = -1;
    QString out, err;
};

ToolRun packTool(const QStringList& args, const QString& toolDir = QStringLiteral("/nonexistent")) {
    ToolRun run;
    QTextStream out(&run.out), err(&run.err);
    run.status = runPackTool(args, toolDir, out, err);
    out.flush();
    err.flush();
    return run;
}

const QStringList kThemes = {QStringLiteral("Histoire"), QStringLiteral("Géo"),
                             QStringLiteral("Sciences"), QStringLiteral("Lettres"),
                             QStringLiteral("Sport"),    QStringLiteral("Divers")};

// One question of a generated table. Its right choice is written as a number on even numbers and
// as the choice's text on odd ones.
struct Question {
    QString enonce;
    QStringList choices;
    int right;
    QString theme;
    int level;
};

std::vector<Question> questions(int levels, int themes, int perTheme) {
    std::vector<Question> all;
    for (int level = 1; level <= levels; ++level)
        for (int t = 0; t < themes; ++t)
            for (int n = 1; n <= perTheme; ++n) {
                const QString tag = QStringLiteral("%1-%2-%3").arg(level).arg(t).arg(n);
                all.push_back(
                    {QStringLiteral("Question %1, la bonne ?").arg(tag),
                     {QStringLiteral("Alpha %1").arg(tag), QStringLiteral("« Bêta » %1").arg(tag),
                      QStringLiteral("Gamma; %1").arg(tag),
                      QStringLiteral("Delta \"%1\"").arg(tag)},
                     1 + (n * 7 + level + t) % 4,
                     kThemes[t],
                     level});
            }
    return all;
}

QByteArray table(const std::vector<Question>& rows, QChar separator = u',') {
    QStringList lines{headerRow().join(separator)};
    for (const Question& q : rows) {
        QStringList f{q.enonce};
        f << q.choices;
        f << (q.level % 2 == 0 ? QString::number(q.right) : q.choices[q.right - 1]);
        f << q.theme << QString::number(q.level);
        for (QString& field : f) field = sheetField(field, separator);
        lines << f.join(separator);
    }
    return lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
}

// ---------------------------------------------------------------- faults

TEST(PackTable, EveryFaultIsNamedByItsRowAndField) {
    const QByteArray csv =
        "question,choice 1,choice 2,choice 3,choice 4,right choice,theme,level\n"
        "Quelle est la capitale de l'Italie ?,Rome,Milan,Naples,Turin,1,Géo,1\n"
        "Combien de pattes a une araignée ?,6,8,,10,2,Sciences,1\n"
        "Qui a peint la Joconde ?,Vinci,Monet,Manet,Degas,1\n"
        "Quel est le plus grand océan ?,Atlantique,Indien,Pacifique,Arctique,5,Géo,1\n"
        "Quel est le symbole de l'or ?,Au,Ag,Fe,Cu,Argent,Sciences,1\n"
        "Quelle ville est la capitale ?,Paris,Lyon,\"  PARIS \",Lille,1,Géo,1\n"
        "Quand Rome fut-elle fondée ?,-753,-509,44,476,1,Histoire,5\n"
        "Quand Rome fut-elle fondée ?,-753,-509,44,476,1,Histoire,deux\n"
        "Pourquoi pourquoi pourquoi pourquoi pourquoi pourquoi pourquoi pourquoi pourquoi "
        "pourquoi pourquoi pourquoi pourquoi pourquoi pourquoi pourquoi pourquoi pourquoi ?,a,b,c,"
        "d,1,Divers,2\n"
        "Quel mot est le plus long "
        "?,Court,Anticonstitutionnellementissimement,Bref,Long,2,Divers,2\n"
        "Qui a écrit Le Cid ?,Corneille,Racine,Molière,Hugo,1,\"Arts, lettres et spectacles\",2\n"
        "Qui a dit je pense, donc je suis ?,Descartes,Pascal,Kant,Sartre,1,Philosophie,3\n"
        "Quelle est la capitale de l'Italie ?,Milan,Rome,Naples,Turin,Rome,géo,1\n"
        "\n"
        "Quelle est la couleur du ciel ?,Bleu,Vert,Rouge,Jaune,,Divers,1\n";
    const TableReading reading = readQuestionTable(csv);
    const QStringList& f = reading.faults;
    ASSERT_EQ(f.size(), 14) << f.join(u'\n').toStdString();
    EXPECT_EQ(f[0], "row 3, choice 3 (column D): missing");
    EXPECT_EQ(f[1], "row 4, theme (column G): missing");
    EXPECT_EQ(f[2], "row 4, level (column H): missing");
    EXPECT_TRUE(f[3].startsWith("row 5, right choice (column F): 5 is out of range"))
        << f[3].toStdString();
    EXPECT_TRUE(
        f[4].startsWith("row 6, right choice (column F): \"Argent\" is none of the four choices"))
        << f[4].toStdString();
    EXPECT_EQ(f[5], "row 7, choice 3 (column D): the same as choice 1");
    EXPECT_TRUE(f[6].startsWith("row 8, level (column H): \"5\" is not a level"))
        << f[6].toStdString();
    EXPECT_TRUE(f[7].startsWith("row 9, level (column H): \"deux\" is not a level"))
        << f[7].toStdString();
    EXPECT_TRUE(f[8].startsWith(
        "row 10, question (column A): too long for its place on the screen: it takes"))
        << f[8].toStdString();
    EXPECT_TRUE(f[9].startsWith("row 11, choice 2 (column C): too long")) << f[9].toStdString();
    EXPECT_TRUE(f[10].startsWith("row 12, theme (column G): too long")) << f[10].toStdString();
    EXPECT_TRUE(f[11].startsWith("row 13: 9 fields, 8 expected")) << f[11].toStdString();
    EXPECT_TRUE(f[12].startsWith("row 16, right choice (column F): missing"))
        << f[12].toStdString();
    // The same question and choices, in another order, with the theme in another case.
    EXPECT_EQ(f[13], "row 14: the same question as row 2");
    EXPECT_EQ(reading.entries.size(), 2u);  // rows 2 and 14: the repeat is a fault of the table

    // Through the command: each fault under the table's name, and nothing written.
    QTemporaryDir dir;
    test::TestPack from;
    writeBytes(dir.filePath("bad.csv"), csv);
    const ToolRun run =
        packTool({"import", dir.filePath("bad.csv"), dir.filePath("pack"), "--from", from.dir()});
    EXPECT_EQ(run.status, kRefused);
    EXPECT_TRUE(run.out.contains("bad.csv: row 3, choice 3 (column D): missing\n"))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("14 faults in bad.csv: nothing written."))
        << run.out.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("pack")));
}

TEST(PackTable, AQuoteNeverClosedIsNamedWhereItOpens) {
    const TableReading reading = readQuestionTable(
        "question;choice 1;choice 2;choice 3;choice 4;right choice;theme;level\n"
        "Un;a;b;c;d;1;T;1\n"
        "\"Deux\n"
        "lignes;a;b;c;d;1;T;1\n"
        "Trois;a;b;c;d;1;T;1\n");
    ASSERT_EQ(reading.faults.size(), 1);
    EXPECT_TRUE(reading.faults[0].startsWith(
        "row 3 (line 3 of the file): a double quote opens a text that is never closed"))
        << reading.faults[0].toStdString();
}

TEST(PackTable, ThemesAndQuestionsBeyondWhatALevelHoldsAreNamed) {
    auto rows = questions(1, 6, 19);
    rows.push_back({"Une de trop ?", {"a", "b", "c", "d"}, 1, kThemes[2], 1});
    rows.push_back({"Une septième ?", {"a", "b", "c", "d"}, 1, "Cuisine", 1});
    const TableReading reading = readQuestionTable(table(rows));
    ASSERT_TRUE(reading.faults.isEmpty()) << reading.faults.join(u'\n').toStdString();
    const PackPlan plan = planCodes(reading.entries);
    ASSERT_EQ(plan.faults.size(), 2) << plan.faults.join(u'\n').toStdString();
    EXPECT_TRUE(plan.faults[0].startsWith("level 1 has 7 themes (\"Histoire\", "))
        << plan.faults[0].toStdString();
    EXPECT_TRUE(plan.faults[0].endsWith("\"Cuisine\"); a level has room for 6"));
    // Row 116: the header, then 114 rows, then the twentieth question of Sciences.
    EXPECT_EQ(
        plan.faults[1],
        "level 1, theme \"Sciences\": 20 questions, a theme has room for 19: row 116 is one too "
        "many");
}

TEST(PackTable, ARightChoiceThatIsANumberIsThePlaceOfTheChoice) {
    // Choices that are numbers themselves: 1 to 4 is a place (and the author is told), any other
    // number is a text among the choices.
    const TableReading reading = readQuestionTable(
        "question,choice 1,choice 2,choice 3,choice 4,right choice,theme,level\n"
        "Combien font 1 + 1 ?,4,3,2,1,2,Calcul,1\n"
        "Combien font 5 + 5 ?,12,10,11,9,10,Calcul,1\n");
    ASSERT_TRUE(reading.faults.isEmpty()) << reading.faults.join(u'\n').toStdString();
    ASSERT_EQ(reading.entries.size(), 2u);
    EXPECT_EQ(reading.entries[0].right, 2);
    EXPECT_EQ(reading.entries[1].right, 2);
    EXPECT_EQ(reading.notes,
              QStringList{"row 2: right choice 2 is taken as choice number 2 (\"3\"), "
                          "not as the choice written \"2\""});
}

// ---------------------------------------------------------------- dialects

TEST(PackSheets, SpreadsheetDialectsReadTheSame) {
    // Written by LibreOffice 7.4 from questions.fods: "save as CSV" with its defaults (comma,
    // Windows-1252), and with semicolon and tab separators in UTF-8, every text quoted.
    const QByteArray semicolon = readBytes(kSheets + "libreoffice-semicolon.csv");
    ASSERT_FALSE(semicolon.isEmpty());
    const TableReading reference = readQuestionTable(semicolon);
    EXPECT_EQ(reference.separator, u';');
    EXPECT_EQ(reference.encoding, "UTF-8");
    ASSERT_TRUE(reference.faults.isEmpty()) << reference.faults.join(u'\n').toStdString();
    ASSERT_EQ(reference.entries.size(), 3u);
    const Entry& cid = reference.entries[0];
    // Read with French spacing: no-break spaces inside the quotes and before "?".
    EXPECT_EQ(cid.enonce, QStringLiteral("Quel auteur a écrit «\u202FLe Cid\u202F»\u202F?"));
    EXPECT_EQ(cid.choices[2], "Molière, dit \"Poquelin\"");
    EXPECT_EQ(cid.choices[3], "Voltaire; ou Arouet");
    EXPECT_EQ(cid.right, 1);
    EXPECT_EQ(reference.entries[1].enonce,
              QStringLiteral("Combien de continents\ncompte-t-on d'habitude\u202F?"));
    EXPECT_EQ(reference.entries[1].right, 3);  // "7", the text of choice 3
    EXPECT_EQ(reference.entries[1].level, 2);
    EXPECT_EQ(reference.entries[2].right, 3);  // "Un poème japonais"
    EXPECT_EQ(reference.entries[2].row, 4);    // the line break inside row 3 starts no row

    auto same = [&](const QByteArray& bytes, QChar separator, const char* encoding) {
        const TableReading r = readQuestionTable(bytes);
        EXPECT_EQ(r.separator, separator);
        EXPECT_EQ(r.encoding, encoding);
        EXPECT_TRUE(r.faults.isEmpty()) << r.faults.join(u'\n').toStdString();
        ASSERT_EQ(r.entries.size(), reference.entries.size());
        for (std::size_t i = 0; i < r.entries.size(); ++i) {
            EXPECT_EQ(r.entries[i].enonce, reference.entries[i].enonce);
            EXPECT_EQ(r.entries[i].choices, reference.entries[i].choices);
            EXPECT_EQ(r.entries[i].right, reference.entries[i].right);
            EXPECT_EQ(r.entries[i].theme, reference.entries[i].theme);
            EXPECT_EQ(r.entries[i].row, reference.entries[i].row);
        }
    };
    SCOPED_TRACE("LibreOffice defaults");
    same(readBytes(kSheets + "libreoffice-default.csv"), u',', "Windows-1252");
    same(readBytes(kSheets + "libreoffice-tab.csv"), u'\t', "UTF-8");
    same("\xEF\xBB\xBF" + semicolon, u';', "UTF-8 with byte-order mark");
    QByteArray crlf = semicolon;
    crlf.replace("\n", "\r\n");  // the line break inside a text too, as Windows writes it
    same(crlf, u';', "UTF-8");
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(semicolon);
    QByteArray utf16("\xFF\xFE");
    utf16.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    same(utf16, u';', "UTF-16");
}

TEST(PackSheets, TheSeparatorIsTheOneThatGivesEightColumns) {
    // Commas inside the texts of a semicolon table, semicolons inside a comma table.
    const QString semicolons =
        "question;choice 1;choice 2;choice 3;choice 4;right choice;theme;level\n"
        "Un, deux, trois ?;a,b;c;d;e;1;T;1\n";
    EXPECT_EQ(detectSeparator(semicolons, kColumns), u';');
    const QString commas =
        "question,choice 1,choice 2,choice 3,choice 4,right choice,theme,level\n"
        "Un; deux; trois ?,a;b,c,d,e,1,T,1\n";
    EXPECT_EQ(detectSeparator(commas, kColumns), u',');
    const Sheet sheet = splitSheet("a,\"b,\"\"c\"\"\",\"d\r\ne\"\r\n  \"f\",g", u',');
    ASSERT_EQ(sheet.rows.size(), 2u);
    EXPECT_EQ(sheet.rows[0].fields, (QStringList{"a", "b,\"c\"", "d\ne"}));
    EXPECT_EQ(sheet.rows[1].fields, (QStringList{"f", "g"}));
    EXPECT_EQ(sheet.rows[1].line, 3);
}

// ---------------------------------------------------------------- import

class PackImport : public ::testing::Test {
  protected:
    test::TestPack from;  // the pack whose media are copied
    QTemporaryDir work;

    QString path(const QString& name) const { return work.filePath(name); }
    ToolRun import(const QByteArray& csv, const QString& dir, QStringList options = {}) {
        writeBytes(path("table.csv"), csv);
        options << "--from" << from.dir();
        return packTool(QStringList{"import"} + options + QStringList{path("table.csv"), dir});
    }
    static std::map<QString, bank::Question> byCode(const QString& pack) {
        std::map<QString, bank::Question> rows;
        for (const bank::Question& q : readPackQuestions(pack)) rows.emplace(q.code, q);
        return rows;
    }
};

TEST_F(PackImport, TemplateThenImportKeepsEveryTextAndGivesTheCodesInTableOrder) {
    const ToolRun made = packTool({"template", path("questions.tsv")});
    ASSERT_EQ(made.status, kDone) << made.err.toStdString();
    QByteArray bytes = readBytes(path("questions.tsv"));
    EXPECT_TRUE(
        bytes.startsWith("\xEF\xBB\xBF"
                         "question\tchoice 1\tchoice 2\tchoice 3\tchoice 4\t"
                         "right choice\ttheme\tlevel\r\n"));
    EXPECT_EQ(packTool({"template", path("questions.tsv")}).status,
              kRefused);  // never replaced unasked

    // Filled in as an editor would: the template's tab dialect below its header.
    const auto rows = questions(4, 6, 19);
    QByteArray filled = table(rows, u'\t');
    bytes += filled.mid(filled.indexOf('\n') + 1);
    const ToolRun run = import(bytes, path("pack"));
    ASSERT_EQ(run.status, kDone) << run.out.toStdString() << run.err.toStdString();
    const auto table = byCode(path("pack"));
    ASSERT_EQ(table.size(), 456u);
    for (int level = 1; level <= kLevels; ++level)
        for (int t = 0; t < kThemesPerLevel; ++t)
            for (int n = 1; n <= kNumbersPerTheme; ++n) {
                const Question& q =
                    rows[static_cast<std::size_t>(((level - 1) * 6 + t) * 19 + n - 1)];
                const bank::Question& got = table.at(codeFor(level, t, n));
                // Every text as typed, its plain spaces before "?" and the like made no-break.
                EXPECT_EQ(got.enonce, vorn::check::withFrenchSpacing(q.enonce));
                QStringList choices;
                for (const QString& choice : q.choices)
                    choices << vorn::check::withFrenchSpacing(choice);
                EXPECT_EQ((QStringList{got.r1, got.r2, got.r3, got.r4}), choices);
                EXPECT_EQ(got.br, QString::number(q.right)) << got.code.toStdString();
                EXPECT_EQ(got.Theme, q.theme);
            }
    EXPECT_TRUE(QFileInfo(path("pack/save")).isDir());
    for (const QString& file : pack::mediaFiles())
        EXPECT_EQ(readBytes(path("pack/") + file), readBytes(from.path(file)))
            << file.toStdString();
}

TEST_F(PackImport, AShortTableNamesWhatIsMissingAndFillsOnlyWhenAsked) {
    // Level 1: two whole themes and five questions of a third; nothing on the other levels.
    auto rows = questions(1, 3, 19);
    rows.resize(19 * 2 + 5);
    const ToolRun refused = import(table(rows), path("pack"));
    EXPECT_EQ(refused.status, kRefused);
    EXPECT_TRUE(refused.out.contains(
        "level 1: 43 of the 114 questions the game draws from (6 themes of 19), 71 missing\n"
        "    theme c \"Sciences\": 5 of 19, 14 missing\n"
        "    theme d: no questions yet, 19 missing\n"))
        << refused.out.toStdString();
    EXPECT_TRUE(refused.out.contains(
        "level 4: 0 of the 114 questions the game draws from (6 themes of 19), 114 missing\n"));
    EXPECT_TRUE(refused.out.contains("--fill"));
    EXPECT_FALSE(QFileInfo::exists(path("pack")));

    const ToolRun filled = import(table(rows), path("pack"), {"--fill"});
    ASSERT_EQ(filled.status, kDone) << filled.out.toStdString() << filled.err.toStdString();
    EXPECT_TRUE(filled.out.contains("level 1: 71 questions from the default ones"));
    const auto table = byCode(path("pack"));
    const auto defaults = byCode(from.dir());
    ASSERT_EQ(table.size(), 456u);
    EXPECT_EQ(table.at("1c5").enonce, vorn::check::withFrenchSpacing(rows.back().enonce));
    for (const QString code : {"1c6", "1d1", "2a1", "4f19"}) {
        EXPECT_EQ(table.at(code).enonce, vorn::check::withFrenchSpacing(defaults.at(code).enonce))
            << code.toStdString();
        EXPECT_EQ(table.at(code).br, defaults.at(code).br);
    }
}

TEST(PackFill, TwoQuestionsAskTheSameWithTheSameTextOrRightAnswerInOneTheme) {
    const bank::Question capital{"1a1",        "Quelle est la capitale de l'Italie ?",
                                 "Rome",       "Milan",
                                 "Naples",     "Turin",
                                 "Géographie", "1"};
    struct Case {
        bank::Question other;
        bool same;
    };
    const Case cases[] = {
        // The same text typed otherwise: case, accents, apostrophe, spaces before the mark.
        {{"2b3", "QUELLE est la capitale de l’Italie\u202f?", "Milan", "Rome", "Gênes", "Pise",
          "Histoire", "2"},
         true},
        // Another text whose right answer is the same, in the same theme.
        {{"3c1", "Où siège le gouvernement italien ?", "Venise", "Florence", "Rome", "Bari",
          "géographie", "3"},
         true},
        // The same right answer in another theme: another question.
        {{"1d2", "Quelle ville fut fondée par Romulus ?", "Rome", "Athènes", "Carthage", "Sparte",
          "Histoire", "1"},
         false},
        // The capital among its wrong answers only.
        {{"1a2", "Quelle est la capitale de la Grèce ?", "Rome", "Athènes", "Sparte", "Corinthe",
          "Géographie", "2"},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.other.enonce.toStdString());
        EXPECT_EQ(asksTheSame(capital, c.other), c.same);
        EXPECT_EQ(asksTheSame(c.other, capital), c.same);
    }
}

TEST_F(PackImport, FillingLeavesOutTheDefaultQuestionsThatAskWhatTheTablesAsk) {
    // Level 1: 38 questions of the table in three themes; the default questions of the test pack
    // ask "Question 1d5 ?", their right answer "Réponse n de 1d5", in the theme "Thème d".
    auto rows = questions(1, 2, 19);
    rows[0].enonce = QStringLiteral("QUESTION 1d5?");  // a default's text, typed otherwise
    // A default's right answer in its theme (1e7: its fourth choice)...
    rows[1].theme = QStringLiteral("Thème e");
    rows[1].choices[rows[1].right - 1] = QStringLiteral("Réponse 4 de 1e7");
    // ...and another's in another theme (1f2: its third).
    rows[2].choices[rows[2].right - 1] = QStringLiteral("Réponse 3 de 1f2");
    const auto defaults = byCode(from.dir());
    ASSERT_EQ(defaults.at("1e7").r4, "Réponse 4 de 1e7");

    const ToolRun filled = import(table(rows), path("pack"), {"--fill"});
    ASSERT_EQ(filled.status, kDone) << filled.out.toStdString() << filled.err.toStdString();
    EXPECT_TRUE(filled.out.contains("level 1: 76 questions from the default ones (2 left out"))
        << filled.out.toStdString();
    EXPECT_TRUE(
        filled.out.contains("2 default questions were left out: each asks what one of "
                            "your own questions asks"));
    const auto written = byCode(path("pack"));
    ASSERT_EQ(written.size(), 456u);
    EXPECT_EQ(written.at("1f2").enonce, vorn::check::withFrenchSpacing(defaults.at("1f2").enonce));
    for (const QString code : {"1d5", "1e7"}) {
        SCOPED_TRACE(code.toStdString());
        EXPECT_NE(written.at(code).enonce,
                  vorn::check::withFrenchSpacing(defaults.at(code).enonce));
        EXPECT_TRUE(written.at(code).enonce.startsWith("Question 1")) << "another default one";
    }
    // No default question taken asks what the table's own do; none is taken twice.
    std::vector<bank::Question> own, taken;
    std::set<QString> texts;
    for (const auto& [code, question] : written) {
        EXPECT_TRUE(texts.insert(question.enonce).second) << question.enonce.toStdString();
        const bool mine =
            question.enonce.contains("la bonne") || question.enonce.startsWith("QUESTION");
        (mine ? own : taken).push_back(question);
    }
    ASSERT_EQ(own.size(), rows.size());
    for (const bank::Question& q : taken)
        for (const bank::Question& mine : own)
            EXPECT_FALSE(asksTheSame(q, mine))
                << q.code.toStdString() << " " << mine.code.toStdString();
}

TEST_F(PackImport, FoldersAreNeverOverwrittenBySurprise) {
    const QByteArray csv = table(questions(4, 6, 19));
    // Someone's folder: refused unless forced, and then nothing of theirs is touched.
    QDir(work.path()).mkpath("mine");
    writeBytes(path("mine/letter.txt"), "mine");
    ToolRun run = import(csv, path("mine"));
    EXPECT_EQ(run.status, kRefused);
    EXPECT_TRUE(run.out.contains("--force")) << run.out.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path("mine/dB")));
    ASSERT_EQ(import(csv, path("mine"), {"--force"}).status, kDone);
    EXPECT_EQ(readBytes(path("mine/letter.txt")), "mine");
    EXPECT_EQ(folderKind(path("mine")), FolderKind::Pack);

    // A pack: its table is replaced, its saves and its own pictures are kept.
    writeBytes(path("mine/save/highscores.ini"), "[place1]\r\nnom=Ada\r\n");
    writeBytes(path("mine/image/titre.jpg"), "our own title");
    auto smaller = questions(4, 6, 19);
    smaller[0].enonce = "Une autre question ?";
    run = import(table(smaller), path("mine"));
    ASSERT_EQ(run.status, kDone) << run.out.toStdString();
    EXPECT_EQ(byCode(path("mine")).at("1a1").enonce, QStringLiteral("Une autre question\u202f?"));
    EXPECT_EQ(readBytes(path("mine/save/highscores.ini")), "[place1]\r\nnom=Ada\r\n");
    EXPECT_EQ(readBytes(path("mine/image/titre.jpg")), "our own title");

    // The pack the media come from is never the one written.
    run = import(csv, from.dir());
    EXPECT_EQ(run.status, kRefused);
    EXPECT_NE(byCode(from.dir()).at("1a1").enonce, questions(1, 1, 1)[0].enonce);
}

TEST_F(PackImport, AnImportedTableIsPlayedToTheResultsOfLevelOne) {
    // The table goes into a test pack (a pack already: its table is replaced, its small media
    // kept), which the runner then plays, answering from the table itself.
    const auto rows = questions(4, 6, 19);
    test::TestPack played;
    const ToolRun run = import(table(rows, u';'), played.dir());
    ASSERT_EQ(run.status, kDone) << run.out.toStdString() << run.err.toStdString();
    std::map<QString, const Question*> byText;
    for (const Question& q : rows) byText[vorn::check::withFrenchSpacing(q.enonce)] = &q;

    test::Play play(played);
    play << "key Enter";
    std::vector<int> shown;
    for (int i = 0; i < 10; ++i) {
        shown.push_back(play.mark());
        play.then([&byText](const test::Dump& d) {
            const auto it = byText.find(test::widgetText(d, "question"));
            return it == byText.end() ? QStringLiteral("key KP1")
                                      : QStringLiteral("key ") + test::keypad(it->second->right);
        });
        play << QStringLiteral("wait %1").arg(test::kPauseMs);
    }
    const int results = play.mark();
    play.run();
    for (int mark : shown) {
        const test::Dump& d = play.at(mark);
        const auto it = byText.find(test::widgetText(d, "question"));
        ASSERT_NE(it, byText.end()) << test::widgetText(d, "question").toStdString();
        EXPECT_EQ(it->second->level, 1);
        EXPECT_EQ(test::widgetText(d, "theme"), it->second->theme);
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(test::widgetText(d, QStringLiteral("reponse%1").arg(c + 1)),
                      vorn::check::withFrenchSpacing(it->second->choices[c]));
    }
    const test::Dump& r = play.at(results);
    EXPECT_EQ(test::value(r, "screens"), "resultScreenPresent");
    EXPECT_EQ(test::widgetText(r, "pourcent"), " 100% ");
    EXPECT_TRUE(test::shown(r, "pass"));
}

TEST_F(PackImport, TheMediaComeFromTheGameFolderBesideTheTool) {
    EXPECT_EQ(defaultPack(from.dir()), QDir::cleanPath(from.dir()));  // the tool inside a pack
    QDir(work.path()).mkpath("bin/game");
    EXPECT_EQ(defaultPack(path("bin")), "");  // an empty folder named game is no pack
    const ToolRun run = packTool({"import", path("table.csv"), path("pack")}, path("bin"));
    EXPECT_EQ(run.status, kUsage);
    EXPECT_TRUE(run.err.contains("--from PACK")) << run.err.toStdString();
}

// The default pack beside the tool, with an imported table, passes the content checker whole.
TEST(ContentPackImport, AGoodTableMakesAPackTheCheckerPasses) {
    QTemporaryDir work;
    writeBytes(work.filePath("table.csv"), table(questions(4, 6, 19), u';'));
    const ToolRun run = packTool({"import", work.filePath("table.csv"), work.filePath("pack")},
                                 QStringLiteral(VORN_BUILD_DIR));
    ASSERT_EQ(run.status, kDone) << run.out.toStdString() << run.err.toStdString();
    const ToolRun checked = packTool({"check", work.filePath("pack")});
    EXPECT_EQ(checked.status, kDone) << checked.out.toStdString();
    EXPECT_EQ(checked.out, "content OK: " + work.filePath("pack") + "\n");
}

// What the game plays as it is but the author would want otherwise is told at the import, by the
// table's row, and at every check, and the pack is written all the same.
TEST(ContentPackImport, AQuestionThatGivesAnotherAwayIsToldByItsRowAndChecked) {
    QTemporaryDir work;
    auto rows = questions(4, 6, 19);
    rows[1].choices[rows[1].right - 1] = QStringLiteral("Jules César");
    rows[0].enonce = QStringLiteral("Quel chef gaulois Jules César a-t-il vaincu à Alésia ?");
    writeBytes(work.filePath("table.csv"), table(rows, u';'));
    const ToolRun run = packTool({"import", work.filePath("table.csv"), work.filePath("pack")},
                                 QStringLiteral(VORN_BUILD_DIR));
    ASSERT_EQ(run.status, kDone) << run.out.toStdString() << run.err.toStdString();
    const QString told = QStringLiteral(
        "warning: the question names \"Jules César\", the right answer of 1a2, a question of the "
        "same level: a game that asks both may ask this one first\n");
    EXPECT_TRUE(run.out.contains("table.csv: row 2: " + told)) << run.out.toStdString();
    const ToolRun checked = packTool({"check", work.filePath("pack")});
    EXPECT_EQ(checked.status, kDone) << checked.out.toStdString();
    EXPECT_EQ(checked.out, "dB/questionnaire.db: row 1 (1a1): " + told +
                               "content OK: " + work.filePath("pack") + " (1 warning)\n");
}

}  // namespace pack_test
