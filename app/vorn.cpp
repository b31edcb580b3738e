// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The program: the application titled "V.O.R.N. VOZID", its main window, the message loop.
// `vorn [OPTION]... [GAME_DIR]` plays the content folder GAME_DIR (the working directory by
// default): the game reads every file relative to its working directory, so it moves there before
// anything is built. The command line is read before Qt starts, so that --help, --version and a
// wrong command line are answered without a window system (app/commandline.h).

#include "app/commandline.h"
#include "app/gamefolder.h"
#include "app/main.h"
#include "platform/budgets.h"
#include "platform/platform.h"

#include <QApplication>
#include <QTextStream>
#include <QTimer>

int main(int argc, char** argv) {
    vorn::budget::returnLargeBlocksAtOnce();
    QStringList args;
    for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    const vorn::cli::CommandLine line = vorn::cli::parse(args);
    if (line.action != vorn::cli::Action::Play) {
        QTextStream out(stdout);
        QTextStream err(stderr);
        return vorn::cli::answer(line, out, err);
    }

    // Qt is given the program's name alone: the command line is the game's, read above (Qt's
    // own settings come from the environment, QT_QPA_PLATFORM and the like).
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QApplication::setApplicationName(QStringLiteral("vorn"));
    // No display name: the desktop would append it to every window's caption (the About window's
    // among them), which the layouts give in full.
    // The installed menu entry, which names the window's icon on the desktop.
    QApplication::setDesktopFileName(QStringLiteral(VORN_APP_ID));
    {
        QTextStream err(stderr);
        if (const auto status = vorn::enterGameFolder(line.gameDir, err)) return *status;
    }
    vorn::DesktopPlatform desktop;
    vorn::Tprincipal principal(desktop.platform());
    principal.show();
    // Where the window system sends no activation (no window manager), being shown counts as
    // the first activation.
    QTimer::singleShot(0, &principal, [&principal] { principal.activateFirstTime(); });
    return QApplication::exec();
}
