// The SNMP session against the real snmpd of tests/agent: SNMPv1/v2c gets and sets, SNMPv3 users
// and their failures, and asynchronous requests delivered by the timer pump.
#include <gtest/gtest.h>
#include <poll.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Exception.h"
#include "platform/MessageBox.h"
#include "snmp/HvSNMPErrors.h"
#include "snmp/HvSNMPSession.h"
#include "snmp/SnmpSession.h"
#include "tests/agent/SnmpdAgent.h"

namespace {

const std::string B = testagent::kDeviceSubtree;

SnmpVb Vb(const std::string& suffix) {
    SnmpVb vb;
    TextToOid(B + "." + suffix, vb.oid);
    return vb;
}

SnmpVb Octets(const std::string& suffix, const std::string& bytes) {
    SnmpVb vb = Vb(suffix);
    vb.SetOctets(kAsnOctetString, bytes);
    return vb;
}

const std::vector<SnmpVb> kVersionGroup = {Vb("1.0"), Vb("2.0")};

struct User {
    const char* name;
    int level;
    int auth;
    const char* authPassword;
    int priv;
    const char* privPassword;
};

const User kUsers[] = {
    {testagent::kNoAuthUser, 1, SnmpAuthProtocol::kNone, "", SnmpPrivProtocol::kNone, ""},
    {testagent::kMd5User, 2, SnmpAuthProtocol::kMd5, testagent::kMd5AuthPassword,
     SnmpPrivProtocol::kNone, ""},
    {testagent::kShaDesUser, 3, SnmpAuthProtocol::kSha, testagent::kShaDesAuthPassword,
     SnmpPrivProtocol::kDes, testagent::kShaDesPrivPassword},
    {testagent::kSha256AesUser, 3, SnmpAuthProtocol::kSha256, testagent::kSha256AesAuthPassword,
     SnmpPrivProtocol::kAes256, testagent::kSha256AesPrivPassword},
};

// Runs the event loop until done() holds; the guard only ends a test that would hang.
bool RunUntil(const std::function<bool()>& done) {
    QEventLoop loop;
    QTimer poll, guard;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (done()) loop.quit();
    });
    QObject::connect(&guard, &QTimer::timeout, [&] { loop.quit(); });
    poll.start(1);
    guard.start(30000);
    if (!done()) loop.exec();
    return done();
}

// Waits until one of the session's sockets has a datagram; true when one has.
bool DatagramWaiting(SnmpSession& s) {
    std::vector<pollfd> fds;
    for (int fd : s.Sockets()) fds.push_back(pollfd{fd, POLLIN, 0});
    return poll(fds.data(), fds.size(), 10000) > 0;
}

class SessionAgent : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        testagent::Options options;
        options.dataSets = {"device", "writable"};
        agent_ = new testagent::SnmpdAgent(options);
        try {
            agent_->Start();
        } catch (const std::exception& e) {
            failure_ = e.what();
        }
    }
    static void TearDownTestSuite() {
        delete agent_;
        agent_ = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(failure_.empty()) << failure_; }

    static SnmpTarget Community(int version, const std::string& community = "public") {
        SnmpTarget t;
        t.address = agent_->Address();
        t.port = agent_->Port();
        t.version = version;
        t.community = community;
        t.timeout = 100;
        t.retries = 1;
        return t;
    }
    static SnmpTarget UserTarget(const User& u) {
        SnmpTarget t = Community(3);
        t.securityName = u.name;
        t.securityLevel = u.level;
        t.authProtocol = u.auth;
        t.authPassword = u.authPassword;
        t.privProtocol = u.priv;
        t.privPassword = u.privPassword;
        return t;
    }

    static testagent::SnmpdAgent* agent_;
    static std::string failure_;
    SnmpSession session_;
};
testagent::SnmpdAgent* SessionAgent::agent_ = nullptr;
std::string SessionAgent::failure_;

