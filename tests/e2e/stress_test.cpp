// Stress runs of the real quindarvel.exe under Wine: many windows, windows that come
// and go during the run, huge configuration files, a file held by another program, a
// folder in the file's place, and long or unusual titles. Each case checks the
// outcome the rules give and prints its time and the run's peak memory.
// Usage: stress_tests <quindarvel.exe> <fixture.exe> [gtest flags]
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "e2e/harness.h"

namespace {

using namespace e2e;

Rect Grown(const Rect& r, long gx, long gy) {
    return {r.left - gx / 2, r.top - gy / 2, r.right + gx - gx / 2, r.bottom + gy - gy / 2};
}

// The Windows name of a path on this machine, as Wine sees it.
std::string WindowsPath(const fs::path& path) {
    std::string text = "Z:" + path.string();
    for (char& c : text) {
        if (c == '/') c = '\\';
    }
    return text;
}

void Report(const char* name, const RunOutcome& run, const std::string& outcome) {
    std::printf("stress %-22s %-58s %7.2f s  peak %6.1f MB\n", name, outcome.c_str(), run.seconds,
                static_cast<double>(run.peak_rss_kb) / 1024.0);
    std::fflush(stdout);
}

// A run with nothing to do, for the memory a run costs anyway.
TEST(Stress, Baseline) {
    Folder dir;
    dir.Write("quindarvel.cfg", "");
    Windows windows({{"qv-baseline", At(100, 100, 200, 100)}});
    const RunOutcome run = RunQuindarvel(windows, dir.path(), dir.path(), "quindarvel.exe", false);
    EXPECT_EQ(run.status, 0);
    Report("baseline", run, "an empty file: status 0");
}

// The same with a bad percentage line, for the memory that showing the box costs.
TEST(Stress, BaselineWithTheBox) {
    Folder dir;
    dir.Write("quindarvel.cfg", "qv-baseline\r\nabc\r\n");
    Windows windows({{"qv-baseline", At(100, 100, 200, 100)}});
    const RunOutcome run = RunQuindarvel(windows, dir.path(), dir.path(), "quindarvel.exe", true);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.box.has_value());
    Report("baseline with the box", run, "a bad percentage: status 1 after the box");
}

TEST(Stress, TwoThousandWindows) {
    std::vector<Win> wins;
    for (int i = 0; i < 2000; ++i) {
        char title[32];
        std::snprintf(title, sizeof title, "qv-many %04d", i);
        wins.push_back({title, At((i % 40) * 45, (i / 40) * 20, 40, 15), i % 2 == 0});
    }
    Folder dir;
    dir.Write("quindarvel.cfg",
              "qv-many 0000\r\n100\r\nqv-many 1999\r\n100\r\nqv-many 1000\r\n100\r\n");
    Windows windows(wins);
    const RunOutcome run = RunQuindarvel(windows, dir.path(), dir.path(), "quindarvel.exe", false);
    const Snapshot after = windows.Dump();
    EXPECT_EQ(run.status, 0);
    int changed = 0;
    for (std::size_t i = 0; i < wins.size(); ++i) {
        const bool target = i == 0 || i == 1000 || i == 1999;
        EXPECT_EQ(after.rects[i], target ? Grown(wins[i].rect, 40, 15) : wins[i].rect) << i;
        changed += after.rects[i] != wins[i].rect;
    }
    Report("2000 windows", run,
           "status 0, " + std::to_string(changed) + " of 2000 changed (3 due)");
}

TEST(Stress, WindowsComingAndGoingDuringTheRun) {
    const Rect stable = At(100, 100, 400, 200);
    std::string config;
    for (int i = 0; i < 150; ++i) config += "qv-churn\r\n0\r\nqv-churn 1\r\n10\r\n";
    config += "qv-stable target\r\n10\r\n";
    Folder dir;
    dir.Write("quindarvel.cfg", config);
    Windows windows({{"qv-stable target", stable}});
    windows.StartChurn("qv-churn ", 30);
    const RunOutcome run =
        RunQuindarvel(windows, dir.path(), dir.path(), "quindarvel.exe", false, 120000);
    const long created = windows.StopChurn();
    const Snapshot after = windows.Dump();
    EXPECT_EQ(run.status, 0);
    EXPECT_FALSE(run.box.has_value());
    EXPECT_EQ(after.rects[0], Grown(stable, 40, 20));
    Report("churning windows", run,
           "status 0, the stable window zoomed once; " + std::to_string(created) +
               " windows came and went");
}

TEST(Stress, AHundredThousandEntries) {
    const Rect start = At(100, 100, 1000, 500);
    std::string config;
    for (int i = 0; i < 99999; ++i) config += "qv-bulk\r\n0\r\n";
    config += "qv-bulk\r\n10\r\n";
    Folder dir;
    dir.Write("quindarvel.cfg", config);
    Windows windows({{"qv-bulk target", start}});
    const RunOutcome run =
        RunQuindarvel(windows, dir.path(), dir.path(), "quindarvel.exe", false, 1800000);
    const Snapshot after = windows.Dump();
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(after.rects[0], Grown(start, 100, 50));
    Report("100,000 entries", run,
           "status 0, the window zoomed by the last entry (" +
               std::to_string(config.size() / 1024) + " KiB file)");
}

