// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tools/pack/packfolder.h"

#include "core/pack.h"
#include "platform/database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace vorn::packtool {

namespace {

const QString kDatabase = pack::file(pack::databaseDirectory);
const QString kTable = pack::file(pack::questionTable);

std::runtime_error failure(const QString& message) {
    return std::runtime_error(message.toStdString());
}

// Moves `from` over `to` in one step (the old file stays whole until the new one is complete).
void replaceFile(const QString& from, const QString& to) {
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(from).toStdString(),
                            QFile::encodeName(to).toStdString(), error);
    if (error) {
        QFile::remove(from);
        throw failure(
            QStringLiteral("cannot write %1: %2").arg(to, QString::fromStdString(error.message())));
    }
}

}  // namespace

FolderKind folderKind(const QString& dir) {
    const QFileInfo info(dir);
    if (!info.exists()) return FolderKind::Missing;
    if (!info.isDir()) return FolderKind::Other;
    const QDir folder(dir);
    if (folder.isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        return FolderKind::Empty;
    if (findTableFile(folder.filePath(kDatabase), kTable).status != TableFile::Status::Missing)
        return FolderKind::Pack;
    return FolderKind::Other;
}

QString defaultPack(const QString& toolDir) {
    for (const QString& candidate : {QDir(toolDir).filePath(QStringLiteral("game")), toolDir})
        if (folderKind(candidate) == FolderKind::Pack) return QDir::cleanPath(candidate);
    return {};
}

QStringList missingMedia(const QString& pack) {
    QStringList missing;
    const QDir dir(pack);
    for (const QString& file : pack::mediaFiles())
        if (!QFileInfo(dir.filePath(file)).isFile()) missing << file;
    return missing;
}

std::vector<bank::Question> readPackQuestions(const QString& pack) {
    const QString dir = QDir(pack).filePath(kDatabase);
    const TableFile table = findTableFile(dir, kTable);
    if (table.status != TableFile::Status::Found)
        throw failure(QStringLiteral("%1: no single question table file").arg(dir));
    const QString path = QDir(dir).filePath(table.name);
    const QuestionTableRead read = readQuestionFile(path);
    if (!read.error.isEmpty()) throw failure(path + QStringLiteral(": ") + read.error);
    std::vector<bank::Question> questions;
    int row = 0;
    for (const QuestionRow& r : read.rows)
        questions.push_back(
            bank::Question{r.code, r.enonce, r.r1, r.r2, r.r3, r.r4, r.Theme, r.brText, ++row});
    return questions;
}

PackWriting writePack(const QString& from, const QString& dir,
                      const std::vector<bank::Question>& questions) {
    const QDir target(dir);
    const QDir source(from);
    for (const QString& folder : {kDatabase, pack::file(pack::saveDirectory)})
        if (!target.mkpath(folder))
            throw failure(QStringLiteral("cannot make the folder %1").arg(target.filePath(folder)));

    // The table first, beside the old one, under the name the game finds it by.
    const QString dbDir = target.filePath(kDatabase);
    const TableFile existing = findTableFile(dbDir, kTable);
    if (existing.status == TableFile::Status::Ambiguous)
        throw failure(QStringLiteral("%1 holds several files that may be the question table (%2): "
                                     "remove all but one")
                          .arg(dbDir, existing.matches.join(QStringLiteral(", "))));
    const QString tablePath = QDir(dbDir).filePath(existing.status == TableFile::Status::Found
                                                       ? existing.name
                                                       : kTable + QStringLiteral(".db"));
    const QString partial = tablePath + QStringLiteral(".part");
    try {
        bank::writeTable(partial, questions);
    } catch (...) {
        QFile::remove(partial);
        throw;
    }
    replaceFile(partial, tablePath);

    PackWriting writing;
    for (const QString& file : pack::mediaFiles()) {
        const QString to = target.filePath(file);
        if (QFileInfo::exists(to)) {
            ++writing.kept;
            continue;
        }
        if (!target.mkpath(QFileInfo(file).path()))
            throw failure(QStringLiteral("cannot make the folder for %1").arg(to));
        const QString copy = to + QStringLiteral(".part");
        QFile::remove(copy);
        if (!QFile::copy(source.filePath(file), copy))
            throw failure(QStringLiteral("cannot copy %1 to %2").arg(source.filePath(file), to));
        replaceFile(copy, to);
        ++writing.copied;
    }
    return writing;
}

bool sameFolder(const QString& a, const QString& b) {
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

}  // namespace vorn::packtool
