// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/commandline.h"

#include "core/version.h"

#include <vector>

namespace vorn::cli {

namespace {

// The description of the command, section by section. The usage printed by --help takes the
// sections marked for it; the manual page takes them all, with the keys, the menus and the
// rest that only a manual has room for.
enum class Shown { Both, ManualOnly };

struct Entry {
    const char* term;
    const char* text;
};

struct Section {
    const char* title;  // the manual prints it in capitals; the usage prints it with a colon
    Shown shown;
    bool titledInUsage;  // the usage's first section follows its first line untitled
    std::vector<const char*> paragraphs;
    std::vector<Entry> entries;
};

const char* const kSynopsis = "vorn [OPTION]... [GAME_DIR]";
const char* const kSummary = "general knowledge quiz in French";

const std::vector<Section>& sections() {
    static const std::vector<Section> all = {
        {"Description",
         Shown::Both,
         false,
         {"V.O.R.N. VOZID is a general knowledge quiz in French. After an intro video and a title "
          "screen, play three levels of ten multiple-choice questions, each answered within ten "
          "seconds; answer all thirty right and a sudden-death bonus level of thirty questions "
          "opens. The ten best players enter a table of high scores, and a game in progress can "
          "be saved to one of four slots.",
          "GAME_DIR is a game folder: the questions (dB/), pictures (image/), music and sounds "
          "(son/), videos (video/), the rules (vorn.hlp) and the saves (save/). The game plays the "
          "folder named, or else its working directory. Installed, the command vorn plays the "
          "player's own game folder, ~/.local/share/vorn, which it prepares at every start: links "
          "to the installed content, and a save/ folder made once and never touched again."},
         {}},
        {"Options",
         Shown::Both,
         true,
         {},
         {{"-h, --help", "Print the usage and exit."},
          {"--version", "Print the version and the licence, and exit."},
          {"--",
           "End of the options: what follows is the game folder, even if it starts with a "
           "hyphen."}}},
        {"Keys",
         Shown::ManualOnly,
         true,
         {"The game answers the keyboard, the mouse or a touch screen, and any game controller "
          "that SDL knows, plugged in before or while the game runs."},
         {{"Enter",
           "On the title screen, start a game; so does a click on its prompt, or the "
           "controller's Start button."},
          {"keypad 1 to 4",
           "Answer the question with that choice, within 9.85 seconds (Num Lock "
           "on; the digits of the main row do not answer). A click or a touch on "
           "a choice answers it too, and so do the controller's four face "
           "buttons, by their place: top 1, left 2, right 3, bottom 4."},
          {"F12", "Show the right answer; the question stays open."},
          {"F1", "Open the rules of the game in the desktop's browser."},
          {"Esc", "Quit at once."}}},
        {"Menus",
         Shown::ManualOnly,
         true,
         {"The menus stay open to use during a question, but its time runs on."},
         {{"fichier",
           "redémarrer (back to the intro), charger and sauvegarder (load and save "
           "the four slots; saving only during a level), Les meilleurs joueurs (the "
           "table of the ten best, which ends a game in progress), quitter."},
          {"options", "640x480 plein écran (full screen) and 640x480 fenêtré (in its window)."},
          {"aide", "règles du jeu (the rules, also F1) and à propos (about the game)."}}},
        {"Files",
         Shown::Both,
         true,
         {},
         {{"GAME_DIR/save/highscores.ini", "The table of the ten best players."},
          {"GAME_DIR/save/Sauvegardes.ini", "The four save slots."},
          {"~/.local/share/vorn/",
           "The player's own game folder, as the installed command makes "
           "it. Its save/ folder outlives upgrades and the removal of the "
           "game; delete the folder to forget the saves."},
          {"~/.cache/vorn/music/",
           "The music, synthesized once per tune and kept for later games "
           "(256 MB at most, the least recently played go first). "
           "Deleting it only costs a new synthesis."},
          {"~/.cache/vorn/vorn.html", "The copy of the rules that the desktop's browser opens."},
          {"/usr/share/vorn/",
           "The installed content, read-only (PREFIX/share/vorn when "
           "installed elsewhere)."},
          {"/usr/share/sounds/sf2/", "The General MIDI soundfont the music is played with."}}},
        {"Environment",
         Shown::Both,
         true,
         {},
         {{"XDG_DATA_HOME",
           "Where the installed command keeps the player's game folder, in "
           "place of ~/.local/share."},
          {"XDG_CACHE_HOME",
           "Where the music and the copy of the rules are kept, in place of "
           "~/.cache."},
          {"HOME", "The home folder those two default to."},
          {"QT_QPA_PLATFORM", "Qt's window system: xcb, wayland; offscreen shows nothing."},
          {"SDL_AUDIODRIVER",
           "SDL's sound output: pipewire, pulseaudio, alsa; dummy plays "
           "silence."}}},
        {"Exit status",
         Shown::ManualOnly,
         true,
         {"0 when the game is closed, and after --help and --version; 2 for a wrong command line "
          "or a game folder that does not exist."},
         {}},
        {"See also",
         Shown::ManualOnly,
         true,
         {"The rules of the game, in French: the menu aide, or F1 (the file vorn.hlp of the game "
          "folder)."},
         {}},
    };
    return all;
}

constexpr int kWidth = 79;       // the usage's lines
constexpr int kTextColumn = 24;  // where an entry's text starts
constexpr int kTermColumn = 2;

// Words of `text` laid in lines of at most kWidth columns, each starting with `indent` blanks.
QString wrapped(const QString& text, int indent, int firstLineUsed = -1) {
    QString out;
    int column = firstLineUsed >= 0 ? firstLineUsed : 0;
    bool lineEmpty = true;
    if (firstLineUsed < 0) {
        out += QString(indent, u' ');
        column = indent;
    }
    for (const QString& word : text.split(u' ', Qt::SkipEmptyParts)) {
        if (!lineEmpty && column + 1 + word.size() > kWidth) {
            out += u'\n' + QString(indent, u' ');
            column = indent;
            lineEmpty = true;
        }
        if (!lineEmpty) {
            out += u' ';
            ++column;
        }
        out += word;
        column += int(word.size());
        lineEmpty = false;
    }
    return out + u'\n';
}

QString roffLines(const QString& text) {
    return roffText(text) + u'\n';
}

}  // namespace

CommandLine parse(const QStringList& args) {
    CommandLine line;
    bool optionsEnded = false;
    bool folderGiven = false;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!optionsEnded && arg == u"--") {
            optionsEnded = true;
            continue;
        }
        // A lone "-" is a name, as for most commands.
        if (!optionsEnded && arg.startsWith(u'-') && arg.size() > 1) {
            if (arg == u"-h" || arg == u"--help") return {Action::Help, {}, {}};
            if (arg == u"--version") return {Action::Version, {}, {}};
            return {Action::Refuse, {}, QStringLiteral("unknown option %1").arg(arg)};
        }
        if (folderGiven)
            return {
                Action::Refuse,
                {},
                QStringLiteral("one game folder at most, not %1 and %2").arg(line.gameDir, arg)};
        line.gameDir = arg;
        folderGiven = true;
    }
    return line;
}

