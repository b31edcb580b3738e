// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A private X server (Xvfb) and a small client of it for the tests that watch the real program
// on a real display: find a window by its title, grab its pixels, send window-manager pings and
// see them answered, and type keys as a keyboard would (XTest).

#include <xcb/xcb.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace vorn::desktop {

using Clock = std::chrono::steady_clock;

// Xvfb on a free display number, stopped by the destructor.
class VirtualServer {
  public:
    VirtualServer(int width, int height);
    ~VirtualServer();
    VirtualServer(const VirtualServer&) = delete;
    VirtualServer& operator=(const VirtualServer&) = delete;
    // ":N", or empty when the server did not start.
    const std::string& display() const { return display_; }

  private:
    int pid_ = -1;
    std::string display_;
};

struct QRectLike {
    int x = 0, y = 0, width = 0, height = 0;
};

// The pixels of a window, 8-bit red, green and blue.
struct Capture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;  // 3 bytes a pixel, row after row
    struct Rgb {
        int r, g, b;
    };
    Rgb at(int x, int y) const;
    // Share of the pixels of the rectangle that are not (nearly) black, 0 to 1.
    double litShare(int x, int y, int w, int h) const;
    // Mean brightness of the rectangle, 0 to 255.
    double brightness(int x, int y, int w, int h) const;
    // Mean absolute difference of two captures over a rectangle, 0 to 255.
    double difference(const Capture& other, int x, int y, int w, int h) const;
    bool savePpm(const std::string& path) const;
};

class Connection {
  public:
    explicit Connection(const std::string& display);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    bool ok() const { return connection_ != nullptr; }

    // A shown window whose title is `title`: a top-level one, or the client of a window
    // manager's frame. With `except`, another one than that.
    std::optional<xcb_window_t> findWindow(const std::string& title,
                                           xcb_window_t except = XCB_NONE);
    // A shown pop-up window of the program `program` (a menu: top-level, out of the window
    // manager's hands, its WM_CLASS naming the program).
    std::optional<xcb_window_t> findPopup(const std::string& program);
    // A window's place on the screen and its size.
    std::optional<QRectLike> geometry(xcb_window_t window);
    // Moves the pointer to (x, y) of the screen and clicks its first button.
    void click(int x, int y);
    std::optional<Capture> capture(xcb_window_t window);

    // Asks for the answers to window-manager pings: a client sends them to the root window.
    void watchPingAnswers();
    // Sends a window-manager ping; its answer is looked for by pollAnswers().
    void ping(xcb_window_t window, std::uint32_t serial);
    // Reads the events waiting and returns the serials of the ping answers among them.
    std::vector<std::uint32_t> pollAnswers();
    // The connection's socket, readable when events arrive.
    int fileDescriptor() const;

    // Gives the keyboard focus to `window` and types the key `keysym` (press and release).
    void typeKey(xcb_window_t window, std::uint32_t keysym);
    // Types the key `keysym` where the keyboard focus is (a menu bar that has taken the keyboard
    // keeps it).
    void pressKey(std::uint32_t keysym);
    // The modifiers and locks in effect (XCB_MOD_MASK_2 is Num Lock on this server's keymap).
    std::uint16_t modifiers();
    // True once a window manager runs on this display.
    bool windowManagerRuns();

  private:
    xcb_atom_t atom(const char* name);
    std::optional<xcb_keycode_t> keycode(std::uint32_t keysym);
    std::string title(xcb_window_t window);
    std::optional<xcb_window_t> findBelow(xcb_window_t parent, const std::string& title,
                                          xcb_window_t except, int depth);

    xcb_connection_t* connection_ = nullptr;
    xcb_screen_t* screen_ = nullptr;
    std::map<std::string, xcb_atom_t> atoms_;
};

// Pings a window every `period` from a thread and a connection of its own, and notes the moment
// each answer arrives: the thread sleeps in poll() on the connection and wakes as the answer comes,
// so an answer's delay is measured when it reaches the server's client, not whenever a busy test
// next looks. Each ping is filed under the phase of the test it was sent in.
class PingWatch {
  public:
    PingWatch(const std::string& display, xcb_window_t window,
              std::chrono::milliseconds period = std::chrono::milliseconds(200));
    ~PingWatch();
    PingWatch(const PingWatch&) = delete;
    PingWatch& operator=(const PingWatch&) = delete;
    bool ok() const { return ok_; }

    void setPhase(const std::string& phase);
    // Stops pinging; pings still unanswered stay so.
    void stop();
    // Pings answered after more than `limit`, or still unanswered more than `limit` after they
    // were sent, each told in a line; pings of `except` are left out.
    std::vector<std::string> late(std::chrono::milliseconds limit, const std::string& except) const;
    int count(const std::string& phase) const;

  private:
    struct Ping {
        std::string phase;
        Clock::time_point sent;
        std::optional<Clock::time_point> answered;
    };
    void run();

    Connection x_;
    xcb_window_t window_;
    std::chrono::milliseconds period_;
    bool ok_ = false;
    mutable std::mutex mutex_;
    std::string phase_;
    std::map<std::uint32_t, Ping> pings_;
    Clock::time_point stoppedAt_{};
    std::atomic<bool> stop_{false};
    int wake_[2] = {-1, -1};
    std::thread thread_;
};

}  // namespace vorn::desktop
