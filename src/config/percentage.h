// The percentage line's syntax: optional blanks, then a decimal integer with an
// optional sign or a "$" hexadecimal pattern, ending at the line's end or its first
// NUL. Pure functions over bytes; raising the failure is the reader's business.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quindarvel {

// The value of a percentage text, or nullopt when it is not a valid integer.
std::optional<std::int32_t> ParsePercentage(std::string_view text);

// The conversion failure's message for the whole data line, held to 4096 characters.
std::string InvalidIntegerMessage(std::string_view line);

}  // namespace quindarvel
