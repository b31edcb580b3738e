// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/monkey.h"

#include "support/folderwatch.h"

#include "app/main.h"
#include "core/numbers.h"
#include "core/questions.h"
#include "flow/progression.h"
#include "platform/errors.h"
#include "platform/platform.h"
#include "platform/screen.h"
#include "screens/level.h"
#include "screens/resultats.h"
#include "support/filemessages.h"
#include "tools/script/scriptrunner.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGraphicsScene>
#include <QTextStream>

#include <algorithm>
#include <deque>
#include <random>

namespace vorn::test {

namespace {

constexpr std::uint32_t kGameMidi = 0x4FFF4FFF;
constexpr std::uint32_t kGameWave = 0xBFFFBFFF;
constexpr std::uint32_t kFullVolume = 0xFFFFFFFF;  // what the simulated outputs start at
constexpr int kScoreLimit = 1'000'000;
constexpr int kProblemsKept = 10;

const QStringList kMenus = {
    QStringLiteral("fichier/redémarrer"),
    QStringLiteral("fichier"),
    QStringLiteral("fichier/charger/Block 1"),
    QStringLiteral("fichier/charger/Block2"),
    QStringLiteral("fichier/charger/Block3"),
    QStringLiteral("fichier/charger/Block 4"),
    QStringLiteral("fichier/sauvegarder/Block 1"),
    QStringLiteral("fichier/sauvegarder/Block 2"),
    QStringLiteral("fichier/sauvegarder/Block 3"),
    QStringLiteral("fichier/sauvegarder/Block 4"),
    QStringLiteral("fichier/Les meilleurs joueurs"),
    QStringLiteral("options/640x480 plein écran"),
    QStringLiteral("options/640x480 fenêtré"),
    QStringLiteral("aide/règles du jeu F1"),
    QStringLiteral("aide/à propos"),
};

const int kWaits[] = {1, 10, 100, 250, 500, 1000, 2500, 4000, 7000, 9850, 12000};

bool aboutOpen() {
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible() && top->objectName() == u"Form1") return true;
    return false;
}

class Monkey {
  public:
    explicit Monkey(const MonkeyOptions& options) : options_(options), random_(options.seed) {
        summary_.seed = options.seed;
    }

    MonkeySummary run() {
        const QString previous = QDir::currentPath();
        QDir::setCurrent(options_.gameDir);
        const auto before = filesOutsideSave(options_.gameDir);
        while (summary_.steps < options_.steps && summary_.problems.size() < kProblemsKept)
            session();
        // The game writes its saves and nothing else.
        for (const QString& change : changesOutsideSave(before, filesOutsideSave(options_.gameDir)))
            problem(change);
        QDir::setCurrent(previous);
        return summary_;
    }

  private:
    // One run of the program, until it ends or the steps are all played.
    void session() {
        ++summary_.sessions;
        window_ = nullptr;
        exited_ = false;
        lastScreen_.clear();
        lastResults_ = nullptr;
        QString text;
        QTextStream out(&text);
        qsizetype read = 0;
        ScriptRunner runner(
            [&]() -> std::optional<QString> {
                if (exited_ || summary_.steps >= options_.steps ||
                    summary_.problems.size() >= kProblemsKept)
                    return std::nullopt;
                ++summary_.steps;
                QString command = next();
                remember(command);
                return command;
            },
            out, options_.realMedia ? VirtualMedia::Real : VirtualMedia::Simulated);
        runner.setObserver([&](Tprincipal& window) {
            window_ = &window;
            out.flush();
            // The runner's own complaints: a click on a name that is not shown is a step that does
            // nothing; anything else is a fault of the monkey's commands.
            for (const QString& line : QStringView(text).mid(read).toString().split(u'\n'))
                if (line.startsWith(u"error:") && !line.startsWith(u"error: click:")) problem(line);
            read = text.size();
            check(window);
        });
        runner.run();
        summary_.virtualMs += lastTime_;
    }

    // --- choosing a step ---

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(random_) < p; }

    QString name() {
        static const QString letters =
            QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEZéèàçÉ -'0123");
        QString n;
        const int length = 1 + pick(12);
        for (int i = 0; i < length; ++i) n += letters[pick(static_cast<int>(letters.size()))];
        return n;
    }

