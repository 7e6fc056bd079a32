// The window zoom: which top-level window an entry names, and growing it. Matching
// is a pure function over byte strings; FindTargetWindow and ZoomWindow are the thin
// layer that asks the host for titles and rectangles and makes the placement request.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "host/window_system.h"

namespace quindarvel {

// Upper-cases the ASCII letters a-z in place; every other byte stays as it is.
void AsciiUpper(std::string& text);

// Whether the already upper-cased pattern occurs in the already upper-cased title.
// An empty pattern occurs in no title.
bool TitleContains(std::string_view upper_title, std::string_view upper_pattern);

// The last top-level window, in the host's enumeration order, whose title contains
// the pattern regardless of the case of ASCII letters; 0 when none does. The pattern
// is taken by value and upper-cased in place, so a huge line is never held twice.
WindowHandle FindTargetWindow(std::string pattern);

// Grows the window by the percentage around its centre without activating or
// restacking it; raises EInvalidOp, and places nothing, when the geometry leaves the
// signed 32-bit range.
void ZoomWindow(WindowHandle window, std::int32_t percentage);

}  // namespace quindarvel
