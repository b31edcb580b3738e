// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The high-score table: ranking new scores, reading and writing its file, and saves that survive
// a process killed at any instant.

#include "records/Player.h"
#include "platform/errors.h"
#include "platform/ini.h"
#include "platform/windows1252.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "support/printing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vorn;

namespace player_test {

QStringList namesOf(const tscores& t) {
    QStringList names;
    for (int p = 1; p <= tscores::kPlaces; ++p) names << t.entry(p).name;
    return names;
}

std::vector<int> scoresOf(const tscores& t) {
    std::vector<int> scores;
    for (int p = 1; p <= tscores::kPlaces; ++p) scores.push_back(t.entry(p).score);
    return scores;
}

void fill(tscores& t, const std::vector<int>& scores) {
    for (int p = 1; p <= tscores::kPlaces; ++p) {
        t.entry(p).name = QStringLiteral("p%1").arg(p);
        t.entry(p).score = scores[static_cast<std::size_t>(p - 1)];
    }
}

class HighScores : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString previous = QDir::currentPath();

    void SetUp() override { QDir::setCurrent(dir.path()); }
    void TearDown() override { QDir::setCurrent(previous); }

    static void put(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QByteArray disk(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
};

TEST_F(HighScores, NewScoresTakeTheirRank) {
    const std::vector<int> table = {9000, 8000, 8000, 7000, 6000, 5000, 4000, 3000, 2000, 1000};
    const struct {
        int score;
        const char* names;  // the places afterwards; "new" is the inserted player
    } cases[] = {
        {9500, "new p1 p2 p3 p4 p5 p6 p7 p8 p9"}, {9000, "p1 new p2 p3 p4 p5 p6 p7 p8 p9"},
        {8000, "p1 p2 p3 new p4 p5 p6 p7 p8 p9"}, {1500, "p1 p2 p3 p4 p5 p6 p7 p8 p9 new"},
        {1000, "p1 p2 p3 p4 p5 p6 p7 p8 p9 new"}, {999, "p1 p2 p3 p4 p5 p6 p7 p8 p9 p10"},
    };
    for (const auto& c : cases) {
        tscores t;
        fill(t, table);
        const TJoueur player(QStringLiteral("new"), c.score);
        EXPECT_EQ(t.qualifie(player), c.score >= 1000) << c.score;
        t.inserer(player);
        const QStringList names = QString::fromLatin1(c.names).split(u' ');
        EXPECT_EQ(namesOf(t), names) << c.score;
        for (int p = 1; p <= tscores::kPlaces; ++p) {
            const QString& name = names[p - 1];
            const int expected =
                name == "new" ? c.score : table[static_cast<std::size_t>(name.mid(1).toInt() - 1)];
            EXPECT_EQ(t.entry(p).score, expected) << c.score << " place " << p;
        }
    }
}

TEST_F(HighScores, AMissingFileIsAnEmptyTable) {
    for (const int score : {0, 500, -1}) {
        tscores t;
        t.charger();
        EXPECT_EQ(namesOf(t), QStringList(10, "anonyme"));
        EXPECT_EQ(scoresOf(t), std::vector<int>(10, 0));
        const TJoueur player(QStringLiteral("Zoé"), score);
        EXPECT_EQ(t.qualifie(player), score >= 0);
        t.inserer(player);
        const int place = score > 0 ? 1 : score == 0 ? 10 : 0;
        for (int p = 1; p <= tscores::kPlaces; ++p) {
            EXPECT_EQ(t.entry(p).name, p == place ? "Zoé" : "anonyme") << score << " " << p;
        }
    }
}

TEST_F(HighScores, ReadsTheFileAsItStandsAndRanksAmongUnorderedScores) {
    QDir().mkdir("save");
    put("save/highscores.ini",
        "[place1]\nnom=Ann\nscore=500\n[place2]\nnom=\nscore=100\n[place3]\nscore=500\n"
        "[place4]\nnom=Dan\nscore=abc\n[place5]\nnom=Eve\nscore=0x1F\n[place6]\nscore=-40\n");
    tscores t;
    TJoueur* const first = &t.entry(1);
    t.charger();
    EXPECT_EQ(namesOf(t),
              QString("Ann  anonyme Dan Eve anonyme anonyme anonyme anonyme anonyme").split(u' '));
    EXPECT_EQ(scoresOf(t), (std::vector<int>{500, 100, 500, 0, 31, -40, 0, 0, 0, 0}));

    // 20 fits below 500 at place 4 and below 31 at place 6: the last such place counts.
    t.inserer(TJoueur(QStringLiteral("new"), 20));
    EXPECT_EQ(scoresOf(t), (std::vector<int>{500, 100, 500, 0, 31, 20, -40, 0, 0, 0}));
    EXPECT_EQ(t.entry(6).name, "new");
    EXPECT_EQ(&t.entry(1), first);  // entries are changed in place, never replaced

    // A score above the first goes first, whatever follows.
    t.inserer(TJoueur(QStringLiteral("top"), 501));
    EXPECT_EQ(scoresOf(t), (std::vector<int>{501, 500, 100, 500, 0, 31, 20, -40, 0, 0}));
}

TEST_F(HighScores, SavesEveryPlaceInOrderAndReadsItBack) {
    QDir().mkdir("save");
    tscores t;
    fill(t, {7000, 0, -500, 3, 2, 1, 0, 0, 0, INT_MIN});
    t.entry(1).name = QStringLiteral("Zoé œ€");
    t.entry(2).name = QString();
    t.sauver();
    QByteArray expected =
        "[place1]\r\nnom=Zo\xe9 \x9c\x80\r\nscore=7000\r\n[place2]\r\nnom=\r\nscore=0\r\n"
        "[place3]\r\nnom=p3\r\nscore=-500\r\n";
    for (int p = 4; p <= 9; ++p) {
        expected += QStringLiteral("[place%1]\r\nnom=p%1\r\nscore=%2\r\n")
                        .arg(p)
                        .arg(t.entry(p).score)
                        .toLatin1();
    }
    expected += "[place10]\r\nnom=p10\r\nscore=-2147483648\r\n";
    EXPECT_EQ(disk("save/highscores.ini"), expected);

    tscores back;
    back.charger();
    EXPECT_EQ(namesOf(back), namesOf(t));
    EXPECT_EQ(scoresOf(back), scoresOf(t));

    // Saving over a file keeps what the table does not own and completes every place.
    put("save/highscores.ini", "; mine\n[place3]\nscore=1\n[autre]\nx=y\n");
    t.sauver();
    const QByteArray after = disk("save/highscores.ini");
    EXPECT_TRUE(after.startsWith("; mine\n[place3]\nscore=-500\nnom=p3\n[autre]\nx=y\n[place1]\n"))
        << after.constData();
    back.charger();
    EXPECT_EQ(namesOf(back), namesOf(t));
    EXPECT_EQ(scoresOf(back), scoresOf(t));
}

// Any name the reader returns can be written back: a table holding a tab, DEL or one of the bytes
// Windows-1252 leaves undefined in a stored name still takes a new player, and every other stored
// name stays byte for byte as it was.
TEST_F(HighScores, StoredNamesOfAnyByteSurviveANewPlayer) {
    QDir().mkdir("save");
    const struct {
        QByteArray stored, read;  // in the file, and the name read from it
    } names[] = {
        {"Ta\tb", "Ta\tb"},     {"\"\tTab\"", "\tTab"},   {"De\x7fl", "De\x7fl"},
        {"\x81", "\x81"},       {"x\x8d", "x\x8d"},       {"\x8f\x90\x9d", "\x8f\x90\x9d"},
        {"Ctl\x01", "Ctl\x01"}, {"\"\x0bVt\"", "\x0bVt"},
    };
    for (const auto& n : names) {
        SCOPED_TRACE(n.stored.toHex().toStdString());
        QByteArray file;
        for (int p = 1; p <= tscores::kPlaces; ++p)
            file += "[place" + QByteArray::number(p) +
                    "]\r\nnom=" + (p == 3 ? n.stored : "p" + QByteArray::number(p)) +
                    "\r\nscore=" + QByteArray::number(1000 - p) + "\r\n";
        put("save/highscores.ini", file);
        tscores t;
        t.recordOnDisk(TJoueur(QStringLiteral("new"), 999));  // between places 1 and 2
        const QByteArray after = disk("save/highscores.ini");
        EXPECT_TRUE(after.contains("[place2]\r\nnom=new\r\nscore=999\r\n"));
        EXPECT_TRUE(after.contains("[place4]\r\nnom=" + n.stored + "\r\n")) << after.toStdString();
        tscores back;
        back.charger();
        EXPECT_EQ(toWindows1252(back.entry(4).name), n.read);
        EXPECT_EQ(back.entry(3).name, "p2");
        EXPECT_EQ(back.entry(10).name, "p9");
    }
}

// The table is recorded into as the file is when the player's name is given: a record another
// copy of the game wrote since this game ended stays.
TEST_F(HighScores, RecordingReadsTheTableAgainFirst) {
    QDir().mkdir("save");
    tscores atGameEnd;
    atGameEnd.charger();  // empty
    tscores other;
    other.recordOnDisk(TJoueur(QStringLiteral("Bea"), 2000));
    atGameEnd.recordOnDisk(TJoueur(QStringLiteral("Ann"), 3000));
    EXPECT_EQ(namesOf(atGameEnd).mid(0, 3), (QStringList{"Ann", "Bea", "anonyme"}));
    tscores back;
    back.charger();
    EXPECT_EQ(namesOf(back), namesOf(atGameEnd));
    EXPECT_EQ(scoresOf(back).front(), 3000);
}

// The lock of a save folder: a kernel lock another process cannot take while it is held, taken
// again by the same process without waiting for itself, gone once its last holder is.
TEST_F(HighScores, APassHoldsTheFoldersLockAgainstOtherProcesses) {
    QDir().mkdir("save");
    const auto lockedElsewhere = [] {
        int report[2];
        if (pipe(report) != 0) return -1;
        const pid_t child = fork();
        if (child == 0) {
            const int fd = ::open("save", O_RDONLY | O_DIRECTORY);
            const char got = fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) != 0 ? 'y' : 'n';
            if (write(report[1], &got, 1) != 1) _exit(4);
            _exit(0);
        }
        close(report[1]);
        char got = '?';
        const bool read1 = read(report[0], &got, 1) == 1;
        close(report[0]);
        waitpid(child, nullptr, 0);
        return read1 ? int(got == 'y') : -1;
    };
    EXPECT_EQ(lockedElsewhere(), 0);
    {
        const FolderLock outer(QStringLiteral("save/highscores.ini"));
        ASSERT_TRUE(outer.held());
        EXPECT_EQ(lockedElsewhere(), 1);
        {
            const FolderLock inner(QStringLiteral("save/Sauvegardes.ini"));  // same folder: no wait
            EXPECT_TRUE(inner.held());
        }
        EXPECT_EQ(lockedElsewhere(), 1);  // still held by the outer one
        IniFile pass(QStringLiteral("save/highscores.ini"));
        pass.writeString("place1", "nom", "x");  // a pass inside the lock goes through
        pass.release();
        EXPECT_EQ(lockedElsewhere(), 1);
    }
    EXPECT_EQ(lockedElsewhere(), 0);
    // A folder that is not there is not locked, and nothing waits for it.
    EXPECT_FALSE(FolderLock(QStringLiteral("nowhere/x.ini")).held());
}

TEST_F(HighScores, SavingWithoutTheSaveFolderFails) {
    tscores t;
    t.inserer(TJoueur(QStringLiteral("Zoé"), 100));
    try {
        t.sauver();
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), "Unable to write to save/highscores.ini");
    }
    EXPECT_FALSE(QDir().exists("save"));
}

