// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Replays inputs through the fuzz targets without libFuzzer: the tests run every target over its
// checked-in corpus and regression inputs, so that a fault found once stays fixed.
//
//   vorn-fuzz-replay TARGET PATH...    every file of each PATH (folders walked, hidden files
//                                      skipped), in name order
//   vorn-fuzz-replay --list            the targets
//
// A crash or a broken rule aborts with the input's name printed just before; an input that takes
// longer than VORN_FUZZ_MAX_MS (5000 by default) fails the run like libFuzzer's -timeout.

#include "fuzz/fuzz_target.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace vorn::fuzz {

namespace {

std::map<std::string, TargetFunction>& targets() {
    static std::map<std::string, TargetFunction> all;
    return all;
}

// The files of `path`, in name order; empty with a message when it does not exist.
bool collect(const QString& path, QStringList& files) {
    const QFileInfo info(path);
    if (info.isFile()) {
        files.append(path);
        return true;
    }
    if (!info.isDir()) {
        std::fprintf(stderr, "vorn-fuzz-replay: %s: no such file or folder\n", qPrintable(path));
        return false;
    }
    QStringList found;
    QDirIterator it(path, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) found.append(it.next());
    found.sort();
    files.append(found);
    return true;
}

}  // namespace

bool registerTarget(const char* name, TargetFunction function) {
    targets()[name] = function;
    return true;
}

}  // namespace vorn::fuzz

int main(int argc, char** argv) {
    using namespace vorn::fuzz;
    if (argc == 2 && std::string(argv[1]) == "--list") {
        for (const auto& entry : targets()) std::printf("%s\n", entry.first.c_str());
        return 0;
    }
    if (argc < 3) {
        std::fprintf(stderr, "usage: vorn-fuzz-replay TARGET PATH... | --list\n");
        return 2;
    }
    const auto target = targets().find(argv[1]);
    if (target == targets().end()) {
        std::fprintf(stderr, "vorn-fuzz-replay: no target %s (--list names them)\n", argv[1]);
        return 2;
    }
    QStringList files;
    for (int i = 2; i < argc; ++i) {
        if (!collect(QString::fromLocal8Bit(argv[i]), files)) return 2;
    }
    if (files.isEmpty()) {
        std::fprintf(stderr, "vorn-fuzz-replay: no input to replay\n");
        return 2;
    }
    const qint64 maxMs = qEnvironmentVariableIsSet("VORN_FUZZ_MAX_MS")
                             ? qEnvironmentVariableIntValue("VORN_FUZZ_MAX_MS")
                             : 5000;
    QElapsedTimer total;
    total.start();
    qint64 slowestMs = -1;
    QString slowest;
    for (const QString& path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "vorn-fuzz-replay: cannot read %s\n", qPrintable(path));
            return 2;
        }
        const QByteArray bytes = file.readAll();
        std::fprintf(stderr, "%s\n", qPrintable(path));
        QElapsedTimer one;
        one.start();
        target->second(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                       static_cast<std::size_t>(bytes.size()));
        const qint64 ms = one.elapsed();
        if (ms > slowestMs) {
            slowestMs = ms;
            slowest = path;
        }
        if (ms > maxMs) {
            std::fprintf(stderr, "vorn-fuzz-replay: %s took %lld ms, more than %lld ms\n",
                         qPrintable(path), static_cast<long long>(ms),
                         static_cast<long long>(maxMs));
            return 1;
        }
    }
    std::printf("%s: %lld inputs in %lld ms, the slowest %lld ms (%s)\n", argv[1],
                static_cast<long long>(files.size()), static_cast<long long>(total.elapsed()),
                static_cast<long long>(slowestMs), qPrintable(QFileInfo(slowest).fileName()));
    return 0;
}
