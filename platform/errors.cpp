// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/errors.h"

#include <cstdio>

namespace vorn {

Error::Error(const QString& message)
    : std::runtime_error(message.toStdString()), message_(message) {}

QString messageBoxText(const QString& message) {
    if (message.isEmpty()) return message;
    // ASCII characters keep their codes in Windows-1252 and everything beyond ASCII is stored
    // above 0x7F (or as "?"), so comparing the code point with "." gives the byte order.
    return message.back().unicode() > u'.' ? message + u'.' : message;
}

EventGuard::~EventGuard() {
    // Whatever was left for later is freed now; the guard outlives every screen.
    auto work = std::exchange(pending_, {});
    for (auto& w : work) w();
}

void EventGuard::run(const std::function<void()>& handler) noexcept {
    ++depth_;
    try {
        handler();
    } catch (const Error& e) {
        presenter_.present(messageBoxText(e.message()));
    } catch (const Abandoned&) {
        // A teardown ended the wait this sequence was in; nothing more to do.
    } catch (const std::exception& e) {
        presenter_.present(messageBoxText(QString::fromLocal8Bit(e.what())));
    } catch (...) {
        presenter_.present(QStringLiteral("Unknown error"));
    }
    --depth_;
    if (depth_ == 0) settle();
}

void EventGuard::atRest(std::function<void()> work) {
    if (depth_ == 0) {
        work();
        return;
    }
    pending_.push_back(std::move(work));
}

void EventGuard::settle() noexcept {
    while (!pending_.empty()) {
        auto work = std::exchange(pending_, {});
        for (auto& w : work) {
            try {
                w();
            } catch (...) {
                std::fputs("vorn: a deferred release failed\n", stderr);
            }
        }
    }
}

}  // namespace vorn
