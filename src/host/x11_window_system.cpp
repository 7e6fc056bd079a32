// The window half of the seam on an X11 desktop, through XCB. Top-level windows come
// in the Windows order, top of the stack first: the EWMH client list read from its
// end, or, with no EWMH window manager, the root's children (the ICCCM client below a
// frame). Requests are pipelined: every title of an enumeration is asked for before
// any reply is read, so the round trips of an entry don't grow with the number of
// windows. The display is opened on the first window operation, never before, so a
// run without a configuration file touches no display. Windows that vanish mid-run
// are skipped. The error box is a small dialog of its own, drawn with core requests.
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/failure.h"
#include "host/window_system.h"

namespace quindarvel::host {
namespace {

struct Extents {
    std::int32_t left = 0, right = 0, top = 0, bottom = 0;
};

// What a placement needs to know of a window, learnt when its rectangle was read.
struct Geometry {
    Extents extents;
    std::int32_t border = 0;
};

enum AtomIndex {
    kSupportingWmCheck,
    kClientListStacking,
    kNetWmName,
    kFrameExtents,
    kMoveResizeWindow,
    kWmState,
    kWmProtocols,
    kWmDeleteWindow,
    kUtf8String,
    kWindowType,
    kWindowTypeDialog,
    kAtomCount
};

const char* const kAtomNames[kAtomCount] = {
    "_NET_SUPPORTING_WM_CHECK",
    "_NET_CLIENT_LIST_STACKING",
    "_NET_WM_NAME",
    "_NET_FRAME_EXTENTS",
    "_NET_MOVERESIZE_WINDOW",
    "WM_STATE",
    "WM_PROTOCOLS",
    "WM_DELETE_WINDOW",
    "UTF8_STRING",
    "_NET_WM_WINDOW_TYPE",
    "_NET_WM_WINDOW_TYPE_DIALOG",
};

struct Display {
    xcb_connection_t* connection = nullptr;
    xcb_screen_t* screen = nullptr;
    xcb_window_t root = 0;
    xcb_atom_t atoms[kAtomCount] = {};
    bool ewmh = false;
    // Titles known to be current: every window in here is watched for changes of its
    // name properties and for its destruction, and an event drops it from here.
    std::unordered_map<xcb_window_t, std::string> titles;
    // Windows of this enumeration that were gone when their title was asked for.
    std::unordered_map<xcb_window_t, std::string> gone;
    std::unordered_map<xcb_window_t, xcb_window_t> frames;  // client -> its frame
    std::unordered_map<xcb_window_t, Geometry> geometry;
};

template <typename Reply>
struct Owned {
    Reply* reply;
    explicit Owned(Reply* r) : reply(r) {}
    ~Owned() { std::free(reply); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Reply* operator->() const { return reply; }
    explicit operator bool() const { return reply != nullptr; }
};

std::string PropertyBytes(xcb_get_property_reply_t* reply) {
    if (reply == nullptr || reply->type == XCB_NONE) return {};
    const auto* data = static_cast<const char*>(xcb_get_property_value(reply));
    return std::string(data, static_cast<std::size_t>(xcb_get_property_value_length(reply)));
}

xcb_get_property_cookie_t AskProperty(Display& d, xcb_window_t window, xcb_atom_t property,
                                      xcb_atom_t type, std::uint32_t longs) {
    return xcb_get_property(d.connection, 0, window, property, type, 0, longs);
}

std::vector<xcb_window_t> Windows(xcb_get_property_reply_t* reply) {
    std::vector<xcb_window_t> windows;
    if (reply == nullptr || reply->format != 32) return windows;
    const auto* data = static_cast<const xcb_window_t*>(xcb_get_property_value(reply));
    windows.assign(data, data + xcb_get_property_value_length(reply) / 4);
    return windows;
}

bool CheckEwmh(Display& d) {
    auto on_root = AskProperty(d, d.root, d.atoms[kSupportingWmCheck], XCB_ATOM_WINDOW, 1);
    Owned root_reply(xcb_get_property_reply(d.connection, on_root, nullptr));
    const std::vector<xcb_window_t> check = Windows(root_reply.reply);
    if (check.empty()) return false;
    auto on_child = AskProperty(d, check[0], d.atoms[kSupportingWmCheck], XCB_ATOM_WINDOW, 1);
    Owned child_reply(xcb_get_property_reply(d.connection, on_child, nullptr));
    const std::vector<xcb_window_t> again = Windows(child_reply.reply);
    return !again.empty() && again[0] == check[0];
}

// At the end of the run, one round trip makes sure that the server has taken every
// request before the connection goes.
void Disconnect();

// The display of this run; when it can't be reached, nullptr, or a Failure when the
// caller can't do without it.
Display* Connect(bool required) {
    static Display display;
    static bool tried = false;
    static std::string problem;
    if (!tried) {
        tried = true;
        const char* name = std::getenv("DISPLAY");
        int screen_number = 0;
        xcb_connection_t* connection = xcb_connect(nullptr, &screen_number);
        if (xcb_connection_has_error(connection)) {
            xcb_disconnect(connection);
            problem = name == nullptr || *name == '\0'
                          ? std::string("No X display to work on: DISPLAY is not set")
                          : "Cannot connect to the X display \"" + std::string(name) + "\"";
        } else {
            display.connection = connection;
            xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
            for (int i = 0; i < screen_number && it.rem > 1; ++i) xcb_screen_next(&it);
            display.screen = it.data;
            display.root = it.data->root;
            xcb_intern_atom_cookie_t cookies[kAtomCount];
            for (int i = 0; i < kAtomCount; ++i) {
                cookies[i] = xcb_intern_atom(connection, 0,
                                             static_cast<std::uint16_t>(std::strlen(kAtomNames[i])),
                                             kAtomNames[i]);
            }
            for (int i = 0; i < kAtomCount; ++i) {
                Owned reply(xcb_intern_atom_reply(connection, cookies[i], nullptr));
                display.atoms[i] = reply ? reply->atom : XCB_NONE;
            }
            display.ewmh = CheckEwmh(display);
            std::atexit(Disconnect);
        }
    }
    if (display.connection != nullptr) return &display;
    if (required) RaiseFailure(FailureKind::EInOutError, problem);
    return nullptr;
}

void Disconnect() {
    Display* d = Connect(false);
    if (d == nullptr) return;
    std::free(
        xcb_get_input_focus_reply(d->connection, xcb_get_input_focus(d->connection), nullptr));
    xcb_disconnect(d->connection);
    d->connection = nullptr;
}

// Top to bottom: the window manager's stacking list read from its end.
bool ClientsTopDown(Display& d, std::vector<xcb_window_t>& order) {
    auto cookie = AskProperty(d, d.root, d.atoms[kClientListStacking], XCB_ATOM_WINDOW, 1u << 24);
    Owned reply(xcb_get_property_reply(d.connection, cookie, nullptr));
    if (!reply || reply->type == XCB_NONE) return false;
    order = Windows(reply.reply);
    std::reverse(order.begin(), order.end());
    return true;
}

// Top to bottom with no EWMH window manager: the root's children that aren't
// override-redirect, each replaced by the ICCCM client (the window with WM_STATE)
// found below it when it is a frame.
std::vector<xcb_window_t> TreeTopDown(Display& d) {
    Owned tree(xcb_query_tree_reply(d.connection, xcb_query_tree(d.connection, d.root), nullptr));
    if (!tree) return {};
    const xcb_window_t* children = xcb_query_tree_children(tree.reply);
    const int count = xcb_query_tree_children_length(tree.reply);
    std::vector<xcb_get_window_attributes_cookie_t> attributes;
    std::vector<xcb_get_property_cookie_t> states;
    std::vector<xcb_query_tree_cookie_t> below;
    for (int i = 0; i < count; ++i) {
        attributes.push_back(xcb_get_window_attributes(d.connection, children[i]));
        states.push_back(
            AskProperty(d, children[i], d.atoms[kWmState], XCB_GET_PROPERTY_TYPE_ANY, 0));
        below.push_back(xcb_query_tree(d.connection, children[i]));
    }
    struct Candidate {
        xcb_window_t window;
        std::vector<xcb_window_t> inner;
        std::vector<xcb_get_property_cookie_t> inner_states;
    };
    std::vector<Candidate> candidates;
    for (int i = 0; i < count; ++i) {
        Owned attr(xcb_get_window_attributes_reply(d.connection, attributes[i], nullptr));
        Owned state(xcb_get_property_reply(d.connection, states[i], nullptr));
        Owned inner(xcb_query_tree_reply(d.connection, below[i], nullptr));
        if (!attr || attr->override_redirect) continue;
        Candidate candidate{children[i], {}, {}};
        if (!(state && state->type != XCB_NONE) && inner) {
            const xcb_window_t* grandchildren = xcb_query_tree_children(inner.reply);
            candidate.inner.assign(grandchildren,
                                   grandchildren + xcb_query_tree_children_length(inner.reply));
            for (xcb_window_t w : candidate.inner) {
                candidate.inner_states.push_back(
                    AskProperty(d, w, d.atoms[kWmState], XCB_GET_PROPERTY_TYPE_ANY, 0));
            }
        }
        candidates.push_back(std::move(candidate));
    }
    std::vector<xcb_window_t> order;
    for (Candidate& candidate : candidates) {
        xcb_window_t client = candidate.window;
        for (std::size_t j = 0; j < candidate.inner.size(); ++j) {
            Owned state(xcb_get_property_reply(d.connection, candidate.inner_states[j], nullptr));
            if (client == candidate.window && state && state->type != XCB_NONE) {
                client = candidate.inner[j];
                d.frames[client] = candidate.window;
            }
        }
        order.push_back(client);
    }
    std::reverse(order.begin(), order.end());
    return order;
}

// Drops the titles that the server has said changed, or whose windows are gone.
// Events come in the same stream as replies, so once a reply has arrived every event
// the server sent before it has been queued.
void ForgetChangedTitles(Display& d) {
    while (xcb_generic_event_t* event = xcb_poll_for_event(d.connection)) {
        switch (event->response_type & 0x7f) {
            case XCB_PROPERTY_NOTIFY: {
                const auto* notify = reinterpret_cast<xcb_property_notify_event_t*>(event);
                if (notify->atom == d.atoms[kNetWmName] || notify->atom == XCB_ATOM_WM_NAME) {
                    d.titles.erase(notify->window);
                }
                break;
            }
            case XCB_DESTROY_NOTIFY:
                d.titles.erase(reinterpret_cast<xcb_destroy_notify_event_t*>(event)->window);
                break;
            default:  // errors for windows already gone, and other notices
                break;
        }
        std::free(event);
    }
}

// The titles of the list that aren't known yet: _NET_WM_NAME when present and not
// empty, else WM_NAME, whatever their type, as raw bytes. Each such window is first
// watched, then asked for its _NET_WM_NAME, all before any reply is read; WM_NAME
// follows for just the windows that lack the first. So an entry's titles cost at most
// two round trips however many windows there are, and none for titles already known.
void FetchTitles(Display& d, const std::vector<xcb_window_t>& windows) {
    ForgetChangedTitles(d);
    std::vector<xcb_window_t> unknown;
    for (xcb_window_t w : windows) {
        if (d.titles.count(w) == 0) unknown.push_back(w);
    }
    const std::uint32_t watch[] = {XCB_EVENT_MASK_PROPERTY_CHANGE |
                                   XCB_EVENT_MASK_STRUCTURE_NOTIFY};
    std::vector<xcb_get_property_cookie_t> cookies;
    cookies.reserve(unknown.size());
    for (xcb_window_t w : unknown) {
        xcb_change_window_attributes(d.connection, w, XCB_CW_EVENT_MASK, watch);
        cookies.push_back(
            AskProperty(d, w, d.atoms[kNetWmName], XCB_GET_PROPERTY_TYPE_ANY, UINT32_MAX / 4));
    }
    std::vector<xcb_window_t> plain;
    for (std::size_t i = 0; i < unknown.size(); ++i) {
        Owned reply(xcb_get_property_reply(d.connection, cookies[i], nullptr));
        if (!reply) {
            d.gone[unknown[i]];  // no title, and nothing to remember past this enumeration
            continue;
        }
        std::string title = PropertyBytes(reply.reply);
        if (title.empty()) plain.push_back(unknown[i]);
        d.titles[unknown[i]] = std::move(title);
    }
    cookies.clear();
    for (xcb_window_t w : plain) {
        cookies.push_back(
            AskProperty(d, w, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, UINT32_MAX / 4));
    }
    for (std::size_t i = 0; i < plain.size(); ++i) {
        Owned reply(xcb_get_property_reply(d.connection, cookies[i], nullptr));
        d.titles[plain[i]] = PropertyBytes(reply.reply);
    }
    // A change that raced the fetch has its event queued by now; drop what it touched
    // and fetch it again.
    std::vector<xcb_window_t> raced;
    ForgetChangedTitles(d);
    for (xcb_window_t w : unknown) {
        if (d.titles.count(w) == 0 && d.gone.count(w) == 0) raced.push_back(w);
    }
    if (!raced.empty() && raced.size() < unknown.size()) FetchTitles(d, raced);
}

const std::string* Title(Display& d, xcb_window_t window) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (auto it = d.titles.find(window); it != d.titles.end()) return &it->second;
        if (auto it = d.gone.find(window); it != d.gone.end()) return &it->second;
        FetchTitles(d, {window});
    }
    return &d.gone[window];
}

std::int32_t Clamp(std::int64_t value, std::int64_t low, std::int64_t high) {
    return static_cast<std::int32_t>(std::clamp(value, low, high));
}

// --- the error dialog ----------------------------------------------------------

constexpr std::uint32_t kKeyReturn = 0xff0d, kKeyPadEnter = 0xff8d, kKeyEscape = 0xff1b;

std::vector<std::string> DialogLines(const char* text) {
    std::vector<std::string> lines;
    std::string line;
    for (const char* p = text;; ++p) {
        if (*p == '\0' || *p == '\n' || line.size() == 72) {
            lines.push_back(line);
            line.clear();
            if (*p == '\0') break;
            if (*p == '\n') continue;
        }
        line.push_back(*p);
    }
    return lines;
}

void ShowDialog(Display& d, const char* text, const char* title) {
    xcb_connection_t* c = d.connection;
    const std::vector<std::string> lines = DialogLines(text);
    const xcb_font_t font = xcb_generate_id(c);
    xcb_open_font(c, font, 5, "fixed");
    Owned info(xcb_query_font_reply(c, xcb_query_font(c, font), nullptr));
    const int char_width = info ? std::max<int>(info->max_bounds.character_width, 1) : 6;
    const int ascent = info ? info->font_ascent : 10;
    const int line_height = info ? info->font_ascent + info->font_descent + 2 : 14;
    std::size_t widest = 0;
    for (const std::string& line : lines) widest = std::max(widest, line.size());
    const int width = std::max(320, static_cast<int>(widest) * char_width + 40);
    const int height = static_cast<int>(lines.size()) * line_height + 90;
    const int button_w = 80, button_h = 28;
    const int button_x = (width - button_w) / 2, button_y = height - button_h - 16;

    const xcb_window_t window = xcb_generate_id(c);
    const std::uint32_t values[] = {
        d.screen->white_pixel, XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_KEY_PRESS |
                                   XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_STRUCTURE_NOTIFY};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, d.root,
                      static_cast<std::int16_t>((d.screen->width_in_pixels - width) / 2),
                      static_cast<std::int16_t>((d.screen->height_in_pixels - height) / 2),
                      static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height), 1,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, d.screen->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
    const auto title_length = static_cast<std::uint32_t>(std::strlen(title));
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        title_length, title);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, d.atoms[kNetWmName], d.atoms[kUtf8String],
                        8, title_length, title);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, 22,
                        "quindarvel\0Quindarvel");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, d.atoms[kWmProtocols], XCB_ATOM_ATOM, 32,
                        1, &d.atoms[kWmDeleteWindow]);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, d.atoms[kWindowType], XCB_ATOM_ATOM, 32,
                        1, &d.atoms[kWindowTypeDialog]);

    const xcb_gcontext_t gc = xcb_generate_id(c);
    const std::uint32_t gc_values[] = {d.screen->black_pixel, d.screen->white_pixel, font};
    xcb_create_gc(c, gc, window, XCB_GC_FOREGROUND | XCB_GC_BACKGROUND | XCB_GC_FONT, gc_values);
    xcb_map_window(c, window);

    const xcb_setup_t* setup = xcb_get_setup(c);
    const int first = setup->min_keycode;
    Owned mapping(xcb_get_keyboard_mapping_reply(
        c,
        xcb_get_keyboard_mapping(
            c, setup->min_keycode,
            static_cast<std::uint8_t>(setup->max_keycode - setup->min_keycode + 1)),
        nullptr));
    xcb_flush(c);

    auto draw = [&] {
        int y = 20 + ascent;
        for (const std::string& line : lines) {
            xcb_image_text_8(c, static_cast<std::uint8_t>(std::min<std::size_t>(line.size(), 255)),
                             window, gc, 20, static_cast<std::int16_t>(y), line.data());
            y += line_height;
        }
        const xcb_rectangle_t button = {static_cast<std::int16_t>(button_x),
                                        static_cast<std::int16_t>(button_y), button_w, button_h};
        xcb_poly_rectangle(c, window, gc, 1, &button);
        xcb_image_text_8(c, 2, window, gc,
                         static_cast<std::int16_t>(button_x + button_w / 2 - char_width),
                         static_cast<std::int16_t>(button_y + button_h / 2 + ascent / 2), "OK");
        xcb_flush(c);
    };

    for (bool done = false; !done;) {
        xcb_generic_event_t* event = xcb_wait_for_event(c);
        if (event == nullptr) break;  // the display went away
        switch (event->response_type & 0x7f) {
            case XCB_EXPOSE:
                if (reinterpret_cast<xcb_expose_event_t*>(event)->count == 0) draw();
                break;
            case XCB_KEY_PRESS: {
                const auto* key = reinterpret_cast<xcb_key_press_event_t*>(event);
                if (mapping && key->detail >= first) {
                    const auto* syms = xcb_get_keyboard_mapping_keysyms(mapping.reply);
                    const std::uint32_t sym =
                        syms[(key->detail - first) * mapping->keysyms_per_keycode];
                    done = sym == kKeyReturn || sym == kKeyPadEnter || sym == kKeyEscape;
                }
                break;
            }
            case XCB_BUTTON_PRESS: {
                const auto* press = reinterpret_cast<xcb_button_press_event_t*>(event);
                done = press->event_x >= button_x && press->event_x < button_x + button_w &&
                       press->event_y >= button_y && press->event_y < button_y + button_h;
                break;
            }
            case XCB_CLIENT_MESSAGE: {
                const auto* message = reinterpret_cast<xcb_client_message_event_t*>(event);
                done = message->type == d.atoms[kWmProtocols] &&
                       message->data.data32[0] == d.atoms[kWmDeleteWindow];
                break;
            }
            case XCB_DESTROY_NOTIFY:
                done = true;
                break;
            default:
                break;
        }
        std::free(event);
    }
    xcb_destroy_window(c, window);
    xcb_free_gc(c, gc);
    xcb_close_font(c, font);
    xcb_flush(c);
}

}  // namespace

