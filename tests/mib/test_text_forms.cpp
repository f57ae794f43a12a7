// Text forms: hex text, numbers, time ticks, date-time numbers, bit lists, HvDateTime and
// HvNumList.
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "mib/HvDateTime.h"
#include "mib/HvNumList.h"
#include "mib/HvValueFormat.h"
#include "value_test_util.h"

namespace {

TEST(HexText, Reading) {
    const std::string v6 = "FE800000000000000000000000000001";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"0a 1B", "0A 1B"},
        {"A1B", "0A 1B"},
        {"a 1b", "0A 1B"},
        {"\t0A", "0A"},
        {"", ""},
        {"G1", "01"},
        {"x", "00"},
        // 35 characters: 16 octets, the zone's "%" skipped, one zone octet.
        {v6 + "%05", "FE 80 00 00 00 00 00 00 00 00 00 00 00 00 00 01 05"},
        {v6 + "X05", "FE 80 00 00 00 00 00 00 00 00 00 00 00 00 00 01 05"},
        // 36 and 37 characters follow the ordinary rule: pairs, an odd count starts with a
        // single digit; a "%" anywhere else counts as the digit 0.
        {v6 + "%050", "FE 80 00 00 00 00 00 00 00 00 00 00 00 00 00 01 00 50"},
        {v6 + "%0501", "0F E8 00 00 00 00 00 00 00 00 00 00 00 00 00 00 10 05 01"},
        {"FE%0", "FE 00"},
    };
    for (const auto& [text, bytes] : cases)
        EXPECT_EQ(HexTextToBytes(text), Bytes(bytes)) << '"' << text << '"';
}

TEST(HexText, Writing) {
    EXPECT_EQ(BytesToHexText(Bytes("00 FF 0A B7")), "00FF0AB7");
    EXPECT_EQ(BytesToHexText(""), "");
    const std::string all = [] {
        std::string s;
        for (int i = 0; i < 256; ++i) s.push_back(static_cast<char>(i));
        return s;
    }();
    EXPECT_EQ(HexTextToBytes(BytesToHexText(all)), all);
}

TEST(Numbers, AtolRuleSaturatesAt32Bits) {
    const std::vector<std::tuple<std::string, int32_t, uint32_t>> cases = {
        {"42", 42, 42u},
        {"  -17abc", -17, 4294967279u},
        {"+8", 8, 8u},
        {"", 0, 0u},
        {"x5", 0, 0u},
        {"- 5", 0, 0u},
        {"2147483647", 2147483647, 2147483647u},
        {"2147483648", 2147483647, 2147483648u},
        {"4294967295", 2147483647, 4294967295u},
        {"4294967296", 2147483647, 4294967295u},
        {"-2147483648", INT32_MIN, 2147483648u},
        {"-2147483649", INT32_MIN, 2147483648u},
        {"99999999999999999999999999", 2147483647, 4294967295u},
    };
    for (const auto& [text, s, u] : cases) {
        EXPECT_EQ(TextToInt32(text), s) << text;
        EXPECT_EQ(TextToUInt32(text), u) << text;
    }
}

TEST(Numbers, Counter64FromLongDouble) {
    EXPECT_EQ(TextToCounter64("18446744073709551615"), UINT64_MAX);
    EXPECT_EQ(TextToCounter64("18446744073709551616"), UINT64_MAX);
    EXPECT_EQ(TextToCounter64("4294967296"), 4294967296u);
    EXPECT_EQ(TextToCounter64("0.99"), 0u);
    EXPECT_EQ(TextToCounter64("-7"), 0u);
    EXPECT_EQ(TextToCounter64("nan"), 0u);
    EXPECT_EQ(TextToCounter64("inf"), UINT64_MAX);
    EXPECT_EQ(TextToCounter64("12345678901234567"), 12345678901234567u);
}

TEST(Numbers, RealText) {
    const std::vector<std::pair<double, std::string>> cases = {
        {2.5, "2.5"},
        {0.1, "0.1"},
        {42, "42"},
        {-0.0, "0"},
        {1e20, "1E20"},
        {1.5e-7, "1.5E-7"},
        {1.0 / 3, "0.333333333333333"},
        {123456789012345678.0, "1.23456789012346E17"},
        {INFINITY, "INF"},
        {-INFINITY, "-INF"},
        {NAN, "NAN"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(RealToText(value), text);
        if (!std::isnan(value)) {
            EXPECT_EQ(RealToText(TextToDouble(text)), text);
        }
    }
    EXPECT_EQ(TextToDouble(" 2.5x"), 2.5);
    EXPECT_EQ(TextToDouble("abc"), 0);
    EXPECT_EQ(TextToDouble("1e400"), HUGE_VAL);
}

// Switches to a locale with a decimal comma, compiling one into a temporary directory
// when none is installed; false when that is not possible.
bool UseDecimalCommaLocale() {
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr) return true;
    const std::string dir = testing::TempDir() + "values-locale";
    setenv("LOCPATH", dir.c_str(), 1);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr) return true;
    const std::string command = "mkdir -p '" + dir + "' && localedef -i de_DE -f UTF-8 '" + dir +
                                "/de_DE.UTF-8' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return false;
    return std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
}

