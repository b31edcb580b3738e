// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Errors travel as one exception type carrying the text the player sees. Every entry from the
// event loop (key, timer, menu command, media notice, button click) runs through EventGuard,
// which shows the message and lets the message loop go on. No exception crosses Qt code.

#include <QString>

#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

namespace vorn {

class Error : public std::runtime_error {
  public:
    explicit Error(const QString& message);
    QString message() const { return message_; }

  private:
    QString message_;
};

// Thrown to unwind a sequence whose wait was ended by a teardown (restart, load, quit...).
// It is not an error: the guard swallows it without a message.
struct Abandoned {};

// The text of the message box for an error: the message, followed by "." when its last
// character sorts after "." in the Windows-1252 byte order.
QString messageBoxText(const QString& message);

class ErrorPresenter {
  public:
    virtual ~ErrorPresenter() = default;
    virtual void present(const QString& boxText) = 0;
};

// Collects the message box texts instead of showing them (tests and the script runner).
class RecordingErrorPresenter : public ErrorPresenter {
  public:
    void present(const QString& boxText) override { shown_.push_back(boxText); }
    const std::vector<QString>& shown() const { return shown_; }
    std::vector<QString> take() { return std::exchange(shown_, {}); }

  private:
    std::vector<QString> shown_;
};

// Runs handlers on behalf of the event loop. Handlers may nest (a handler that waits runs the
// message loop, which runs other handlers); work deferred with atRest() runs when the outermost
// handler has returned, which is where screens released from inside their own handlers are freed.
class EventGuard {
  public:
    explicit EventGuard(ErrorPresenter& presenter) : presenter_(presenter) {}
    ~EventGuard();
    EventGuard(const EventGuard&) = delete;
    EventGuard& operator=(const EventGuard&) = delete;

    void run(const std::function<void()>& handler) noexcept;
    int depth() const { return depth_; }

    // Runs `work` once no handler is running any more (at once when none is running).
    void atRest(std::function<void()> work);
    // Keeps `object` alive until no handler is running any more, then destroys it.
    template <class T>
    void release(std::unique_ptr<T> object) {
        if (!object) return;
        auto shared = std::shared_ptr<T>(std::move(object));
        atRest([shared]() mutable { shared.reset(); });
    }

    ErrorPresenter& presenter() { return presenter_; }

  private:
    void settle() noexcept;

    ErrorPresenter& presenter_;
    int depth_ = 0;
    std::vector<std::function<void()>> pending_;
};

}  // namespace vorn
