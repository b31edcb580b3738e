// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/faultmatrix.h"

#include "support/filemessages.h"
#include "support/folderwatch.h"

#include "app/main.h"
#include "core/pack.h"
#include "platform/errors.h"
#include "platform/media/backend.h"
#include "platform/screen.h"
#include "support/scenario.h"
#include "support/testpack.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <random>
#include <set>

namespace vorn::test {

namespace faultmatrix_parts {

const QString kTable = questionTableFile();

// The route's stages, in the order they are played.
enum class Stage { Start, Level1, Lost, Level2, Level3, Level4, NameEntry, After, Tune, End };

QString stageName(Stage s) {
    switch (s) {
        case Stage::Start:
            return QStringLiteral("title");
        case Stage::Level1:
            return QStringLiteral("level 1");
        case Stage::Lost:
            return QStringLiteral("lost game");
        case Stage::Level2:
            return QStringLiteral("level 2");
        case Stage::Level3:
            return QStringLiteral("level 3");
        case Stage::Level4:
            return QStringLiteral("bonus level");
        case Stage::NameEntry:
            return QStringLiteral("name entry");
        case Stage::After:
            return QStringLiteral("best players after the game");
        case Stage::Tune:
            return QStringLiteral("level on its tune");
        case Stage::End:
            return QStringLiteral("best players from the menu");
    }
    return {};
}

// Slots that start each stage of the route: level 1 from its first question, and the last
// question of levels 1, 2 and 3 with every answer so far right (so that a right answer passes
// the level, and the third one opens the bonus level).
const char* const kSlots =
    "[Block1]\r\nscore=0\r\nNiveau=1\r\nNumQuestion=1\r\nReponses "
    "justes=0\r\nPourcentage=0%\r\nPause=0\r\n"
    "[Block2]\r\nscore=9000\r\nNiveau=1\r\nNumQuestion=10\r\nReponses "
    "justes=9\r\nPourcentage=100%\r\nPause=0\r\n"
    "[Block3]\r\nscore=29000\r\nNiveau=2\r\nNumQuestion=10\r\nReponses "
    "justes=9\r\nPourcentage=100%\r\nPause=0\r\n"
    "[Block4]\r\nscore=57000\r\nNiveau=3\r\nNumQuestion=10\r\nReponses "
    "justes=9\r\nPourcentage=100%\r\nPause=0\r\n";

// What the window shows, from a dump.
bool titleShown(const Dump& d) {
    return value(d, QStringLiteral("screens")) == u"titleScreenPresent" &&
           widgetText(d, QStringLiteral("Label1")).contains(u"APPUYEZ");
}
bool questionOpen(const Dump& d, int level) {
    return value(d, QStringLiteral("screens")) == u"levelScreenPresent" &&
           value(d, QStringLiteral("widget numquest")) != u"<absent>" &&
           value(d, QStringLiteral("AttenteReponse")) == u"1" &&
           value(d, QStringLiteral("Niveau")) == QString::number(level);
}
bool nameEntryShown(const Dump& d) {
    return value(d, QStringLiteral("screens")) == u"nameEntryScreenPresent" &&
           value(d, QStringLiteral("widget valider")) != u"<absent>";
}

QString describeState(const Dump& d) {
    if (value(d, QStringLiteral("exited")) == u"1") return QStringLiteral("the program ended");
    const QString screens = value(d, QStringLiteral("screens"));
    const bool attached = value(d, QStringLiteral("widget fond")) != u"<absent>" ||
                          value(d, QStringLiteral("widget Image1")) != u"<absent>";
    QString what;
    if (screens == u"none") return QStringLiteral("no screen (menu works)");
    if (screens == u"titleScreenPresent")
        what = QStringLiteral("title screen");
    else if (screens == u"levelScreenPresent")
        what = QStringLiteral("level screen");
    else if (screens == u"resultScreenPresent")
        what = QStringLiteral("results screen");
    else if (screens == u"highscoreScreenPresent")
        what = QStringLiteral("high-score screen");
    else if (screens == u"nameEntryScreenPresent")
        what = QStringLiteral("name entry");
    else
        what = screens;
    return attached ? what : what + QStringLiteral(" (not shown)");
}

// The files a level's set-up opens (the level screen's creation included), its tune aside.
QStringList levelStartFiles(int level) {
    return {pack::video(level),
            pack::levelPicture(level),
            pack::file(pack::playerPicture),
            pack::facePicture(pack::firstFace),
            pack::file(pack::rightMarkPicture),
            pack::file(pack::wrongMarkPicture),
            pack::file(pack::alarmPicture),
            pack::file(pack::hourglass),
            pack::file(pack::rightSound),
            kTable};
}

QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray garbage(const QString& file, qsizetype size) {
    std::mt19937 random(static_cast<std::uint32_t>(qHash(file)));
    QByteArray bytes(std::max<qsizetype>(size, 64), '\0');
    for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
    return bytes;
}

// A valid file of another kind than `file` (a database holding another table for the question
// table).
QString wrongKindSource(const QString& file) {
    if (file.endsWith(u".jpg") || file.endsWith(u".hlp")) return pack::file(pack::rightMarkPicture);
    // A JPEG picture is a one-frame video to a reader that guesses the format from the content.
    if (file.endsWith(u".bmp") || file.endsWith(u".avi")) return pack::file(pack::titlePicture);
    if (file.endsWith(u".mid")) return pack::file(pack::rightSound);
    if (file.endsWith(u".wav")) return pack::file(pack::titleTune);
    return {};
}

void applyFault(TestPack& pack, const QString& file, Fault fault) {
    const QByteArray original = readBytes(pack.path(file));
    switch (fault) {
        case Fault::None:
            return;
        case Fault::Removed:
            pack.remove(file);
            return;
        case Fault::Empty:
            pack.write(file, {});
            return;
        case Fault::Truncated:
            pack.write(file, original.left(original.size() / 2));
            return;
        case Fault::Garbage:
            pack.write(file, garbage(file, original.size()));
            return;
        case Fault::WrongKind:
            if (file == kTable) {
                pack.writeTable({.table = QStringLiteral("autre")});
                return;
            }
            pack.write(file, readBytes(pack.path(wrongKindSource(file))));
            return;
        case Fault::Folder:
            pack.remove(file);
            QDir(pack.dir()).mkpath(file);
            return;
    }
}

// The rules every step keeps: one full-size screen at most, shown only with its flag, none
// after the program's end.
void checkScreens(Tprincipal& window, int step, QStringList& problems) {
    const std::vector<Screen*> shown = window.attachedScreens();
    if (shown.size() > 1) problems << QStringLiteral("two full-size screens at step %1").arg(step);
    const ScreenFlags f = window.flags();
    for (const Screen* screen : shown) {
        const QString name = screen->layoutName();
        const bool flagged = (name == u"ecrantitre" && f.titleScreenPresent) ||
                             (name == u"niv" && f.levelScreenPresent) ||
                             (name == u"ecran_resultat" && f.resultScreenPresent) ||
                             (name == u"highscore" && f.highscoreScreenPresent) ||
                             (name == u"enternom" && f.nameEntryScreenPresent);
        if (!flagged)
            problems << QStringLiteral("%1 shown without its flag at step %2").arg(name).arg(step);
    }
    if (window.exited()) problems << QStringLiteral("the program ended at step %1").arg(step);
}

constexpr std::int64_t kVirtualTimeLimitMs = 20 * 60 * 1000;

}  // namespace faultmatrix_parts

using namespace faultmatrix_parts;

QString faultName(Fault fault) {
    switch (fault) {
        case Fault::None:
            return QStringLiteral("intact");
        case Fault::Removed:
            return QStringLiteral("removed");
        case Fault::Empty:
            return QStringLiteral("empty");
        case Fault::Truncated:
            return QStringLiteral("cut in half");
        case Fault::Garbage:
            return QStringLiteral("garbage");
        case Fault::WrongKind:
            return QStringLiteral("wrong kind");
        case Fault::Folder:
            return QStringLiteral("a folder");
    }
    return {};
}

const std::vector<Fault>& allFaults() {
    static const std::vector<Fault> faults = {Fault::Removed, Fault::Empty,     Fault::Truncated,
                                              Fault::Garbage, Fault::WrongKind, Fault::Folder};
    return faults;
}

QStringList packFiles() {
    QStringList files = pack::mediaFiles();
    files << kTable;
    return files;
}

QStringList playedFiles() {
    QStringList files = pack::tunes() + pack::sounds();
    for (const pack::VideoFile& v : pack::interludes()) files << v.file;
    files << pack::file(pack::hourglass);
    return files;
}

QString FaultOutcome::messageColumn() const {
    if (messages.empty()) return QStringLiteral("none");
    QStringList parts;
    for (const auto& [text, count] : messages)
        parts << (count > 1 ? QStringLiteral("%1 (x%2)").arg(text).arg(count) : text);
    return parts.join(QStringLiteral(" / "));
}

QString FaultOutcome::outcomeColumn() const {
    QString text = skipped.isEmpty()
                       ? QStringLiteral("whole route played")
                       : QStringLiteral("skipped: ") + skipped.join(QStringLiteral(", "));
    text += QStringLiteral("; ends on ") + endState;
    if (!problems.isEmpty())
        text += QStringLiteral("; FAULT: ") + problems.join(QStringLiteral("; "));
    return text;
}

struct FaultMatrix::Impl {
    VirtualMedia media;
    bool calibrated = false;
    std::map<int, QString> tuneClock;  // level tune -> the clock reading that draws it on Enter
    std::map<Stage, QStringList> controlTunes;  // level tunes each stage opens on the intact pack