void ExpectVersionGroup(const SnmpReply& r, const std::string& what) {
    EXPECT_EQ(r.status, 0) << what;
    const MappedStatus mapped = MapStatus(r.status);
    EXPECT_EQ(mapped.code, 0) << what;
    EXPECT_EQ(mapped.text, "Ok!") << what;
    ASSERT_EQ(r.vbs.size(), 2u) << what;
    EXPECT_EQ(r.vbs[0].oid, kVersionGroup[0].oid) << what;
    EXPECT_EQ(r.vbs[0].type, kAsnOctetString) << what;
    EXPECT_EQ(r.vbs[0].octets, "2.1.4") << what;
    EXPECT_EQ(r.vbs[1].octets, "KSV-720E FW 3.02.17") << what;
}

TEST_F(SessionAgent, CommunityGetIsAnsweredOk) {
    for (int version : {0, 1}) {
        SnmpReply r = session_.Get(Community(version), kVersionGroup);
        ExpectVersionGroup(r, "version " + std::to_string(version));
        EXPECT_EQ(r.agentAddress, "127.0.0.1");
        EXPECT_EQ(r.agentPort, agent_->Port());
    }
    SnmpTarget byName = Community(1);
    byName.address = "localhost";
    ExpectVersionGroup(session_.Get(byName, kVersionGroup), "host name");
}

TEST_F(SessionAgent, MissingObjectsPerVersion) {
    // SNMPv1: noSuchName with the request echoed; SNMPv2c: exceptions without a value.
    SnmpReply v1 = session_.Get(Community(0), {Vb("1.0"), Vb("4.0")});
    EXPECT_EQ(v1.status, 2);
    EXPECT_EQ(MapStatus(v1.status).code, -102);
    EXPECT_EQ(v1.errorIndex, 2);
    ASSERT_EQ(v1.vbs.size(), 2u);
    EXPECT_EQ(v1.vbs[1].oid, Vb("4.0").oid);

    SnmpReply v2 = session_.Get(Community(1), {Vb("1.0"), Vb("4.0")});
    EXPECT_EQ(v2.status, 0);
    ASSERT_EQ(v2.vbs.size(), 2u);
    EXPECT_EQ(v2.vbs[0].octets, "2.1.4");
    EXPECT_TRUE(v2.vbs[1].IsException()) << int(v2.vbs[1].type);

    SnmpVb pastView;
    TextToOid("1.3.6.1.4.1.43917.50.1.10.1.2", pastView.oid);
    SnmpReply end = session_.GetNext(Community(1), {pastView});
    EXPECT_EQ(end.status, 0);
    ASSERT_EQ(end.vbs.size(), 1u);
    EXPECT_EQ(end.vbs[0].type, kAsnEndOfMibView);

    SnmpReply next = session_.GetNext(Community(1), {Vb("1.0")});
    ASSERT_EQ(next.vbs.size(), 1u);
    EXPECT_EQ(next.vbs[0].oid, Vb("2.0").oid);
}

TEST_F(SessionAgent, SetWritesBytesUnchangedAndReportsAgentErrors) {
    const std::string bytes("rack\0\xff\x01 \xe4", 9);
    SnmpReply set = session_.Set(Community(1, "private"), {Octets("20.1.0", bytes)});
    EXPECT_EQ(set.status, 0);
    SnmpReply back = session_.Get(Community(1), {Vb("20.1.0")});
    ASSERT_EQ(back.vbs.size(), 1u);
    EXPECT_EQ(back.vbs[0].octets, bytes);

    SnmpVb number = Vb("20.2.0");
    number.SetInteger(-77);
    EXPECT_EQ(session_.Set(Community(0, "private"), {number}).status, 0);
    SnmpReply n = session_.Get(Community(0), {Vb("20.2.0")});
    ASSERT_EQ(n.vbs.size(), 1u);
    EXPECT_EQ(n.vbs[0].type, kAsnInteger);
    EXPECT_EQ(n.vbs[0].integer, -77);

    const struct {
        const char* what;
        SnmpTarget target;
        SnmpVb vb;
        int status;
    } errors[] = {
        {"read-only community", Community(1), Octets("20.1.0", "x"), 6},
        {"wrong type", Community(1, "private"), Octets("20.2.0", "x"), 7},
        {"not writable", Community(1, "private"), Octets("20.3.0", "x"), 17},
    };
    for (const auto& e : errors) {
        SnmpReply r = session_.Set(e.target, {e.vb});
        EXPECT_EQ(r.status, e.status) << e.what;
        EXPECT_EQ(r.errorIndex, 1) << e.what;
        EXPECT_EQ(MapStatus(r.status).code, -100 - e.status) << e.what;
    }
}

