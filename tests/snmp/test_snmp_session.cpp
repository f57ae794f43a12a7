// The SNMP session without an agent: OID texts, paths, the engine-boots file, start-up, and the
// adapter's checks, timeouts and callback rules against a port where nothing answers.
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Exception.h"
#include "snmp/HvSNMPErrors.h"
#include "snmp/HvSNMPSession.h"
#include "snmp/SnmpSession.h"

namespace {

const std::string kEngineId = "HvSNMP_PP_Application";
const std::string kEngineHex = "4876534E4D505F50505F4170706C69636174696F6E";

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class TempDir {
public:
    TempDir() {
        char pattern[] = "/tmp/snmp_session_XXXXXX";
        if (mkdtemp(pattern) != nullptr) path_ = pattern;
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// A UDP port on 127.0.0.1 that receives but never answers.
class SilentPort {
public:
    SilentPort() {
        fd_ = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        socklen_t len = sizeof a;
        getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
    }
    ~SilentPort() { close(fd_); }
    uint16_t Port() const { return port_; }
    // Datagrams that have arrived so far (does not wait).
    int Drain() {
        int n = 0;
        char buf[65536];
        while (recv(fd_, buf, sizeof buf, MSG_DONTWAIT) >= 0) ++n;
        return n;
    }
    // True when nothing arrived before a marker sent now (loopback delivers in order and at
    // once, so anything sent earlier would be queued before it).
    bool NothingArrived() {
        sockaddr_in self{};
        self.sin_family = AF_INET;
        self.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        self.sin_port = htons(port_);
        sendto(fd_, "marker", 6, 0, reinterpret_cast<sockaddr*>(&self), sizeof self);
        char buf[65536];
        ssize_t n = recv(fd_, buf, sizeof buf, MSG_DONTWAIT);
        bool first = n == 6 && std::string(buf, 6) == "marker";
        Drain();
        return first;
    }

private:
    int fd_ = -1;
    uint16_t port_ = 0;
};

SnmpVb Vb(const std::string& text) {
    SnmpVb vb;
    TextToOid(text, vb.oid);
    return vb;
}

const std::vector<SnmpVb> kQuery = {Vb("1.3.6.1.4.1.43917.50.1.10.1.1.1.0"),
                                    Vb("1.3.6.1.4.1.43917.50.1.10.1.1.2.0")};

SnmpTarget CommunityTarget(uint16_t port) {
    SnmpTarget t;
    t.port = port;
    t.version = 1;
    t.community = "public";
    t.timeout = 10;
    t.retries = 1;
    return t;
}

SnmpTarget UserTarget(uint16_t port) {
    SnmpTarget t;
    t.port = port;
    t.version = 3;
    t.timeout = 10;
    t.retries = 1;
    t.securityName = "shades";
    t.securityLevel = 3;
    t.authProtocol = SnmpAuthProtocol::kSha;
    t.authPassword = "shaauthpass";
    t.privProtocol = SnmpPrivProtocol::kDes;
    t.privPassword = "desprivpass";
    return t;
}

// Steps the session until done() holds; the bound only ends a test that would hang.
void StepUntil(SnmpSession& s, const std::function<bool()>& done) {
    for (int i = 0; i < 3000 && !done(); ++i) {
        s.ProcessPendingEvents();
        usleep(2000);
    }
}

// ----------------------------------------------------------------------------------------------

TEST(OidText, ConvertsBothWays) {
    const struct {
        const char* text;
        bool ok;
        SnmpOid oid;
    } cases[] = {
        {"1.3.6.1", true, {1, 3, 6, 1}},
        {".1.3.6.1", true, {1, 3, 6, 1}},
        {"0", true, {0}},
        {"1.4294967295", true, {1, 4294967295u}},
        {"1.4294967296", false, {}},
        {"", false, {}},
        {".", false, {}},
        {"1..3", false, {}},
        {"1.3.", false, {}},
        {"1. 3", false, {}},
        {"1.-3", false, {}},
        {"1.3a", false, {}},
        {"..1", false, {}},
    };
    for (const auto& c : cases) {
        SnmpOid oid{9, 9};
        EXPECT_EQ(TextToOid(c.text, oid), c.ok) << c.text;
        EXPECT_EQ(oid, c.oid) << c.text;
    }
    EXPECT_EQ(OidToText({1, 3, 6, 1, 4294967295u}), "1.3.6.1.4294967295");
    EXPECT_EQ(OidToText({}), "");
}

TEST(JoinPath, AddsTheSeparatorOnlyWhereNeeded) {
    EXPECT_EQ(JoinPath("", "HvSNMP_PP_BootCounter"), "HvSNMP_PP_BootCounter");
    EXPECT_EQ(JoinPath("C:\\Dir\\", "name"), "C:\\Dir\\name");
    EXPECT_EQ(JoinPath("C:\\Dir", "name"), "C:\\Dir\\name");
    EXPECT_EQ(JoinPath("/tmp/x", "name"), "/tmp/x\\name");
}

// ----------------------------------------------------------------------------------------------
// The engine-boots file

TEST(BootCounter, FirstSaveCreatesTheFileThenTheCounterIsFound) {
    TempDir dir;
    const std::string file = dir.File("HvSNMP_PP_BootCounter");
    uint32_t counter = 99;
    EXPECT_EQ(GetBootCounter(file, kEngineId, counter), -2);
    EXPECT_EQ(counter, 0u);
    EXPECT_EQ(SaveBootCounter(file, kEngineId, 1), 0);
    EXPECT_EQ(ReadFile(file), kEngineHex + " 1\n");
    EXPECT_EQ(GetBootCounter(file, kEngineId, counter), 0);
    EXPECT_EQ(counter, 1u);
    EXPECT_EQ(SaveBootCounter(file, kEngineId, 4294967295u), 0);
    EXPECT_EQ(GetBootCounter(file, kEngineId, counter), 0);
    EXPECT_EQ(counter, 4294967295u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1)
        << "no temporary file left behind";
}

TEST(BootCounter, OtherEnginesGiveNoEntryAndAreKept) {
    TempDir dir;
    const std::string file = dir.File("boots");
    WriteFile(file, "0102 7\r\n\nabcdef 3\n");
    uint32_t counter = 5;
    EXPECT_EQ(GetBootCounter(file, kEngineId, counter), -1);
    EXPECT_EQ(counter, 0u);
    EXPECT_EQ(SaveBootCounter(file, kEngineId, 12), 0);
    EXPECT_EQ(ReadFile(file), "0102 7\r\nabcdef 3\n" + kEngineHex + " 12\n");
    EXPECT_EQ(GetBootCounter(file, "\x01\x02", counter), 0);
    EXPECT_EQ(counter, 7u);
    EXPECT_EQ(GetBootCounter(file, "\xab\xcd\xef", counter), 0);  // lower-case hex
    EXPECT_EQ(counter, 3u);
}

TEST(BootCounter, DamagedOrForeignContentIsAnError) {
    TempDir dir;
    const std::string file = dir.File("boots");
    const std::string damaged[] = {
        kEngineHex + " x1\n",
        kEngineHex + " 4294967296\n",
        kEngineHex + " -1\n",
        kEngineHex + "\n",
        std::string("\x00\x01\xff\xfe garbage\n\x7f", 15),
        "this is no boots file\n",
    };
    for (const std::string& content : damaged) {
        WriteFile(file, content);
        uint32_t counter = 5;
        EXPECT_LT(GetBootCounter(file, kEngineId, counter), -2) << content;
        EXPECT_EQ(counter, 0u);
    }
    uint32_t counter = 0;
    EXPECT_EQ(GetBootCounter(dir.Path(), kEngineId, counter), -3) << "a directory";
    WriteFile(file, "  \n\n");
    EXPECT_EQ(GetBootCounter(file, kEngineId, counter), -1) << "blank lines only";
}

TEST(BootCounter, UnwritablePlaceFailsTheSave) {
    TempDir dir;
    WriteFile(dir.File("plain"), "x");
    const std::string file = dir.File("plain") + "/HvSNMP_PP_BootCounter";
    uint32_t counter = 0;
    EXPECT_EQ(GetBootCounter(file, kEngineId, counter), -2);
    EXPECT_NE(SaveBootCounter(file, kEngineId, 1), 0);
    EXPECT_NE(SaveBootCounter(dir.Path(), kEngineId, 1), 0) << "a directory";
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path()));
}

// ----------------------------------------------------------------------------------------------
// Start-up, each in a child process: every start is a fresh module.

#define EXPECT_IN_CHILD(body) EXPECT_EXIT(_exit((body)()), ::testing::ExitedWithCode(0), "")

int Fail(const std::string& what) {
    fprintf(stderr, "%s\n", what.c_str());
    return 1;
}

// Starts the module in `directory`; returns the library error's code (0 when none).
int StartModule(const std::string& directory, std::string* message = nullptr) {
    try {
        CreateGlobalSession(directory);
        return 0;
    } catch (const Exception& e) {
        if (message) *message = e.Message();
        return e.HelpContext();
    }
}

TEST(StartUp, BootsCounterGrowsByOneOnEveryStart) {
    TempDir dir;
    for (uint32_t expected = 1; expected <= 2; ++expected) {
        EXPECT_IN_CHILD([&] {
            if (chdir(dir.Path().c_str()) != 0) return Fail("chdir");
            if (int code = StartModule("")) return Fail("start failed: " + std::to_string(code));
            if (GlobalSession->EngineBoots() != expected)
                return Fail("boots " + std::to_string(GlobalSession->EngineBoots()));
            if (GlobalSession->LocalEngineId() != kEngineId) return Fail("engine ID");
            if (!GlobalEventProcessor.Running()) return Fail("pump not running");
            return 0;
        });
        EXPECT_EQ(ReadFile(dir.File("HvSNMP_PP_BootCounter")),
                  kEngineHex + " " + std::to_string(expected) + "\n");
    }
}

TEST(StartUp, WritesTheDefaultRecords) {
    TempDir dir;
    EXPECT_IN_CHILD([&] {
        if (int code = StartModule(dir.Path())) return Fail("start: " + std::to_string(code));
        const bool ok = GlobalDevice.Address == "127.0.0.1" && GlobalDevice.Port == 161 &&
                        GlobalScope.ContextEngineID.empty() && GlobalScope.ContextName.empty() &&
                        GlobalSecurity.Version == 0 && GlobalSecurity.ReadCommunity == "gesdar" &&
                        GlobalSecurity.WriteCommunity == "vontrel" &&
                        GlobalSecurity.SecurityModel == 1 && GlobalSecurity.SecurityLevel == 1 &&
                        GlobalSecurity.SecurityName.empty() &&
                        GlobalSecurity.AuthPassword.empty() &&
                        GlobalSecurity.PrivPassword.empty() && GlobalSecurity.AuthProtocol == 1 &&
                        GlobalSecurity.PrivProtocol == 1 && DefaultTimeout == 100;
        return ok ? 0 : Fail("defaults");
    });
    // The directory argument names where the file goes.
    EXPECT_EQ(ReadFile(dir.File("HvSNMP_PP_BootCounter")), kEngineHex + " 1\n");
}

TEST(StartUp, FileWithoutOurEntryCountsAsFirstStart) {
    TempDir dir;
    WriteFile(dir.File("HvSNMP_PP_BootCounter"), "0102 9\n");
    EXPECT_IN_CHILD([&] {
        if (int code = StartModule(dir.Path())) return Fail("start: " + std::to_string(code));
        return GlobalSession->EngineBoots() == 1 ? 0 : Fail("boots");
    });
    EXPECT_EQ(ReadFile(dir.File("HvSNMP_PP_BootCounter")), "0102 9\n" + kEngineHex + " 1\n");
}

TEST(StartUp, UnwritableDirectoryEndsStartUp) {
    TempDir dir;
    WriteFile(dir.File("plain"), "x");
    EXPECT_IN_CHILD([&] {
        std::string message;
        if (StartModule(dir.File("plain"), &message) != -508) return Fail("code");
        if (message != "Error when saving SNMP engine boots counter!") return Fail(message);
        if (GlobalEventProcessor.Running()) return Fail("pump started");
        if (!GlobalSecurity.ReadCommunity.empty()) return Fail("defaults written");
        return 0;
    });
}

TEST(StartUp, DamagedBootsFileEndsStartUpUnsaved) {
    TempDir dir;
    const std::string content = kEngineHex + " many\n";
    WriteFile(dir.File("HvSNMP_PP_BootCounter"), content);
    EXPECT_IN_CHILD([&] {
        std::string message;
        if (StartModule(dir.Path(), &message) != -507) return Fail("code");
        if (message != "Error when loading SNMP engine boots counter!") return Fail(message);
        return GlobalEventProcessor.Running() ? Fail("pump started") : 0;
    });
    EXPECT_EQ(ReadFile(dir.File("HvSNMP_PP_BootCounter")), content);
}

TEST(StartUp, NoUdpPortEndsStartUp) {
    TempDir dir;
    EXPECT_IN_CHILD([&] {
        // No descriptor above the lowest free one may be opened: no socket at all.
        int lowest = open("/dev/null", O_RDONLY);
        if (lowest < 0) return Fail("open");
        close(lowest);
        rlimit limit{};
        getrlimit(RLIMIT_NOFILE, &limit);
        limit.rlim_cur = static_cast<rlim_t>(lowest);
        if (setrlimit(RLIMIT_NOFILE, &limit) != 0) return Fail("setrlimit");
        std::string message;
        if (StartModule(dir.Path(), &message) != -506) return Fail("code " + message);
        if (message != "Cannot create the global HvSNMP++ session!") return Fail(message);
        if (GlobalSession == nullptr) return Fail("session not kept");
        SnmpReply r = GlobalSession->Get(CommunityTarget(161), kQuery);
        if (r.status == 0) return Fail("unusable session answered");
        return std::filesystem::exists(dir.File("HvSNMP_PP_BootCounter")) ? Fail("saved") : 0;
    });
}

// ----------------------------------------------------------------------------------------------
// The adapter

TEST(Adapter, StartsWithTheVerbatimEngineId) {
    SnmpSession s;
    ASSERT_EQ(s.Status(), 0);
    EXPECT_EQ(s.LocalEngineId(), kEngineId);
    s.SetEngineBoots(7);
    EXPECT_EQ(s.EngineBoots(), 7u);
    s.SetEngineBoots(1);
    EXPECT_EQ(s.EngineBoots(), 1u);
    EXPECT_EQ(s.Sockets().size(), 1u);
}

TEST(Adapter, ChecksAddressesWithoutLookingUpMalformedNames) {
    const struct {
        const char* address;
        bool ok;
    } cases[] = {
        {"127.0.0.1", true}, {"localhost", true},      {"", false},           {"300.1.2.3", false},
        {"1.2.3", false},    {"127.0.0.1:161", false}, {"bad host", false},   {"a..b", false},
        {"-a.b", false},     {"::1", false},           {"127.0.0.1 ", false}, {"host.", false},
    };
    for (const auto& c : cases) EXPECT_EQ(SnmpSession::CheckAddress(c.address), c.ok) << c.address;
}

TEST(Adapter, RefusesBadRequestsBeforeSendingAnything) {
    SilentPort agent;
    SnmpSession s;
    SnmpVb badIp = Vb("1.3.6.1.2.1.1.5.0");
    badIp.SetOctets(kAsnIpAddress, "\x7f\x00\x01");
    const SnmpOid longOid(129, 1);
    struct Case {
        const char* what;
        std::function<void(SnmpTarget&)> change;
        int status;
        SnmpPduType type = SnmpPduType::kGet;
        std::vector<SnmpVb> vbs = kQuery;
    };
    const std::vector<Case> cases = {
        {"malformed address", [](SnmpTarget& t) { t.address = "300.1.2.3"; }, -18},
        {"port 0", [](SnmpTarget& t) { t.port = 0; }, -18},
        {"version 2", [](SnmpTarget& t) { t.version = 2; }, -12},
        {"no bindings", [](SnmpTarget&) {}, -11, SnmpPduType::kGet, {}},
        {"empty OID", [](SnmpTarget&) {}, -17, SnmpPduType::kGet, {SnmpVb{}}},
        {"long OID", [](SnmpTarget&) {}, -17, SnmpPduType::kGetNext, {[&] {
             SnmpVb v;
             v.oid = longOid;
             return v;
         }()}},
        {"IpAddress of 3 octets", [](SnmpTarget&) {}, -11, SnmpPduType::kSet, {badIp}},
        {"IDEA",
         [](SnmpTarget& t) {
             t.version = 3;
             t.privProtocol = SnmpPrivProtocol::kIdea;
         },
         1413},
        {"3DES",
         [](SnmpTarget& t) {
             t.version = 3;
             t.privProtocol = SnmpPrivProtocol::k3Des;
         },
         1413},
        {"unknown auth protocol",
         [](SnmpTarget& t) {
             t.version = 3;
             t.authProtocol = 9;
         },
         1412},
        {"short auth password",
         [](SnmpTarget& t) {
             t.version = 3;
             t.authPassword = "1234567";
         },
         1407},
        {"short priv password",
         [](SnmpTarget& t) {
             t.version = 3;
             t.privPassword = "";
         },
         1405},
        {"authPriv without privacy",
         [](SnmpTarget& t) {
             t.version = 3;
             t.privProtocol = SnmpPrivProtocol::kNone;
         },
         1403},
        {"authNoPriv without authentication",
         [](SnmpTarget& t) {
             t.version = 3;
             t.securityLevel = 2;
             t.authProtocol = SnmpAuthProtocol::kNone;
         },
         1403},
        {"level 4",
         [](SnmpTarget& t) {
             t.version = 3;
             t.securityLevel = 4;
         },
         1403},
        {"security model 1",
         [](SnmpTarget& t) {
             t.version = 3;
             t.securityModel = 1;
         },
         -1402},
        {"no user name",
         [](SnmpTarget& t) {
             t.version = 3;
             t.securityName.clear();
         },
         1404},
    };
    for (const Case& c : cases) {
        SnmpTarget t = UserTarget(agent.Port());
        t.version = 1;
        t.community = "public";
        c.change(t);
        SnmpReply r = s.Request(c.type, t, c.vbs);
        EXPECT_EQ(r.status, c.status) << c.what;
        EXPECT_EQ(r.vbs.size(), c.vbs.size()) << c.what;
        int called = 0, id = -1;
        EXPECT_EQ(s.RequestAsync(
                      c.type, t, c.vbs, [&](const SnmpReply&) { ++called; }, &id),
                  c.status)
            << c.what;
        EXPECT_EQ(id, 0) << c.what;
        EXPECT_EQ(s.ProcessPendingEvents(), 0) << c.what;
        EXPECT_EQ(called, 0) << c.what;
        EXPECT_TRUE(agent.NothingArrived()) << c.what;
    }
    EXPECT_EQ(s.GetAsync(CommunityTarget(agent.Port()), kQuery, nullptr), -13);
    EXPECT_EQ(s.PendingCount(), 0);
}

TEST(Adapter, TimesOutAfterTheRetries) {
    SilentPort agent;
    SnmpSession s;
    SnmpTarget t = CommunityTarget(agent.Port());
    t.retries = 2;
    SnmpReply r = s.Get(t, kQuery);
    EXPECT_EQ(r.status, -5);
    EXPECT_EQ(MapStatus(r.status).code, -405);
    EXPECT_EQ(agent.Drain(), 3) << "first try and two retries";
    ASSERT_EQ(r.vbs.size(), kQuery.size());
    for (size_t i = 0; i < r.vbs.size(); ++i) {
        EXPECT_EQ(r.vbs[i].oid, kQuery[i].oid);
        EXPECT_EQ(r.vbs[i].type, kAsnNull);
    }
    EXPECT_EQ(r.agentAddress, "127.0.0.1");
    EXPECT_EQ(r.agentPort, agent.Port());
    EXPECT_GT(r.requestId, 0);
}

TEST(Adapter, SilentSnmpV3AgentTimesOutWithoutBlockingTheCall) {
    SilentPort agent;
    SnmpSession s;
    int calls = 0;
    SnmpReply got;
    int id = 0;
    // The call returns at once although the engine ID is still unknown.
    ASSERT_EQ(
        s.GetAsync(
            UserTarget(agent.Port()), kQuery, [&](const SnmpReply& r) { ++calls, got = r; }, &id),
        0);
    EXPECT_GT(id, 0);
    EXPECT_EQ(calls, 0);
    StepUntil(s, [&] { return calls > 0; });
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(got.status, -5);
    EXPECT_EQ(got.requestId, id);
    EXPECT_EQ(s.Get(UserTarget(agent.Port()), kQuery).status, -5);
}

TEST(Adapter, CancelledRequestIsNeverCalledBack) {
    SilentPort agent;
    SnmpSession s;
    std::vector<int> calls;
    int first = 0, second = 0;
    SnmpTarget t = CommunityTarget(agent.Port());
    ASSERT_EQ(s.GetAsync(
                  t, kQuery, [&](const SnmpReply&) { calls.push_back(1); }, &first),
              0);
    ASSERT_EQ(s.GetAsync(
                  t, kQuery, [&](const SnmpReply&) { calls.push_back(2); }, &second),
              0);
    EXPECT_NE(first, second);
    EXPECT_EQ(s.PendingCount(), 2);
    EXPECT_TRUE(s.Cancel(first));
    EXPECT_FALSE(s.Cancel(first));
    EXPECT_EQ(s.PendingCount(), 1);
    // The second request was sent later with the same timeout: the first has timed out by then.
    StepUntil(s, [&] { return !calls.empty(); });
    EXPECT_EQ(calls, std::vector<int>{2});
    EXPECT_EQ(s.ProcessPendingEvents(), 0);
    EXPECT_EQ(calls, std::vector<int>{2});
    EXPECT_FALSE(s.Cancel(second));
}

TEST(Adapter, SynchronousCallHoldsBackOtherCallbacks) {
    SilentPort agent;
    SnmpSession s;
    SnmpTarget quick = CommunityTarget(agent.Port());
    quick.retries = 0;
    SnmpTarget slow = quick;
    slow.timeout = 50;
    int calls = 0;
    ASSERT_EQ(s.GetAsync(quick, kQuery,
                         [&](const SnmpReply& r) {
                             ++calls;
                             EXPECT_EQ(r.status, -5);
                         }),
              0);
    // The quick request times out while the slow one waits; its callback must wait too.
    EXPECT_EQ(s.Get(slow, kQuery).status, -5);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(s.ProcessPendingEvents(), 1);
    EXPECT_EQ(calls, 1);
}

TEST(Adapter, StepCalledFromACallbackDoesNothing) {
    SilentPort agent;
    SnmpSession s;
    SnmpTarget t = CommunityTarget(agent.Port());
    t.retries = 0;
    int depth = 0, maxDepth = 0, calls = 0, nested = -1;
    auto callback = [&](const SnmpReply&) {
        ++depth;
        maxDepth = std::max(maxDepth, depth);
        ++calls;
        if (calls == 1) nested = s.ProcessPendingEvents();
        --depth;
    };
    ASSERT_EQ(s.GetAsync(t, kQuery, callback), 0);
    ASSERT_EQ(s.GetAsync(t, kQuery, callback), 0);
    StepUntil(s, [&] { return calls == 2; });
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(nested, 0);
    EXPECT_EQ(maxDepth, 1);
}

TEST(Adapter, DestroyedSessionEndsOutstandingRequestsOnce) {
    SilentPort agent;
    int calls = 0, status = 0;
    {
        SnmpSession s;
        ASSERT_EQ(s.GetAsync(CommunityTarget(agent.Port()), kQuery,
                             [&](const SnmpReply& r) { ++calls, status = r.status; }),
                  0);
        ASSERT_EQ(s.GetAsync(UserTarget(agent.Port()), kQuery,
                             [&](const SnmpReply& r) { ++calls, status = r.status; }),
                  0);
    }
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(status, -8);
}

TEST(Adapter, AnnouncesNewSockets) {
    SilentPort agent;
    SnmpSession s;
    int announced = 0;
    s.SetSocketsChangedHandler([&] { ++announced; });
    const uint64_t before = s.SocketGeneration();
    EXPECT_EQ(s.Get(CommunityTarget(agent.Port()), kQuery).status, -5);
    EXPECT_EQ(announced, 0) << "SNMPv1/v2c use the shared socket";
    EXPECT_EQ(s.Sockets().size(), 1u);
    EXPECT_EQ(s.Get(UserTarget(agent.Port()), kQuery).status, -5);
    EXPECT_EQ(announced, 1);
    EXPECT_NE(s.SocketGeneration(), before);
    EXPECT_EQ(s.Sockets().size(), 2u);
    // Changed credentials get their own socket; the old one closes once idle.
    SnmpTarget changed = UserTarget(agent.Port());
    changed.authPassword = "otherauthpass";
    EXPECT_EQ(s.Get(changed, kQuery).status, -5);
    EXPECT_EQ(s.Sockets().size(), 3u);
    s.ProcessPendingEvents();
    EXPECT_EQ(s.Sockets().size(), 2u);
    EXPECT_EQ(announced, 3);
}

}  // namespace
