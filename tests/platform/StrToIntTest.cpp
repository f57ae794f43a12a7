#include "platform/Exception.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(StrToInt, AcceptsDecimalAndHexadecimalTexts) {
    const struct {
        const char* text;
        int value;
    } cases[] = {
        {"0", 0},
        {"161", 161},
        {"+7", 7},
        {"-123", -123},
        {"-0", 0},
        {"007", 7},
        {"00000000000000000000000000001", 1},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"$FF", 255},
        {"$ff", 255},
        {"0x1A", 26},
        {"0X1a", 26},
        {"-$10", -16},
        {"+0x10", 16},
        {"$7FFFFFFF", INT_MAX},
        {"-0x80000000", INT_MIN},
        {"$0000000000000001", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(StrToInt(c.text), c.value);
    }
}

TEST(StrToInt, RejectsEverythingElseNamingTheText) {
    using namespace std::string_literals;
    const std::string cases[] = {
        "",
        " 1",
        "1 ",
        "\t1",
        "+",
        "-",
        "$",
        "0x",
        "-$",
        "12a",
        "1.5",
        "1e3",
        "--1",
        "+-1",
        "$-1",
        "0x-1",
        "x1A",
        "$G",
        "0b101",
        "2147483648",
        "-2147483649",
        "$80000000",
        "0xFFFFFFFF",
        "99999999999999999999999999",
        "$FFFFFFFFFFFFFFFFF",
        "1\0"s,
        "\xEF\xBC\x91",  // a full-width digit one
    };
    for (const std::string& text : cases) {
        SCOPED_TRACE(text);
        try {
            StrToInt(text);
            ADD_FAILURE() << "no exception";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), "'" + text + "' is not a valid integer value");
            EXPECT_EQ(e.HelpContext(), 0);
        }
    }
}

}  // namespace
