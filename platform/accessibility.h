// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What a screen reader finds in a view whose content is drawn on a graphics scene: accessible
// objects standing for the texts of the scene, in reading order, and an announcer. Qt's AT-SPI
// bridge carries them to the desktop's accessibility bus; the names are read when a screen reader
// asks, so they always say what the scene shows.
//
// An announcement is spoken without the player asking: the announcer takes the text as its name
// and the accessible focus (a name change, then a focus event), which is what screen readers such
// as Orca speak. Two announcers take turns, so that a text said twice in a row is spoken again.

#include <QAccessible>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <vector>

class QAccessibleInterface;
class QGraphicsView;

namespace vorn {

class AccessibleNode;

class AccessibleView {
  public:
    // One text of the scene as a screen reader reads it.
    struct Node {
        QAccessible::Role role = QAccessible::StaticText;
        std::function<QString()> name;
        // Shown or not; always shown when empty. A hidden node stays in the tree, marked invisible.
        std::function<bool()> shown;
        // Where it is, in the scene's coordinates (an empty box when unknown).
        std::function<QRectF()> sceneBox;
        // Whether it has the keyboard focus (an edit box); never when empty.
        std::function<bool()> focused;
        // Its value (what an edit box holds); none when empty.
        std::function<QString()> value;
    };
    struct Seen {
        QAccessible::Role role;
        QString name;
    };

    // Stands for `view` to the accessibility framework for as long as it lives.
    explicit AccessibleView(QGraphicsView& view);
    ~AccessibleView();
    AccessibleView(const AccessibleView&) = delete;
    AccessibleView& operator=(const AccessibleView&) = delete;

    // Adds nodes after the present ones (reading order); returns their handle.
    int add(std::vector<Node> nodes);
    // Takes the nodes of `handle` out of the tree (a destroyed-object event for each).
    void remove(int handle);
    // Tells the screen reader of the names that have changed since it was last told.
    void refresh();
    // Speaks `text` (see above); an empty text is not announced.
    void announce(const QString& text);
    // Takes the last announcement back (what it spoke of has gone): the announcers are empty.
    void withdraw();

    // The nodes on show, in reading order, as a screen reader reads them now.
    std::vector<Seen> shownNodes() const;
    // The announcements made since the last call.
    QStringList takeAnnouncements();

    // --- for the view's accessible interface ---
    QGraphicsView& view() const { return view_; }
    int childCount() const;
    QAccessibleInterface* child(int index) const;
    int indexOfChild(const QAccessibleInterface* child) const;
    QAccessibleInterface* focusChild() const;
    // The view's accessible stand-in, if one was made for it.
    static AccessibleView* of(const QObject* view);

  private:
    std::vector<AccessibleNode*> ordered() const;

    QGraphicsView& view_;
    int nextHandle_ = 1;
    std::map<int, std::vector<AccessibleNode*>>
        groups_;  // by handle: handles grow in reading order
    AccessibleNode* announcers_[2] = {nullptr, nullptr};
    int nextAnnouncer_ = 0;
    QStringList announced_;
};

// A role's word in the runner's dump: "heading", "text", "edit", "button".
QString accessibleRoleWord(QAccessible::Role role);

}  // namespace vorn
