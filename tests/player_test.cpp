// The high-score table: ranking new scores, reading and writing its file, and saves that survive
// a process killed at any instant.

#include "records/Player.h"
#include "platform/errors.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include "support/printing.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vorn;

namespace {

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

TEST_F(HighScores, AKilledSaveLeavesTheOldTableOrTheNew) {
    QDir().mkdir("save");
    const QByteArray kept = "; not ours\r\n[autre]\r\nx=1\r\n";
    put("save/highscores.ini", kept);
    // Kills fall anywhere in the first two saves of the saving process: every other round waits
    // for the first save to be finished, so that rounds that see the table advance are there
    // however slow the machine is.
    QElapsedTimer clock;
    clock.start();
    for (int g = 1; g <= 5; ++g) {
        tscores t;
        makeGeneration(t, g);
        t.sauver();
    }
    const auto saveUs = static_cast<int>(clock.nsecsElapsed() / 5000);
    std::mt19937 random(20240601);
    std::uniform_int_distribution<int> delayUs(0, 2 * saveUs);
    int last = 5, kills = 0, advanced = 0;
    for (int round = 0; round < 300; ++round) {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Saves newer and newer tables until it is killed.
            try {
                tscores t;
                t.charger();
                const int g0 = generationOf(t);
                if (write(ready[1], "r", 1) != 1) _exit(4);
                for (int g = g0 + 1;; ++g) {
                    makeGeneration(t, g);
                    t.sauver();
                    if (write(ready[1], "s", 1) != 1) _exit(4);  // one byte a finished save
                }
            } catch (...) {
            }
            _exit(3);
        }
        char byte = 0;
        close(ready[1]);
        ASSERT_EQ(read(ready[0], &byte, 1), 1);
        const bool afterASave = round % 2 == 1;
        if (afterASave) {
            ASSERT_EQ(read(ready[0], &byte, 1), 1);
        }
        usleep(static_cast<useconds_t>(delayUs(random)));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        close(ready[0]);  // only now: a write into a closed pipe would end the child first
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving process failed on its own";
        ++kills;

        tscores t;
        t.charger();
        const int g = generationOf(t);
        ASSERT_GE(g, last) << "round " << round << ": " << namesOf(t).join(u' ').toStdString();
        ASSERT_TRUE(disk("save/highscores.ini").startsWith(kept)) << "round " << round;
        if (afterASave) {
            ASSERT_GT(g, last) << "round " << round << ": a finished save is kept";
        }
        if (g > last) ++advanced;
        last = g;
    }
    EXPECT_GE(kills, 300);
    EXPECT_GE(advanced, 150);
    // What a kill can leave behind is a hidden temporary file, never anything in its place.
    for (const QString& name : QDir("save").entryList(QDir::Files | QDir::Hidden)) {
        EXPECT_TRUE(name == "highscores.ini" ||
                    (name.startsWith(".highscores.ini.") && name.endsWith(".tmp")))
            << name.toStdString();
    }
}

}  // namespace
