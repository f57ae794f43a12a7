// The request engine's walks, sets and failures against the real snmpd (and a scripted
// responder for the replies snmpd never gives): empty tables, columns that end early, tables
// with holes, agents whose OIDs do not increase, get-next of single rows, table and index-list
// sets, SNMPv3 failures, timeouts, bad addresses and requests destroyed with replies outstanding.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Exception.h"
#include "tests/agent/ScriptedResponder.h"
#include "tests/snmp/engine_test_util.h"

namespace enginetest {
namespace {

using testagent::ResponderMode;
using testagent::RunTool;
using testagent::ScriptedResponder;
using testagent::SnmpdAgent;

class EngineWalks : public ::testing::Test {
protected:
    void SetUp() override { StartModule(); }
};

// A list of one definition array; the caller keeps the array alive.
HvSNMPVarList ListOf(const std::vector<SnmpVarDef>& defs, uint8_t itemType, int32_t keys) {
    std::vector<SnmpVarDef> terminated = defs;
    terminated.push_back({});
    return HvSNMPVarList(terminated.data(), itemType, keys);
}

SnmpVarDef Def(const std::string& oid, int32_t syntax, int32_t access,
               const char* value = nullptr) {
    // The strings live as long as the test process (definitions are copied by the list).
    static std::vector<std::unique_ptr<std::string>> keep;
    keep.push_back(std::make_unique<std::string>(oid));
    return {keep.back()->c_str(),
            "label",
            syntax,
            access,
            nullptr,
            nullptr,
            nullptr,
            nullptr,
            value,
            nullptr};
}

// snmpget of one OID through the write community, value only, as hex with -Ox.
std::string AgentValue(const SnmpdAgent& agent, const std::string& oid,
                       const std::string& format = "-Oqv") {
    const auto got =
        RunTool("snmpget -v2c -c private -t 1 -r 2 " + format + " " + Target(agent) + " " + oid);
    std::string out = got.output;
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
}

// Both walk forms over one list; returns the rows and checks that nothing was reported.
std::vector<Row> Walk(bool async, const HvSNMPVarList& list, std::vector<HvSNMPError>* records) {
    ErrorLog log;
    HvSNMPRequest request;
    request.errorHandler = &ErrorLog::Handler;
    request.SetList(list);
    std::vector<Row> rows;
    if (async) {
        AsyncWalk walk(request);
        walk.maxSteps = 100;
        EXPECT_TRUE(walk.Run());
        if (records != nullptr) *records = walk.records;
        rows = walk.rows;
    } else {
        const SyncResult result = WalkSync(request, 100);
        EXPECT_LT(result.steps, 100) << "the walk did not end";
        rows = result.rows;
    }
    for (const HvSNMPError& e : ErrorLog::Errors()) ADD_FAILURE() << e.code << " " << e.message;
    return rows;
}

// ---- Walk shapes: empty tables, columns ending early, holes ---------------------------------

struct ShapeCase {
    const char* dataSet;
    const SnmpVarDef* defs;
    int table;
};

TEST_F(EngineWalks, TableShapesGiveOneRowPerIndexWithMarkedCells) {
    const std::vector<ShapeCase> cases = {
        {"empty", VolumeInfoVars, 9},  // followed by the disk table
        {"empty", UpsInfoVars, 11},    // the end of the view
        {"early", VolumeInfoVars, 9},  // the third column ends after row 2
        {"early", DiskInfoVars, 10},   // the first read column ends after row 2
        {"sparse", DiskInfoVars, 10},  // holes in every column
    };
    for (const char* dataSet : {"empty", "early", "sparse"}) {
        SnmpdAgent agent(DataSets({dataSet}));
        agent.Start();
        const auto data = DataFileValues(dataSet);
        for (const ShapeCase& c : cases) {
            if (std::string(c.dataSet) != dataSet) continue;
            for (size_t cred : {0u, 1u}) {
                UseAgent(agent, AllCredentials()[cred]);
                for (bool async : {false, true}) {
                    SCOPED_TRACE(std::string(dataSet) + " table " + std::to_string(c.table) + " " +
                                 AllCredentials()[cred].name + (async ? " async" : " sync"));
                    std::vector<HvSNMPError> records;
                    const std::vector<Row> rows =
                        Walk(async, HvSNMPVarList(c.defs, MVT_FMV, 1), &records);
                    EXPECT_EQ(rows, ExpectedTable(data, c.table));
                    if (async) {
                        ASSERT_FALSE(records.empty());
                        EXPECT_EQ(records.back().code, 0);
                        EXPECT_EQ(records.back().message, "Ok!");
                        EXPECT_TRUE(records.back().finished);
                    }
                }
            }
        }
    }
}

TEST_F(EngineWalks, EmptyTableLeavesEveryColumnNotDone) {
    SnmpdAgent agent(DataSets({"empty"}));
    agent.Start();
    UseAgent(agent, V2c());
    HvSNMPRequest request;
    request.SetList(HvSNMPVarList(VolumeInfoVars, MVT_FMV, 1));
    bool ok = false;
    EXPECT_FALSE(request.Get(true, ok));
    EXPECT_TRUE(ok);
    for (int32_t i = 1; i < request.List().Count(); ++i)
        EXPECT_EQ(request.List().Item(i).value, "(NOTDONE)");
    EXPECT_EQ(request.errorCount, 0u);
}

// ---- Agents that break the rules -----------------------------------------------------------

TEST_F(EngineWalks, ColumnsThatCycleOrStickEndWithTheRowsReadSoFar) {
    SnmpdAgent agent(DataSets({"device", "faulty"}));
    agent.Start();
    UseAgent(agent, V2c());
    struct Case {
        const char* name;
        int column;  // F.<n>
        std::vector<Row> rows;
    };
    const std::vector<Case> cases = {
        {"cycle a b c a", 1, {{"1", "cycle-a"}, {"2", "cycle-b"}, {"3", "cycle-c"}}},
        {"stuck", 2, {{"1", "stuck"}}},
    };
    for (const Case& c : cases) {
        const std::string entry = B + ".40." + std::to_string(c.column) + ".1";
        const HvSNMPVarList list = ListOf({Def(entry + ".1", SYNTAX_INTEGER, ACCESS_NOTACCESS),
                                           Def(entry + ".2", SYNTAX_DISPLAYSTR, ACCESS_READONLY)},
                                          MVT_FMV, 1);
        for (bool async : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (async ? " async" : " sync"));
            EXPECT_EQ(Walk(async, list, nullptr), c.rows);
        }
    }
}

TEST_F(EngineWalks, ReplyWithFewerBindingsLeavesTheUnpairedItemsEmpty) {
    ScriptedResponder responder(ResponderMode::FewerBindings);
    UseAgent(responder.Address(), responder.Port(), V2c());
    {
        // Scalars: the third has no binding and reads as a display string without value.
        HvSNMPRequest request;
        request.SetList(ListOf({Def("1.3.6.1.4.1.99.1", SYNTAX_DISPLAYSTR, ACCESS_READONLY),
                                Def("1.3.6.1.4.1.99.2", SYNTAX_DISPLAYSTR, ACCESS_READONLY),
                                Def("1.3.6.1.4.1.99.3", SYNTAX_DISPLAYSTR, ACCESS_READONLY, "old")},
                               SVT_SV, 0));
        bool ok = false;
        request.Get(true, ok);
        EXPECT_TRUE(ok);
        EXPECT_EQ(Values(request.List()), (Row{"value-1", "value-2", ""}));
    }
    {
        // A table step: the unpaired column is done in this row; the others make the row.
        HvSNMPRequest request;
        request.SetList(ListOf({Def("1.3.6.1.4.1.99.5.1.1", SYNTAX_INTEGER, ACCESS_NOTACCESS),
                                Def("1.3.6.1.4.1.99.5.1.2", SYNTAX_DISPLAYSTR, ACCESS_READONLY),
                                Def("1.3.6.1.4.1.99.5.1.3", SYNTAX_DISPLAYSTR, ACCESS_READONLY),
                                Def("1.3.6.1.4.1.99.5.1.4", SYNTAX_DISPLAYSTR, ACCESS_READONLY)},
                               MVT_FMV, 1));
        bool ok = false;
        EXPECT_TRUE(request.Get(true, ok));
        EXPECT_TRUE(ok);
        EXPECT_EQ(Values(request.List()), (Row{"1", "value-1", "value-2", "(NOTDONE)"}));
        EXPECT_EQ(request.List().Item(3).lastOid, "1.3.6.1.4.1.99.5.1.4.1");
    }
}

// ---- Single rows ---------------------------------------------------------------------------

TEST_F(EngineWalks, SingleRowReadsWithGetOrGetNext) {
    SnmpdAgent agent(DataSets({"device"}));
    agent.Start();
    UseAgent(agent, V2c());
    const auto data = DataFileValues("device");
    // The five volume columns, instance 1.
    HvSNMPVarList list(VolumeInfoVars + 1, MVT_SV, 0);
    for (bool getNext : {false, true}) {
        SCOPED_TRACE(getNext ? "get-next" : "get");
        HvSNMPRequest request;
        request.SetList(list);
        request.List().Instance = "1";
        request.useGetNext = getNext;
        bool ok = false;
        EXPECT_FALSE(request.Get(true, ok));  // no table row, but the values are stored
        EXPECT_TRUE(ok);
        const std::string row = getNext ? "2" : "1";
        for (int32_t i = 0; i < request.List().Count(); ++i) {
            const std::string oid = B + ".9.1." + std::to_string(i + 2) + "." + row;
            EXPECT_EQ(request.List().Item(i).value, data.at(oid));
            EXPECT_EQ(request.List().Item(i).lastOid, oid);
        }
        // A single row cannot be continued.
        try {
            request.Get(false, ok);
            ADD_FAILURE() << "no exception";
        } catch (const Exception& e) {
            EXPECT_EQ(e.HelpContext(), -510);
            EXPECT_EQ(e.Message(),
                      "Can't send get-next command for a SNMP variable list with single value!");
        }
    }
}

// ---- Sets ----------------------------------------------------------------------------------

TEST_F(EngineWalks, TableSetWritesAtTheEncodedIndexOfTheKeys) {
    SnmpdAgent agent(DataSets({"device", "writable"}));
    agent.Start();
    UseAgent(agent, V2c());
    const std::string entry = B + ".20.5.1";
    HvSNMPRequest request;
    request.SetList(ListOf({Def(entry + ".1", SYNTAX_INTEGER, ACCESS_NOTACCESS),
                            Def(entry + ".2", SYNTAX_DISPLAYSTR, ACCESS_NOTACCESS),
                            Def(entry + ".3", SYNTAX_DISPLAYSTR, ACCESS_READWRITE)},
                           MVT_FMV, 2));
    // The walk decodes both keys of every row.
    EXPECT_EQ(WalkSync(request).rows,
              (std::vector<Row>{{"3", "ab", "first"}, {"7", "nas", "second"}}));
    request.List().Item(0).value = "3";
    request.List().Item(1).value = "ab";
    request.List().Item(2).value = "changed";
    HvSNMPError error;
    bool ok = false;
    request.Set(false, "", nullptr, error, ok);
    EXPECT_TRUE(ok) << error.message;
    EXPECT_EQ(AgentValue(agent, entry + ".3.3.2.97.98"), "\"changed\"");
    EXPECT_EQ(AgentValue(agent, entry + ".3.7.3.110.97.115"), "\"second\"");
}

TEST_F(EngineWalks, IndexListSetsWriteOnlyTheNamedItemsAndRestoreTheList) {
    SnmpdAgent agent(DataSets({"device", "writable"}));
    agent.Start();
    UseAgent(agent, AllCredentials()[4]);  // SHA+DES, a read-write user
    const std::vector<std::string> oids = {B + ".20.2.0", B + ".20.1.0", B + ".20.4.1.3.1",
                                           B + ".20.4.1.2.1"};
    HvSNMPRequest request;
    request.SetList(ListOf({Def(oids[0], SYNTAX_INTEGER, ACCESS_READWRITE, "7"),
                            Def(oids[1], SYNTAX_DISPLAYSTR, ACCESS_READWRITE, "x"),
                            Def(oids[2], SYNTAX_INTEGER, ACCESS_READWRITE, "9000"),
                            Def(oids[3], SYNTAX_DISPLAYSTR, ACCESS_READWRITE, "y")},
                           MVT_SV, 0));
    const Row values = Values(request.List());
    HvSNMPError error;
    bool ok = false;
    const std::vector<std::string> given = {"a", "b"};
    request.Set(false, "1,3", &given, error, ok);
    ASSERT_TRUE(ok) << error.message;
    EXPECT_EQ(AgentValue(agent, oids[0]), "42");
    EXPECT_EQ(AgentValue(agent, oids[1]), "\"a\"");
    EXPECT_EQ(AgentValue(agent, oids[2]), "1500");
    EXPECT_EQ(AgentValue(agent, oids[3]), "\"b\"");
    EXPECT_EQ(Values(request.List()), values);
    for (int32_t i = 0; i < request.List().Count(); ++i)
        EXPECT_EQ(request.List().Item(i).access, ACCESS_READWRITE);

    // No index list and no values: every writable item with its current value.
    request.Set(false, "", nullptr, error, ok);
    ASSERT_TRUE(ok) << error.message;
    EXPECT_EQ(AgentValue(agent, oids[0]), "7");
    EXPECT_EQ(AgentValue(agent, oids[1]), "\"x\"");
    EXPECT_EQ(AgentValue(agent, oids[2]), "9000");
    EXPECT_EQ(AgentValue(agent, oids[3]), "\"y\"");
}

TEST_F(EngineWalks, SetValuesRoundTripByteForByte) {
    SnmpdAgent agent(DataSets({"device", "writable"}));
    agent.Start();
    UseAgent(agent, V2c());
    const std::string bytes = "caf\xe9 \xff\x80\x01~\"\\";
    HvSNMPRequest request;
    request.SetList(ListOf({Def(B + ".20.1", SYNTAX_DISPLAYSTR, ACCESS_READWRITE)}, SVT_SV, 0));
    request.List().Item(0).value = bytes;
    HvSNMPError error;
    bool ok = false;
    request.Set(false, "", nullptr, error, ok);
    ASSERT_TRUE(ok) << error.message;
    // snmpget prints the octets as hex ("63 61 ..." in quotes); compare with the bytes written.
    std::string hex;
    for (unsigned char c : bytes) {
        static const char digits[] = "0123456789ABCDEF";
        hex += std::string(1, digits[c >> 4]) + digits[c & 15];
    }
    std::string got = AgentValue(agent, B + ".20.1.0", "-Oqv -Ox");
    std::erase_if(got, [](char c) { return c == '"' || c == ' ' || c == '\n'; });
    EXPECT_EQ(got, hex);
    request.List().Item(0).value.clear();
    request.Get(true, ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(request.List().Item(0).value, bytes);
}

TEST_F(EngineWalks, SetReadBackTakesTheBindingsOfTheWrittenItems) {
    SnmpdAgent agent(DataSets({"device", "writable"}));
    agent.Start();
    UseAgent(agent, V2c());
    for (bool async : {false, true}) {
        SCOPED_TRACE(async ? "async" : "sync");
        // Scalars: a read-only item before the written one keeps its value.
        HvSNMPRequest scalars;
        scalars.SetList(ListOf({Def(B + ".20.3", SYNTAX_DISPLAYSTR, ACCESS_READONLY, "shown"),
                                Def(B + ".20.1", SYNTAX_DISPLAYSTR, ACCESS_READWRITE, "back")},
                               SVT_SV, 0));
        // A table row: index 2, a written column and a read-only one.
        const std::string entry = B + ".20.4.1";
        HvSNMPRequest row;
        row.SetList(ListOf({Def(entry + ".1", SYNTAX_INTEGER, ACCESS_NOTACCESS, "2"),
                            Def(entry + ".2", SYNTAX_DISPLAYSTR, ACCESS_READWRITE, "eth5"),
                            Def(entry + ".4", SYNTAX_DISPLAYSTR, ACCESS_READONLY, "shown")},
                           MVT_FMV, 1));
        for (HvSNMPRequest* request : {&scalars, &row}) {
            bool ok = false;
            bool stored = false;
            if (async) {
                AsyncWalk walk(*request);
                walk.maxSteps = 1;  // the set's reply only
                request->SetAsync(true, "", nullptr, &AsyncWalk::OnReply, &walk, ok);
                ASSERT_TRUE(ok);
                ASSERT_TRUE(PumpUntil([&] { return !walk.records.empty(); }));
                EXPECT_EQ(walk.records[0].code, 0) << walk.records[0].message;
            } else {
                HvSNMPError error;
                stored = request->Set(true, "", nullptr, error, ok);
                EXPECT_TRUE(ok) << error.message;
                EXPECT_EQ(stored, request == &row);
            }
        }
        EXPECT_EQ(Values(scalars.List()), (Row{"shown", "back"}));
        EXPECT_EQ(Values(row.List()), (Row{"2", "eth5", "shown"}));
        EXPECT_EQ(row.List().Item(1).lastOid, entry + ".2.2");
    }
}

// ---- Failures ------------------------------------------------------------------------------

TEST_F(EngineWalks, SnmpV3FailuresGiveTheirMessages) {
    SnmpdAgent agent(DataSets({"device"}));
    agent.Start();
    using namespace testagent;
    struct Case {
        const char* name;
        Credentials credentials;
        int32_t code;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"wrong auth password",
         {"", 3, 2, kMd5User, SnmpAuthProtocol::kMd5, "wrongauthpass", SnmpPrivProtocol::kNone, ""},
         -308,
         "(SNMPv3USM) Authentication failure!"},
        {"unknown user",
         {"", 3, 1, "nobody", SnmpAuthProtocol::kNone, "", SnmpPrivProtocol::kNone, ""},
         -304,
         "(SNMPv3USM) Unknown SecurityName!"},
        // The agent drops what it cannot decrypt: the request times out.
        {"wrong privacy password",
         {"", 3, 3, kShaDesUser, SnmpAuthProtocol::kSha, kShaDesAuthPassword,
          SnmpPrivProtocol::kDes, "wrongprivpass"},
         -405,
         "(SNMPClass) SNMP request timed out!"},
    };
    for (const Case& c : cases) {
        UseAgent(agent, c.credentials);
        DefaultTimeout = 30;
        for (bool async : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (async ? " async" : " sync"));
            ErrorLog log;
            HvSNMPRequest request;
            request.retries = 0;
            request.errorHandler = &ErrorLog::Handler;
            request.SetList(HvSNMPVarList(AgentVersionVars, SVT_SV, 0));
            if (async) {
                AsyncWalk walk(request);
                ASSERT_TRUE(walk.Run());
                ASSERT_EQ(walk.records.size(), 1u);
                EXPECT_EQ(walk.records[0].code, c.code);
                EXPECT_EQ(walk.records[0].message, c.message);
                EXPECT_TRUE(walk.records[0].finished);
                EXPECT_TRUE(ErrorLog::Errors().empty());
            } else {
                bool ok = true;
                request.Get(true, ok);
                EXPECT_FALSE(ok);
                ASSERT_EQ(ErrorLog::Errors().size(), 1u);
                EXPECT_EQ(ErrorLog::Errors()[0].code, c.code);
                EXPECT_EQ(ErrorLog::Errors()[0].message, c.message);
                EXPECT_EQ(ErrorLog::Errors()[0].errorCount, 1);
            }
            EXPECT_EQ(request.errorCount, 1u);
        }
    }
}

