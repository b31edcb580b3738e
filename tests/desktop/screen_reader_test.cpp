// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The real program on a real X server with the desktop's accessibility bus, heard as a screen
// reader hears it: a listener on the bus (screen_reader.py, through pyatspi) reads the accessible
// tree of the title, a level screen, the results, the name entry and the best players, and records
// the events that a screen reader speaks while questions are asked, answered (with the keypad,
// Num Lock off and on) and timed out. Run in a D-Bus session of its own (dbus-run-session).

#include "desktop/xdisplay.h"
#include "support/printing.h"
#include "support/testpack.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

namespace screen_reader_test {

using namespace vorn::desktop;
using namespace std::chrono_literals;

constexpr const char* kTitle = "V.O.R.N. VOZID";
// Keysyms: the keypad's 1 to 4 with Num Lock off and on, Num Lock, Return, Escape.
constexpr std::uint32_t kKeypadOff[4] = {0xff9c, 0xff99, 0xff9b,
                                         0xff96};  // KP_End KP_Down KP_Next KP_Left
constexpr std::uint32_t kKeypadOn[4] = {0xffb1, 0xffb2, 0xffb3, 0xffb4};  // KP_1 to KP_4
constexpr std::uint32_t kNumLock = 0xff7f, kReturn = 0xff0d, kEscape = 0xff1b, kF10 = 0xffc7,
                        kDown = 0xff54;
// Far longer than anything takes on a machine whose cores are busy with other work.
constexpr auto kPatience = 60s;

// A program started with the given environment, its standard input and output on pipes, its
// error output in a file; killed at the end if still running.
class Process {
  public:
    Process(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
            const std::string& errorFile = "/dev/null") {
        int in[2], out[2];
        if (pipe(in) != 0 || pipe(out) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(in[0], STDIN_FILENO);
            dup2(out[1], STDOUT_FILENO);
            if (std::FILE* err = std::fopen(errorFile.c_str(), "w"))
                dup2(fileno(err), STDERR_FILENO);
            for (int fd : {in[0], in[1], out[0], out[1]}) close(fd);
            for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
            std::vector<char*> args;
            for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
            args.push_back(nullptr);
            execv(args[0], args.data());
            _exit(127);
        }
        close(in[0]);
        close(out[1]);
        input_ = in[1];
        output_ = out[0];
    }
    ~Process() {
        if (input_ >= 0) close(input_);
        if (output_ >= 0) close(output_);
        if (running()) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    bool running() {
        if (pid_ <= 0 || exited_) return false;
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) exited_ = true;
        return !exited_;
    }
    void terminate() {
        if (running()) kill(pid_, SIGTERM);
    }
    void writeLine(const std::string& line) {
        const std::string text = line + "\n";
        if (write(input_, text.data(), text.size()) < 0) return;
    }
    // The next line of its output, waiting until `until` at most.
    std::optional<std::string> readLine(Clock::time_point until) {
        while (true) {
            if (const auto end = buffer_.find('\n'); end != std::string::npos) {
                std::string line = buffer_.substr(0, end);
                buffer_.erase(0, end + 1);
                return line;
            }
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
            if (left <= 0) return std::nullopt;
            pollfd p{output_, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(left)) <= 0) continue;
            char chunk[4096];
            const ssize_t n = read(output_, chunk, sizeof chunk);
            if (n <= 0) return std::nullopt;
            buffer_.append(chunk, static_cast<std::size_t>(n));
        }
    }

  private:
    pid_t pid_ = -1;
    bool exited_ = false;
    int input_ = -1, output_ = -1;
    std::string buffer_;
};

struct Event {
    QString type, name, role, app;
    double at = 0;  // monotonic milliseconds
};

struct Node {
    int depth;
    QString role, name;
    QStringList states;
};

// The listener on the bus: the events it has heard, kept in order, and the trees it reads.
class ScreenReader {
  public:
    ScreenReader(const std::map<std::string, std::string>& env, const std::string& log)
        : process_({"/usr/bin/python3", VORN_SCREEN_READER_SCRIPT}, env), log_(log) {}

