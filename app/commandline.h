// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The command line of the program: `vorn [OPTION]... [GAME_DIR]`. What it accepts, and the two
// texts that tell about it, the usage printed by --help and the manual page vorn(6), both written
// from the one description in commandline.cpp. Nothing here needs a window system: the program
// answers --help and --version before it starts Qt's application.

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace vorn::cli {

enum class Action {
    Play,     // play the game folder named, or the working directory
    Help,     // print the usage
    Version,  // print the version and the licence
    Refuse,   // a wrong command line: say why, then the usage
};

struct CommandLine {
    Action action = Action::Play;
    QString gameDir;  // Play: the folder named, empty for the working directory
    QString error;    // Refuse: what is wrong, in one line
};

// The exit status of a wrong command line, and of a game folder that cannot be played.
constexpr int kUsageStatus = 2;

// `args` as the program is given them, its name first. Read left to right: --help and --version
// answer as soon as they come, an unknown option or a second folder refuses.
CommandLine parse(const QStringList& args);

// Answers a command line that does not play: --help and --version on `out` with status 0, a
// wrong one on `err` (one line, then the usage) with kUsageStatus.
int answer(const CommandLine& line, QTextStream& out, QTextStream& err);

QString usage();        // what --help prints
QString versionText();  // what --version prints
QString manualPage();   // the manual page vorn(6), in roff

// A text as roff prints it: backslashes, hyphens (as the minus signs of options and paths) and
// every character beyond ASCII escaped, a line that would start with a control character kept
// as text.
QString roffText(const QString& text);

}  // namespace vorn::cli
