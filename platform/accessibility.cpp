// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/accessibility.h"

#include <QAccessibleWidget>
#include <QElapsedTimer>
#include <QGraphicsView>
#include <QLoggingCategory>
#include <QWidget>
#include <QWindow>

namespace vorn {

// Each announcement with the moment it is made on the monotonic clock, in milliseconds: what a test
// on a real display compares with the moment a screen reader hears it
// (QT_LOGGING_RULES="vorn.accessibility.debug=true").
Q_LOGGING_CATEGORY(accessibilityLog, "vorn.accessibility", QtWarningMsg)

namespace {

// The views that have a stand-in, for the factory below.
std::map<const QObject*, AccessibleView*>& standIns() {
    static std::map<const QObject*, AccessibleView*> views;
    return views;
}

// The view as the accessibility framework sees it: a client area whose children are the scene's
// texts and the announcers rather than its scroll bars and viewport.
class AccessibleSceneView : public QAccessibleWidget {
  public:
    explicit AccessibleSceneView(QWidget* view) : QAccessibleWidget(view, QAccessible::Client) {}
    int childCount() const override {
        const AccessibleView* v = AccessibleView::of(object());
        return v ? v->childCount() : 0;
    }
    QAccessibleInterface* child(int index) const override {
        const AccessibleView* v = AccessibleView::of(object());
        return v ? v->child(index) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const AccessibleView* v = AccessibleView::of(object());
        return v ? v->indexOfChild(child) : -1;
    }
    QAccessibleInterface* focusChild() const override {
        const AccessibleView* v = AccessibleView::of(object());
        return v ? v->focusChild() : nullptr;
    }
    // The view is named after the screen on show (its first text, a heading), so that a screen
    // reader says where the keyboard is when the view takes the focus.
    QString text(QAccessible::Text t) const override {
        const AccessibleView* v = AccessibleView::of(object());
        if (t == QAccessible::Name && v) {
            const std::vector<AccessibleView::Seen> seen = v->shownNodes();
            if (!seen.empty()) return seen.front().name;
        }
        return QAccessibleWidget::text(t);
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int i = 0; i < childCount(); ++i)
            if (QAccessibleInterface* c = child(i);
                c && !c->state().invisible && c->rect().contains(x, y))
                return c;
        return nullptr;
    }
};

QAccessibleInterface* sceneViewFactory(const QString& className, QObject* object) {
    // The game's view may have no meta-object of its own: it is known by its base class and by
    // having a stand-in.
    if (className == QLatin1String("QGraphicsView") && AccessibleView::of(object))
        return new AccessibleSceneView(static_cast<QWidget*>(object));
    return nullptr;
}

}  // namespace

// One text of the scene (or an announcer) as an accessible object, child of the view.
class AccessibleNode : public QAccessibleInterface {
  public:
    AccessibleNode(const AccessibleView& owner, AccessibleView::Node node)
        : owner_(owner), node_(std::move(node)) {}

    bool isValid() const override { return true; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return owner_.view().window()->windowHandle(); }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(&owner_.view());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return name();
        if (t == QAccessible::Value && node_.value) return node_.value();
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QAccessible::Role role() const override { return node_.role; }
    QRect rect() const override {
        const QRectF box = node_.sceneBox ? node_.sceneBox() : QRectF();
        if (box.isEmpty()) return {};
        const QGraphicsView& view = owner_.view();
        const QRect inView = view.mapFromScene(box).boundingRect();
        return QRect(view.viewport()->mapToGlobal(inView.topLeft()), inView.size());
    }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.invisible = !shown();
        s.readOnly = node_.role != QAccessible::EditableText;
        s.focusable = announcer_ || node_.role == QAccessible::EditableText ||
                      node_.role == QAccessible::Button;
        s.focused = announcer_ ? focused_ : node_.focused && node_.focused();
        return s;
    }

    QString name() const { return node_.name ? node_.name() : announcement_; }
    bool shown() const {
        return announcer_ ? !announcement_.isEmpty() : !node_.shown || node_.shown();
    }
    bool focused() const { return state().focused; }

    // The name last told to the screen reader.
    QString told;
    // An announcer's own state.
    bool announcer_ = false;
    bool focused_ = false;
    QString announcement_;

  private:
    const AccessibleView& owner_;
    AccessibleView::Node node_;
};

AccessibleView::AccessibleView(QGraphicsView& view) : view_(view) {
    static const bool installed = [] {
        QAccessible::installFactory(sceneViewFactory);
        return true;
    }();
    (void)installed;
    standIns()[&view] = this;
    for (AccessibleNode*& a : announcers_) {
        a = new AccessibleNode(*this, Node{});
        a->announcer_ = true;
        QAccessible::registerAccessibleInterface(a);
    }
}

AccessibleView::~AccessibleView() {
    std::vector<int> handles;
    for (const auto& [handle, group] : groups_) handles.push_back(handle);
    for (int handle : handles) remove(handle);
    for (AccessibleNode* a : announcers_)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(a));
    standIns().erase(&view_);
}

