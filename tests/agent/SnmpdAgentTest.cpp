// The test agent itself, checked with net-snmp's own command-line tools and the fixture's
// minimal codec, so that the module's tests can rely on what the data sets document.
#include <gtest/gtest.h>
#include <signal.h>

#include <cerrno>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/agent/MiniSnmp.h"
#include "tests/agent/SnmpdAgent.h"

namespace testagent {
namespace {

const std::string B = std::string(".") + kDeviceSubtree;

std::string Target(const SnmpdAgent& agent) {
    return agent.Address() + ":" + std::to_string(agent.Port());
}

// snmpget with a short timeout and numeric OIDs.
ToolResult Get(const SnmpdAgent& agent, const std::string& oids, const std::string& options = "",
               const std::string& version = "-v2c -c public") {
    return RunTool("snmpget " + version + " -t 1 -r 2 -On " + options + " " + Target(agent) + " " +
                   oids);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Instance suffixes (after "<column>.") of the lines of a numeric snmpwalk of `column`.
std::string WalkedInstances(const SnmpdAgent& agent, const std::string& column) {
    const ToolResult walk =
        RunTool("snmpwalk -v2c -c public -t 1 -r 2 -On " + Target(agent) + " " + column);
    std::string instances;
    for (const std::string& line : Lines(walk.output)) {
        if (line.rfind(column + ".", 0) != 0 || line.find("No more variables") != std::string::npos)
            continue;
        const std::string rest = line.substr(column.size() + 1);
        instances += (instances.empty() ? "" : " ") + rest.substr(0, rest.find(' '));
    }
    return instances;
}

bool ProcessExists(pid_t pid) {
    return kill(pid, 0) == 0 || errno != ESRCH;
}

TEST(SnmpdAgent, AnswersTheAgentVersionGroupInOneV2cGet) {
    SnmpdAgent agent;
    agent.Start();
    const std::vector<std::pair<int, std::string>> expected = {
        {1, "2.1.4"},   {2, "KSV-720E FW 3.02.17"},    {3, "nas-archive-01"},
        {5, "Enabled"}, {6, "1000BASE-T Full Duplex"}, {7, "41 C"},
        {8, "Normal"}};
    std::string oids;
    for (const auto& [sub, value] : expected) oids += " " + B + "." + std::to_string(sub) + ".0";
    const ToolResult got = Get(agent, oids, "-Oqv");
    ASSERT_EQ(got.exitCode, 0) << got.output;
    const std::vector<std::string> values = Lines(got.output);
    ASSERT_EQ(values.size(), expected.size()) << got.output;
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(values[i], "\"" + expected[i].second + "\"")
            << "sub-identifier " << expected[i].first;
    // Sub-identifier 4 of the group is not served.
    EXPECT_NE(Get(agent, B + ".4.0").output.find("No Such Object"), std::string::npos);
}

TEST(SnmpdAgent, ViewEndsAfterTheUpsTable) {
    SnmpdAgent agent;
    agent.Start();
    const std::string last = B + ".11.1.6.2";
    const ToolResult v1 =
        RunTool("snmpgetnext -v1 -c public -t 1 -r 2 -On " + Target(agent) + " " + last);
    EXPECT_NE(v1.output.find("noSuchName"), std::string::npos) << v1.output;
    EXPECT_NE(v1.output.find("Failed object: " + last), std::string::npos) << v1.output;
    const ToolResult v2 =
        RunTool("snmpgetnext -v2c -c public -t 1 -r 2 -On " + Target(agent) + " " + last);
    EXPECT_NE(v2.output.find(last + " = No more variables left in this MIB View"),
              std::string::npos)
        << v2.output;
    // Objects outside the device subtree are hidden even though snmpd implements them.
    EXPECT_NE(Get(agent, ".1.3.6.1.2.1.1.1.0").output.find("No Such Object"), std::string::npos);
}

TEST(SnmpdAgent, EveryV3UserWorksAndWrongSecretsFail) {
    SnmpdAgent agent;
    agent.Start();
    struct Case {
        std::string name;
        std::string security;
        std::string expected;  // in the output
    };
    const std::vector<Case> cases = {
        {"noAuthNoPriv", std::string("-l noAuthNoPriv -u ") + kNoAuthUser, "\"2.1.4\""},
        {"MD5", std::string("-l authNoPriv -u ") + kMd5User + " -a MD5 -A " + kMd5AuthPassword,
         "\"2.1.4\""},
        {"SHA/DES",
         std::string("-l authPriv -u ") + kShaDesUser + " -a SHA -A " + kShaDesAuthPassword +
             " -x DES -X " + kShaDesPrivPassword,
         "\"2.1.4\""},
        {"SHA-256/AES-256",
         std::string("-l authPriv -u ") + kSha256AesUser + " -a SHA-256 -A " +
             kSha256AesAuthPassword + " -x AES-256 -X " + kSha256AesPrivPassword,
         "\"2.1.4\""},
        {"MD5 wrong password",
         std::string("-l authNoPriv -u ") + kMd5User + " -a MD5 -A wrongpassword",
         "Authentication failure"},
        {"SHA wrong password",
         std::string("-l authPriv -u ") + kShaDesUser + " -a SHA -A wrongpassword -x DES -X " +
             kShaDesPrivPassword,
         "Authentication failure"},
        {"SHA-256 wrong password",
         std::string("-l authPriv -u ") + kSha256AesUser +
             " -a SHA-256 -A wrongpassword -x AES-256 -X " + kSha256AesPrivPassword,
         "Authentication failure"},
        // snmpd drops what it cannot decrypt: the manager sees a timeout.
        {"DES wrong privacy password",
         std::string("-l authPriv -u ") + kShaDesUser + " -a SHA -A " + kShaDesAuthPassword +
             " -x DES -X wrongprivpass",
         "Timeout"},
        {"unknown user", "-l noAuthNoPriv -u nobody", "Unknown user name"},
    };
    for (const Case& c : cases) {
        const ToolResult got = Get(agent, B + ".1.0", "-Oqv", "-v3 " + c.security);
        EXPECT_NE(got.output.find(c.expected), std::string::npos) << c.name << ": " << got.output;
        EXPECT_EQ(got.exitCode == 0, c.expected == "\"2.1.4\"") << c.name << ": " << got.output;
    }
}

TEST(SnmpdAgent, DataSetsServeTheDocumentedTableShapes) {
    struct Case {
        std::vector<std::string> dataSets;
        std::string column;     // below B
        std::string instances;  // served rows, in walk order
    };
    const std::vector<Case> cases = {
        {{"device"}, ".9.1.2", "1 2 3"},
        {{"device"}, ".9.1.1", ""},  // index columns are never served
        {{"device"}, ".10.1.6", "1 2 3 4"},
        {{"device"}, ".11.1.4", "1 2"},
        {{"empty"}, ".9", ""},
        {{"empty"}, ".10.1.2", "1 2 3 4"},
        {{"empty"}, ".11", ""},
        {{"device", "empty"}, ".9", ""},
        {{"early"}, ".9.1.2", "1 2 3 4"},
        {{"early"}, ".9.1.3", "1 2"},
        {{"early"}, ".9.1.6", "1 2 3 4"},
        {{"early"}, ".10.1.2", "1 2"},
        {{"early"}, ".10.1.3", "1 2 3"},
        {{"sparse"}, ".10.1.2", "1 2 3 5"},
        {{"sparse"}, ".10.1.3", "1 3 5 8"},
        {{"sparse"}, ".10.1.4", "1 2 3 5 8"},
        {{"sparse"}, ".10.1.5", "1 2 5"},
        {{"sparse"}, ".10.1.6", "2 3 5 8 9"},
        {{"sparse"}, ".9.1.2", "1 2 3"},
        {{"writable", "device"}, ".20.4.1.3", "1 2 3"},
        {{"device", "writable"}, ".20.5.1.3", "3.2.97.98 7.3.110.97.115"},
        {{"device", "large1000"}, ".10.1.2", "1 2 3 4"},
    };
    std::vector<std::string> running;
    std::unique_ptr<SnmpdAgent> agent;
    for (const Case& c : cases) {
        if (!agent || running != c.dataSets) {
            agent.reset();
            agent = std::make_unique<SnmpdAgent>(DataSets(c.dataSets));
            agent->Start();
            running = c.dataSets;
        }
        std::string sets;
        for (const std::string& s : c.dataSets) sets += s + " ";
        EXPECT_EQ(WalkedInstances(*agent, B + c.column), c.instances)
            << sets << "column B" << c.column;
    }
}

TEST(SnmpdAgent, LargeVolumeTablesWalkCompletely) {
    for (const long rows : {1000L, 5000L}) {
        SnmpdAgent agent(DataSets({"device", "large" + std::to_string(rows)}));
        agent.Start();
        // Column-wise get-next with the module's MIB, index printed as the first field.
        const ToolResult table =
            RunTool("snmptable -v2c -c public -t 2 -r 2 -m KSV720E-MIB -M " KSV_MIB_DIR
                    " -CB -Ci -CH -Cf '|' " +
                    Target(agent) + " ksvVolumeTable");
        ASSERT_EQ(table.exitCode, 0) << table.output.substr(0, 2000);
        std::vector<std::string> expected;
        for (long row = 1; row <= rows; ++row) {
            std::string line = std::to_string(row) + "|?";  // ksvVolumeIndex is not served
            for (int column = 2; column <= 6; ++column)
                line += "|\"" + LargeVolumeValue(column, row) + "\"";
            expected.push_back(line);
        }
        std::vector<std::string> got;
        for (const std::string& line : Lines(table.output))
            if (!line.empty() && line.rfind("SNMP table:", 0) != 0) got.push_back(line);
        EXPECT_EQ(got, expected) << rows << " rows";
    }
    // The same with get-bulk: every cell once.
    SnmpdAgent agent(DataSets({"large5000"}));
    agent.Start();
    const ToolResult walk = RunTool("snmpbulkwalk -v2c -c public -t 2 -r 2 -On -Cr50 " +
                                    Target(agent) + " " + B + ".9");
    ASSERT_EQ(walk.exitCode, 0) << walk.output.substr(0, 2000);
    EXPECT_EQ(Lines(walk.output).size(), 5u * 5000u);
}

TEST(SnmpdAgent, FaultyAgentMisbehavesAsDocumented) {
    SnmpdAgent agent(DataSets({"device", "faulty"}));
    agent.Start();

    // Cycling (a, b, c, a) and stuck columns: net-snmp's walk notices.
    for (const std::string& column : {B + ".40.1.1.2", B + ".40.2.1.2"}) {
        const ToolResult walk =
            RunTool("snmpwalk -v2c -c public -t 1 -r 2 -On " + Target(agent) + " " + column);
        EXPECT_NE(walk.output.find("OID not increasing"), std::string::npos) << walk.output;
    }
    const ToolResult cycle = RunTool("snmpwalk -v2c -c public -t 1 -r 2 -On -Cc " + Target(agent) +
                                     " " + B + ".40.1.1.2 | head -4");
    EXPECT_EQ(
        Lines(cycle.output),
        (std::vector<std::string>{
            B + ".40.1.1.2.1 = STRING: \"cycle-a\"", B + ".40.1.1.2.2 = STRING: \"cycle-b\"",
            B + ".40.1.1.2.3 = STRING: \"cycle-c\"", B + ".40.1.1.2.1 = STRING: \"cycle-a\""}));

    // A display-string column served with other types.
    const std::vector<std::string> typed = {"INTEGER: -7",
                                            "Gauge32: 4000000000",
                                            "Counter32: 123456",
                                            "Timeticks: (8640000)",
                                            "IpAddress: 192.0.2.10",
                                            "OID: .1.3.6.1.4.1.43917",
                                            "Hex-STRING: 00 FF 41 80",
                                            "\"\"",
                                            "Counter64: 5000000000"};
    for (size_t i = 0; i < typed.size(); ++i) {
        const std::string oid = B + ".40.3.1.2." + std::to_string(i + 1);
        const ToolResult got = Get(agent, oid);
        EXPECT_EQ(got.output.rfind(oid + " = " + typed[i], 0), 0u) << got.output;
    }

    // Sets refused with every error status 5..18; F.4.1.0 accepts and reads back.
    const std::vector<std::string> reasons = {
        "genError",     "noAccess",          "wrongType",
        "wrongLength",  "wrongEncoding",     "wrongValue",
        "noCreation",   "inconsistentValue", "resourceUnavailable",
        "commitFailed", "undoFailed",        "authorizationError",
        "notWritable",  "inconsistentName"};
    for (size_t i = 0; i < reasons.size(); ++i) {
        const std::string oid = B + ".40.4." + std::to_string(i + 5) + ".0";
        const ToolResult set =
            RunTool("snmpset -v2c -c private -t 1 -r 2 -On " + Target(agent) + " " + oid + " s x");
        const size_t reason = set.output.find("Reason: ");
        EXPECT_NE(set.output.find(reasons[i], reason), std::string::npos)
            << oid << ": " << set.output;
    }
    ASSERT_EQ(RunTool("snmpset -v2c -c private -t 1 -r 2 " + Target(agent) + " " + B +
                      ".40.4.1.0 s accepted")
                  .exitCode,
              0);
    EXPECT_NE(Get(agent, B + ".40.4.1.0").output.find("\"accepted\""), std::string::npos);

    // The 60 KiB values arrive byte for byte; both in one reply exceed a datagram: no answer.
    Message get;
    get.bindings = {VarBind::Null(B.substr(1) + ".41.1.0")};
    auto text = Query(agent.Address(), agent.Port(), get);
    ASSERT_TRUE(text);
    ASSERT_EQ(text->bindings.size(), 1u);
    EXPECT_EQ(text->bindings[0].type, tag::kOctetString);
    EXPECT_TRUE(text->bindings[0].value == HugeTextValue());
    get.bindings = {VarBind::Null(B.substr(1) + ".41.2.0")};
    auto binary = Query(agent.Address(), agent.Port(), get);
    ASSERT_TRUE(binary);
    ASSERT_EQ(binary->bindings.size(), 1u);
    EXPECT_TRUE(binary->bindings[0].value == HugeBinaryValue());
    get.bindings = {VarBind::Null(B.substr(1) + ".41.1.0"), VarBind::Null(B.substr(1) + ".41.2.0")};
    EXPECT_FALSE(Query(agent.Address(), agent.Port(), get, 1000));
}

TEST(SnmpdAgent, WritableObjectsKeepWhatIsSetUntilRestart) {
    SnmpdAgent agent(DataSets({"device", "writable"}));
    agent.Start();
    struct Case {
        std::string oid;  // below B
        std::string type;
        std::string value;
        std::string readBack;
    };
    const std::vector<Case> cases = {
        {".20.1.0", "s", "rack-7 row B", "STRING: \"rack-7 row B\""},
        {".20.2.0", "i", "-17", "INTEGER: -17"},
        {".20.4.1.2.2", "s", "bond0", "STRING: \"bond0\""},
        {".20.4.1.3.3", "i", "1500", "INTEGER: 1500"},
        {".20.5.1.3.3.2.97.98", "s", "changed", "STRING: \"changed\""},
    };
    for (const Case& c : cases) {
        const ToolResult set = RunTool("snmpset -v2c -c private -t 1 -r 2 -On " + Target(agent) +
                                       " " + B + c.oid + " " + c.type + " '" + c.value + "'");
        EXPECT_EQ(set.exitCode, 0) << c.oid << ": " << set.output;
        EXPECT_NE(Get(agent, B + c.oid).output.find(B + c.oid + " = " + c.readBack),
                  std::string::npos)
            << c.oid;
    }
    struct Refusal {
        std::string security;
        std::string assignment;  // OID below B, type and value
        std::string reason;
    };
    const std::vector<Refusal> refusals = {
        {"-v2c -c private", ".20.3.0 s x", "notWritable"},
        {"-v2c -c private", ".20.2.0 s x", "wrongType"},
        {"-v2c -c public", ".20.1.0 s x", "noAccess"},
        {"-v3 -l noAuthNoPriv -u noauth", ".20.1.0 s x", "noAccess"},  // a read-only user
    };
    for (const Refusal& r : refusals) {
        const ToolResult set = RunTool("snmpset " + r.security + " -t 1 -r 2 -On " + Target(agent) +
                                       " " + B + r.assignment);
        EXPECT_NE(set.output.find(r.reason), std::string::npos)
            << r.security << " " << r.assignment << ": " << set.output;
    }
    agent.Restart();
    EXPECT_NE(Get(agent, B + ".20.1.0").output.find("\"lab-rack-3\""), std::string::npos);
}

TEST(SnmpdAgent, RestartKeepsPortAndEngineIdAndCountsBoots) {
    SnmpdAgent agent;
    agent.Start();
    const uint16_t port = agent.Port();
    const auto before = DiscoverEngine(agent.Address(), agent.Port());
    ASSERT_TRUE(before);
    EXPECT_EQ(before->idHex, agent.EngineIdHex());
    agent.Restart();
    EXPECT_EQ(agent.Port(), port);
    const auto after = DiscoverEngine(agent.Address(), agent.Port());
    ASSERT_TRUE(after);
    EXPECT_EQ(after->idHex, before->idHex);
    EXPECT_EQ(after->boots, before->boots + 1);
}

TEST(SnmpdAgent, StopAndDestructionEndTheProcess) {
    pid_t pid = -1;
    std::string dir;
    {
        SnmpdAgent agent;
        agent.Start();
        pid = agent.Pid();
        dir = agent.Directory();
        ASSERT_GT(pid, 0);
        EXPECT_TRUE(ProcessExists(pid));
        agent.Stop();
        EXPECT_FALSE(ProcessExists(pid));
        EXPECT_EQ(agent.Pid(), -1);
        EXPECT_NE(Get(agent, B + ".1.0", "-t 0.3 -r 0").output.find("Timeout"), std::string::npos);
        agent.Start();
        pid = agent.Pid();
        EXPECT_TRUE(ProcessExists(pid));
    }
    EXPECT_FALSE(ProcessExists(pid));
    EXPECT_FALSE(std::ifstream(dir + "/snmpd.conf").good());
}

TEST(SnmpdAgent, AgentsRunSideBySideOnTheirOwnPorts) {
    Options withFirst, withSecond;
    withFirst.extraConfig = "override " + B + ".30.0 octet_str \"first\"";
    withSecond.extraConfig = "override " + B + ".30.0 octet_str \"second\"";
    SnmpdAgent first(withFirst);
    SnmpdAgent second(withSecond);
    first.Start();
    second.Start();
    EXPECT_NE(first.Port(), second.Port());
    EXPECT_NE(first.EngineIdHex(), second.EngineIdHex());
    EXPECT_NE(Get(first, B + ".30.0").output.find("\"first\""), std::string::npos);
    EXPECT_NE(Get(second, B + ".30.0").output.find("\"second\""), std::string::npos);
}

TEST(SnmpdAgent, BadDataSetsAndConfigurationsThrowWithTheReason) {
    SnmpdAgent unknown(DataSets({"device", "nosuchset"}));
    try {
        unknown.Start();
        FAIL() << "started with an unknown data set";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("unknown data set 'nosuchset'"), std::string::npos)
            << e.what();
    }
    EXPECT_THROW(SnmpdAgent(DataSets({"../device"})).Start(), std::runtime_error);
    // A port that is taken is refused; the agent that holds it goes on answering.
    SnmpdAgent running;
    running.Start();
    Options samePort;
    samePort.port = running.Port();
    SnmpdAgent clash(samePort);
    try {
        clash.Start();
        FAIL() << "two agents on one port";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("is in use"), std::string::npos) << e.what();
    }
    EXPECT_EQ(clash.Pid(), -1);
    const auto engine = DiscoverEngine(running.Address(), running.Port());
    ASSERT_TRUE(engine);
    EXPECT_EQ(engine->idHex, running.EngineIdHex());
}

}  // namespace
}  // namespace testagent
