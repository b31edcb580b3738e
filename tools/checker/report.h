// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the content checker found: one line a fault, naming the file (and the row or frame), and
// one line a warning, for what the game plays as it is but a player or an author would want
// otherwise. Faults fail the check; warnings only tell.

#include <QString>
#include <QStringList>

namespace vorn::check {

class Report {
  public:
    void fail(const QString& file, const QString& message) {
        faults_.append(file + QStringLiteral(": ") + message);
    }
    void warn(const QString& file, const QString& message) {
        warnings_.append(file + QStringLiteral(": warning: ") + message);
    }
    bool ok() const { return faults_.isEmpty(); }
    const QStringList& faults() const { return faults_; }
    const QStringList& warnings() const { return warnings_; }
    // Every line to print: the faults, then the warnings.
    QStringList lines() const { return faults_ + warnings_; }

  private:
    QStringList faults_;
    QStringList warnings_;
};

// The last line of a check that found no fault: "content OK: DIR", with its count of warnings.
inline QString verdict(const Report& report, const QString& dir) {
    const auto n = report.warnings().size();
    if (n == 0) return QStringLiteral("content OK: ") + dir;
    return QStringLiteral("content OK: %1 (%2 %3)")
        .arg(dir)
        .arg(n)
        .arg(n == 1 ? "warning" : "warnings");
}

}  // namespace vorn::check
