// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The INI files: reading and converting values, writing in place, Windows-1252 on disk, and the
// pass that reaches the disk as a whole or not at all.

#include "platform/ini.h"
#include "platform/errors.h"
#include "platform/windows1252.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "support/printing.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

using namespace vorn;

namespace ini_test {

class Ini : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("test.ini"));
    QString previous = QDir::currentPath();

    void TearDown() override { QDir::setCurrent(previous); }

    void put(const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray disk() const {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
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

TEST(IniIntegers, ConvertsTheProfileWay) {
    const struct {
        const char* text;
        std::optional<qint32> value;
    } cases[] = {
        {"0", 0},
        {"+7", 7},
        {" \t-12", -12},
        {"007", 7},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"0x1F", 31},
        {"0X1f", 31},
        {"$1f", 31},
        {"-$10", -16},
        {"$FFFFFFFF", -1},
        {"0x80000000", INT_MIN},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"abc", std::nullopt},
        {"12abc", std::nullopt},
        {"12 ", std::nullopt},
        {"1 2", std::nullopt},
        {"- 1", std::nullopt},
        {"+-1", std::nullopt},
        {"-", std::nullopt},
        {"$", std::nullopt},
        {"0x", std::nullopt},
        {"$-1", std::nullopt},
        {"1f", std::nullopt},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"99999999999", std::nullopt},
        {"0x100000000", std::nullopt},
        {"$0000000000000001", 1},
        {"\xd9\xa3", std::nullopt},  // an Arabic-Indic digit is no digit here
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseProfileInteger(QString::fromUtf8(c.text)), c.value) << c.text;
    }
    // However long the digits run, the reading stops before it could overflow.
    EXPECT_EQ(parseProfileInteger(QString(100000, u'9')), std::nullopt);
    EXPECT_EQ(parseProfileInteger(QStringLiteral("0x") + QString(100000, u'F')), std::nullopt);
    EXPECT_EQ(parseProfileInteger(QString(100000, u'0') + u'5'), 5);
}

TEST_F(Ini, ReadsValuesWhateverTheLineEndingsAndLetterCase) {
    for (const QByteArray& eol : {QByteArray("\n"), QByteArray("\r\n")}) {
        QByteArray text =
            "orphan=outside any section\n; nom=commented\n[Place1]\n"
            "  NOM = Zo\xe9  \nscore=0x1F\nvide=\nlettres=abc\nnom=second\n"
            "[place2]\nscore = -12\n[PLACE1]\nautre=1";
        text.replace("\n", eol);
        put(text);
        IniFile ini(path);
        EXPECT_EQ(ini.readString("place1", "nom", "d"), QStringLiteral("Zoé"));
        EXPECT_EQ(ini.readString("pLaCe1", "Nom", "d"), QStringLiteral("Zoé"));
        EXPECT_EQ(ini.readString("place1", "vide", "d"), "");
        EXPECT_EQ(ini.readString("place1", "autre", "d"), "d");  // only the first [place1] counts
        EXPECT_EQ(ini.readString("place1", "absent", "d"), "d");
        EXPECT_EQ(ini.readString("place3", "nom", "d"), "d");
        EXPECT_EQ(ini.readString("", "orphan", "d"), "d");
        EXPECT_EQ(ini.readInteger("place1", "score", 5), 31);
        EXPECT_EQ(ini.readInteger("PLACE2", "SCORE", 5), -12);
        EXPECT_EQ(ini.readInteger("place1", "lettres", 5), 5);
        EXPECT_EQ(ini.readInteger("place1", "vide", 5), 5);
        EXPECT_EQ(ini.readInteger("place1", "absent", 5), 5);
        ini.release();
    }
    IniFile missing(dir.filePath("none.ini"));
    EXPECT_EQ(missing.readString("place1", "nom", "anonyme"), "anonyme");
    EXPECT_EQ(missing.readInteger("place1", "score", 0), 0);
}

TEST_F(Ini, LongValuesAreCut) {
    put("[a]\nlong=" + QByteArray(3000, 'x') + "\nzeros=" + QByteArray(2999, '0') + "1\n");
    IniFile ini(path);
    EXPECT_EQ(ini.readString("a", "long", ""), QString(2047, u'x'));
    EXPECT_EQ(ini.readInteger("a", "zeros", 9), 0);  // the cut drops the final 1
}