TEST(Stress, ALineOf64Megabytes) {
    const Rect start = At(100, 100, 400, 200);
    const std::string huge(64u << 20, 'x');
    {
        Folder dir;
        dir.Write("quindarvel.cfg", huge + "\r\n10\r\nqv-line target\r\n10\r\n");
        Windows windows({{"qv-line target", start}});
        const RunOutcome run =
            RunQuindarvel(windows, dir.path(), dir.path(), "quindarvel.exe", false, 300000);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(windows.Dump().rects[0], Grown(start, 40, 20));
        Report("64 MB title pattern", run, "status 0, the next entry still zoomed its window");
    }
    {
        Folder dir;
        dir.Write("quindarvel.cfg", "qv-line target\r\n" + huge + "\r\n");
        Windows windows({{"qv-line target", start}});
        const RunOutcome run =
            RunQuindarvel(windows, dir.path(), dir.path(), "quindarvel.exe", true, 300000);
        EXPECT_EQ(run.status, 1);
        ASSERT_TRUE(run.box.has_value());
        const std::string tail = "\nFormat result longer than 4096 characters.";
        EXPECT_EQ(run.box->text.substr(run.box->text.size() - tail.size()), tail);
        EXPECT_EQ(windows.Dump().rects[0], start);
        Report("64 MB percentage line", run, "status 1, box: Format result longer than 4096...");
    }
}

TEST(Stress, AFileHeldOpenForWriting) {
    const Rect start = At(100, 100, 400, 200);
    Folder dir;
    dir.Write("quindarvel.cfg", "qv-held target\r\n10\r\n");
    Windows windows({{"qv-held target", start}});
    windows.Hold(WindowsPath(dir.path() / "quindarvel.cfg"));
    const RunOutcome run = RunQuindarvel(windows, dir.path(), dir.path(), "quindarvel.exe", false);
    EXPECT_EQ(run.status, 0);
    EXPECT_FALSE(run.box.has_value());
    EXPECT_EQ(windows.Dump().rects[0], start);
    Report("file held for writing", run, "status 0, nothing shown, nothing changed");
}

TEST(Stress, AFolderInTheFilesPlace) {
    const Rect start = At(100, 100, 400, 200);
    Folder dir;
    fs::create_directory(dir.path() / "quindarvel.cfg");
    Windows windows({{"qv-folder target", start}});
    const RunOutcome run = RunQuindarvel(windows, dir.path(), dir.path(), "quindarvel.exe", false);
    EXPECT_EQ(run.status, 0);
    EXPECT_FALSE(run.box.has_value()) << run.box->text;
    EXPECT_EQ(windows.Dump().rects[0], start);
    Report("a folder named .cfg", run, "status 0, nothing shown, nothing changed");
}

TEST(Stress, LongAndUnusualTitles) {
    std::string long_title = "qv-long ";
    while (long_title.size() < 4000) long_title += "Abc-" + std::to_string(long_title.size()) + " ";
    long_title.resize(4000);
    std::string bytes_title = "qv-bytes ";
    for (int b = 1; b <= 255; ++b) bytes_title.push_back(static_cast<char>(b));
    const Rect long_rect = At(100, 100, 400, 200), bytes_rect = At(700, 100, 400, 200);
    // A pattern can hold any byte but CR and 0x1A, so the bytes window is named by the
    // runs before and after those two; LF and NUL-free control bytes are content.
    const std::string before_cr = bytes_title.substr(9, 12);   // 0x01 .. 0x0C
    const std::string after_eof = bytes_title.substr(9 + 26);  // 0x1B .. 0xFF
    std::string lower_long = long_title.substr(1000, 2500);
    for (char& c : lower_long) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    Folder dir;
    dir.Write("quindarvel.cfg",
              lower_long + "\r\n10\r\n" + after_eof + "\r\n10\r\n" + before_cr + "\r\n100\r\n");
    Windows windows({{long_title, long_rect}, {bytes_title, bytes_rect}});
    const RunOutcome run = RunQuindarvel(windows, dir.path(), dir.path(), "quindarvel.exe", false);
    const Snapshot after = windows.Dump();
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(after.rects[0], Grown(long_rect, 40, 20));
    EXPECT_EQ(after.rects[1], Grown(Grown(bytes_rect, 40, 20), 440, 220));
    Report("4000-byte and 1..255 titles", run, "status 0, both windows zoomed by their patterns");
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (!TakeExecutables(argc, argv)) return 2;
    return RUN_ALL_TESTS();
}