    // The right answer's keypad key to the question on screen, when one is open.
    std::optional<int> rightAnswer() {
        if (!window_ || !window_->niv() || !window_->niv()->ready() ||
            !window_->gameState().AttenteReponse)
            return std::nullopt;
        try {
            const int br = window_->niv()->rightAnswer();
            if (br >= 1 && br <= 4) return br;
        } catch (const Error&) {
        }
        return std::nullopt;
    }

    QString next() {
        if (pending_.size()) {
            QString command = pending_.front();
            pending_.pop_front();
            return command;
        }
        if (chance(0.006)) playing_ = !playing_;
        if (playing_ && !chance(0.05)) return play();
        return chaos();
    }

    // A player who mostly knows the answers and lets the screens run their time.
    QString play() {
        const ScreenFlags f = window_ ? window_->flags() : ScreenFlags{};
        if (const auto br = rightAnswer()) {
            pending_.push_back(QStringLiteral("wait 2500"));
            const int answer = chance(0.93) ? *br : *br % 4 + 1;
            // Keypad, mouse and controller answer alike.
            const int way = pick(10);
            if (way == 0) return QStringLiteral("click reponse%1").arg(answer);
            if (way == 1) return QStringLiteral("pad ") + padFor(answer);
            return QStringLiteral("key KP%1").arg(answer);
        }
        if (f.nameEntryScreenPresent) {
            pending_.push_back(QStringLiteral("key Enter"));
            return QStringLiteral("type ") + name();
        }
        if (f.titleScreenPresent) return QStringLiteral("key Enter");
        if (aboutOpen()) return QStringLiteral("click Button1");
        return QStringLiteral("wait %1").arg(500 + pick(3500));
    }

    // The controller's face button that answers `answer`, by its place on the pad.
    static QString padFor(int answer) {
        static const char* const buttons[] = {"north", "west", "east", "south"};
        return QLatin1String(buttons[answer - 1]);
    }

    QString chaos() {
        const int kind = pick(1000);
        if (kind < 250) return QStringLiteral("key KP%1").arg(1 + pick(4));
        if (kind < 300) {
            if (const auto br = rightAnswer()) return QStringLiteral("key KP%1").arg(*br);
            return QStringLiteral("key KP%1").arg(1 + pick(4));
        }
        if (kind < 360) return QStringLiteral("key %1").arg(1 + pick(4));  // the main row's digits
        if (kind < 380) return QStringLiteral("key %1").arg(QChar(u'a' + pick(26)));
        if (kind < 450) return QStringLiteral("key Enter");
        if (kind < 475) return QStringLiteral("key F1");
        if (kind < 500) return QStringLiteral("key F12");
        if (kind < 540) return QStringLiteral("type ") + name();
        if (kind < 552)
            return QStringLiteral("click ") +
                   monkeyClickTargets()[pick(static_cast<int>(monkeyClickTargets().size()))];
        if (kind < 560)
            return pick(5) == 0 ? QStringLiteral("pad start")
                                : QStringLiteral("pad ") + padFor(1 + pick(4));
        if (kind < 680) {
            const QString item = kMenus[pick(static_cast<int>(kMenus.size()))];
            if (window_ && window_->isEnabled()) {
                if (item.contains(u"/charger/")) ++summary_.loads;
                if (item.contains(u"/sauvegarder/") && window_->niv() && window_->niv()->ready())
                    ++summary_.saves;
            }
            return QStringLiteral("menu ") + item;
        }
        if (kind < 700)
            return aboutOpen() ? QStringLiteral("close Form1")
                               : QStringLiteral("menu aide/à propos");
        if (kind < 708) return QStringLiteral("activate");
        if (kind < 712) {
            static const char* const desktops[] = {"640x480", "800x600", "1280x1024", "1920x1080"};
            return QStringLiteral("desktop %1").arg(QLatin1String(desktops[pick(4)]));
        }
        if (kind < 713) {
            const int end = pick(3);
            return end == 0   ? QStringLiteral("key Esc")
                   : end == 1 ? QStringLiteral("menu fichier/quitter")
                              : QStringLiteral("close");
        }
        return QStringLiteral("wait %1").arg(kWaits[pick(static_cast<int>(std::size(kWaits)))]);
    }

