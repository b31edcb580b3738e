// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fuzz/fuzz_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>

#include <unistd.h>

namespace vorn::fuzz {

namespace {

void removeScratch() {
    QDir(scratchDirectory()).removeRecursively();
}

}  // namespace

QByteArray bytesOf(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

const QString& scratchDirectory() {
    static const QString directory = [] {
        const QByteArray base = ::access("/dev/shm", W_OK) == 0 ? QByteArrayLiteral("/dev/shm")
                                                                : QDir::tempPath().toLocal8Bit();
        QByteArray pattern = base + "/vorn-fuzz-XXXXXX";
        if (!::mkdtemp(pattern.data())) {
            std::fprintf(stderr, "fuzz: cannot make a scratch folder under %s\n", base.constData());
            std::abort();
        }
        return QString::fromLocal8Bit(pattern);
    }();
    static const bool cleanup = std::atexit(removeScratch) == 0;
    (void)cleanup;
    return directory;
}

QString writeScratchFile(const QString& relativePath, const QByteArray& bytes) {
    const QString path = scratchDirectory() + u'/' + relativePath;
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "fuzz: cannot write %s\n", qPrintable(path));
        std::abort();
    }
    return path;
}

void require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "fuzz: broken rule: %s\n", what);
    std::abort();
}

}  // namespace vorn::fuzz
