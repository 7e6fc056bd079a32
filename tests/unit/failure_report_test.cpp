// The failure report: its text for each kind of failure, and the box that reaches
// the host.
#include "host/failure_report.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "config/percentage.h"
#include "host/memory_window_system.h"
#include "run/run.h"

namespace quindarvel {
namespace {

using Calls = std::vector<std::string>;

TEST(ReportText, Table) {
    const std::string line(4065, 'x');  // the longest line the message still quotes
    struct Row {
        const char* name;
        Failure failure;
        std::string module;
        std::uint32_t offset;
        std::string text;
    } rows[] = {
        {"a bad percentage",
         {FailureKind::EConvertError, "'abc' is not a valid integer value", 0},
         "quindarvel.exe",
         0x1A2B,
         "Exception EConvertError in module quindarvel.exe at 00001A2B.\n"
         "'abc' is not a valid integer value."},
        {"a read failure",
         {FailureKind::EInOutError, "File not found", 0},
         "quindarvel.exe",
         0xABCDEF,
         "Exception EInOutError in module quindarvel.exe at 00ABCDEF.\nFile not found."},
        {"an I/O error by number",
         {FailureKind::EInOutError, "I/O error 23", 0},
         "quindarvel.exe",
         0,
         "Exception EInOutError in module quindarvel.exe at 00000000.\nI/O error 23."},
        {"a growth out of range",
         {FailureKind::EInvalidOp, "Invalid floating point operation", 0},
         "My Zoomer.EXE",
         0xFFFFFFFF,
         "Exception EInvalidOp in module My Zoomer.EXE at FFFFFFFF.\n"
         "Invalid floating point operation."},
        {"a message that ends with a full stop gets no second one",
         {FailureKind::EConvertError, "'25.' is not a valid integer value.", 0},
         "quindarvel.exe",
         0x10,
         "Exception EConvertError in module quindarvel.exe at 00000010.\n"
         "'25.' is not a valid integer value."},
        {"an empty message ends the second line with nothing",
         {FailureKind::EInOutError, "", 0},
         "quindarvel.exe",
         0x10,
         "Exception EInOutError in module quindarvel.exe at 00000010.\n"},
        {"a long data line is cut with the text",
         {FailureKind::EConvertError, InvalidIntegerMessage(line), 0},
         "quindarvel.exe",
         0x10,
         ("Exception EConvertError in module quindarvel.exe at 00000010.\n'" + line)
             .substr(0, 1023)},
        {"a line too long to quote",
         {FailureKind::EConvertError, InvalidIntegerMessage(line + "x"), 0},
         "quindarvel.exe",
         0x10,
         "Exception EConvertError in module quindarvel.exe at 00000010.\n"
         "Format result longer than 4096 characters."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string text = ReportText(row.failure, row.module, row.offset);
        EXPECT_EQ(text, row.text);
        EXPECT_LE(text.size(), kReportTextLimit);
    }
}

TEST(ReportText, CutsTheWholeTextAt1023Characters) {
    const std::string module = "quindarvel.exe";
    const std::string head = "Exception EInOutError in module quindarvel.exe at 00000010.\n";
    // A message that just fits with its full stop, one that loses the full stop, and
    // one that loses more.
    for (std::size_t length : {1023 - head.size() - 1, 1023 - head.size(), 2000ul}) {
        SCOPED_TRACE(length);
        const Failure failure{FailureKind::EInOutError, std::string(length, 'm'), 0};
        const std::string text = ReportText(failure, module, 0x10);
        EXPECT_EQ(text, (head + failure.message + ".").substr(0, 1023));
    }
}

TEST(ReportFailure, ShowsTheBoxAndGivesStatusOne) {
    memory_host::Reset();
    memory_host::Host().module_path = "C:\\Tools\\My Zoomer.exe";
    memory_host::Host().image_base = 0x00400000;
    const Failure failure{FailureKind::EInOutError, "Disk full", 0x00401234};
    EXPECT_EQ(ReportFailure(failure), 1);
    EXPECT_EQ(memory_host::Host().calls,
              (Calls{"GetModuleFileNameA 261", "IsDBCSEnabled", "GetModuleHandleA",
                     "MessageBoxA 0x0 Exception EInOutError in module My Zoomer.exe at "
                     "00001234.\nDisk full. | Application Error 0x2010"}));
}

TEST(ReportFailure, ARunFailureEndsWithTheBoxAsItsLastCall) {
    memory_host::Reset();
    memory_host::State& host = memory_host::Host();
    host.module_path = "C:\\Tools\\quindarvel.exe";
    host.files["C:\\Tools\\quindarvel.cfg"].bytes = "One\r\n10\r\nTwo\r\nabc\r\nThree\r\n10\r\n";
    host.windows = {{0x10, "One", {0, 0, 100, 100}}, {0x20, "Three", {0, 0, 100, 100}}};
    EXPECT_EQ(quindarvel::Run(), 1);
    ASSERT_FALSE(host.calls.empty());
    EXPECT_TRUE(std::regex_match(host.calls.back(),
                                 std::regex("MessageBoxA 0x0 Exception EConvertError in module "
                                            "quindarvel\\.exe at [0-9A-F]{8}\\.\n'abc' is not a "
                                            "valid integer value\\. \\| Application Error 0x2010")))
        << host.calls.back();
    EXPECT_EQ(host.windows[0].rect, (WindowRect{-5, -5, 105, 105}));
    EXPECT_EQ(host.windows[1].rect, (WindowRect{0, 0, 100, 100}));
}

}  // namespace
}  // namespace quindarvel
