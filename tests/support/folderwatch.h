// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What a run of the game changed in its folder outside save/: the game writes its saves and
// nothing else.

#include <QString>
#include <QStringList>

#include <map>

namespace vorn::test {

// The folder's files outside save/, each with a digest of its content.
std::map<QString, QByteArray> filesOutsideSave(const QString& dir);

// "NAME was written" / "NAME was deleted" for every difference between two such snapshots.
QStringList changesOutsideSave(const std::map<QString, QByteArray>& before,
                               const std::map<QString, QByteArray>& after);

}  // namespace vorn::test
