// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/gamepads.h"

#include "platform/clock.h"

#include <QDir>
#include <QFileSystemWatcher>

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace vorn {

namespace {

// After the input devices' folder changes, the new device is looked for this long after (the
// system may still be setting it up: its rights, its name), then again a little later.
constexpr std::int64_t kLookDelaysMs[] = {250, 1000, 3000};

std::optional<PadButton> padButton(std::uint8_t button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_Y:
            return PadButton::North;
        case SDL_CONTROLLER_BUTTON_X:
            return PadButton::West;
        case SDL_CONTROLLER_BUTTON_B:
            return PadButton::East;
        case SDL_CONTROLLER_BUTTON_A:
            return PadButton::South;
        case SDL_CONTROLLER_BUTTON_START:
            return PadButton::Start;
        default:
            return std::nullopt;
    }
}

SDL_GameControllerButton sdlButton(PadButton button) {
    switch (button) {
        case PadButton::North:
            return SDL_CONTROLLER_BUTTON_Y;
        case PadButton::West:
            return SDL_CONTROLLER_BUTTON_X;
        case PadButton::East:
            return SDL_CONTROLLER_BUTTON_B;
        case PadButton::South:
            return SDL_CONTROLLER_BUTTON_A;
        case PadButton::Start:
            return SDL_CONTROLLER_BUTTON_START;
    }
    return SDL_CONTROLLER_BUTTON_INVALID;
}

std::int32_t instanceOf(SDL_GameController* controller) {
    return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
}

}  // namespace

Gamepads::Gamepads(Clock& clock, Devices devices) : clock_(clock), devices_(devices) {}

Gamepads::~Gamepads() {
    *alive_ = false;
    if (pollCall_) clock_.cancel(pollCall_);
    for (std::uint64_t id : lookCalls_) clock_.cancel(id);
    watcher_.reset();
    for (SDL_GameController* c : open_) SDL_GameControllerClose(c);
    open_.clear();
    if (started_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

QString Gamepads::watchedFolder() const {
    if (!watcher_) return {};
    const QStringList folders = watcher_->directories();
    return folders.isEmpty() ? QString() : folders.first();
}

void Gamepads::start() {
    if (started_ || failed_) return;
    // Buttons by their place, whatever is printed on them (some makers swap the letters).
    SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        failed_ = true;
        std::fprintf(stderr, "vorn: no game controllers: %s\n", SDL_GetError());
        return;
    }
    started_ = true;
    // Only buttons and devices are read: the sticks, triggers, hats and sensors stay silent. (The
    // joysticks' button and device events stay: the controllers' own are made from them.)
    for (const Uint32 type :
         {SDL_JOYAXISMOTION, SDL_JOYBALLMOTION, SDL_JOYHATMOTION, SDL_JOYBATTERYUPDATED,
          SDL_CONTROLLERAXISMOTION, SDL_CONTROLLERTOUCHPADDOWN, SDL_CONTROLLERTOUCHPADMOTION,
          SDL_CONTROLLERTOUCHPADUP, SDL_CONTROLLERSENSORUPDATE, SDL_SENSORUPDATE})
        SDL_EventState(type, SDL_IGNORE);
    if (devices_ == Devices::All) {
        // The kernel adds a node to /dev/input for each device; where that folder does not exist
        // yet, /dev itself shows it coming.
        const QString folder = !deviceFolder_.isEmpty() ? deviceFolder_
                               : QDir(QStringLiteral("/dev/input")).exists()
                                   ? QStringLiteral("/dev/input")
                                   : QStringLiteral("/dev");
        watcher_ = std::make_unique<QFileSystemWatcher>();
        if (watcher_->addPath(folder))
            QObject::connect(watcher_.get(), &QFileSystemWatcher::directoryChanged, watcher_.get(),
                             [this] { deviceFolderChanged(); });
        else
            watcher_.reset();
    }
    poll();  // the controllers plugged in before the game started
}

void Gamepads::deviceFolderChanged() {
    if (watcher_ && deviceFolder_.isEmpty() && watcher_->directories().value(0) == u"/dev" &&
        QDir(QStringLiteral("/dev/input")).exists()) {
        // The input folder has appeared: watch it from now on.
        watcher_->removePath(QStringLiteral("/dev"));
        watcher_->addPath(QStringLiteral("/dev/input"));
    }
    for (std::uint64_t id : lookCalls_) clock_.cancel(id);
    lookCalls_.clear();
    std::weak_ptr<bool> alive = alive_;
    for (const std::int64_t delay : kLookDelaysMs)
        lookCalls_.push_back(clock_.callLater(delay, [this, alive] {
            if (alive.expired()) return;
            poll();
        }));
}

void Gamepads::openController(int deviceIndex) {
    if (!SDL_IsGameController(deviceIndex)) return;
    if (devices_ == Devices::VirtualOnly) {
        const char* name = SDL_JoystickNameForIndex(deviceIndex);
        if (!name || QString::fromUtf8(name) != QLatin1String(VirtualGamepad::name())) return;
    }
    const std::int32_t id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    if (std::any_of(open_.begin(), open_.end(),
                    [id](SDL_GameController* c) { return instanceOf(c) == id; }))
        return;
    if (SDL_GameController* c = SDL_GameControllerOpen(deviceIndex)) {
        if (open_.empty()) lastPollMs_ = clock_.nowMs();
        open_.push_back(c);
    }
}

void Gamepads::closeController(std::int32_t instanceId) {
    auto it = std::find_if(open_.begin(), open_.end(), [instanceId](SDL_GameController* c) {
        return instanceOf(c) == instanceId;
    });
    if (it == open_.end()) return;
    SDL_GameControllerClose(*it);
    open_.erase(it);
}

void Gamepads::poll() {
    if (!started_) return;
    if (pollCall_) {
        clock_.cancel(pollCall_);
        pollCall_ = 0;
    }
    ++polls_;
    const std::int64_t now = clock_.nowMs();
    // Late: the game was held (a video interlude) since the last read. What was pressed meanwhile
    // is dropped, as if it had been pressed while the game could not take it.
    const bool late = lastPollMs_ >= 0 && now - lastPollMs_ > kLateMs;
    lastPollMs_ = now;
    std::vector<PadButton> pressed;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
            case SDL_CONTROLLERDEVICEADDED:
                openController(event.cdevice.which);
                break;
            case SDL_CONTROLLERDEVICEREMOVED:
                closeController(event.cdevice.which);
                break;
            case SDL_CONTROLLERBUTTONDOWN:
                if (const auto button = padButton(event.cbutton.button); button && !late)
                    pressed.push_back(*button);
                break;
            default:
                break;
        }
    }
    schedulePoll();
    // The buttons act last: a button's action may run the game for a long while (a video).
    std::weak_ptr<bool> alive = alive_;
    for (const PadButton button : pressed) {
        if (alive.expired() || !onButton_) return;
        onButton_(button);
    }
}

