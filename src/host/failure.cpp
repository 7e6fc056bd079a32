// Raising a Failure. Kept out of line so that the return address names the code
// that detected the failure.
#include "host/failure.h"

namespace quindarvel {

std::string_view FailureKindName(FailureKind kind) {
    switch (kind) {
        case FailureKind::EConvertError:
            return "EConvertError";
        case FailureKind::EInOutError:
            return "EInOutError";
        case FailureKind::EInvalidOp:
            return "EInvalidOp";
    }
    return "Exception";
}

[[gnu::noinline]] void RaiseFailure(FailureKind kind, std::string message) {
    auto address = reinterpret_cast<std::uintptr_t>(
        __builtin_extract_return_addr(__builtin_return_address(0)));
    throw Failure{kind, std::move(message), address};
}

}  // namespace quindarvel
