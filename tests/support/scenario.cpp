#include "support/scenario.h"

#include <QRegularExpression>

namespace vorn::test {

QString value(const Dump& dump, const QString& name) {
    auto it = dump.find(name);
    return it == dump.end() ? QStringLiteral("<absent>") : it->second;
}

QString widgetField(const Dump& dump, const QString& widget, const QString& field) {
    const QString line = value(dump, QStringLiteral("widget ") + widget);
    // Fields are key=value, a quoted text may hold blanks and escaped quotes.
    const QRegularExpression re(QStringLiteral("(?:^| )%1=(\"(?:[^\"\\\\]|\\\\.)*\"|\\S*)").arg(field));
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

QStringList codes(const Dump& dump) {
    return value(dump, QStringLiteral("codes")).split(u' ', Qt::SkipEmptyParts);
}

QString currentCode(const Dump& dump) {
    return widgetText(dump, QStringLiteral("Label1"));
}

Play& Play::operator<<(const QString& lines) {
    script_ += lines;
    if (!script_.endsWith(u'\n')) script_ += u'\n';
    return *this;
}

Dump Play::now() {
    output_ = runScript(pack_.dir(), script_ + QStringLiteral("dump\n"));
    return output_.dumps.empty() ? Dump{} : output_.dumps.back();
}

Play& Play::answer(bool right) {
    const QString code = currentCode(now());
    *this << QStringLiteral("key ") + keypad(right ? rightAnswer(code) : wrongAnswer(code));
    return *this;
}

}  // namespace vorn::test
