// The window system seam on a real Windows host: each operation is the Windows API
// call of the same name, with handles converted at the boundary. HWNDs carry 32
// significant bits on 64-bit Windows too, so they cross the seam sign-extended.
// user32 is loaded when a window operation is first needed, not at start-up, so that
// a run that ends at the open (no configuration file) costs no more than any program.
#include <windows.h>

#include "host/window_system.h"

namespace quindarvel::host {
namespace {

template <typename Function>
Function Resolve(HMODULE module, const char* name) {
    FARPROC proc = module != nullptr ? ::GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(proc));
}

struct User32 {
    decltype(&::EnumWindows) EnumWindows;
    decltype(&::GetWindowTextLengthA) GetWindowTextLengthA;
    decltype(&::GetWindowTextA) GetWindowTextA;
    decltype(&::GetWindowRect) GetWindowRect;
    decltype(&::SetWindowPos) SetWindowPos;
    decltype(&::MessageBoxA) MessageBoxA;
};

const User32& user32() {
    // A known DLL: it always comes from the system folder, whatever the search path.
    static const User32 functions = [] {
        HMODULE module = ::LoadLibraryA("user32.dll");
        return User32{
            Resolve<decltype(&::EnumWindows)>(module, "EnumWindows"),
            Resolve<decltype(&::GetWindowTextLengthA)>(module, "GetWindowTextLengthA"),
            Resolve<decltype(&::GetWindowTextA)>(module, "GetWindowTextA"),
            Resolve<decltype(&::GetWindowRect)>(module, "GetWindowRect"),
            Resolve<decltype(&::SetWindowPos)>(module, "SetWindowPos"),
            Resolve<decltype(&::MessageBoxA)>(module, "MessageBoxA"),
        };
    }();
    return functions;
}

HWND ToHwnd(WindowHandle window) {
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(static_cast<std::int32_t>(window)));
}

WindowHandle FromHwnd(HWND hwnd) {
    return static_cast<WindowHandle>(reinterpret_cast<UINT_PTR>(hwnd));
}

struct Enumeration {
    EnumWindowsProc proc;
    void* context;
};

BOOL CALLBACK EnumTrampoline(HWND hwnd, LPARAM param) {
    auto* enumeration = reinterpret_cast<Enumeration*>(param);
    return enumeration->proc(FromHwnd(hwnd), enumeration->context) ? TRUE : FALSE;
}

}  // namespace

const PathRules& GetPathRules() { return kWindowsPathRules; }

std::uint32_t GetModuleFileNameA(char* buf, std::uint32_t size) {
    return ::GetModuleFileNameA(nullptr, buf, size);
}

std::uintptr_t GetModuleHandleA() {
    return reinterpret_cast<std::uintptr_t>(::GetModuleHandleA(nullptr));
}

FileHandle CreateFileA(const char* path, std::uint32_t access, std::uint32_t share,
                       std::uint32_t disposition, std::uint32_t attributes) {
    HANDLE file = ::CreateFileA(path, access, share, nullptr, disposition, attributes, nullptr);
    return file == INVALID_HANDLE_VALUE ? kNoFile : reinterpret_cast<FileHandle>(file);
}

std::uint32_t ReadFile(FileHandle file, void* buf, std::uint32_t size, std::uint32_t* read) {
    DWORD count = 0;
    BOOL ok = ::ReadFile(reinterpret_cast<HANDLE>(file), buf, size, &count, nullptr);
    *read = count;
    return ok ? 0 : ::GetLastError();
}

std::uint32_t CloseHandle(FileHandle file) {
    return ::CloseHandle(reinterpret_cast<HANDLE>(file)) ? 0 : ::GetLastError();
}

void EnumWindows(EnumWindowsProc proc, void* context) {
    Enumeration enumeration{proc, context};
    if (user32().EnumWindows == nullptr) return;
    user32().EnumWindows(EnumTrampoline, reinterpret_cast<LPARAM>(&enumeration));
}

std::int32_t GetWindowTextLengthA(WindowHandle window) {
    if (user32().GetWindowTextLengthA == nullptr) return 0;
    return user32().GetWindowTextLengthA(ToHwnd(window));
}

std::int32_t GetWindowTextA(WindowHandle window, char* buf, std::int32_t size) {
    if (user32().GetWindowTextA == nullptr) return 0;
    return user32().GetWindowTextA(ToHwnd(window), buf, size);
}

void GetWindowRect(WindowHandle window, WindowRect* rect) {
    RECT r;
    if (user32().GetWindowRect == nullptr || !user32().GetWindowRect(ToHwnd(window), &r)) return;
    *rect = {r.left, r.top, r.right, r.bottom};
}

void SetWindowPos(WindowHandle window, WindowHandle insert_after, std::int32_t x, std::int32_t y,
                  std::int32_t cx, std::int32_t cy, std::uint32_t flags) {
    if (user32().SetWindowPos == nullptr) return;
    user32().SetWindowPos(ToHwnd(window), ToHwnd(insert_after), x, y, cx, cy, flags);
}

void MessageBoxA(WindowHandle owner, const char* text, const char* title, std::uint32_t flags) {
    if (user32().MessageBoxA == nullptr) return;
    user32().MessageBoxA(ToHwnd(owner), text, title, flags);
}

// The ANSI code page has double-byte characters exactly when its characters take up
// to two bytes; kernel32 answers that without loading user32.
bool IsDBCSEnabled() {
    CPINFO info;
    return ::GetCPInfo(CP_ACP, &info) && info.MaxCharSize > 1;
}

bool IsDBCSLeadByte(std::uint8_t byte) { return ::IsDBCSLeadByte(byte) != FALSE; }

}  // namespace quindarvel::host