void EnumWindows(EnumWindowsProc proc, void* context) {
    Display& d = *Connect(true);
    std::vector<xcb_window_t> order;
    if (!d.ewmh || !ClientsTopDown(d, order)) order = TreeTopDown(d);
    d.gone.clear();
    FetchTitles(d, order);
    for (xcb_window_t window : order) {
        if (!proc(window, context)) break;
    }
}

std::int32_t GetWindowTextLengthA(WindowHandle window) {
    const std::string* title = Title(*Connect(true), window);
    return static_cast<std::int32_t>(std::min<std::size_t>(title->size(), INT32_MAX - 1));
}

std::int32_t GetWindowTextA(WindowHandle window, char* buf, std::int32_t size) {
    if (size <= 0) return 0;
    const std::string* title = Title(*Connect(true), window);
    const std::size_t copied = std::min(title->size(), static_cast<std::size_t>(size) - 1);
    std::memcpy(buf, title->data(), copied);
    buf[copied] = '\0';
    return static_cast<std::int32_t>(copied);
}

void GetWindowRect(WindowHandle window, WindowRect* rect) {
    Display& d = *Connect(true);
    xcb_connection_t* c = d.connection;
    const auto frame = d.frames.find(window);
    const xcb_window_t outer = frame != d.frames.end() ? frame->second : window;
    auto translate = xcb_translate_coordinates(c, outer, d.root, 0, 0);
    auto geometry = xcb_get_geometry(c, outer);
    xcb_get_property_cookie_t extents_cookie{};
    if (d.ewmh)
        extents_cookie = AskProperty(d, window, d.atoms[kFrameExtents], XCB_ATOM_CARDINAL, 4);
    Owned position(xcb_translate_coordinates_reply(c, translate, nullptr));
    Owned size(xcb_get_geometry_reply(c, geometry, nullptr));
    Geometry known;
    if (d.ewmh) {
        Owned reply(xcb_get_property_reply(c, extents_cookie, nullptr));
        if (reply && reply->format == 32 && xcb_get_property_value_length(reply.reply) >= 16) {
            const auto* e = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.reply));
            known.extents = {static_cast<std::int32_t>(e[0]), static_cast<std::int32_t>(e[1]),
                             static_cast<std::int32_t>(e[2]), static_cast<std::int32_t>(e[3])};
        }
    }
    if (!position || !size) return;  // the window is gone
    known.border = size->border_width;
    d.geometry[window] = known;
    const std::int32_t x = position->dst_x, y = position->dst_y, b = size->border_width;
    *rect = {x - b - known.extents.left, y - b - known.extents.top,
             x + size->width + b + known.extents.right,
             y + size->height + b + known.extents.bottom};
}