TEST(Numbers, RealTextIgnoresTheLocale) {
    if (!UseDecimalCommaLocale()) GTEST_SKIP() << "no locale with a decimal comma";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%g", 2.5);
    EXPECT_STREQ(probe, "2,5");  // the locale is really in effect
    EXPECT_EQ(RealToText(2.5), "2.5");
    EXPECT_EQ(TextToDouble("2.5"), 2.5);
    EXPECT_EQ(DecodeValue(EncodeValue("0.25", 72), 72), "0.25");
    std::setlocale(LC_ALL, "C");
    unsetenv("LOCPATH");
}

TEST(TimeTicks, Writing) {
    const std::vector<std::pair<uint32_t, std::string>> cases = {
        {0, "0:00:00.00"},
        {360000, "1:00:00.00"},
        {8640000, "1 day 0:00:00.00"},
        {17280001, "2 days, 0:00:00.01"},
        {8639999, "23:59:59.99"},
        {4294967295u, "497 days, 2:27:52.95"},
    };
    for (const auto& [ticks, text] : cases) {
        EXPECT_EQ(TimeTicksToText(ticks), text);
        EXPECT_EQ(TextToTimeTicks(text), ticks) << text;
    }
}

TEST(TimeTicks, Reading) {
    const std::vector<std::pair<std::string, uint32_t>> cases = {
        {"1 day 0:00:00.00", 8640000},
        {"5", 0},
        {"", 0},
        {"0:01:02.03", 6203},
        {"3 days, 1:00:00.00", 3 * 8640000 + 360000},
        {"1:30", 360000},                         // one ":" only: the minutes are not read
        {"99999 days, 0:00:00.00", 4294967295u},  // beyond 32 bits: clamped
        {"-5:00:00.00", 0},                       // negative: clamped
        {"99999999999:99999999999:1.1", 4294967295u},
    };
    for (const auto& [text, ticks] : cases) EXPECT_EQ(TextToTimeTicks(text), ticks) << text;
}

TEST(DateTimeNumber, Writing) {
    const std::vector<std::pair<double, std::string>> cases = {
        {0, "1899/12/30 00:00:00"},
        {45296 + (9 * 3600 + 3 * 60 + 7) / 86400.0, "2024/01/05 09:03:07"},
        {-1.25, "1899/12/29 06:00:00"},
        {60, "1900/02/28 00:00:00"},
        {61, "1900/03/01 00:00:00"},
        {1.9999999999, "1900/01/01 00:00:00"},  // rounds up into the next day
        {-693593, "0001/01/01 00:00:00"},
        {2958465.5, "9999/12/31 12:00:00"},
        {2958466, "2958466"},  // beyond 9999-12-31: written as the number
        {-693594, "-693594"},
        {NAN, "NAN"},
    };
    for (const auto& [days, text] : cases) EXPECT_EQ(DateTimeNumberToText(days), text) << days;
}

TEST(DateTimeNumber, Reading) {
    const double jan5 = 45296 + (9 * 3600 + 3 * 60 + 7) / 86400.0;
    const std::vector<std::pair<std::string, double>> good = {
        {"2024/01/05 09:03:07", jan5},
        {"2024/1/5 9:3:7", jan5},
        {"2024-01-05 09:03:07", jan5},
        {"  2024/01/05   09:03:07 ", jan5},
        {"2024/01/05 09:03:07.5", jan5 + 0.5 / 86400},
        {"2024/01/05", 45296},
        {"2024/01/05 09:03", jan5 - 7 / 86400.0},
        {"1899/12/29 06:00:00", -1.25},
        {"2024/02/29", 45351},
        {"12:00", 0.5},
    };
    for (const auto& [text, days] : good) {
        double d = -1e9;
        EXPECT_TRUE(TryTextToDateTimeNumber(text, d)) << text;
        EXPECT_NEAR(d, days, 1e-9) << text;
    }
    for (const char* text :
         {"", "abc", "2023/02/29", "2024/13/01", "2024/00/10", "2024/01/32", "0000/01/01",
          "10000/01/01", "2024/01/05 24:00:00", "2024/01/05 09:60", "2024/01-05", "2024/01/05x",
          "2024/01/05 9", "12", "2024/01/05 09:03:07.1234", "99999999999999999999/1/1"}) {
        double d = 7;
        EXPECT_FALSE(TryTextToDateTimeNumber(text, d)) << text;
        EXPECT_EQ(d, 7) << text;
    }
    try {
        TextToDateTimeNumber("abc");
        ADD_FAILURE() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'abc' is not a valid date and time");
    }
}

