// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/virtualclock.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace vorn {

namespace {
// A held clock is let go after this many readings, so that a script that holds it across a
// question draw cannot hang the runner.
constexpr std::uint64_t kHeldReadingsLimit = 20'000'000;
// More calls than this at one instant of virtual time are a call that keeps scheduling itself
// with no delay: stop with an error rather than hang.
constexpr std::uint64_t kCallsAtOneInstantLimit = 100'000;
}  // namespace

TimeOfDay VirtualClock::timeOfDayUtc() {
    if (held_) {
        ++heldReadings_;
        if (heldObserver_) heldObserver_(heldReadings_);
        if (held_ && heldReadings_ >= kHeldReadingsLimit) {
            std::fputs("clock: the held clock was let go: the game waits for the time to move\n",
                       stderr);
            hold(false);
        }
        if (held_) return TimeOfDay::fromMilliseconds(heldReading_);
    }
    const auto reading = TimeOfDay::fromMilliseconds(dayBase_ + (now_ - nowAtBase_));
    now_ += 1;
    return reading;
}

void VirtualClock::setTimeOfDay(TimeOfDay t) {
    dayBase_ = t.millisecondsSinceMidnight();
    nowAtBase_ = now_;
    heldReading_ = dayBase_;
}

void VirtualClock::hold(bool held) {
    if (held && !held_) {
        heldReading_ = dayBase_ + (now_ - nowAtBase_);
        heldReadings_ = 0;
    }
    if (!held && held_) {
        // The reading goes on from where it was held.
        dayBase_ = heldReading_;
        nowAtBase_ = now_;
    }
    held_ = held;
}

void VirtualClock::sleep(std::int64_t ms) {
    if (ms > 0) now_ += ms;
}

std::uint64_t VirtualClock::callLater(std::int64_t delayMs, std::function<void()> call) {
    const auto id = ++nextId_;
    calls_.push_back(Call{now_ + std::max<std::int64_t>(0, delayMs), id, std::move(call)});
    return id;
}

void VirtualClock::cancel(std::uint64_t id) {
    std::erase_if(calls_, [id](const Call& c) { return c.id == id; });
}

bool VirtualClock::fireNextDueBy(std::int64_t limit) {
    // Earliest due first; among equals, the one scheduled first.
    auto it = std::min_element(calls_.begin(), calls_.end(), [](const Call& a, const Call& b) {
        return a.due != b.due ? a.due < b.due : a.id < b.id;
    });
    if (it == calls_.end() || it->due > limit) return false;
    now_ = std::max(now_, it->due);
    if (now_ != lastFiredAt_) {
        lastFiredAt_ = now_;
        firedAtLastInstant_ = 0;
    }
    if (++firedAtLastInstant_ > kCallsAtOneInstantLimit)
        throw std::logic_error("calls repeat at one instant of virtual time without end");
    auto fn = std::move(it->fn);
    calls_.erase(it);
    fn();
    return true;
}

void VirtualClock::deliverPostedEvents() {
    if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void VirtualClock::advance(std::int64_t ms) {
    const auto target = now_ + std::max<std::int64_t>(0, ms);
    deliverPostedEvents();
    while (fireNextDueBy(target)) deliverPostedEvents();
    now_ = std::max(now_, target);
}

void VirtualClock::processMessages() {
    deliverPostedEvents();
    if (fireNextDueBy(horizon_)) return;
    if (idle_) {
        now_ = std::max(now_, std::min(horizon_, std::numeric_limits<std::int64_t>::max() / 2));
        idle_();
        return;
    }
    if (!fireNextDueBy(std::numeric_limits<std::int64_t>::max()))
        throw std::logic_error("the game waits for an event that nothing will bring");
}

}  // namespace vorn
