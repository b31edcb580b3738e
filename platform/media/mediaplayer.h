// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A hidden media player, as the game uses it: set the file, open (closing what was open), play
// with a completion notice (from the start again when it stands at its end), wait for the end
// when asked, report its mode, close when destroyed. Completion notices arrive on the
// user-interface thread through the event guard.

#include "platform/element.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

namespace vorn {

class MediaDevice;
class MediaService;
class VideoSurface;

class MediaPlayer : public Element {
  public:
    enum class Mode { NotOpen, Stopped, Playing };

    MediaPlayer(MediaService& service, QString name);
    ~MediaPlayer() override;
    MediaPlayer(const MediaPlayer&) = delete;
    MediaPlayer& operator=(const MediaPlayer&) = delete;

    void setFileName(const QString& path) { fileName_ = path; }
    QString fileName() const { return fileName_; }
    void setDisplay(VideoSurface* surface) { display_ = surface; }
    // One-shot: the next play returns only when the file has played to its end.
    void setWait(bool wait) { wait_ = wait; }
    void setOnNotify(std::function<void()> handler) { onNotify_ = std::move(handler); }

    void open();
    void play();
    void stop();
    void close();
    Mode mode() const { return mode_; }
    std::int64_t position() const;

    QString elementName() const override { return name_; }
    QString describe() const override;

  private:
    void playNothing();
    void completed();
    void cancelCompletion();

    MediaService& service_;
    QString name_;
    QString fileName_;
    QString openPath_;
    VideoSurface* display_ = nullptr;
    bool wait_ = false;
    std::function<void()> onNotify_;
    std::unique_ptr<MediaDevice> device_;
    Mode mode_ = Mode::NotOpen;
    std::int64_t position_ = 0;   // where the next play starts
    std::int64_t startedAt_ = 0;  // clock time of the current play's start
    std::uint64_t completion_ = 0;
    bool emptyEndReported_ = false;  // the end of an empty play was reported since something
                                     // with a length last played
};

}  // namespace vorn