TEST_F(SessionAgent, EveryUserOfTheAgentIsServed) {
    for (const User& u : kUsers)
        ExpectVersionGroup(session_.Get(UserTarget(u), kVersionGroup), u.name);
    SnmpVb number = Vb("20.2.0");
    number.SetInteger(5150);
    EXPECT_EQ(session_.Set(UserTarget(kUsers[3]), {number}).status, 0);
    SnmpReply r = session_.Get(UserTarget(kUsers[2]), {Vb("20.2.0")});
    ASSERT_EQ(r.vbs.size(), 1u);
    EXPECT_EQ(r.vbs[0].integer, 5150);
}

TEST_F(SessionAgent, ChangedPasswordsTakeEffectAtOnce) {
    SnmpTarget right = UserTarget(kUsers[1]);
    SnmpTarget wrong = right;
    wrong.authPassword = "not-the-password";
    // Wrong first, then right, then wrong again: no cached key may win.
    EXPECT_EQ(session_.Get(wrong, kVersionGroup).status, 1408);
    ExpectVersionGroup(session_.Get(right, kVersionGroup), "right after wrong");
    SnmpReply again = session_.Get(wrong, kVersionGroup);
    EXPECT_EQ(again.status, 1408);
    EXPECT_EQ(MapStatus(again.status).code, -308);
    EXPECT_EQ(MapStatus(again.status).text, "(SNMPv3USM) Authentication failure!");
    ASSERT_EQ(again.vbs.size(), 2u);
    EXPECT_EQ(again.vbs[0].type, kAsnNull);
    // A second session meets the same cached user.
    SnmpSession other;
    ExpectVersionGroup(other.Get(right, kVersionGroup), "other session");
    EXPECT_EQ(session_.Get(wrong, kVersionGroup).status, 1408);
}

TEST_F(SessionAgent, SnmpV3FailuresHaveTheirStatus) {
    SnmpTarget unknown = UserTarget(kUsers[2]);
    unknown.securityName = "nobody";
    SnmpReply r = session_.Get(unknown, kVersionGroup);
    EXPECT_EQ(r.status, 1404);
    EXPECT_EQ(MapStatus(r.status).code, -304);

    SnmpTarget noPrivacy = UserTarget(kUsers[1]);  // md5user has no privacy key
    noPrivacy.securityLevel = 3;
    noPrivacy.privProtocol = SnmpPrivProtocol::kDes;
    noPrivacy.privPassword = "whateverpass";
    EXPECT_EQ(session_.Get(noPrivacy, kVersionGroup).status, 1403);

    // The agent drops a message it cannot decrypt: nothing answers.
    SnmpTarget wrongPrivacy = UserTarget(kUsers[2]);
    wrongPrivacy.privPassword = "wrongprivpass";
    wrongPrivacy.timeout = 20;
    EXPECT_EQ(session_.Get(wrongPrivacy, kVersionGroup).status, -5);
}

