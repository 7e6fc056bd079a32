// The scan goes forward, because a trail byte can only be told from a single byte by
// knowing where its character began.
#include "run/module_path.h"

namespace quindarvel {
namespace {

std::size_t ThroughLastDelimiter(std::string_view path, std::string_view delimiters,
                                 LeadBytePredicate is_lead_byte) {
    std::size_t length = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto byte = static_cast<std::uint8_t>(path[i]);
        if (is_lead_byte != nullptr && i + 1 < path.size() && path[i + 1] != '\0' &&
            is_lead_byte(byte)) {
            ++i;  // the trail byte belongs to this character, whatever its value
        } else if (byte != '\0' && delimiters.find(path[i]) != std::string_view::npos) {
            length = i + 1;
        }
    }
    return length;
}

}  // namespace

std::size_t DirectoryLength(std::string_view path, std::string_view delimiters,
                            LeadBytePredicate is_lead_byte) {
    return ThroughLastDelimiter(path, delimiters, is_lead_byte);
}

std::string_view FileName(std::string_view path, std::string_view delimiters,
                          LeadBytePredicate is_lead_byte) {
    return path.substr(ThroughLastDelimiter(path, delimiters, is_lead_byte));
}

}  // namespace quindarvel
