#pragma once
// A private X server (Xvfb) and a small client of it for the tests that watch the real program
// on a real display: find a window by its title, grab its pixels, send window-manager pings and
// see them answered, and type keys as a keyboard would (XTest).

#include <xcb/xcb.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
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
    std::optional<xcb_window_t> findWindow(const std::string& title, xcb_window_t except = XCB_NONE);
    // A window's place on the screen and its size.
    std::optional<QRectLike> geometry(xcb_window_t window);
    // Moves the pointer to (x, y) of the screen and clicks its first button.
    void click(int x, int y);
    std::optional<Capture> capture(xcb_window_t window);

    // Sends a window-manager ping; its answer is looked for by pollAnswers().
    void ping(xcb_window_t window, std::uint32_t serial);
    // Reads the events waiting and returns the serials of the ping answers among them.
    std::vector<std::uint32_t> pollAnswers();

    // Gives the keyboard focus to `window` and types the key `keysym` (press and release).
    void typeKey(xcb_window_t window, std::uint32_t keysym);
    // True once a window manager runs on this display.
    bool windowManagerRuns();

private:
    xcb_atom_t atom(const char* name);
    std::optional<xcb_keycode_t> keycode(std::uint32_t keysym);
    std::string title(xcb_window_t window);
    std::optional<xcb_window_t> findBelow(xcb_window_t parent, const std::string& title, xcb_window_t except,
                                          int depth);

    xcb_connection_t* connection_ = nullptr;
    xcb_screen_t* screen_ = nullptr;
    std::map<std::string, xcb_atom_t> atoms_;
};

}  // namespace vorn::desktop
