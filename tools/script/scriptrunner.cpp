// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tools/script/scriptrunner.h"

#include "app/main.h"
#include "platform/element.h"
#include "platform/errors.h"
#include "platform/gamepads.h"
#include "platform/media/simulatedbackend.h"
#include "platform/platform.h"
#include "platform/screen.h"
#include "platform/virtualclock.h"
#include "screens/accessibility.h"
#include "screens/level.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QWindow>

namespace vorn {

struct ScriptRunner::Impl {
    std::function<std::optional<QString>()> nextLine;
    QTextStream& out;
    VirtualPlatform platform;
    std::unique_ptr<Tprincipal> window;
    std::unique_ptr<VirtualGamepad> pad;  // plugged in by the first pad command
    bool finished = false;
    bool anyError = false;
    int lineNumber = 0;
    std::function<void(Tprincipal&)> observer;

    Impl(std::function<std::optional<QString>()> next, QTextStream& o, VirtualMedia media)
        : nextLine(std::move(next)), out(o), platform(QSize(1280, 1024), media) {}

    VirtualClock& clock() { return platform.clock(); }

    void error(const QString& what) {
        anyError = true;
        out << "error: " << what << "\n";
        out.flush();
    }

    // Runs the next command; at the end of the script, ends what is still waiting.
    void step() {
        while (true) {
            const std::optional<QString> line = nextLine();
            if (!line) {
                finish();
                return;
            }
            ++lineNumber;
            const QString text = line->trimmed();
            if (text.isEmpty() || text.startsWith(u'#')) continue;
            execute(line->trimmed());
            if (observer) observer(*window);
            return;
        }
    }

    void finish() {
        if (finished) return;
        finished = true;
        clock().setHorizon(clock().nowMs());
        // A wait still running (results, best players) ends with the program.
        if (platform.platform().guard.depth() > 0 && !window->exited()) {
            window->setOnExit({});
            window->close();
        }
    }

    void execute(const QString& line) {
        const int space = line.indexOf(u' ');
        const QString command = space < 0 ? line : line.left(space);
        const QString arg = space < 0 ? QString() : line.mid(space + 1);
        // Commands other than wait leave the time where it is.
        clock().setHorizon(clock().nowMs());
        if (command == u"key") {
            key(arg.trimmed());
        } else if (command == u"type") {
            type(arg);
        } else if (command == u"click") {
            click(arg.trimmed());
        } else if (command == u"pad") {
            padCommand(arg.simplified());
        } else if (command == u"menu") {
            menu(arg.trimmed());
        } else if (command == u"pick") {
            menu(arg.trimmed(), false);
        } else if (command == u"wait") {
            bool ok = false;
            const qint64 ms = arg.trimmed().toLongLong(&ok);
            if (!ok || ms < 0)
                return error(QStringLiteral("wait: not a number of milliseconds: %1").arg(arg));
            clock().setHorizon(clock().nowMs() + ms);
        } else if (command == u"clock") {
            setClock(arg.trimmed());
        } else if (command == u"hold") {
            if (arg.trimmed() == u"on")
                clock().hold(true);
            else if (arg.trimmed() == u"off")
                clock().hold(false);
            else
                error(QStringLiteral("hold: on or off, not %1").arg(arg));
        } else if (command == u"activate") {
            QEvent activate(QEvent::WindowActivate);
            QApplication::sendEvent(window.get(), &activate);
        } else if (command == u"close") {
            closeWindow(arg.trimmed());
        } else if (command == u"desktop") {
            setDesktop(arg.trimmed());
        } else if (command == u"shot") {
            shot(arg.trimmed());
        } else if (command == u"dump") {
            dump();
        } else {
            error(QStringLiteral("unknown command: %1").arg(line));
        }
        out.flush();
    }

    // --- input ---

    void sendKey(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text) {
        QWidget* target = &window->view();
        QKeyEvent press(QEvent::KeyPress, qtKey, modifiers, text);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, qtKey, modifiers, text);
        QApplication::sendEvent(target, &release);
    }

