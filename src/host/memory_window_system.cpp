// The seam's in-memory implementation. It behaves as the Windows host does where
// the logic relies on it, and records each call so tests can check exactly what
// reached the host and in which order.
#include "host/memory_window_system.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace quindarvel {
namespace memory_host {
namespace {

State& Instance() {
    static State state;
    return state;
}

std::string Hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(value));
    return text;
}

void Record(std::string call) { Instance().calls.push_back(std::move(call)); }

}  // namespace

State& Host() { return Instance(); }

void Reset() { Instance() = State{}; }

Window* FindWindow(WindowHandle handle) {
    for (Window& window : Instance().windows) {
        if (window.handle == handle) return &window;
    }
    return nullptr;
}

}  // namespace memory_host

namespace host {

using memory_host::File;
using memory_host::FindWindow;
using memory_host::Hex;
using memory_host::Instance;
using memory_host::ReadStep;
using memory_host::Record;
using memory_host::State;

const PathRules& GetPathRules() { return kWindowsPathRules; }

std::uint32_t GetModuleFileNameA(char* buf, std::uint32_t size) {
    Record("GetModuleFileNameA " + std::to_string(size));
    const std::string& path = Instance().module_path;
    const std::size_t copied = std::min<std::size_t>(path.size(), size - 1);
    std::memcpy(buf, path.data(), copied);
    buf[copied] = '\0';
    if (Instance().module_result >= 0) return static_cast<std::uint32_t>(Instance().module_result);
    return path.size() >= size ? size : static_cast<std::uint32_t>(copied);
}

std::uintptr_t GetModuleHandleA() {
    Record("GetModuleHandleA");
    return Instance().image_base;
}

FileHandle CreateFileA(const char* path, std::uint32_t access, std::uint32_t share,
                       std::uint32_t disposition, std::uint32_t attributes) {
    Record("CreateFileA " + std::string(path) + " " + Hex(access) + " " + Hex(share) + " " +
           Hex(disposition) + " " + Hex(attributes));
    State& state = Instance();
    if (state.files.count(path) == 0) return kNoFile;
    state.open_files.push_back({path});
    return state.open_files.size();
}

std::uint32_t ReadFile(FileHandle file, void* buf, std::uint32_t size, std::uint32_t* read) {
    State& state = Instance();
    State::OpenFile& open = state.open_files.at(file - 1);
    const File& data = state.files.at(open.path);
    std::size_t& offset = open.offset;
    const std::size_t index = open.reads++;
    const ReadStep step = index < data.reads.size() ? data.reads[index] : ReadStep{};
    std::uint32_t count = 0;
    if (step.error == 0) {
        count = static_cast<std::uint32_t>(
            std::min({std::size_t{size}, std::size_t{step.max_bytes}, data.bytes.size() - offset}));
        std::memcpy(buf, data.bytes.data() + offset, count);
        offset += count;
    }
    *read = count;
    Record("ReadFile " + std::to_string(size) + " -> " +
           (step.error != 0 ? "error " + std::to_string(step.error) : std::to_string(count)));
    return step.error;
}

std::uint32_t CloseHandle(FileHandle file) {
    State& state = Instance();
    Record("CloseHandle");
    return state.files.at(state.open_files.at(file - 1).path).close_error;
}

void EnumWindows(EnumWindowsProc proc, void* context) {
    Record("EnumWindows");
    State& state = Instance();
    // A copy, so that a test's callback changes take effect on the next enumeration.
    const std::vector<memory_host::Window> windows = state.windows;
    for (const memory_host::Window& window : windows) {
        if (!proc(window.handle, context)) break;
    }
    if (state.after_enumeration) state.after_enumeration(state);
}

std::int32_t GetWindowTextLengthA(WindowHandle window) {
    Record("GetWindowTextLengthA " + Hex(window));
    const memory_host::Window* found = FindWindow(window);
    if (found == nullptr) return 0;
    return found->reported_length.value_or(static_cast<std::int32_t>(found->title.size()));
}

std::int32_t GetWindowTextA(WindowHandle window, char* buf, std::int32_t size) {
    Record("GetWindowTextA " + Hex(window) + " " + std::to_string(size));
    const memory_host::Window* found = FindWindow(window);
    std::size_t copied = 0;
    if (found != nullptr && size > 0) {
        copied = std::min<std::size_t>(found->title.size(), static_cast<std::size_t>(size) - 1);
        copied = std::min(copied, found->copy_limit.value_or(copied));
        std::memcpy(buf, found->title.data(), copied);
    }
    if (size > 0) buf[copied] = '\0';
    return static_cast<std::int32_t>(copied);
}

void GetWindowRect(WindowHandle window, WindowRect* rect) {
    Record("GetWindowRect " + Hex(window));
    if (const memory_host::Window* found = FindWindow(window)) *rect = found->rect;
}

void SetWindowPos(WindowHandle window, WindowHandle insert_after, std::int32_t x, std::int32_t y,
                  std::int32_t cx, std::int32_t cy, std::uint32_t flags) {
    Record("SetWindowPos " + Hex(window) + " " + Hex(insert_after) + " " + std::to_string(x) + " " +
           std::to_string(y) + " " + std::to_string(cx) + " " + std::to_string(cy) + " " +
           Hex(flags));
    if (memory_host::Window* found = FindWindow(window)) {
        // Right and bottom wrap like the host's 32-bit fields rather than overflow.
        found->rect = {x, y, static_cast<std::int32_t>(std::int64_t{x} + cx),
                       static_cast<std::int32_t>(std::int64_t{y} + cy)};
    }
}

void MessageBoxA(WindowHandle owner, const char* text, const char* title, std::uint32_t flags) {
    Record("MessageBoxA " + Hex(owner) + " " + text + " | " + title + " " + Hex(flags));
}

bool IsDBCSEnabled() {
    Record("IsDBCSEnabled");
    return Instance().dbcs_enabled;
}

bool IsDBCSLeadByte(std::uint8_t byte) {
    for (const auto& [low, high] : Instance().lead_byte_ranges) {
        if (byte >= low && byte <= high) return true;
    }
    return false;
}

}  // namespace host
}  // namespace quindarvel
