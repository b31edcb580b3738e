// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/folderwatch.h"

#include "core/pack.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>

namespace vorn::test {

std::map<QString, QByteArray> filesOutsideSave(const QString& dir) {
    std::map<QString, QByteArray> files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QString relative = QDir(dir).relativeFilePath(it.filePath());
        if (relative.startsWith(QLatin1String(pack::saveDirectory) + u'/')) continue;
        QFile f(it.filePath());
        if (f.open(QIODevice::ReadOnly))
            files[relative] = QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
    }
    return files;
}

QStringList changesOutsideSave(const std::map<QString, QByteArray>& before,
                               const std::map<QString, QByteArray>& after) {
    QStringList changes;
    for (const auto& [name, digest] : after)
        if (!before.count(name) || before.at(name) != digest)
            changes << QStringLiteral("%1 was written").arg(name);
    for (const auto& [name, digest] : before)
        if (!after.count(name)) changes << QStringLiteral("%1 was deleted").arg(name);
    return changes;
}

}  // namespace vorn::test
