// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/clock.h"

#include "platform/errors.h"

namespace vorn {

TimeOfDay TimeOfDay::fromMilliseconds(std::int64_t ms) {
    constexpr std::int64_t day = 24LL * 3600 * 1000;
    ms %= day;
    if (ms < 0) ms += day;
    TimeOfDay t;
    t.millisecond = static_cast<int>(ms % 1000);
    t.second = static_cast<int>(ms / 1000 % 60);
    t.minute = static_cast<int>(ms / 60000 % 60);
    t.hour = static_cast<int>(ms / 3600000);
    return t;
}

Timer::Timer(Clock& clock, int intervalMs, std::function<void()> onTimer)
    : clock_(clock), interval_(intervalMs), onTimer_(std::move(onTimer)) {}

Timer::~Timer() {
    *alive_ = false;
    unschedule();
}

void Timer::setEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (enabled_)
        schedule();
    else
        unschedule();
}

void Timer::setInterval(int intervalMs) {
    if (intervalMs == interval_) return;
    interval_ = intervalMs;
    if (enabled_) {
        unschedule();
        schedule();
    }
}

void Timer::schedule() {
    if (interval_ <= 0) return;  // a zero interval never fires, as with the toolkit's timers
    auto alive = alive_;
    pending_ = clock_.callLater(interval_, [this, alive] {
        if (*alive) tick();
    });
}

void Timer::unschedule() {
    if (pending_ != 0) clock_.cancel(pending_);
    pending_ = 0;
}

void Timer::tick() {
    pending_ = 0;
    if (!enabled_) return;
    schedule();
    // The handler may disable or even release this timer: nothing here touches it afterwards.
    auto handler = onTimer_;
    clock_.guard().run([&handler] {
        if (handler) handler();
    });
}

}  // namespace vorn
