// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Time seam: the time of day (for the random generator), a monotonic "now", timers, one-shot
// calls and one round of the message loop for the nested waits. QtClock runs on the real event
// loop; VirtualClock moves only when told, so every rule of the game can be tested at once.

#include <QtGlobal>

#include <cstdint>
#include <functional>
#include <memory>

namespace vorn {

class EventGuard;

struct TimeOfDay {
    int hour = 0, minute = 0, second = 0, millisecond = 0;
    std::uint32_t millisecondsSinceMidnight() const {
        return static_cast<std::uint32_t>(((hour * 60 + minute) * 60 + second) * 1000 +
                                          millisecond);
    }
    static TimeOfDay fromMilliseconds(std::int64_t ms);
};

class Clock {
  public:
    explicit Clock(EventGuard& guard) : guard_(guard) {}
    virtual ~Clock() = default;
    Clock(const Clock&) = delete;
    Clock& operator=(const Clock&) = delete;

    virtual TimeOfDay timeOfDayUtc() = 0;
    virtual std::int64_t nowMs() = 0;
    // One round of the message loop: handles what is pending, or waits for the next event.
    virtual void processMessages() = 0;
    // Lets `ms` pass while a blocking play holds the thread (the pacing of a video interlude):
    // no handler of the game runs meanwhile (timers, notices and calls that fall due wait until
    // the hold is over) and key and mouse input stays queued, but the window system is still
    // served, so the window paints and answers the desktop.
    virtual void sleep(std::int64_t ms) = 0;
    // True inside a sleep.
    virtual bool sleeping() const = 0;

    // Runs `call` once, `delayMs` from now, on the user-interface thread. Returns an id for
    // cancel().
    virtual std::uint64_t callLater(std::int64_t delayMs, std::function<void()> call) = 0;
    virtual void cancel(std::uint64_t id) = 0;

    EventGuard& guard() { return guard_; }

  private:
    EventGuard& guard_;
};

// A toolkit-style timer: fires every `interval` ms while enabled; enabling it, or changing the
// interval while enabled, starts the count again. Its handler runs through the event guard.
class Timer {
  public:
    Timer(Clock& clock, int intervalMs, std::function<void()> onTimer = {});
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    void setEnabled(bool enabled);
    bool enabled() const { return enabled_; }
    void setInterval(int intervalMs);
    int interval() const { return interval_; }
    void setHandler(std::function<void()> onTimer) { onTimer_ = std::move(onTimer); }

  private:
    void schedule();
    void unschedule();
    void tick();

    Clock& clock_;
    int interval_;
    bool enabled_ = false;
    std::uint64_t pending_ = 0;
    std::function<void()> onTimer_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace vorn
