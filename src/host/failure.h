// Failure: what the run raises where it detects something wrong. A Failure is
// thrown at the point of detection and caught only around the whole run, where
// the failure report turns it into the error box and exit status 1.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quindarvel {

enum class FailureKind { EConvertError, EInOutError, EInvalidOp };

struct Failure {
    FailureKind kind;
    std::string message;
    // Address of the code that raised it, for the report's location.
    std::uintptr_t address;
};

// The kind's name as the report shows it, e.g. "EConvertError".
std::string_view FailureKindName(FailureKind kind);

// Throws a Failure that records the caller's address.
[[noreturn]] void RaiseFailure(FailureKind kind, std::string message);

}  // namespace quindarvel
