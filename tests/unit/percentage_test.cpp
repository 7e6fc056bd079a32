// The percentage line's syntax: accepted forms with their values, and the texts
// that are not valid integers.
#include "config/percentage.h"

#include <gtest/gtest.h>

#include <string>

namespace quindarvel {
namespace {

using namespace std::string_literals;

TEST(ParsePercentage, AcceptedForms) {
    struct Row {
        std::string text;
        std::int32_t value;
    } rows[] = {
        {"25", 25},                    // plain decimal
        {" 25", 25},                   // a leading blank
        {"     25", 25},               // several leading blanks
        {"+25", 25},                   // explicit plus
        {"-25", -25},                  // negative
        {"0", 0},                      // zero
        {"-0", 0},                     // negative zero
        {"000000000000025", 25},       // any number of leading zeros
        {"2147483647", 2147483647},    // the largest decimal
        {"-2147483647", -2147483647},  // the smallest decimal
        {"$19", 25},                   // hexadecimal
        {"$0019", 25},                 // hexadecimal, leading zeros
        {"$000000000000019", 25},      // leading zeros don't count toward the 8
        {"$aBcD", 0xABCD},             // either case of hex digit
        {"$ffffffff", -1},             // the 32 bits read as two's complement
        {"$80000000", INT32_MIN},      // only hexadecimal reaches INT32_MIN
        {"$7FFFFFFF", INT32_MAX},      // largest positive in hex
        {"  $10", 16},                 // blanks before the dollar sign
        {"25\0junk"s, 25},             // a NUL ends the text
        {"25\0"s, 25},                 // a NUL right after the digits
        {"-7\0 \t x"s, -7},            // whatever follows the NUL is not looked at
        {"$1F\0zz"s, 31},              // also for hexadecimal
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(ParsePercentage(row.text), row.value);
    }
}

TEST(ParsePercentage, NotValidIntegers) {
    const std::string rows[] = {
        "",             // empty
        "   ",          // blanks only
        "+",            // sign alone
        "-",            // sign alone
        "$",            // dollar alone
        " $",           // dollar alone after a blank
        "- 25",         // blank after the sign
        "25 ",          // blank after the digits
        "\t25",         // a TAB is not a blank
        "25\t",         // nor after
        "0x19",         // C hexadecimal
        "1e3",          // exponent
        "25%",          // percent sign
        "2.5",          // fraction
        "-$19",         // no sign before the dollar sign
        "+$19",         // nor a plus
        "$-19",         // nor after it
        "$1G",          // not a hex digit
        "2147483648",   // one above the largest
        "-2147483648",  // INT32_MIN in decimal
        "4294967295",   // wraps in 32 bits
        "4294967321",   // would wrap to 25
        "99999999999",  // far too large
        "$100000000",   // nine significant hex digits
        "$0100000000",  // nine significant after a zero
        "--25",         // two signs
        "+-25",         // two signs
        "\0"s,          // ends at once at the NUL
        "\0"
        "25"s,  // what follows the NUL is not looked at
        " \0"
        "25"s,  // blanks, then the end of the text
        "2 5",  // blank between digits
        "\xEF\xBB\xBF"
        "25",  // a byte-order mark is just bytes
        "٢٥",  // non-ASCII digits
    };
    for (const std::string& text : rows) {
        SCOPED_TRACE(testing::PrintToString(text));
        EXPECT_EQ(ParsePercentage(text), std::nullopt);
    }
}

TEST(InvalidIntegerMessage, QuotesTheWholeLineUpToTheLimit) {
    EXPECT_EQ(InvalidIntegerMessage("abc"), "'abc' is not a valid integer value");
    EXPECT_EQ(InvalidIntegerMessage(""), "'' is not a valid integer value");
    EXPECT_EQ(InvalidIntegerMessage("25\0x"s), "'25\0x' is not a valid integer value"s);
    // 4065 bytes fill the template to exactly 4096 characters; one more is too many.
    const std::string longest(4065, 'x');
    EXPECT_EQ(InvalidIntegerMessage(longest), "'" + longest + "' is not a valid integer value");
    EXPECT_EQ(InvalidIntegerMessage(longest).size(), 4096u);
    EXPECT_EQ(InvalidIntegerMessage(std::string(4066, 'x')),
              "Format result longer than 4096 characters");
    EXPECT_EQ(InvalidIntegerMessage(std::string(1 << 20, 'x')),
              "Format result longer than 4096 characters");
}

}  // namespace
}  // namespace quindarvel
