// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/scenario.h"

#include "platform/platform.h"

#include <QDir>
#include <QRegularExpression>
#include <QTextStream>

#include <stdexcept>

namespace vorn::test {

QString value(const Dump& dump, const QString& name) {
    auto it = dump.find(name);
    return it == dump.end() ? QStringLiteral("<absent>") : it->second;
}

QString widgetField(const Dump& dump, const QString& widget, const QString& field) {
    const QString line = value(dump, QStringLiteral("widget ") + widget);
    const QRegularExpression re(
        QStringLiteral("(?:^| )%1=(\"(?:[^\"\\\\]|\\\\.)*\"|\\S*)").arg(field));
    const auto m = re.match(line);
    if (!m.hasMatch()) return QStringLiteral("<absent>");
    QString v = m.captured(1);
    if (v.startsWith(u'"')) {
        v = v.mid(1, v.size() - 2);
        v.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
        v.replace(QStringLiteral("\\\""), QStringLiteral("\""));
        v.replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
    }
    return v;
}

QString widgetText(const Dump& dump, const QString& widget) {
    return widgetField(dump, widget, QStringLiteral("text"));
}

bool shown(const Dump& dump, const QString& widget) {
    return widgetField(dump, widget, QStringLiteral("visible")) == u"1";
}

QStringList codes(const Dump& dump) {
    return value(dump, QStringLiteral("codes")).split(u' ', Qt::SkipEmptyParts);
}

QString currentCode(const Dump& dump) {
    return widgetText(dump, QStringLiteral("Label1"));
}

Play::Play(const TestPack& pack) : pack_(pack), media_(VirtualMedia::Simulated) {}

Play& Play::media(VirtualMedia media) {
    media_ = media;
    return *this;
}

Play& Play::observe(std::function<void(Tprincipal&)> observer) {
    observer_ = std::move(observer);
    return *this;
}

Play& Play::operator<<(const QString& lines) {
    for (const QString& line : lines.split(u'\n', Qt::SkipEmptyParts)) steps_.emplace_back(line);
    return *this;
}

Play& Play::then(std::function<QString(const Dump&)> step) {
    steps_.emplace_back(std::move(step));
    return *this;
}

Play& Play::answer(bool right) {
    return then([right](const Dump& d) {
        const QString code = currentCode(d);
        return QStringLiteral("key ") + keypad(right ? rightAnswer(code) : wrongAnswer(code));
    });
}

Play& Play::answers(int count, bool right) {
    for (int i = 0; i < count; ++i) {
        answer(right);
        *this << QStringLiteral("wait %1").arg(kPauseMs);
    }
    return *this;
}

int Play::mark() {
    const int handle = ++marks_;
    steps_.emplace_back(handle);
    return handle;
}

const ScriptOutput& Play::run() {
    // Lines are handed out one at a time; a computed step first asks for a dump, then reads it.
    std::deque<Step> steps = steps_;
    QString text;
    QTextStream out(&text);
    std::size_t dumpsSoFar = 0;
    bool awaitingDump = false;
    auto lastDump = [&]() {
        out.flush();
        auto dumps = parseDumps(text);
        return dumps.empty() ? Dump{} : dumps.back();
    };
    auto next = [&]() -> std::optional<QString> {
        if (steps.empty()) return std::nullopt;
        Step& step = steps.front();
        if (auto* line = std::get_if<QString>(&step)) {
            QString l = *line;
            steps.pop_front();
            return l;
        }
        if (auto* handle = std::get_if<int>(&step)) {
            markDumps_[*handle] = dumpsSoFar++;
            steps.pop_front();
            return QStringLiteral("dump");
        }
        auto& compute = std::get<std::function<QString(const Dump&)>>(step);
        if (!awaitingDump) {
            awaitingDump = true;
            ++dumpsSoFar;
            return QStringLiteral("dump");
        }
        awaitingDump = false;
        const QString line = compute(lastDump());
        steps.pop_front();
        return line;
    };
    const QString previous = QDir::currentPath();
    QDir::setCurrent(pack_.dir());
    {
        ScriptRunner runner(next, out, media_);
        if (observer_) runner.setObserver(observer_);
        output_.status = runner.run();
    }
    QDir::setCurrent(previous);
    out.flush();
    output_.text = text;
    output_.dumps = parseDumps(text);
    return output_;
}

std::size_t Play::dumpIndex(int mark) const {
    auto it = markDumps_.find(mark);
    if (it == markDumps_.end()) throw std::out_of_range("no such mark");
    return it->second;
}

const Dump& Play::at(int mark) const {
    auto it = markDumps_.find(mark);
    if (it == markDumps_.end() || it->second >= output_.dumps.size())
        throw std::out_of_range("no dump for this mark (did the script end early?)");
    return output_.dumps[it->second];
}

}  // namespace vorn::test
