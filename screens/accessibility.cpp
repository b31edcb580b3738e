// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "screens/accessibility.h"

#include "platform/screen.h"

#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsView>

namespace vorn {

namespace {

ScreenReadings* readingsOf(const Screen& screen) {
    return screen.findChild<ScreenReadings*>(QString(), Qt::FindDirectChildrenOnly);
}

}  // namespace

QString spoken(const QString& text) {
    return text.simplified();
}

void describeForReading(Screen& screen, std::vector<Reading> readings) {
    ScreenReadings* own = readingsOf(screen);
    if (!own) own = new ScreenReadings(screen);
    own->readings = std::move(readings);
}

void announce(const Screen& screen, const QString& text) {
    if (SceneReading* reading = SceneReading::of(screen)) reading->announce(screen, text);
}

ScreenReadings::ScreenReadings(Screen& screen) : QObject(&screen), screen_(screen) {}

ScreenReadings::~ScreenReadings() {
    // The screen is being destroyed: its texts leave the tree before they could be read.
    if (shownIn) shownIn->forget(&screen_);
}

SceneReading::SceneReading(QGraphicsView& view) : QObject(view.scene()), accessible_(view) {}

SceneReading::~SceneReading() = default;

SceneReading* SceneReading::of(const Screen& screen) {
    const ScreenReadings* own = readingsOf(screen);
    return own ? own->shownIn.data() : nullptr;
}

void SceneReading::screenShown(Screen& screen) {
    ScreenReadings* own = readingsOf(screen);
    if (!own || shown_.count(&screen)) return;
    std::vector<AccessibleView::Node> nodes;
    for (const Reading& r : own->readings) {
        AccessibleView::Node node;
        node.role = r.role;
        node.name = [text = r.text] { return spoken(text()); };
        const QGraphicsItem* element = r.element;
        if (r.shown)
            node.shown = r.shown;
        else if (element)
            node.shown = [element] { return element->isVisible(); };
        if (element) node.sceneBox = [element] { return element->sceneBoundingRect(); };
        node.focused = r.focused;
        node.value = r.value;
        nodes.push_back(std::move(node));
    }
    shown_[&screen] = accessible_.add(std::move(nodes));
    own->shownIn = this;
}

void SceneReading::screenLeft(const Screen& screen) {
    forget(&screen);
    if (ScreenReadings* own = readingsOf(screen)) own->shownIn = nullptr;
}

void SceneReading::forget(const Screen* screen) {
    const auto it = shown_.find(screen);
    if (it == shown_.end()) return;
    accessible_.remove(it->second);
    shown_.erase(it);
    if (lastSpeaker_ == screen) {
        accessible_.withdraw();
        lastSpeaker_ = nullptr;
    }
}

void SceneReading::announce(const Screen& screen, const QString& text) {
    if (!shown_.count(&screen)) return;  // a screen that has left says nothing more
    lastSpeaker_ = &screen;
    accessible_.announce(spoken(text));
}

}  // namespace vorn
