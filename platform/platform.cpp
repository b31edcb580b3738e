// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/platform.h"

#include "platform/media/simulatedbackend.h"
#include "platform/messagebox.h"
#include "platform/qtclock.h"
#include "platform/virtualclock.h"

namespace vorn {

DesktopPlatform::DesktopPlatform()
    : errors_(std::make_unique<MessageBoxPresenter>()),
      guard_(std::make_unique<EventGuard>(*errors_)),
      clock_(std::make_unique<QtClock>(*guard_)),
      backend_(createRealBackend(*clock_)),
      media_(std::make_unique<MediaService>(*clock_, *backend_)),
      resolution_(std::make_unique<Resolution>()),
      shell_(std::make_unique<DesktopShell>()),
      gamepads_(std::make_unique<Gamepads>(*clock_, Gamepads::Devices::All)),
      view_(std::make_unique<Platform>(Platform{*errors_, *guard_, *clock_, *backend_, *media_,
                                                *resolution_, *shell_, *gamepads_})) {
    gamepads_->start();
}

DesktopPlatform::~DesktopPlatform() = default;

VirtualPlatform::VirtualPlatform(QSize screen, VirtualMedia media)
    : screen_(screen),
      clock_(std::make_unique<VirtualClock>(guard_)),
      backend_(media == VirtualMedia::Real ? createRealBackend(*clock_)
                                           : std::make_unique<SimulatedBackend>(*clock_)),
      media_(std::make_unique<MediaService>(*clock_, *backend_)),
      resolution_([this] { return screen_; }),
      gamepads_(std::make_unique<Gamepads>(*clock_, Gamepads::Devices::VirtualOnly)),
      view_(std::make_unique<Platform>(Platform{errors_, guard_, *clock_, *backend_, *media_,
                                                resolution_, shell_, *gamepads_})) {
    media_->setRecording(true);
}

VirtualPlatform::~VirtualPlatform() = default;

}  // namespace vorn
