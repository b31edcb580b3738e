// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "desktop/xdisplay.h"

#include <xcb/xtest.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vorn::desktop {

namespace {

template <class T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <class T>
Reply<T> own(T* reply) {
    return Reply<T>(reply, &std::free);
}

}  // namespace

// ---------------------------------------------------------------------------------------------

VirtualServer::VirtualServer(int width, int height) {
    int fds[2];
    if (pipe(fds) != 0) return;
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    const std::string fd = std::to_string(fds[1]);
    pid_ = fork();
    if (pid_ == 0) {
        close(fds[0]);
        // Quiet: the server's own chatter is not the test's output.
        if (std::FILE* null = std::fopen("/dev/null", "w")) dup2(fileno(null), STDERR_FILENO);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(),
               "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    if (pid_ < 0) {
        close(fds[0]);
        return;
    }
    // The server writes its display number once it accepts connections.
    std::string number;
    pollfd wait{fds[0], POLLIN, 0};
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    while (Clock::now() < deadline) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (poll(&wait, 1, static_cast<int>(left.count())) <= 0) break;
        char c;
        const auto got = read(fds[0], &c, 1);
        if (got <= 0) break;
        if (c == '\n') break;
        number += c;
    }
    close(fds[0]);
    if (!number.empty()) display_ = ":" + number;
}

VirtualServer::~VirtualServer() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
}

// ---------------------------------------------------------------------------------------------

Capture::Rgb Capture::at(int x, int y) const {
    const auto i = static_cast<std::size_t>((y * width + x) * 3);
    return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

double Capture::litShare(int x, int y, int w, int h) const {
    int lit = 0;
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) {
            const Rgb p = at(i, j);
            if (p.r + p.g + p.b > 48) ++lit;
        }
    return w * h > 0 ? static_cast<double>(lit) / (w * h) : 0;
}

double Capture::brightness(int x, int y, int w, int h) const {
    double sum = 0;
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) {
            const Rgb p = at(i, j);
            sum += (p.r + p.g + p.b) / 3.0;
        }
    return w * h > 0 ? sum / (w * h) : 0;
}

double Capture::difference(const Capture& other, int x, int y, int w, int h) const {
    double sum = 0;
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) {
            const Rgb a = at(i, j), b = other.at(i, j);
            sum += (std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b)) / 3.0;
        }
    return w * h > 0 ? sum / (w * h) : 0;
}

bool Capture::savePpm(const std::string& path) const {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    std::fprintf(f, "P6\n%d %d\n255\n", width, height);
    std::fwrite(rgb.data(), 1, rgb.size(), f);
    return std::fclose(f) == 0;
}

// ---------------------------------------------------------------------------------------------

Connection::Connection(const std::string& display) {
    int screenNumber = 0;
    connection_ = xcb_connect(display.c_str(), &screenNumber);
    if (xcb_connection_has_error(connection_)) {
        xcb_disconnect(connection_);
        connection_ = nullptr;
        return;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection_));
    for (int i = 0; i < screenNumber; ++i) xcb_screen_next(&it);
    screen_ = it.data;
}

void Connection::watchPingAnswers() {
    // Answers to pings are sent to the root window for whoever watches its structure (or
    // redirects its children, as a window manager does).
    const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection_, screen_->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection_);
}

int Connection::fileDescriptor() const {
    return xcb_get_file_descriptor(connection_);
}

Connection::~Connection() {
    if (connection_) xcb_disconnect(connection_);
}

xcb_atom_t Connection::atom(const char* name) {
    if (auto it = atoms_.find(name); it != atoms_.end()) return it->second;
    auto reply = own(xcb_intern_atom_reply(
        connection_,
        xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr));
    const xcb_atom_t value = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    atoms_[name] = value;
    return value;
}

std::string Connection::title(xcb_window_t window) {
    for (xcb_atom_t property : {atom("_NET_WM_NAME"), static_cast<xcb_atom_t>(XCB_ATOM_WM_NAME)}) {
        auto reply = own(xcb_get_property_reply(
            connection_,
            xcb_get_property(connection_, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
            nullptr));
        if (reply && xcb_get_property_value_length(reply.get()) > 0)
            return std::string(
                static_cast<const char*>(xcb_get_property_value(reply.get())),
                static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
    }
    return {};
}

std::optional<xcb_window_t> Connection::findBelow(xcb_window_t parent, const std::string& wanted,
                                                  xcb_window_t except, int depth) {
    auto tree =
        own(xcb_query_tree_reply(connection_, xcb_query_tree(connection_, parent), nullptr));
    if (!tree) return std::nullopt;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        auto attributes = own(xcb_get_window_attributes_reply(
            connection_, xcb_get_window_attributes(connection_, children[i]), nullptr));
        if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE) continue;
        if (children[i] != except && title(children[i]) == wanted) return children[i];
        if (depth > 0)
            if (auto found = findBelow(children[i], wanted, except, depth - 1)) return found;
    }
    return std::nullopt;
}

