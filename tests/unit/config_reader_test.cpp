// The configuration reader against files held by the in-memory host: the line
// rules, comments, the end of data, and read and close failures.
#include "config/config_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "host/failure.h"
#include "host/memory_window_system.h"

namespace quindarvel {
namespace {

using namespace std::string_literals;

struct Outcome {
    std::vector<ZoomEntry> entries;
    std::optional<FailureKind> kind;
    std::string message;
    bool closed = false;
};

Outcome ReadAll(const std::string& bytes, std::vector<memory_host::ReadStep> reads = {},
                std::uint32_t close_error = 0) {
    memory_host::Reset();
    memory_host::Host().files["q.cfg"] = {bytes, std::move(reads), close_error};
    Outcome outcome;
    ConfigReader reader;
    EXPECT_TRUE(reader.Open("q.cfg"));
    try {
        while (!reader.AtEnd()) outcome.entries.push_back(reader.NextEntry());
        reader.Close();
        outcome.closed = true;
    } catch (const Failure& failure) {
        outcome.kind = failure.kind;
        outcome.message = failure.message;
    }
    return outcome;
}

std::size_t ReadCalls() {
    const auto& calls = memory_host::Host().calls;
    return static_cast<std::size_t>(std::count_if(
        calls.begin(), calls.end(), [](const auto& c) { return c.rfind("ReadFile ", 0) == 0; }));
}

const std::string kLong(300, 'w');  // longer than two buffers

TEST(ConfigReader, LineRules) {
    struct Row {
        const char* name;
        std::string bytes;
        std::vector<ZoomEntry> entries;
        std::string failure;  // the EConvertError message, empty for none
    } rows[] = {
        {"CR LF line ends", "Notepad\r\n25\r\n", {{"Notepad", 25}}, ""},
        {"no final line end", "Notepad\r\n25", {{"Notepad", 25}}, ""},
        {"lone CR line ends", "Notepad\r25\r", {{"Notepad", 25}}, ""},
        {"mixed line ends", "A\r10\r\nB\r\n-5\r", {{"A", 10}, {"B", -5}}, ""},
        {"empty file", "", {}, ""},
        {"comments before and between", "// a\r\nNotepad\r\n// b\r\n25\r\n", {{"Notepad", 25}}, ""},
        {"any line starting with a slash is a comment",
         "/\r\n/* x\r\n/ y\r\nA\r\n//\r\n1\r\n",
         {{"A", 1}},
         ""},
        {"a blank before the slash makes a data line", " /x\r\n5\r\n", {{" /x", 5}}, ""},
        {"typical file",
         "// enlarge the editor by a quarter\r\nUntitled - Notepad\r\n25\r\n"
         "// shrink the calculator a little\r\nCalculator\r\n-10\r\n",
         {{"Untitled - Notepad", 25}, {"Calculator", -10}},
         ""},
        {"patterns keep their blanks", "Notepad \r\n25\r\n", {{"Notepad ", 25}}, ""},
        {"a LF is line content", "Note\npad\r\n25\r\n", {{"Note\npad", 25}}, ""},
        {"NUL and TAB are line content", "a\0b\tc\r\n25\r\n"s, {{"a\0b\tc"s, 25}}, ""},
        {"lines longer than the buffer",
         kLong + "\r\n" + std::string(200, ' ') + "7\r\n",
         {{kLong, 7}},
         ""},
        {"end of data at a 0x1A",
         "A\r\n10\r\n\x1A"
         "B\r\n20\r\n",
         {{"A", 10}},
         ""},
        {"a 0x1A right after the percentage", "A\r\n10\x1A\r\nB\r\n20", {{"A", 10}}, ""},
        {"a pattern and a final comment",
         "A\r\n10\r\nB\r\n// end",
         {{"A", 10}},
         "'// end' is not a valid integer value"},
        {"an entry followed only by a comment: the comment is the next pattern",
         "A\r\n10\r\n// end\r\n",
         {{"A", 10}},
         "'' is not a valid integer value"},
        {"comments only: the last comment is the pattern",
         "// a\r\n// b",
         {},
         "'' is not a valid integer value"},
        {"a pattern with no percentage line",
         "A\r\n10\r\nB\r\n",
         {{"A", 10}},
         "'' is not a valid integer value"},
        {"a blank line shifts the pairs",
         "A\r\n10\r\n\r\nB\r\n20\r\n",
         {{"A", 10}},
         "'B' is not a valid integer value"},
        {"CR CR LF line ends", "A\r\r\n10\r\r\n", {}, "'' is not a valid integer value"},
        {"LF-only line ends make one line", "A\n10\n", {}, "'' is not a valid integer value"},
        {"a 0x1A inside the last pattern",
         "A\r\n10\r\nB\x1Atail\r\n20\r\n",
         {{"A", 10}},
         "'' is not a valid integer value"},
        {"a byte-order mark hides a comment",
         "\xEF\xBB\xBF// c\r\nA\r\n10\r\n",
         {},
         "'A' is not a valid integer value"},
        {"the message quotes the whole line",
         "A\r\n 25 \r\n",
         {},
         "' 25 ' is not a valid integer value"},
        {"a NUL ends the percentage", "A\r\n25\0 junk\r\n"s, {{"A", 25}}, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Outcome outcome = ReadAll(row.bytes);
        EXPECT_EQ(outcome.entries, row.entries);
        if (row.failure.empty()) {
            EXPECT_FALSE(outcome.kind.has_value()) << outcome.message;
            EXPECT_TRUE(outcome.closed);
        } else {
            EXPECT_EQ(outcome.kind, FailureKind::EConvertError);
            EXPECT_EQ(outcome.message, row.failure);
            EXPECT_FALSE(outcome.closed);
        }
    }
}

TEST(ConfigReader, ReadSizesDontChangeTheEntries) {
    const std::string bytes = "// c\r\n" + kLong + "\r\n25\r" + "B\r\n$19\r\n// tail\r\nC\r\n-3";
    const std::vector<ZoomEntry> expected = {{kLong, 25}, {"B", 25}, {"C", -3}};
    for (std::uint32_t size : {1u, 2u, 3u, 7u, 64u, 127u, 128u}) {
        SCOPED_TRACE(size);
        std::vector<memory_host::ReadStep> reads(bytes.size() + 2, {size, 0});
        const Outcome outcome = ReadAll(bytes, reads);
        EXPECT_EQ(outcome.entries, expected);
        EXPECT_TRUE(outcome.closed);
        // Every read asks for the whole buffer, whatever it gets.
        for (const std::string& call : memory_host::Host().calls) {
            if (call.rfind("ReadFile", 0) == 0) {
                EXPECT_EQ(call.rfind("ReadFile 128 ", 0), 0u);
            }
        }
    }
}

TEST(ConfigReader, NeverReadsPastTheEndOfData) {
    // One read fills the buffer and the next yields nothing; the end of data is then
    // seen again by every test without another read.
    ReadAll("A\r\n10");
    EXPECT_EQ(ReadCalls(), 2u);

    // Nothing after a 0x1A is read: here it lies in the first buffer of a long file.
    ReadAll("A\r\n10\r\n\x1A" + std::string(100000, 'x'));
    EXPECT_EQ(ReadCalls(), 1u);

    // A broken pipe is the end of the file, not a failure; what follows is never read.
    const Outcome piped = ReadAll("A\r\n10\r\nB\r\n20\r\n", {{7, 0}, {0, 109}});
    EXPECT_EQ(piped.entries, (std::vector<ZoomEntry>{{"A", 10}}));
    EXPECT_TRUE(piped.closed);
    EXPECT_EQ(ReadCalls(), 2u);
}

TEST(ConfigReader, ReadAndCloseFailures) {
    struct Row {
        const char* name;
        std::vector<memory_host::ReadStep> reads;
        std::uint32_t close_error;
        std::vector<ZoomEntry> entries;
        std::string message;
    } rows[] = {
        {"first read fails", {{128, 5}}, 0, {}, "File access denied"},
        {"a read fails between entries", {{7, 0}, {128, 23}}, 0, {{"A", 10}}, "I/O error 23"},
        {"a read fails looking for a LF after a CR", {{6, 0}, {128, 23}}, 0, {}, "I/O error 23"},
        {"a read fails in the last line", {{128, 0}, {128, 2}}, 0, {{"A", 10}}, "File not found"},
        {"close fails", {}, 6, {{"A", 10}, {"B", 20}}, "I/O error 6"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Outcome outcome = ReadAll("A\r\n10\r\nB\r\n20", row.reads, row.close_error);
        EXPECT_EQ(outcome.entries, row.entries);
        EXPECT_EQ(outcome.kind, FailureKind::EInOutError);
        EXPECT_EQ(outcome.message, row.message);
        EXPECT_FALSE(outcome.closed);
    }
}

TEST(ConfigReader, OpensReadOnlyDenyingWriters) {
    memory_host::Reset();
    memory_host::Host().files["C:\\q\\quindarvel.cfg"] = {};
    ConfigReader reader;
    EXPECT_TRUE(reader.Open("C:\\q\\quindarvel.cfg"));
    EXPECT_FALSE(reader.Open("C:\\q\\missing.cfg"));
    EXPECT_EQ(memory_host::Host().calls,
              (std::vector<std::string>{"CreateFileA C:\\q\\quindarvel.cfg 0x80000000 0x1 0x3 0x80",
                                        "CreateFileA C:\\q\\missing.cfg 0x80000000 0x1 0x3 0x80"}));
}

TEST(IoErrorMessage, Table) {
    struct Row {
        std::uint32_t code;
        const char* message;
    } rows[] = {
        {2, "File not found"},
        {3, "Invalid filename"},
        {4, "Too many open files"},
        {5, "File access denied"},
        {100, "Read beyond end of file"},
        {101, "Disk full"},
        {106, "Invalid numeric input"},
        {0, "I/O error 0"},
        {23, "I/O error 23"},
        {4294967295u, "I/O error 4294967295"},
    };
    for (const Row& row : rows) EXPECT_EQ(IoErrorMessage(row.code), row.message) << row.code;
}

}  // namespace
}  // namespace quindarvel
