// The X11 tests' window maker and inspector, an XCB client of its own. Protocol, one
// line each way on stdin/stdout:
//   window <x> <y> <w> <h> <nw|static> <title hex>
//   go             creates and maps the windows listed so far; answers "ready" once
//                  each is mapped (and framed, under a window manager)
//   dump           answers "win <i> <id> <l> <t> <r> <b>" per own window, its outer
//                  rectangle being the geometry of its top-level ancestor (the frame
//                  under a window manager); "stack <ids>" top to bottom of the root's
//                  children, each named by the own window inside it; "focus <id>";
//                  then "end"
//   churn <n> <hex> creates and destroys windows titled <prefix><number>, n alive
//   stop           ends the churn; answers "stopped <windows created>"
//   retitle <i> <hex> gives own window i a new title; answers "retitled"
//   dialog <ms>    waits for a window titled "Application Error", answers
//                  "dialog <id>" and sends it a Return key press; "nodialog" if none
// It lives until stdin ends.
#include <poll.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <thread>
#include <vector>

namespace {

xcb_connection_t* c;
xcb_screen_t* screen;

struct Spec {
    int x, y, w, h;
    bool static_gravity;
    std::string title;
};

std::vector<xcb_window_t> g_windows;

std::string FromHex(const char* hex) {
    std::string bytes;
    for (std::size_t i = 0; hex[i] != '\0' && hex[i + 1] != '\0'; i += 2) {
        const char pair[3] = {hex[i], hex[i + 1], '\0'};
        bytes.push_back(static_cast<char>(std::strtoul(pair, nullptr, 16)));
    }
    return bytes;
}

xcb_atom_t Atom(const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply != nullptr ? reply->atom : XCB_NONE;
    std::free(reply);
    return atom;
}

xcb_window_t TopLevel(xcb_window_t window) {
    for (;;) {
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, window), nullptr);
        if (tree == nullptr) return window;
        const xcb_window_t parent = tree->parent, root = tree->root;
        std::free(tree);
        if (parent == root || parent == XCB_NONE) return window;
        window = parent;
    }
}

bool OuterRect(xcb_window_t window, long out[4]) {
    const xcb_window_t top = TopLevel(window);
    xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(c, xcb_get_geometry(c, top), nullptr);
    if (g == nullptr) return false;
    out[0] = g->x;
    out[1] = g->y;
    out[2] = g->x + g->width + 2 * g->border_width;
    out[3] = g->y + g->height + 2 * g->border_width;
    std::free(g);
    return true;
}

xcb_window_t Create(const std::string& title, int x, int y, int w, int h, bool static_gravity) {
    const xcb_window_t window = xcb_generate_id(c);
    const std::uint32_t values[] = {screen->white_pixel, XCB_EVENT_MASK_STRUCTURE_NOTIFY};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, static_cast<std::int16_t>(x),
                      static_cast<std::int16_t>(y), static_cast<std::uint16_t>(w),
                      static_cast<std::uint16_t>(h), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
    const auto length = static_cast<std::uint32_t>(title.size());
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        length, title.data());
    static const xcb_atom_t net_name = Atom("_NET_WM_NAME"), utf8 = Atom("UTF8_STRING");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, net_name, utf8, 8, length, title.data());
    // WM_NORMAL_HINTS: user-given position and size, and the window's gravity.
    std::uint32_t hints[18] = {};
    hints[0] = 1 | 2 | 512;  // USPosition, USSize, PWinGravity
    hints[1] = static_cast<std::uint32_t>(x);
    hints[2] = static_cast<std::uint32_t>(y);
    hints[3] = static_cast<std::uint32_t>(w);
    hints[4] = static_cast<std::uint32_t>(h);
    hints[17] = static_gravity ? 10 : 1;
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NORMAL_HINTS,
                        XCB_ATOM_WM_SIZE_HINTS, 32, 18, hints);
    xcb_map_window(c, window);
    return window;
}

void Drain() {
    while (xcb_generic_event_t* event = xcb_poll_for_event(c)) std::free(event);
}

