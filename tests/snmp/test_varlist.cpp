// Variable lists: construction from definition tables, deep copies, and the access queries
// that decide reads, sets and list-view columns.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "mib/HvValueFormat.h"
#include "platform/Exception.h"
#include "snmp/HvSNMPErrors.h"
#include "snmp/HvSNMPVarList.h"

namespace {

const HvOptionData kStatusData[] = {{1, "enabled"}, {2, "disabled"}, {0, nullptr}};
const HvOptionList kStatus(kStatusData, OVK_INTEGER);

const SnmpVarDef kTable[] = {
    {"1.3.6.1.4.1.99.1.1", "Index", SYNTAX_INTEGER, ACCESS_NOTACCESS, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.99.1.2", "Status  ", SYNTAX_INTEGER, ACCESS_READWRITE, &kStatus, "$0*2", "$0/2",
     "spare", "enabled", "1.3.6.1.4.1.99.1.2.7"},
    {"1.3.6.1.4.1.99.1.3", "Name", SYNTAX_DISPLAYSTR, ACCESS_READONLY, nullptr, nullptr, nullptr,
     nullptr, "\xFF\xFE raw", nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
};
const SnmpVarDef kMore[] = {
    {"1.3.6.1.2.1.1.5", "sysName", SYNTAX_DISPLAYSTR, ACCESS_READONLY, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {},
};
const SnmpVarDef kNone[] = {{}};

std::vector<std::string> Oids(const HvSNMPVarList& list) {
    std::vector<std::string> out;
    for (int32_t i = 0; i < list.Count(); ++i) out.push_back(list.Item(i).oid);
    return out;
}

TEST(HvSNMPVarList, ConstructionCopiesEveryField) {
    HvSNMPVarList list(kTable, MVT_FMV, 1);
    EXPECT_EQ(list.ItemType, MVT_FMV);
    EXPECT_EQ(list.PKeyCount, 1);
    EXPECT_EQ(list.Instance, "");
    EXPECT_EQ(list.Name, "");
    EXPECT_TRUE(list.OwnedOptionLists.empty());
    ASSERT_EQ(list.Count(), 3);

    const VarItem& key = list.Item(0);
    EXPECT_EQ(key.label, "Index");
    EXPECT_EQ(key.options, nullptr);
    EXPECT_FALSE(key.getExpr.has_value());
    EXPECT_FALSE(key.setExpr.has_value());
    EXPECT_FALSE(key.spare.has_value());
    EXPECT_EQ(key.value, "");
    EXPECT_EQ(key.lastOid, "");

    const VarItem& status = list.Item(1);
    EXPECT_EQ(status.oid, "1.3.6.1.4.1.99.1.2");
    EXPECT_EQ(status.label, "Status  ");
    EXPECT_EQ(status.syntax, SYNTAX_INTEGER);
    EXPECT_EQ(status.access, ACCESS_READWRITE);
    EXPECT_EQ(status.options, &kStatus);
    EXPECT_EQ(status.getExpr, "$0*2");
    EXPECT_EQ(status.setExpr, "$0/2");
    EXPECT_EQ(status.spare, "spare");
    EXPECT_EQ(status.value, "enabled");
    EXPECT_EQ(status.lastOid, "1.3.6.1.4.1.99.1.2.7");
    EXPECT_EQ(list.Item(2).value, "\xFF\xFE raw");

    EXPECT_THROW(list.Item(3), std::out_of_range);
    EXPECT_THROW(list.Item(-1), std::out_of_range);
}

TEST(HvSNMPVarList, EmptyDefinitionsAndAppend) {
    HvSNMPVarList none(kNone, MVT_UMV, 2);
    EXPECT_EQ(none.Count(), 0);
    EXPECT_EQ(none.ItemType, MVT_UMV);
    EXPECT_EQ(none.PKeyCount, 2);
    HvSNMPVarList null(nullptr, SVT_SV, 0);
    EXPECT_EQ(null.Count(), 0);

    HvSNMPVarList list(kTable, MVT_FMV, 1);
    list.Append(kMore);
    list.Append(kNone);
    list.Append(nullptr);
    EXPECT_EQ(Oids(list), (std::vector<std::string>{"1.3.6.1.4.1.99.1.1", "1.3.6.1.4.1.99.1.2",
                                                    "1.3.6.1.4.1.99.1.3", "1.3.6.1.2.1.1.5"}));
    // Items keep their addresses when more are appended.
    const VarItem* first = &list.Item(0);
    list.Append(kTable);
    EXPECT_EQ(&list.Item(0), first);
    EXPECT_EQ(list.Count(), 7);

    HvSNMPVarList empty;
    EXPECT_EQ(empty.Count(), 0);
    EXPECT_EQ(empty.ItemType, SVT_SV);
    EXPECT_EQ(empty.PKeyCount, 0);
}

TEST(HvSNMPVarList, CopiesAreDeep) {
    HvSNMPVarList source(kTable, MVT_FMV, 1);
    source.Name = "Disks";
    source.Instance = "5";
    HvSNMPVarList copy(source);
    EXPECT_EQ(copy.Instance, "");  // a copy starts without instance
    EXPECT_EQ(copy.Name, "Disks");
    EXPECT_EQ(copy.ItemType, MVT_FMV);
    EXPECT_EQ(copy.PKeyCount, 1);
    ASSERT_EQ(copy.Count(), 3);
    copy.Item(1).value = "disabled";
    copy.Item(1).getExpr.reset();
    EXPECT_EQ(source.Item(1).value, "enabled");
    EXPECT_EQ(source.Item(1).getExpr, "$0*2");
    EXPECT_EQ(copy.Item(1).options, source.Item(1).options);
    EXPECT_NE(&copy.Item(1), &source.Item(1));
}

TEST(HvSNMPVarList, AssignKeepsInstanceAndOwnedLists) {
    HvSNMPVarList target(kTable, MVT_FMV, 1);
    target.Instance = "3.1";
    target.OwnedOptionLists.push_back(std::make_unique<HvOptionList>(kStatusData, OVK_INTEGER));
    HvSNMPVarList other(kNone, SVT_SV, 0);
    other.Name = "Agent";
    other.Instance = "9";
    EXPECT_EQ(&target.Assign(other), &target);
    EXPECT_EQ(target.Count(), 0);
    EXPECT_EQ(target.Name, "Agent");
    EXPECT_EQ(target.ItemType, SVT_SV);
    EXPECT_EQ(target.PKeyCount, 0);
    EXPECT_EQ(target.Instance, "3.1");
    EXPECT_EQ(target.OwnedOptionLists.size(), 1u);

    HvSNMPVarList filled(kMore, MVT_SV, 0);
    target = filled;  // copy assignment is Assign
    EXPECT_EQ(Oids(target), Oids(filled));
    EXPECT_EQ(target.Instance, "3.1");
    target.Assign(target);  // self-assignment keeps the items
    EXPECT_EQ(Oids(target), Oids(filled));
    target.Clear();
    EXPECT_EQ(target.Count(), 0);
    EXPECT_EQ(target.Name, "");
}

struct AccessCase {
    int32_t access;
    bool readable, writable, column, hiddenColumn, implied;
};

TEST(HvSNMPVarList, AccessQueries) {
    const std::vector<AccessCase> cases = {
        {ACCESS_NOTACCESS, false, false, true, false, false},
        {ACCESS_READONLY, true, false, true, false, false},
        {ACCESS_WRITEONLY, false, true, false, true, false},
        {ACCESS_READWRITE, true, true, true, false, false},
        {ACCESS_DERIVED, false, false, true, false, false},
        {ACCESS_READONLY | ACCESS_HIDDEN, true, false, false, true, false},
        {ACCESS_READWRITE | ACCESS_INVALID, false, false, false, true, false},
        {ACCESS_READONLY | ACCESS_IMPLIED, true, false, true, false, true},
        // The implied bit does not take a write-only key out of the hidden columns.
        {ACCESS_WRITEONLY | ACCESS_IMPLIED, false, true, false, true, true},
        {ACCESS_WRITEONLY | ACCESS_DERIVED, false, true, true, false, false},
        {0, false, false, false, false, false},
    };
    std::vector<SnmpVarDef> defs;
    for (const AccessCase& c : cases)
        defs.push_back({"1.3.6.1.4.1.99.2", "x", SYNTAX_INTEGER, c.access, nullptr, nullptr,
                        nullptr, nullptr, nullptr, nullptr});
    defs.push_back({});
    HvSNMPVarList list(defs.data(), SVT_SV, 0);
    int32_t columns = 0, hidden = 0;
    for (int32_t i = 0; i < list.Count(); ++i) {
        const AccessCase& c = cases[static_cast<size_t>(i)];
        EXPECT_EQ(list.IsReadable(i), c.readable) << c.access;
        EXPECT_EQ(list.IsWritable(i), c.writable) << c.access;
        EXPECT_EQ(list.IsColumn(i), c.column) << c.access;
        EXPECT_EQ(list.IsHiddenColumn(i), c.hiddenColumn) << c.access;
        EXPECT_EQ(list.IsImplied(i), c.implied) << c.access;
        columns += c.column;
        hidden += c.hiddenColumn;
    }
    EXPECT_EQ(list.ColumnCount(), columns);
    EXPECT_EQ(list.HiddenColumnCount(), hidden);
    EXPECT_THROW(list.IsReadable(list.Count()), std::out_of_range);
}

TEST(HvSNMPVarList, KeyItemsOfWholeTablesAreWritable) {
    for (uint8_t type : {SVT_SV, MVT_SV, MVT_FMV, MVT_UMV}) {
        HvSNMPVarList list(kTable, type, 1);
        const bool table = type == MVT_FMV || type == MVT_UMV;
        EXPECT_EQ(list.IsWritable(0), table) << int(type);  // notaccess key
        EXPECT_TRUE(list.IsWritable(1)) << int(type);       // readwrite
        EXPECT_FALSE(list.IsWritable(2)) << int(type);      // readonly, not a key
        list.Item(0).access |= ACCESS_INVALID;
        EXPECT_FALSE(list.IsWritable(0)) << int(type);
    }
}

// The value conversions below the snmp layer raise their errors with the texts of the
// library catalogue, so replaced message files reach them too.
TEST(HvSNMPVarList, ValueErrorsUseTheLibraryCatalogue) {
    ASSERT_GT(LibraryMessages.size(), 18u);
    const MessageCatalogue saved = LibraryMessages;
    LibraryMessages[18] = "Zu kurz!";
    try {
        DecodeValue("\x01", SYNTAX_INTEGER);
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Zu kurz!");
        EXPECT_EQ(e.HelpContext(), -518);
    }
    LibraryMessages = saved;
    try {
        EncodeValue("1", 7);
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Bad SNMP syntax!");
        EXPECT_EQ(e.HelpContext(), -511);
    }
}

}  // namespace
