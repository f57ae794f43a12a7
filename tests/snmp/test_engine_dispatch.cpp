// The request dispatch of a window's binding against the real snmpd: the notifications in
// order, the request log line in the three kinds of message control, the stop notice of a
// walk the window stops, message boxes through the seam, row filters and caught exceptions.
#include <gtest/gtest.h>
#include <poll.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/Exception.h"
#include "platform/MessageBox.h"
#include "snmp/HvSNMPRequest2Controls.h"
#include "tests/agent/ScriptedResponder.h"
#include "tests/snmp/engine_test_util.h"

namespace enginetest {
namespace {

using testagent::ResponderMode;
using testagent::ScriptedResponder;
using testagent::SnmpdAgent;

const char kTitle[] = "KSV-720E Module";

std::string FixedTime() {
    return "14:03:07";
}

// A binding that records its notifications and the rows it receives.
class Recorder : public HvSNMPRequest2Controls {
public:
    Recorder() : HvSNMPRequest2Controls(nullptr) {}
    void BeforeGet() override { events.push_back("BeforeGet"); }
    void BeforeSet() override { events.push_back("BeforeSet"); }
    void RowReceived() override {
        events.push_back("RowReceived");
        rows.push_back(Values(request.List()));
        if (throwAtRow == static_cast<int>(rows.size())) throw Exception("Row refused!", -1);
        if (onRow) onRow();
    }
    void CollectValues() override { events.push_back("CollectValues"); }
    void AfterGet() override { events.push_back("AfterGet"); }
    void AfterSet() override { events.push_back("AfterSet"); }

    std::vector<std::string> events;
    std::vector<Row> rows;
    int throwAtRow = 0;
    std::function<void()> onRow;
};

class Sink : public HvMessageSink {
public:
    explicit Sink(Kind kind = Kind::Memo) : kind_(kind) {}
    Kind MessageKind() const override { return kind_; }
    void AppendLine(const std::string& line) override { lines.push_back("memo:" + line); }
    void SetSimpleText(const std::string& text) override { lines.push_back("bar:" + text); }
    void SetText(const std::string& text) override { lines.push_back("panel:" + text); }
    std::vector<std::string> lines;

private:
    Kind kind_;
};

class Dispatch : public ::testing::Test {
protected:
    void SetUp() override {
        StartModule();
        SetApplicationTitle(kTitle);
        previousClock_ = SetLogClock(&FixedTime);
        previousBoxes_ = SetMessageBoxHandler(
            [this](const std::string& text, const std::string& caption, unsigned) {
                boxes.push_back(caption + "|" + text);
                return IDOK;
            });
    }
    void TearDown() override {
        SetLogClock(previousClock_);
        SetMessageBoxHandler(previousBoxes_);
    }
    // Waits (through the pump) until the binding is no longer active.
    static bool WaitInactive(const HvSNMPRequest2Controls& b) {
        return PumpUntil([&] { return !b.active && b.request.pending == 0; });
    }

    std::vector<std::string> boxes;

private:
    HvLogClock previousClock_ = nullptr;
    MessageBoxHandler previousBoxes_;
};

TEST_F(Dispatch, LogLineNamesTheListAndGoesToEachKindOfControl) {
    SnmpdAgent agent(DataSets({"device"}));
    agent.Start();
    UseAgent(agent, V2c());
    struct Case {
        const char* listName;
        HvMessageSink::Kind kind;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"Disks", HvMessageSink::Kind::Memo, {"memo:Get: Ok! Request:Disks. Receive at 14:03:07."}},
        {"", HvMessageSink::Kind::Memo, {"memo:Get: Ok! Receive at 14:03:07."}},
        {"", HvMessageSink::Kind::StatusBar, {"bar:Get: Ok! Receive at 14:03:07."}},
        {"Disks",
         HvMessageSink::Kind::StatusPanel,
         {"panel:Get: Ok! Request:Disks. Receive at 14:03:07."}},
        {"Disks", HvMessageSink::Kind::Other, {}},
    };
    for (const Case& c : cases) {
        for (uint8_t mode : {0, 1}) {
            SCOPED_TRACE(std::string(c.listName) + " kind " +
                         std::to_string(static_cast<int>(c.kind)) + " mode " +
                         std::to_string(mode));
            Recorder binding;
            Sink sink(c.kind);
            binding.SetMessageControl(&sink);
            binding.mode = mode;
            HvSNMPVarList list(DiskInfoVars, MVT_FMV, 1);
            list.Name = c.listName;
            binding.request.SetList(list);
            EXPECT_TRUE(binding.StartGet());
            ASSERT_TRUE(WaitInactive(binding));
            EXPECT_EQ(sink.lines, c.lines);
            EXPECT_EQ(binding.rowCount, 4);
        }
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Dispatch, AsynchronousWalkNotifiesInOrder) {
    SnmpdAgent agent(DataSets({"device"}));
    agent.Start();
    UseAgent(agent, V2c());
    Recorder binding;
    Sink sink;
    binding.SetMessageControl(&sink);
    binding.request.SetList(HvSNMPVarList(VolumeInfoVars, MVT_FMV, 1));
    EXPECT_TRUE(binding.StartGet());
    EXPECT_TRUE(binding.active);
    ASSERT_TRUE(WaitInactive(binding));
    EXPECT_EQ(binding.events, (std::vector<std::string>{"BeforeGet", "RowReceived", "RowReceived",
                                                        "RowReceived", "AfterGet"}));
    EXPECT_EQ(binding.rows, ExpectedTable(DataFileValues("device"), 9));
    EXPECT_EQ(binding.rowCount, 3);
    EXPECT_EQ(sink.lines, (std::vector<std::string>{"memo:Get: Ok! Receive at 14:03:07."}));
}

// Steps the session by hand, so that the test acts between two replies.
bool StepUntil(const std::function<bool()>& done) {
    const uint32_t start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > 20000) return false;
        std::vector<pollfd> fds;
        for (int socket : GlobalSession->Sockets()) fds.push_back({socket, POLLIN, 0});
        poll(fds.data(), fds.size(), 20);
        GlobalSession->ProcessPendingEvents();
    }
    return true;
}