TEST_F(EngineWalks, UnavailablePrivacyProtocolIsRefusedBeforeSending) {
    ScriptedResponder responder(ResponderMode::Normal);
    UseAgent(responder.Address(), responder.Port(),
             {"", 3, 3, "user", SnmpAuthProtocol::kSha, "authpassword", SnmpPrivProtocol::kIdea,
              "privpassword"});
    for (bool async : {false, true}) {
        SCOPED_TRACE(async ? "async" : "sync");
        ErrorLog log;
        HvSNMPRequest request;
        request.errorHandler = &ErrorLog::Handler;
        request.SetList(HvSNMPVarList(AgentVersionVars, SVT_SV, 0));
        bool ok = true;
        if (async) {
            request.GetAsync(true, &AsyncWalk::OnReply, nullptr, ok);
        } else {
            request.Get(true, ok);
        }
        EXPECT_FALSE(ok);
        EXPECT_EQ(request.pending, 0);
        ASSERT_EQ(ErrorLog::Errors().size(), 1u);
        EXPECT_EQ(ErrorLog::Errors()[0].code, -313);
        EXPECT_EQ(ErrorLog::Errors()[0].message, "(SNMPv3USM) Unsupported PrivProtocol!");
    }
    EXPECT_EQ(responder.RequestsSeen(), 0);
}

