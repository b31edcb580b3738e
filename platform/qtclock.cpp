// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qtclock.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QThread>
#include <QTimer>

namespace vorn {

QtClock::QtClock(EventGuard& guard) : Clock(guard) {
    elapsed_.start();
}

QtClock::~QtClock() {
    for (auto& [id, call] : calls_) delete call.timer;
}

TimeOfDay QtClock::timeOfDayUtc() {
    const QTime t = QDateTime::currentDateTimeUtc().time();
    return TimeOfDay{t.hour(), t.minute(), t.second(), t.msec()};
}

void QtClock::processMessages() {
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void QtClock::sleep(std::int64_t ms) {
    if (ms <= 0) return;
    if (!QCoreApplication::instance()) {
        QThread::msleep(static_cast<unsigned long>(ms));
        return;
    }
    // The window system is served while the game is held: paint, expose and the window
    // manager's pings are handled; key and mouse input waits in its queue, and the game's own
    // timers and notices are put off until the hold ends.
    ++holding_;
    const QDeadlineTimer deadline(ms, Qt::PreciseTimer);
    QTimer wake;  // ends the wait for events at the deadline
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    wake.start(static_cast<int>(ms));
    while (!deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                        QEventLoop::WaitForMoreEvents);
    --holding_;
    if (holding_ == 0) rearmHeldCalls();
}

std::uint64_t QtClock::callLater(std::int64_t delayMs, std::function<void()> call) {
    const auto id = ++next_;
    auto* timer = new QTimer(&owner_);
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer, &QTimer::timeout, &owner_, [this, id] { fire(id); });
    calls_.emplace(id, Call{timer, std::move(call)});
    timer->start(static_cast<int>(std::max<std::int64_t>(0, delayMs)));
    return id;
}

void QtClock::fire(std::uint64_t id) {
    auto it = calls_.find(id);
    if (it == calls_.end()) return;
    if (holding_ > 0) {
        held_.push_back(id);
        return;
    }
    Call call = std::move(it->second);
    calls_.erase(it);
    call.timer->deleteLater();
    call.fn();
}

void QtClock::rearmHeldCalls() {
    // In the order they fell due; each runs as soon as the message loop goes on.
    for (const std::uint64_t id : std::exchange(held_, {}))
        if (auto it = calls_.find(id); it != calls_.end()) it->second.timer->start(0);
}

void QtClock::cancel(std::uint64_t id) {
    auto it = calls_.find(id);
    if (it == calls_.end()) return;
    it->second.timer->stop();
    it->second.timer->deleteLater();
    calls_.erase(it);
}

}  // namespace vorn
