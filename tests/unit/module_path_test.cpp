// Splitting the executable's path into its directory part and its file name,
// with and without a double-byte code page.
#include "run/module_path.h"

#include <gtest/gtest.h>

#include <string>

namespace quindarvel {
namespace {

bool ShiftJisLead(std::uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

TEST(DirectoryLength, Table) {
    struct Row {
        const char* name;
        std::string path;
        bool dbcs;
        std::string directory;
    } rows[] = {
        {"a plain path", "C:\\Tools\\quindarvel.exe", false, "C:\\Tools\\"},
        {"the root of a drive", "C:\\quindarvel.exe", false, "C:\\"},
        {"a drive-relative name", "C:quindarvel.exe", false, "C:"},
        {"a UNC path", "\\\\server\\share\\q.exe", false, "\\\\server\\share\\"},
        {"no delimiter", "quindarvel.exe", false, ""},
        {"empty", "", false, ""},
        {"a colon after the last backslash", "C:\\a\\b:c", false, "C:\\a\\b:"},
        // 0x95 0x5C is one Shift-JIS character whose trail byte is a backslash.
        {"a trail byte is no delimiter", "C:\\ab\\\x95\\q.exe", true, "C:\\ab\\"},
        {"without DBCS the same byte is one", "C:\\ab\\\x95\\q.exe", false, "C:\\ab\\\x95\\"},
        {"a lead byte steps over any trail byte", "C:\\\x81:x", true, "C:\\"},
        {"a lead byte at the very end is a byte", "C:\\a\\\x81", true, "C:\\a\\"},
        {"a real delimiter after a double-byte character", "C:\\\x95\\\\q.exe", true,
         "C:\\\x95\\\\"},
        {"bytes outside the lead ranges stay single", "C:\\\xA0\\q.exe", true, "C:\\\xA0\\"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(
            row.path.substr(0, DirectoryLength(row.path, "\\:", row.dbcs ? ShiftJisLead : nullptr)),
            row.directory);
    }
}

TEST(FileName, Table) {
    struct Row {
        const char* name;
        std::string path;
        bool dbcs;
        std::string file;
    } rows[] = {
        {"after the last backslash", "C:\\Tools\\quindarvel.exe", false, "quindarvel.exe"},
        {"a renamed executable", "Z:\\tmp\\My Zoomer.EXE", false, "My Zoomer.EXE"},
        {"a colon is not a delimiter here", "C:quindarvel.exe", false, "C:quindarvel.exe"},
        {"no backslash at all", "quindarvel.exe", false, "quindarvel.exe"},
        {"a trail byte is no delimiter", "C:\\\x95\\.exe", true, "\x95\\.exe"},
        {"without DBCS the same byte is one", "C:\\\x95\\.exe", false, ".exe"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FileName(row.path, "\\", row.dbcs ? ShiftJisLead : nullptr), row.file);
    }
}

TEST(PosixPaths, OnlyASlashEndsTheDirectory) {
    EXPECT_EQ(DirectoryLength("/usr/local/bin/quindarvel", "/", nullptr), 15u);
    EXPECT_EQ(DirectoryLength("/home/a\\b:c/quindarvel", "/", nullptr), 12u);
    EXPECT_EQ(DirectoryLength("quindarvel", "/", nullptr), 0u);
    EXPECT_EQ(FileName("/opt/tools/My Zoomer", "/", nullptr), "My Zoomer");
    EXPECT_EQ(FileName("/opt/a\\b", "/", nullptr), "a\\b");
}

}  // namespace
}  // namespace quindarvel