    // --- the rules after every step ---

    void remember(const QString& command) {
        recent_.push_back(command);
        if (recent_.size() > 16) recent_.pop_front();
    }

    void problem(const QString& what) {
        if (summary_.problems.size() >= kProblemsKept) return;
        QStringList context(recent_.begin(), recent_.end());
        summary_.problems << QStringLiteral("step %1 (session %2): %3\n  after: %4")
                                 .arg(summary_.steps)
                                 .arg(summary_.sessions)
                                 .arg(what, context.join(QStringLiteral(" | ")));
    }

    void check(Tprincipal& window) {
        Platform& platform = window.platform();
        lastTime_ = platform.clock.nowMs();

        if (auto* messages = dynamic_cast<RecordingErrorPresenter*>(&platform.errors)) {
            for (const QString& text : messages->take()) {
                ++summary_.messages;
                if (options_.brokenFile.isEmpty() || !messageOfFile(options_.brokenFile, text))
                    problem(QStringLiteral("message: ") + text);
            }
        }

        if (window.exited()) {
            exited_ = true;
            if (!window.attachedScreens().empty())
                problem(QStringLiteral("screens left after the end"));
            if (platform.backend.midiVolume() != kFullVolume ||
                platform.backend.waveVolume() != kFullVolume)
                problem(QStringLiteral("the volumes were not given back at the end"));
            return;
        }

        // One full-size screen at most, shown exactly when flagged.
        const std::vector<Screen*> shown = window.attachedScreens();
        if (shown.size() > 1)
            problem(QStringLiteral("%1 full-size screens shown").arg(shown.size()));
        const ScreenFlags f = window.flags();
        QStringList flagged;
        if (f.titleScreenPresent) flagged << QStringLiteral("ecrantitre");
        if (f.levelScreenPresent) flagged << QStringLiteral("niv");
        if (f.resultScreenPresent) flagged << QStringLiteral("ecran_resultat");
        if (f.highscoreScreenPresent) flagged << QStringLiteral("highscore");
        if (f.nameEntryScreenPresent) flagged << QStringLiteral("enternom");
        QStringList attached;
        for (const Screen* s : shown) attached << s->layoutName();
        const bool flaggedUnseen =
            !options_.brokenFile.isEmpty() &&
            std::all_of(attached.begin(), attached.end(),
                        [&](const QString& a) { return flagged.contains(a); });
        if (attached != flagged && !flaggedUnseen)
            problem(QStringLiteral("flagged [%1] but shown [%2]")
                        .arg(flagged.join(u' '), attached.join(u' ')));
        int topItems = 0;
        for (const QGraphicsItem* item : window.scene().items())
            if (!item->parentItem() && item->isVisible()) ++topItems;
        if (topItems > 1) problem(QStringLiteral("%1 panels in the scene").arg(topItems));
        // The drawn list lives with its level screen; a level whose set-up failed before the draw
        // may lack one until the next teardown.
        if (window.questionnaire() && !window.niv())
            problem(QStringLiteral("a drawn list without its level screen"));
        if (window.niv() && window.niv()->ready() && !window.questionnaire())
            problem(QStringLiteral("a level screen in play without its drawn list"));

        // The game state in its ranges.
        const GameState& e = window.gameState();
        if (e.score > kScoreLimit || e.score < -kScoreLimit)
            problem(QStringLiteral("score %1").arg(e.score));
        if (const Tniv* niv = window.niv(); niv && niv->ready()) {
            const int last = questionsOfLevel(e.Niveau);
            if (e.Niveau < 1 || e.Niveau > 4) problem(QStringLiteral("Niveau %1").arg(e.Niveau));
            if (e.NiveauInit != e.Niveau)
                problem(QStringLiteral("NiveauInit %1, Niveau %2").arg(e.NiveauInit).arg(e.Niveau));
            if (e.NumQuestion < 1 || e.NumQuestion > last)
                problem(QStringLiteral("NumQuestion %1").arg(e.NumQuestion));
            if (e.ReponsesJustes < 0 || e.ReponsesJustes > e.NumQuestion)
                problem(QStringLiteral("ReponsesJustes %1 of %2")
                            .arg(e.ReponsesJustes)
                            .arg(e.NumQuestion));
            if (e.MortSubite && e.Niveau != 4)
                problem(QStringLiteral("MortSubite on level %1").arg(e.Niveau));
            const QString counter = QString::number(e.NumQuestion) +
                                    (e.Niveau < 4 ? QStringLiteral("/10") : QStringLiteral("/30"));
            if (niv->counterText() != counter)
                problem(QStringLiteral("counter %1, expected %2").arg(niv->counterText(), counter));
            if (niv->scoreText() != QString::number(e.score))
                problem(
                    QStringLiteral("score label %1, score %2").arg(niv->scoreText()).arg(e.score));
            if (e.AttenteReponse && !niv->questionTimeRunning())
                problem(QStringLiteral("a question open without its timer"));
        }

        // The game's volumes while it runs; the About window holds the main window's input.
        if (platform.backend.midiVolume() != kGameMidi ||
            platform.backend.waveVolume() != kGameWave)
            problem(QStringLiteral("volumes changed while playing"));
        if (aboutOpen() == window.isEnabled())
            problem(QStringLiteral("About window and main window both take input, or neither"));

        // What came on screen.
        const QString current = attached.isEmpty() ? QString() : attached.front();
        if (current != lastScreen_ && !current.isEmpty()) {
            ++summary_.screensVisited[current];
            if (current == u"niv") {
                ++summary_.levelsStarted;
                if (e.Niveau == numbers::kBonusLevel) ++summary_.bonusLevels;
            }
        }
        lastScreen_ = current;
        if (const Tecran_resultat* r = window.screens().resultat.get(); r && r != lastResults_) {
            lastResults_ = r;
            if (r->outcome() == Tecran_resultat::Fini) ++summary_.gamesFinished;
            if (r->outcome() == Tecran_resultat::Perdu) ++summary_.gamesLost;
        }
    }