AccessibleView* AccessibleView::of(const QObject* view) {
    const auto it = standIns().find(view);
    return it == standIns().end() ? nullptr : it->second;
}

int AccessibleView::add(std::vector<Node> nodes) {
    const int handle = nextHandle_++;
    std::vector<AccessibleNode*>& group = groups_[handle];
    for (Node& node : nodes) {
        auto* n = new AccessibleNode(*this, std::move(node));
        QAccessible::registerAccessibleInterface(n);
        group.push_back(n);
        n->told = n->name();
        QAccessibleEvent created(n, QAccessible::ObjectCreated);
        QAccessible::updateAccessibility(&created);
    }
    return handle;
}

void AccessibleView::remove(int handle) {
    const auto it = groups_.find(handle);
    if (it == groups_.end()) return;
    std::vector<AccessibleNode*> group = std::move(it->second);
    groups_.erase(it);
    for (AccessibleNode* n : group) {
        QAccessibleEvent destroyed(n, QAccessible::ObjectDestroyed);
        QAccessible::updateAccessibility(&destroyed);
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(n));
    }
}

std::vector<AccessibleNode*> AccessibleView::ordered() const {
    std::vector<AccessibleNode*> all;
    for (const auto& [handle, group] : groups_) all.insert(all.end(), group.begin(), group.end());
    return all;
}

void AccessibleView::refresh() {
    for (AccessibleNode* n : ordered()) {
        const QString now = n->name();
        if (now == n->told) continue;
        n->told = now;
        QAccessibleEvent changed(n, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&changed);
    }
}

void AccessibleView::announce(const QString& text) {
    if (text.isEmpty()) return;
    refresh();  // the tree says what the announcement speaks of
    announced_ << text;
    AccessibleNode* speaker = announcers_[nextAnnouncer_];
    AccessibleNode* other = announcers_[1 - nextAnnouncer_];
    nextAnnouncer_ = 1 - nextAnnouncer_;
    // The earlier announcement leaves the tree: only the last one is there to read again.
    other->focused_ = false;
    if (!other->announcement_.isEmpty()) {
        other->announcement_.clear();
        other->told.clear();
        QAccessibleEvent emptied(other, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&emptied);
    }
    speaker->announcement_ = text;
    speaker->told = text;
    speaker->focused_ = true;
    QAccessibleEvent named(speaker, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
    QAccessibleEvent focus(speaker, QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
    if (accessibilityLog().isDebugEnabled()) {
        QElapsedTimer now;
        now.start();
        qCDebug(accessibilityLog).noquote() << "announced" << now.msecsSinceReference() << text;
    }
}

void AccessibleView::withdraw() {
    for (AccessibleNode* a : announcers_) {
        a->focused_ = false;
        if (a->announcement_.isEmpty()) continue;
        a->announcement_.clear();
        a->told.clear();
        QAccessibleEvent emptied(a, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&emptied);
    }
}

std::vector<AccessibleView::Seen> AccessibleView::shownNodes() const {
    std::vector<Seen> seen;
    for (const AccessibleNode* n : ordered())
        if (n->shown()) seen.push_back({n->role(), n->name()});
    return seen;
}

QStringList AccessibleView::takeAnnouncements() {
    return std::exchange(announced_, {});
}

int AccessibleView::childCount() const {
    int count = 2;  // the announcers, last
    for (const auto& [handle, group] : groups_) count += static_cast<int>(group.size());
    return count;
}

QAccessibleInterface* AccessibleView::child(int index) const {
    if (index < 0) return nullptr;
    const std::vector<AccessibleNode*> all = ordered();
    if (index < static_cast<int>(all.size())) return all[static_cast<std::size_t>(index)];
    index -= static_cast<int>(all.size());
    return index < 2 ? announcers_[index] : nullptr;
}

int AccessibleView::indexOfChild(const QAccessibleInterface* child) const {
    const std::vector<AccessibleNode*> all = ordered();
    for (std::size_t i = 0; i < all.size(); ++i)
        if (all[i] == child) return static_cast<int>(i);
    for (int i = 0; i < 2; ++i)
        if (announcers_[i] == child) return static_cast<int>(all.size()) + i;
    return -1;
}

QAccessibleInterface* AccessibleView::focusChild() const {
    for (AccessibleNode* n : ordered())
        if (n->focused()) return n;
    for (AccessibleNode* a : announcers_)
        if (a->focused_) return a;
    return nullptr;
}

QString accessibleRoleWord(QAccessible::Role role) {
    switch (role) {
        case QAccessible::Heading:
            return QStringLiteral("heading");
        case QAccessible::EditableText:
            return QStringLiteral("edit");
        case QAccessible::Button:
            return QStringLiteral("button");
        case QAccessible::StaticText:
            return QStringLiteral("text");
        default:
            return QStringLiteral("other");
    }
}

}  // namespace vorn
