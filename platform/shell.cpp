// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

namespace vorn {

namespace {

bool namedAsHtml(const QFileInfo& info) {
    const QString ext = info.suffix().toLower();
    return ext == u"html" || ext == u"htm";
}

// An HTML document starts with its doctype or its html element, after a byte-order mark, blanks
// and comments (such as a licence header).
bool looksLikeHtml(const QByteArray& bytes) {
    QByteArray start = bytes.left(4096);
    if (start.startsWith("\xEF\xBB\xBF")) start.remove(0, 3);
    start = start.trimmed().toLower();
    while (start.startsWith("<!--")) {
        const qsizetype end = start.indexOf("-->", 4);
        if (end < 0) return false;
        start = start.mid(end + 3).trimmed();
    }
    return start.startsWith("<!doctype html") || start.startsWith("<html");
}

}  // namespace

QString documentForDesktop(const QString& file, const QString& copyDir) {
    const QFileInfo info(file);
    if (!info.isFile()) return {};
    if (namedAsHtml(info)) return info.absoluteFilePath();
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = in.readAll();
    if (!looksLikeHtml(bytes)) return info.absoluteFilePath();

    if (!QDir().mkpath(copyDir)) return {};
    const QString copy =
        QDir(copyDir).absoluteFilePath(info.completeBaseName() + QStringLiteral(".html"));
    QFile existing(copy);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes) return copy;
    existing.close();
    QSaveFile out(copy);  // a viewer never sees half a document
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        return {};
    return copy;
}

void DesktopShell::open(const QString& file) {
    const QString document =
        documentForDesktop(file, QStandardPaths::writableLocation(QStandardPaths::CacheLocation));
    if (document.isEmpty()) return;
    QDesktopServices::openUrl(QUrl::fromLocalFile(document));
}

}  // namespace vorn
