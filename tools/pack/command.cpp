// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tools/pack/command.h"

#include "core/pack.h"
#include "core/questions.h"
#include "tools/checker/media_check.h"
#include "tools/checker/questions_check.h"
#include "tools/pack/packfolder.h"
#include "tools/pack/questiontable.h"
#include "tools/pack/sheet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryDir>

#include <exception>

namespace vorn::packtool {

namespace {

QString usageText() {
    return QStringLiteral(
               "usage:\n"
               "  vorn-pack template FILE.csv            writes an empty question table to fill "
               "in\n"
               "  vorn-pack import [--fill] [--force] [--from PACK] TABLE.csv DIR\n"
               "                                         makes a game folder in DIR from the "
               "table\n"
               "  vorn-pack check [DIR]                  checks a game folder (the current one by "
               "default)\n"
               "\n"
               "The table has one question a row, below a row of column names, in these columns:\n"
               "  %1\n"
               "The right choice is its number, 1 to 4, or its text as written among the choices. "
               "The level\n"
               "is 1, 2 or 3, or 4 for the bonus level. Save it from a spreadsheet as CSV (comma, "
               "semicolon or\n"
               "tab separated, UTF-8 or the Windows character set) or write it as a .tsv text "
               "file.\n"
               "\n"
               "The game draws each level's questions from %2 themes of %3 questions: a game "
               "folder "
               "needs %4\n"
               "questions on each of the %5 levels, %6 in all. Each theme of a level gets a letter "
               "a to f, in\n"
               "the order the table first names it; its questions are numbered 1 to %3 in the "
               "table's order.\n"
               "\n"
               "  --fill        complete the levels and themes that lack questions from the "
               "default ones,\n"
               "                leaving out those that ask what one of the table's questions "
               "asks\n"
               "  --force       write into DIR although it holds files and no game folder (files "
               "already\n"
               "                there are kept; only the question table of a game folder is "
               "replaced)\n"
               "  --from PACK   the game folder whose pictures, music, videos and rules are copied "
               "(and\n"
               "                whose questions --fill takes); by default the one beside "
               "vorn-pack\n")
        .arg(headerRow().join(QStringLiteral(", ")), QString::number(kThemesPerLevel),
             QString::number(kNumbersPerTheme), QString::number(kCodesPerLevel),
             QString::number(kLevels), QString::number(kLevels * kCodesPerLevel));
}

struct Options {
    bool fill = false;
    bool force = false;
    QString from;
    QStringList positional;
};

// Splits the arguments; false (with a message) on an unknown option.
bool parseOptions(const QStringList& args, Options& options, QTextStream& err) {
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == u"--fill") {
            options.fill = true;
        } else if (a == u"--force") {
            options.force = true;
        } else if (a == u"--from" && i + 1 < args.size()) {
            options.from = args[++i];
        } else if (a.startsWith(QStringLiteral("--from="))) {
            options.from = a.mid(7);
        } else if (a.startsWith(u'-') && a.size() > 1) {
            err << "vorn-pack: unknown option " << a << "\n";
            return false;
        } else {
            options.positional << a;
        }
    }
    return true;
}

int usage(QTextStream& err) {
    err << usageText();
    return kUsage;
}

int writeTemplate(const Options& options, QTextStream& out, QTextStream& err) {
    if (options.positional.size() != 1 || options.fill || !options.from.isEmpty())
        return usage(err);
    const QString path = options.positional[0];
    if (QFileInfo::exists(path) && !options.force) {
        out << path << " already exists: give another name, or add --force to replace it\n";
        return kRefused;
    }
    const QString suffix = QFileInfo(path).suffix().toLower();
    const QChar separator = suffix == u"tsv" || suffix == u"tab" || suffix == u"txt" ? u'\t' : u',';
    QStringList header;
    for (const QString& name : headerRow()) header << sheetField(name, separator);
    QSaveFile file(path);
    // The byte-order mark tells spreadsheets that the file is UTF-8.
    if (!file.open(QIODevice::WriteOnly) ||
        file.write("\xEF\xBB\xBF" + header.join(separator).toUtf8() + "\r\n") < 0 ||
        !file.commit()) {
        err << "vorn-pack: cannot write " << path << ": " << file.errorString() << "\n";
        return kUsage;
    }
    out << "Wrote " << path << ": one question a row below the column names ("
        << separatorName(separator) << " separated).\n"
        << "Then: vorn-pack import " << path << " DIR\n";
    return kDone;
}