    const MonkeyOptions& options_;
    std::mt19937_64 random_;
    MonkeySummary summary_;
    Tprincipal* window_ = nullptr;
    bool exited_ = false;
    bool playing_ = true;
    std::deque<QString> pending_;
    std::deque<QString> recent_;
    QString lastScreen_;
    const Tecran_resultat* lastResults_ = nullptr;
    std::int64_t lastTime_ = 0;
};

}  // namespace

const QStringList& monkeyClickTargets() {
    // The name entry's button, the About window's, the title's prompt, the answers' boxes and their
    // number discs.
    static const QStringList targets = {
        QStringLiteral("valider"),  QStringLiteral("Button1"),  QStringLiteral("Label1"),
        QStringLiteral("reponse1"), QStringLiteral("reponse2"), QStringLiteral("reponse3"),
        QStringLiteral("reponse4"), QStringLiteral("juste1"),   QStringLiteral("juste2"),
        QStringLiteral("juste3"),   QStringLiteral("juste4")};
    return targets;
}

QString MonkeySummary::text() const {
    QStringList visited;
    for (const auto& [screen, count] : screensVisited)
        visited << QStringLiteral("%1 %2").arg(screen).arg(count);
    QString t = QStringLiteral(
                    "monkey: seed %1, %2 steps in %3 sessions, %4 s of virtual time\n"
                    "  screens visited: %5\n"
                    "  levels started %6 (bonus %7), games finished %8, games lost %9\n")
                    .arg(seed)
                    .arg(steps)
                    .arg(sessions)
                    .arg(virtualMs / 1000)
                    .arg(visited.join(QStringLiteral(", ")))
                    .arg(levelsStarted)
                    .arg(bonusLevels)
                    .arg(gamesFinished)
                    .arg(gamesLost);
    t += QStringLiteral("  saves %1, loads %2, messages %3, problems %4\n")
             .arg(saves)
             .arg(loads)
             .arg(messages)
             .arg(problems.size());
    for (const QString& p : problems) t += QStringLiteral("  PROBLEM ") + p + u'\n';
    return t;
}

MonkeySummary runMonkey(const MonkeyOptions& options) {
    return Monkey(options).run();
}

}  // namespace vorn::test