TEST_F(EngineWalks, NoAnswerTimesOutAfterTheRetries) {
    // A silent agent, and one whose replies cannot be parsed, look the same.
    for (ResponderMode mode : {ResponderMode::Silent, ResponderMode::Truncated}) {
        for (bool async : {false, true}) {
            SCOPED_TRACE(std::string(mode == ResponderMode::Silent ? "silent" : "truncated") +
                         (async ? " async" : " sync"));
            ScriptedResponder responder(mode);
            UseAgent(responder.Address(), responder.Port(), V2c());
            DefaultTimeout = 20;
            ErrorLog log;
            HvSNMPRequest request;
            request.retries = 2;
            request.errorHandler = &ErrorLog::Handler;
            request.SetList(HvSNMPVarList(DiskInfoVars, MVT_FMV, 1));
            HvSNMPError outcome;
            if (async) {
                AsyncWalk walk(request);
                ASSERT_TRUE(walk.Run());
                ASSERT_EQ(walk.records.size(), 1u);
                outcome = walk.records[0];
                EXPECT_TRUE(outcome.finished);
            } else {
                bool ok = true;
                EXPECT_FALSE(request.Get(true, ok));
                EXPECT_FALSE(ok);
                ASSERT_EQ(ErrorLog::Errors().size(), 1u);
                outcome = ErrorLog::Errors()[0];
            }
            EXPECT_EQ(outcome.code, -405);
            EXPECT_EQ(outcome.message, "(SNMPClass) SNMP request timed out!");
            EXPECT_EQ(responder.RequestsSeen(), 3);  // the request and its two retries
        }
    }
}

