// The in-memory host behind the window system seam, for the unit tests: windows with
// titles and rectangles in an enumeration order the test sets, a module path, files
// given as bytes with the read sizes and failures the test chooses, and a record of
// every call that reached the host, with its arguments (the code page's lead-byte
// queries aside).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "host/window_system.h"

namespace quindarvel::memory_host {

struct Window {
    WindowHandle handle = 0;
    std::string title;
    WindowRect rect;
    // What GetWindowTextLengthA answers when set; else the title's length.
    std::optional<std::int32_t> reported_length = std::nullopt;
    // When set, GetWindowTextA copies at most this many characters.
    std::optional<std::size_t> copy_limit = std::nullopt;
};

// One ReadFile call: fails with error when it is nonzero, else yields at most
// max_bytes of what the caller asked for.
struct ReadStep {
    std::uint32_t max_bytes = UINT32_MAX;
    std::uint32_t error = 0;
};

struct File {
    std::string bytes;
    // The first reads, in order; later ones yield as much as is asked and remains.
    std::vector<ReadStep> reads;
    std::uint32_t close_error = 0;
};

struct State {
    std::string module_path;
    // What GetModuleFileNameA answers; -1 means the copied length (the path's, or the
    // buffer size when the path doesn't fit).
    std::int64_t module_result = -1;
    std::uintptr_t image_base = 0x00400000;
    std::map<std::string, File> files;
    std::vector<Window> windows;  // in enumeration order
    bool dbcs_enabled = false;
    std::vector<std::pair<std::uint8_t, std::uint8_t>> lead_byte_ranges;
    // Runs once after each enumeration, before EnumWindows returns.
    std::function<void(State&)> after_enumeration;

    // Every call that reached the host, e.g. "SetWindowPos 0x10 0 90 90 220 220 0x414".
    std::vector<std::string> calls;
    // Files opened so far, by handle - 1.
    struct OpenFile {
        std::string path;
        std::size_t offset = 0;  // bytes consumed by reads
        std::size_t reads = 0;   // ReadFile calls so far
    };
    std::vector<OpenFile> open_files;
};

// The one in-memory host; tests set it up, run the logic, then look at it.
State& Host();

// Puts the host back into its empty state.
void Reset();

// The window with this handle, or nullptr.
Window* FindWindow(WindowHandle handle);

}  // namespace quindarvel::memory_host