void Gamepads::schedulePoll() {
    if (pollCall_ || open_.empty()) return;
    std::weak_ptr<bool> alive = alive_;
    pollCall_ = clock_.callLater(kPollMs, [this, alive] {
        if (alive.expired()) return;
        pollCall_ = 0;
        poll();
    });
}

// ---------------------------------------------------------------------------------------------

VirtualGamepad::VirtualGamepad(Gamepads& pads) : pads_(pads) {
    pads_.start();
    if (!pads_.started()) {
        error_ = QStringLiteral("game controllers are not available");
        return;
    }
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = name();
    deviceIndex_ = SDL_JoystickAttachVirtualEx(&desc);
    if (deviceIndex_ < 0) {
        error_ = QString::fromUtf8(SDL_GetError());
        return;
    }
    joystick_ = SDL_JoystickOpen(deviceIndex_);
    if (!joystick_) {
        error_ = QString::fromUtf8(SDL_GetError());
        SDL_JoystickDetachVirtual(deviceIndex_);
        return;
    }
    pads_.poll();  // picked up at once
}

VirtualGamepad::~VirtualGamepad() {
    unplug();
}

void VirtualGamepad::setButton(PadButton button, bool down) {
    if (!joystick_) return;
    // The reads that fell due before this moment happen before it: a press made now is never
    // taken for one made while the game was held before now.
    pads_.poll();
    SDL_JoystickSetVirtualButton(joystick_, sdlButton(button), down ? 1 : 0);
}

void VirtualGamepad::press(PadButton button) {
    setButton(button, true);
    pads_.poll();
    setButton(button, false);
    pads_.poll();
}

void VirtualGamepad::unplug() {
    if (!joystick_) return;
    const SDL_JoystickID id = SDL_JoystickInstanceID(joystick_);
    SDL_JoystickClose(joystick_);
    joystick_ = nullptr;
    // Device indexes move as devices come and go: the controller is found by its instance.
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        if (SDL_JoystickGetDeviceInstanceID(i) == id) {
            SDL_JoystickDetachVirtual(i);
            break;
        }
}

}  // namespace vorn
