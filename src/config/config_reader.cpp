// The line rules: a CR, or a CR LF, ends a line; a lone LF is content; the file's
// end and the first 0x1A are the end of data, which is never consumed, so every
// read after it sees it again and the file is never read past it.
#include "config/config_reader.h"

#include <algorithm>

#include "config/percentage.h"
#include "host/failure.h"

namespace quindarvel {
namespace {

constexpr unsigned char kCr = 0x0D;
constexpr unsigned char kLf = 0x0A;

bool IsComment(std::string_view line) { return !line.empty() && line.front() == '/'; }

}  // namespace

std::string IoErrorMessage(std::uint32_t code) {
    switch (code) {
        case 2:
            return "File not found";
        case 3:
            return "Invalid filename";
        case 4:
            return "Too many open files";
        case 5:
            return "File access denied";
        case 100:
            return "Read beyond end of file";
        case 101:
            return "Disk full";
        case 106:
            return "Invalid numeric input";
        default:
            return "I/O error " + std::to_string(code);
    }
}

bool ConfigReader::Open(const char* path) {
    file_ =
        host::CreateFileA(path, kGenericRead, kFileShareRead, kOpenExisting, kFileAttributeNormal);
    pos_ = len_ = 0;
    return file_ != kNoFile;
}

unsigned char ConfigReader::Peek() {
    if (pos_ == len_) {
        std::uint32_t count = 0;
        std::uint32_t error = host::ReadFile(file_, buffer_, kBufferSize, &count);
        if (error == kErrorBrokenPipe) {
            count = 0;
        } else if (error != 0) {
            RaiseFailure(FailureKind::EInOutError, IoErrorMessage(error));
        }
        // A host that claims more than was asked for is not believed beyond the buffer.
        count = std::min(count, kBufferSize);
        if (count == 0) {
            buffer_[0] = kEndOfData;
            count = 1;
        }
        pos_ = 0;
        len_ = count;
    }
    return buffer_[pos_];
}

bool ConfigReader::AtEnd() { return Peek() == kEndOfData; }

void ConfigReader::ReadLine(std::string& line) {
    line.clear();
    for (;;) {
        Peek();
        const unsigned char* begin = buffer_ + pos_;
        const unsigned char* end = buffer_ + len_;
        const unsigned char* stop =
            std::find_if(begin, end, [](unsigned char c) { return c == kCr || c == kEndOfData; });
        line.append(reinterpret_cast<const char*>(begin), static_cast<std::size_t>(stop - begin));
        pos_ += static_cast<std::uint32_t>(stop - begin);
        if (stop != end) break;
    }
    if (Peek() == kCr) {
        ++pos_;
        if (Peek() == kLf) ++pos_;
    }
}

std::string ConfigReader::NextDataLine() {
    std::string line;
    for (;;) {
        ReadLine(line);
        if (!IsComment(line) || AtEnd()) return line;
    }
}

ZoomEntry ConfigReader::NextEntry() {
    ZoomEntry entry;
    entry.pattern = NextDataLine();
    std::string text = NextDataLine();
    std::optional<std::int32_t> percentage = ParsePercentage(text);
    if (!percentage) RaiseFailure(FailureKind::EConvertError, InvalidIntegerMessage(text));
    entry.percentage = *percentage;
    return entry;
}

void ConfigReader::Close() {
    std::uint32_t error = host::CloseHandle(file_);
    file_ = kNoFile;
    if (error != 0) RaiseFailure(FailureKind::EInOutError, IoErrorMessage(error));
}

}  // namespace quindarvel
