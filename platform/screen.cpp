// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/screen.h"

#include "platform/clock.h"

namespace vorn {

Screen::Screen(QString layoutName) : layoutName_(std::move(layoutName)) {
    setGeometry(0, 0, 640, 440);
    setMinimumSize(640, 440);
    setFlag(ItemClipsChildrenToShape, true);
}

Screen::~Screen() = default;

void Screen::expose(const Element& element) {
    const Element* e = &element;
    entries_.push_back({element.elementName(), [e] { return e->describe(); }});
}

void Screen::expose(const QString& name, const Timer& timer) {
    const Timer* t = &timer;
    entries_.push_back({name, [t] { return describeTimer(*t); }});
}

QString describeTimer(const Timer& timer) {
    return QStringLiteral("enabled=%1 interval=%2")
        .arg(timer.enabled() ? 1 : 0)
        .arg(timer.interval());
}

}  // namespace vorn