int answer(const CommandLine& line, QTextStream& out, QTextStream& err) {
    switch (line.action) {
        case Action::Help:
            out << usage();
            out.flush();
            return 0;
        case Action::Version:
            out << versionText();
            out.flush();
            return 0;
        case Action::Refuse:
            err << "vorn: " << line.error << "\n" << usage();
            err.flush();
            return kUsageStatus;
        case Action::Play:
            break;
    }
    return 0;
}

QString usage() {
    QString text = QStringLiteral("Usage: %1\n").arg(QLatin1String(kSynopsis));
    for (const Section& section : sections()) {
        if (section.shown != Shown::Both) continue;
        if (section.titledInUsage)
            text += u'\n' + QString::fromUtf8(section.title) + QStringLiteral(":\n");
        for (const char* paragraph : section.paragraphs)
            text += u'\n' + wrapped(QString::fromUtf8(paragraph), 0);
        for (const Entry& entry : section.entries) {
            const QString term = QString(kTermColumn, u' ') + QString::fromUtf8(entry.term);
            if (term.size() + 2 <= kTextColumn)
                text += term + QString(kTextColumn - term.size(), u' ') +
                        wrapped(QString::fromUtf8(entry.text), kTextColumn, kTextColumn);
            else
                text += term + u'\n' + wrapped(QString::fromUtf8(entry.text), kTextColumn);
        }
    }
    return text;
}

