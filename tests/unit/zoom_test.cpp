// Finding an entry's window and zooming it, checked by what reaches the host.
#include "zoom/zoom.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/failure.h"
#include "host/memory_window_system.h"

namespace quindarvel {
namespace {

using namespace std::string_literals;
using Calls = std::vector<std::string>;

bool Matches(std::string title, std::string pattern) {
    AsciiUpper(title);
    AsciiUpper(pattern);
    return TitleContains(title, pattern);
}

TEST(TitleMatching, Table) {
    struct Row {
        std::string title;
        std::string pattern;
        bool match;
    } rows[] = {
        {"Notes - Editor", "NOTES", true},                     // case of ASCII letters ignored
        {"notes", "NOTES", true},                              // the whole title
        {"Notes - Editor", "ditor", true},                     // a match may start anywhere
        {"Notes - Editor", "Notes - Editor", true},            // the whole title as pattern
        {"Notes - Editor", "", false},                         // an empty pattern matches nothing
        {"", "", false},                                       // not even an empty title
        {"Note", "Notes", false},                              // longer than the title
        {"Notepad", "Notepad ", false},                        // blanks in the pattern count
        {"Untitled - Notepad", "untitled  - notepad", false},  // so does their number
        {"\xDC"
         "BER",
         "\xFC"
         "ber",
         false},                           // accented letters keep their case
        {"UBER", "uBeR", true},            // plain ASCII letters don't
        {"a[b]", "A{B}", false},           // only a-z are upper-cased
        {"A@B", "a`b", false},             // neighbours of the letter range
        {"Zz", "zZ", true},                // the ends of the letter range
        {"tab\there", "TAB\tHERE", true},  // control bytes compared as they are
        {"ab\0cd"s, "B\0C"s, true},        // a NUL is an ordinary byte
        {"aaab", "aab", true},             // a partial first try
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.title) + " / " +
                     testing::PrintToString(row.pattern));
        EXPECT_EQ(Matches(row.title, row.pattern), row.match);
    }
}

class ZoomHostTest : public testing::Test {
protected:
    void SetUp() override { memory_host::Reset(); }
    memory_host::State& host() { return memory_host::Host(); }
};

TEST_F(ZoomHostTest, TheLastMatchInEnumerationOrderWins) {
    host().windows = {
        {0x10, "Notes - Editor", {}},
        {0x20, "Calculator", {}},
        {0x30, "notes", {}},
        {0x40, "Paint", {}},
    };
    EXPECT_EQ(FindTargetWindow("NOTES"), 0x30u);
    EXPECT_EQ(FindTargetWindow("ditor"), 0x10u);
    EXPECT_EQ(FindTargetWindow("Clock"), 0u);
    EXPECT_EQ(FindTargetWindow(""), 0u);
}

TEST_F(ZoomHostTest, FetchesEachTitledWindowsTitleOnce) {
    host().windows = {
        {0x10, "", {}},          // untitled: never fetched
        {0x20, "Calc", {}, -5},  // a negative length: no title
        {0x30, "Notepad", {}},
        {0x40, "Huge", {}, INT32_MAX},  // a size the call can't take
    };
    EXPECT_EQ(FindTargetWindow("e"), 0x30u);
    EXPECT_EQ(host().calls, (Calls{"EnumWindows", "GetWindowTextLengthA 0x10",
                                   "GetWindowTextLengthA 0x20", "GetWindowTextLengthA 0x30",
                                   "GetWindowTextA 0x30 8", "GetWindowTextLengthA 0x40"}));
}

TEST_F(ZoomHostTest, ATitleCopiedShortIsPaddedWithNuls) {
    // The window claims 10 characters and copies only 4 of "Calculator".
    host().windows = {{0x10, "Calculator", {}, 10, 4}};
    EXPECT_EQ(FindTargetWindow("calc"), 0x10u);
    EXPECT_EQ(FindTargetWindow("culator"), 0u);
    EXPECT_EQ(FindTargetWindow("c\0\0"s), 0x10u);
    // A length shorter than the title keeps only that much of it.
    host().windows = {{0x10, "Calculator", {}, 4}};
    EXPECT_EQ(FindTargetWindow("calc"), 0x10u);
    EXPECT_EQ(FindTargetWindow("calcu"), 0u);
}

TEST_F(ZoomHostTest, ZoomPlacesWithoutActivatingOrRestacking) {
    host().windows = {{0x10, "Notepad", {100, 100, 900, 700}}};
    ZoomWindow(0x10, 25);
    EXPECT_EQ(host().calls,
              (Calls{"GetWindowRect 0x10", "SetWindowPos 0x10 0x0 0 25 1000 750 0x414"}));
    EXPECT_EQ(host().windows[0].rect, (WindowRect{0, 25, 1000, 775}));
}

TEST_F(ZoomHostTest, AGrowthOutOfRangeRaisesAndPlacesNothing) {
    host().windows = {{0x10, "Notepad", {0, 0, 800, 600}}};
    try {
        ZoomWindow(0x10, 2000000000);
        ADD_FAILURE() << "no failure raised";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.kind, FailureKind::EInvalidOp);
        EXPECT_EQ(failure.message, "Invalid floating point operation");
    }
    EXPECT_EQ(host().calls, (Calls{"GetWindowRect 0x10"}));
    EXPECT_EQ(host().windows[0].rect, (WindowRect{0, 0, 800, 600}));
}

}  // namespace
}  // namespace quindarvel