// The checker's faults on the staged table, told by the table's rows.
QStringList tableRowsOf(const QStringList& faults, const PackPlan& plan) {
    static const QRegularExpression codeOfFault(QStringLiteral("\\(([1-9][a-z][0-9]+)\\): (.*)$"));
    QStringList told;
    for (const QString& fault : faults) {
        const auto m = codeOfFault.match(fault);
        if (!m.hasMatch()) {
            told << fault;
            continue;
        }
        const auto row = plan.rowOfCode.find(m.captured(1));
        told << (row != plan.rowOfCode.end()
                     ? QStringLiteral("row %1: %2").arg(QString::number(row->second), m.captured(2))
                     : QStringLiteral("default question %1: %2").arg(m.captured(1), m.captured(2)));
    }
    return told;
}

int import(const Options& options, const QString& toolDir, QTextStream& out, QTextStream& err) {
    if (options.positional.size() != 2) return usage(err);
    const QString tablePath = options.positional[0];
    const QString dir = options.positional[1];
    const QString tableName = QFileInfo(tablePath).fileName();

    // Where the media come from.
    const QString from = options.from.isEmpty() ? defaultPack(toolDir) : options.from;
    if (from.isEmpty()) {
        err << "vorn-pack: no game folder found beside vorn-pack (in " << toolDir << "/game or "
            << toolDir << "): name one with --from PACK\n";
        return kUsage;
    }
    if (folderKind(from) != FolderKind::Pack) {
        err << "vorn-pack: " << from << " is not a game folder (it has no "
            << pack::databaseDirectory << "/" << pack::questionTable << ".db)\n";
        return kUsage;
    }
    if (const QStringList missing = missingMedia(from); !missing.isEmpty()) {
        err << "vorn-pack: the game folder " << from << " lacks "
            << missing.join(QStringLiteral(", ")) << "\n";
        return kUsage;
    }

    // Where the pack goes.
    const FolderKind kind = folderKind(dir);
    if (QFileInfo(dir).exists() && !QFileInfo(dir).isDir()) {
        out << dir << " is a file, not a folder: nothing written\n";
        return kRefused;
    }
    if (kind != FolderKind::Missing && sameFolder(dir, from)) {
        out << dir << " is the game folder the pictures and music come from: write the new pack "
            << "into another folder\n";
        return kRefused;
    }
    if (kind == FolderKind::Other && !options.force) {
        out << dir << " holds files and no game folder: nothing written. Choose a new or empty "
            << "folder, or add --force to add the game's files to it (nothing there is removed)\n";
        return kRefused;
    }

    // The table.
    QFile file(tablePath);
    if (!file.open(QIODevice::ReadOnly)) {
        err << "vorn-pack: cannot read " << tablePath << ": " << file.errorString() << "\n";
        return kUsage;
    }
    const TableReading reading = readQuestionTable(file.readAll());
    out << "Reading " << tableName << ": " << reading.encoding << ", "
        << separatorName(reading.separator) << " separated"
        << (reading.header ? ", column names in row 1" : "") << ".\n";
    for (const QString& note : reading.notes) out << tableName << ": note: " << note << "\n";
    if (!reading.faults.isEmpty()) {
        for (const QString& fault : reading.faults) out << tableName << ": " << fault << "\n";
        out << reading.faults.size() << (reading.faults.size() == 1 ? " fault" : " faults")
            << " in " << tableName << ": nothing written.\n";
        return kRefused;
    }
    PackPlan plan = planCodes(reading.entries);
    if (!plan.faults.isEmpty()) {
        for (const QString& fault : plan.faults) out << tableName << ": " << fault << "\n";
        out << "Nothing written.\n";
        return kRefused;
    }
    for (const QString& line : plan.summary) out << "  " << line << "\n";
    if (!plan.missingCodes.isEmpty()) {
        if (!options.fill) {
            for (const QString& line : plan.shortage) out << line << "\n";
            out << "Add the missing questions, or run again with --fill to complete them from "
                << "the default questions. Nothing written.\n";
            return kRefused;
        }
        std::vector<bank::Question> defaults;
        try {
            defaults = readPackQuestions(from);
        } catch (const std::exception& e) {
            err << "vorn-pack: " << e.what() << "\n";
            return kUsage;
        }
        const Filling filling = fillFromBank(plan, defaults);
        int skipped = 0;
        for (const auto& [level, count] : filling.added) {
            out << "  level " << level << ": " << count << " questions from the default ones";
            if (const auto it = filling.skipped.find(level); it != filling.skipped.end())
                out << " (" << it->second << " left out, others taken in their place)";
            out << "\n";
        }
        for (const auto& [level, count] : filling.skipped) skipped += count;
        if (skipped > 0)
            out << "  " << skipped
                << (skipped == 1 ? " default question was left out: it asks"
                                 : " default questions were left out: each asks")
                << " what one of your own questions asks (the same text, or the same right answer "
                   "in the same theme), so that a game could have posed it twice\n";
        if (!plan.missingCodes.isEmpty()) {
            out << "The default questions lack " << plan.missingCodes.join(QStringLiteral(" "))
                << ": nothing written.\n";
            return kRefused;
        }
    }

    // The whole table through the game's checker before anything is written.
    QTemporaryDir stage;
    try {
        QDir(stage.path()).mkpath(pack::file(pack::databaseDirectory));
        bank::writeTable(QDir(stage.path())
                             .filePath(pack::file(pack::databaseDirectory) + u'/' +
                                       pack::file(pack::questionTable) + QStringLiteral(".db")),
                         plan.questions);
    } catch (const std::exception& e) {
        err << "vorn-pack: " << e.what() << "\n";
        return kUsage;
    }
    check::Report report;
    check::checkQuestions(stage.path(), report);
    if (!report.ok()) {
        for (const QString& fault : tableRowsOf(report.faults(), plan))
            out << tableName << ": " << fault << "\n";
        out << "Nothing written.\n";
        return kRefused;
    }

    PackWriting writing;
    try {
        writing = writePack(from, dir, plan.questions);
    } catch (const std::exception& e) {
        err << "vorn-pack: " << e.what() << "\n";
        return kRefused;
    }
    // What the game plays as it is but the author may want otherwise.
    for (const QString& warning : tableRowsOf(report.warnings(), plan))
        out << tableName << ": " << warning << "\n";
    out << "Wrote " << dir << ": " << plan.questions.size() << " questions; pictures, music and "
        << "videos from " << from;
    if (writing.kept > 0) out << " (" << writing.kept << " files already there kept)";
    out << ".\n";
    const QString game = QDir(from).filePath(QStringLiteral("vorn"));
    out << "Check it: vorn-pack check " << dir << "\n"
        << "Play it:  " << (QFileInfo(game).isExecutable() ? game : QStringLiteral("vorn")) << " "
        << dir << "\n";
    return kDone;
}

