// The request engine reading the device's views from the real snmpd: the agent version group and
// the volume, disk and UPS tables with every version and SNMPv3 security level, synchronously and
// asynchronously through the pump.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "tests/snmp/engine_test_util.h"

namespace enginetest {
namespace {

struct View {
    const char* name;
    const SnmpVarDef* defs;
    uint8_t itemType;
    int32_t keys;
    int table;  // 0: the scalar group
};

const std::vector<View>& Views() {
    static const std::vector<View> views = {
        {"AgentVersion", AgentVersionVars, SVT_SV, 0, 0},
        {"Volume", VolumeInfoVars, MVT_FMV, 1, 9},
        {"Disk", DiskInfoVars, MVT_FMV, 1, 10},
        {"Ups", UpsInfoVars, MVT_FMV, 1, 11},
    };
    return views;
}

class DeviceReads : public ::testing::TestWithParam<std::tuple<size_t, bool>> {
protected:
    static void SetUpTestSuite() {
        agent_ = new testagent::SnmpdAgent(DataSets({"device"}));
        agent_->Start();
    }
    static void TearDownTestSuite() {
        delete agent_;
        agent_ = nullptr;
    }
    void SetUp() override { StartModule(); }

    static testagent::SnmpdAgent* agent_;
};
testagent::SnmpdAgent* DeviceReads::agent_ = nullptr;

TEST_P(DeviceReads, EveryViewReadsAsTheAgentServesIt) {
    const Credentials& credentials = AllCredentials()[std::get<0>(GetParam())];
    const bool async = std::get<1>(GetParam());
    UseAgent(*agent_, credentials);
    const auto data = DataFileValues("device");
    ErrorLog log;

    for (const View& view : Views()) {
        SCOPED_TRACE(view.name);
        HvSNMPRequest request;
        request.errorHandler = &ErrorLog::Handler;
        request.SetList(HvSNMPVarList(view.defs, view.itemType, view.keys));
        std::vector<Row> rows;
        if (async) {
            AsyncWalk walk(request);
            ASSERT_TRUE(walk.Run());
            ASSERT_FALSE(walk.records.empty());
            EXPECT_EQ(walk.records.back().code, 0) << walk.records.back().message;
            EXPECT_EQ(walk.records.back().message, "Ok!");
            EXPECT_TRUE(walk.records.back().finished);
            EXPECT_EQ(walk.records.back().agentAddress, "127.0.0.1");
            EXPECT_EQ(walk.records.back().agentPort, agent_->Port());
            rows = walk.rows;
        } else {
            const SyncResult result = WalkSync(request);
            rows = result.rows;
        }
        if (view.table == 0) {
            ASSERT_EQ(rows.size(), 1u);
            EXPECT_EQ(rows[0], ExpectedScalars(data));
        } else {
            EXPECT_EQ(rows, ExpectedTable(data, view.table));
            // After the walk every column has left the table; SNMPv1 ends the UPS table, the
            // last in the view, with noSuchName, which stores nothing.
            const bool endOfView = credentials.version == 0 && view.table == 11;
            for (int32_t i = 1; i < request.List().Count(); ++i)
                EXPECT_EQ(request.List().Item(i).value == "(NOTDONE)", !endOfView);
        }
        EXPECT_EQ(request.pending, 0);
    }
    // SNMPv1 ends the UPS table, the last thing in the view, with noSuchName: no error.
    for (const HvSNMPError& e : ErrorLog::Errors()) ADD_FAILURE() << e.code << " " << e.message;
}

std::string CaseName(const ::testing::TestParamInfo<std::tuple<size_t, bool>>& info) {
    return std::string(AllCredentials()[std::get<0>(info.param)].name) +
           (std::get<1>(info.param) ? "_async" : "_sync");
}

INSTANTIATE_TEST_SUITE_P(VersionsAndUsers, DeviceReads,
                         ::testing::Combine(::testing::Range<size_t>(0, 6), ::testing::Bool()),
                         CaseName);

}  // namespace
}  // namespace enginetest
