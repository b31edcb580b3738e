// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// `vorn [OPTION]... [GAME_DIR]`: what the command line asks for, what the program answers without
// a window system, and the manual page written from the same description as the usage.

#include "app/commandline.h"
#include "core/version.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

using namespace vorn::cli;

namespace commandline_test {

struct ParseCase {
    QStringList args;  // after the program's name
    Action action;
    QString gameDir;
    QString error;
};

TEST(CommandLine, ReadsLeftToRight) {
    const ParseCase cases[] = {
        {{}, Action::Play, "", ""},
        {{"ma-classe"}, Action::Play, "ma-classe", ""},
        {{"-"}, Action::Play, "-", ""},  // a name, as for most commands
        {{"--", "-dossier"}, Action::Play, "-dossier", ""},
        {{"--", "--help"}, Action::Play, "--help", ""},
        {{"--help"}, Action::Help, "", ""},
        {{"-h"}, Action::Help, "", ""},
        {{"--version"}, Action::Version, "", ""},
        {{"ma-classe", "--version", "--bogus"}, Action::Version, "", ""},  // answered when met
        {{"--bogus"}, Action::Refuse, "", "unknown option --bogus"},
        {{"--help=all"}, Action::Refuse, "", "unknown option --help=all"},
        {{"-platform", "xcb"},
         Action::Refuse,
         "",
         "unknown option -platform"},  // Qt's are not ours
        {{"--bogus", "--help"}, Action::Refuse, "", "unknown option --bogus"},
        {{"a", "b"}, Action::Refuse, "", "one game folder at most, not a and b"},
        {{"a", "--", "b"}, Action::Refuse, "", "one game folder at most, not a and b"},
    };
    for (const ParseCase& c : cases) {
        const CommandLine line = parse(QStringList{"vorn"} + c.args);
        const std::string what = c.args.join(u' ').toStdString();
        EXPECT_EQ(line.action, c.action) << what;
        EXPECT_EQ(line.gameDir, c.gameDir) << what;
        EXPECT_EQ(line.error, c.error) << what;
    }
}

TEST(CommandLine, TheUsageFitsATerminalAndNamesWhatThePlayerNeeds) {
    const QString text = usage();
    EXPECT_TRUE(text.startsWith("Usage: vorn [OPTION]... [GAME_DIR]\n")) << text.toStdString();
    for (const QString& line : text.split(u'\n')) EXPECT_LE(line.size(), 79) << line.toStdString();
    for (const char* needed : {"--help", "--version", "save/highscores.ini", "~/.local/share/vorn",
                               "~/.cache/vorn/music", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        EXPECT_TRUE(text.contains(QLatin1String(needed))) << needed;
}

TEST(CommandLine, RoffEscapesWhatWouldBeMarkup) {
    const std::pair<QString, QString> cases[] = {
        {"--help", "\\-\\-help"},
        {"C:\\jeux", "C:\\ejeux"},
        {".dot\n'quote\nmid.dle", "\\&.dot\n\\&'quote\nmid.dle"},
        {"plein écran", "plein \\[u00E9]cran"},
        {"«\xC2\xA0oui\xC2\xA0»", "\\[u00AB]\\[u00A0]oui\\[u00A0]\\[u00BB]"},
        {QString::fromUtf8("\xF0\x9F\x8E\xB2"), "\\[u1F3B2]"},  // beyond 16 bits
    };
    for (const auto& [text, roff] : cases) EXPECT_EQ(roffText(text), roff) << text.toStdString();
}

TEST(CommandLine, TheManualHasTheUsagesEntriesAndMore) {
    const QString page = manualPage();
    EXPECT_TRUE(page.contains(
        QStringLiteral(".TH VORN 6 %1 \"vorn %2\"")
            .arg(QLatin1String(vorn::release::date), QLatin1String(vorn::release::version))))
        << page.left(400).toStdString();
    for (const char* section : {"NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "KEYS", "MENUS",
                                "FILES", "ENVIRONMENT", "EXIT STATUS", "COPYRIGHT"})
        EXPECT_TRUE(page.contains(QStringLiteral("\n.SH %1\n").arg(QLatin1String(section))))
            << section;
    // Every entry of the usage (two blanks, then the term) is one of the manual's.
    for (const QString& line : usage().split(u'\n')) {
        if (!line.startsWith(u"  ") || line.startsWith(u"   ")) continue;
        const QString term = line.mid(2).section(QStringLiteral("  "), 0, 0);
        EXPECT_TRUE(page.contains(".TP\n.B " + roffText(term) + "\n")) << term.toStdString();
    }
    for (const QString& line : page.split(u'\n'))
        for (const QChar c : line) EXPECT_LT(c.unicode(), 0x80) << line.toStdString();
}

// The real program, where no window system can be reached: it answers before it would need one.
class Program : public ::testing::Test {
  protected:
    struct Run {
        int status;
        QString out, err;
    };
    static Run run(const QStringList& args) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) env.remove(QLatin1String(name));
        env.insert("QT_QPA_PLATFORM", "xcb");  // Qt's application would fail to start here
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(VORN_BUILD_DIR "/game/vorn"), args);
        if (!process.waitForFinished(60000)) return {-1, {}, {}};
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }
};

TEST_F(Program, AnswersHelpAndVersionOnItsOutput) {
    const Run help = run({"--help"});
    EXPECT_EQ(help.status, 0) << help.err.toStdString();
    EXPECT_EQ(help.out, usage());
    EXPECT_EQ(help.err, "");
    const Run version = run({"--version"});
    EXPECT_EQ(version.status, 0) << version.err.toStdString();
    EXPECT_TRUE(version.out.startsWith(
        QStringLiteral("vorn (V.O.R.N. VOZID) %1\n").arg(QLatin1String(vorn::release::version))))
        << version.out.toStdString();
    EXPECT_EQ(version.err, "");
}

TEST_F(Program, RefusesAnUnknownOptionWithOneLineAndTheUsage) {
    const Run bogus = run({"--bogus"});
    EXPECT_EQ(bogus.status, kUsageStatus);
    EXPECT_EQ(bogus.out, "");
    EXPECT_EQ(bogus.err, "vorn: unknown option --bogus\n" + usage());
}

}  // namespace commandline_test
