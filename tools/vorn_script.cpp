// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// vorn-script [--content DIR] [SCRIPT]: plays the game on virtual time from a script (standard
// input without SCRIPT) and prints what happens. See tools/script/scriptrunner.h.

#include "platform/budgets.h"
#include "platform/platform.h"
#include "tools/script/scriptrunner.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    vorn::budget::returnLargeBlocksAtOnce();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QString content = QStringLiteral(".");
    QString scriptPath;
    vorn::VirtualMedia media = vorn::VirtualMedia::Simulated;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == u"--content" && i + 1 < args.size()) {
            content = args[++i];
        } else if (args[i] == u"--real-media") {
            media = vorn::VirtualMedia::Real;
        } else if (args[i] == u"--help" || args[i] == u"-h") {
            std::puts(
                "usage: vorn-script [--content DIR] [--real-media] [SCRIPT]\n"
                "  --real-media  play through the sound backend (FluidSynth, SDL2_mixer, FFmpeg)\n"
                "                instead of the simulated one; time stays virtual");
            return 0;
        } else if (scriptPath.isEmpty()) {
            scriptPath = args[i];
        } else {
            std::fprintf(stderr, "vorn-script: unexpected argument %s\n", qPrintable(args[i]));
            return 2;
        }
    }
    QFile script;
    if (!scriptPath.isEmpty()) {
        script.setFileName(scriptPath);
        if (!script.open(QIODevice::ReadOnly | QIODevice::Text)) {
            std::fprintf(stderr, "vorn-script: cannot read %s\n", qPrintable(scriptPath));
            return 2;
        }
    }
    if (!QDir::setCurrent(content)) {
        std::fprintf(stderr, "vorn-script: no content folder %s\n", qPrintable(content));
        return 2;
    }
    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    auto nextLine = [&]() -> std::optional<QString> {
        if (script.isOpen()) {
            if (script.atEnd()) return std::nullopt;
            return QString::fromUtf8(script.readLine()).chopped(0).remove(u'\n').remove(u'\r');
        }
        std::string line;
        if (!std::getline(std::cin, line)) return std::nullopt;
        return QString::fromStdString(line).remove(u'\r');
    };
    vorn::ScriptRunner runner(nextLine, out, media);
    return runner.run();
}
