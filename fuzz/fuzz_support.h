// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the fuzz targets share: a scratch folder for the readers that take a file name, and a
// check that stops the run on a broken rule.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace vorn::fuzz {

// The input as bytes.
QByteArray bytesOf(const std::uint8_t* data, std::size_t size);

// A folder of this process's own, made at the first call (in memory when /dev/shm allows) and
// removed at exit.
const QString& scratchDirectory();

// Writes the input to `relativePath` under the scratch folder (making its folders) and returns
// the file's path. Aborts when it cannot: the target would test nothing.
QString writeScratchFile(const QString& relativePath, const QByteArray& bytes);

// Aborts with the message when `condition` is false: libFuzzer keeps the input as a crash.
void require(bool condition, const char* what);

}  // namespace vorn::fuzz
