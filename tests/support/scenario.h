// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Scenarios played through the script runner on a test pack. A scenario is a script whose lines
// may depend on what the game shows: a computed step sees the state at that moment (a dump is
// taken for it) and gives the next line, for example the keypad key of the right answer.

#include "support/printing.h"
#include "support/testpack.h"
#include "tools/script/scriptrunner.h"

#include <QString>

#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <variant>

namespace vorn {
class Tprincipal;
enum class VirtualMedia;
}  // namespace vorn

namespace vorn::test {

using Dump = std::map<QString, QString>;

// The value of `name` in a dump, or "<absent>".
QString value(const Dump& dump, const QString& name);
// A field of a widget line ("visible", "text", "opaque", "picture", "enabled", "mode", ...).
QString widgetField(const Dump& dump, const QString& widget, const QString& field);
QString widgetText(const Dump& dump, const QString& widget);
bool shown(const Dump& dump, const QString& widget);
// The codes of the current list.
QStringList codes(const Dump& dump);
// The question code on screen (the hidden Label1).
QString currentCode(const Dump& dump);

class Play {
  public:
    explicit Play(const TestPack& pack);

    // Fixed lines.
    Play& operator<<(const QString& lines);
    // A line computed from the state at this point of the script.
    Play& then(std::function<QString(const Dump&)> step);
    // The keypad key of the right (or a wrong) answer to the question on screen.
    Play& answer(bool right);
    // Answers `count` questions, each followed by the pause.
    Play& answers(int count, bool right);
    // A dump to look at after run(): returns its handle.
    int mark();
    // Plays through the sound backend instead of the simulated one (time stays virtual).
    Play& media(VirtualMedia media);
    // Called with the main window after every line of the script.
    Play& observe(std::function<void(Tprincipal&)> observer);

    // Runs the scenario. Returns the dump of a mark with at().
    const ScriptOutput& run();
    const Dump& at(int mark) const;
    // The place of a mark's dump among all the dumps of the output (computed steps take dumps
    // too): the dumps between two marks tell what happened between them.
    std::size_t dumpIndex(int mark) const;
    const ScriptOutput& output() const { return output_; }

  private:
    using Step = std::variant<QString, std::function<QString(const Dump&)>, int>;
    const TestPack& pack_;
    std::deque<Step> steps_;
    int marks_ = 0;
    std::map<int, std::size_t> markDumps_;
    ScriptOutput output_;
    std::function<void(Tprincipal&)> observer_;
    VirtualMedia media_;
};

constexpr int kPauseMs = 2500;
constexpr int kQuestionMs = 9850;

}  // namespace vorn::test
