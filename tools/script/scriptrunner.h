// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Plays the real main window on virtual time from a script of commands, one a line, and prints
// what a player would see. Used by the vorn-script tool, by the scenario tests and by content
// authors to play a content pack through.
//
// Commands: key NAME (Enter, Esc, F1, F12, KP1 to KP4, 1 to 4, a letter, a navigation key by its
// X name: End, Down, Next, Left, Home, Up, Prior, Right, Tab, and the keypad's as KP_End ...), type
// TEXT (or type "TEXT" to keep blanks at its ends), click NAME (a button of a window, else the
// centre of an element of a screen on show, such as reponse1, juste1 or the title's Label1, shown
// or not), click X,Y (a point of the screen), pad BUTTON (a controller's button pressed and let go:
// a b x y, north south east west, start; "pad BUTTON down" and "pad BUTTON up" hold it and let it
// go without a read, so the game sees it at its next read; "pad unplug" and "pad plug"), menu
// A/B[/C], pick A/B[/C] (an item of menus that stayed open since an earlier menu command: their
// handlers do not run again), wait MS, clock HH:MM:SS.mmm, hold on|off, activate, close [WINDOW]
// (the main window, or a window such as Form1 by its title bar), desktop WxH (the emulated
// desktop's size, which the display modes test against), shot FILE, dump (the state, with the texts
// a screen reader finds and the announcements made since the last dump, as "accessible:" and
// "announced:" lines). Blank lines and lines starting with # are skipped.

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace vorn {

class Tprincipal;

enum class VirtualMedia;

class ScriptRunner {
  public:
    // `nextLine` gives the script's lines, then nothing. Output goes to `out`. The working
    // directory must already be the content folder. `media` chooses the simulated backend or the
    // one that makes real sound (time stays virtual either way).
    ScriptRunner(std::function<std::optional<QString>()> nextLine, QTextStream& out);
    ScriptRunner(std::function<std::optional<QString>()> nextLine, QTextStream& out,
                 VirtualMedia media);
    ~ScriptRunner();

    // Called after every command with the main window (tests check their invariants there).
    void setObserver(std::function<void(Tprincipal&)> observer);

    // Builds the main window, activates it, runs every command. Returns 1 if any line was in
    // error, else 0.
    int run();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Runs a whole script in `contentDir` and returns what it printed (tests).
struct ScriptOutput {
    QString text;
    int status = 0;
    // One map per dump block: "score" -> "-500", "widget numquest" -> "visible=1 text=...", ...
    // Repeated names (media:, message:) are joined with "\n".
    std::vector<std::map<QString, QString>> dumps;
};
ScriptOutput runScript(const QString& contentDir, const QString& script);
ScriptOutput runScript(const QString& contentDir, const QString& script, VirtualMedia media);

// The dump blocks of a runner's output, in order.
std::vector<std::map<QString, QString>> parseDumps(const QString& text);

}  // namespace vorn
