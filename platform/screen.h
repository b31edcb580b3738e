// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The base of every full-size screen: a 640 x 440 panel in the main window's scene, holding its
// layout's elements as members and listing them, in layout order, for the runner's dump.

#include "platform/element.h"

#include <QGraphicsWidget>

#include <functional>
#include <vector>

namespace vorn {

class Timer;

class Screen : public QGraphicsWidget {
  public:
    explicit Screen(QString layoutName);
    ~Screen() override;

    QString layoutName() const { return layoutName_; }

    struct Entry {
        QString name;
        std::function<QString()> describe;
    };
    const std::vector<Entry>& entries() const { return entries_; }

    // Stops the screen's timers and closes its media players; called when the screen is
    // destroyed, before its memory is released (which may happen later).
    virtual void shutdown() {}

    QRectF boundingRect() const override { return QRectF(0, 0, 640, 440); }

  protected:
    void expose(const Element& element);
    void expose(const QString& name, const Timer& timer);

  private:
    QString layoutName_;
    std::vector<Entry> entries_;
};

QString describeTimer(const Timer& timer);

}  // namespace vorn
