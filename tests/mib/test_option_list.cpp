// Option lists: construction, ownership, lookups of value kinds 1 to 3, the name lists of
// the variable vocabulary, and the raising of library errors from this layer.
#include <cstring>
#include <stdexcept>
#include <vector>

#include "mib/HvErrorRaise.h"
#include "mib/HvSnmpTypes.h"
#include "mib/HvValueFormat.h"
#include "value_test_util.h"

namespace {

const HvOptionData kStatus[] = {{1, "enabled"}, {2, "disabled"}, {0, nullptr}};
const HvOptionData kState[] = {{"up", "Running"}, {"down", "Stopped "}, {nullptr, nullptr}};
const HvOptionData kVendor[] = {
    {"1.3.6.1.4.1.43917", "Vendor"}, {"1.3.6.1.4.1", "Enterprise"}, {nullptr, nullptr}};

std::vector<std::string> Labels(const HvOptionList& list) {
    std::vector<std::string> out;
    for (const auto& e : list.Items()) out.push_back(e.label);
    return out;
}

TEST(HvOptionList, Construction) {
    HvOptionList status(kStatus, OVK_INTEGER);
    EXPECT_EQ(status.ValueKind(), OVK_INTEGER);
    EXPECT_FALSE(status.CaseSensitive());
    ASSERT_EQ(status.Count(), 2);
    EXPECT_EQ(status.Item(1).number, 2);
    EXPECT_EQ(status.Item(1).label, "disabled");
    EXPECT_THROW(status.Item(2), std::out_of_range);

    const HvOptionData empty[] = {{5, nullptr}, {6, "never read"}};
    EXPECT_EQ(HvOptionList(empty, OVK_INTEGER).Count(), 0);
    EXPECT_EQ(HvOptionList(nullptr, OVK_TEXT).Count(), 0);

    for (int32_t kind : {0, 4, -1})
        EXPECT_THROW(HvOptionList(kStatus, kind), std::invalid_argument) << kind;
}

TEST(HvOptionList, AppendKeepsDataOrderAndDuplicates) {
    HvOptionList list(kStatus, OVK_INTEGER, true);
    list.Append(kStatus);
    list.Append(nullptr);
    EXPECT_EQ(Labels(list),
              (std::vector<std::string>{"enabled", "disabled", "enabled", "disabled"}));
    EXPECT_TRUE(list.CaseSensitive());
}

TEST(HvOptionList, OwnsCopiesOfItsTexts) {
    char value[] = "up";
    char label[] = "Running  ";
    const HvOptionData data[] = {{value, label}, {nullptr, "x"}, {nullptr, nullptr}};
    HvOptionList list(data, OVK_TEXT);
    std::strcpy(value, "xx");
    std::strcpy(label, "changed  ");
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Item(0).text, "up");
    EXPECT_EQ(list.Item(0).label, "Running  ");  // trailing blanks kept
    EXPECT_EQ(list.Item(1).text, "");            // a null value text reads as empty
}

struct Lookup {
    const HvOptionList* list;
    std::string text;
    std::string label;  // ValueToLabel(text)
    std::string value;  // LabelToValue(text)
};

TEST(HvOptionList, LookupsOfEveryKind) {
    const HvOptionList status(kStatus, OVK_INTEGER);
    const HvOptionList exact(kStatus, OVK_INTEGER, true);
    const HvOptionList state(kState, OVK_TEXT);
    const HvOptionList vendor(kVendor, OVK_PREFIX);
    const std::vector<Lookup> cases = {
        {&status, "2", "disabled", "2"},
        {&status, "7", "7", "7"},
        {&status, "(NULL)", "(NULL)", "(NULL)"},
        {&status, "+1", "enabled", "+1"},
        {&status, " 1", " 1", " 1"},  // only a whole decimal text is a value
        {&status, "1x", "1x", "1x"},
        {&status, "4294967297", "4294967297", "4294967297"},
        {&status, "ENABLED", "ENABLED", "1"},
        {&status, "disabled", "disabled", "2"},
        {&exact, "ENABLED", "ENABLED", "ENABLED"},
        {&exact, "enabled", "enabled", "1"},
        {&state, "UP", "Running", "UP"},
        {&state, "upx", "upx", "upx"},
        {&state, "stopped ", "stopped ", "down"},
        {&state, "Stopped", "Stopped", "Stopped"},  // the label's trailing blank counts
        {&vendor, "1.3.6.1.4.1.43917.5", "Vendor.5", "1.3.6.1.4.1.43917.5"},
        {&vendor, "Vendor.5", "Vendor.5", "1.3.6.1.4.1.43917.5"},
        {&vendor, "1.3.6.1.4.1.9.1", "Enterprise.9.1", "1.3.6.1.4.1.9.1"},
        {&vendor, "enterprise.9", "enterprise.9", "1.3.6.1.4.1.9"},
        {&vendor, "1.3.6", "1.3.6", "1.3.6"},
        {&vendor, "\xFF\xFE", "\xFF\xFE", "\xFF\xFE"},
    };
    for (const Lookup& c : cases) {
        EXPECT_EQ(ValueToLabel(*c.list, c.text), c.label) << c.text;
        EXPECT_EQ(LabelToValue(*c.list, c.text), c.value) << c.text;
    }
}