// Generation g of the table: place p holds "g<g>-<p>" with the score 100 g - p.
void makeGeneration(tscores& t, int g) {
    for (int p = 1; p <= tscores::kPlaces; ++p) {
        t.entry(p).name = QStringLiteral("g%1-%2").arg(g).arg(p);
        t.entry(p).score = 100 * g - p;
    }
}

// The generation the table holds, or -1 when its places do not all come from one save.
int generationOf(const tscores& t) {
    const int g = t.entry(1).name.section(u'-', 0, 0).mid(1).toInt();
    tscores whole;
    makeGeneration(whole, g);
    return namesOf(t) == namesOf(whole) && scoresOf(t) == scoresOf(whole) ? g : -1;
}

// Every point of a save where the process can die: at each step of the file's commit in turn, a
// process that saves the next generation of the table is killed there. Before the new text takes
// the file's place the old table is whole on disk, from then on the new one; never a mix, never
// a cut file, and the lines of the file that are not the table's stay as they were.
std::vector<std::string> stepsSeen;
void recordStep(const char* step) {
    stepsSeen.emplace_back(step);
}
int killAtStep = 0;
void killAtCountedStep(const char*) {
    if (--killAtStep == 0) raise(SIGKILL);
}

TEST_F(HighScores, ASaveKilledAtAnyStepLeavesTheOldTableOrTheNew) {
    QDir().mkdir("save");
    const QByteArray kept = "; not ours\r\n[autre]\r\nx=1\r\n";
    put("save/highscores.ini", kept);
    tscores first;
    makeGeneration(first, 1);
    first.sauver();
    // The steps of one save, counted in this process.
    setCommitStepHook(recordStep);
    makeGeneration(first, 2);
    first.sauver();
    setCommitStepHook(nullptr);
    const std::vector<std::string> steps = stepsSeen;
    ASSERT_GE(steps.size(), 6u);
    const auto renamed = std::find(steps.begin(), steps.end(), "renamed");
    ASSERT_NE(renamed, steps.end());
    const auto firstNew = static_cast<std::size_t>(renamed - steps.begin());

    int last = 2;
    for (std::size_t k = 0; k < steps.size(); ++k) {
        SCOPED_TRACE("killed after the step \"" + steps[k] + "\"");
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Saves the next generation, killed at step k + 1 of its commit.
            try {
                tscores t;
                t.charger();
                makeGeneration(t, generationOf(t) + 1);
                killAtStep = static_cast<int>(k) + 1;
                setCommitStepHook(killAtCountedStep);
                t.sauver();
            } catch (...) {
            }
            _exit(3);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "the saving process was not killed";

        tscores t;
        t.charger();
        const int g = generationOf(t);
        EXPECT_EQ(g, k < firstNew ? last : last + 1) << namesOf(t).join(u' ').toStdString();
        EXPECT_TRUE(disk("save/highscores.ini").startsWith(kept));
        last = std::max(last, g);
    }
    // What a kill can leave behind is a hidden temporary file, never anything in its place.
    for (const QString& name : QDir("save").entryList(QDir::Files | QDir::Hidden)) {
        EXPECT_TRUE(name == "highscores.ini" ||
                    (name.startsWith(".highscores.ini.") && name.endsWith(".tmp")))
            << name.toStdString();
    }
}

}  // namespace player_test