std::optional<xcb_window_t> Connection::findWindow(const std::string& wanted, xcb_window_t except) {
    // A window manager puts a client two levels down at most (its frame, then a holder).
    return findBelow(screen_->root, wanted, except, 2);
}

std::optional<xcb_window_t> Connection::findPopup(const std::string& program) {
    auto tree =
        own(xcb_query_tree_reply(connection_, xcb_query_tree(connection_, screen_->root), nullptr));
    if (!tree) return std::nullopt;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        auto attributes = own(xcb_get_window_attributes_reply(
            connection_, xcb_get_window_attributes(connection_, children[i]), nullptr));
        if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE ||
            !attributes->override_redirect)
            continue;
        // WM_CLASS: the instance name, a NUL, the class name.
        auto wmClass =
            own(xcb_get_property_reply(connection_,
                                       xcb_get_property(connection_, 0, children[i],
                                                        XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 64),
                                       nullptr));
        if (!wmClass) continue;
        const std::string value(
            static_cast<const char*>(xcb_get_property_value(wmClass.get())),
            static_cast<std::size_t>(xcb_get_property_value_length(wmClass.get())));
        if (value.substr(0, value.find('\0')) == program) return children[i];
    }
    return std::nullopt;
}

std::optional<QRectLike> Connection::geometry(xcb_window_t window) {
    auto size =
        own(xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr));
    auto at = own(xcb_translate_coordinates_reply(
        connection_, xcb_translate_coordinates(connection_, window, screen_->root, 0, 0), nullptr));
    if (!size || !at) return std::nullopt;
    return QRectLike{at->dst_x, at->dst_y, size->width, size->height};
}

void Connection::click(int x, int y) {
    xcb_test_fake_input(connection_, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, screen_->root,
                        static_cast<std::int16_t>(x), static_cast<std::int16_t>(y), 0);
    xcb_test_fake_input(connection_, XCB_BUTTON_PRESS, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_test_fake_input(connection_, XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_flush(connection_);
}

bool Connection::windowManagerRuns() {
    auto reply = own(xcb_get_property_reply(
        connection_,
        xcb_get_property(connection_, 0, screen_->root, atom("_NET_SUPPORTING_WM_CHECK"),
                         XCB_ATOM_WINDOW, 0, 1),
        nullptr));
    return reply && xcb_get_property_value_length(reply.get()) == 4;
}

std::optional<Capture> Connection::capture(xcb_window_t window) {
    auto geometry =
        own(xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr));
    if (!geometry) return std::nullopt;
    auto image =
        own(xcb_get_image_reply(connection_,
                                xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0,
                                              geometry->width, geometry->height, ~0u),
                                nullptr));
    if (!image || image->depth != 24) return std::nullopt;
    Capture c;
    c.width = geometry->width;
    c.height = geometry->height;
    const std::uint8_t* data = xcb_get_image_data(image.get());
    const int length = xcb_get_image_data_length(image.get());
    if (length < c.width * c.height * 4) return std::nullopt;
    c.rgb.resize(static_cast<std::size_t>(c.width * c.height * 3));
    // 32 bits a pixel, blue first, on this server.
    for (int p = 0; p < c.width * c.height; ++p) {
        c.rgb[static_cast<std::size_t>(p * 3)] = data[p * 4 + 2];
        c.rgb[static_cast<std::size_t>(p * 3 + 1)] = data[p * 4 + 1];
        c.rgb[static_cast<std::size_t>(p * 3 + 2)] = data[p * 4];
    }
    return c;
}

void Connection::ping(xcb_window_t window, std::uint32_t serial) {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = atom("WM_PROTOCOLS");
    event.data.data32[0] = atom("_NET_WM_PING");
    event.data.data32[1] = serial;
    event.data.data32[2] = window;
    xcb_send_event(connection_, 0, window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(connection_);
}

std::vector<std::uint32_t> Connection::pollAnswers() {
    std::vector<std::uint32_t> serials;
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
            const auto* message = reinterpret_cast<const xcb_client_message_event_t*>(event);
            if (message->window == screen_->root && message->data.data32[0] == atom("_NET_WM_PING"))
                serials.push_back(message->data.data32[1]);
        }
        std::free(event);
    }
    return serials;
}