    void key(const QString& name) {
        static const std::map<QString, std::pair<int, QString>> named = {
            {QStringLiteral("Enter"), {Qt::Key_Return, QStringLiteral("\r")}},
            {QStringLiteral("Esc"), {Qt::Key_Escape, QStringLiteral("\x1b")}},
            {QStringLiteral("F1"), {Qt::Key_F1, {}}},
            {QStringLiteral("F12"), {Qt::Key_F12, {}}},
        };
        if (auto it = named.find(name); it != named.end())
            return sendKey(it->second.first, Qt::NoModifier, it->second.second);
        // Navigation keys by their X names: with "KP_" the keypad's own (its 1, 2, 3 and 4, 7, 8,
        // 9 and 6 with Num Lock off), without it the navigation block's.
        static const std::map<QString, int> navigation = {
            {QStringLiteral("End"), Qt::Key_End},       {QStringLiteral("Down"), Qt::Key_Down},
            {QStringLiteral("Next"), Qt::Key_PageDown}, {QStringLiteral("Left"), Qt::Key_Left},
            {QStringLiteral("Home"), Qt::Key_Home},     {QStringLiteral("Up"), Qt::Key_Up},
            {QStringLiteral("Prior"), Qt::Key_PageUp},  {QStringLiteral("Right"), Qt::Key_Right},
            {QStringLiteral("Tab"), Qt::Key_Tab},
        };
        const bool onKeypad = name.startsWith(QStringLiteral("KP_"));
        if (auto it = navigation.find(onKeypad ? name.mid(3) : name); it != navigation.end())
            return sendKey(it->second, onKeypad ? Qt::KeypadModifier : Qt::NoModifier, {});
        static const QRegularExpression keypad(QStringLiteral("^KP([1-4])$"));
        if (const auto m = keypad.match(name); m.hasMatch())
            return sendKey(Qt::Key_0 + m.captured(1).toInt(), Qt::KeypadModifier, m.captured(1));
        if (name.size() == 1 && name[0] >= u'1' && name[0] <= u'4')
            return sendKey(Qt::Key_0 + name.toInt(), Qt::NoModifier, name);
        if (name.size() == 1 && name[0].isLetter() && name[0].unicode() < 128)
            return sendKey(Qt::Key_A + (name[0].toUpper().unicode() - u'A'), Qt::NoModifier, name);
        error(QStringLiteral("key: unknown key %1").arg(name));
    }

    void type(const QString& argument) {
        // In double quotes, the text keeps the blanks at its ends.
        const QString text =
            argument.size() >= 2 && argument.startsWith(u'"') && argument.endsWith(u'"')
                ? argument.mid(1, argument.size() - 2)
                : argument;
        for (QChar c : text) {
            const int qtKey = c.isLetter() && c.unicode() < 128
                                  ? Qt::Key_A + (c.toUpper().unicode() - u'A')
                                  : static_cast<int>(c.unicode());
            sendKey(qtKey, Qt::NoModifier, QString(c));
        }
    }

