// Looking up and zooming one entry's window through the host seam. Results of the
// window operations are not tested: a window that vanishes mid-run simply isn't
// changed.
#include "zoom/zoom.h"

#include <limits>
#include <new>
#include <utility>

#include "host/failure.h"
#include "zoom/growth.h"

namespace quindarvel {
namespace {

struct Lookup {
    std::string pattern;  // upper-cased
    std::string title;    // reused across windows
    WindowHandle result = 0;
};

bool VisitWindow(WindowHandle window, void* context) {
    auto& lookup = *static_cast<Lookup*>(context);
    const std::int32_t length = host::GetWindowTextLengthA(window);
    // A title that can't be held (its size doesn't fit the call, or memory runs out)
    // can't be compared; the window is passed over like an untitled one.
    if (length <= 0 || length == std::numeric_limits<std::int32_t>::max()) return true;
    try {
        lookup.title.assign(static_cast<std::size_t>(length) + 1, '\0');
    } catch (const std::bad_alloc&) {
        return true;
    }
    // Whatever the window fails to copy stays NUL.
    host::GetWindowTextA(window, lookup.title.data(), length + 1);
    lookup.title.resize(static_cast<std::size_t>(length));
    AsciiUpper(lookup.title);
    if (TitleContains(lookup.title, lookup.pattern)) lookup.result = window;
    return true;
}

}  // namespace

void AsciiUpper(std::string& text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
    }
}

bool TitleContains(std::string_view upper_title, std::string_view upper_pattern) {
    return !upper_pattern.empty() && upper_title.find(upper_pattern) != std::string_view::npos;
}

WindowHandle FindTargetWindow(std::string pattern) {
    Lookup lookup;
    lookup.pattern = std::move(pattern);
    AsciiUpper(lookup.pattern);
    host::EnumWindows(VisitWindow, &lookup);
    return lookup.result;
}

void ZoomWindow(WindowHandle window, std::int32_t percentage) {
    WindowRect rect;
    host::GetWindowRect(window, &rect);
    const std::optional<Placement> placement = ComputePlacement(rect, percentage);
    if (!placement) RaiseFailure(FailureKind::EInvalidOp, "Invalid floating point operation");
    host::SetWindowPos(window, 0, placement->x, placement->y, placement->cx, placement->cy,
                       kSwpNoZOrder | kSwpNoActivate | kSwpNoSendChanging);
}

}  // namespace quindarvel
