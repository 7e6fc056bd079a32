// The window half of the seam for the configuration reader's benchmark: a desktop
// with no windows, so that the reader is measured alone over real files.
#include "host/window_system.h"

namespace quindarvel::host {

void EnumWindows(EnumWindowsProc, void*) {}
std::int32_t GetWindowTextLengthA(WindowHandle) { return 0; }
std::int32_t GetWindowTextA(WindowHandle, char* buf, std::int32_t size) {
    if (size > 0) buf[0] = '\0';
    return 0;
}
void GetWindowRect(WindowHandle, WindowRect*) {}
void SetWindowPos(WindowHandle, WindowHandle, std::int32_t, std::int32_t, std::int32_t,
                  std::int32_t, std::uint32_t) {}
void MessageBoxA(WindowHandle, const char*, const char*, std::uint32_t) {}

}  // namespace quindarvel::host