    explicit Impl(VirtualMedia m) : media(m) {}

    static QStringList tunesIn(const ScriptOutput& out, std::size_t from, std::size_t to) {
        static const QRegularExpression open(QStringLiteral("^open (son/\\d+\\.mid)$"));
        QStringList tunes;
        for (std::size_t i = from; i <= to && i < out.dumps.size(); ++i)
            for (const QString& line : value(out.dumps[i], QStringLiteral("media")).split(u'\n'))
                if (const auto m = open.match(line); m.hasMatch() && !tunes.contains(m.captured(1)))
                    tunes << m.captured(1);
        return tunes;
    }

    // Which clock reading set before Enter on the title draws each level tune.
    void calibrate() {
        if (calibrated) return;
        calibrated = true;
        TestPack pack;
        Play play(pack);
        play.media(media);
        std::vector<std::pair<QString, int>> tries;
        for (int k = 0; k < 24; ++k) {
            const QString reading = QStringLiteral("13:%1:%2.%3")
                                        .arg(k, 2, 10, QLatin1Char('0'))
                                        .arg(k * 7 % 60, 2, 10, QLatin1Char('0'))
                                        .arg(k * 37 % 1000, 3, 10, QLatin1Char('0'));
            play << QStringLiteral("menu fichier/redémarrer") << QStringLiteral("clock ") + reading
                 << QStringLiteral("key Enter");
            tries.emplace_back(reading, play.mark());
        }
        play.run();
        static const QRegularExpression open(QStringLiteral("open son/(\\d+)\\.mid"));
        for (const auto& [reading, mark] : tries) {
            const auto m = open.match(value(play.at(mark), QStringLiteral("media")));
            if (m.hasMatch()) tuneClock.emplace(m.captured(1).toInt(), reading);
        }
    }