TEST(HvOptionList, FindReturnsTheFirstMatch) {
    const HvOptionData dup[] = {{3, "three"}, {3, "drei"}, {4, "THREE"}, {0, nullptr}};
    const HvOptionList list(dup, OVK_INTEGER);
    EXPECT_EQ(FindValue(list, "3"), 0);
    EXPECT_EQ(FindValue(list, "4"), 2);
    EXPECT_EQ(FindValue(list, "5"), -1);
    EXPECT_EQ(FindLabel(list, "Three"), 0);
    EXPECT_EQ(FindLabel(list, "drei"), 1);
    EXPECT_EQ(FindLabel(list, "thre"), -1);
    const HvOptionList prefix(kVendor, OVK_PREFIX);
    EXPECT_EQ(FindLabel(prefix, "Vendor"), 0);
    EXPECT_EQ(FindLabel(prefix, "Vendo"), -1);
    EXPECT_EQ(FindValue(prefix, "1.3.6.1.4.1"), 1);
    // Case folding is for ASCII letters only: bytes beyond ASCII compare exactly.
    const HvOptionData umlaut[] = {{1, "\xC3\xA4"}, {0, nullptr}};
    EXPECT_EQ(FindLabel(HvOptionList(umlaut, OVK_INTEGER), "\xC3\x84"), -1);
    EXPECT_EQ(FindLabel(HvOptionList(umlaut, OVK_INTEGER), "\xC3\xA4"), 0);
}

TEST(VariableVocabulary, NameLists) {
    EXPECT_EQ(ItemTypeNames.Count(), 4);
    EXPECT_EQ(SyntaxNames.Count(), 28);
    EXPECT_EQ(AccessNames.Count(), 7);
    const std::vector<std::tuple<const HvOptionList*, int32_t, std::string>> names = {
        {&ItemTypeNames, SVT_SV, "SVT_SV"},
        {&ItemTypeNames, MVT_UMV, "MVT_UMV"},
        {&SyntaxNames, SYNTAX_BOOLEAN, "boolean"},
        {&SyntaxNames, SYNTAX_GUAGE, "guage"},
        {&SyntaxNames, SYNTAX_INETADDRESS, "inetaddress"},
        {&SyntaxNames, SYNTAX_UINT16, "uint16"},
        {&AccessNames, ACCESS_READWRITE, "readwrite"},
        {&AccessNames, ACCESS_INVALID, "invalid"},
    };
    for (const auto& [list, code, name] : names) {
        EXPECT_EQ(ValueToLabel(*list, std::to_string(code)), name);
        EXPECT_EQ(LabelToValue(*list, name), std::to_string(code));
    }
    EXPECT_EQ(FindValue(AccessNames, "64"), -1);  // implied has no name
    for (const auto& e : SyntaxNames.Items()) EXPECT_TRUE(IsKnownSyntax(e.number)) << e.label;
    for (int32_t code : {0, 7, 79, 80, 82, 199}) EXPECT_FALSE(IsKnownSyntax(code)) << code;
}

std::string Replaced(int32_t code) {
    return "replaced " + std::to_string(code);
}

TEST(ModuleErrors, FallbackTextsAndInstalledSource) {
    for (int code : {-511, -518, -519})
        ExpectLibraryError([&] { RaiseModuleError(code); }, code, std::to_string(code));
    EXPECT_EQ(ModuleErrorText(-512), "Unknown error code!");

    SetModuleErrorTextSource(&Replaced);
    try {
        DecodeValue("\x01", SYNTAX_INTEGER);
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "replaced -518");
        EXPECT_EQ(e.HelpContext(), -518);
    }
    SetModuleErrorTextSource(nullptr);
    EXPECT_EQ(ModuleErrorText(-511), "Bad SNMP syntax!");
}

}  // namespace
