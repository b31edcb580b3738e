// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/media/simulatedbackend.h"

#include "platform/clock.h"
#include "platform/media/avi.h"

namespace vorn {

namespace {

class SimulatedDevice : public MediaDevice {
  public:
    SimulatedDevice(Clock& clock, MediaFileInfo info) : clock_(clock), info_(info) {}
    DeviceType type() const override { return info_.type; }
    std::int64_t lengthMs() const override { return info_.lengthMs; }
    void start(std::int64_t) override {}
    void halt() override {}
    void playToEnd(VideoSurface*, std::int64_t fromMs) override {
        clock_.sleep(info_.lengthMs - fromMs);
    }

  private:
    Clock& clock_;
    MediaFileInfo info_;
};

}  // namespace

std::unique_ptr<MediaDevice> SimulatedBackend::open(const QString& path) {
    return std::make_unique<SimulatedDevice>(clock_, inspectMediaFile(path));
}

std::shared_ptr<const AnimationClip> SimulatedBackend::openAnimation(const QString& path) {
    return animations_.open(path);
}

}  // namespace vorn