TEST(DateTimeNumber, RoundTripOfWholeSeconds) {
    for (double days : {0.0, 1.5, 45296.25, -1.75, -36522.0, 73050.99998842592, 2958465.0}) {
        const std::string text = DateTimeNumberToText(days);
        EXPECT_EQ(DateTimeNumberToText(TextToDateTimeNumber(text)), text) << days;
    }
}

TEST(BitList, ToText) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"FF", "1-8"},
        {"00", "0"},
        {"81", "1,8"},
        {"C3", "1-2,7-8"},
        {"E8", "1-3,5"},
        {"0001", "16"},
        {"FFFF", "1-16"},
        {"", "0"},
        {"E8F", "1-3,5"},  // the odd last digit
                           // is not a byte
        {"zz", "0"},
        {"e8", "1-3,5"},
        {"01 8", "8,13"},
    };
    for (const auto& [hex, text] : cases) EXPECT_EQ(BitListToText(hex, false), text) << hex;
    EXPECT_EQ(BitListToText("E8", true), "1-3,5[E8]");
    EXPECT_EQ(BitListToText("00", true), "0[00]");
}

TEST(BitList, Strip) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"1-3,5[E8]", "E8"}, {"[E8", "E"}, {"E8", "E"},     {"E8]", "E8"},     {"", ""},
        {"[", ""},           {"[]", ""},   {"a]b[cd", "c"}, {"x[AB]y]", "AB"},
    };
    for (const auto& [text, hex] : cases) EXPECT_EQ(StripBitListText(text), hex) << text;
}

TEST(BitList, FromText) {
    const std::vector<std::tuple<std::string, std::string, std::string>> good = {
        {"1-3,5", "0000", "e800"},   {"all", "0000", "ffff"},
        {"16", "0000", "0001"},      {"1 - 3 , 5", "0000", "e800"},
        {"5,1-3,2", "0000", "e800"}, {"0", "00FF", "0000"},  // the text of no bit set reads back
        {"1-3", "000", "e00"},                               // odd current length: 4 bits per digit
        {"12", "000", "001"},        {"all", "", ""},
    };
    for (const auto& [text, current, hex] : good) {
        std::string out = "untouched";
        EXPECT_TRUE(TextToBitList(text, current, out)) << text;
        EXPECT_EQ(out, hex) << text;
    }
    const std::vector<std::pair<std::string, std::string>> bad = {
        {"17", "0000"},   {"4-2", "0000"},  {"0-3", "0000"}, {"", "0000"},
        {"1,,2", "0000"}, {"2:7", "0000"},  {"1-x", "0000"}, {"-1", "0000"},
        {"1-", "0000"},   {"13", "000"},    {"1", ""},       {"99999999999999999999", "0000"},
        {"ALL", "0000"},  {"1--3", "0000"},
    };
    for (const auto& [text, current] : bad) {
        std::string out = "untouched";
        EXPECT_FALSE(TextToBitList(text, current, out)) << text;
        EXPECT_EQ(out, "untouched") << text;
    }
}

struct DateTimeCase {
    std::string text;
    std::string bytes;  // expected 11 value bytes
    std::string back;   // ToText
};

