// ConfigReader: turns the bytes of the configuration file into zoom entries. It owns
// the open file and a 128-byte read buffer and never goes back in the file; all file
// access goes through the host seam.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "host/window_system.h"

namespace quindarvel {

struct ZoomEntry {
    std::string pattern;  // the whole data line as read, possibly empty
    std::int32_t percentage = 0;
    friend bool operator==(const ZoomEntry&, const ZoomEntry&) = default;
};

// The message for a failed read or close with the host's error code.
std::string IoErrorMessage(std::uint32_t code);

class ConfigReader {
public:
    static constexpr std::uint32_t kBufferSize = 128;

    // Opens the file read-only, letting others read but not write; false on failure.
    bool Open(const char* path);
    // True when the next byte is the end of data (the file's end or a 0x1A).
    bool AtEnd();
    // The next line that is not a comment, or the last comment when the data ends
    // while skipping comments; the position is left after its line end.
    std::string NextDataLine();
    // A title pattern line and a percentage line; raises EConvertError for a bad
    // percentage.
    ZoomEntry NextEntry();
    // Closes the file; raises EInOutError when the host reports a failure.
    void Close();

private:
    static constexpr unsigned char kEndOfData = 0x1A;

    // The next byte without consuming it, refilling the buffer when it is used up.
    unsigned char Peek();
    void ReadLine(std::string& line);

    // Not closed on destruction: when a failure cuts the run short, the file is left
    // to the end of the process and no host call follows the failure.
    FileHandle file_ = kNoFile;
    unsigned char buffer_[kBufferSize] = {};
    std::uint32_t pos_ = 0;
    std::uint32_t len_ = 0;
};

}  // namespace quindarvel
