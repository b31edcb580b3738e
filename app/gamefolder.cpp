// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/gamefolder.h"

#include "app/commandline.h"

#include <QDir>
#include <QFileInfo>

namespace vorn {

std::optional<int> enterGameFolder(const QString& dir, QTextStream& err) {
    if (dir.isEmpty()) return std::nullopt;
    const QFileInfo info(dir);
    if (!info.isDir()) {
        err << "vorn: no game folder " << dir
            << (info.exists() ? " (it is a file, not a folder)" : " (it does not exist)") << "\n";
        return cli::kUsageStatus;
    }
    if (!QDir::setCurrent(dir)) {
        err << "vorn: cannot enter the game folder " << dir << "\n";
        return cli::kUsageStatus;
    }
    return std::nullopt;
}

}  // namespace vorn
