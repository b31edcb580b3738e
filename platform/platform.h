// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Everything the game reaches the outside world through: errors, time, media, the display mode,
// the shell and the game controllers. DesktopPlatform is the real program's; VirtualPlatform runs
// on virtual time with simulated media and records messages, shell requests and the media log
// (tests and the script runner).

#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/gamepads.h"
#include "platform/media/backend.h"
#include "platform/media/mediaservice.h"
#include "platform/resolution.h"
#include "platform/shell.h"

#include <memory>

namespace vorn {

class VirtualClock;
class SimulatedBackend;

struct Platform {
    ErrorPresenter& errors;
    EventGuard& guard;
    Clock& clock;
    MediaBackend& backend;
    MediaService& media;
    Resolution& resolution;
    Shell& shell;
    Gamepads& gamepads;
};

class DesktopPlatform {
  public:
    DesktopPlatform();
    ~DesktopPlatform();
    Platform& platform() { return *view_; }

  private:
    std::unique_ptr<ErrorPresenter> errors_;
    std::unique_ptr<EventGuard> guard_;
    std::unique_ptr<Clock> clock_;
    std::unique_ptr<MediaBackend> backend_;
    std::unique_ptr<MediaService> media_;
    std::unique_ptr<Resolution> resolution_;
    std::unique_ptr<Shell> shell_;
    std::unique_ptr<Gamepads> gamepads_;
    std::unique_ptr<Platform> view_;
};

// Which media backend a VirtualPlatform plays through: the simulated one, or the one that makes
// real sound (its blocking plays then take virtual time too).
enum class VirtualMedia { Simulated, Real };

class VirtualPlatform {
  public:
    // `screen` is the emulated desktop's size.
    explicit VirtualPlatform(QSize screen = QSize(1280, 1024),
                             VirtualMedia media = VirtualMedia::Simulated);
    ~VirtualPlatform();
    Platform& platform() { return *view_; }

    RecordingErrorPresenter& errors() { return errors_; }
    VirtualClock& clock() { return *clock_; }
    MediaBackend& backend() { return *backend_; }
    MediaService& media() { return *media_; }
    RecordingShell& shell() { return shell_; }
    Resolution& resolution() { return resolution_; }
    void setScreen(QSize screen) { screen_ = screen; }
    // Sees only the controllers of VirtualGamepad, and only once one is plugged in.
    Gamepads& gamepads() { return *gamepads_; }

  private:
    QSize screen_;
    RecordingErrorPresenter errors_;
    EventGuard guard_{errors_};
    std::unique_ptr<VirtualClock> clock_;
    std::unique_ptr<MediaBackend> backend_;
    std::unique_ptr<MediaService> media_;
    Resolution resolution_;
    RecordingShell shell_;
    std::unique_ptr<Gamepads> gamepads_;
    std::unique_ptr<Platform> view_;
};

// The backend that makes real sound (FluidSynth, SDL2_mixer, FFmpeg); runs silent when no audio
// device opens.
std::unique_ptr<MediaBackend> createRealBackend(Clock& clock);

}  // namespace vorn
