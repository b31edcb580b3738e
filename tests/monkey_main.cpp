// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// vorn-monkey [--steps N] [--seed S] [--content DIR]: the monkey's long run (the quality run) on a
// copy of a game folder (build/game by default), printing its seed and summary. Exits 1 when a
// rule was broken.

#include "support/monkey.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

bool copyTree(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    QDir target(to);
    while (it.hasNext()) {
        it.next();
        const QString relative = QDir(from).relativeFilePath(it.filePath());
        if (it.fileInfo().isDir()) {
            if (!target.mkpath(relative)) return false;
        } else if (!QFile::copy(it.filePath(), target.filePath(relative))) {
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER")) qputenv("SDL_AUDIODRIVER", "dummy");
    QApplication app(argc, argv);
    vorn::test::MonkeyOptions options;
    options.steps = 100000;
    options.seed = static_cast<std::uint64_t>(QDateTime::currentMSecsSinceEpoch());
    QString content = QStringLiteral(VORN_BUILD_DIR "/game");
    bool removeBroken = false;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == u"--steps" && i + 1 < args.size()) {
            options.steps = args[++i].toLong();
        } else if (args[i] == u"--seed" && i + 1 < args.size()) {
            options.seed = args[++i].toULongLong();
        } else if (args[i] == u"--content" && i + 1 < args.size()) {
            content = args[++i];
        } else if (args[i] == u"--real-media") {
            options.realMedia = true;
        } else if ((args[i] == u"--break" || args[i] == u"--remove") && i + 1 < args.size()) {
            removeBroken = args[i] == u"--remove";
            options.brokenFile = args[++i];
        } else {
            std::puts(
                "usage: vorn-monkey [--steps N] [--seed S] [--content DIR] [--break FILE | "
                "--remove FILE]\n"
                "                   [--real-media]\n"
                "  plays N random steps (100000) with seed S (from the time) on a copy of the "
                "game\n"
                "  folder DIR (build/game) and prints the summary; --break fills FILE of the copy\n"
                "  with garbage, --remove takes it away, and its messages are then allowed;\n"
                "  --real-media plays through the sound backend");
            return args[i] == u"--help" || args[i] == u"-h" ? 0 : 2;
        }
    }
    QTemporaryDir copy;
    if (!copy.isValid() || !copyTree(content, copy.path()) ||
        !QFileInfo(copy.filePath(QStringLiteral("dB"))).isDir()) {
        std::fprintf(stderr, "vorn-monkey: %s is no game folder (or cannot be copied)\n",
                     qPrintable(content));
        return 2;
    }
    QDir(copy.path()).mkpath(QStringLiteral("save"));
    if (!options.brokenFile.isEmpty()) {
        const QString broken = copy.filePath(options.brokenFile);
        QFile::remove(broken);
        if (!removeBroken) {
            QFile garbage(broken);
            if (!garbage.open(QIODevice::WriteOnly)) return 2;
            for (int i = 0; i < 4096; ++i)
                garbage.putChar(static_cast<char>((i * 7919 + 13) % 251));
        }
    }
    options.gameDir = copy.path();
    std::printf("monkey: seed %llu, %ld steps, on a copy of %s\n",
                static_cast<unsigned long long>(options.seed), options.steps, qPrintable(content));
    std::fflush(stdout);
    const vorn::test::MonkeySummary summary = vorn::test::runMonkey(options);
    std::fputs(qPrintable(summary.text()), stdout);
    return summary.problems.isEmpty() ? 0 : 1;
}
