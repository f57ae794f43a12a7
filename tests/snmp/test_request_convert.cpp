// The request's value converters: bindings to value texts and back, and key values to row
// index sub-identifiers and back, for every syntax.
#include <vector>

#include "mib/HvSnmpTypes.h"
#include "request_test_util.h"
#include "snmp/SnmpVb.h"

namespace {

const HvOptionData kStatusData[] = {{1, "enabled"}, {2, "disabled"}, {0, nullptr}};
const HvOptionList kStatus(kStatusData, OVK_INTEGER);

const std::string kV6Hex = "20010DB8000000000000000000000001";
const std::string kV6Bytes = Bytes("20 01 0D B8 00 00 00 00 00 00 00 00 00 00 00 01");
const std::string kV6Dotted = "32.1.13.184.0.0.0.0.0.0.0.0.0.0.0.1";

SnmpVb Int(int32_t v) {
    SnmpVb vb;
    vb.SetInteger(v);
    return vb;
}
SnmpVb Uns(uint8_t type, uint32_t v) {
    SnmpVb vb;
    vb.SetUnsigned(type, v);
    return vb;
}
SnmpVb Oct(const std::string& bytes, uint8_t type = kAsnOctetString) {
    SnmpVb vb;
    vb.SetOctets(type, bytes);
    return vb;
}
SnmpVb C64(uint64_t v) {
    SnmpVb vb;
    vb.SetCounter64(v);
    return vb;
}
SnmpVb Oid(const SnmpOid& v) {
    SnmpVb vb;
    vb.SetObjectId(v);
    return vb;
}
SnmpVb Typed(uint8_t type) {
    SnmpVb vb;
    vb.type = type;
    return vb;
}
const SnmpVb kNull;

std::string Describe(const SnmpVb& vb) {
    std::string d = "type " + std::to_string(vb.type) + " int " + std::to_string(vb.integer) +
                    " c64 " + std::to_string(vb.counter64) + " oid " + OidToText(vb.objectId) +
                    " octets";
    for (unsigned char c : vb.octets) d += " " + std::to_string(c);
    return d;
}

// ---- Binding to text -----------------------------------------------------------------------

struct VbCase {
    int32_t syntax;
    SnmpVb vb;
    std::string text;
};

TEST(VbToText, EverySyntax) {
    const std::vector<VbCase> cases = {
        {SYNTAX_BOOLEAN, Int(5), "true"},
        {SYNTAX_BOOLEAN, Int(0), "false"},
        {SYNTAX_BOOLEAN, kNull, "(NULL)"},
        {SYNTAX_INTEGER, Int(-5), "-5"},
        {SYNTAX_INTEGER, Uns(kAsnGauge32, 4294967295u), "4294967295"},
        {SYNTAX_INTEGER, kNull, "(NULL)"},
        {SYNTAX_INTEGER, Typed(kAsnNoSuchInstance), "(NULL)"},
        {SYNTAX_BITSTR, Oct(Bytes("E8")), "E8"},
        {SYNTAX_BITSTR, kNull, ""},
        {SYNTAX_OCTETSTR, Oct(Bytes("0A 1B")), "0A1B"},
        {SYNTAX_OCTETSTR, Oct(""), ""},
        {SYNTAX_OCTETSTR, Typed(kAsnEndOfMibView), ""},
        {SYNTAX_NULL, Int(3), "(NULL)"},
        {SYNTAX_NULL, kNull, "(NULL)"},
        {SYNTAX_OBJECTID, Oid({1, 3, 6, 1, 4294967295u}), "1.3.6.1.4294967295"},
        {SYNTAX_OBJECTID, kNull, "(NULL)"},
        {SYNTAX_IPADDRESS, Oct(Bytes("0A 00 00 01"), kAsnIpAddress), "10.0.0.1"},
        {SYNTAX_IPADDRESS, Oct(Bytes("0A 00"), kAsnIpAddress), "10.0"},
        {SYNTAX_IPADDRESS, kNull, "(NULL)"},
        {SYNTAX_COUNTER, Uns(kAsnCounter32, 4294967295u), "4294967295"},
        {SYNTAX_COUNTER, Int(-1), "4294967295"},
        {SYNTAX_GUAGE, Uns(kAsnGauge32, 7), "7"},
        {SYNTAX_GUAGE, kNull, "(NULL)"},
        {SYNTAX_TIMETICKS, Uns(kAsnTimeTicks, 8640000), "1 day 0:00:00.00"},
        {SYNTAX_TIMETICKS, Uns(kAsnTimeTicks, 17280001), "2 days, 0:00:00.01"},
        {SYNTAX_TIMETICKS, kNull, "(NULL)"},
        {SYNTAX_OPAQUE, Oct(Bytes("FF 00"), kAsnOpaque), "FF00"},
        {SYNTAX_NSAPADDR, Oct(Bytes("01 02 03 04"), kAsnNsapAddress), "1.2.3.4"},
        {SYNTAX_COUNTER64, C64(18446744073709551615ull), "18446744073709551615"},
        {SYNTAX_COUNTER64, kNull, "(NULL)"},
        {SYNTAX_UINTEGER, Uns(kAsnGauge32, 3000000000u), "3000000000"},
        {SYNTAX_DOUBLE, Oct(Bytes("00 00 00 00 00 00 04 40")), "2.5"},
        {SYNTAX_DOUBLE, Oct(Bytes("00 00 00 00 00 00 04 40 99")), "2.5"},
        // Too short for a double: the octets stay visible as hex text.
        {SYNTAX_DOUBLE, Oct(Bytes("00 00 04 40")), "00000440"},
        {SYNTAX_DOUBLE, Oct(""), "(NULL)"},
        {SYNTAX_MACADDRESS, Oct(Bytes("00 11 22 AA BB CC")), "001122AABBCC"},
        {SYNTAX_MACADDRESS, kNull, ""},
        {SYNTAX_DATETIME, Oct(Bytes("07 E8 01 05 09 03 07 00 2D 05 00")), "2024-1-5,9:3:7.0,-5:0"},
        // The 8-octet DateAndTime form has no UTC offset.
        {SYNTAX_DATETIME, Oct(Bytes("07 E8 01 05 09 03 07 00")), "2024-1-5,9:3:7.0"},
        {SYNTAX_DATETIME, Oct(Bytes("07 E8 01")), "2024-1-0,0:0:0.0"},
        {SYNTAX_DATETIME, kNull, "(NULL)"},
        {SYNTAX_BCDATETIME, Oct(Bytes("00 00 00 00 10 1E E6 40")), "2024/01/05 12:00:00"},
        {SYNTAX_BCDATETIME, Oct(Bytes("10 1E E6 40")), "101EE640"},
        {SYNTAX_BCDATETIME, kNull, "(NULL)"},
        {SYNTAX_DISPLAYSTR, Oct(std::string("abc\0def", 7)), "abc"},
        {SYNTAX_DISPLAYSTR, Oct("\xFF\xFE\x80 raw"), "\xFF\xFE\x80 raw"},
        {SYNTAX_DISPLAYSTR, kNull, ""},
        {SYNTAX_DISPLAYSTR, Oct(""), ""},
        {SYNTAX_IPV6ADDRESS, Oct(kV6Bytes), kV6Hex},
        {SYNTAX_IPV6ADDRESS, kNull, ""},
        {SYNTAX_BITLIST, Oct(Bytes("81")), "81"},
        {SYNTAX_INETADDRESS, Oct(Bytes("0A 00 00 01")), "10.0.0.1"},
        {SYNTAX_INETADDRESS, Oct(kV6Bytes), kV6Hex},
        {SYNTAX_INETADDRESS, Oct(Bytes("0A")), "10"},
        {SYNTAX_INETADDRESS, kNull, ""},
    };
    HvSNMPRequest request;
    for (const VbCase& c : cases) {
        FillList(request, {{c.syntax, "old"}});
        request.VbToText(0, c.vb);
        EXPECT_EQ(request.List().Item(0).value, c.text)
            << "syntax " << c.syntax << ", " << Describe(c.vb);
    }
}

TEST(VbToText, OptionsGiveLabelsAndUnknownSyntaxesFail) {
    HvSNMPRequest request;
    FillList(request, {{SYNTAX_INTEGER, "", ACCESS_READONLY, &kStatus}});
    request.VbToText(0, Int(1));
    EXPECT_EQ(request.List().Item(0).value, "enabled");
    request.VbToText(0, Int(7));
    EXPECT_EQ(request.List().Item(0).value, "7");
    request.VbToText(0, kNull);
    EXPECT_EQ(request.List().Item(0).value, "(NULL)");

    for (int32_t syntax : {0, 7, 79, 80, 82, 193, 194, 195, 196, 197, 198, 255}) {
        FillList(request, {{syntax, "keep"}});
        ExpectLibraryError([&] { request.VbToText(0, Int(1)); }, -511,
                           "syntax " + std::to_string(syntax));
        EXPECT_EQ(request.List().Item(0).value, "keep");
    }
}

// ---- Text to binding -----------------------------------------------------------------------

struct TextCase {
    int32_t syntax;
    std::string text;
    SnmpVb vb;
};

TEST(TextToVb, EverySyntax) {
    const std::vector<TextCase> cases = {
        {SYNTAX_BOOLEAN, "true", Int(1)},
        {SYNTAX_BOOLEAN, "True", Int(0)},
        {SYNTAX_INTEGER, "-5", Int(-5)},
        {SYNTAX_INTEGER, "  +42x", Int(42)},
        {SYNTAX_INTEGER, "abc", Int(0)},
        {SYNTAX_INTEGER, "2147483648", Int(2147483647)},
        {SYNTAX_INTEGER, "-99999999999999999999", Int(-2147483647 - 1)},
        {SYNTAX_BITSTR, "E8", Oct(Bytes("E8"))},
        {SYNTAX_OCTETSTR, "a 1b", Oct(Bytes("0A 1B"))},
        {SYNTAX_OCTETSTR, "A1B", Oct(Bytes("0A 1B"))},
        {SYNTAX_OCTETSTR, "", Oct("")},
        {SYNTAX_OPAQUE, "ff00", Oct(Bytes("FF 00"), kAsnOpaque)},
        {SYNTAX_BITLIST, "e800", Oct(Bytes("E8 00"))},
        {SYNTAX_NULL, "anything", kNull},
        {SYNTAX_OBJECTID, "1.3.6.1", Oid({1, 3, 6, 1})},
        {SYNTAX_OBJECTID, ".1.3", Oid({1, 3})},
        {SYNTAX_IPADDRESS, "10.0.0.1", Oct(Bytes("0A 00 00 01"), kAsnIpAddress)},
        {SYNTAX_IPADDRESS, "10.0.0.300", Oct(Bytes("FF FF FF FF"), kAsnIpAddress)},
        {SYNTAX_IPADDRESS, "host.example", Oct(Bytes("FF FF FF FF"), kAsnIpAddress)},
        {SYNTAX_NSAPADDR, "1.2.3.4", Oct(Bytes("01 02 03 04"), kAsnIpAddress)},
        {SYNTAX_COUNTER, "4294967295", Uns(kAsnCounter32, 4294967295u)},
        {SYNTAX_COUNTER, "4294967296", Uns(kAsnCounter32, 4294967295u)},
        {SYNTAX_COUNTER, "-1", Uns(kAsnCounter32, 4294967295u)},
        {SYNTAX_GUAGE, "7", Uns(kAsnGauge32, 7)},
        {SYNTAX_UINTEGER, "3000000000", Uns(kAsnGauge32, 3000000000u)},
        {SYNTAX_TIMETICKS, "1 day 0:00:00.00", Uns(kAsnTimeTicks, 8640000)},
        {SYNTAX_TIMETICKS, "5", Uns(kAsnTimeTicks, 0)},
        {SYNTAX_COUNTER64, "18446744073709551615", C64(18446744073709551615ull)},
        {SYNTAX_COUNTER64, "1e30", C64(18446744073709551615ull)},
        {SYNTAX_COUNTER64, "-3", C64(0)},
        {SYNTAX_DOUBLE, "2.5", Oct(Bytes("00 00 00 00 00 00 04 40"))},
        {SYNTAX_DOUBLE, "abc", Oct(Bytes("00 00 00 00 00 00 00 00"))},
        {SYNTAX_MACADDRESS, "00 11 22 aa bb cc", Oct(Bytes("00 11 22 AA BB CC"))},
        {SYNTAX_DATETIME, "2024-1-5,9:3:7.0,-5:0", Oct(Bytes("07 E8 01 05 09 03 07 00 2D 05 00"))},
        {SYNTAX_DATETIME, "2024-1-5,9:3:7.0", Oct(Bytes("07 E8 01 05 09 03 07 00 2B 00 00"))},
        {SYNTAX_BCDATETIME, "2024/01/05 12:00:00", Oct(Bytes("00 00 00 00 10 1E E6 40"))},
        {SYNTAX_DISPLAYSTR, "ab\xFF\xFE", Oct("ab\xFF\xFE")},
        {SYNTAX_DISPLAYSTR, "", Oct("")},
        {SYNTAX_IPV6ADDRESS, kV6Hex, Oct(kV6Bytes)},
        {SYNTAX_INETADDRESS, "10.0.0.1", Oct(Bytes("0A 00 00 01"))},
        // Always four octets in network order, also when the first ones are 0.
        {SYNTAX_INETADDRESS, "0.0.0.1", Oct(Bytes("00 00 00 01"))},
        {SYNTAX_INETADDRESS, "not an address", Oct(Bytes("FF FF FF FF"))},
        {SYNTAX_INETADDRESS, "", Oct("")},
        {SYNTAX_INETADDRESS, kV6Hex, Oct(kV6Bytes)},
    };
    HvSNMPRequest request;
    for (const TextCase& c : cases) {
        FillList(request, {{c.syntax, c.text}});
        SnmpVb vb;
        vb.oid = {1, 3, 6, 1, 4, 1, 99, 1, 0};
        vb.type = static_cast<uint8_t>(c.syntax);
        request.TextToVb(0, vb);
        SnmpVb expected = c.vb;
        expected.oid = vb.oid;
        EXPECT_EQ(Describe(vb), Describe(expected)) << "syntax " << c.syntax << " text " << c.text;
        EXPECT_EQ(vb.oid, expected.oid);
    }
}

TEST(TextToVb, NullOptionsAndFailures) {
    HvSNMPRequest request;
    // "(NULL)" sends a null value for every syntax, the partial ones included.
    for (int32_t syntax : {1,  2,  3,  4,  5,  6,  64, 65, 66, 67, 68,  69,
                           70, 71, 72, 73, 74, 75, 76, 77, 78, 81, 193, 198}) {
        FillList(request, {{syntax, "(NULL)"}});
        SnmpVb vb = Int(9);
        vb.oid = {1, 3};
        request.TextToVb(0, vb);
        EXPECT_EQ(vb.type, kAsnNull) << syntax;
        EXPECT_EQ(vb.oid, (SnmpOid{1, 3})) << syntax;
    }

    FillList(request, {{SYNTAX_INTEGER, "ENABLED", ACCESS_READWRITE, &kStatus}});
    SnmpVb vb;
    request.TextToVb(0, vb);
    EXPECT_EQ(Describe(vb), Describe(Int(1)));

    for (int32_t syntax : {0, 7, 193, 194, 195, 196, 197, 198}) {
        FillList(request, {{syntax, "1"}});
        ExpectLibraryError([&] { request.TextToVb(0, vb); }, -511,
                           "syntax " + std::to_string(syntax));
    }
    FillList(request, {{SYNTAX_OBJECTID, "1.3.x"}});
    ExpectLibraryError([&] { request.TextToVb(0, vb); }, -518, "objectid text");
    FillList(request, {{SYNTAX_BCDATETIME, "yesterday"}});
    EXPECT_THROW(request.TextToVb(0, vb), EConvertError);
}

// Every canonical value text survives text -> binding -> text unchanged.
TEST(TextToVb, CanonicalTextsRoundTrip) {
    const std::vector<std::pair<int32_t, std::string>> cases = {
        {SYNTAX_BOOLEAN, "true"},
        {SYNTAX_BOOLEAN, "false"},
        {SYNTAX_INTEGER, "-2147483648"},
        {SYNTAX_BITSTR, "E800"},
        {SYNTAX_OCTETSTR, "00FF7F80"},
        {SYNTAX_OCTETSTR, ""},
        {SYNTAX_OBJECTID, "1.3.6.1.4.1.4294967295"},
        {SYNTAX_IPADDRESS, "192.168.1.254"},
        {SYNTAX_COUNTER, "4294967295"},
        {SYNTAX_GUAGE, "0"},
        {SYNTAX_TIMETICKS, "497 days, 2:27:52.95"},
        {SYNTAX_OPAQUE, "0102"},
        {SYNTAX_NSAPADDR, "1.2.3.4"},
        {SYNTAX_COUNTER64, "18446744073709551615"},
        {SYNTAX_UINTEGER, "3000000000"},
        {SYNTAX_DOUBLE, "-1.5E-7"},
        {SYNTAX_MACADDRESS, "001122AABBCC"},
        {SYNTAX_DATETIME, "2024-1-5,9:3:7.0,+8:0"},
        {SYNTAX_BCDATETIME, "1999/12/31 23:59:59"},
        {SYNTAX_DISPLAYSTR, "caf\xC3\xA9 \xFF\xFE"},
        {SYNTAX_IPV6ADDRESS, kV6Hex},
        {SYNTAX_BITLIST, "81"},
        {SYNTAX_INETADDRESS, "0.0.0.1"},
        {SYNTAX_INETADDRESS, ""},
        {SYNTAX_INETADDRESS, kV6Hex},
    };
    HvSNMPRequest request;
    for (const auto& [syntax, text] : cases) {
        FillList(request, {{syntax, text}});
        SnmpVb vb;
        request.TextToVb(0, vb);
        request.List().Item(0).value = "changed";
        request.VbToText(0, vb);
        EXPECT_EQ(request.List().Item(0).value, text) << "syntax " << syntax;
    }
}

// ---- Row index decoding ------------------------------------------------------------------

struct DecodeCase {
    int32_t syntax;
    int32_t keys;  // PKeyCount; the decoded key is `key`
    int32_t key;
    bool implied;
    std::string index;
    std::string value;
    std::string rest;
};

std::vector<ItemSpec> KeyItems(const DecodeCase& c) {
    std::vector<ItemSpec> items(static_cast<size_t>(c.keys), ItemSpec{SYNTAX_INTEGER, ""});
    items[static_cast<size_t>(c.key)] = {c.syntax, "old",
                                         ACCESS_READONLY | (c.implied ? ACCESS_IMPLIED : 0)};
    items.push_back({SYNTAX_INTEGER, ""});  // a column after the keys
    return items;
}

TEST(DecodeIndex, EverySyntax) {
    const std::string v6Parts = kV6Dotted;
    const std::vector<DecodeCase> cases = {
        {SYNTAX_BOOLEAN, 2, 0, false, "5.9", "true", "9"},
        {SYNTAX_BOOLEAN, 1, 0, false, "0", "false", ""},
        {SYNTAX_INTEGER, 1, 0, false, "4294967291", "-5", ""},
        {SYNTAX_INTEGER, 2, 0, false, "3.2.97.98", "3", "2.97.98"},
        {SYNTAX_COUNTER, 1, 0, false, "4294967295", "4294967295", ""},
        {SYNTAX_GUAGE, 2, 0, false, "7.8", "7", "8"},
        {SYNTAX_UINTEGER, 1, 0, false, "3000000000", "3000000000", ""},
        // Last key: the length in front is skipped, the rest is the value.
        {SYNTAX_OCTETSTR, 1, 0, false, "6.1.2.3.4.5.6", "010203040506", ""},
        // Last and implied: no length in front, every part is an octet.
        {SYNTAX_OCTETSTR, 1, 0, true, "1.2.3", "010203", ""},
        {SYNTAX_OCTETSTR, 2, 0, false, "2.97.98.7", "6162", "7"},
        // Implied before the last key: it still carries its length.
        {SYNTAX_OCTETSTR, 2, 0, true, "2.97.98.7", "6162", "7"},
        // Key 1 of a longer index with nine parts: eight octets without a length.
        {SYNTAX_OCTETSTR, 3, 1, false, "1.2.3.4.5.6.7.8.9", "0102030405060708", "9"},
        {SYNTAX_BITSTR, 1, 0, false, "1.232", "E8", ""},
        {SYNTAX_OPAQUE, 1, 0, false, "2.255.256", "FF00", ""},
        {SYNTAX_BITLIST, 2, 0, false, "1.129.4", "81", "4"},
        {SYNTAX_BITLIST, 1, 0, false, "", "", ""},
        {SYNTAX_NULL, 2, 0, false, "1.2", "(NULL)", "1.2"},
        {SYNTAX_OBJECTID, 1, 0, true, "1.3.6", "1.3.6", ""},
        {SYNTAX_OBJECTID, 2, 0, false, "3.1.3.6.9", "1.3.6", "9"},
        {SYNTAX_OBJECTID, 1, 0, false, "0.5", "", "5"},
        {SYNTAX_IPADDRESS, 2, 0, false, "10.0.0.1.5", "10.0.0.1", "5"},
        {SYNTAX_NSAPADDR, 1, 0, false, "1.2.3.4", "1.2.3.4", ""},
        {SYNTAX_TIMETICKS, 1, 0, false, "8640000", "1 day 0:00:00.00", ""},
        {SYNTAX_COUNTER64, 1, 0, false, "1.2", "4294967298", ""},
        {SYNTAX_DOUBLE, 1, 0, false, "0.1074003968", "2.5", ""},
        {SYNTAX_MACADDRESS, 2, 0, false, "0.17.34.170.187.204.1", "001122AABBCC", "1"},
        {SYNTAX_DATETIME, 1, 0, false, "7.232.1.5.9.3.7.0.45.5.0", "2024-1-5,9:3:7.0,-5:0", ""},
        {SYNTAX_BCDATETIME, 1, 0, false, "0.1088822800", "2024/01/05 12:00:00", ""},
        {SYNTAX_DISPLAYSTR, 2, 1, false, "2.97.98", "ab", ""},
        {SYNTAX_DISPLAYSTR, 2, 0, false, "2.97.98.3", "ab", "3"},
        {SYNTAX_DISPLAYSTR, 1, 0, true, "97.98", "ab", ""},
        {SYNTAX_DISPLAYSTR, 1, 0, false, "2.255.128", "\xFF\x80", ""},
        {SYNTAX_IPV6ADDRESS, 2, 0, false, v6Parts + ".9", kV6Hex, "9"},
        {SYNTAX_IPV6ADDRESS, 1, 0, true, "1.2.3.4", "01020304", ""},
        {SYNTAX_INETADDRESS, 1, 0, false, "4.10.0.0.1", "10.0.0.1", ""},
        {SYNTAX_INETADDRESS, 1, 0, false, "10.0.0.1", "10.0.0.1", ""},
        {SYNTAX_INETADDRESS, 1, 0, false, "16." + v6Parts, kV6Hex, ""},
        {SYNTAX_INETADDRESS, 1, 0, false, "17." + v6Parts + ".3", kV6Hex + "%3", ""},
        {SYNTAX_INETADDRESS, 2, 0, false, "16." + v6Parts + ".7", kV6Hex, "7"},
        // Before the last key a length of 17 counts the zone index behind the address.
        {SYNTAX_INETADDRESS, 2, 0, false, "17." + v6Parts + ".3.7", kV6Hex + "%3", "7"},
        {SYNTAX_INETADDRESS, 2, 0, false, "4.10.0.0.1.7", "10.0.0.1", "7"},
        {SYNTAX_INETADDRESS, 2, 0, false, "10.0.0.1", "10.0.0.1", ""},
        {SYNTAX_INETADDRESS, 2, 0, false, v6Parts, "32.1.13.184", "0.0.0.0.0.0.0.0.0.0.0.1"},
        {SYNTAX_INETADDRESS, 6, 0, false, v6Parts, "1.13.184.0", "0.0.0.0.0.0.0.0.0.0.1"},
    };
    for (const DecodeCase& c : cases) {
        HvSNMPRequest request;
        FillList(request, KeyItems(c), MVT_FMV, c.keys);
        std::string rest = request.DecodeIndex(c.key, c.index);
        std::string context = "syntax " + std::to_string(c.syntax) + " index " + c.index;
        EXPECT_EQ(request.List().Item(c.key).value, c.value) << context;
        EXPECT_EQ(rest, c.rest) << context;
    }
}

TEST(DecodeIndex, TwoKeysFromOneIndexAndOptions) {
    HvSNMPRequest request;
    FillList(request, {{SYNTAX_INTEGER, ""}, {SYNTAX_DISPLAYSTR, ""}, {SYNTAX_INTEGER, "x"}},
             MVT_FMV, 2);
    std::string rest = request.DecodeIndex(0, "3.2.97.98");
    EXPECT_EQ(rest, "2.97.98");
    EXPECT_EQ(request.DecodeIndex(1, rest), "");
    EXPECT_EQ(request.List().Item(0).value, "3");
    EXPECT_EQ(request.List().Item(1).value, "ab");
    EXPECT_EQ(request.EncodeIndex(0) + "." + request.EncodeIndex(1), "3.2.97.98");

    FillList(request, {{SYNTAX_INTEGER, "", ACCESS_NOTACCESS, &kStatus}}, MVT_FMV, 1);
    request.DecodeIndex(0, "1");
    EXPECT_EQ(request.List().Item(0).value, "enabled");
    EXPECT_EQ(request.EncodeIndex(0), "1");
}

TEST(DecodeIndex, ShortIndexesAndBadKeysFail) {
    const std::vector<DecodeCase> cases = {
        {SYNTAX_INTEGER, 1, 0, false, "", "", ""},
        {SYNTAX_INTEGER, 1, 0, false, "abc", "", ""},
        {SYNTAX_BOOLEAN, 1, 0, false, "1..2", "", ""},
        {SYNTAX_OCTETSTR, 2, 0, false, "5.1.2", "", ""},
        {SYNTAX_OCTETSTR, 2, 0, false, "", "", ""},
        {SYNTAX_DISPLAYSTR, 2, 0, false, "4294967295.1", "", ""},
        {SYNTAX_OBJECTID, 2, 0, false, "3.1", "", ""},
        {SYNTAX_IPADDRESS, 1, 0, false, "10.0.0", "", ""},
        {SYNTAX_COUNTER64, 1, 0, false, "1", "", ""},
        {SYNTAX_DOUBLE, 1, 0, false, "1", "", ""},
        {SYNTAX_MACADDRESS, 1, 0, false, "1.2.3.4.5", "", ""},
        {SYNTAX_DATETIME, 1, 0, false, "1.2.3.4.5.6.7.8.9.10", "", ""},
        {SYNTAX_BCDATETIME, 1, 0, false, "7", "", ""},
        {SYNTAX_IPV6ADDRESS, 2, 0, false, "1.2.3", "", ""},
        {SYNTAX_INETADDRESS, 1, 0, false, "1.2.3", "", ""},
        {SYNTAX_INETADDRESS, 2, 0, false, "1.2.3", "", ""},
        // A text that is not an OID is no index, also for keys that take no part of it.
        {SYNTAX_NULL, 1, 0, false, "x.1", "", ""},
        {SYNTAX_OBJECTID, 1, 0, true, "1.3.abc", "", ""},
        {SYNTAX_OCTETSTR, 1, 0, false, "1.2.", "", ""},
    };
    for (const DecodeCase& c : cases) {
        HvSNMPRequest request;
        FillList(request, KeyItems(c), MVT_FMV, c.keys);
        ExpectLibraryError([&] { request.DecodeIndex(c.key, c.index); }, -514,
                           "syntax " + std::to_string(c.syntax) + " index " + c.index);
        EXPECT_EQ(request.List().Item(c.key).value, "old");
    }
    HvSNMPRequest request;
    FillList(request, {{SYNTAX_INTEGER, ""}}, MVT_FMV, 3);
    ExpectLibraryError([&] { request.DecodeIndex(1, "1.2"); }, -514, "key beyond the list");
    ExpectLibraryError([&] { request.EncodeIndex(-1); }, -514, "negative key");
    for (int32_t syntax : {0, 7, 193, 196, 198}) {
        FillList(request, {{syntax, ""}}, MVT_FMV, 1);
        ExpectLibraryError([&] { request.DecodeIndex(0, "1.2"); }, -511, "decode");
        ExpectLibraryError([&] { request.EncodeIndex(0); }, -511, "encode");
    }
}

// ---- Row index encoding ------------------------------------------------------------------

struct EncodeCase {
    int32_t syntax;
    int32_t keys;
    int32_t key;
    bool implied;
    std::string value;
    std::string index;
};

TEST(EncodeIndex, EverySyntax) {
    const std::string v6Parts = kV6Dotted;
    const std::vector<EncodeCase> cases = {
        {SYNTAX_BOOLEAN, 1, 0, false, "true", "1"},
        {SYNTAX_BOOLEAN, 1, 0, false, "True", "0"},
        {SYNTAX_INTEGER, 1, 0, false, "-5", "4294967291"},
        {SYNTAX_INTEGER, 1, 0, false, "3", "3"},
        {SYNTAX_COUNTER, 1, 0, false, "4294967295", "4294967295"},
        {SYNTAX_GUAGE, 1, 0, false, "99999999999", "4294967295"},
        {SYNTAX_UINTEGER, 1, 0, false, "7", "7"},
        {SYNTAX_OCTETSTR, 2, 0, false, "0A1B", "2.10.27"},
        {SYNTAX_OCTETSTR, 1, 0, false, "0A1B", "2.10.27"},
        {SYNTAX_OCTETSTR, 1, 0, true, "0A1B", "10.27"},
        {SYNTAX_OCTETSTR, 2, 0, true, "0A1B", "2.10.27"},
        {SYNTAX_BITSTR, 1, 0, false, "E8", "1.232"},
        {SYNTAX_OPAQUE, 1, 0, true, "FF", "255"},
        {SYNTAX_BITLIST, 1, 0, false, "", "0"},
        {SYNTAX_NULL, 1, 0, false, "x", ""},
        {SYNTAX_OBJECTID, 1, 0, false, "1.3.6", "3.1.3.6"},
        {SYNTAX_OBJECTID, 1, 0, true, "1.3.6", "1.3.6"},
        {SYNTAX_OBJECTID, 1, 0, false, "bad", "0"},
        {SYNTAX_IPADDRESS, 1, 0, false, "10.0.0.1", "10.0.0.1"},
        {SYNTAX_IPADDRESS, 1, 0, false, "bad", ""},
        {SYNTAX_NSAPADDR, 1, 0, false, "1.2.3.4", "1.2.3.4"},
        {SYNTAX_TIMETICKS, 1, 0, false, "1 day 0:00:00.00", "8640000"},
        {SYNTAX_COUNTER64, 1, 0, false, "4294967298", "1.2"},
        {SYNTAX_DOUBLE, 1, 0, false, "2.5", "0.1074003968"},
        {SYNTAX_MACADDRESS, 1, 0, false, "001122AABBCC", "0.17.34.170.187.204"},
        {SYNTAX_MACADDRESS, 1, 0, false, "001122AABBCCDD", "0.17.34.170.187.204"},
        {SYNTAX_MACADDRESS, 1, 0, false, "0011", ""},
        {SYNTAX_DATETIME, 1, 0, false, "2024-1-5,9:3:7.0,-5:0", "7.232.1.5.9.3.7.0.45.5.0"},
        {SYNTAX_BCDATETIME, 1, 0, false, "2024/01/05 12:00:00", "0.1088822800"},
        {SYNTAX_DISPLAYSTR, 1, 0, false, "ab", "2.97.98"},
        {SYNTAX_DISPLAYSTR, 1, 0, true, "ab", "97.98"},
        {SYNTAX_DISPLAYSTR, 1, 0, false, "\xFF", "1.255"},
        {SYNTAX_DISPLAYSTR, 1, 0, false, "", "0"},
        {SYNTAX_IPV6ADDRESS, 1, 0, false, kV6Hex, v6Parts},
        {SYNTAX_IPV6ADDRESS, 1, 0, false, "0102", ""},
        {SYNTAX_INETADDRESS, 1, 0, false, "10.0.0.1", "4.10.0.0.1"},
        {SYNTAX_INETADDRESS, 1, 0, false, kV6Hex, "16." + v6Parts},
        {SYNTAX_INETADDRESS, 1, 0, true, kV6Hex, v6Parts},
        {SYNTAX_INETADDRESS, 1, 0, false, kV6Hex + "%3", "17." + v6Parts + ".3"},
        {SYNTAX_INETADDRESS, 1, 0, false, kV6Hex + "%1234", "17." + v6Parts + ".1234"},
        {SYNTAX_INETADDRESS, 1, 0, false, kV6Hex + "0003", "17." + v6Parts + ".3"},
        {SYNTAX_INETADDRESS, 1, 0, false, kV6Hex + "%03", "17." + v6Parts + ".3"},
        {SYNTAX_INETADDRESS, 1, 0, false, kV6Hex + "%0003", "17." + v6Parts + ".3"},
        {SYNTAX_INETADDRESS, 1, 0, false, kV6Hex + "%99999999999", "17." + v6Parts},
        {SYNTAX_INETADDRESS, 1, 0, false, kV6Hex + "%eth0", "17." + v6Parts},
        {SYNTAX_INETADDRESS, 1, 0, false, kV6Hex + "A", "17." + v6Parts},
    };
    for (const EncodeCase& c : cases) {
        HvSNMPRequest request;
        std::vector<ItemSpec> items(static_cast<size_t>(c.keys), ItemSpec{SYNTAX_INTEGER, "1"});
        items[static_cast<size_t>(c.key)] = {c.syntax, c.value,
                                             ACCESS_READONLY | (c.implied ? ACCESS_IMPLIED : 0)};
        FillList(request, items, MVT_FMV, c.keys);
        EXPECT_EQ(request.EncodeIndex(c.key), c.index)
            << "syntax " << c.syntax << " value " << c.value;
    }
}

// Decoding what EncodeIndex wrote gives the key value back, and nothing is left over.
TEST(EncodeIndex, DecodeGivesTheValueBack) {
    const std::vector<std::pair<int32_t, std::string>> values = {
        {SYNTAX_BOOLEAN, "true"},
        {SYNTAX_INTEGER, "-2147483648"},
        {SYNTAX_COUNTER, "4294967295"},
        {SYNTAX_OCTETSTR, "00FF10"},
        {SYNTAX_BITSTR, ""},
        {SYNTAX_OBJECTID, "1.3.6.1.4294967295"},
        {SYNTAX_IPADDRESS, "10.1.2.3"},
        {SYNTAX_TIMETICKS, "3 days, 1:02:03.04"},
        {SYNTAX_COUNTER64, "18446744073709551615"},
        {SYNTAX_DOUBLE, "-0.125"},
        {SYNTAX_MACADDRESS, "0A0B0C0D0E0F"},
        {SYNTAX_DATETIME, "2024-12-31,23:59:60.9,-11:30"},
        {SYNTAX_BCDATETIME, "2024/02/29 08:15:30"},
        {SYNTAX_DISPLAYSTR, "x\xC3\xA9\xFF"},
        {SYNTAX_IPV6ADDRESS, kV6Hex},
        {SYNTAX_INETADDRESS, "192.168.0.1"},
        {SYNTAX_INETADDRESS, kV6Hex + "%3"},
    };
    for (bool implied : {false, true}) {
        for (const auto& [syntax, value] : values) {
            for (int32_t keys : {1, 2}) {
                // Key 0 of one key (the last) or of two keys (a column key before the last).
                HvSNMPRequest request;
                FillList(
                    request,
                    {{syntax, value, ACCESS_READONLY | (implied && keys == 1 ? ACCESS_IMPLIED : 0)},
                     {SYNTAX_INTEGER, "5"}},
                    MVT_FMV, keys);
                std::string index = request.EncodeIndex(0);
                if (keys == 2) index += (index.empty() ? "" : ".") + request.EncodeIndex(1);
                request.List().Item(0).value = "changed";
                std::string rest = request.DecodeIndex(0, index);
                std::string context = "syntax " + std::to_string(syntax) + " value " + value +
                                      " keys " + std::to_string(keys);
                EXPECT_EQ(request.List().Item(0).value, value) << context;
                EXPECT_EQ(rest, keys == 2 ? "5" : "") << context;
            }
        }
    }
}

}  // namespace
