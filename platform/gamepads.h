// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Game controllers, through SDL2's game-controller support: the four face buttons and Start of
// every controller plugged in, picked up and let go as controllers come and go while the game
// runs.
//
// No controller, no cost: while none is open nothing is polled. A watch on the input devices'
// folder (inotify, which sleeps until the kernel adds or removes a device) wakes a few looks for
// new controllers; only while one is open are its buttons read, at frame rate, on the game's
// clock, so that virtual time drives them deterministically in tests and in the script runner.
//
// A read that comes late because the game was held (a video interlude plays with the message
// loop held) drops the presses it finds: a button pressed during a video does not answer the
// question shown after it.

#include "platform/keys.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QFileSystemWatcher;
struct _SDL_GameController;
struct _SDL_Joystick;

namespace vorn {

class Clock;

class Gamepads {
  public:
    enum class Devices {
        All,          // every controller the system has (the program)
        VirtualOnly,  // only controllers made by VirtualGamepad (tests and the runner)
    };
    // Reading a controller, in milliseconds of the clock; a read more than kLateMs after the one
    // before drops its presses.
    static constexpr int kPollMs = 16;
    static constexpr int kLateMs = 250;

    Gamepads(Clock& clock, Devices devices);
    ~Gamepads();
    Gamepads(const Gamepads&) = delete;
    Gamepads& operator=(const Gamepads&) = delete;

    // The folder whose changes mean that a device came or went (for All; before start()). By
    // default /dev/input, or /dev while there is no /dev/input.
    void setDeviceFolder(QString folder) { deviceFolder_ = std::move(folder); }

    // Called, on the clock's thread, with each button pressed.
    void setOnButton(std::function<void(PadButton)> onButton) { onButton_ = std::move(onButton); }

    // Starts SDL's controller support and picks up the controllers already plugged in; for All,
    // also starts watching for controllers plugged in later. Without controller support (SDL
    // fails to start it) the game goes on without controllers and says so once on standard
    // error.
    void start();
    // Picks up controllers plugged in and let go since the last look, and hands on the buttons
    // pressed since then. Runs on its own while a controller is open and after a device change;
    // callable at any time.
    void poll();

    bool started() const { return started_; }
    int openCount() const { return static_cast<int>(open_.size()); }
    // True while reads are scheduled (a controller is open).
    bool polling() const { return pollCall_ != 0; }
    // Reads done so far (the quiet wait's tests count them).
    std::uint64_t pollCount() const { return polls_; }
    // The folder watched for devices ("" when none is watched).
    QString watchedFolder() const;

  private:
    void schedulePoll();
    void deviceFolderChanged();
    void openController(int deviceIndex);
    void closeController(std::int32_t instanceId);

    Clock& clock_;
    Devices devices_;
    bool started_ = false;
    bool failed_ = false;
    std::vector<_SDL_GameController*> open_;
    std::uint64_t pollCall_ = 0;
    std::vector<std::uint64_t> lookCalls_;
    std::int64_t lastPollMs_ = -1;
    std::uint64_t polls_ = 0;
    QString deviceFolder_;
    std::unique_ptr<QFileSystemWatcher> watcher_;
    std::function<void(PadButton)> onButton_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// A controller of the game's own making, plugged in through SDL's virtual joysticks: the script
// runner's `pad` command and the tests press its buttons, and the game reads them through the
// same path as a real controller's. Plugging it in starts `pads` if needed and picks it up at
// once; destroying it unplugs it.
class VirtualGamepad {
  public:
    explicit VirtualGamepad(Gamepads& pads);
    ~VirtualGamepad();
    VirtualGamepad(const VirtualGamepad&) = delete;
    VirtualGamepad& operator=(const VirtualGamepad&) = delete;

    // False when SDL could not make the controller (error() says why).
    bool plugged() const { return joystick_ != nullptr; }
    QString error() const { return error_; }
    // Holds a button down or lets it go; the game sees it at its next read.
    void setButton(PadButton button, bool down);
    // Presses and lets go of a button, each seen by a read at once (pads.poll()).
    void press(PadButton button);
    // Unplugs the controller; the game lets it go at its next read.
    void unplug();

    static const char* name() { return "vorn virtual controller"; }

  private:
    Gamepads& pads_;
    int deviceIndex_ = -1;
    _SDL_Joystick* joystick_ = nullptr;
    QString error_;
};

}  // namespace vorn
