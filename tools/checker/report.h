#pragma once
// What the content checker found: one line a fault, naming the file (and the row or frame).

#include <QString>
#include <QStringList>

namespace vorn::check {

class Report {
public:
    void fail(const QString& file, const QString& message) { faults_.append(file + QStringLiteral(": ") + message); }
    bool ok() const { return faults_.isEmpty(); }
    const QStringList& faults() const { return faults_; }

private:
    QStringList faults_;
};

}  // namespace vorn::check