    void click(const QString& name) {
        QList<QAbstractButton*> candidates;
        for (QGraphicsItem* item : window->scene().items())
            if (auto* proxy = dynamic_cast<QGraphicsProxyWidget*>(item);
                proxy && proxy->widget() && proxy->isVisible()) {
                if (auto* b = qobject_cast<QAbstractButton*>(proxy->widget())) candidates << b;
                candidates << proxy->widget()->findChildren<QAbstractButton*>();
            }
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->isVisible()) candidates << top->findChildren<QAbstractButton*>();
        for (QAbstractButton* b : candidates) {
            if (b->objectName() == name) {
                if (!b->isEnabled() || !b->window()->isEnabled()) return;
                b->click();
                return;
            }
        }
        static const QRegularExpression point(QStringLiteral("^(\\d+)\\s*,\\s*(\\d+)$"));
        if (const auto m = point.match(name); m.hasMatch())
            return mouseClick(QPointF(m.captured(1).toInt(), m.captured(2).toInt()));
        // An element of a screen on show, at the centre of its box, whether it shows or not (the
        // title's prompt blinks).
        for (Screen* screen : window->attachedScreens())
            for (QGraphicsItem* item : screen->childItems())
                if (const auto* element = dynamic_cast<const Element*>(item);
                    element && element->elementName() == name)
                    return mouseClick(item->sceneBoundingRect().center());
        error(QStringLiteral("click: no button or element %1 is shown").arg(name));
    }

    // A left click at a point of the scene, as the window system gives it to the game's view: a
    // press and a release at that place of the view.
    void mouseClick(QPointF scenePoint) {
        QGraphicsView& view = window->view();
        QWidget* target = view.viewport();
        const QPointF local = view.mapFromScene(scenePoint);
        const QPointF global = target->mapToGlobal(local);
        QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(target, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(target, &release);
    }

    // A controller's button, through a controller plugged in for the script (SDL's virtual
    // joystick) and read by the game's own controller reads.
    void padCommand(const QString& argument) {
        const QStringList words = argument.split(u' ', Qt::SkipEmptyParts);
        if (words.isEmpty()) return error(QStringLiteral("pad: a button is needed"));
        const QString name = words[0].toLower();
        if (name == u"unplug" && words.size() == 1) {
            pad.reset();  // unplugged; the game lets it go at once
            platform.gamepads().poll();
            return;
        }
        if (!plugPad()) return;
        if (name == u"plug" && words.size() == 1) return;
        static const std::map<QString, PadButton> buttons = {
            {QStringLiteral("y"), PadButton::North},
            {QStringLiteral("north"), PadButton::North},
            {QStringLiteral("x"), PadButton::West},
            {QStringLiteral("west"), PadButton::West},
            {QStringLiteral("b"), PadButton::East},
            {QStringLiteral("east"), PadButton::East},
            {QStringLiteral("a"), PadButton::South},
            {QStringLiteral("south"), PadButton::South},
            {QStringLiteral("start"), PadButton::Start},
        };
        const auto it = buttons.find(name);
        if (it == buttons.end())
            return error(QStringLiteral("pad: unknown button %1").arg(words[0]));
        if (words.size() == 1) return pad->press(it->second);
        if (words.size() == 2 && (words[1] == u"down" || words[1] == u"up"))
            return pad->setButton(it->second, words[1] == u"down");
        error(QStringLiteral("pad: expected BUTTON [down|up], not %1").arg(argument));
    }

    bool plugPad() {
        if (pad) return true;
        pad = std::make_unique<VirtualGamepad>(platform.gamepads());
        if (pad->plugged()) return true;
        error(QStringLiteral("pad: no controller could be plugged in: %1").arg(pad->error()));
        pad.reset();
        return false;
    }

    static QString simplified(const QString& caption) { return caption.simplified(); }

    // Opens the menus along `path` and chooses its last item. With `open` false, the item is
    // chosen from menus left open by an earlier command: their handlers do not run again.
    void menu(const QString& path, bool open = true) {
        const QStringList parts = path.split(u'/');
        if (!window->isEnabled() || window->exited()) {
            out << "menu: disabled\n";
            return;
        }
        QList<QAction*> actions = window->mainMenu()->actions();
        for (int i = 0; i < parts.size(); ++i) {
            QAction* found = nullptr;
            for (QAction* a : actions)
                if (!a->isSeparator() &&
                    (a->text() == parts[i] || simplified(a->text()) == simplified(parts[i]))) {
                    found = a;
                    break;
                }
            if (!found)
                return error(
                    QStringLiteral("menu: no item %1").arg(parts.mid(0, i + 1).join(u'/')));
            if (!found->isEnabled()) {
                out << "menu: disabled\n";
                return;
            }
            if (QMenu* sub = found->menu()) {
                if (open) emit sub->aboutToShow();  // opening the menu runs its handler
                if (i == parts.size() - 1) return;  // a menu opened and left
                actions = sub->actions();
                continue;
            }
            if (i != parts.size() - 1)
                return error(QStringLiteral("menu: %1 has no sub-menu").arg(parts[i]));
            found->trigger();
            return;
        }
    }

    // Closes the main window, or the top-level window of that name (as its title bar's close
    // button does).
    void closeWindow(const QString& name) {
        if (name.isEmpty()) {
            window->close();
            return;
        }
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->isVisible() && top->objectName() == name) {
                top->close();
                return;
            }
        error(QStringLiteral("close: no window %1 is open").arg(name));
    }

    // The emulated desktop's size, WIDTHxHEIGHT: what the display modes test against.
    void setDesktop(const QString& value) {
        static const QRegularExpression form(QStringLiteral("^(\\d+)x(\\d+)$"));
        const auto m = form.match(value);
        if (!m.hasMatch())
            return error(QStringLiteral("desktop: expected WIDTHxHEIGHT, not %1").arg(value));
        platform.setScreen(QSize(m.captured(1).toInt(), m.captured(2).toInt()));
    }

    void setClock(const QString& value) {
        static const QRegularExpression form(
            QStringLiteral("^(\\d{1,2}):(\\d{2}):(\\d{2})(?:\\.(\\d{1,3}))?$"));
        const auto m = form.match(value);
        if (!m.hasMatch())
            return error(QStringLiteral("clock: expected HH:MM:SS.mmm, not %1").arg(value));
        TimeOfDay t{m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(),
                    m.captured(4).leftJustified(3, u'0').toInt()};
        if (t.hour > 23 || t.minute > 59 || t.second > 59)
            return error(QStringLiteral("clock: no such time %1").arg(value));
        clock().setTimeOfDay(t);
    }

    void shot(const QString& file) {
        if (file.isEmpty()) return error(QStringLiteral("shot: a file name is needed"));
        window->repaintNow();
        const QPixmap picture = window->grab();
        if (!picture.save(file, "PNG")) error(QStringLiteral("shot: cannot write %1").arg(file));
    }

    // --- state ---

    static QString hex32(std::uint32_t value) {
        return QStringLiteral("0x") +
               QStringLiteral("%1").arg(value, 8, 16, QLatin1Char('0')).toUpper();
    }

    void dump() {
        const ScreenFlags& f = window->flags();
        QStringList screens;
        if (f.titleScreenPresent) screens << QStringLiteral("titleScreenPresent");
        if (f.levelScreenPresent) screens << QStringLiteral("levelScreenPresent");
        if (f.resultScreenPresent) screens << QStringLiteral("resultScreenPresent");
        if (f.highscoreScreenPresent) screens << QStringLiteral("highscoreScreenPresent");
        if (f.nameEntryScreenPresent) screens << QStringLiteral("nameEntryScreenPresent");
        out << "screens: " << (screens.isEmpty() ? QStringLiteral("none") : screens.join(u' '))
            << "\n";
        const GameState& e = window->gameState();
        out << "score: " << e.score << "\n";
        out << "Niveau: " << e.Niveau << "\n";
        out << "NiveauInit: " << e.NiveauInit << "\n";
        out << "NumQuestion: " << e.NumQuestion << "\n";
        out << "ReponsesJustes: " << e.ReponsesJustes << "\n";
        out << "MortSubite: " << (e.MortSubite ? 1 : 0) << "\n";
        out << "AttenteReponse: " << (e.AttenteReponse ? 1 : 0) << "\n";
        QStringList codes;
        if (const TQuestionnaire* liste = window->questionnaire())
            for (const QString& code : liste->tableaux)
                if (!code.isEmpty()) codes << code;
        out << "codes:" << (codes.isEmpty() ? QString() : u' ' + codes.join(u' ')) << "\n";
        for (const Screen* screen : window->attachedScreens())
            for (const Screen::Entry& entry : screen->entries())
                out << "widget " << entry.name << ": " << entry.describe() << "\n";
        // What a screen reader finds in the game's view, in reading order, and what it was told
        // since the last dump.
        for (const AccessibleView::Seen& seen : window->reading().accessible().shownNodes())
            out << "accessible: " << accessibleRoleWord(seen.role) << ' ' << quoted(seen.name)
                << "\n";
        for (const QString& text : window->reading().accessible().takeAnnouncements())
            out << "announced: " << quoted(text) << "\n";
        for (const QString& line : platform.media().takeLog()) out << "media: " << line << "\n";
        for (const QString& text : platform.errors().take())
            out << "message: " << quoted(text) << "\n";
        for (const QString& file : platform.shell().take()) out << "shell: open " << file << "\n";
        const Qt::WindowStates states = window->windowState();
        const char* state = states & Qt::WindowFullScreen  ? "fullscreen"
                            : states & Qt::WindowMaximized ? "maximized"
                                                           : "normal";
        out << "window: caption=" << quoted(window->windowTitle())
            << " client=" << window->view().width() << "x" << window->view().height()
            << " state=" << state << " enabled=" << (window->isEnabled() ? 1 : 0)
            << " scale=" << window->view().transform().m11() << "\n";
        const QSize mode = platform.resolution().mode();
        out << "display: mode=" << mode.width() << "x" << mode.height() << "\n";
        bool aboutOpen = false;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top != window.get() && top->isVisible() && top->objectName() == u"Form1")
                aboutOpen = true;
        out << "about: " << (aboutOpen ? "open" : "closed") << "\n";
        out << "gamepads: open=" << platform.gamepads().openCount()
            << " reading=" << (platform.gamepads().polling() ? 1 : 0) << "\n";
        out << "volumes: midi=" << hex32(platform.backend().midiVolume())
            << " wave=" << hex32(platform.backend().waveVolume()) << "\n";
        out << "time: " << clock().nowMs() << "\n";
        out << "exited: " << (window->exited() ? 1 : 0) << "\n";
        out << "end\n";
    }
};

