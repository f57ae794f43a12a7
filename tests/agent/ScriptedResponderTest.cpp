#include "tests/agent/ScriptedResponder.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/agent/MiniSnmp.h"
#include "tests/agent/SnmpdAgent.h"

namespace testagent {
namespace {

const std::string kColumn = std::string(kDeviceSubtree) + ".9.1.2";
const std::string kOther = std::string(kDeviceSubtree) + ".9.1.3";

std::string Request(uint8_t pduType, long requestId) {
    Message m;
    m.pduType = pduType;
    m.requestId = requestId;
    m.bindings = {VarBind::Null(kColumn), VarBind::Null(kOther)};
    return EncodeMessage(m);
}

TEST(ScriptedResponder, RepliesAccordingToItsMode) {
    ScriptedResponder responder(ResponderMode::Normal);
    const std::string address = responder.Address();

    auto normal = Exchange(address, responder.Port(), Request(tag::kGetNextRequest, 4242), 2000);
    ASSERT_TRUE(normal);
    auto reply = DecodeMessage(*normal);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->pduType, tag::kResponse);
    EXPECT_EQ(reply->requestId, 4242);
    ASSERT_EQ(reply->bindings.size(), 2u);
    EXPECT_EQ(reply->bindings[0].oid, kColumn + ".1");
    EXPECT_EQ(reply->bindings[0].value, "value-1");
    EXPECT_EQ(reply->bindings[1].oid, kOther + ".1");

    responder.SetMode(ResponderMode::FewerBindings);
    auto fewer = DecodeMessage(
        Exchange(address, responder.Port(), Request(tag::kGetRequest, 7), 2000).value_or(""));
    ASSERT_TRUE(fewer);
    EXPECT_EQ(fewer->requestId, 7);
    ASSERT_EQ(fewer->bindings.size(), 1u);
    EXPECT_EQ(fewer->bindings[0].oid, kColumn);

    responder.SetMode(ResponderMode::WrongRequestId);
    auto wrong = DecodeMessage(
        Exchange(address, responder.Port(), Request(tag::kGetRequest, 8), 2000).value_or(""));
    ASSERT_TRUE(wrong);
    EXPECT_NE(wrong->requestId, 8);

    responder.SetMode(ResponderMode::ErrorStatus);
    responder.SetErrorStatus(2, 2);
    auto error = DecodeMessage(
        Exchange(address, responder.Port(), Request(tag::kGetRequest, 9), 2000).value_or(""));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->errorStatus, 2);
    EXPECT_EQ(error->errorIndex, 2);
    ASSERT_EQ(error->bindings.size(), 2u);
    EXPECT_EQ(error->bindings[1].oid, kOther);
    EXPECT_EQ(error->bindings[1].type, tag::kNull);

    responder.SetMode(ResponderMode::Truncated);
    auto truncated = Exchange(address, responder.Port(), Request(tag::kGetRequest, 10), 2000);
    ASSERT_TRUE(truncated);
    EXPECT_FALSE(DecodeMessage(*truncated));
    EXPECT_FALSE(PeekRequestId(truncated->substr(0, 3)));

    responder.SetMode(ResponderMode::Silent);
    const int seen = responder.RequestsSeen();
    EXPECT_FALSE(Exchange(address, responder.Port(), Request(tag::kGetRequest, 11), 300));
    EXPECT_EQ(responder.RequestsSeen(), seen + 1);
}

TEST(ScriptedResponder, NetSnmpToolsAcceptItsRepliesAndTimeOutOnSilence) {
    ScriptedResponder responder(ResponderMode::Normal);
    const std::string target = responder.Address() + ":" + std::to_string(responder.Port());
    const ToolResult ok =
        RunTool("snmpget -v2c -c public -t 1 -r 0 -On " + target + " ." + kColumn);
    EXPECT_EQ(ok.exitCode, 0) << ok.output;
    EXPECT_NE(ok.output.find("STRING: \"value-1\""), std::string::npos) << ok.output;

    responder.SetMode(ResponderMode::WrongRequestId);
    const ToolResult mismatched =
        RunTool("snmpget -v2c -c public -t 0.3 -r 0 -On " + target + " ." + kColumn);
    EXPECT_NE(mismatched.output.find("Timeout"), std::string::npos) << mismatched.output;

    responder.SetMode(ResponderMode::Silent);
    const ToolResult silent =
        RunTool("snmpget -v1 -c public -t 0.3 -r 1 -On " + target + " ." + kColumn);
    EXPECT_NE(silent.output.find("Timeout"), std::string::npos) << silent.output;
}

TEST(MiniSnmp, EncodesIntegersAndOidsLikeBer) {
    struct Case {
        long value;
        std::string bytes;
    };
    for (const Case& c :
         std::initializer_list<Case>{{0, std::string("\x00", 1)},
                                     {127, "\x7f"},
                                     {128, std::string("\x00\x80", 2)},
                                     {-1, "\xff"},
                                     {-129, "\xff\x7f"},
                                     {4000000000L, std::string("\x00\xee\x6b\x28\x00", 5)}}) {
        const VarBind vb = VarBind::Integer("1.3", c.value);
        EXPECT_EQ(ToHex(vb.value), ToHex(c.bytes)) << c.value;
        EXPECT_EQ(vb.AsInteger(), c.value);
    }
    EXPECT_EQ(ToHex(EncodeOidContent(".1.3.6.1.4.1.43917")), "2b0601040182d70d");
    EXPECT_EQ(DecodeOidContent(EncodeOidContent("1.3.6.1.4.1.43917.4294967295")).value_or(""),
              "1.3.6.1.4.1.43917.4294967295");
    EXPECT_THROW(EncodeOidContent("1.3.x"), std::invalid_argument);
    EXPECT_THROW(EncodeOidContent("1"), std::invalid_argument);
    EXPECT_FALSE(DecodeOidContent(std::string("\x2b\x86", 2)));  // unfinished arc
}

}  // namespace
}  // namespace testagent
