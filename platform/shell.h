// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Opening a document with the desktop's default application. The result is not looked at.

#include <QString>
#include <QStringList>

namespace vorn {

class Shell {
  public:
    virtual ~Shell() = default;
    // Opens `file`, relative to the working directory.
    virtual void open(const QString& file) = 0;
};

// Hands documents to the desktop. Desktops choose the application by the file name's
// extension, so an HTML document under another name (the rules, "vorn.hlp") is handed over as a
// copy named ".html".
class DesktopShell : public Shell {
  public:
    void open(const QString& file) override;
};

// Remembers what was asked to open instead of opening it (tests and the script runner).
class RecordingShell : public Shell {
  public:
    void open(const QString& file) override { opened_.append(file); }
    QStringList take() { return std::exchange(opened_, {}); }

  private:
    QStringList opened_;
};

// The file to hand to the desktop for `file`: the file itself, or for an HTML document whose
// name does not say so, a copy named after it with ".html" in `copyDir`, rewritten whenever the
// document has changed. Empty when `file` does not exist (or no copy can be written).
QString documentForDesktop(const QString& file, const QString& copyDir);

}  // namespace vorn
