// Value bytes by syntax: EncodeValue, DecodeValue and ExtractPart.
#include <cmath>
#include <cstring>
#include <vector>

#include "mib/HvSnmpTypes.h"
#include "mib/HvValueFormat.h"
#include "value_test_util.h"

namespace {

struct Case {
    int32_t syntax;
    std::string text;   // value text given to EncodeValue
    std::string bytes;  // expected value bytes, spaced hex
    std::string back;   // DecodeValue of those bytes
};

std::string Name(int32_t syntax) {
    return ValueToLabel(SyntaxNames, std::to_string(syntax));
}

const std::string kV6 = "20010DB8000000000000000000000001";
const std::string kV6Bytes = "20 01 0D B8 00 00 00 00 00 00 00 00 00 00 00 01";

const std::vector<Case> kCases = {
    {SYNTAX_BOOLEAN, "true", "01 00 00 00", "true"},
    {SYNTAX_BOOLEAN, "True", "00 00 00 00", "false"},
    {SYNTAX_INTEGER, "-5", "FB FF FF FF", "-5"},
    {SYNTAX_INTEGER, "  +42x", "2A 00 00 00", "42"},
    {SYNTAX_INTEGER, "abc", "00 00 00 00", "0"},
    {SYNTAX_INTEGER, "2147483648", "FF FF FF 7F", "2147483647"},
    {SYNTAX_INTEGER, "-99999999999999999999", "00 00 00 80", "-2147483648"},
    {SYNTAX_BITSTR, "0a 1B", "0A 1B", "0A1B"},
    {SYNTAX_OCTETSTR, "ABC", "0A BC", "0ABC"},
    {SYNTAX_OCTETSTR, "zz", "00", "00"},
    {SYNTAX_OPAQUE, "ff00", "FF 00", "FF00"},
    {SYNTAX_BITLIST, "E8", "E8", "E8"},
    {SYNTAX_OBJECTID, "1.3.6.1", "01 00 00 00 03 00 00 00 06 00 00 00 01 00 00 00", "1.3.6.1"},
    {SYNTAX_OBJECTID, ".1.4294967295", "01 00 00 00 FF FF FF FF", "1.4294967295"},
    {SYNTAX_IPADDRESS, "10.0.0.1", "0A 00 00 01", "10.0.0.1"},
    {SYNTAX_IPADDRESS, "10.0.0.300", "0A 00 00 2C", "10.0.0.44"},
    {SYNTAX_NSAPADDR, "1.2.3.4.5", "01 02 03 04 05", "1.2.3.4"},
    {SYNTAX_COUNTER, "4294967295", "FF FF FF FF", "4294967295"},
    {SYNTAX_COUNTER, "4294967296", "FF FF FF FF", "4294967295"},
    {SYNTAX_GUAGE, "-1", "FF FF FF FF", "4294967295"},
    {SYNTAX_UINTEGER, "3000000000", "00 5E D0 B2", "3000000000"},
    {SYNTAX_TIMETICKS, "1 day 0:00:00.00", "00 D6 83 00", "1 day 0:00:00.00"},
    {SYNTAX_TIMETICKS, "5", "00 00 00 00", "0:00:00.00"},
    {SYNTAX_COUNTER64, "18446744073709551615", "FF FF FF FF FF FF FF FF", "18446744073709551615"},
    {SYNTAX_COUNTER64, "4294967297.9", "01 00 00 00 01 00 00 00", "4294967297"},
    {SYNTAX_COUNTER64, "-3", "00 00 00 00 00 00 00 00", "0"},
    {SYNTAX_COUNTER64, "1e30", "FF FF FF FF FF FF FF FF", "18446744073709551615"},
    {SYNTAX_DOUBLE, "2.5", "00 00 00 00 00 00 04 40", "2.5"},
    {SYNTAX_DOUBLE, "-1e20", "40 8C B5 78 1D AF 15 C4", "-1E20"},
    {SYNTAX_DOUBLE, "abc", "00 00 00 00 00 00 00 00", "0"},
    {SYNTAX_MACADDRESS, "00 11 22 aa bb cc", "00 11 22 AA BB CC", "001122AABBCC"},
    {SYNTAX_DATETIME, "2024-1-5,9:3:7.0,-5:0", "07 E8 01 05 09 03 07 00 2D 05 00",
     "2024-1-5,9:3:7.0,-5:0"},
    {SYNTAX_DATETIME, "2024-1-5,9:3:7.0", "07 E8 01 05 09 03 07 00 2B 00 00", "2024-1-5,9:3:7.0"},
    {SYNTAX_DISPLAYSTR, "Hello ", "48 65 6C 6C 6F 20", "Hello "},
    {SYNTAX_DISPLAYSTR, "\xFF\xFE\xC3", "FF FE C3", "\xFF\xFE\xC3"},
    {SYNTAX_IPV6ADDRESS, kV6, kV6Bytes, kV6},
    {SYNTAX_INETADDRESS, "192.168.1.1", "C0 A8 01 01", "192.168.1.1"},
    {SYNTAX_INETADDRESS, kV6, kV6Bytes, kV6},
    {SYNTAX_INETADDRESS, "FE800000000000000000000000000001%05",
     "FE 80 00 00 00 00 00 00 00 00 00 00 00 00 00 01 05", "FE80000000000000000000000000000105"},
    {SYNTAX_BOOL8, "true", "01", "true"},
    {SYNTAX_BOOL8, "x", "00", "false"},
    {SYNTAX_INT8, "-1", "FF", "-1"},
    {SYNTAX_INT8, "300", "2C", "44"},
    {SYNTAX_UINT8, "-1", "FF", "255"},
    {SYNTAX_BOOL16, "true", "00 01", "true"},
    {SYNTAX_INT16, "-1", "FF FF", "-1"},
    {SYNTAX_INT16, "40000", "9C 40", "-25536"},
    {SYNTAX_UINT16, "258", "01 02", "258"},
    {SYNTAX_UINT16, "65536", "00 00", "0"},
};

TEST(ValueFormat, EncodeAndDecodeEverySyntax) {
    for (const Case& c : kCases) {
        const std::string context = Name(c.syntax) + " \"" + c.text + "\"";
        EXPECT_EQ(EncodeValue(c.text, c.syntax), Bytes(c.bytes)) << context;
        EXPECT_EQ(DecodeValue(Bytes(c.bytes), c.syntax), c.back) << context;
    }
    // Every syntax of the table is covered by at least one case (null separately below).
    for (const HvOptionList::Entry& e : SyntaxNames.Items()) {
        bool covered = e.number == SYNTAX_NULL || e.number == SYNTAX_BCDATETIME;
        for (const Case& c : kCases) covered = covered || c.syntax == e.number;
        EXPECT_TRUE(covered) << e.label;
    }
}

TEST(ValueFormat, NullMarkerAndEmptyBytesForEverySyntax) {
    for (const HvOptionList::Entry& e : SyntaxNames.Items()) {
        EXPECT_EQ(EncodeValue("(NULL)", e.number), "") << e.label;
        EXPECT_EQ(DecodeValue("", e.number), e.number == SYNTAX_DISPLAYSTR ? "" : "(NULL)")
            << e.label;
    }
    EXPECT_EQ(EncodeValue("anything", SYNTAX_NULL), "");
    EXPECT_EQ(DecodeValue(Bytes("01 02"), SYNTAX_NULL), "(NULL)");
}

TEST(ValueFormat, UnknownSyntaxRaisesBadSyntax) {
    for (int32_t syntax : {0, 7, 63, 79, 80, 82, 192, 199, -1, 1000}) {
        const std::string ctx = "syntax " + std::to_string(syntax);
        ExpectLibraryError([&] { EncodeValue("1", syntax); }, -511, ctx);
        ExpectLibraryError([&] { EncodeValue("(NULL)", syntax); }, -511, ctx);
        ExpectLibraryError([&] { DecodeValue(Bytes("01 02 03 04"), syntax); }, -511, ctx);
        ExpectLibraryError([&] { ExtractPart(Bytes("01 02 03 04"), 0, syntax); }, -511, ctx);
    }
}

TEST(ValueFormat, DecodeRaisesBadValueWhenTooShort) {
    // {syntax, bytes needed}; one byte less raises -518, the full count does not.
    const std::vector<std::pair<int32_t, size_t>> needs = {
        {SYNTAX_BOOLEAN, 4},    {SYNTAX_INTEGER, 4},      {SYNTAX_IPADDRESS, 4},
        {SYNTAX_NSAPADDR, 4},   {SYNTAX_COUNTER, 4},      {SYNTAX_GUAGE, 4},
        {SYNTAX_UINTEGER, 4},   {SYNTAX_TIMETICKS, 4},    {SYNTAX_COUNTER64, 8},
        {SYNTAX_DOUBLE, 8},     {SYNTAX_MACADDRESS, 6},   {SYNTAX_DATETIME, 11},
        {SYNTAX_BCDATETIME, 8}, {SYNTAX_IPV6ADDRESS, 16}, {SYNTAX_INETADDRESS, 4},
        {SYNTAX_BOOL16, 2},     {SYNTAX_INT16, 2},        {SYNTAX_UINT16, 2},
        {SYNTAX_OBJECTID, 4},
    };
    for (auto [syntax, n] : needs) {
        ExpectLibraryError([&] { DecodeValue(std::string(n - 1, '\x01'), syntax); }, -518,
                           Name(syntax));
        EXPECT_NO_THROW(DecodeValue(std::string(n, '\x01'), syntax)) << Name(syntax);
    }
    // Object identifiers are whole 4-byte groups only; inetaddress of 1..3 bytes is short.
    ExpectLibraryError([] { DecodeValue(std::string(5, '\x01'), SYNTAX_OBJECTID); }, -518,
                       "objectid 5");
    for (size_t n = 1; n <= 3; ++n)
        ExpectLibraryError([&] { DecodeValue(std::string(n, '\x01'), SYNTAX_INETADDRESS); }, -518,
                           "inetaddress " + std::to_string(n));
}

TEST(ValueFormat, DecodeReadsOnlyItsBytes) {
    EXPECT_EQ(DecodeValue(std::string("ab\0cd", 5), SYNTAX_DISPLAYSTR), "ab");
    EXPECT_EQ(DecodeValue(Bytes("02 00 00 00"), SYNTAX_BOOLEAN), "true");
    EXPECT_EQ(DecodeValue(Bytes("01 00 00 00 02 00 00 00"), SYNTAX_COUNTER64), "8589934593");
    EXPECT_EQ(DecodeValue(Bytes("FF FF FF FF 07"), SYNTAX_INTEGER), "-1");
    EXPECT_EQ(DecodeValue(Bytes("0A 00 00 01 05 06 07 08"), SYNTAX_INETADDRESS), "10.0.0.1");
    EXPECT_EQ(DecodeValue(Bytes("80"), SYNTAX_INT8), "-128");
    EXPECT_EQ(DecodeValue(Bytes("07 E8 01 05 09 03 07 00 3F 05 00"), SYNTAX_DATETIME),
              "2024-1-5,9:3:7.0");  // unknown direction: no UTC part
    EXPECT_EQ(DecodeValue(Bytes("00 00 00 00 00 00 F8 7F"), SYNTAX_DOUBLE), "NAN");
}

TEST(ValueFormat, TextsThatAreNotAddressesGiveEmptyBytes) {
    for (const char* text : {"", "abc", "1..2", "1.2.", "1.99999999999", "1 .2"}) {
        EXPECT_EQ(EncodeValue(text, SYNTAX_OBJECTID), "") << text;
        EXPECT_EQ(EncodeValue(text, SYNTAX_IPADDRESS), "") << text;
    }
}

double DoubleOf(const std::string& bytes) {
    uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = bits << 8 | static_cast<uint8_t>(bytes[i]);
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

TEST(ValueFormat, DateTimeNumberSyntax) {
    const std::string bytes = EncodeValue("2024/01/05 09:03:07", SYNTAX_BCDATETIME);
    ASSERT_EQ(bytes.size(), 8u);
    // 2024-01-05 is day 45296 after 1899-12-30.
    EXPECT_NEAR(DoubleOf(bytes), 45296 + (9 * 3600 + 3 * 60 + 7) / 86400.0, 1e-9);
    EXPECT_EQ(DecodeValue(bytes, SYNTAX_BCDATETIME), "2024/01/05 09:03:07");
    EXPECT_THROW(EncodeValue("yesterday", SYNTAX_BCDATETIME), EConvertError);
    EXPECT_EQ(EncodeValue("(NULL)", SYNTAX_BCDATETIME), "");
}

struct PartCase {
    int32_t offset;
    int32_t syntax;
    std::string part;  // expected bytes; "!" for error -519
};

TEST(ValueFormat, ExtractPart) {
    const std::string value = Bytes("00 11 22 33 44 55");
    const std::vector<PartCase> cases = {
        {2, SYNTAX_INT16, "22 33"},
        {5, SYNTAX_INT16, "!"},
        {4, SYNTAX_UINT16, "44 55"},
        {5, SYNTAX_UINT8, "55"},
        {6, SYNTAX_BOOL8, "!"},
        {-1, SYNTAX_UINT8, "!"},
        {2, SYNTAX_INTEGER, "22 33 44 55"},
        {3, SYNTAX_COUNTER, "!"},
        {0, SYNTAX_MACADDRESS, "00 11 22 33 44 55"},
        {1, SYNTAX_MACADDRESS, "!"},
        {0, SYNTAX_COUNTER64, "!"},
        {4, SYNTAX_OCTETSTR, "44 55"},
        {6, SYNTAX_DISPLAYSTR, ""},
        {7, SYNTAX_OCTETSTR, "!"},
        {2, SYNTAX_INETADDRESS, "22 33 44 55"},
        {3, SYNTAX_INETADDRESS, "!"},
        {0, SYNTAX_NULL, ""},
        {99, SYNTAX_NULL, ""},
        {2147483647, SYNTAX_DATETIME, "!"},
        {2147483647, SYNTAX_BITLIST, "!"},
    };
    for (const PartCase& c : cases) {
        const std::string ctx = Name(c.syntax) + " at " + std::to_string(c.offset);
        if (c.part == "!")
            ExpectLibraryError([&] { ExtractPart(value, c.offset, c.syntax); }, -519, ctx);
        else
            EXPECT_EQ(ExtractPart(value, c.offset, c.syntax), Bytes(c.part)) << ctx;
    }
    EXPECT_EQ(DecodeValue(ExtractPart(value, 2, SYNTAX_INT16), SYNTAX_INT16), "8755");
    // Empty bytes give empty bytes whatever the offset.
    EXPECT_EQ(ExtractPart("", 5, SYNTAX_INTEGER), "");
    // inetaddress is 16 bytes wide once the whole value has more than 15 bytes.
    const std::string v6 = Bytes(kV6Bytes);
    EXPECT_EQ(ExtractPart(v6, 0, SYNTAX_INETADDRESS), v6);
    ExpectLibraryError([&] { ExtractPart(v6, 1, SYNTAX_INETADDRESS); }, -519, "inet 16 at 1");
    EXPECT_EQ(ExtractPart(Bytes("01") + v6, 1, SYNTAX_INETADDRESS), v6);
}

}  // namespace