    bool ready() {
        return next(Clock::now() + kPatience,
                    [](const QJsonObject& o) { return o.contains("ready"); });
    }

    // Waits for an event of the game whose name `matches`; it is returned and the events before it
    // are kept in heard().
    std::optional<Event> waitFor(const std::function<bool(const Event&)>& matches) {
        std::optional<Event> found;
        next(Clock::now() + kPatience, [&](const QJsonObject&) {
            for (std::size_t i = seen_; i < events_.size(); ++i)
                if (matches(events_[i])) {
                    found = events_[i];
                    seen_ = i + 1;
                    return true;
                }
            seen_ = events_.size();
            return false;
        });
        return found;
    }
    std::optional<Event> waitForName(const QString& start) {
        return waitFor(
            [&](const Event& e) { return e.app == u"vorn" && e.name.startsWith(start); });
    }

    std::vector<Node> tree() {
        process_.writeLine("tree vorn");
        std::vector<Node> nodes;
        next(Clock::now() + kPatience, [&](const QJsonObject& o) {
            if (!o.contains("tree")) return false;
            for (const QJsonValue& row : o.value("tree").toArray()) {
                const QJsonArray r = row.toArray();
                QStringList states;
                for (const QJsonValue& s : r.at(3).toArray()) states << s.toString();
                nodes.push_back({r.at(0).toInt(), r.at(1).toString(), r.at(2).toString(), states});
            }
            return true;
        });
        log_ << "tree:\n";
        for (const Node& n : nodes)
            log_ << std::string(static_cast<std::size_t>(n.depth) * 2, ' ') << "["
                 << n.role.toStdString() << "] " << n.name.toStdString() << " "
                 << n.states.join(u',').toStdString() << "\n";
        log_.flush();
        return nodes;
    }

    const std::vector<Event>& heard() const { return events_; }

  private:
    // Reads lines until `done` holds for one (events are kept as they come) or `until` passes.
    bool next(Clock::time_point until, const std::function<bool(const QJsonObject&)>& done) {
        // Events already read may answer at once.
        if (done(QJsonObject())) return true;
        while (auto line = process_.readLine(until)) {
            const QJsonObject o =
                QJsonDocument::fromJson(QByteArray::fromStdString(*line)).object();
            if (o.contains("event")) {
                events_.push_back({o.value("event").toString(), o.value("name").toString(),
                                   o.value("role").toString(), o.value("app").toString(),
                                   o.value("t").toDouble()});
                log_ << "event " << o.value("event").toString().toStdString() << " ["
                     << o.value("role").toString().toStdString() << "] "
                     << o.value("name").toString().toStdString() << "\n";
                log_.flush();
            }
            if (done(o)) return true;
        }
        return false;
    }

    Process process_;
    std::ofstream log_;
    std::vector<Event> events_;
    std::size_t seen_ = 0;
};

bool named(const std::vector<Node>& tree, const QString& name) {
    for (const Node& n : tree)
        if (n.name == name) return true;
    return false;
}

const Node* find(const std::vector<Node>& tree, const QString& name) {
    for (const Node& n : tree)
        if (n.name == name) return &n;
    return nullptr;
}

// The moment the game made an announcement that starts with `start`, from its log: the monotonic
// clock in milliseconds.
std::optional<double> announcedAt(const std::string& gameLog, const QString& start) {
    std::ifstream in(gameLog);
    std::string line;
    static const QRegularExpression form(QStringLiteral("announced (\\d+) (.*)$"));
    while (std::getline(in, line)) {
        const auto m = form.match(QString::fromStdString(line));
        if (m.hasMatch() && m.captured(2).startsWith(start)) return m.captured(1).toDouble();
    }
    return std::nullopt;
}

class ScreenReaderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/vorn-screen-reader-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        ASSERT_EQ(system(("mkdir -p " + dir_ + "/cache " + dir_ + "/runtime").c_str()), 0);
        chmod((dir_ + "/runtime").c_str(), 0700);
    }
    void TearDown() override {
        // Kept when the test failed: the events heard and the game's log tell why.
        if (!HasFailure())
            std::system(("rm -rf " + dir_).c_str());
        else
            std::printf("the listener's and the game's logs are in %s\n", dir_.c_str());
    }
    std::string dir_;
};