TEST(HvDateTime, FromTextAndBack) {
    const std::vector<DateTimeCase> cases = {
        {"2024-1-5,9:3:7.0,+8:0", "07 E8 01 05 09 03 07 00 2B 08 00", "2024-1-5,9:3:7.0,+8:0"},
        {"2024-1-5,9:3:7.0,-5:0", "07 E8 01 05 09 03 07 00 2D 05 00", "2024-1-5,9:3:7.0,-5:0"},
        {"2024-1-5,9:3:7.0", "07 E8 01 05 09 03 07 00 2B 00 00", "2024-1-5,9:3:7.0"},
        {"2024-01-05,09:03:07.5,+05:30", "07 E8 01 05 09 03 07 05 2B 05 1E",
         "2024-1-5,9:3:7.5,+5:30"},
        // Offsets without minutes keep their direction.
        {"2024-1-5,9:3:7.0,-5", "07 E8 01 05 09 03 07 00 2D 05 00", "2024-1-5,9:3:7.0,-5:0"},
        {"2024-1-5,9:3:7.0,+8", "07 E8 01 05 09 03 07 00 2B 08 00", "2024-1-5,9:3:7.0,+8:0"},
        // Fields that no pattern reaches are 0.
        {"garbage", "00 00 00 00 00 00 00 00 2B 00 00", "0-0-0,0:0:0.0"},
        {"", "00 00 00 00 00 00 00 00 2B 00 00", "0-0-0,0:0:0.0"},
        {"2024-1", "07 E8 01 00 00 00 00 00 2B 00 00", "2024-1-0,0:0:0.0"},
        {" 2024- 1-5,9:3:7.0", "07 E8 01 05 09 03 07 00 2B 00 00", "2024-1-5,9:3:7.0"},
        // Numbers keep their low bits.
        {"70000-256-257,0:0:0.0", "11 70 00 01 00 00 00 00 2B 00 00", "4464-0-1,0:0:0.0"},
        {"99999999999-1-1,0:0:0.0", "FF FF 01 01 00 00 00 00 2B 00 00", "65535-1-1,0:0:0.0"},
    };
    for (const DateTimeCase& c : cases) {
        HvDateTime dt(c.text);
        EXPECT_EQ(dt.ToBytes(), Bytes(c.bytes)) << c.text;
        EXPECT_EQ(dt.ToText(), c.back) << c.text;
        HvDateTime again;
        ASSERT_TRUE(again.FromBytes(dt.ToBytes()));
        EXPECT_EQ(again.ToText(), c.back) << c.text;
    }
}

TEST(HvDateTime, BytesAndYearSwap) {
    HvDateTime dt("2024-1-5,9:3:7.0");
    EXPECT_EQ(dt.year, 2024);
    dt.SwapYear();
    EXPECT_EQ(dt.year, 0xE807);
    dt.SwapYear();
    EXPECT_EQ(dt.year, 2024);
    HvDateTime unchanged("2000-2-3,4:5:6.7");
    EXPECT_FALSE(unchanged.FromBytes(std::string(10, '\x01')));
    EXPECT_EQ(unchanged.ToText(), "2000-2-3,4:5:6.7");
}

TEST(HvDateTime, DefaultIsNow) {
    std::time_t before = std::time(nullptr);
    HvDateTime now;
    std::time_t after = std::time(nullptr);
    std::tm a{}, b{};
    localtime_r(&before, &a);
    localtime_r(&after, &b);
    EXPECT_TRUE(now.year == a.tm_year + 1900 || now.year == b.tm_year + 1900);
    EXPECT_TRUE(now.day == a.tm_mday || now.day == b.tm_mday);
    EXPECT_TRUE(now.minutes == a.tm_min || now.minutes == b.tm_min);
    EXPECT_EQ(now.deciSeconds, 0);
    EXPECT_EQ(now.direction, '+');
    EXPECT_EQ(now.hoursFromUTC, 0);
    EXPECT_EQ(now.minutesFromUTC, 0);
}

TEST(HvNumList, Parse) {
    const std::vector<std::pair<std::string, std::vector<int>>> cases =
        {
            {"1,2,3", {1, 2, 3}}, {"1,,3", {1, 0, 3}},
            {"1,2,", {1, 2, 0}},  {"", {}},
            {"12.7", {12}},       {"12.79,3", {12, 3}},
            {",", {0, 0}},        {"1.:,2", {1, 2}},  // fraction characters never count
        };
    HvNumList<int> list;
    list.delimiter = ',';
    for (const auto& [text, items] : cases) {
        EXPECT_EQ(list.ItemCount(text), static_cast<int>(items.size())) << text;
        EXPECT_EQ(list.Parse(text).Items(), items) << text;
        EXPECT_EQ(list.Count(), items.size()) << text;
    }
    HvNumList<unsigned int> dotted;
    EXPECT_EQ(dotted.Parse("1.3.6").Items(), (std::vector<unsigned>{1, 3, 6}));
    // Long digit runs wrap modulo 2^32 instead of overflowing.
    EXPECT_EQ(dotted.Parse("99999999999").Item(0), 1215752191u);
    EXPECT_THROW(dotted.Item(1), std::out_of_range);
}

TEST(HvNumList, AllWithin) {
    HvNumList<unsigned int> list;
    list.delimiter = ',';
    EXPECT_TRUE(list.Parse("1,5,10").AllWithin(1, 10));
    EXPECT_FALSE(list.AllWithin(2, 10));
    EXPECT_FALSE(list.AllWithin(0, 9));
    EXPECT_TRUE(list.Parse("4294967295").AllWithin(0, 4294967295u));
    EXPECT_TRUE(list.Parse("").AllWithin(5, 6));
}

}  // namespace