ScriptRunner::ScriptRunner(std::function<std::optional<QString>()> nextLine, QTextStream& out)
    : ScriptRunner(std::move(nextLine), out, VirtualMedia::Simulated) {}

ScriptRunner::ScriptRunner(std::function<std::optional<QString>()> nextLine, QTextStream& out,
                           VirtualMedia media)
    : impl_(std::make_unique<Impl>(std::move(nextLine), out, media)) {}

ScriptRunner::~ScriptRunner() = default;

void ScriptRunner::setObserver(std::function<void(Tprincipal&)> observer) {
    impl_->observer = std::move(observer);
}

int ScriptRunner::run() {
    Impl& d = *impl_;
    d.window = std::make_unique<Tprincipal>(d.platform.platform());
    d.window->setOnExit({});  // the program's end shows in the dump; the runner goes on
    d.window->show();
    // On screen before the activation, as in the program (offscreen windows too are exposed
    // by the event loop).
    for (int round = 0; round < 100 && !d.window->windowHandle()->isExposed(); ++round)
        QCoreApplication::processEvents();
    d.clock().setHorizon(d.clock().nowMs());
    d.clock().setIdleHandler([&d] { d.step(); });
    // Activated as the program is, once it is shown.
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(d.window.get(), &activate);
    while (!d.finished) d.clock().processMessages();
    d.out.flush();
    d.clock().setIdleHandler({});
    d.window.reset();
    return d.anyError ? 1 : 0;
}

