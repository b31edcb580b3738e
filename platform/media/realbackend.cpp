#include "platform/media/simulatedbackend.h"
#include "platform/platform.h"

namespace vorn {

// Temporary: silent playback until the sound backend lands.
std::unique_ptr<MediaBackend> createRealBackend(Clock& clock) {
    return std::make_unique<SimulatedBackend>(clock);
}

}  // namespace vorn
