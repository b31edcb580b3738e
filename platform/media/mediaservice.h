#pragma once
// What the game's media players share: the backend that makes the sound, the clock that times
// completions, and the log of what was opened, played, stopped and closed (read by tests and the
// script runner).

#include <QString>
#include <QStringList>

namespace vorn {

class Clock;
class MediaBackend;

class MediaService {
public:
    MediaService(Clock& clock, MediaBackend& backend) : clock_(clock), backend_(backend) {}

    Clock& clock() { return clock_; }
    MediaBackend& backend() { return backend_; }

    void record(const QString& what, const QString& path) { log_.append(what + u' ' + path); }
    QStringList takeLog() { return std::exchange(log_, {}); }
    const QStringList& log() const { return log_; }

private:
    Clock& clock_;
    MediaBackend& backend_;
    QStringList log_;
};

}  // namespace vorn
