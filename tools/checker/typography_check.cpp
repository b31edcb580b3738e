#include "tools/checker/typography_check.h"

namespace vorn::check {

namespace {

const QString kBefore = QStringLiteral("?!:;»");
const QString kAfter = QStringLiteral("«");

bool isDigit(const QString& text, qsizetype at) {
    return at >= 0 && at < text.size() && text[at].isDigit();
}

// Three digits at `at`, and no fourth.
bool isThousands(const QString& text, qsizetype at) {
    return isDigit(text, at) && isDigit(text, at + 1) && isDigit(text, at + 2) &&
           !isDigit(text, at + 3);
}

}  // namespace

bool isBreakingSpace(QChar c) {
    return c.isSpace() && c != QChar(0x00A0) && c != QChar(0x202F) && c != QChar(0x2007);
}

QStringList typographyFaults(const QString& text) {
    QStringList faults;
    auto add = [&faults](const QString& fault) {
        if (!faults.contains(fault)) faults.append(fault);
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isBreakingSpace(text[i])) continue;
        // The marks beside this run of spaces.
        qsizetype next = i;
        while (next < text.size() && text[next].isSpace()) ++next;
        qsizetype previous = i - 1;
        while (previous >= 0 && text[previous].isSpace()) --previous;
        if (next < text.size() && kBefore.contains(text[next]))
            add(QStringLiteral("a plain space before \"%1\"").arg(text[next]));
        if (previous >= 0 && kAfter.contains(text[previous]))
            add(QStringLiteral("a plain space after \"%1\"").arg(text[previous]));
        // A group of exactly three digits after a number: its thousands. The fault names the
        // whole number.
        if (isDigit(text, i - 1) && isThousands(text, i + 1)) {
            qsizetype start = i - 1;
            while (isDigit(text, start - 1) ||
                   (isDigit(text, start - 2) && text[start - 1].isSpace()))
                --start;
            qsizetype end = i + 4;
            while (end < text.size() && text[end].isSpace() && isThousands(text, end + 1)) end += 4;
            add(QStringLiteral("a plain space inside the number \"%1\"")
                    .arg(text.mid(start, end - start)));
        }
    }
    return faults;
}

QString withFrenchSpacing(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        if (!text[i].isSpace()) {
            out += text[i++];
            continue;
        }
        // A run of spaces: beside a mark or inside a number it becomes one no-break space.
        qsizetype end = i;
        bool breaking = false;
        for (; end < text.size() && text[end].isSpace(); ++end) breaking = breaking || isBreakingSpace(text[end]);
        const bool beforeMark = end < text.size() && kBefore.contains(text[end]);
        const bool afterMark = i > 0 && kAfter.contains(text[i - 1]);
        const bool inNumber = end == i + 1 && isDigit(text, i - 1) && isThousands(text, end);
        if (breaking && (beforeMark || afterMark || inNumber))
            out += beforeMark && text[end] == u':' ? QChar(0x00A0) : QChar(0x202F);
        else
            out += text.mid(i, end - i);
        i = end;
    }
    return out;
}

}  // namespace vorn::check
