// vorn-check [GAME_DIR]: checks a content folder (the current directory by default) and prints
// one line a fault. Exit status 0 when everything is in order, 1 otherwise.

#include "tools/checker/media_check.h"
#include "tools/checker/questions_check.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);  // the fonts measure texts
    const QStringList args = QGuiApplication::arguments();
    if (args.size() > 2 || (args.size() == 2 && args[1].startsWith(u'-'))) {
        std::fputs("usage: vorn-check [GAME_DIR]\n", stderr);
        return 2;
    }
    const QString dir = args.size() == 2 ? args[1] : QStringLiteral(".");
    vorn::check::Report report;
    vorn::check::checkQuestions(dir, report);
    vorn::check::checkMedia(dir, report);
    for (const QString& fault : report.faults()) std::printf("%s\n", qPrintable(fault));
    if (report.ok()) std::printf("content OK: %s\n", qPrintable(dir));
    return report.ok() ? 0 : 1;
}
