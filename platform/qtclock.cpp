#include "platform/qtclock.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QThread>
#include <QTimer>

namespace vorn {

QtClock::QtClock(EventGuard& guard) : Clock(guard) { elapsed_.start(); }

QtClock::~QtClock() {
    for (auto& [id, timer] : calls_) delete timer;
}

TimeOfDay QtClock::timeOfDayUtc() {
    const QTime t = QDateTime::currentDateTimeUtc().time();
    return TimeOfDay{t.hour(), t.minute(), t.second(), t.msec()};
}

void QtClock::processMessages() {
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void QtClock::sleep(std::int64_t ms) {
    if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
}

std::uint64_t QtClock::callLater(std::int64_t delayMs, std::function<void()> call) {
    const auto id = ++next_;
    auto* timer = new QTimer(&owner_);
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer, &QTimer::timeout, &owner_, [this, id, call = std::move(call)] {
        auto it = calls_.find(id);
        if (it == calls_.end()) return;
        it->second->deleteLater();
        calls_.erase(it);
        call();
    });
    calls_.emplace(id, timer);
    timer->start(static_cast<int>(std::max<std::int64_t>(0, delayMs)));
    return id;
}

void QtClock::cancel(std::uint64_t id) {
    auto it = calls_.find(id);
    if (it == calls_.end()) return;
    it->second->stop();
    it->second->deleteLater();
    calls_.erase(it);
}

}  // namespace vorn