TEST_F(Dispatch, StoppingAWalkDeliversTheOutstandingRowAndTheStopNotice) {
    SnmpdAgent agent(DataSets({"device"}));
    agent.Start();
    UseAgent(agent, V2c());
    GlobalEventProcessor.Stop();
    Recorder binding;
    Sink sink;
    binding.SetMessageControl(&sink);
    binding.request.SetList(HvSNMPVarList(VolumeInfoVars, MVT_FMV, 1));
    EXPECT_TRUE(binding.StartGet());
    // Row 1 arrives; the request for row 2 goes out from inside that reply.
    ASSERT_TRUE(StepUntil([&] { return binding.rowCount == 1; }));
    ASSERT_EQ(binding.request.pending, 1);
    binding.request.enabled = false;
    ASSERT_TRUE(StepUntil([&] { return !binding.active; }));
    GlobalEventProcessor.Start();
    EXPECT_EQ(binding.events,
              (std::vector<std::string>{"BeforeGet", "RowReceived", "RowReceived", "AfterGet"}));
    EXPECT_EQ(binding.rowCount, 2);
    EXPECT_EQ(binding.request.pending, 0);  // the third row was never asked for
    EXPECT_EQ(sink.lines, (std::vector<std::string>{
                              "memo:Get: Stop, SNMP Request is not active. Receive at 14:03:07."}));
    // A stopped request sends nothing more.
    EXPECT_TRUE(binding.StartGet());
    EXPECT_FALSE(binding.active);
    EXPECT_EQ(binding.request.pending, 0);
}

TEST_F(Dispatch, AsynchronousTimeoutWithoutMessageControlShowsAMessageBox) {
    ScriptedResponder responder(ResponderMode::Silent);
    UseAgent(responder.Address(), responder.Port(), V2c());
    DefaultTimeout = 20;
    Recorder binding;
    binding.request.retries = 0;
    binding.request.SetList(HvSNMPVarList(DiskInfoVars, MVT_FMV, 1));
    EXPECT_TRUE(binding.StartGet());
    ASSERT_TRUE(WaitInactive(binding));
    EXPECT_EQ(boxes, (std::vector<std::string>{std::string(kTitle) +
                                               "|(SNMPClass) SNMP request timed out!"}));
    EXPECT_EQ(binding.events, (std::vector<std::string>{"BeforeGet"}));  // no AfterGet
}

