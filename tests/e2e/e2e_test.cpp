// End-to-end tests of the real quindarvel.exe under Wine: the fixture program makes
// top-level windows with chosen titles and rectangles, each case copies the
// executable into a fresh folder with its configuration file, runs it, and then
// checks every window's rectangle, the exit status, the error box when one is due
// (read back and dismissed by the fixture), and that nothing else changed: no other
// window moved, the stacking order and the foreground window stayed.
// Usage: e2e_tests <quindarvel.exe> <fixture.exe> [gtest flags]
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "e2e/harness.h"

namespace {

using namespace e2e;
using namespace std::string_literals;

// The box's text for a failure of this kind with this message.
void ExpectBox(const std::optional<Box>& box, const std::string& kind, const std::string& module,
               const std::string& message) {
    ASSERT_TRUE(box.has_value()) << "no \"Application Error\" box";
    const std::regex pattern(
        "Exception " + kind + " in module " +
        std::regex_replace(module, std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)") +
        " at ([0-9A-F]{8})\\.\n(.*)");
    std::smatch match;
    ASSERT_TRUE(std::regex_match(box->text, match, pattern)) << box->text;
    EXPECT_EQ(match[2].str(), message);
    // An offset within the executable's image, which is well under a megabyte.
    EXPECT_LT(std::stoul(match[1].str(), nullptr, 16), 0x100000u) << match[1].str();
    EXPECT_EQ(box->owner, 0u);
    EXPECT_TRUE(box->ok_shown);
    EXPECT_FALSE(box->cancel_shown);
}

// What a run must not have touched: the other windows, the order, and, unless it
// showed the error box (which takes the foreground while it is up), the foreground.
void ExpectNothingElseChanged(const Snapshot& before, const Snapshot& after, bool check_order,
                              bool box_shown) {
    std::map<std::uint32_t, Rect> later(after.top.begin(), after.top.end());
    for (const auto& [handle, rect] : before.top) {
        if (std::find(before.handles.begin(), before.handles.end(), handle) !=
            before.handles.end()) {
            continue;
        }
        auto it = later.find(handle);
        if (it != later.end()) {
            EXPECT_EQ(it->second, rect) << "window " << std::hex << handle;
        }
    }
    EXPECT_EQ(after.visible, before.visible);
    if (!box_shown) {
        EXPECT_EQ(after.foreground, before.foreground);
    }
    if (check_order) {
        EXPECT_EQ(after.OwnOrder(), before.OwnOrder());
    }
}

struct Case {
    const char* name;
    std::vector<Win> windows;
    std::optional<std::string> config;       // nullopt: no configuration file at all
    std::vector<std::optional<Rect>> after;  // per window; nullopt: unchanged
    int status = 0;
    // Windows whose zoom makes them overlap may be restacked by Wine.
    bool check_order = true;
    // The configuration file lies in the current folder, not beside the executable.
    bool config_in_cwd = false;
    // The failure that the error box reports, when the run fails.
    const char* kind = nullptr;
    const char* message = nullptr;
    const char* exe_name = "quindarvel.exe";
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class ZoomRun : public testing::TestWithParam<Case> {};

TEST_P(ZoomRun, WindowsAfterTheRun) {
    const Case& c = GetParam();
    Folder exe_dir, cwd;
    if (c.config) (c.config_in_cwd ? cwd : exe_dir).Write("quindarvel.cfg", *c.config);
    Windows windows(c.windows);
    const Snapshot before = windows.Dump();
    for (std::size_t i = 0; i < c.windows.size(); ++i) {
        ASSERT_EQ(before.rects[i], c.windows[i].rect) << "the fixture's window " << i;
    }
    const RunOutcome run =
        RunQuindarvel(windows, exe_dir.path(), cwd.path(), c.exe_name, c.kind != nullptr);
    EXPECT_EQ(run.status, c.status);
    if (c.kind != nullptr) {
        ExpectBox(run.box, c.kind, c.exe_name, c.message);
    } else {
        EXPECT_FALSE(run.box.has_value()) << "an unexpected box: " << run.box->text;
    }
    const Snapshot after = windows.Dump();
    for (std::size_t i = 0; i < c.windows.size(); ++i) {
        const Rect expected = i < c.after.size() && c.after[i] ? *c.after[i] : c.windows[i].rect;
        EXPECT_EQ(after.rects[i], expected) << c.windows[i].title;
    }
    ExpectNothingElseChanged(before, after, c.check_order, c.kind != nullptr);
}

const Case kCases[] = {
    {"BasicZoom",
     {{"qv-basic target", At(100, 100, 400, 300)}, {"qv-basic other", At(700, 100, 200, 200)}},
     "QV-BASIC TARGET\r\n25\r\n",
     {Rect{50, 63, 550, 438}}},
    {"CommentsAndLineEnds",
     {{"qv-lines alpha", At(50, 50, 200, 100)},
      {"qv-lines beta", At(500, 50, 200, 100)},
      {"qv-lines gamma", At(950, 50, 200, 100)},
      {"qv-lines delta", At(50, 400, 200, 100)}},
     // CR LF; a lone CR with a comment between pattern and percentage; a LF is part
     // of the line; nothing after a 0x1A is read.
     "// CR LF comment\r\nqv-lines alpha\r\n$0A\r\n"
     "qv-lines beta\r/* a comment\r-10\r"
     "/ a slash and a blank\r\nqv-lines\ngamma\r\n50\r\n"
     "\x1Aqv-lines delta\r\n50\r\n",
     {Rect{40, 45, 260, 155}, Rect{510, 55, 690, 145}}},
    {"TiesInTheArithmetic",
     {{"qv-tie one", At(100, 100, 23, 23)},
      {"qv-tie two", At(300, 100, 15, 15)},
      {"qv-tie three", At(500, 100, 250, 350)},
      {"qv-tie four", At(100, 500, 218, 218)},
      {"qv-tie five", At(900, 100, 3, 1)},
      {"qv-tie six", At(1000, 500, 5, 5)}},
     "qv-tie one\r\n50\r\nqv-tie two\r\n10\r\nqv-tie three\r\n1\r\n"
     "qv-tie four\r\n925\r\nqv-tie five\r\n50\r\nqv-tie six\r\n30\r\n",
     {Rect{95, 95, 129, 129}, Rect{300, 100, 316, 116}, Rect{499, 98, 751, 452},
      Rect{-908, -508, 1327, 1727}, Rect{899, 100, 904, 101}, Rect{1000, 500, 1006, 506}},
     0,
     false},
    {"CaseOfAsciiLettersOnly",
     {{"qv-case UBER", At(100, 100, 200, 100)},
      {"qv-case \xDC"
       "BER",
       At(500, 100, 200, 100)}},
     "QV-CASE uBeR\r\n10\r\nqv-case \xFC"
     "ber\r\n10\r\n",
     {Rect{90, 95, 310, 205}}},
    {"HiddenAndFramedWindows",
     {{"qv-hidden target", At(100, 100, 200, 200), false},
      {"qv-framed target", At(500, 100, 400, 300), true, "overlapped"}},
     "qv-hidden\r\n50\r\nqv-framed\r\n-50\r\n",
     {Rect{50, 50, 350, 350}, Rect{600, 175, 800, 325}},
     0,
     false},
    {"TwoEntriesOnOneWindow",
     {{"qv-twice target", At(300, 300, 200, 100)}},
     "qv-twice\r\n10\r\ntarget\r\n10\r\n",
     {Rect{279, 290, 521, 411}}},
    {"NoMatchThenAMatch",
     {{"qv-present", At(300, 300, 200, 100)}},
     "qv-absent\r\n10\r\nqv-present\r\n-10\r\n",
     {Rect{310, 305, 490, 395}}},
    {"ZeroAndShrinkToNothing",
     {{"qv-zero", At(100, 100, 200, 100)}, {"qv-nothing", At(500, 100, 200, 100)}},
     "qv-zero\r\n0\r\nqv-nothing\r\n-100\r\n",
     {std::nullopt, Rect{600, 150, 600, 150}}},
    {"NoConfigurationFile", {{"qv-none target", At(100, 100, 200, 100)}}, std::nullopt, {}},
    {"EmptyConfigurationFile", {{"qv-empty target", At(100, 100, 200, 100)}}, "", {}},
    {"ConfigurationOnlyInTheCurrentFolder",
     {{"qv-cwd target", At(100, 100, 200, 100)}},
     "qv-cwd target\r\n50\r\n",
     {},
     0,
     true,
     true},
    {"AFailureEndsTheRunAtItsEntry",
     {{"qv-fail one", At(100, 100, 200, 100)},
      {"qv-fail two", At(500, 100, 200, 100)},
      {"qv-fail three", At(900, 100, 200, 100)}},
     "qv-fail one\r\n10\r\nqv-fail two\r\nabc\r\nqv-fail three\r\n10\r\n",
     {Rect{90, 95, 310, 205}},
     1,
     true,
     false,
     "EConvertError",
     "'abc' is not a valid integer value."},
    {"AGrowthOutOfRange",
     {{"qv-big one", At(100, 100, 200, 100)},
      {"qv-big two", At(500, 100, 1000, 100)},
      {"qv-big three", At(100, 500, 200, 100)}},
     "qv-big one\r\n10\r\nqv-big two\r\n2000000000\r\nqv-big three\r\n10\r\n",
     {Rect{90, 95, 310, 205}},
     1,
     true,
     false,
     "EInvalidOp",
     "Invalid floating point operation."},
    {"ARenamedExecutableNamesItself",
     {{"qv-renamed target", At(100, 100, 200, 100)}},
     "qv-renamed target\r\n$ZZ\r\n",
     {},
     1,
     true,
     false,
     "EConvertError",
     "'$ZZ' is not a valid integer value.",
     "My Zoomer.EXE"},
    {"AnEmptyPercentageLine",
     {{"qv-blank target", At(100, 100, 200, 100)}},
     "qv-blank target\r\n\r\n",
     {},
     1,
     true,
     false,
     "EConvertError",
     "'' is not a valid integer value."},
};

INSTANTIATE_TEST_SUITE_P(Cases, ZoomRun, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& param) {
                             return param.param.name;
                         });

TEST(ZoomRunLastMatch, TheLastMatchingWindowInEnumerationOrderIsZoomed) {
    const std::vector<Win> wins = {
        {"qv-last Notes - Editor", At(100, 100, 200, 100)},
        {"qv-last notes", At(500, 100, 200, 100)},
        {"qv-last Notepad", At(900, 100, 200, 100)},
        {"QV-LAST NOTES again", At(100, 500, 200, 100)},
    };
    Folder exe_dir;
    exe_dir.Write("quindarvel.cfg", "qv-last NOTES\r\n10\r\n");
    Windows windows(wins);
    const Snapshot before = windows.Dump();
    // The matching window that the enumeration reports last.
    std::size_t last = wins.size();
    for (std::size_t index : before.OwnOrder()) {
        if (index != 2) last = index;
    }
    ASSERT_LT(last, wins.size());
    const RunOutcome run =
        RunQuindarvel(windows, exe_dir.path(), exe_dir.path(), "quindarvel.exe", false);
    EXPECT_EQ(run.status, 0);
    EXPECT_FALSE(run.box.has_value());
    const Snapshot after = windows.Dump();
    for (std::size_t i = 0; i < wins.size(); ++i) {
        const Rect r = wins[i].rect;
        const Rect grown{r.left - 10, r.top - 5, r.right + 10, r.bottom + 5};
        EXPECT_EQ(after.rects[i], i == last ? grown : r) << wins[i].title;
    }
    ExpectNothingElseChanged(before, after, true, false);
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (!TakeExecutables(argc, argv)) return 2;
    return RUN_ALL_TESTS();
}
