// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The clock of the real program: Qt timers, the UTC wall clock and an event loop that sleeps
// until the next event, so waiting costs no CPU.

#include "platform/clock.h"

#include <QElapsedTimer>
#include <QObject>

#include <unordered_map>
#include <vector>

class QTimer;

namespace vorn {

class QtClock : public Clock {
  public:
    explicit QtClock(EventGuard& guard);
    ~QtClock() override;

    TimeOfDay timeOfDayUtc() override;
    std::int64_t nowMs() override { return elapsed_.elapsed(); }
    void processMessages() override;
    void sleep(std::int64_t ms) override;
    bool sleeping() const override { return holding_ > 0; }
    std::uint64_t callLater(std::int64_t delayMs, std::function<void()> call) override;
    void cancel(std::uint64_t id) override;

  private:
    struct Call {
        QTimer* timer;
        std::function<void()> fn;
    };
    void fire(std::uint64_t id);
    void rearmHeldCalls();

    QObject owner_;
    QElapsedTimer elapsed_;
    std::uint64_t next_ = 0;
    std::unordered_map<std::uint64_t, Call> calls_;
    int holding_ = 0;
    std::vector<std::uint64_t> held_;  // calls that fell due while a blocking play held the thread
};

}  // namespace vorn
