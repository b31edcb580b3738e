// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// What the game's media players share: the backend that makes the sound, the clock that times
// completions, and the log of what was opened, played, stopped and closed. The log is kept only
// when recording is on (tests and the script runner, which read and empty it); the program leaves
// it off, so that music looping for hours costs no memory.

#include <QString>
#include <QStringList>

#include <utility>

namespace vorn {

class Clock;
class MediaBackend;

class MediaService {
  public:
    MediaService(Clock& clock, MediaBackend& backend) : clock_(clock), backend_(backend) {}

    Clock& clock() { return clock_; }
    MediaBackend& backend() { return backend_; }

    void setRecording(bool on) { recording_ = on; }
    bool recording() const { return recording_; }
    void record(const QString& what, const QString& path) {
        if (recording_) log_.append(what + u' ' + path);
    }
    QStringList takeLog() { return std::exchange(log_, {}); }
    const QStringList& log() const { return log_; }

  private:
    Clock& clock_;
    MediaBackend& backend_;
    bool recording_ = false;
    QStringList log_;
};

}  // namespace vorn