QString versionText() {
    // The copyright line below is text the program prints, not this file's own: reuse, which
    // checks every file's licence, is told to pass over it.
    // REUSE-IgnoreStart
    return QStringLiteral(
               "vorn (V.O.R.N. VOZID) %1\n"
               "Copyright %2 The V.O.R.N. VOZID authors\n"
               "The program is free software under the GNU GPL, version 3 or later\n"
               "(GPL-3.0-or-later); the questions, pictures, music, sounds, videos and rules\n"
               "of the game are under Creative Commons BY-SA 4.0 (CC-BY-SA-4.0).\n"
               "There is NO WARRANTY, to the extent permitted by law.\n")
        .arg(QLatin1String(release::version), QLatin1String(release::date).left(4));
    // REUSE-IgnoreEnd
}

QString roffText(const QString& text) {
    QString out;
    out.reserve(text.size());
    bool lineStart = true;
    for (const uint c : text.toUcs4()) {
        if (lineStart && (c == U'.' || c == U'\'')) out += QStringLiteral("\\&");
        if (c == U'\\')
            out += QStringLiteral("\\e");
        else if (c == U'-')
            out += QStringLiteral("\\-");
        else if (c > 0x7e)
            out += QStringLiteral("\\[u%1]").arg(
                QString::number(c, 16).toUpper().rightJustified(4, u'0'));
        else
            out += QChar(char16_t(c));
        lineStart = c == U'\n';
    }
    return out;
}

QString manualPage() {
    QString page;
    page += QStringLiteral(
        ".\\\" The manual page of vorn, written by vorn-manual from the description of the\n"
        ".\\\" command line that --help prints too (app/commandline.cpp).\n");
    page += QStringLiteral(".TH VORN 6 %1 \"vorn %2\" \"Games\"\n")
                .arg(QLatin1String(release::date), QLatin1String(release::version));
    page += QStringLiteral(".SH NAME\nvorn \\- %1\n").arg(roffText(QLatin1String(kSummary)));
    page += QStringLiteral(".SH SYNOPSIS\n.B vorn\n[\\fIOPTION\\fR]... [\\fIGAME_DIR\\fR]\n");
    for (const Section& section : sections()) {
        page += QStringLiteral(".SH ") + QString::fromUtf8(section.title).toUpper() + u'\n';
        bool first = true;
        for (const char* paragraph : section.paragraphs) {
            if (!first) page += QStringLiteral(".PP\n");
            page += roffLines(QString::fromUtf8(paragraph));
            first = false;
        }
        for (const Entry& entry : section.entries)
            page += QStringLiteral(".TP\n.B ") + roffLines(QString::fromUtf8(entry.term)) +
                    roffLines(QString::fromUtf8(entry.text));
    }
    // The version text without its first line, the version, which is in the page's title.
    QStringList lines = versionText().split(u'\n', Qt::SkipEmptyParts);
    page += QStringLiteral(".SH COPYRIGHT\n") + roffLines(lines.value(1)) +
            QStringLiteral(".PP\n") + roffLines(lines.mid(2).join(u' '));
    return page;
}

}  // namespace vorn::cli
