// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A small content pack for the scenario tests: tiny pictures, short sounds, one-second videos
// and a question table whose right answer follows from the code, so that a test can answer any
// drawn question right or wrong.

#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>

class QTemporaryDir;

namespace vorn::test {

// Lengths in the pack, in virtual milliseconds.
constexpr int kVideoMs = 1000;  // every video, the intro included
constexpr int kTuneMs = 3000;   // every tune
constexpr int kSoundMs = 200;   // juste.wav and faux.wav

// The right answer the pack's table gives a code: 1 + (the code's number mod 4).
int rightAnswer(const QString& code);
// A wrong answer for a code.
int wrongAnswer(const QString& code);

struct TableOptions {
    bool withBr = true;                        // false: the table has no br column
    std::function<bool(const QString&)> keep;  // codes to leave out of the table when false
    QString brColumnName = QStringLiteral("br");
    // The br stored for a code (an integer, a real or a text, as the variant holds it);
    // rightAnswer(code) when unset.
    std::function<QVariant(const QString&)> br;
    QString file = QStringLiteral("dB/questionnaire.db");  // replaced when it exists
    QString table = QStringLiteral("questionnaire");
    QString question = QStringLiteral("Question");  // the question text: "<question> <code> ?"
};

class TestPack {
  public:
    // A fresh copy of the pack in its own temporary folder.
    TestPack();
    ~TestPack();
    QString dir() const;
    QString path(const QString& relative) const;

    void remove(const QString& relative);
    void write(const QString& relative, const QByteArray& bytes);
    void writeTable(const TableOptions& options);

  private:
    std::unique_ptr<QTemporaryDir> dir_;
};

// The key name of the runner for answer n on the keypad ("KP3").
QString keypad(int n);

}  // namespace vorn::test
