#pragma once
// Running scripts through the script runner on a test pack, and reading its dumps.

#include "support/testpack.h"
#include "tools/script/scriptrunner.h"

#include <QString>

#include <map>

namespace vorn::test {

using Dump = std::map<QString, QString>;

// The value of `name` in a dump, or "<absent>".
QString value(const Dump& dump, const QString& name);
// The "text" field of a widget line ("widget numquest: visible=1 text=\"1/10\" ...").
QString widgetText(const Dump& dump, const QString& widget);
// A field of a widget line ("visible", "opaque", "picture", "enabled", "mode", ...).
QString widgetField(const Dump& dump, const QString& widget, const QString& field);
// The codes of the current list.
QStringList codes(const Dump& dump);
// The question code on screen (the hidden Label1).
QString currentCode(const Dump& dump);

// A script that answers the question on screen right or wrong: it needs the code, so scenario
// scripts are built step by step, running the script so far to read the code.
class Play {
public:
    explicit Play(const TestPack& pack) : pack_(pack) {}
    // Adds lines to the script.
    Play& operator<<(const QString& lines);
    // Runs the whole script so far and returns the last dump (a "dump" line is added).
    Dump now();
    // Adds a keypad answer to the question on screen: right or wrong.
    Play& answer(bool right);
    const ScriptOutput& output() const { return output_; }
    QString script() const { return script_; }

private:
    const TestPack& pack_;
    QString script_;
    ScriptOutput output_;
};

}  // namespace vorn::test
