// The file half of the seam on a POSIX host: the executable's path from
// /proc/self/exe, the configuration file through open/read/close, and the POSIX path
// rules (only "/" ends a directory). Titles and files stay byte strings; there are no
// double-byte code pages here.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "host/window_system.h"

extern "C" char __executable_start;  // the first byte of the executable's image

namespace quindarvel::host {
namespace {

// errno as the Windows error code with the same meaning, so that the messages are
// those of the Windows program; other values pass through as they are.
std::uint32_t ErrorCode(int error) {
    switch (error) {
        case ENOENT:
            return 2;
        case ENOTDIR:
        case ENAMETOOLONG:
            return 3;
        case EMFILE:
        case ENFILE:
            return 4;
        case EACCES:
        case EPERM:
            return 5;
        case ENOSPC:
            return 101;
        case EIO:
            return 23;  // a data error
        default:
            return static_cast<std::uint32_t>(error);
    }
}

}  // namespace

const PathRules& GetPathRules() {
    static constexpr PathRules kPosix{"/", "/", 4097, 4095};
    return kPosix;
}

std::uint32_t GetModuleFileNameA(char* buf, std::uint32_t size) {
    if (size == 0) return 0;
    const ssize_t n = readlink("/proc/self/exe", buf, size);
    if (n <= 0) {
        buf[0] = '\0';
        return 0;
    }
    if (static_cast<std::size_t>(n) >= size) {
        buf[size - 1] = '\0';
        return size;
    }
    buf[n] = '\0';
    return static_cast<std::uint32_t>(n);
}

std::uintptr_t GetModuleHandleA() { return reinterpret_cast<std::uintptr_t>(&__executable_start); }

FileHandle CreateFileA(const char* path, std::uint32_t, std::uint32_t, std::uint32_t,
                       std::uint32_t) {
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return kNoFile;
    // Only a regular file opens, as on Windows, where a folder doesn't.
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return kNoFile;
    }
    return static_cast<FileHandle>(fd) + 1;
}

std::uint32_t ReadFile(FileHandle file, void* buf, std::uint32_t size, std::uint32_t* read) {
    ssize_t n;
    do {
        n = ::read(static_cast<int>(file - 1), buf, size);
    } while (n < 0 && errno == EINTR);
    *read = n > 0 ? static_cast<std::uint32_t>(n) : 0;
    return n < 0 ? ErrorCode(errno) : 0;
}

std::uint32_t CloseHandle(FileHandle file) {
    return ::close(static_cast<int>(file - 1)) == 0 ? 0 : ErrorCode(errno);
}

bool IsDBCSEnabled() { return false; }

bool IsDBCSLeadByte(std::uint8_t) { return false; }

}  // namespace quindarvel::host
