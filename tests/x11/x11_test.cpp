// End-to-end tests of the X11 build of quindarvel under Xvfb, run once with openbox
// and once with no window manager (QV_WM says which). The fixture client makes
// windows with chosen titles, sizes and gravities and reports their outer rectangles
// as the geometry of their top-level ancestor (the frame, under a window manager), so
// the tests check the rectangles the rules give independently of how quindarvel
// reads them; they also check that the stacking order and the focus stay.
// Usage: x11_tests <quindarvel> <x11_fixture> [gtest flags]
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "e2e/harness.h"
#include "zoom/growth.h"

namespace {

namespace fs = std::filesystem;
using e2e::Folder;
using e2e::Hex;
using e2e::Rect;

std::string g_exe, g_fixture;

struct XWin {
    std::string title;
    int x, y, w, h;
    bool static_gravity = false;
};

struct Snapshot {
    std::vector<std::uint32_t> ids;
    std::vector<Rect> rects;
    std::vector<std::uint32_t> stack;  // own windows, top to bottom
    std::uint32_t focus = 0;
};

class Fixture {
public:
    explicit Fixture(const std::vector<XWin>& windows) : child_({g_fixture}) {
        std::string spec;
        for (const XWin& w : windows) {
            spec += "window " + std::to_string(w.x) + " " + std::to_string(w.y) + " " +
                    std::to_string(w.w) + " " + std::to_string(w.h) + " " +
                    (w.static_gravity ? "static " : "nw ") + Hex(w.title) + "\n";
        }
        child_.Write(spec + "go\n");
        if (child_.ReadLine(30000) != "ready")
            throw std::runtime_error("the fixture did not start");
    }

    Snapshot Dump() {
        child_.Write("dump\n");
        Snapshot s;
        for (;;) {
            const auto line = child_.ReadLine(30000);
            if (!line) throw std::runtime_error("the fixture stopped answering");
            std::istringstream in(*line);
            std::string kind;
            in >> kind;
            if (kind == "end") break;
            if (kind == "win") {
                unsigned index = 0;
                std::uint32_t id = 0;
                Rect r{};
                in >> index >> id >> r.left >> r.top >> r.right >> r.bottom;
                s.ids.push_back(id);
                s.rects.push_back(r);
            } else if (kind == "stack") {
                for (std::uint32_t id; in >> id;) s.stack.push_back(id);
            } else if (kind == "focus") {
                in >> s.focus;
            }
        }
        return s;
    }

