// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The screens as a screen reader reads them. Each screen lists its texts once, in reading order
// (describeForReading), and says what happens as it happens (announce); the main window's
// SceneReading puts the texts of the screens on show into the accessible tree of its view and
// takes them out when a screen leaves, and speaks the announcements of the screens on show only.

#include "platform/accessibility.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <map>
#include <vector>

class QGraphicsItem;
class QGraphicsView;

namespace vorn {

class Screen;

struct Reading {
    QAccessible::Role role = QAccessible::StaticText;
    // The text as it is read now (read through the screen's own elements).
    std::function<QString()> text;
    // The element it stands for: its place, and whether it shows (a text whose element is hidden
    // is not read).
    const QGraphicsItem* element = nullptr;
    // Shown or not, when that is not its element's visibility.
    std::function<bool()> shown;
    // Has the keyboard focus (an edit box).
    std::function<bool()> focused;
    // What an edit box holds.
    std::function<QString()> value;
};

// Sets the texts of `screen` as a screen reader reads them, in reading order.
void describeForReading(Screen& screen, std::vector<Reading> readings);
// Speaks `text` at once through the screen reader, if `screen` is on show.
void announce(const Screen& screen, const QString& text);

class SceneReading : public QObject {
    Q_OBJECT

  public:
    // Reads the screens shown in `view`'s scene; lives as long as the scene.
    explicit SceneReading(QGraphicsView& view);
    ~SceneReading() override;

    // A screen came on show / left: its texts join / leave the tree.
    void screenShown(Screen& screen);
    void screenLeft(const Screen& screen);
    void announce(const Screen& screen, const QString& text);

    // Takes the texts of a screen that is being destroyed out of the tree.
    void forget(const Screen* screen);

    AccessibleView& accessible() { return accessible_; }
    // The reading of the scene that shows `screen`, if any.
    static SceneReading* of(const Screen& screen);

  private:
    AccessibleView accessible_;
    std::map<const Screen*, int> shown_;   // the screens on show and their nodes
    const Screen* lastSpeaker_ = nullptr;  // the screen of the announcement in the tree
};

// A screen's list, kept with it (and forgotten by the tree when the screen goes).
class ScreenReadings : public QObject {
    Q_OBJECT

  public:
    explicit ScreenReadings(Screen& screen);
    ~ScreenReadings() override;
    std::vector<Reading> readings;
    QPointer<SceneReading> shownIn;

  private:
    Screen& screen_;
};

// The words a screen reader says for a text: the screens' texts as they show, without the
// blanks around them.
QString spoken(const QString& text);

}  // namespace vorn
