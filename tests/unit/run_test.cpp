// The run driver against the in-memory host: where it looks for the configuration
// file, and exactly which calls reach the host, in which order, with which arguments.
#include "run/run.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/memory_window_system.h"

namespace quindarvel {
namespace {

using Calls = std::vector<std::string>;

class RunTest : public testing::Test {
protected:
    void SetUp() override {
        memory_host::Reset();
        host().module_path = "C:\\Tools\\quindarvel.exe";
    }
    memory_host::State& host() { return memory_host::Host(); }
    void Config(std::string bytes) {
        host().files["C:\\Tools\\quindarvel.cfg"].bytes = std::move(bytes);
    }
};

TEST_F(RunTest, ConfigPathBesideTheExecutable) {
    struct Row {
        const char* name;
        std::string module;
        std::int64_t result;  // what GetModuleFileNameA answers, -1 for the honest count
        std::optional<std::string> path;
    } rows[] = {
        {"beside the executable", "C:\\Tools\\quindarvel.exe", -1, "C:\\Tools\\quindarvel.cfg"},
        {"in a drive's root", "D:\\quindarvel.exe", -1, "D:\\quindarvel.cfg"},
        {"a bare name is relative", "quindarvel.exe", -1, "quindarvel.cfg"},
        {"the module path can't be had", "C:\\Tools\\quindarvel.exe", 0, std::nullopt},
        {"the module path was cut", "C:\\" + std::string(300, 'd') + "\\q.exe", -1, std::nullopt},
        {"a 260-character module path fits, but the configuration path would be cut",
         "C:\\" + std::string(251, 'd') + "\\q.exe", -1, std::nullopt},
        {"a 259-character configuration path is opened as it is",
         "C:\\" + std::string(241, 'd') + "\\q.exe", -1,
         "C:\\" + std::string(241, 'd') + "\\quindarvel.cfg"},
        {"a 260-character configuration path is not cut to another file",
         "C:\\" + std::string(242, 'd') + "\\q.exe", -1, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        memory_host::Reset();
        host().module_path = row.module;
        host().module_result = row.result;
        EXPECT_EQ(ConfigPath(), row.path);
        EXPECT_EQ(host().calls.front(), "GetModuleFileNameA 261");
    }
}

TEST_F(RunTest, DoubleByteCodePageDecidesTheDirectory) {
    host().module_path = "C:\\ab\\\x95\\q.exe";
    host().dbcs_enabled = true;
    host().lead_byte_ranges = {{0x81, 0x9F}, {0xE0, 0xFC}};
    EXPECT_EQ(ConfigPath(), "C:\\ab\\quindarvel.cfg");
    host().dbcs_enabled = false;
    EXPECT_EQ(ConfigPath(), "C:\\ab\\\x95\\quindarvel.cfg");
}

TEST_F(RunTest, NoConfigurationFileEndsQuietly) {
    host().windows = {{0x10, "Notepad", {0, 0, 100, 100}}};
    EXPECT_EQ(quindarvel::Run(), 0);
    EXPECT_EQ(host().calls,
              (Calls{"GetModuleFileNameA 261", "IsDBCSEnabled",
                     "CreateFileA C:\\Tools\\quindarvel.cfg 0x80000000 0x1 0x3 0x80"}));
}

TEST_F(RunTest, AModulePathThatCantBeHadOpensNothing) {
    host().module_path = "C:\\" + std::string(300, 'd') + "\\quindarvel.exe";
    host().files["quindarvel.cfg"].bytes = "Notepad\r\n25\r\n";
    host().windows = {{0x10, "Notepad", {0, 0, 100, 100}}};
    EXPECT_EQ(quindarvel::Run(), 0);
    EXPECT_EQ(host().calls, (Calls{"GetModuleFileNameA 261"}));
}

TEST_F(RunTest, AnEmptyFileRunsNoEntry) {
    Config("");
    EXPECT_EQ(quindarvel::Run(), 0);
    EXPECT_EQ(host().calls, (Calls{"GetModuleFileNameA 261", "IsDBCSEnabled",
                                   "CreateFileA C:\\Tools\\quindarvel.cfg 0x80000000 0x1 0x3 0x80",
                                   "ReadFile 128 -> 0", "CloseHandle"}));
}

TEST_F(RunTest, EveryEntryInFileOrder) {
    Config("// grow\r\nNotepad\r\n25\r\nClock\r\n10\r\nCalc\r\n-50\r\n");
    host().windows = {
        {0x10, "Untitled - Notepad", {100, 100, 900, 700}},
        {0x20, "", {0, 0, 10, 10}},
        {0x30, "Calculator", {0, 0, 200, 300}},
    };
    EXPECT_EQ(quindarvel::Run(), 0);
    EXPECT_EQ(host().calls, (Calls{
                                "GetModuleFileNameA 261",
                                "IsDBCSEnabled",
                                "CreateFileA C:\\Tools\\quindarvel.cfg 0x80000000 0x1 0x3 0x80",
                                "ReadFile 128 -> 44",
                                // Notepad 25
                                "EnumWindows",
                                "GetWindowTextLengthA 0x10",
                                "GetWindowTextA 0x10 19",
                                "GetWindowTextLengthA 0x20",
                                "GetWindowTextLengthA 0x30",
                                "GetWindowTextA 0x30 11",
                                "GetWindowRect 0x10",
                                "SetWindowPos 0x10 0x0 0 25 1000 750 0x414",
                                // Clock 10: no match
                                "EnumWindows",
                                "GetWindowTextLengthA 0x10",
                                "GetWindowTextA 0x10 19",
                                "GetWindowTextLengthA 0x20",
                                "GetWindowTextLengthA 0x30",
                                "GetWindowTextA 0x30 11",
                                // Calc -50
                                "EnumWindows",
                                "GetWindowTextLengthA 0x10",
                                "GetWindowTextA 0x10 19",
                                "GetWindowTextLengthA 0x20",
                                "GetWindowTextLengthA 0x30",
                                "GetWindowTextA 0x30 11",
                                "GetWindowRect 0x30",
                                "SetWindowPos 0x30 0x0 50 75 100 150 0x414",
                                "ReadFile 128 -> 0",
                                "CloseHandle",
                            }));
}

TEST_F(RunTest, TwoEntriesOnOneWindowBothApply) {
    Config("Note\r\n10\r\npad\r\n10\r\n");
    host().windows = {{0x10, "Notepad", {0, 0, 1000, 500}}};
    EXPECT_EQ(quindarvel::Run(), 0);
    // 1000 x 500 grows to 1100 x 550, then from there to 1210 x 605.
    EXPECT_EQ(host().windows[0].rect, (WindowRect{-105, -52, 1105, 553}));
}

TEST_F(RunTest, AnyNonzeroHandleIsZoomed) {
    Config("Notepad\r\n100\r\n");
    host().windows = {{0x80010002u, "Notepad", {0, 0, 100, 100}}};
    EXPECT_EQ(quindarvel::Run(), 0);
    EXPECT_EQ(host().windows[0].rect, (WindowRect{-50, -50, 150, 150}));
}

TEST_F(RunTest, AFailureStopsTheRunAtItsEntry) {
    struct Row {
        const char* name;
        std::string config;
    } rows[] = {
        {"a bad percentage", "One\r\n100\r\nTwo\r\nabc\r\nThree\r\n100\r\n"},
        {"a growth out of range", "One\r\n100\r\nTwo\r\n2000000000\r\nThree\r\n100\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        Config(row.config);
        host().windows = {
            {0x10, "One", {0, 0, 100, 100}},
            {0x20, "Two", {0, 0, 1000, 1000}},
            {0x30, "Three", {0, 0, 100, 100}},
        };
        EXPECT_EQ(quindarvel::Run(), 1);
        EXPECT_EQ(host().windows[0].rect, (WindowRect{-50, -50, 150, 150}));
        EXPECT_EQ(host().windows[1].rect, (WindowRect{0, 0, 1000, 1000}));
        EXPECT_EQ(host().windows[2].rect, (WindowRect{0, 0, 100, 100}));
        // Nothing after the failure: no third lookup, no close.
        const Calls& calls = host().calls;
        EXPECT_EQ(
            std::count(calls.begin(), calls.end(), "SetWindowPos 0x10 0x0 -50 -50 200 200 0x414"),
            1);
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "CloseHandle"), 0);
        EXPECT_EQ(
            std::count_if(calls.begin(), calls.end(),
                          [](const std::string& c) { return c.rfind("SetWindowPos", 0) == 0; }),
            1);
    }
}

TEST_F(RunTest, AWindowGoneBeforeItsZoomDoesntStopTheRun) {
    Config("One\r\n10\r\nTwo\r\n100\r\n");
    host().windows = {{0x10, "One", {0, 0, 100, 100}}, {0x20, "Two", {0, 0, 100, 100}}};
    host().after_enumeration = [](memory_host::State& state) {
        if (!state.windows.empty() && state.windows.front().handle == 0x10) {
            state.windows.erase(state.windows.begin());
        }
    };
    EXPECT_EQ(quindarvel::Run(), 0);
    EXPECT_EQ(host().windows[0].rect, (WindowRect{-50, -50, 150, 150}));
}

}  // namespace
}  // namespace quindarvel
