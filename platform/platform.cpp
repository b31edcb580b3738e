#include "platform/platform.h"

#include "platform/messagebox.h"
#include "platform/media/simulatedbackend.h"
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
      view_(std::make_unique<Platform>(
          Platform{*errors_, *guard_, *clock_, *backend_, *media_, *resolution_, *shell_})) {}

DesktopPlatform::~DesktopPlatform() = default;

VirtualPlatform::VirtualPlatform(QSize screen, VirtualMedia media)
    : screen_(screen),
      clock_(std::make_unique<VirtualClock>(guard_)),
      backend_(media == VirtualMedia::Real ? createRealBackend(*clock_)
                                           : std::make_unique<SimulatedBackend>(*clock_)),
      media_(std::make_unique<MediaService>(*clock_, *backend_)),
      resolution_([this] { return screen_; }),
      view_(std::make_unique<Platform>(
          Platform{errors_, guard_, *clock_, *backend_, *media_, resolution_, shell_})) {
    media_->setRecording(true);
}

VirtualPlatform::~VirtualPlatform() = default;

}  // namespace vorn