TEST_F(SessionAgent, ReportEndsAnAsynchronousRequestOnce) {
    SnmpTarget wrong = UserTarget(kUsers[3]);
    wrong.authPassword = "not-the-password";
    std::vector<int> statuses;
    int id = 0;
    ASSERT_EQ(
        session_.GetAsync(
            wrong, kVersionGroup, [&](const SnmpReply& r) { statuses.push_back(r.status); }, &id),
        0);
    for (int i = 0; i < 3000 && statuses.empty(); ++i) {
        session_.ProcessPendingEvents();
        usleep(2000);
    }
    // A request for the reply's own kind after the report: anything left over would show.
    EXPECT_EQ(session_.Get(UserTarget(kUsers[3]), kVersionGroup).status, 0);
    session_.ProcessPendingEvents();
    EXPECT_EQ(statuses, std::vector<int>{1408});
    EXPECT_EQ(session_.PendingCount(), 0);
}

// ----------------------------------------------------------------------------------------------
// The timer pump with the module-wide session

class Pump : public SessionAgent {
protected:
    static void SetUpTestSuite() {
        SessionAgent::SetUpTestSuite();
        static int argc = 1;
        static char name[] = "test_snmp_session_agent";
        static char* argv[] = {name, nullptr};
        app_ = new QCoreApplication(argc, argv);
        dir_ = std::filesystem::temp_directory_path() / ("snmp_pump_" + std::to_string(getpid()));
        std::filesystem::create_directories(dir_);
        CreateGlobalSession(dir_.string());
    }
    static void TearDownTestSuite() {
        std::filesystem::remove_all(dir_);
        SessionAgent::TearDownTestSuite();
    }
    static QCoreApplication* app_;
    static std::filesystem::path dir_;
};
QCoreApplication* Pump::app_ = nullptr;
std::filesystem::path Pump::dir_;

TEST_F(Pump, DeliversAnAsynchronousGet) {
    ASSERT_TRUE(GlobalEventProcessor.Running());
    std::vector<SnmpReply> replies;
    ASSERT_EQ(GlobalSession->GetAsync(Community(1), kVersionGroup,
                                      [&](const SnmpReply& r) { replies.push_back(r); }),
              0);
    EXPECT_TRUE(RunUntil([&] { return !replies.empty(); }));
    ASSERT_EQ(replies.size(), 1u);
    ExpectVersionGroup(replies[0], "through the pump");
}

TEST_F(Pump, HandlesRepliesAsSoonAsTheyArrive) {
    // With a timer that never fires in time only the socket watchers can deliver, also on the
    // socket that the SNMPv3 request opens.
    GlobalEventProcessor.SetInterval(3600 * 1000);
    std::vector<SnmpReply> replies;
    for (const User& u : {kUsers[2], kUsers[3]}) {
        ASSERT_EQ(GlobalSession->GetAsync(UserTarget(u), kVersionGroup,
                                          [&](const SnmpReply& r) { replies.push_back(r); }),
                  0);
    }
    EXPECT_EQ(GlobalEventProcessor.WatchedSockets(), GlobalSession->Sockets().size());
    const bool delivered = RunUntil([&] { return replies.size() == 2; });
    GlobalEventProcessor.SetInterval(20);
    EXPECT_TRUE(delivered);
    for (const SnmpReply& r : replies) ExpectVersionGroup(r, "socket watchers");
}

TEST_F(Pump, NoSecondStepWhileACallbackProcessesEvents) {
    int calls = 0;
    bool inFirst = false, nested = false;
    std::function<void(const SnmpReply&)> second = [&](const SnmpReply& r) {
        ++calls;
        nested = inFirst;
        EXPECT_EQ(r.status, 0);
    };
    auto first = [&](const SnmpReply&) {
        ++calls;
        inFirst = true;
        EXPECT_TRUE(GlobalEventProcessor.InStep());
        // The second reply arrives while this callback runs and processes events.
        ASSERT_EQ(GlobalSession->GetAsync(Community(1), kVersionGroup, second), 0);
        EXPECT_TRUE(DatagramWaiting(*GlobalSession));
        for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
        EXPECT_EQ(GlobalSession->ProcessPendingEvents(), 0);
        EXPECT_EQ(calls, 1);
        inFirst = false;
    };
    ASSERT_EQ(GlobalSession->GetAsync(Community(1), kVersionGroup, first), 0);
    EXPECT_TRUE(RunUntil([&] { return calls == 2; }));
    EXPECT_FALSE(nested);
    EXPECT_TRUE(GlobalEventProcessor.Running());
}

