// A host for the configuration reader's benchmark: the seam's file operations on real
// files through POSIX calls, and a desktop with no windows. Linked in place of the
// in-memory host so that no call is recorded and the reads are the real thing.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "host/window_system.h"

namespace quindarvel::host {

std::uint32_t GetModuleFileNameA(char* buf, std::uint32_t size) {
    if (size > 0) buf[0] = '\0';
    return 0;
}

std::uintptr_t GetModuleHandleA() { return 0; }

FileHandle CreateFileA(const char* path, std::uint32_t, std::uint32_t, std::uint32_t,
                       std::uint32_t) {
    const int fd = open(path, O_RDONLY);
    return fd < 0 ? kNoFile : static_cast<FileHandle>(fd) + 1;
}

std::uint32_t ReadFile(FileHandle file, void* buf, std::uint32_t size, std::uint32_t* read) {
    const ssize_t n = ::read(static_cast<int>(file - 1), buf, size);
    *read = n > 0 ? static_cast<std::uint32_t>(n) : 0;
    return n < 0 ? static_cast<std::uint32_t>(errno) : 0;
}

std::uint32_t CloseHandle(FileHandle file) {
    return ::close(static_cast<int>(file - 1)) == 0 ? 0 : static_cast<std::uint32_t>(errno);
}

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
bool IsDBCSEnabled() { return false; }
bool IsDBCSLeadByte(std::uint8_t) { return false; }

}  // namespace quindarvel::host
