// Splitting the executable's path: its directory part, where the configuration file
// lies, and its file name, which the failure report names. Pure byte scans; the
// code page's lead bytes come in as a predicate (nullptr without double-byte
// characters).
#pragma once

#include <cstdint>
#include <string_view>

namespace quindarvel {

using LeadBytePredicate = bool (*)(std::uint8_t);

// The length of path up to and including its last delimiter (on Windows "\" or ":");
// 0 without one. A byte that trails a double-byte character is no delimiter.
std::size_t DirectoryLength(std::string_view path, std::string_view delimiters,
                            LeadBytePredicate is_lead_byte);

// What follows the last delimiter of path (on Windows "\"), all of it without one,
// with the same rule for trail bytes.
std::string_view FileName(std::string_view path, std::string_view delimiters,
                          LeadBytePredicate is_lead_byte);

}  // namespace quindarvel
