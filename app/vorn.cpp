// The program: the application titled "V.O.R.N. VOZID", its main window, the message loop.

#include "app/main.h"
#include "platform/platform.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vorn"));
    QApplication::setApplicationDisplayName(QStringLiteral("V.O.R.N. VOZID"));
    vorn::DesktopPlatform desktop;
    vorn::Tprincipal principal(desktop.platform());
    principal.show();
    // Where the window system sends no activation (no window manager), being shown counts as
    // the first activation.
    QTimer::singleShot(0, &principal, [&principal] { principal.activateFirstTime(); });
    return QApplication::exec();
}