// Waits until every window is mapped and its outer rectangle has held still a while,
// so that a window manager is done placing and framing it.
void Settle(const std::vector<xcb_window_t>& windows) {
    std::vector<long> last;
    int still = 0;
    for (int i = 0; i < 500 && still < 20; ++i) {
        Drain();
        std::vector<long> now;
        bool all_mapped = true;
        for (xcb_window_t w : windows) {
            xcb_get_window_attributes_reply_t* a =
                xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, w), nullptr);
            all_mapped = all_mapped && a != nullptr && a->map_state == XCB_MAP_STATE_VIEWABLE;
            std::free(a);
            long r[4] = {};
            OuterRect(w, r);
            now.insert(now.end(), r, r + 4);
        }
        still = all_mapped && now == last ? still + 1 : 0;
        last = now;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void Dump() {
    for (std::size_t i = 0; i < g_windows.size(); ++i) {
        long r[4] = {};
        OuterRect(g_windows[i], r);
        std::printf("win %zu %u %ld %ld %ld %ld\n", i, g_windows[i], r[0], r[1], r[2], r[3]);
    }
    xcb_query_tree_reply_t* tree =
        xcb_query_tree_reply(c, xcb_query_tree(c, screen->root), nullptr);
    std::printf("stack");
    if (tree != nullptr) {
        const xcb_window_t* children = xcb_query_tree_children(tree);
        for (int i = xcb_query_tree_children_length(tree) - 1; i >= 0; --i) {
            for (xcb_window_t w : g_windows) {
                if (TopLevel(w) == children[i]) std::printf(" %u", w);
            }
        }
        std::free(tree);
    }
    xcb_get_input_focus_reply_t* focus =
        xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr);
    std::printf("\nfocus %u\nend\n", focus != nullptr ? focus->focus : 0u);
    std::free(focus);
    std::fflush(stdout);
}

// A window titled "Application Error" anywhere in the first two levels of the tree.
xcb_window_t FindDialog() {
    static const xcb_atom_t net_name = Atom("_NET_WM_NAME");
    std::vector<xcb_window_t> level = {screen->root};
    for (int depth = 0; depth < 3; ++depth) {
        std::vector<xcb_window_t> next;
        for (xcb_window_t w : level) {
            xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, w), nullptr);
            if (tree == nullptr) continue;
            const xcb_window_t* children = xcb_query_tree_children(tree);
            next.insert(next.end(), children, children + xcb_query_tree_children_length(tree));
            std::free(tree);
        }
        for (xcb_window_t w : next) {
            for (xcb_atom_t property : {xcb_atom_t{XCB_ATOM_WM_NAME}, net_name}) {
                xcb_get_property_reply_t* p = xcb_get_property_reply(
                    c, xcb_get_property(c, 0, w, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 64),
                    nullptr);
                const bool found =
                    p != nullptr &&
                    std::string(static_cast<const char*>(xcb_get_property_value(p)),
                                static_cast<std::size_t>(xcb_get_property_value_length(p))) ==
                        "Application Error";
                std::free(p);
                if (found) return w;
            }
        }
        level = next;
    }
    return XCB_NONE;
}

void AnswerDialog(int timeout_ms) {
    xcb_window_t dialog = XCB_NONE;
    for (int waited = 0; dialog == XCB_NONE && waited <= timeout_ms; waited += 20) {
        dialog = FindDialog();
        if (dialog == XCB_NONE) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (dialog == XCB_NONE) {
        std::printf("nodialog\n");
        std::fflush(stdout);
        return;
    }
    // Let it map and draw before the key arrives.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::printf("dialog %u\n", dialog);
    std::fflush(stdout);
    // The keycode of Return in this server's keyboard map.
    const xcb_setup_t* setup = xcb_get_setup(c);
    xcb_get_keyboard_mapping_reply_t* map = xcb_get_keyboard_mapping_reply(
        c,
        xcb_get_keyboard_mapping(
            c, setup->min_keycode,
            static_cast<std::uint8_t>(setup->max_keycode - setup->min_keycode + 1)),
        nullptr);
    xcb_keycode_t keycode = 36;
    if (map != nullptr) {
        const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map);
        const int per = map->keysyms_per_keycode;
        for (int k = setup->min_keycode; k <= setup->max_keycode; ++k) {
            if (syms[(k - setup->min_keycode) * per] == 0xff0d) {
                keycode = static_cast<xcb_keycode_t>(k);
                break;
            }
        }
        std::free(map);
    }
    xcb_key_press_event_t key{};
    key.response_type = XCB_KEY_PRESS;
    key.detail = keycode;
    key.root = screen->root;
    key.event = dialog;
    key.same_screen = 1;
    xcb_send_event(c, 0, dialog, XCB_EVENT_MASK_KEY_PRESS, reinterpret_cast<const char*>(&key));
    xcb_flush(c);
}

