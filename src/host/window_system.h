// The one seam between quindarvel's logic and its host: the few operating-system
// calls the run needs, as plain functions over plain types. Exactly one host
// implementation is linked into each target (the Win32 host into the executable,
// the in-memory host into the unit tests), so nothing here names a Windows type
// and no logic file ever includes windows.h.
#pragma once

#include <cstdint>
#include <string_view>

namespace quindarvel {

// A top-level window, as the host's 32-bit handle value; 0 means no window.
using WindowHandle = std::uint32_t;

// An open file; kNoFile means the open failed.
using FileHandle = std::uintptr_t;
inline constexpr FileHandle kNoFile = 0;

// A window's outer rectangle in screen pixels; right and bottom lie just outside.
struct WindowRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    friend bool operator==(const WindowRect&, const WindowRect&) = default;
};

// The Windows constants that the logic passes through the seam unchanged.
inline constexpr std::uint32_t kGenericRead = 0x80000000u;
inline constexpr std::uint32_t kFileShareRead = 0x00000001u;
inline constexpr std::uint32_t kOpenExisting = 3;
inline constexpr std::uint32_t kFileAttributeNormal = 0x00000080u;
inline constexpr std::uint32_t kSwpNoZOrder = 0x0004u;
inline constexpr std::uint32_t kSwpNoActivate = 0x0010u;
inline constexpr std::uint32_t kSwpNoSendChanging = 0x0400u;
inline constexpr std::uint32_t kMbOk = 0x0000u;
inline constexpr std::uint32_t kMbIconStop = 0x0010u;
inline constexpr std::uint32_t kMbTaskModal = 0x2000u;
inline constexpr std::uint32_t kErrorBrokenPipe = 109;

// How the host's paths are split and how long they may be.
struct PathRules {
    std::string_view directory_delimiters;  // bytes that end a directory part
    std::string_view file_name_delimiters;  // bytes before a bare file name
    std::uint32_t module_path_buffer;       // characters for the executable's path
    std::size_t max_open_path;              // the longest path an open takes
};

// The rules of Windows paths, which the Win32 host and the in-memory host share.
inline constexpr PathRules kWindowsPathRules{"\\:", "\\", 261, 259};

// Called once per top-level window; the answer is the host's "continue" flag.
using EnumWindowsProc = bool (*)(WindowHandle window, void* context);

namespace host {

// The host's path rules (on Windows: "\\" and ":", "\\", 261 and 259 characters).
const PathRules& GetPathRules();

// Copies the running executable's full path into buf (size bytes) and NUL-terminates
// it; returns the characters copied without the NUL: 0 on failure, size when cut.
std::uint32_t GetModuleFileNameA(char* buf, std::uint32_t size);

// The address at which the running executable's image is loaded (module 0).
std::uintptr_t GetModuleHandleA();

// Opens the file at the NUL-terminated path with the given access, sharing,
// disposition and attributes; returns kNoFile on any failure.
FileHandle CreateFileA(const char* path, std::uint32_t access, std::uint32_t share,
                       std::uint32_t disposition, std::uint32_t attributes);

// Reads up to size bytes into buf and stores the count in *read (0 at the end of the
// file); returns 0 on success, else the host's error code (109: broken pipe).
std::uint32_t ReadFile(FileHandle file, void* buf, std::uint32_t size, std::uint32_t* read);

// Closes the file; returns 0 on success, else the host's error code.
std::uint32_t CloseHandle(FileHandle file);

// Calls proc(window, context) for every top-level window, on this thread, before
// returning; stops early only if proc answers false.
void EnumWindows(EnumWindowsProc proc, void* context);

// The length of the window's title in characters; 0 or less means no title.
std::int32_t GetWindowTextLengthA(WindowHandle window);

// Copies at most size - 1 characters of the title and a NUL into buf (size > 0);
// returns the characters copied.
std::int32_t GetWindowTextA(WindowHandle window, char* buf, std::int32_t size);

// Fills *rect with the window's outer rectangle; leaves it untouched for a window
// that no longer exists.
void GetWindowRect(WindowHandle window, WindowRect* rect);

// Moves and resizes the window (left, top, width, height in pixels) with the given
// SWP_ flags; insert_after is ignored under kSwpNoZOrder.
void SetWindowPos(WindowHandle window, WindowHandle insert_after, std::int32_t x, std::int32_t y,
                  std::int32_t cx, std::int32_t cy, std::uint32_t flags);

// Shows a modal box with no owner when owner is 0; returns once it is dismissed.
void MessageBoxA(WindowHandle owner, const char* text, const char* title, std::uint32_t flags);

// Whether the host's ANSI code page has double-byte characters at all.
bool IsDBCSEnabled();

// Whether byte starts a double-byte character in the host's ANSI code page.
bool IsDBCSLeadByte(std::uint8_t byte);

}  // namespace host
}  // namespace quindarvel
