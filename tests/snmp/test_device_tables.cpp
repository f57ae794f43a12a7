// The device tables of the KSV-720E and the requests the engine builds from them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mib/Oid_ksv_720e.h"
#include "snmp/HvSNMPRequest.h"

namespace {

struct Expected {
    std::string oid;
    std::string label;
    int32_t syntax;
    int32_t access;
};

const std::string B = "1.3.6.1.4.1.43917.50.1.10.1.1";

std::vector<Expected> Table(int table, const std::vector<std::string>& labels) {
    std::vector<Expected> out;
    for (size_t c = 0; c < labels.size(); ++c) {
        const bool index = c == 0;
        out.push_back({B + "." + std::to_string(table) + ".1." + std::to_string(c + 1), labels[c],
                       index ? 2 : 76, index ? 1 : 2});
    }
    return out;
}

TEST(DeviceTables, DefinitionsAreByteForByte) {
    struct Case {
        const char* name;
        const SnmpVarDef* defs;
        std::vector<Expected> expected;
    };
    std::vector<Expected> agent;
    const std::vector<std::pair<int, std::string>> scalars = {
        {1, "Agent Version"}, {2, "Software Version"}, {3, "Host Name"}, {5, "FTP Server"},
        {6, "Net Type"},      {7, "Temperature"},      {8, "Fan Status"}};
    for (const auto& [sub, label] : scalars)
        agent.push_back({B + "." + std::to_string(sub), label, 76, 2});
    const std::vector<Case> cases = {
        {"AgentVersionVars", AgentVersionVars, agent},
        {"VolumeInfoVars", VolumeInfoVars,
         Table(9, {"Number", "Name" + std::string(11, ' '), "File System Type", "Raid Level",
                   "Size" + std::string(13, ' '), "Free Space"})},
        {"DiskInfoVars", DiskInfoVars,
         Table(10, {"Number", "Vendor", "Model" + std::string(18, ' '), "Serial Number",
                    "Temperature", "Capacity"})},
        {"UpsInfoVars", UpsInfoVars,
         Table(11, {"Number", "Mode" + std::string(6, ' '), "Manufacturer",
                    "Product" + std::string(3, ' '), "Battery Charge", "Status "})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        size_t n = 0;
        for (; c.defs[n].oid != nullptr; ++n) {
            ASSERT_LT(n, c.expected.size());
            const SnmpVarDef& d = c.defs[n];
            EXPECT_EQ(d.oid, c.expected[n].oid);
            EXPECT_EQ(d.label, c.expected[n].label);
            EXPECT_EQ(d.syntax, c.expected[n].syntax);
            EXPECT_EQ(d.access, c.expected[n].access);
            EXPECT_EQ(d.options, nullptr);
            EXPECT_EQ(d.getExpr, nullptr);
            EXPECT_EQ(d.setExpr, nullptr);
            EXPECT_EQ(d.spare, nullptr);
            EXPECT_EQ(d.value, nullptr);
            EXPECT_EQ(d.lastOid, nullptr);
        }
        EXPECT_EQ(n, c.expected.size());
        // The terminator is all zero.
        const SnmpVarDef& end = c.defs[n];
        EXPECT_TRUE(end.label == nullptr && end.syntax == 0 && end.access == 0 &&
                    end.options == nullptr && end.getExpr == nullptr && end.setExpr == nullptr &&
                    end.spare == nullptr && end.value == nullptr && end.lastOid == nullptr);
    }
}

std::vector<std::string> RequestOids(const SnmpVarDef* defs, uint8_t itemType, int32_t keys) {
    HvSNMPRequest request;
    request.SetList(HvSNMPVarList(defs, itemType, keys));
    std::vector<std::string> oids;
    for (const SnmpVb& vb : request.BuildPdu(0)) oids.push_back(OidToText(vb.oid));
    return oids;
}

TEST(DeviceTables, ViewsAskForTheirVariablesInTableOrder) {
    EXPECT_EQ(RequestOids(AgentVersionVars, SVT_SV, 0),
              (std::vector<std::string>{B + ".1.0", B + ".2.0", B + ".3.0", B + ".5.0", B + ".6.0",
                                        B + ".7.0", B + ".8.0"}));
    // The index column "Number" is not asked for; it comes from each row's instance.
    EXPECT_EQ(RequestOids(DiskInfoVars, MVT_FMV, 1),
              (std::vector<std::string>{B + ".10.1.2", B + ".10.1.3", B + ".10.1.4", B + ".10.1.5",
                                        B + ".10.1.6"}));
}

}  // namespace