struct Churn {
    bool on = false;
    int alive = 0;
    std::string prefix;
    long created = 0;
    std::deque<xcb_window_t> windows;
} g_churn;

void ChurnStep() {
    const std::string title = g_churn.prefix + std::to_string(g_churn.created++);
    g_churn.windows.push_back(
        Create(title, static_cast<int>(g_churn.created % 40) * 20, 700, 30, 30, false));
    if (static_cast<int>(g_churn.windows.size()) > g_churn.alive) {
        xcb_destroy_window(c, g_churn.windows.front());
        g_churn.windows.pop_front();
    }
    xcb_flush(c);
}

}  // namespace

int main() {
    c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "x11_fixture: no display\n");
        return 2;
    }
    screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    std::vector<Spec> specs;
    std::string pending;
    char buf[65536];
    for (;;) {
        pollfd fds[2] = {{0, POLLIN, 0}, {xcb_get_file_descriptor(c), POLLIN, 0}};
        poll(fds, 2, g_churn.on ? 1 : 1000);
        Drain();
        if (g_churn.on) ChurnStep();
        if ((fds[0].revents & (POLLIN | POLLHUP)) == 0) continue;
        const ssize_t n = read(0, buf, sizeof buf);
        if (n <= 0) break;
        pending.append(buf, static_cast<std::size_t>(n));
        for (std::size_t lf; (lf = pending.find('\n')) != std::string::npos;) {
            const std::string line = pending.substr(0, lf);
            pending.erase(0, lf + 1);
            char word[16] = {}, gravity[16] = {};
            static char hex[140000];
            Spec spec{};
            int number = 0;
            if (std::sscanf(line.c_str(), "window %d %d %d %d %15s %139999s", &spec.x, &spec.y,
                            &spec.w, &spec.h, gravity, hex) >= 5) {
                spec.static_gravity = std::strcmp(gravity, "static") == 0;
                spec.title = FromHex(hex);
                hex[0] = '\0';
                specs.push_back(spec);
            } else if (line == "go") {
                for (const Spec& s : specs) {
                    g_windows.push_back(Create(s.title, s.x, s.y, s.w, s.h, s.static_gravity));
                }
                xcb_flush(c);
                Settle(g_windows);
                std::printf("ready\n");
                std::fflush(stdout);
            } else if (line == "dump") {
                Drain();
                Dump();
            } else if (std::sscanf(line.c_str(), "churn %d %139999s", &number, hex) == 2) {
                g_churn.on = true;
                g_churn.alive = number;
                g_churn.prefix = FromHex(hex);
                std::printf("churning\n");
                std::fflush(stdout);
            } else if (line == "stop") {
                g_churn.on = false;
                for (xcb_window_t w : g_churn.windows) xcb_destroy_window(c, w);
                g_churn.windows.clear();
                xcb_flush(c);
                std::printf("stopped %ld\n", g_churn.created);
                std::fflush(stdout);
            } else if (std::sscanf(line.c_str(), "retitle %d %139999s", &number, hex) == 2) {
                static const xcb_atom_t net_name = Atom("_NET_WM_NAME"), utf8 = Atom("UTF8_STRING");
                const std::string title = FromHex(hex);
                const auto length = static_cast<std::uint32_t>(title.size());
                const xcb_window_t w = g_windows.at(static_cast<std::size_t>(number));
                xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING,
                                    8, length, title.data());
                xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, net_name, utf8, 8, length,
                                    title.data());
                xcb_flush(c);
                std::printf("retitled\n");
                std::fflush(stdout);
            } else if (std::sscanf(line.c_str(), "dialog %d", &number) == 1) {
                AnswerDialog(number);
            } else if (std::sscanf(line.c_str(), "%15s", word) == 1) {
                std::fprintf(stderr, "x11_fixture: unknown command: %s\n", line.c_str());
            }
        }
    }
    xcb_disconnect(c);
    return 0;
}
