// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The About window: a top-level window of its own with a picture, the company line, the release
// line (the version and its date), four lines of credits, the last one the licences, and an "Ok"
// button. Whoever opens it disables the main window; closing it
// in any way (Ok, the title bar, the system menu) runs its FormClose, which gives the main window
// back.

#include <QWidget>

#include <functional>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace vorn {

class TForm1 : public QWidget {
    Q_OBJECT

  public:
    // `formClose` runs when the window closes, however it is closed.
    TForm1(QWidget* owner, std::function<void()> formClose);
    ~TForm1() override;

    void Button1Click();
    void FormClose();

    // The window's picture, drawn by the game (143 x 98, 24 bits a pixel).
    static QImage picture();
    // The release line: this build's version, and the month and year of its release.
    static QString releaseLine();

    QLabel* Image1;
    QLabel* Label1;
    QLabel* Label2;
    QPlainTextEdit* Memo1;
    QPushButton* Button1;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    std::function<void()> formClose_;
};

}  // namespace vorn
