#include "platform/shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

namespace vorn {

void DesktopShell::open(const QString& file) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QDir::current().absoluteFilePath(file)));
}

}  // namespace vorn
