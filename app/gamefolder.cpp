#include "app/gamefolder.h"

#include <QDir>
#include <QFileInfo>

namespace vorn {

std::optional<int> enterGameFolder(const QStringList& args, QTextStream& err) {
    constexpr int kUsageStatus = 2;
    if (args.size() > 2 || (args.size() == 2 && args[1].startsWith(u'-'))) {
        err << "usage: vorn [GAME_DIR]\n";
        return kUsageStatus;
    }
    if (args.size() < 2) return std::nullopt;
    const QString& dir = args[1];
    const QFileInfo info(dir);
    if (!info.isDir()) {
        err << "vorn: no game folder " << dir
            << (info.exists() ? " (it is a file, not a folder)" : " (it does not exist)") << "\n";
        return kUsageStatus;
    }
    if (!QDir::setCurrent(dir)) {
        err << "vorn: cannot enter the game folder " << dir << "\n";
        return kUsageStatus;
    }
    return std::nullopt;
}

}  // namespace vorn
