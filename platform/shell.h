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

}  // namespace vorn
