// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// vorn-pack's commands: template, import and check. The program is a thin layer over this, so
// that the tests run the very same commands.

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace vorn::packtool {

// Exit statuses.
constexpr int kDone = 0;
constexpr int kRefused = 1;  // faults in the table or the pack, a folder not to be written
constexpr int kUsage = 2;    // a wrong command line, a file that cannot be read

// `args` without the program's name. `toolDir` is where the program lives: the default pack is
// looked for there. Reports go to `out`, command-line errors to `err`.
int runPackTool(const QStringList& args, const QString& toolDir, QTextStream& out,
                QTextStream& err);

}  // namespace vorn::packtool