TEST_F(Ini, WritesInPlaceAndKeepsEveryOtherLine) {
    const QByteArray before =
        "; high scores\r\n[place1]\r\n  NOM = old \r\nx=keep me\r\n\r\n; place2 next\r\n"
        "[Place2]\r\nscore=1\r\n[place1]\r\nnom=duplicate\r\nno equals sign here\r\nlast=1";
    put(before);
    IniFile ini(path);
    ini.writeString("PLACE1", "nom", QStringLiteral("Zoé"));
    ini.writeInteger("place1", "score", -5);
    ini.writeInteger("place2", "score", INT_MIN);
    ini.writeString("place3", "nom", "");
    EXPECT_EQ(ini.readString("place1", "nom", ""), QStringLiteral("Zoé"));  // the pass sees it
    EXPECT_EQ(disk(), before);  // nothing on disk before the pass ends
    ini.release();
    EXPECT_EQ(disk(),
              QByteArray("; high scores\r\n[place1]\r\n  NOM =Zo\xe9\r\nx=keep me\r\n"
                         "score=-5\r\n\r\n; place2 next\r\n[Place2]\r\nscore=-2147483648\r\n"
                         "[place1]\r\nnom=duplicate\r\nno equals sign here\r\nlast=1\r\n"
                         "[place3]\r\nnom=\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"test.ini"});

    put("[a]\nk=1\n");  // new lines follow the file's own line endings
    IniFile lf(path);
    lf.writeString("b", "k", "2");
    lf.release();
    EXPECT_EQ(disk(), QByteArray("[a]\nk=1\n[b]\nk=2\n"));
}

// A file cut between the CR and the LF of its last line: the value of that line is the same
// before and after a write adds lines behind it, and reads as a number.
TEST_F(Ini, ALastLineCutAfterItsCarriageReturnKeepsItsValue) {
    put("[place1]\r\nnom=Jo\r\nscore=8000\r");
    IniFile ini(path);
    EXPECT_EQ(ini.readInteger("place1", "score", 5), 8000);
    EXPECT_EQ(ini.readString("place1", "score", ""), "8000");
    ini.writeString("Block2", "score", "1");
    ini.release();
    EXPECT_EQ(disk(), QByteArray("[place1]\r\nnom=Jo\r\nscore=8000\r\n[Block2]\r\nscore=1\r\n"));
    IniFile again(path);
    EXPECT_EQ(again.readString("place1", "score", ""), "8000");
    EXPECT_EQ(again.readString("Block2", "score", ""), "1");
    again.release();
}

TEST_F(Ini, StoresWindows1252) {
    IniFile ini(path);
    ini.writeString("s", "a", QStringLiteral("Zoé"));
    ini.writeString("s", "b", QStringLiteral("œ€"));
    ini.writeString("s", "c", QStringLiteral("Łukasz"));
    ini.writeString("s", "d", QStringLiteral("a😀b"));
    ini.release();
    EXPECT_EQ(disk(), QByteArray("[s]\r\na=Zo\xe9\r\nb=\x9c\x80\r\nc=Lukasz\r\nd=a?b\r\n"));
    EXPECT_EQ(ini.readString("s", "a", ""), QStringLiteral("Zoé"));
    EXPECT_EQ(ini.readString("s", "b", ""), QStringLiteral("œ€"));

    QByteArray every(256, '\0');
    for (int b = 0; b < 256; ++b) every[b] = static_cast<char>(b);
    EXPECT_EQ(toWindows1252(fromWindows1252(every)), every);
    EXPECT_EQ(fromWindows1252("\x80\x8c\x99\x9f\xff\x81"), QStringLiteral("€Œ™Ÿÿ\u0081"));
}

TEST_F(Ini, ValuesReadBackAsWrittenWhateverTheirBlanksAndQuotes) {
    put("[s]\nquoted=\"Bob\"\nsingle='Bob'\nmixed=\"Bob'\nalone=\"\nspaced= \" x \" \nn=\"12\"\n");
    IniFile read(path);
    EXPECT_EQ(read.readString("s", "quoted", ""), "Bob");
    EXPECT_EQ(read.readString("s", "single", ""), "Bob");
    EXPECT_EQ(read.readString("s", "mixed", ""), "\"Bob'");
    EXPECT_EQ(read.readString("s", "alone", ""), "\"");
    EXPECT_EQ(read.readString("s", "spaced", ""), " x ");
    EXPECT_EQ(read.readInteger("s", "n", 0), 12);
    read.release();

    const QString values[] = {QStringLiteral("  Zoé  "), QStringLiteral(" a"),
                              QStringLiteral("b "),      QStringLiteral("   "),
                              QStringLiteral("\"c\""),   QStringLiteral("'d'"),
                              QStringLiteral("\"e'"),    QStringLiteral("\""),
                              QStringLiteral("f g"),     u' ' + QString(2045, u'h') + u' '};
    put("");
    IniFile ini(path);
    for (int i = 0; i < int(std::size(values)); ++i)
        ini.writeString("s", QString::number(i), values[i]);
    ini.release();
    EXPECT_TRUE(
        disk().startsWith("[s]\r\n0=\"  Zo\xe9  \"\r\n1=\" a\"\r\n2=\"b \"\r\n3=\"   \"\r\n"
                          "4=\"\"c\"\"\r\n5=\"'d'\"\r\n6=\"e'\r\n7=\"\r\n8=f g\r\n"));
    IniFile back(path);
    for (int i = 0; i < int(std::size(values)); ++i)
        EXPECT_EQ(back.readString("s", QString::number(i), "<none>"), values[i]) << i;
    back.release();
}

// Only what no line can hold is refused: a line break or a NUL. Every other character, control
// characters and the bytes Windows-1252 leaves undefined among them, is written as it came.
TEST_F(Ini, RefusesOnlyWhatNoLineCanHold) {
    put("[s]\nk=old\n");
    {
        IniFile ini(path);
        ini.writeString("s", "k", "new");
        for (const QString& bad : {QStringLiteral("a\nb"), QStringLiteral("a\rb"),
                                   QString(QStringLiteral("a")) + QChar(u'\0')}) {
            EXPECT_EQ(errorOf([&] { ini.writeString("s", "nom", bad); }),
                      QString("Unable to write to %1: the value of \"nom\" in section \"s\" holds "
                              "a line break or a NUL character")
                          .arg(path));
        }
        EXPECT_NE(errorOf([&] { ini.writeString("a]b", "k", "v"); }), "<no error>");
        EXPECT_NE(errorOf([&] { ini.writeString("s", "k=", "v"); }), "<no error>");
        EXPECT_NE(errorOf([&] { ini.writeString("s", "", "v"); }), "<no error>");
    }  // the pass ended without release: none of its writes is kept
    EXPECT_EQ(disk(), QByteArray("[s]\nk=old\n"));

    const QByteArray odd[] = {"a\tb", "\tlead", "trail\t", "\x7f", "\x01x", "\x81",
                              "\x8d", "\x8f",   "\x90",    "\x9d", "\x0b",  "x\x0c"};
    IniFile ini(path);
    for (int i = 0; i < int(std::size(odd)); ++i)
        ini.writeString("odd", QString::number(i), fromWindows1252(odd[i]));
    ini.release();
    for (int i = 0; i < int(std::size(odd)); ++i) {
        EXPECT_EQ(toWindows1252(ini.readString("odd", QString::number(i), "<none>")), odd[i]) << i;
        EXPECT_TRUE(disk().contains(QByteArray::number(i) + '=' + odd[i]) ||
                    disk().contains(QByteArray::number(i) + "=\"" + odd[i] + '"'))
            << i;
    }
}

// Files read as the profile functions read them, each with the names and scores they give there.
TEST_F(Ini, ReadsEveryFormOfFileAsTheProfileFunctionsDo) {
    const auto utf16 = [](const QString& text) {
        QByteArray bytes("\xff\xfe");
        for (const QChar c : text)
            bytes.append(static_cast<char>(c.unicode() & 0xff))
                .append(static_cast<char>(c.unicode() >> 8));
        return bytes;
    };
    const struct {
        const char* form;
        QByteArray bytes;
        QString nom1, nom2;
        int score1;
    } files[] = {
        {"CR line ends", "[place1]\rnom=Ann\rscore=900\r[place2]\rnom=Bob\r", "Ann", "Bob", 900},
        {"LF CR line ends", "[place1]\n\rnom=Ann\n\rscore=900\n\r[place2]\n\rnom=Bob\n\r", "Ann",
         "Bob", 900},
        {"CR CR LF line ends",
         "[place1]\r\r\nnom=Ann\r\r\nscore=900\r\r\n[place2]\r\r\nnom=Bob\r\r\n", "Ann", "Bob",
         900},
        {"a section given twice",
         "[place1]\nnom=Ann\n[place2]\nnom=Bob\n[PLACE1]\nnom=Zed\nscore=900\n", "Ann", "Bob", 0},
        {"UTF-16 with its mark",
         utf16(QStringLiteral("[place1]\r\nnom=Łukasz\r\nscore=900\r\n[place2]\r\nnom=Bob")),
         QStringLiteral("Łukasz"), "Bob", 900},
        {"vertical tabs and form feeds as blanks",
         "[place1]\n\vnom\v=\vAnn\v\f\nscore=\f900\v\n[\vplace2\f]\nnom=Bob\n", "Ann", "Bob", 900},
        {"a NUL ends a value",
         QByteArray("[place1]\nnom=Ann") + '\0' + "ie\nscore=900" + '\0' +
             " 1\n[place2]\nnom=Bob\n",
         "Ann", "Bob", 900},
        {"a UTF-8 mark is no mark", "\xef\xbb\xbf[place1]\nnom=Ann\nscore=900\n[place2]\nnom=Bob\n",
         "anonyme", "Bob", 0},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.form);
        put(f.bytes);
        IniFile ini(path);
        EXPECT_EQ(ini.readString("place1", "nom", "anonyme"), f.nom1);
        EXPECT_EQ(ini.readString("place2", "nom", "anonyme"), f.nom2);
        EXPECT_EQ(ini.readInteger("place1", "score", 0), f.score1);
        ini.release();
    }
}

// A UTF-16 file stays one: a write keeps its mark, its form and every letter, those outside
// Windows-1252 included.
TEST_F(Ini, AUtf16FileIsWrittenBackInUtf16) {
    const auto utf16 = [](const QString& text) {
        QByteArray bytes("\xff\xfe");
        for (const QChar c : text)
            bytes.append(static_cast<char>(c.unicode() & 0xff))
                .append(static_cast<char>(c.unicode() >> 8));
        return bytes;
    };
    put(utf16(QStringLiteral("[place1]\r\nnom=Łukasz\r\nscore=900\r\n")));
    IniFile ini(path);
    ini.writeString("place1", "score", "1000");
    ini.writeString("place2", "nom", QStringLiteral("Dvořák"));
    ini.release();
    EXPECT_EQ(disk(), utf16(QStringLiteral(
                          "[place1]\r\nnom=Łukasz\r\nscore=1000\r\n[place2]\r\nnom=Dvořák\r\n")));
}

// Two processes counting in one file, each pass reading the count and writing it one higher: the
// passes follow one another, so no count is lost.
TEST_F(Ini, PassesOfTwoProcessesOnOneFileFollowOneAnother) {
    constexpr int kPasses = 150;
    std::vector<pid_t> children;
    for (int c = 0; c < 2; ++c) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            try {
                for (int i = 0; i < kPasses; ++i) {
                    IniFile ini(path);
                    ini.writeInteger("c", "n", ini.readInteger("c", "n", 0) + 1);
                    ini.release();
                }
            } catch (...) {
                _exit(3);
            }
            _exit(0);
        }
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    IniFile ini(path);
    EXPECT_EQ(ini.readInteger("c", "n", 0), 2 * kPasses);
}