TEST_F(Pump, CallbackExceptionIsShownAndThePumpGoesOn) {
    std::vector<std::string> shown;
    MessageBoxHandler previous =
        SetMessageBoxHandler([&](const std::string& text, const std::string&, unsigned) {
            shown.push_back(text);
            return IDOK;
        });
    bool raised = false;
    ASSERT_EQ(GlobalSession->GetAsync(Community(1), kVersionGroup,
                                      [&](const SnmpReply&) {
                                          raised = true;
                                          RaiseLibraryError(-514);
                                      }),
              0);
    EXPECT_TRUE(RunUntil([&] { return !shown.empty(); }));
    EXPECT_TRUE(raised);
    EXPECT_EQ(shown, std::vector<std::string>{"Bad key count of SNMP variable list!"});
    std::vector<SnmpReply> replies;
    ASSERT_EQ(GlobalSession->GetAsync(Community(0), kVersionGroup,
                                      [&](const SnmpReply& r) { replies.push_back(r); }),
              0);
    EXPECT_TRUE(RunUntil([&] { return !replies.empty(); }));
    SetMessageBoxHandler(previous);
}

}  // namespace

TEST(SessionAgentRestart, SnmpV3FollowsARestartedOrReplacedAgent) {
    testagent::SnmpdAgent first;
    first.Start();
    SnmpSession session;
    SnmpTarget t;
    t.address = first.Address();
    t.port = first.Port();
    t.version = 3;
    t.securityName = kUsers[2].name;
    t.securityLevel = 3;
    t.authProtocol = kUsers[2].auth;
    t.authPassword = kUsers[2].authPassword;
    t.privProtocol = kUsers[2].priv;
    t.privPassword = kUsers[2].privPassword;
    ExpectVersionGroup(session.Get(t, kVersionGroup), "first agent");
    // Same engine, more boots: the library resends after the time-window report.
    first.Restart();
    ExpectVersionGroup(session.Get(t, kVersionGroup), "restarted agent");
    // Another engine on the same port drops requests for the old engine ID; after that
    // timeout the session discovers the new one.
    first.Stop();
    testagent::Options options;
    options.port = t.port;
    testagent::SnmpdAgent second(options);
    second.Start();
    t.timeout = 20;
    EXPECT_EQ(session.Get(t, kVersionGroup).status, -5);
    ExpectVersionGroup(session.Get(t, kVersionGroup), "replaced agent");
}

TEST(SessionAgentHuge, SixtyKilobyteValuesArriveWhole) {
    testagent::Options options;
    options.dataSets = {"device", "faulty"};
    testagent::SnmpdAgent agent(options);
    agent.Start();
    SnmpSession session;
    SnmpTarget t;
    t.address = agent.Address();
    t.port = agent.Port();
    t.version = 1;
    t.community = "public";
    SnmpReply r = session.Get(t, {Vb("41.1.0")});
    ASSERT_EQ(r.status, 0);
    ASSERT_EQ(r.vbs.size(), 1u);
    EXPECT_EQ(r.vbs[0].octets, testagent::HugeTextValue());
    // Encrypted as well.
    t.version = 3;
    t.securityName = kUsers[3].name;
    t.securityLevel = 3;
    t.authProtocol = kUsers[3].auth;
    t.authPassword = kUsers[3].authPassword;
    t.privProtocol = kUsers[3].priv;
    t.privPassword = kUsers[3].privPassword;
    SnmpReply v3 = session.Get(t, {Vb("41.2.0")});
    ASSERT_EQ(v3.status, 0);
    ASSERT_EQ(v3.vbs.size(), 1u);
    EXPECT_EQ(v3.vbs[0].octets, testagent::HugeBinaryValue());
}
