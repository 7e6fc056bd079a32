// Extended-precision products emulated on 64-bit halves, because 32-bit targets have
// no 128-bit integer type. A value is held as a magnitude sig × 2^exp with a sign
// kept apart: round to nearest is symmetric, so the sign never affects the rounding.
#include "zoom/growth.h"

namespace quindarvel {
namespace {

// The nearest extended value to 1/100: significand 0xA3D70A3D70A3D70A, biased
// exponent 0x3FF8, that is the significand times 2^-70.
constexpr std::uint64_t kHundredthSig = 0xA3D70A3D70A3D70Aull;
constexpr int kHundredthExp = -70;

struct U128 {
    std::uint64_t hi;
    std::uint64_t lo;
};

U128 Multiply(std::uint64_t a, std::uint64_t b) {
    const std::uint64_t a0 = a & 0xFFFFFFFFu, a1 = a >> 32;
    const std::uint64_t b0 = b & 0xFFFFFFFFu, b1 = b >> 32;
    const std::uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
    const std::uint64_t mid = (p00 >> 32) + (p01 & 0xFFFFFFFFu) + (p10 & 0xFFFFFFFFu);
    return {p11 + (p01 >> 32) + (p10 >> 32) + (mid >> 32), (p00 & 0xFFFFFFFFu) | (mid << 32)};
}

int BitLength(std::uint64_t v) {
    int n = 0;
    while (v != 0) {
        ++n;
        v >>= 1;
    }
    return n;
}

bool Bit(const U128& m, int i) {
    return i >= 64 ? ((m.hi >> (i - 64)) & 1) != 0 : ((m.lo >> i) & 1) != 0;
}

// Whether any of the bits below bit k is set (0 < k <= 128).
bool AnyBelow(const U128& m, int k) {
    if (k >= 128) return m.hi != 0 || m.lo != 0;
    if (k > 64) return m.lo != 0 || (m.hi & ((std::uint64_t{1} << (k - 64)) - 1)) != 0;
    if (k == 64) return m.lo != 0;
    return (m.lo & ((std::uint64_t{1} << k) - 1)) != 0;
}

// The low 64 bits of m >> s (0 < s < 128).
std::uint64_t ShiftRight(const U128& m, int s) {
    if (s >= 64) return m.hi >> (s - 64);
    return (m.lo >> s) | (m.hi << (64 - s));
}

struct Extended {
    std::uint64_t sig;  // bit 63 set
    int exp;
};

// A nonzero 128-bit magnitude rounded to a 64-bit significand, ties to even.
Extended RoundToExtended(const U128& m) {
    const int n = m.hi != 0 ? 64 + BitLength(m.hi) : BitLength(m.lo);
    if (n <= 64) return {m.lo << (64 - n), n - 64};
    const int s = n - 64;
    std::uint64_t sig = ShiftRight(m, s);
    const bool guard = Bit(m, s - 1);
    const bool sticky = AnyBelow(m, s - 1);
    if (guard && (sticky || (sig & 1) != 0)) {
        ++sig;
        if (sig == 0) return {std::uint64_t{1} << 63, s + 1};
    }
    return {sig, s};
}

// The magnitude sig × 2^exp rounded to an integer, ties to even; nullopt from 2^63.
std::optional<std::uint64_t> RoundToInteger(const Extended& v) {
    if (v.exp >= 0) return std::nullopt;  // at least 2^63
    const int shift = -v.exp;
    if (shift > 64) return 0;                                          // below one half
    if (shift == 64) return v.sig > (std::uint64_t{1} << 63) ? 1 : 0;  // in [0.5, 1)
    std::uint64_t q = v.sig >> shift;
    const std::uint64_t rem = v.sig & ((std::uint64_t{1} << shift) - 1);
    const std::uint64_t half = std::uint64_t{1} << (shift - 1);
    if (rem > half || (rem == half && (q & 1) != 0)) ++q;
    return q;
}

std::uint64_t Magnitude(std::int64_t v) {
    return v < 0 ? ~static_cast<std::uint64_t>(v) + 1 : static_cast<std::uint64_t>(v);
}

// a + b when the sum fits in 32 bits.
std::optional<std::int32_t> Sum32(std::int64_t a, std::int64_t b) {
    const std::int64_t sum = a + b;
    if (sum < INT32_MIN || sum > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(sum);
}

}  // namespace

std::optional<std::int32_t> Growth(std::int64_t size, std::int32_t percentage) {
    if (size == 0 || percentage == 0) return 0;
    const bool negative = (size < 0) != (percentage < 0);
    Extended scaled = RoundToExtended(Multiply(Magnitude(size), kHundredthSig));
    scaled.exp += kHundredthExp;
    Extended product = RoundToExtended(Multiply(scaled.sig, Magnitude(percentage)));
    product.exp += scaled.exp;
    const std::optional<std::uint64_t> rounded = RoundToInteger(product);
    const std::uint64_t limit = negative ? 0x80000000u : 0x7FFFFFFFu;
    if (!rounded || *rounded > limit) return std::nullopt;
    const auto magnitude = static_cast<std::int64_t>(*rounded);
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::optional<Placement> ComputePlacement(const WindowRect& rect, std::int32_t percentage) {
    // A rectangle wider than 32 bits can express is taken at its true width.
    const std::int64_t width = std::int64_t{rect.right} - rect.left;
    const std::int64_t height = std::int64_t{rect.bottom} - rect.top;
    const std::optional<std::int32_t> gx = Growth(width, percentage);
    if (!gx) return std::nullopt;
    const std::optional<std::int32_t> gy = Growth(height, percentage);
    if (!gy) return std::nullopt;
    // Halving truncates toward zero, so an odd growth moves the far edge one more.
    const auto x = Sum32(rect.left, -(std::int64_t{*gx} / 2));
    const auto y = Sum32(rect.top, -(std::int64_t{*gy} / 2));
    const auto cx = Sum32(width, *gx);
    const auto cy = Sum32(height, *gy);
    if (!x || !y || !cx || !cy) return std::nullopt;
    return Placement{*x, *y, *cx, *cy};
}

}  // namespace quindarvel
