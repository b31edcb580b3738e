// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The start-up reference: the least a Qt program does to put a window on the screen. A main
// window of the game's size, with a menu bar and a white client area, under the title
// "vorn-bench bare window". The benchmark times it from its start to its client area showing.

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("vorn-bench bare window"));
    window.menuBar()->addMenu(QStringLiteral("fichier"));
    auto* client = new QWidget(&window);
    client->setAutoFillBackground(true);
    QPalette palette = client->palette();
    palette.setColor(QPalette::Window, Qt::white);
    client->setPalette(palette);
    client->setFixedSize(632, 434);
    window.setCentralWidget(client);
    window.show();
    return app.exec();
}
