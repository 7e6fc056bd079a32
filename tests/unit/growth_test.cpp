// The growth arithmetic and the placement it leads to. Where long double is the x87
// 80-bit format, the integer emulation is checked against the hardware itself.
#include "zoom/growth.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>
#include <random>

namespace quindarvel {
namespace {

constexpr bool kHardwareExtended = std::numeric_limits<long double>::digits == 64;

// The x87 way: the size times the constant, times the percentage, each rounded to a
// 64-bit significand, then rounded to an integer in the default mode.
std::optional<std::int32_t> HardwareGrowth(std::int64_t size, std::int32_t percentage) {
    const volatile long double hundredth = std::ldexp(0xA3D70A3D70A3D70Aull * 1.0L, -70);
    const volatile long double scaled = static_cast<long double>(size) * hundredth;
    const volatile long double product = scaled * static_cast<long double>(percentage);
    const long double rounded = std::nearbyint(static_cast<long double>(product));
    if (rounded < -2147483648.0L || rounded > 2147483647.0L) return std::nullopt;
    return static_cast<std::int32_t>(rounded);
}

TEST(Growth, WorkedValues) {
    struct Row {
        std::int64_t size;
        std::int32_t percentage;
        std::int32_t growth;
    } rows[] = {
        {800, 25, 200},     // exact quarter
        {600, 25, 150},     // exact quarter
        {801, 25, 200},     // 200.25 rounds down
        {250, 1, 2},        // exactly 2.5: tie to even
        {350, 1, 4},        // exactly 3.5: tie to even
        {1, 50, 0},         // exactly 0.5: tie to even
        {3, 50, 2},         // exactly 1.5
        {23, 50, 11},       // just below 11.5; double precision would give 12
        {15, 10, 1},        // just below 1.5; double precision would give 2
        {5, 30, 1},         // just below 1.5
        {218, 925, 2017},   // just above 2016.5; exact ties to even would give 2016
        {101, -3, -3},      // shrinking
        {1023, -1, -10},    // shrinking, rounds toward the nearer
        {640, 0, 0},        // no change
        {640, 100, 640},    // doubling
        {640, -100, -640},  // to nothing
        {640, -150, -960},  // past nothing
        {0, 12345, 0},      // an empty size never grows
        {-100, 50, -50},    // a negative size grows the other way
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.size << " " << row.percentage);
        EXPECT_EQ(Growth(row.size, row.percentage), row.growth);
    }
}

TEST(Growth, OutsideThe32BitRange) {
    EXPECT_EQ(Growth(1000, INT32_MAX), std::nullopt);
    EXPECT_EQ(Growth(1000, INT32_MIN), std::nullopt);
    EXPECT_EQ(Growth(2147483647, 101), std::nullopt);
    EXPECT_EQ(Growth(4294967295, -100), std::nullopt);
    EXPECT_EQ(Growth(2147483647, 100), 2147483647);
    EXPECT_EQ(Growth(-2147483648, 100), INT32_MIN);  // the negative end is one further
    EXPECT_EQ(Growth(1, INT32_MIN), -21474836);
}

TEST(Growth, ConstantIsTheExtendedValueNearestAHundredth) {
    if (!kHardwareExtended) GTEST_SKIP() << "long double is not the 80-bit format here";
    EXPECT_EQ(std::ldexp(0xA3D70A3D70A3D70Aull * 1.0L, -70), 1.0L / 100);
}

TEST(Growth, MatchesExtendedHardwareOnRandomPairs) {
    if (!kHardwareExtended) GTEST_SKIP() << "long double is not the 80-bit format here";
    ASSERT_EQ(std::fegetround(), FE_TONEAREST);
    std::mt19937_64 random(20261211);
    std::uniform_int_distribution<std::int64_t> small_size(-100, 10000);
    std::uniform_int_distribution<std::int64_t> any_size(-4294967295, 4294967295);
    std::uniform_int_distribution<std::int32_t> small_percentage(-300, 1000);
    std::uniform_int_distribution<std::int32_t> any_percentage(INT32_MIN, INT32_MAX);
    for (int i = 0; i < 1'000'000; ++i) {
        const std::int64_t size = (i & 1) ? small_size(random) : any_size(random);
        const std::int32_t percentage = (i & 2) ? small_percentage(random) : any_percentage(random);
        ASSERT_EQ(Growth(size, percentage), HardwareGrowth(size, percentage))
            << size << " " << percentage;
    }
}

TEST(Growth, MatchesExtendedHardwareOnEveryTie) {
    if (!kHardwareExtended) GTEST_SKIP() << "long double is not the 80-bit format here";
    int ties = 0;
    for (std::int64_t size = 1; size <= 10000; ++size) {
        for (std::int32_t percentage = -1000; percentage <= 1000; ++percentage) {
            if ((size * percentage) % 100 != 50 && (size * percentage) % 100 != -50) continue;
            ++ties;
            ASSERT_EQ(Growth(size, percentage), HardwareGrowth(size, percentage))
                << size << " " << percentage;
        }
    }
    EXPECT_GT(ties, 100000);
}

TEST(Growth, MatchesExtendedHardwareAtTheEdges) {
    if (!kHardwareExtended) GTEST_SKIP() << "long double is not the 80-bit format here";
    const std::int64_t sizes[] = {0,           1,           -1,         2,          99,
                                  100,         101,         65535,      65536,      2147483647,
                                  -2147483647, -2147483648, 2147483648, 4294967295, -4294967295};
    const std::int32_t percentages[] = {0,        1,         -1,         50,         -50,
                                        100,      -100,      2147483647, INT32_MIN,  21474836,
                                        21474837, -21474836, -21474837,  1073741824, 4294967};
    for (std::int64_t size : sizes) {
        for (std::int32_t percentage : percentages) {
            EXPECT_EQ(Growth(size, percentage), HardwareGrowth(size, percentage))
                << size << " " << percentage;
        }
    }
}

TEST(ComputePlacement, Table) {
    constexpr std::int32_t kMin = INT32_MIN, kMax = INT32_MAX;
    struct Row {
        const char* name;
        WindowRect rect;
        std::int32_t percentage;
        std::optional<Placement> placement;
    } rows[] = {
        {"a quarter larger", {100, 100, 900, 700}, 25, Placement{0, 25, 1000, 750}},
        {"odd growth: the far edges move one more", {10, 20, 13, 23}, 50, Placement{9, 19, 5, 5}},
        {"odd shrink: the far edges move one more", {0, 0, 101, 101}, -3, Placement{1, 1, 98, 98}},
        {"zero still places", {5, 6, 645, 486}, 0, Placement{5, 6, 640, 480}},
        {"-100 shrinks to nothing", {0, 0, 640, 480}, -100, Placement{320, 240, 0, 0}},
        {"below -100 passes negative sizes",
         {0, 0, 640, 480},
         -150,
         Placement{480, 360, -320, -240}},
        {"a negative width", {100, 0, 0, 10}, 50, Placement{125, -2, -150, 15}},
        {"off-screen windows",
         {-5000, -3000, -4000, -2000},
         10,
         Placement{-5050, -3050, 1100, 1100}},
        {"the width's growth is too large", {0, 0, 1000, 10}, kMax, std::nullopt},
        {"only the height's growth is too large", {0, 0, 0, 1000}, kMax, std::nullopt},
        {"the new left leaves the range", {kMin + 10, 0, kMin + 1010, 10}, 100, std::nullopt},
        {"the new top leaves the range", {0, kMax - 1000, 10, kMax}, -300, std::nullopt},
        {"the new width leaves the range", {0, 0, kMax, 10}, 1, std::nullopt},
        {"the new height leaves the range", {0, 0, 10, kMax}, 1, std::nullopt},
        {"a current width beyond 32 bits", {kMin, 0, kMax, 10}, 0, std::nullopt},
        {"the largest rectangle, unchanged", {0, 0, kMax, kMax}, 0, Placement{0, 0, kMax, kMax}},
        {"a full-range rectangle halved",
         {kMin, kMin, 0, 0},
         -50,
         Placement{-1610612736, -1610612736, 1073741824, 1073741824}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ComputePlacement(row.rect, row.percentage), row.placement);
    }
}

}  // namespace
}  // namespace quindarvel