ScriptOutput runScript(const QString& contentDir, const QString& script) {
    return runScript(contentDir, script, VirtualMedia::Simulated);
}

ScriptOutput runScript(const QString& contentDir, const QString& script, VirtualMedia media) {
    const QString previous = QDir::currentPath();
    QDir::setCurrent(contentDir);
    QStringList lines = script.split(u'\n');
    int next = 0;
    QString text;
    QTextStream out(&text);
    ScriptOutput result;
    {
        ScriptRunner runner(
            [&]() -> std::optional<QString> {
                if (next >= lines.size()) return std::nullopt;
                return lines[next++];
            },
            out, media);
        result.status = runner.run();
    }
    out.flush();
    QDir::setCurrent(previous);
    result.text = text;
    result.dumps = parseDumps(text);
    return result;
}

std::vector<std::map<QString, QString>> parseDumps(const QString& text) {
    std::vector<std::map<QString, QString>> dumps;
    std::map<QString, QString> current;
    for (const QString& line : text.split(u'\n')) {
        if (line == u"end") {
            dumps.push_back(std::move(current));
            current.clear();
            continue;
        }
        int colon = line.indexOf(QStringLiteral(": "));
        if (colon < 0 && line.endsWith(u':'))
            colon = static_cast<int>(line.size()) - 1;  // "codes:" with none
        if (colon < 0) continue;
        const QString value = line.mid(colon + 2);
        auto [it, fresh] = current.emplace(line.left(colon), value);
        if (!fresh) it->second += u'\n' + value;  // repeated names: media:, message:
    }
    return dumps;
}

}  // namespace vorn