void SetWindowPos(WindowHandle window, WindowHandle, std::int32_t x, std::int32_t y,
                  std::int32_t cx, std::int32_t cy, std::uint32_t) {
    Display& d = *Connect(true);
    const Geometry known = d.geometry.count(window) ? d.geometry[window] : Geometry{};
    // X holds positions and sizes to 16 bits and refuses a size of 0.
    const std::int32_t left = Clamp(x, -32768, 32767), top = Clamp(y, -32768, 32767);
    const std::int32_t width = Clamp(std::int64_t{cx} - known.extents.left - known.extents.right -
                                         2 * std::int64_t{known.border},
                                     1, 32767);
    const std::int32_t height = Clamp(std::int64_t{cy} - known.extents.top - known.extents.bottom -
                                          2 * std::int64_t{known.border},
                                      1, 32767);
    if (d.ewmh) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = d.atoms[kMoveResizeWindow];
        // NorthWest gravity, all four fields given, from a pager-like tool.
        message.data.data32[0] = 1 | (0xFu << 8) | (2u << 12);
        message.data.data32[1] = static_cast<std::uint32_t>(left);
        message.data.data32[2] = static_cast<std::uint32_t>(top);
        message.data.data32[3] = static_cast<std::uint32_t>(width);
        message.data.data32[4] = static_cast<std::uint32_t>(height);
        xcb_send_event(d.connection, 0, d.root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&message));
    } else {
        const std::uint32_t values[] = {
            static_cast<std::uint32_t>(left), static_cast<std::uint32_t>(top),
            static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)};
        xcb_configure_window(d.connection, window,
                             XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                                 XCB_CONFIG_WINDOW_HEIGHT,
                             values);
    }
    xcb_flush(d.connection);
}

void MessageBoxA(WindowHandle, const char* text, const char* title, std::uint32_t) {
    std::fprintf(stderr, "%s\n", text);
    std::fflush(stderr);
    if (Display* d = Connect(false)) ShowDialog(*d, text, title);
}

}  // namespace quindarvel::host