TEST_F(EngineWalks, InvalidAddressIsRefusedBeforeAnySend) {
    for (const char* address : {"999.1.2.3", "no such host!", ""}) {
        UseAgent(address, 161, V2c());
        HvSNMPRequest request;
        request.SetList(HvSNMPVarList(AgentVersionVars, SVT_SV, 0));
        const std::vector<std::function<void()>> operations = {
            [&] {
                bool ok;
                request.Get(true, ok);
            },
            [&] {
                bool ok;
                request.GetAsync(true, &AsyncWalk::OnReply, nullptr, ok);
            },
            [&] {
                HvSNMPError e;
                bool ok;
                request.Set(false, "", nullptr, e, ok);
            },
            [&] {
                bool ok;
                request.SetAsync(false, "", nullptr, &AsyncWalk::OnReply, nullptr, ok);
            },
        };
        for (size_t i = 0; i < operations.size(); ++i) {
            SCOPED_TRACE(std::string(address) + " operation " + std::to_string(i));
            try {
                operations[i]();
                ADD_FAILURE() << "no exception";
            } catch (const Exception& e) {
                EXPECT_EQ(e.HelpContext(), -509);
                EXPECT_EQ(e.Message(), "Invalid IP Address or DNS name!");
            }
            EXPECT_EQ(request.pending, 0);
            EXPECT_EQ(request.errorCount, 0u);
        }
    }
    EXPECT_EQ(GlobalSession->PendingCount(), 0);
}

