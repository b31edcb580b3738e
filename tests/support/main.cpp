// Test entry: one offscreen QApplication for the whole run.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("SDL_AUDIODRIVER", "dummy");
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("V.O.R.N. VOZID"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