TEST_F(Ini, WriteFailuresNameTheFileAndNeverPassForSuccess) {
    QDir::setCurrent(dir.path());
    IniFile ini(QStringLiteral("save/highscores.ini"));
    EXPECT_EQ(ini.readString("place1", "nom", "anonyme"), "anonyme");
    EXPECT_EQ(errorOf([&] { ini.writeString("place1", "nom", "x"); }),
              "Unable to write to save/highscores.ini");
    ini.release();  // a pass without writes never fails
    EXPECT_FALSE(QDir(dir.path()).exists("save"));

    // The folder disappears between the writes and the end of the pass.
    QDir(dir.path()).mkdir("save");
    IniFile late(QStringLiteral("save/highscores.ini"));
    late.writeString("place1", "nom", "x");
    QDir(dir.path()).rmdir("save");
    EXPECT_EQ(errorOf([&] { late.release(); }), "Unable to write to save/highscores.ini");

    // A folder where the file should be is neither read nor replaced.
    QDir(dir.path()).mkpath("save/highscores.ini");
    IniFile blocked(QStringLiteral("save/highscores.ini"));
    EXPECT_EQ(blocked.readInteger("place1", "score", 3), 3);
    EXPECT_EQ(errorOf([&] { blocked.writeInteger("place1", "score", 1); }),
              "Unable to write to save/highscores.ini");
}

}  // namespace ini_test
