#include "platform/media/simulatedbackend.h"

#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/media/avi.h"
#include "platform/media/probe.h"

#include <QFile>
#include <QFileInfo>

namespace vorn {

MediaFileInfo inspectMediaFile(const QString& path) {
    const DeviceType type = deviceTypeFor(path);
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) throw Error(mediaerror::fileNotFound());
    std::optional<std::int64_t> length;
    switch (type) {
        case DeviceType::Sequencer:
            length = probe::midiLengthMs(file.readAll());
            break;
        case DeviceType::WaveAudio:
            if (auto info = probe::wave(file.readAll())) length = info->lengthMs;
            break;
        case DeviceType::Video:
            file.close();
            if (auto info = probe::video(path)) length = info->lengthMs;
            break;
    }
    if (!length) throw Error(mediaerror::invalidFile());
    return MediaFileInfo{type, *length};
}

namespace {

class SimulatedDevice : public MediaDevice {
public:
    SimulatedDevice(Clock& clock, MediaFileInfo info) : clock_(clock), info_(info) {}
    DeviceType type() const override { return info_.type; }
    std::int64_t lengthMs() const override { return info_.lengthMs; }
    void start(std::int64_t) override {}
    void halt() override {}
    void playToEnd(VideoSurface*, std::int64_t fromMs) override { clock_.sleep(info_.lengthMs - fromMs); }

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
