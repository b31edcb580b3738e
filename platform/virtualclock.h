// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Virtual time for tests and the script runner: time moves only when told. Advancing fires due
// timers and media completions in time order; processMessages() delivers pending Qt events and,
// when nothing is left before the horizon, hands over to the idle handler (the script runner's
// next command) or, without one, jumps to the next due event. Every time-of-day reading moves
// time on by 1 ms unless the clock is held, so that loops waiting for the reading to change end.

#include "platform/clock.h"

#include <limits>
#include <vector>

namespace vorn {

class VirtualClock : public Clock {
  public:
    using Clock::Clock;

    TimeOfDay timeOfDayUtc() override;
    std::int64_t nowMs() override { return now_; }
    void processMessages() override;
    void sleep(std::int64_t ms) override;
    bool sleeping() const override { return false; }
    std::uint64_t callLater(std::int64_t delayMs, std::function<void()> call) override;
    void cancel(std::uint64_t id) override;

    // Sets the time-of-day reading from now on (it moves with virtual time).
    void setTimeOfDay(TimeOfDay t);
    // A held clock gives the same reading every time and does not move on at each reading.
    void hold(bool held);
    bool held() const { return held_; }
    // Called with the count of readings taken since the clock was held (tests use it to let go).
    void onHeldReading(std::function<void(std::uint64_t)> observer) {
        heldObserver_ = std::move(observer);
    }

    // Delivers everything due up to now + ms in time order, then stands at now + ms.
    void advance(std::int64_t ms);
    // processMessages() fires events only up to the horizon, then calls the idle handler.
    void setHorizon(std::int64_t t) { horizon_ = t; }
    std::int64_t horizon() const { return horizon_; }
    void setIdleHandler(std::function<void()> idle) { idle_ = std::move(idle); }

    std::size_t pendingCount() const { return calls_.size(); }

  private:
    struct Call {
        std::int64_t due;
        std::uint64_t id;
        std::function<void()> fn;
    };
    bool fireNextDueBy(std::int64_t limit);
    void deliverPostedEvents();

    std::int64_t now_ = 0;
    std::int64_t horizon_ = std::numeric_limits<std::int64_t>::max();
    std::int64_t dayBase_ = 0;  // time of day, in ms, at virtual time `nowAtBase_`
    std::int64_t nowAtBase_ = 0;
    bool held_ = false;
    std::int64_t heldReading_ = 0;
    std::uint64_t heldReadings_ = 0;
    std::function<void(std::uint64_t)> heldObserver_;
    std::uint64_t nextId_ = 0;
    std::vector<Call> calls_;
    std::int64_t lastFiredAt_ = -1;
    std::uint64_t firedAtLastInstant_ = 0;
    std::function<void()> idle_;
};

}  // namespace vorn
