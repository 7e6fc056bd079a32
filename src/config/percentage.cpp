// Percentage conversion in one left-to-right pass, with 32-bit unsigned
// accumulation guarded so that it can never wrap.
#include "config/percentage.h"

namespace quindarvel {
namespace {

int HexDigit(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::optional<std::int32_t> ParsePercentage(std::string_view text) {
    // What follows a NUL is not looked at.
    text = text.substr(0, text.find('\0'));
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;

    if (i < text.size() && text[i] == '$') {
        ++i;
        if (i == text.size()) return std::nullopt;
        std::uint32_t value = 0;
        for (; i < text.size(); ++i) {
            int digit = HexDigit(static_cast<unsigned char>(text[i]));
            if (digit < 0 || value > 0x0FFFFFFFu) return std::nullopt;
            value = value * 16 + static_cast<std::uint32_t>(digit);
        }
        // The 32 bits are a two's complement pattern: $FFFFFFFF is -1.
        return static_cast<std::int32_t>(value);
    }

    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size()) return std::nullopt;
    std::uint32_t value = 0;
    for (; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < '0' || c > '9' || value > 214748364u) return std::nullopt;
        value = value * 10 + (c - '0');
    }
    // -2147483648 is out of reach in decimal; only the hexadecimal form gets there.
    if (value > 2147483647u) return std::nullopt;
    auto magnitude = static_cast<std::int32_t>(value);
    return negative ? -magnitude : magnitude;
}

std::string InvalidIntegerMessage(std::string_view line) {
    constexpr std::string_view kTail = "' is not a valid integer value";
    constexpr std::size_t kLimit = 4096;
    if (1 + line.size() + kTail.size() > kLimit) {
        return "Format result longer than 4096 characters";
    }
    std::string message = "'";
    message.append(line);
    message.append(kTail);
    return message;
}

}  // namespace quindarvel
