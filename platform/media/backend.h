// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The media seam. A backend opens files on the device their extension names (".mid" sequencer,
// ".wav" wave audio, ".avi" video) and makes them sound; the media player above it keeps the
// state the game sees (mode, position, completion notices), identically for every backend.
// RealBackend plays through FluidSynth, SDL2_mixer and FFmpeg; SimulatedBackend only parses the
// files and lets virtual time pass.

#include <QImage>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace vorn {

enum class DeviceType { Sequencer, WaveAudio, Video };

// The device for a file name, by its extension; raises the service's error for an extension
// that names no device.
DeviceType deviceTypeFor(const QString& path);

// Where a video shows its frames.
class VideoSurface {
  public:
    virtual ~VideoSurface() = default;
    virtual void showFrame(const QImage& frame) = 0;
    // Paints the frame now, synchronously (the message loop is not running during a video).
    virtual void present() = 0;
};

// One open file on its device. Destroying it closes the device: its sound stops at once.
class MediaDevice {
  public:
    virtual ~MediaDevice() = default;
    virtual DeviceType type() const = 0;
    // Length in ms, from the file: for MIDI the time of its last event.
    virtual std::int64_t lengthMs() const = 0;
    // Starts sounding from `fromMs` and returns at once.
    virtual void start(std::int64_t fromMs) = 0;
    // Stops sounding.
    virtual void halt() = 0;
    // Plays from `fromMs` to the end and returns only then; a video shows its frames on `surface`.
    virtual void playToEnd(VideoSurface* surface, std::int64_t fromMs) = 0;
};

// The frames of an animation (the hourglass), decoded once.
struct AnimationClip {
    std::vector<QImage> frames;
    double framesPerSecond = 15.0;
};

// Volumes in the 32-bit format of the game: low word left, high word right, 0 to 0xFFFF each.
class MediaBackend {
  public:
    virtual ~MediaBackend() = default;
    // Opens `path` on its device; raises the service's error text when it cannot.
    virtual std::unique_ptr<MediaDevice> open(const QString& path) = 0;
    // Decodes an animation; raises "Cannot open AVI" when it cannot.
    virtual std::shared_ptr<const AnimationClip> openAnimation(const QString& path) = 0;

    virtual std::uint32_t midiVolume() const = 0;
    virtual void setMidiVolume(std::uint32_t volume) = 0;
    virtual std::uint32_t waveVolume() const = 0;
    virtual void setWaveVolume(std::uint32_t volume) = 0;
    // False when no audio device could be opened and the backend runs silent.
    virtual bool audible() const = 0;
};

// The service's error texts.
namespace mediaerror {
QString fileNotFound();
QString invalidFile();
QString extensionNotFound();
QString unknown();
QString notOpen();
QString cannotOpenAvi();
}  // namespace mediaerror

}  // namespace vorn