TEST_F(ScreenReaderTest, HearsEveryScreenAndEveryQuestionVerdictAndTimeOut) {
    ASSERT_NE(std::getenv("DBUS_SESSION_BUS_ADDRESS"), nullptr)
        << "run in a D-Bus session (dbus-run-session)";
    VirtualServer server(1024, 768);
    ASSERT_FALSE(server.display().empty()) << "Xvfb did not start";
    Connection x(server.display());
    ASSERT_TRUE(x.ok());
    const std::map<std::string, std::string> env{{"DISPLAY", server.display()},
                                                 {"XDG_RUNTIME_DIR", dir_ + "/runtime"},
                                                 {"XDG_CACHE_HOME", dir_ + "/cache"}};
    // The accessibility bus of this session, as a desktop starts it.
    Process bus({"/usr/libexec/at-spi-bus-launcher", "--launch-immediately"}, env);
    ScreenReader reader(env, dir_ + "/heard.log");
    ASSERT_TRUE(reader.ready()) << "the listener did not start (python3-pyatspi?)";

    // The game on the test pack (questions "Question 1a5 ?" whose right answer follows from the
    // code), accessibility on, its announcements logged with their moments.
    vorn::test::TestPack pack;
    auto gameEnv = env;
    gameEnv.insert({{"QT_QPA_PLATFORM", "xcb"},
                    {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1"},
                    {"SDL_AUDIODRIVER", "dummy"},
                    {"QT_LOGGING_RULES", "vorn.accessibility.debug=true"}});
    const std::string gameLog = dir_ + "/game.log";
    Process game({std::string(VORN_GAME_DIR) + "/vorn", pack.dir().toStdString()}, gameEnv,
                 gameLog);

    // The title: read and said.
    const QString titleSaid = QStringLiteral("V.O.R.N. VOZID. APPUYEZ SUR ENTRER.");
    ASSERT_TRUE(reader.waitForName(titleSaid)) << "the title was not announced";
    std::vector<Node> tree = reader.tree();
    ASSERT_FALSE(tree.empty());
    EXPECT_EQ(tree.front().role, "application");
    EXPECT_TRUE(named(tree, kTitle));
    EXPECT_TRUE(named(tree, "APPUYEZ SUR ENTRER"));
    EXPECT_TRUE(named(tree, "fichier")) << "the menu bar";
    std::optional<xcb_window_t> window = x.findWindow(kTitle);
    ASSERT_TRUE(window);

    // The menus by the keyboard: F10 opens the first menu, Down goes to its first item, Enter
    // chooses it ("redémarrer": the intro and the title again).
    x.typeKey(*window, kF10);
    auto popupShown = [&](bool shown) {
        const auto until = Clock::now() + kPatience;
        while (x.findPopup("vorn").has_value() != shown && Clock::now() < until)
            std::this_thread::sleep_for(50ms);
        return x.findPopup("vorn").has_value() == shown;
    };
    ASSERT_TRUE(popupShown(true)) << "F10 did not open the first menu";
    x.pressKey(kDown);
    EXPECT_TRUE(reader.waitFor([](const Event& e) {
        return e.type == u"focus:" && e.name == u"redémarrer";
    })) << "Down did not reach the menu's first item";
    x.pressKey(kReturn);
    EXPECT_TRUE(popupShown(false)) << "Enter did not close the menu";
    ASSERT_TRUE(reader.waitForName(titleSaid)) << "Enter on \"redémarrer\" did not start again";
    x.typeKey(*window, kReturn);

    // Asks the questions of a level as they come: each one is announced with its text, which is
    // then the name of an accessible object of the window, beside its four numbered answers.
    static const QRegularExpression questionForm(
        QStringLiteral("Question (\\d+) sur 10\\. .*(Question (\\S+) \\?)"));
    auto question = [&](int level, int number) -> std::optional<QString> {
        const QString start = number == 1
                                  ? QStringLiteral("Niveau %1. Question 1 sur 10.").arg(level)
                                  : QStringLiteral("Question %1 sur 10.").arg(number);
        const std::optional<Event> e = reader.waitForName(start);
        if (!e) return std::nullopt;
        const auto m = questionForm.match(e->name);
        if (!m.hasMatch()) return std::nullopt;
        return m.captured(3);
    };
    auto answer = [&](const QString& code, bool right) {
        const int br = vorn::test::rightAnswer(code);
        const int n = right ? br : vorn::test::wrongAnswer(code);
        const bool numLockOn = x.modifiers() & XCB_MOD_MASK_2;
        x.typeKey(*window, (numLockOn ? kKeypadOn : kKeypadOff)[n - 1]);
    };

    // Question 1, Num Lock off: its text and answers in the tree, its announcement within a second
    // of its showing, the keypad's End (or Down, Page Down, Left) answering it right.
    const std::optional<QString> first = question(1, 1);
    ASSERT_TRUE(first) << "no first question announced";
    const QString firstText = QStringLiteral("Question %1 ?").arg(*first);
    tree = reader.tree();
    EXPECT_TRUE(named(tree, firstText)) << "the question is no accessible object";
    for (int n = 1; n <= 4; ++n)
        EXPECT_TRUE(named(tree, QStringLiteral("%1 : Réponse %1 de %2").arg(n).arg(*first)))
            << "answer " << n;
    EXPECT_TRUE(named(tree, "Question 1/10"));
    EXPECT_TRUE(named(tree, "Score : 0"));
    EXPECT_TRUE(named(tree, "Niveau 1"));
    EXPECT_FALSE(named(tree, "APPUYEZ SUR ENTRER")) << "the title's texts outlived it";
    {
        const auto shown = announcedAt(gameLog, QStringLiteral("Niveau 1. Question 1 sur 10."));
        ASSERT_TRUE(shown) << "the game's log holds no announcement";
        int carrying = 0;
        for (const Event& e : reader.heard())
            if (e.app == u"vorn" && e.name.contains(firstText)) {
                ++carrying;
                EXPECT_LE(e.at - *shown, 1000.0) << e.type.toStdString() << " came late";
            }
        EXPECT_GE(carrying, 1);
        // Spoken once: one name change, one focus.
        int focus = 0;
        for (const Event& e : reader.heard())
            if (e.type == u"focus:" && e.name.contains(firstText)) ++focus;
        EXPECT_EQ(focus, 1);
    }
    ASSERT_EQ(x.modifiers() & XCB_MOD_MASK_2, 0) << "Num Lock is on at the start";
    answer(*first, true);
    const std::optional<Event> right = reader.waitForName(QStringLiteral("Juste !"));
    ASSERT_TRUE(right) << "the keypad's 1 to 4 with Num Lock off did not answer";
    EXPECT_EQ(right->name, "Juste ! Score : 1000.");
    {
        const auto said = announcedAt(gameLog, QStringLiteral("Juste !"));
        ASSERT_TRUE(said);
        EXPECT_LE(right->at - *said, 1000.0);
    }

    // Question 2, Num Lock on: answered wrong, the right answer said.
    const std::optional<QString> second = question(1, 2);
    ASSERT_TRUE(second);
    x.typeKey(*window, kNumLock);
    // Num Lock is on once the server says so, however long a busy machine takes to tell it.
    const auto numLockUntil = Clock::now() + kPatience;
    while (!(x.modifiers() & XCB_MOD_MASK_2) && Clock::now() < numLockUntil)
        std::this_thread::sleep_for(20ms);
    ASSERT_TRUE(x.modifiers() & XCB_MOD_MASK_2) << "Num Lock never came on";
    ASSERT_NE(x.modifiers() & XCB_MOD_MASK_2, 0) << "Num Lock did not turn on";
    answer(*second, false);
    const std::optional<Event> wrong = reader.waitForName(QStringLiteral("Faux !"));
    ASSERT_TRUE(wrong) << "the keypad with Num Lock on did not answer";
    const int br2 = vorn::test::rightAnswer(*second);
    EXPECT_EQ(wrong->name,
              QStringLiteral("Faux ! La bonne réponse était %1 : Réponse %1 de %2. Score : 500.")
                  .arg(br2)
                  .arg(*second));

    // Question 3 times out.
    const std::optional<QString> third = question(1, 3);
    ASSERT_TRUE(third);
    const std::optional<Event> timedOut =
        reader.waitForName(QStringLiteral("Temps écoulé ! La bonne réponse"));
    ASSERT_TRUE(timedOut) << "the time-out was not announced";
    const int br3 = vorn::test::rightAnswer(*third);
    EXPECT_EQ(
        timedOut->name,
        QStringLiteral("Temps écoulé ! La bonne réponse était %1 : Réponse %1 de %2. Score : 0.")
            .arg(br3)
            .arg(*third));
    EXPECT_TRUE(named(reader.tree(), "Temps écoulé !"));

    // The rest of the game right: 8 of 10 pass the first level.
    for (int number = 4; number <= 10; ++number) {
        const auto code = question(1, number);
        ASSERT_TRUE(code) << "question " << number;
        answer(*code, true);
    }
    ASSERT_TRUE(reader.waitForName(
        QStringLiteral("Votre pourcentage de bonnes réponses sur ce niveau est de: 80%")))
        << "the results were not announced";
    tree = reader.tree();
    EXPECT_TRUE(named(tree, "Votre pourcentage de bonnes réponses sur ce niveau est de:"));
    EXPECT_TRUE(named(tree, "80%"));
    EXPECT_TRUE(named(tree, "Vous pouvez passez au niveau suivant."));
    EXPECT_FALSE(named(tree, firstText)) << "the level's texts outlived it";
    for (int level = 2; level <= 3; ++level)
        for (int number = 1; number <= 10; ++number) {
            const auto code = question(level, number);
            ASSERT_TRUE(code) << "level " << level << " question " << number;
            answer(*code, true);
        }

    // The name entry: its box with its label, its button.
    ASSERT_TRUE(reader.waitForName(
        QStringLiteral("Vous êtes dans les dix meilleurs joueurs! Tapez votre nom.")))
        << "the name entry was not announced";
    tree = reader.tree();
    EXPECT_TRUE(named(tree, "Vous êtes dans les dix meilleurs joueurs!"));
    // The label, and the box named by it with the keyboard's focus.
    int prompts = 0;
    bool boxFocused = false;
    for (const Node& n : tree)
        if (n.name == u"Tapez votre nom.") {
            ++prompts;
            if (n.role == u"text" && n.states.contains("focused")) boxFocused = true;
        }
    EXPECT_GE(prompts, 2) << "the label and the box it names";
    EXPECT_TRUE(boxFocused) << "no box named by its label has the focus";
    const Node* button = find(tree, "Valider");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->role, "push button");
    for (std::uint32_t letter : {0x61u, 0x6eu, 0x61u}) x.typeKey(*window, letter);  // "ana"
    x.typeKey(*window, kReturn);

    // The table: ten rows, the new player first.
    ASSERT_TRUE(reader.waitForName(QStringLiteral("LES MEILLEURS JOUEURS. 1 : ana, 57000 points.")))
        << "the table was not announced";
    tree = reader.tree();
    EXPECT_TRUE(named(tree, "LES MEILLEURS JOUEURS"));
    EXPECT_TRUE(named(tree, "1 : ana, 57000 points"));
    int rows = 0;
    static const QRegularExpression rowForm(QStringLiteral("^(\\d+) : .*, -?\\d+ points$"));
    for (const Node& n : tree)
        if (rowForm.match(n.name).hasMatch()) ++rows;
    EXPECT_EQ(rows, 10);

    // Esc ends the program.
    ASSERT_TRUE(reader.waitForName(titleSaid)) << "the title did not come back";
    const auto until = Clock::now() + kPatience;
    while (game.running() && Clock::now() < until) {
        x.typeKey(*window, kEscape);
        std::this_thread::sleep_for(500ms);
    }
    EXPECT_FALSE(game.running()) << "Esc did not end the program";
}

}  // namespace screen_reader_test