    FaultOutcome play(const QString& file, Fault fault) {
        calibrate();
        TestPack pack;
        pack.write(QStringLiteral("save/Sauvegardes.ini"), kSlots);
        applyFault(pack, file, fault);
        const auto before = filesOutsideSave(pack.dir());

        static const QRegularExpression tuneName(QStringLiteral("^son/(\\d+)\\.mid$"));
        const auto tuneMatch = tuneName.match(file);
        const bool tuneCase = fault != Fault::None && tuneMatch.hasMatch();

        int tune = tuneCase ? tuneMatch.captured(1).toInt() : 0;

        // Which stages the file's failure may undo: those that use it, and those that go on
        // from them.
        auto uses = [&](Stage stage) {
            QStringList files;
            switch (stage) {
                case Stage::Start:
                    files << pack::video(0);
                    break;
                case Stage::Level1:
                    files << levelStartFiles(1) << pack::file(pack::rules);
                    break;
                case Stage::Lost:
                    files << levelStartFiles(1) << pack::file(pack::wrongSound)
                          << pack::file(pack::resultsPicture) << pack::video(5) << pack::video(0);
                    for (char face = pack::firstFace; face <= pack::lastFace; ++face)
                        files << pack::facePicture(face);
                    files << controlTunes[Stage::Level1];
                    break;
                case Stage::Level2:
                case Stage::Level3:
                case Stage::Level4: {
                    const int level = stage == Stage::Level2 ? 2 : stage == Stage::Level3 ? 3 : 4;
                    files << levelStartFiles(level - 1) << levelStartFiles(level)
                          << pack::file(pack::resultsPicture);
                    break;
                }
                case Stage::NameEntry:
                case Stage::After:
                    files << levelStartFiles(3) << levelStartFiles(4)
                          << pack::file(pack::resultsPicture) << pack::file(pack::wrongSound)
                          << pack::facePicture(pack::lastFace) << pack::video(6)
                          << controlTunes[Stage::Level4];
                    if (stage == Stage::After) files << pack::video(0);
                    break;
                case Stage::Tune:
                    files << levelStartFiles(1) << pack::video(0);
                    break;
                case Stage::End:
                    files << pack::video(0);
                    break;
            }
            files << controlTunes[stage];
            if (stage == Stage::Tune && tune) files << pack::levelTune(tune);
            return files.contains(file);
        };

        // The route plays only the stages that use the file (all of them on the intact pack), and
        // at least one level to show that the game goes on.
        auto wanted = [&](std::initializer_list<Stage> stages) {
            if (fault == Fault::None) return true;
            return std::any_of(stages.begin(), stages.end(), uses);
        };
        const bool firstLevel = wanted({Stage::Level1, Stage::Lost});
        bool secondLevel = wanted({Stage::Level2});
        const bool thirdLevel = wanted({Stage::Level3});
        const bool bonusLevel = wanted({Stage::Level4, Stage::NameEntry, Stage::After});
        if (!firstLevel && !secondLevel && !thirdLevel && !bonusLevel) secondLevel = true;

        FaultOutcome outcome;
        outcome.file = file;
        outcome.fault = fault;
        int step = 0;
        QStringList problems;

        Play p(pack);
        p.media(media);
        p.observe([&](Tprincipal& window) { checkScreens(window, ++step, problems); });
        std::map<Stage, int> marks;
        auto answer = [&](bool right) {
            p.answer(right);
            p << QStringLiteral("wait %1").arg(kPauseMs);
        };

        marks[Stage::Start] = p.mark();

        // A new game from the title; without a title (no intro), from the first slot.
        if (firstLevel) {
            p << QStringLiteral("clock 08:00:00.000");
            p.then([](const Dump& d) {
                return titleShown(d) ? QStringLiteral("key Enter")
                                     : QStringLiteral("menu fichier/charger/Block 1");
            });
            marks[Stage::Level1] = p.mark();
            // The rules, the right answer shown, then answers that show every face, a time-out, a
            // save, and a lost level: 6 right answers of 10.
            p << QStringLiteral("key F1") << QStringLiteral("key F12");
            answer(false);
            answer(true);
            p << QStringLiteral("menu fichier/sauvegarder/Block 1");
            answer(true);
            answer(false);
            answer(false);
            p << QStringLiteral("wait %1").arg(kQuestionMs)
              << QStringLiteral("wait %1").arg(kPauseMs);
            for (int i = 0; i < 4; ++i) answer(true);
            p << QStringLiteral("wait 9000");  // results, the lost game's video, the intro
            marks[Stage::Lost] = p.mark();
        }

        // The last question of level 1, right: results, then level 2; and so on to the bonus.
        const char* const starts[] = {"menu fichier/charger/Block2", "menu fichier/charger/Block3",
                                      "menu fichier/charger/Block 4"};
        const Stage levels[] = {Stage::Level2, Stage::Level3, Stage::Level4};
        const bool levelWanted[] = {secondLevel, thirdLevel, bonusLevel};
        for (int i = 0; i < 3; ++i) {
            if (!levelWanted[i]) continue;
            p << QStringLiteral("clock %1:00:00.000").arg(9 + i, 2, 10, QLatin1Char('0'))
              << QLatin1String(starts[i]);
            answer(true);
            p << QStringLiteral("wait %1").arg(i == 2 ? 9000 : 6000);
            marks[levels[i]] = p.mark();
        }
        // A wrong answer ends the bonus level: results, the finished game's video, the name.
        if (bonusLevel) {
            answer(false);
            p << QStringLiteral("wait 6000");
            marks[Stage::NameEntry] = p.mark();
            p.then([](const Dump& d) {
                return nameEntryShown(d) ? QStringLiteral("type Ann") : QStringLiteral("wait 1");
            });
            p.then([](const Dump& d) {
                return nameEntryShown(d) ? QStringLiteral("key Enter") : QStringLiteral("wait 1");
            });
            p << QStringLiteral("wait 9500");  // the best players, then the intro
            marks[Stage::After] = p.mark();
        }

        if (tuneCase) {
            auto reading = tuneClock.find(tune);
            if (reading != tuneClock.end()) {
                p << QStringLiteral("menu fichier/redémarrer")
                  << QStringLiteral("clock ") + reading->second << QStringLiteral("key Enter");
                marks[Stage::Tune] = p.mark();
            } else {
                problems << QStringLiteral("no clock reading draws tune %1").arg(tune);
            }
        }

        p << QStringLiteral("menu fichier/Les meilleurs joueurs") << QStringLiteral("wait 9500");
        marks[Stage::End] = p.mark();

        const ScriptOutput& out = p.run();
        if (out.status != 0)
            problems << QStringLiteral("the runner reported an error:\n") + out.text.right(2000);

        // Messages, in the order they came.
        for (const Dump& d : out.dumps)
            for (const QString& text : value(d, QStringLiteral("message")).split(u'\n')) {
                if (text == u"<absent>" || text.isEmpty()) continue;
                QString shown = text;
                if (shown.startsWith(u'"') && shown.endsWith(u'"'))
                    shown = shown.mid(1, shown.size() - 2);
                auto it = std::find_if(outcome.messages.begin(), outcome.messages.end(),
                                       [&](const auto& m) { return m.first == shown; });
                if (it == outcome.messages.end())
                    outcome.messages.emplace_back(shown, 1);
                else
                    ++it->second;
            }

        // The stages that came about as they do on an intact pack.
        std::map<Stage, bool> normal;
        std::map<Stage, std::size_t> index;
        try {
            for (const auto& [stage, mark] : marks) index[stage] = p.dumpIndex(mark);
            for (const auto& [stage, mark] : marks) {
                const Dump& d = p.at(mark);
                switch (stage) {
                    case Stage::Start:
                    case Stage::Lost:
                    case Stage::After:
                    case Stage::End:
                        normal[stage] = titleShown(d);
                        break;
                    case Stage::Level1:
                    case Stage::Tune:
                        normal[stage] = questionOpen(d, 1);
                        break;
                    case Stage::Level2:
                        normal[stage] = questionOpen(d, 2);
                        break;
                    case Stage::Level3:
                        normal[stage] = questionOpen(d, 3);
                        break;
                    case Stage::Level4:
                        normal[stage] = questionOpen(d, 4);
                        break;
                    case Stage::NameEntry:
                        normal[stage] = nameEntryShown(d);
                        break;
                }
            }
            outcome.endState = describeState(p.at(marks[Stage::End]));
            const QString time = value(p.at(marks[Stage::End]), QStringLiteral("time"));
            if (time.toLongLong() > kVirtualTimeLimitMs)
                problems << QStringLiteral("the route took %1 ms of virtual time").arg(time);
        } catch (const std::out_of_range&) {
            problems << QStringLiteral("the route stopped early:\n") + out.text.right(2000);
            outcome.problems = problems;
            return outcome;
        }

        // The level tunes each stage opened.
        std::map<Stage, QStringList> tunes;
        {
            std::size_t from = 0;
            for (const auto& [stage, at] : index) {
                tunes[stage] = tunesIn(out, from, at);
                from = at + 1;
            }
        }
        if (fault == Fault::None) controlTunes = tunes;

        // Files the game can do without: their failure is told and the game goes on as if they
        // were there (the title without its picture or tune, an answer without its sound or its
        // face, the rules that the desktop opens).
        QStringList dispensable{pack::file(pack::titlePicture), pack::file(pack::titleTune),
                                pack::file(pack::wrongSound), pack::file(pack::rules)};
        for (char face = pack::firstFace + 1; face <= pack::lastFace; ++face)
            dispensable << pack::facePicture(face);

        for (const auto& [stage, ok] : normal) {
            if (ok) continue;
            outcome.skipped << stageName(stage);
            if (fault == Fault::None || dispensable.contains(file) || !uses(stage))
                problems << QStringLiteral("%1 did not come about (%2)")
                                .arg(stageName(stage), describeState(p.at(marks[stage])));
        }
        if (tuneCase && marks.count(Stage::Tune) && normal[Stage::Tune] &&
            fault != Fault::Truncated)
            problems << QStringLiteral("the level started on %1 although it is %2")
                            .arg(file, faultName(fault));

        // What a failure skips. The title without its picture has no tune either; a level whose
        // set-up fails stays flagged and unseen until the next teardown, and one whose screen
        // cannot be built (the table, the sound opened with the screen) is not there at all.
        const bool refusedHere = fault != Fault::None && !outcome.messages.empty();
        if (refusedHere && file == pack::file(pack::titlePicture)) {
            const Dump& d = p.at(marks[Stage::Start]);
            if (!value(d, QStringLiteral("media"))
                     .split(u'\n')
                     .filter(QStringLiteral("play ") + pack::file(pack::titleTune))
                     .isEmpty())
                problems << QStringLiteral("the title tune played without the title picture");
        }
        if (refusedHere && firstLevel && !normal[Stage::Level1] &&
            levelStartFiles(1).contains(file)) {
            const Dump& d = p.at(marks[Stage::Level1]);
            const bool built = file != kTable && file != pack::file(pack::rightSound);
            const QString expected = built ? QStringLiteral("level screen (not shown)")
                                           : QStringLiteral("no screen (menu works)");
            if (describeState(d) != expected)
                problems << QStringLiteral("after the failed set-up: %1, expected %2")
                                .arg(describeState(d), expected);
        }

        // F1 hands the rules to the desktop whatever the file holds.
        if (firstLevel && normal[Stage::Level1] &&
            !out.text.contains(QStringLiteral("shell: open ") + pack::file(pack::rules)))
            problems << QStringLiteral("F1 did not open the rules");

        // Messages: only the file's own, at least one where the file is refused.
        for (const auto& [text, count] : outcome.messages) {
            if (fault == Fault::None || !messageOfFile(file, text))
                problems << QStringLiteral("unexpected message: %1").arg(text);
        }
        int total = 0;
        for (const auto& m : outcome.messages) total += m.second;
        if (total > 30) problems << QStringLiteral("%1 messages").arg(total);
        const bool refused = fault != Fault::None && fault != Fault::Truncated;
        if (refused && file != pack::file(pack::rules) && outcome.messages.empty())
            problems << QStringLiteral("no message for a file %1").arg(faultName(fault));

        // Nothing but save/ is written.
        problems << changesOutsideSave(before, filesOutsideSave(pack.dir()));

        outcome.problems = problems;
        return outcome;
    }
};

FaultMatrix::FaultMatrix(VirtualMedia media) : impl_(std::make_unique<Impl>(media)) {}
FaultMatrix::~FaultMatrix() = default;

FaultOutcome FaultMatrix::control() {
    return impl_->play(QString(), Fault::None);
}

FaultOutcome FaultMatrix::run(const QString& file, Fault fault) {
    if (impl_->controlTunes.empty()) control();
    return impl_->play(file, fault);
}

QString FaultMatrix::table(const std::vector<FaultOutcome>& rows) {
    QString text =
        QStringLiteral("| file | fault | message shown | outcome |\n|---|---|---|---|\n");
    for (const FaultOutcome& row : rows) {
        auto cell = [](QString s) {
            return s.replace(u'|', QStringLiteral("\\|")).replace(u'\n', u' ');
        };
        text +=
            QStringLiteral("| %1 | %2 | %3 | %4 |\n")
                .arg(cell(row.file.isEmpty() ? QStringLiteral("(none)") : row.file),
                     faultName(row.fault), cell(row.messageColumn()), cell(row.outcomeColumn()));
    }
    return text;
}

}  // namespace vorn::test