TEST_F(Dispatch, SetOutcomesGoToTheLogOrAMessageBox) {
    SnmpdAgent agent(DataSets({"device", "writable"}));
    agent.Start();
    UseAgent(agent, V2c());
    struct Case {
        const char* name;
        uint8_t mode;
        bool sink;
        const char* oid;  // B.20.<oid>
        std::vector<std::string> events;
        std::vector<std::string> lines;
        std::vector<std::string> boxes;
    };
    const std::string title = kTitle;
    const std::string notWritable = "(SNMP) Cannot create/set variable, Not Writable!";
    const std::vector<Case> cases = {
        {"sync ok, no control", 0, false, "1", {"BeforeSet", "AfterSet"}, {}, {}},
        {"sync ok, control",
         0,
         true,
         "1",
         {"BeforeSet", "AfterSet"},
         {"memo:Set: Ok! Receive at 14:03:07."},
         {}},
        {"sync refused, control",
         0,
         true,
         "3",
         {"BeforeSet", "AfterSet"},
         {},
         {title + "|" + notWritable}},
        {"async ok, no control", 1, false, "1", {"BeforeSet", "AfterSet"}, {}, {title + "|Ok!"}},
        {"async ok, control",
         1,
         true,
         "1",
         {"BeforeSet", "AfterSet"},
         {"memo:Set: Ok! Receive at 14:03:07."},
         {}},
        {"async refused, control", 1, true, "3", {"BeforeSet"}, {}, {title + "|" + notWritable}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        boxes.clear();
        Recorder binding;
        Sink sink;
        if (c.sink) binding.SetMessageControl(&sink);
        binding.mode = c.mode;
        const std::string oid = B + ".20." + c.oid;
        const std::vector<SnmpVarDef> defs = {
            {oid.c_str(), "Value", SYNTAX_DISPLAYSTR, ACCESS_READWRITE, nullptr, nullptr, nullptr,
             nullptr, "new value", nullptr},
            {}};
        binding.request.SetList(HvSNMPVarList(defs.data(), SVT_SV, 0));
        // A synchronous set returns its outcome; an asynchronous one whether it was sent.
        const bool refused = std::string(c.oid) == "3";
        EXPECT_EQ(binding.StartSet(false, false, "", nullptr), c.mode == 1 || !refused);
        ASSERT_TRUE(WaitInactive(binding));
        EXPECT_EQ(binding.events, c.events);
        EXPECT_EQ(sink.lines, c.lines);
        EXPECT_EQ(boxes, c.boxes);
    }
}

TEST_F(Dispatch, SynchronousSetWithoutMessageControlDoesNotRefresh) {
    SnmpdAgent agent(DataSets({"device", "writable"}));
    agent.Start();
    UseAgent(agent, V2c());
    const std::string entry = B + ".20.4.1";
    const std::vector<SnmpVarDef> defs = {{"", "Index", SYNTAX_INTEGER, ACCESS_NOTACCESS, nullptr,
                                           nullptr, nullptr, nullptr, "2", nullptr},
                                          {"", "Name", SYNTAX_DISPLAYSTR, ACCESS_READWRITE, nullptr,
                                           nullptr, nullptr, nullptr, "eth7", nullptr},
                                          {}};
    const std::string index = entry + ".1", name = entry + ".2";
    std::vector<SnmpVarDef> named = defs;
    named[0].oid = index.c_str();
    named[1].oid = name.c_str();
    for (bool control : {false, true}) {
        SCOPED_TRACE(control ? "control" : "no control");
        Recorder binding;
        Sink sink;
        if (control) binding.SetMessageControl(&sink);
        binding.mode = 0;
        binding.request.SetList(HvSNMPVarList(named.data(), MVT_FMV, 1));
        EXPECT_TRUE(binding.StartSet(true, true, "", nullptr));
        // With a message control the table is read again at once (in the binding's mode).
        std::vector<std::string> expected = {"BeforeSet", "CollectValues", "AfterSet"};
        if (control) {
            expected.insert(expected.end(),
                            {"BeforeGet", "RowReceived", "RowReceived", "RowReceived", "AfterGet"});
        }
        EXPECT_EQ(binding.events, expected);
        if (control) {
            EXPECT_EQ(binding.rows.at(1), (Row{"2", "eth7"}));
        }
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Dispatch, FilterTakesTheParentRequestsValues) {
    SnmpdAgent agent(DataSets({"device"}));
    agent.Start();
    UseAgent(agent, V2c());
    const std::string vendor = B + ".10.1.2", model = B + ".10.1.3";
    const std::vector<SnmpVarDef> defs = {
        {vendor.c_str(), "Vendor", SYNTAX_DISPLAYSTR, ACCESS_READONLY, nullptr, nullptr, nullptr,
         nullptr, nullptr, nullptr},
        {model.c_str(), "Model", SYNTAX_DISPLAYSTR, ACCESS_READONLY, nullptr, nullptr, nullptr,
         nullptr, nullptr, nullptr},
        {}};
    HvSNMPRequest parent;
    parent.SetList(HvSNMPVarList(defs.data(), SVT_SV, 0));
    parent.List().Item(1).value = "Seagate";
    for (bool withParent : {true, false}) {
        for (uint8_t mode : {0, 1}) {
            SCOPED_TRACE(std::string(withParent ? "parent" : "no parent") + " mode " +
                         std::to_string(mode));
            Recorder binding;
            binding.mode = mode;
            binding.filter = "$0=#1";
            if (withParent) binding.parentRequest = &parent;
            binding.request.SetList(HvSNMPVarList(defs.data(), MVT_FMV, 0));
            EXPECT_TRUE(binding.StartGet());
            ASSERT_TRUE(WaitInactive(binding));
            if (withParent) {
                EXPECT_EQ(binding.rowCount, 2);
                ASSERT_EQ(binding.rows.size(), 2u);
                for (const Row& r : binding.rows) EXPECT_EQ(r.at(0), "Seagate");
            } else {
                EXPECT_EQ(binding.rowCount, 4);
            }
        }
    }
}

TEST_F(Dispatch, ExceptionInARowEndsTheWalkWithItsMessage) {
    SnmpdAgent agent(DataSets({"device"}));
    agent.Start();
    UseAgent(agent, V2c());
    for (bool control : {true, false}) {
        SCOPED_TRACE(control ? "control" : "no control");
        boxes.clear();
        Recorder binding;
        Sink sink;
        if (control) binding.SetMessageControl(&sink);
        binding.throwAtRow = 2;
        binding.request.SetList(HvSNMPVarList(DiskInfoVars, MVT_FMV, 1));
        EXPECT_TRUE(binding.StartGet());
        ASSERT_TRUE(WaitInactive(binding));
        EXPECT_EQ(binding.rows.size(), 2u);
        if (control) {
            EXPECT_EQ(sink.lines,
                      (std::vector<std::string>{"memo:Get: Row refused! Receive at 14:03:07."}));
            EXPECT_TRUE(boxes.empty());
        } else {
            EXPECT_EQ(boxes, (std::vector<std::string>{std::string(kTitle) + "|Row refused!"}));
        }
    }
    // Synchronously the exception reaches the caller, with its code.
    Recorder binding;
    binding.mode = 0;
    binding.throwAtRow = 1;
    binding.request.SetList(HvSNMPVarList(DiskInfoVars, MVT_FMV, 1));
    try {
        binding.StartGet();
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Row refused!");
        EXPECT_EQ(e.HelpContext(), -1);
    }
    EXPECT_FALSE(binding.active);
}

TEST_F(Dispatch, WalkWhoseNextRequestCannotBeSentSaysWhy) {
    SnmpdAgent agent(DataSets({"device"}));
    agent.Start();
    UseAgent(agent, V2c());
    Recorder binding;
    Sink sink;
    binding.SetMessageControl(&sink);
    binding.request.SetList(HvSNMPVarList(DiskInfoVars, MVT_FMV, 1));
    // After the first row the request asks for a version the session refuses before sending.
    binding.onRow = [&] { binding.request.security.Version = 7; };
    EXPECT_TRUE(binding.StartGet());
    ASSERT_TRUE(WaitInactive(binding));
    EXPECT_EQ(binding.rows.size(), 1u);
    EXPECT_EQ(
        sink.lines,
        (std::vector<std::string>{"memo:Get: (SNMPClass) Invalid Target! Receive at 14:03:07."}));
    EXPECT_EQ(binding.events, (std::vector<std::string>{"BeforeGet", "RowReceived"}));
}

TEST_F(Dispatch, SnmpV1EndOfViewEndsTheWalkWithOk) {
    SnmpdAgent agent(DataSets({"device"}));
    agent.Start();
    UseAgent(agent, V1());
    for (uint8_t mode : {0, 1}) {
        SCOPED_TRACE(mode);
        Recorder binding;
        Sink sink;
        binding.SetMessageControl(&sink);
        binding.mode = mode;
        binding.request.SetList(HvSNMPVarList(UpsInfoVars, MVT_FMV, 1));
        EXPECT_TRUE(binding.StartGet());
        ASSERT_TRUE(WaitInactive(binding));
        EXPECT_EQ(binding.rowCount, 2);
        EXPECT_EQ(sink.lines, (std::vector<std::string>{"memo:Get: Ok! Receive at 14:03:07."}));
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Dispatch, StartGetOfAStoppedRequestSendsNothing) {
    ScriptedResponder responder(ResponderMode::Normal);
    UseAgent(responder.Address(), responder.Port(), V2c());
    Recorder binding;
    binding.request.SetList(HvSNMPVarList(AgentVersionVars, SVT_SV, 0));
    binding.request.enabled = false;
    EXPECT_TRUE(binding.StartGet());
    EXPECT_FALSE(binding.active);
    EXPECT_EQ(binding.request.pending, 0);
    EXPECT_EQ(GlobalSession->PendingCount(), 0);
    EXPECT_EQ(responder.RequestsSeen(), 0);
    EXPECT_EQ(binding.events, (std::vector<std::string>{"BeforeGet"}));
}

}  // namespace
}  // namespace enginetest