// ---- Destruction with replies outstanding -------------------------------------------------

int destroyedCallbacks = 0;
void CountCallback(void*, HvSNMPError&, HvSNMPVarList&) {
    ++destroyedCallbacks;
}

TEST_F(EngineWalks, DestroyingARequestWaitsForItsReply) {
    ScriptedResponder responder(ResponderMode::Normal);
    UseAgent(responder.Address(), responder.Port(), V2c());
    destroyedCallbacks = 0;
    {
        HvSNMPRequest request;
        request.SetList(HvSNMPVarList(AgentVersionVars, SVT_SV, 0));
        bool ok = false;
        request.GetAsync(true, &CountCallback, nullptr, ok);
        ASSERT_TRUE(ok);
        EXPECT_EQ(request.pending, 1);
    }
    // The destructor returned once the reply had been handled.
    EXPECT_EQ(destroyedCallbacks, 1);
    EXPECT_EQ(GlobalSession->PendingCount(), 0);
}

TEST_F(EngineWalks, ReplyAfterTheWaitNeverReachesTheDestroyedRequest) {
    ScriptedResponder responder(ResponderMode::Silent);
    UseAgent(responder.Address(), responder.Port(), V2c());
    DefaultTimeout = 700;  // the retransmission comes after the destructor's 6-second wait
    destroyedCallbacks = 0;
    {
        HvSNMPRequest request;
        request.SetList(HvSNMPVarList(AgentVersionVars, SVT_SV, 0));
        bool ok = false;
        request.GetAsync(true, &CountCallback, nullptr, ok);
        ASSERT_TRUE(ok);
    }
    EXPECT_EQ(destroyedCallbacks, 0);
    EXPECT_EQ(GlobalSession->PendingCount(), 0);  // withdrawn from the session
    // Now the agent answers the retransmission; then a second request on the same socket
    // gets its reply, so the first reply has been read by then.
    responder.SetMode(ResponderMode::Normal);
    ASSERT_TRUE(PumpUntil([&] { return responder.RequestsSeen() >= 2; }, 10000));
    DefaultTimeout = 100;
    HvSNMPRequest probe;
    probe.SetList(HvSNMPVarList(AgentVersionVars, SVT_SV, 0));
    AsyncWalk walk(probe);
    ASSERT_TRUE(walk.Run());
    EXPECT_EQ(walk.records.at(0).code, 0);
    EXPECT_EQ(destroyedCallbacks, 0);
}

}  // namespace
}  // namespace enginetest
