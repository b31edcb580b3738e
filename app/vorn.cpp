// The program: the application titled "V.O.R.N. VOZID", its main window, the message loop.
// `vorn [DIR]` plays the content folder DIR (the working directory by default): the game reads
// every file relative to its working directory, so it moves there before anything is built.

#include "app/gamefolder.h"
#include "app/main.h"
#include "platform/platform.h"

#include <QApplication>
#include <QTextStream>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vorn"));
    // No display name: the desktop would append it to every window's caption (the About window's
    // among them), which the layouts give in full.
    // The installed menu entry, which names the window's icon on the desktop.
    QApplication::setDesktopFileName(QStringLiteral(VORN_APP_ID));
    {
        QTextStream err(stderr);
        if (const auto status = vorn::enterGameFolder(QApplication::arguments(), err))
            return *status;
    }
    vorn::DesktopPlatform desktop;
    vorn::Tprincipal principal(desktop.platform());
    principal.show();
    // Where the window system sends no activation (no window manager), being shown counts as
    // the first activation.
    QTimer::singleShot(0, &principal, [&principal] { principal.activateFirstTime(); });
    return QApplication::exec();
}
