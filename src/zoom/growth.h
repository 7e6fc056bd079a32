// The growth arithmetic: size × 0.01 × percentage in 80-bit extended precision,
// computed exactly with integers so that no compiler, long double format or FPU
// precision setting can change a result; and the placement it leads to.
#pragma once

#include <cstdint>
#include <optional>

#include "host/window_system.h"

namespace quindarvel {

// The growth of a size by a percentage: the size times the extended-precision
// constant nearest 0.01, times the percentage, each product rounded to a 64-bit
// significand (nearest, ties to even), then rounded to an integer (ties to even).
// nullopt when that integer is outside the signed 32-bit range.
std::optional<std::int32_t> Growth(std::int64_t size, std::int32_t percentage);

// Where a zoomed window goes: new left, top, width and height.
struct Placement {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t cx = 0;
    std::int32_t cy = 0;
    friend bool operator==(const Placement&, const Placement&) = default;
};

// The placement for a window with this rectangle grown by the percentage: each edge
// pair moves out by half the growth (the odd pixel goes to the right or bottom).
// nullopt when a growth, or any of the four results, leaves the signed 32-bit range.
std::optional<Placement> ComputePlacement(const WindowRect& rect, std::int32_t percentage);

}  // namespace quindarvel