int check(const Options& options, QTextStream& out, QTextStream& err) {
    if (options.positional.size() > 1 || options.fill || options.force || !options.from.isEmpty())
        return usage(err);
    const QString dir = options.positional.isEmpty() ? QStringLiteral(".") : options.positional[0];
    if (!QFileInfo(dir).isDir()) {
        err << "vorn-pack: no folder " << dir << "\n";
        return kUsage;
    }
    vorn::check::Report report;
    vorn::check::checkQuestions(dir, report);
    vorn::check::checkMedia(dir, report);
    for (const QString& line : report.lines()) out << line << "\n";
    if (report.ok()) out << vorn::check::verdict(report, dir) << "\n";
    return report.ok() ? kDone : kRefused;
}

}  // namespace

int runPackTool(const QStringList& args, const QString& toolDir, QTextStream& out,
                QTextStream& err) {
    if (args.isEmpty() || args[0] == u"--help" || args[0] == u"-h" || args[0] == u"help") {
        (args.isEmpty() ? err : out) << usageText();
        return args.isEmpty() ? kUsage : kDone;
    }
    Options options;
    if (!parseOptions(args.mid(1), options, err)) return kUsage;
    const QString& command = args[0];
    if (command == u"template") return writeTemplate(options, out, err);
    if (command == u"import") return import(options, toolDir, out, err);
    if (command == u"check") return check(options, out, err);
    err << "vorn-pack: unknown command " << command << "\n";
    return usage(err);
}

}  // namespace vorn::packtool