std::optional<xcb_keycode_t> Connection::keycode(std::uint32_t keysym) {
    const xcb_setup_t* setup = xcb_get_setup(connection_);
    const int first = setup->min_keycode, count = setup->max_keycode - setup->min_keycode + 1;
    auto map = own(xcb_get_keyboard_mapping_reply(
        connection_,
        xcb_get_keyboard_mapping(connection_, setup->min_keycode, static_cast<std::uint8_t>(count)),
        nullptr));
    if (!map) return std::nullopt;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map.get());
    for (int k = 0; k < count; ++k)
        for (int s = 0; s < map->keysyms_per_keycode; ++s)
            if (syms[k * map->keysyms_per_keycode + s] == keysym)
                return static_cast<xcb_keycode_t>(first + k);
    return std::nullopt;
}

void Connection::typeKey(xcb_window_t window, std::uint32_t keysym) {
    const auto code = keycode(keysym);
    if (!code) return;
    xcb_set_input_focus(connection_, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
    xcb_test_fake_input(connection_, XCB_KEY_PRESS, *code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_test_fake_input(connection_, XCB_KEY_RELEASE, *code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_flush(connection_);
}

void Connection::pressKey(std::uint32_t keysym) {
    const auto code = keycode(keysym);
    if (!code) return;
    xcb_test_fake_input(connection_, XCB_KEY_PRESS, *code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_test_fake_input(connection_, XCB_KEY_RELEASE, *code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_flush(connection_);
}

std::uint16_t Connection::modifiers() {
    auto reply = own(xcb_query_pointer_reply(
        connection_, xcb_query_pointer(connection_, screen_->root), nullptr));
    return reply ? reply->mask : 0;
}

// ---------------------------------------------------------------------------------------------

PingWatch::PingWatch(const std::string& display, xcb_window_t window,
                     std::chrono::milliseconds period)
    : x_(display), window_(window), period_(period) {
    if (!x_.ok() || pipe(wake_) != 0) return;
    x_.watchPingAnswers();
    ok_ = true;
    thread_ = std::thread([this] { run(); });
}

PingWatch::~PingWatch() {
    stop();
    for (int fd : wake_)
        if (fd >= 0) close(fd);
}

void PingWatch::setPhase(const std::string& phase) {
    std::lock_guard lock(mutex_);
    phase_ = phase;
}

void PingWatch::stop() {
    if (!thread_.joinable()) return;
    stop_ = true;
    const char byte = 0;
    if (write(wake_[1], &byte, 1) != 1) {
    }
    thread_.join();
    std::lock_guard lock(mutex_);
    stoppedAt_ = Clock::now();
}

void PingWatch::run() {
    std::uint32_t serial = 0;
    auto next = Clock::now();
    while (!stop_) {
        const auto now = Clock::now();
        if (now >= next) {
            {
                std::lock_guard lock(mutex_);
                pings_[++serial] = Ping{phase_, now, std::nullopt};
            }
            x_.ping(window_, serial);
            next = now + period_;
        }
        pollfd fds[2] = {{x_.fileDescriptor(), POLLIN, 0}, {wake_[0], POLLIN, 0}};
        const auto wait =
            std::chrono::duration_cast<std::chrono::milliseconds>(next - Clock::now());
        poll(fds, 2, static_cast<int>(std::max<std::int64_t>(wait.count(), 0)));
        const auto arrived = Clock::now();
        const std::vector<std::uint32_t> answers = x_.pollAnswers();
        std::lock_guard lock(mutex_);
        for (std::uint32_t s : answers)
            if (auto it = pings_.find(s); it != pings_.end() && !it->second.answered)
                it->second.answered = arrived;
    }
}

std::vector<std::string> PingWatch::late(std::chrono::milliseconds limit,
                                         const std::string& except) const {
    std::lock_guard lock(mutex_);
    const auto end = stoppedAt_ == Clock::time_point{} ? Clock::now() : stoppedAt_;
    std::vector<std::string> out;
    for (const auto& [serial, ping] : pings_) {
        if (ping.phase == except) continue;
        const auto delay = ping.answered.value_or(end) - ping.sent;
        if (delay <= limit) continue;
        out.push_back(
            ping.phase + " ping " + std::to_string(serial) +
            (ping.answered ? " answered after " : " unanswered after ") +
            std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(delay).count()) +
            " ms");
    }
    return out;
}

int PingWatch::count(const std::string& phase) const {
    std::lock_guard lock(mutex_);
    int n = 0;
    for (const auto& [serial, ping] : pings_) n += ping.phase == phase;
    return n;
}

}  // namespace vorn::desktop
