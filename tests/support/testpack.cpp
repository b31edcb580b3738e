// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/testpack.h"

#include "platform/database.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <stdexcept>

namespace vorn::test {

namespace {

// The pack's media are made once for the build, by the vorn-testpack tool, whenever the tool
// (and so what it writes) changes; every test process copies them.
QString masterPack() {
    const QString path = QStringLiteral(VORN_TESTPACK_DIR);
    if (!QFileInfo(path + QStringLiteral("/complete")).exists())
        throw std::runtime_error("no test pack in " VORN_TESTPACK_DIR
                                 ": build the testpack target");
    return path;
}

// A plain copy: QFile::copy syncs every file to the disk, which tests do not need.
void copyFile(const QString& from, const QString& to) {
    QFile in(from), out(to);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot copy the test pack");
    out.write(in.readAll());
}

void copyTree(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    QDir target(to);
    while (it.hasNext()) {
        it.next();
        const QString relative = QDir(from).relativeFilePath(it.filePath());
        if (it.fileInfo().isDir())
            target.mkpath(relative);
        else if (it.fileName() != u"complete")
            copyFile(it.filePath(), target.filePath(relative));
    }
}

}  // namespace

int rightAnswer(const QString& code) {
    return 1 + code.mid(2).toInt() % 4;
}

int wrongAnswer(const QString& code) {
    return rightAnswer(code) % 4 + 1;
}

QString keypad(int n) {
    return QStringLiteral("KP%1").arg(n);
}

TestPack::TestPack() : dir_(std::make_unique<QTemporaryDir>()) {
    copyTree(masterPack(), dir_->path());
    writeTable({});
}

TestPack::~TestPack() = default;

QString TestPack::dir() const {
    return dir_->path();
}

QString TestPack::path(const QString& relative) const {
    return QDir(dir_->path()).filePath(relative);
}

void TestPack::remove(const QString& relative) {
    const QString p = path(relative);
    if (QFileInfo(p).isDir())
        QDir(p).removeRecursively();
    else
        QFile::remove(p);
}

void TestPack::write(const QString& relative, const QByteArray& bytes) {
    QFile file(path(relative));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write test file");
    file.write(bytes);
}

void TestPack::writeTable(const TableOptions& options) {
    QDir(dir()).mkpath(QStringLiteral("dB"));
    const QString file = path(options.file);
    QFile::remove(file);
    std::vector<QuestionRow> rows;
    for (int level = 1; level <= 4; ++level)
        for (char letter = 'a'; letter <= 'f'; ++letter)
            for (int n = 1; n <= 19; ++n) {
                const QString code =
                    QStringLiteral("%1%2%3").arg(level).arg(QLatin1Char(letter)).arg(n);
                if (options.keep && !options.keep(code)) continue;
                QVariant br;
                if (options.withBr) {
                    br = options.br ? options.br(code) : QVariant(rightAnswer(code));
                    // A real or a text as it is; anything else as the integer it reads as.
                    if (br.typeId() != QMetaType::Double && br.typeId() != QMetaType::QString)
                        br = QVariant(br.toLongLong());
                }
                rows.push_back({code,
                                QStringLiteral("%1 %2 ?").arg(options.question, code),
                                QStringLiteral("Réponse 1 de %1").arg(code),
                                QStringLiteral("Réponse 2 de %1").arg(code),
                                QStringLiteral("Réponse 3 de %1").arg(code),
                                QStringLiteral("Réponse 4 de %1").arg(code),
                                QStringLiteral("Thème %1").arg(QLatin1Char(letter)),
                                br,
                                {}});
            }
    QuestionTableLayout layout;
    layout.table = options.table;
    layout.brColumn = options.withBr ? std::optional<QString>(options.brColumnName) : std::nullopt;
    writeQuestionFile(file, rows, layout);
}

}  // namespace vorn::test