    std::string Command(const std::string& line, int timeout_ms) {
        child_.Write(line + "\n");
        const auto answer = child_.ReadLine(timeout_ms);
        if (!answer) throw std::runtime_error("no answer to " + line);
        return *answer;
    }

private:
    e2e::Child child_;
};

struct Outcome {
    int status;
    std::string err;
    std::optional<std::string> dialog;
};

// Runs a copy of quindarvel from a folder holding `config` (none when nullopt); the
// fixture answers the dialog when one is due.
Outcome RunQuindarvel(Fixture* fixture, const std::optional<std::string>& config, bool dialog,
                      bool with_display = true) {
    Folder dir;
    if (config) dir.Write("quindarvel.cfg", *config);
    fs::copy_file(g_exe, dir.path() / "quindarvel");
    const std::string err_path = (dir.path() / "stderr").string();
    const char* display = std::getenv("DISPLAY");
    const std::string saved = display != nullptr ? display : "";
    if (!with_display) unsetenv("DISPLAY");
    const pid_t pid = e2e::Spawn({(dir.path() / "quindarvel").string()}, dir.path(), err_path);
    if (!with_display) setenv("DISPLAY", saved.c_str(), 1);
    Outcome run{0, "", std::nullopt};
    if (dialog && fixture != nullptr) {
        const std::string answer = fixture->Command("dialog 10000", 30000);
        if (answer.rfind("dialog ", 0) == 0) run.dialog = answer;
    }
    run.status = e2e::WaitFor(pid, 30000);
    std::ifstream in(err_path, std::ios::binary);
    run.err.assign(std::istreambuf_iterator<char>(in), {});
    return run;
}

// The outer rectangle the rules give for this one and this percentage.
Rect Zoomed(const Rect& r, std::int32_t percentage) {
    const auto p = quindarvel::ComputePlacement(
        {static_cast<std::int32_t>(r.left), static_cast<std::int32_t>(r.top),
         static_cast<std::int32_t>(r.right), static_cast<std::int32_t>(r.bottom)},
        percentage);
    return {p->x, p->y, static_cast<long>(p->x) + p->cx, static_cast<long>(p->y) + p->cy};
}

// A window manager acts on the request after quindarvel has gone, so wait a while for
// the expected rectangles before comparing.
Snapshot Await(Fixture& fixture, const std::vector<Rect>& expected) {
    Snapshot s;
    for (int i = 0; i < 500; ++i) {
        s = fixture.Dump();
        if (s.rects == expected) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return s;
}

void ExpectStackAndFocusKept(const Snapshot& before, const Snapshot& after) {
    EXPECT_EQ(after.stack, before.stack);
    EXPECT_EQ(after.focus, before.focus);
}

TEST(X11, ZoomsNorthWestAndStaticGravityWindowsExactly) {
    Fixture fixture({{"qx-basic target", 100, 100, 400, 300},
                     {"qx-static target", 700, 150, 300, 200, true},
                     {"qx-other", 100, 600, 200, 100}});
    const Snapshot before = fixture.Dump();
    const Outcome run =
        RunQuindarvel(&fixture, "QX-BASIC TARGET\r\n25\r\nqx-static\r\n-10\r\n", false);
    EXPECT_EQ(run.status, 0) << run.err;
    const std::vector<Rect> expected = {Zoomed(before.rects[0], 25), Zoomed(before.rects[1], -10),
                                        before.rects[2]};
    const Snapshot after = Await(fixture, expected);
    EXPECT_EQ(after.rects, expected);
    ExpectStackAndFocusKept(before, after);
    // Under a window manager the outer rectangle holds the frame as well.
    const bool framed = std::string(std::getenv("QV_WM") ? std::getenv("QV_WM") : "") != "none";
    EXPECT_EQ(before.rects[0].right - before.rects[0].left > 400, framed) << before.rects[0];
}

TEST(X11, TheBottomMostMatchIsZoomed) {
    Fixture fixture({{"qx-last Notes - Editor", 100, 100, 200, 100},
                     {"qx-last notes", 500, 100, 200, 100},
                     {"qx-last Notepad", 900, 100, 200, 100}});
    const Snapshot before = fixture.Dump();
    ASSERT_EQ(before.stack.size(), 3u);
    // The last matching window in the order top to bottom.
    std::size_t target = 3;
    for (std::uint32_t id : before.stack) {
        const auto index = static_cast<std::size_t>(
            std::find(before.ids.begin(), before.ids.end(), id) - before.ids.begin());
        if (index != 2) target = index;
    }
    const Outcome run = RunQuindarvel(&fixture, "QX-LAST NOTES\r\n10\r\n", false);
    EXPECT_EQ(run.status, 0) << run.err;
    std::vector<Rect> expected = before.rects;
    expected[target] = Zoomed(before.rects[target], 10);
    const Snapshot after = Await(fixture, expected);
    EXPECT_EQ(after.rects, expected);
    ExpectStackAndFocusKept(before, after);
}

TEST(X11, WindowsThatComeAndGoAreSkipped) {
    Fixture fixture({{"qx-stable target", 100, 100, 400, 200}});
    const Snapshot before = fixture.Dump();
    ASSERT_EQ(fixture.Command("churn 20 " + Hex("qx-churn "), 10000), "churning");
    std::string config;
    for (int i = 0; i < 100; ++i) config += "qx-churn\r\n0\r\nqx-churn 1\r\n10\r\n";
    config += "qx-stable target\r\n10\r\n";
    const Outcome run = RunQuindarvel(&fixture, config, false);
    const std::string stopped = fixture.Command("stop", 10000);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const std::vector<Rect> expected = {Zoomed(before.rects[0], 10)};
    EXPECT_EQ(Await(fixture, expected).rects, expected) << stopped;
}

TEST(X11, ATitleChangedDuringTheRunIsSeen) {
    Fixture fixture({{"qx-flip old", 100, 100, 400, 300}});
    const Snapshot before = fixture.Dump();
    Folder dir;
    std::string config;
    for (int i = 0; i < 20000; ++i) config += "qx-flip new\r\n0\r\nqx-flip old\r\n0\r\n";
    config += "qx-flip new\r\n50\r\n";
    dir.Write("quindarvel.cfg", config);
    fs::copy_file(g_exe, dir.path() / "quindarvel");
    const pid_t pid = e2e::Spawn({(dir.path() / "quindarvel").string()}, dir.path());
    // Well into the run, the window takes the title that the last entry names.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(fixture.Command("retitle 0 " + Hex("qx-flip new"), 10000), "retitled");
    EXPECT_EQ(e2e::WaitFor(pid, 60000), 0);
    const std::vector<Rect> expected = {Zoomed(before.rects[0], 50)};
    EXPECT_EQ(Await(fixture, expected).rects, expected);
}

TEST(X11, ABadPercentageShowsTheDialogAndEndsWithStatusOne) {
    Fixture fixture({{"qx-fail one", 100, 100, 200, 100}, {"qx-fail three", 500, 100, 200, 100}});
    const Snapshot before = fixture.Dump();
    const Outcome run = RunQuindarvel(
        &fixture, "qx-fail one\r\n10\r\nqx-fail two\r\nabc\r\nqx-fail three\r\n10\r\n", true);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.dialog.has_value()) << "no \"Application Error\" dialog";
    EXPECT_TRUE(std::regex_match(
        run.err, std::regex("Exception EConvertError in module quindarvel at "
                            "[0-9A-F]{8}\\.\n'abc' is not a valid integer value\\.\n")))
        << run.err;
    const std::vector<Rect> expected = {Zoomed(before.rects[0], 10), before.rects[1]};
    EXPECT_EQ(Await(fixture, expected).rects, expected);
}

TEST(X11, NoConfigurationTouchesNoDisplay) {
    const Outcome run = RunQuindarvel(nullptr, std::nullopt, false, false);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
}

TEST(X11, ADisplayOutOfReachIsAFailure) {
    const Outcome run = RunQuindarvel(nullptr, "qx-none\r\n10\r\n", false, false);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(std::regex_match(
        run.err, std::regex("Exception EInOutError in module quindarvel at "
                            "[0-9A-F]{8}\\.\nNo X display to work on: DISPLAY is not set\\.\n")))
        << run.err;
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <quindarvel> <x11_fixture> [gtest flags]\n", argv[0]);
        return 2;
    }
    g_exe = fs::absolute(argv[1]).string();
    g_fixture = fs::absolute(argv[2]).string();
    return RUN_ALL_TESTS();
}
