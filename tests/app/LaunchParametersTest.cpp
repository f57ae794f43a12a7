#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "LaunchTestSupport.h"
#include "app/LaunchParameters.h"
#include "platform/Exception.h"
#include "platform/MessageBox.h"
#include "snmp/HvSNMPErrors.h"
#include "snmp/HvSNMPSession.h"

namespace {

using ::testing::HasSubstr;
using Args = std::vector<std::string>;
using CfgKeys = std::vector<std::pair<std::string, std::string>>;

constexpr char kHelpKey[] = "SOFTWARE\\Halvora\\Modules\\HelpPath";
constexpr char kExeKey[] = "SOFTWARE\\Halvora\\Tellamon5.1\\ExePath";
constexpr char kMibKey[] = "SOFTWARE\\Halvora\\Tellamon5.1\\MibFile";

// Applies the arguments one by one as the launch does, with the .cfg files looked up in
// the current directory.
LaunchTexts Apply(const Args& args) {
    LaunchTexts texts;
    for (const std::string& a : args) ApplyArgument(a, "", texts);
    return texts;
}

// A .cfg file that converts cleanly, for SNMPv3 with the lowest codes.
CfgKeys V3Cfg() {
    return {{"AgentPort", "161"},   {"Version", "3"},      {"SecurityModel", "3"},
            {"SecurityLevel", "0"}, {"AuthProtocol", "0"}, {"PrivProtocol", "0"}};
}

CfgKeys With(CfgKeys keys, const std::string& key, const std::string& value) {
    for (auto& kv : keys)
        if (kv.first == key) {
            kv.second = value;
            return keys;
        }
    keys.emplace_back(key, value);
    return keys;
}

CfgKeys Without(CfgKeys keys, const std::string& key) {
    std::erase_if(keys, [&](const auto& kv) { return kv.first == key; });
    return keys;
}

class MessageCapture {
public:
    MessageCapture() {
        previous_ = SetMessageBoxHandler(
            [this](const std::string& text, const std::string&, unsigned flags) {
                texts.push_back(text);
                lastFlags = flags;
                return IDOK;
            });
    }
    ~MessageCapture() { SetMessageBoxHandler(previous_); }
    std::vector<std::string> texts;
    unsigned lastFlags = ~0u;

private:
    MessageBoxHandler previous_;
};

using SwitchTest = LaunchTest;

struct SwitchCase {
    Args args;
    void (*expect)();  // turns the default records into the expected ones
};

TEST_F(SwitchTest, EachSwitchSetsItsFieldAndNothingElse) {
    const SwitchCase cases[] = {
        {{"/Rpublic"}, [] { GlobalSecurity.ReadCommunity = "public"; }},
        {{"/R"}, [] { GlobalSecurity.ReadCommunity = ""; }},
        {{"/Wsecret word"}, [] { GlobalSecurity.WriteCommunity = "secret word"; }},
        {{"/R\xff\x01x"}, [] { GlobalSecurity.ReadCommunity = "\xff\x01x"; }},
        {{"/v1"}, [] { GlobalSecurity.Version = 1; }},
        {{"/v259"}, [] { GlobalSecurity.Version = 3; }},
        {{"/v-1"}, [] { GlobalSecurity.Version = 255; }},
        // Table order, not position in the argument, decides; the value runs to the end.
        {{"/Wwrite/Rread"}, [] { GlobalSecurity.ReadCommunity = "read"; }},
        {{"/Rp/Wq"}, [] { GlobalSecurity.ReadCommunity = "p/Wq"; }},
        {{"x/Rabc"}, [] { GlobalSecurity.ReadCommunity = "abc"; }},
        {{"/Ra/Rb"}, [] { GlobalSecurity.ReadCommunity = "a/Rb"; }},
        {{"/r1", "/w2", "/V1", "-R1", "R1"}, [] {}},
        // SNMPv3-only switches without SNMPv3.
        {{"/t1161", "/cctx", "/deng", "/m3", "/l3", "/nop", "/Aa", "/Pp", "/a2", "/p2"}, [] {}},
        {{"/v3", "/t1161"},
         [] {
             GlobalSecurity.Version = 3;
             GlobalDevice.Port = 1161;
         }},
        {{"/v3", "/t66697"},
         [] {
             GlobalSecurity.Version = 3;
             GlobalDevice.Port = 1161;
         }},
        {{"/v3", "/cctx"},
         [] {
             GlobalSecurity.Version = 3;
             GlobalScope.ContextName = "ctx";
         }},
        {{"/v3", "/deng"},
         [] {
             GlobalSecurity.Version = 3;
             GlobalScope.ContextEngineID = "eng";
         }},
        {{"/v3", "/m3"},
         [] {
             GlobalSecurity.Version = 3;
             GlobalSecurity.SecurityModel = 3;
         }},
        {{"/v3", "/l3"},
         [] {
             GlobalSecurity.Version = 3;
             GlobalSecurity.SecurityLevel = 3;
         }},
        {{"/v3", "/noperator"},
         [] {
             GlobalSecurity.Version = 3;
             GlobalSecurity.SecurityName = "operator";
         }},
        {{"/v3", "/Aauth pw"},
         [] {
             GlobalSecurity.Version = 3;
             GlobalSecurity.AuthPassword = "auth pw";
         }},
        {{"/v3", "/Ppriv"},
         [] {
             GlobalSecurity.Version = 3;
             GlobalSecurity.PrivPassword = "priv";
         }},
        {{"/v3", "/a2"},
         [] {
             GlobalSecurity.Version = 3;
             GlobalSecurity.AuthProtocol = 2;
         }},
        {{"/v3", "/p9"},
         [] {
             GlobalSecurity.Version = 3;
             GlobalSecurity.PrivProtocol = 9;
         }},
        {{"/v3", "/A2"},
         [] {
             GlobalSecurity.Version = 3;
             GlobalSecurity.AuthPassword = "2";
         }},
        {{"/v3", "/nname/Rr"},
         [] {
             GlobalSecurity.Version = 3;
             GlobalSecurity.ReadCommunity = "r";
         }},
        {{"/v3", "/v1", "/t5"}, [] { GlobalSecurity.Version = 1; }},
    };
    for (const SwitchCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        RestoreDefaults();
        Apply(c.args);
        const std::string actual = RecordsText();
        RestoreDefaults();
        c.expect();
        EXPECT_EQ(actual, RecordsText());
    }
}

TEST_F(SwitchTest, IntegerSwitchesRejectTextsThatAreNoIntegers) {
    const Args cases[] = {
        {"/v"},           {"/vx"},        {"/v 1"},        {"/v3", "/t"},
        {"/v3", "/m1.5"}, {"/v3", "/l "}, {"/v3", "/a2 "}, {"/v3", "/p99999999999"}};
    for (const Args& args : cases) {
        SCOPED_TRACE(::testing::PrintToString(args));
        RestoreDefaults();
        const std::string value = args.back().substr(2);
        try {
            Apply(args);
            ADD_FAILURE() << "no conversion error";
        } catch (const EConvertError& e) {
            EXPECT_THAT(e.Message(), HasSubstr("'" + value + "'"));
        }
    }
}

TEST_F(SwitchTest, AddressIsTheTextAfterTheFirstSlashI) {
    const struct {
        Args args;
        std::string address;
    } cases[] = {
        {{"/I10.1.1.7"}, "10.1.1.7"},      {{"/x/Iabc"}, "abc"},
        {{"/I10.1.1.7", "/I"}, ""},        {{"/I/Rx"}, "/Rx"},
        {{"a/I1.2.3.4/I5"}, "1.2.3.4/I5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        RestoreDefaults();
        const std::string readCommunity = GlobalSecurity.ReadCommunity;
        const LaunchTexts texts = Apply(c.args);
        EXPECT_EQ(texts.AddressText, c.address);
        EXPECT_EQ(GlobalDevice.Address, c.address);
        EXPECT_EQ(GlobalSecurity.ReadCommunity, readCommunity);
    }
    // Matching is case-sensitive: /i is no address switch.
    RestoreDefaults();
    const std::string address = GlobalDevice.Address;
    EXPECT_EQ(Apply({"/i1.2.3.4"}).AddressText, "");
    EXPECT_EQ(GlobalDevice.Address, address);
}

using CfgTest = LaunchTest;

TEST_F(CfgTest, CommunitiesWithoutCfgFileKeepVersionAndPort) {
    for (const bool withV1 : {false, true}) {
        SCOPED_TRACE(withV1 ? "with /v1" : "without /v1");
        RestoreDefaults();
        Args args = {"/I10.1.1.7", "/Rread comm", "/Wwrite-comm "};
        if (withV1) args.push_back("/v1");
        const LaunchTexts texts = Apply(args);
        EXPECT_EQ(texts.AddressText, "10.1.1.7");
        EXPECT_EQ(GlobalDevice.Address, "10.1.1.7");
        EXPECT_EQ(GlobalSecurity.Version, withV1 ? 1 : 0);
        EXPECT_EQ(GlobalDevice.Port, 161);
        EXPECT_EQ(GlobalSecurity.ReadCommunity, "read comm");
        EXPECT_EQ(GlobalSecurity.WriteCommunity, "write-comm ");
    }
}

TEST_F(CfgTest, SecurityCodesOfTheFileAreOneLess) {
    const struct {
        const char* level;
        const char* auth;
        const char* priv;
        int32_t levelCode, authCode, privCode;
    } cases[] = {
        {"2", "1", "1", 3, 2, 2},
        {"0", "0", "0", 1, 1, 1},
        {"1", "2", "8", 2, 3, 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.level) + c.auth + c.priv);
        RestoreDefaults();
        WriteCfg("10.0.0.5.cfg", {{"Version", "3"},
                                  {"SecurityLevel", c.level},
                                  {"AuthProtocol", c.auth},
                                  {"PrivProtocol", c.priv},
                                  {"SecurityModel", "3"},
                                  {"AgentPort", "161"},
                                  {"SecurityName", "operator"}});
        const LaunchTexts texts = Apply({"/I10.0.0.5", "/Rx"});
        EXPECT_EQ(texts.VersionText, "3");
        EXPECT_EQ(GlobalSecurity.Version, 3);
        EXPECT_EQ(GlobalSecurity.SecurityLevel, c.levelCode);
        EXPECT_EQ(GlobalSecurity.AuthProtocol, c.authCode);
        EXPECT_EQ(GlobalSecurity.PrivProtocol, c.privCode);
        EXPECT_EQ(GlobalSecurity.SecurityModel, 3);
        EXPECT_EQ(GlobalSecurity.SecurityName, "operator");
        EXPECT_EQ(GlobalDevice.Port, 161);
    }
}

// Switches set the three codes to 3, 3 and 9 first; the file read before the last argument
// then either leaves them (its text is "0") or replaces them by its value + 1.
TEST_F(CfgTest, OnlyTheWholeTextZeroKeepsACode) {
    const struct {
        const char* text;
        bool keeps;
        int32_t code;
    } cases[] = {
        {"0", true, 0},
        {" 0 ", true, 0},
        {"00", false, 1},
        {"+0", false, 1},
        {"1", false, 2},
        {"-1", false, 0},
        {"2147483647", false, INT_MIN},
    };
    const struct {
        const char* key;
        int32_t HvSNMPSecurity::*field;
        int32_t switchCode;
    } keys[] = {
        {"SecurityLevel", &HvSNMPSecurity::SecurityLevel, 3},
        {"AuthProtocol", &HvSNMPSecurity::AuthProtocol, 3},
        {"PrivProtocol", &HvSNMPSecurity::PrivProtocol, 9},
    };
    for (const auto& k : keys)
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(k.key) + "='" + c.text + "'");
            RestoreDefaults();
            WriteCfg("10.0.0.5.cfg", With(V3Cfg(), k.key, c.text));
            Apply({"/I10.0.0.5", "/l3", "/a3", "/p9", "/Rx"});
            EXPECT_EQ(GlobalSecurity.*k.field, c.keeps ? k.switchCode : c.code);
        }
}

TEST_F(CfgTest, FileIsReadAgainBeforeEveryArgumentButTheAddress) {
    WriteCfg("10.0.0.5.cfg", V3Cfg());
    LaunchTexts texts;
    ApplyArgument("/I10.0.0.5", "", texts);
    EXPECT_EQ(GlobalSecurity.Version, 0) << "the address argument reads no file";
    ApplyArgument("/t1161", "", texts);
    EXPECT_EQ(GlobalDevice.Port, 1161);
    EXPECT_EQ(GlobalSecurity.Version, 3);
    ApplyArgument("/noperator", "", texts);
    EXPECT_EQ(GlobalDevice.Port, 161);
    EXPECT_EQ(GlobalSecurity.SecurityName, "operator");
}

TEST_F(CfgTest, ArgumentsBeforeTheAddressReadTheFileWithoutName) {
    WriteCfg(".cfg", With(V3Cfg(), "AgentPort", "1161"));
    const LaunchTexts texts = Apply({"/Rx", "/I10.0.0.5", "/Wy"});
    EXPECT_EQ(texts.VersionText, "3");
    EXPECT_EQ(GlobalSecurity.Version, 3);
    EXPECT_EQ(GlobalDevice.Port, 1161);
    EXPECT_EQ(GlobalSecurity.WriteCommunity, "y");
}

TEST_F(CfgTest, SnmpV3ConditionIsVersionTextThreeOrVersionCodeThree) {
    const struct {
        const char* version;  // of the .cfg file; nullptr for no file
        Args before;
        bool portSet;
    } cases[] = {
        {nullptr, {"/v1"}, false}, {"1", {}, false},
        {"3", {}, true},           {"03", {}, true},  // VersionText "03", code 3
        {"259", {}, true},                            // low 8 bits: code 3
        {"2", {"/v3"}, false},  // the file is read again before /t and sets code 2
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version ? c.version : "no file");
        RestoreDefaults();
        std::filesystem::remove("10.0.0.5.cfg");
        if (c.version) WriteCfg("10.0.0.5.cfg", With(V3Cfg(), "Version", c.version));
        Args args = {"/I10.0.0.5"};
        args.insert(args.end(), c.before.begin(), c.before.end());
        args.push_back("/t1162");
        Apply(args);
        EXPECT_EQ(GlobalDevice.Port, c.portSet ? 1162 : 161);
    }

    // VersionText alone: set by the file read before the address, which names a device
    // without a file; the version code is then switched to 1.
    RestoreDefaults();
    std::filesystem::remove("10.0.0.5.cfg");
    WriteCfg(".cfg", V3Cfg());
    const LaunchTexts texts = Apply({"/Rx", "/I10.0.0.5", "/v1", "/t1162"});
    EXPECT_EQ(texts.VersionText, "3");
    EXPECT_EQ(GlobalSecurity.Version, 1);
    EXPECT_EQ(GlobalDevice.Port, 1162);
}

TEST_F(CfgTest, EmptyTextsReplaceSomeFieldsAndLeaveOthers) {
    WriteCfg("10.0.0.5.cfg", V3Cfg());
    Apply({"/I10.0.0.5", "/cctx", "/deng", "/nuser", "/Aapw", "/Pppw", "/Rx"});
    EXPECT_EQ(GlobalScope.ContextName, "ctx");
    EXPECT_EQ(GlobalScope.ContextEngineID, "");
    EXPECT_EQ(GlobalSecurity.SecurityName, "");
    EXPECT_EQ(GlobalSecurity.AuthPassword, "apw");
    EXPECT_EQ(GlobalSecurity.PrivPassword, "ppw");

    RestoreDefaults();
    CfgKeys keys = V3Cfg();
    for (const char* key :
         {"ContextName", "ContextEngineID", "SecurityName", "AuthPassword", "PrivPassword"})
        keys.emplace_back(key, std::string(" file ") + key + " ");
    WriteCfg("10.0.0.5.cfg", keys);
    Apply({"/I10.0.0.5", "/cctx", "/Aapw", "/Rx"});
    EXPECT_EQ(GlobalScope.ContextName, "file ContextName");
    EXPECT_EQ(GlobalScope.ContextEngineID, "file ContextEngineID");
    EXPECT_EQ(GlobalSecurity.SecurityName, "file SecurityName");
    EXPECT_EQ(GlobalSecurity.AuthPassword, "file AuthPassword");
    EXPECT_EQ(GlobalSecurity.PrivPassword, "file PrivPassword");
}

TEST_F(CfgTest, IntegerKeysOfAnExistingFileMustConvert) {
    const struct {
        const char* key;
        const char* value;  // nullptr: key missing
        const char* named;  // the text the message names
    } cases[] = {
        {"AgentPort", nullptr, ""},     {"AgentPort", "x161", "x161"},
        {"Version", nullptr, ""},       {"Version", "three", "three"},
        {"SecurityModel", nullptr, ""}, {"SecurityLevel", nullptr, ""},
        {"AuthProtocol", "md5", "md5"}, {"PrivProtocol", "1.0", "1.0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + (c.value ? c.value : "(missing)"));
        RestoreDefaults();
        WriteCfg("10.0.0.5.cfg", c.value ? With(V3Cfg(), c.key, c.value) : Without(V3Cfg(), c.key));
        try {
            LaunchTexts texts;
            RunLaunchSequence({"/I10.0.0.5", "/Rx"}, texts, {});
            ADD_FAILURE() << "no conversion error";
        } catch (const EConvertError& e) {
            EXPECT_THAT(e.Message(), HasSubstr(std::string("'") + c.named + "'"));
        }
    }
}

TEST_F(CfgTest, LargeIntegersKeepTheirLowBits) {
    WriteCfg("10.0.0.5.cfg", With(With(V3Cfg(), "AgentPort", "66697"), "Version", "259"));
    const LaunchTexts texts = Apply({"/I10.0.0.5", "/Rx"});
    EXPECT_EQ(GlobalDevice.Port, 1161);
    EXPECT_EQ(GlobalSecurity.Version, 3);
    EXPECT_EQ(texts.VersionText, "259");
}

TEST_F(CfgTest, GarbledFileEndsStartUpWithAConversionError) {
    // Bytes of every value, without a "Program Information" section.
    std::string noise;
    uint32_t x = 12345;
    for (int i = 0; i < 65536; ++i) {
        x = x * 1103515245u + 12345u;
        noise += static_cast<char>(x >> 24);
    }
    WriteFile("10.0.0.5.cfg", noise);
    LaunchTexts texts;
    ApplyArgument("/I10.0.0.5", "", texts);
    const std::string before = RecordsText();
    try {
        ApplyArgument("/Rx", "", texts);
        ADD_FAILURE() << "no conversion error";
    } catch (const EConvertError& e) {
        EXPECT_THAT(e.Message(), HasSubstr("''"));
    }
    EXPECT_EQ(RecordsText(), before);

    // The section is there, but a value is binary: the keys before it are applied.
    WriteFile("10.0.0.5.cfg", std::string("[Program Information]\r\nAgentPort=1161\r\n"
                                          "\xff\xfe\x00\x01garbage\r\nVersion=\x80\x81\r\n",
                                          66));
    RestoreDefaults();
    try {
        Apply({"/I10.0.0.5", "/Rx"});
        ADD_FAILURE() << "no conversion error";
    } catch (const EConvertError& e) {
        EXPECT_THAT(e.Message(), HasSubstr("'\x80\x81'"));
    }
    EXPECT_EQ(GlobalDevice.Port, 1161);
}

using HelpPathTest = LaunchTest;

TEST_F(HelpPathTest, BaseDirectoryDropsTheLastTwelveCharacters) {
    const struct {
        const char* helpPath;
        const char* base;
        const char* firstFile;
    } cases[] = {
        {"D:\\App\\Dev\\help0001.htm", "D:\\App\\Dev\\", "D:\\App\\Dev\\errmsg\\common.err"},
        {"D:\\App\\Info\\Dev0001.htm", "D:\\App\\Info", "D:\\App\\Infoerrmsg\\common.err"},
        {"xhelp0001.htm", "x", "xerrmsg\\common.err"},
        {"help0001.htm", "", "errmsg\\common.err"},
        {"a.htm", "", "errmsg\\common.err"},
        {"", "", "errmsg\\common.err"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.helpPath);
        EXPECT_EQ(MessageBaseDirectory(c.helpPath), c.base);
        EXPECT_EQ(MessageBaseDirectory(c.helpPath) + MessageFiles().front().name, c.firstFile);
    }
}

TEST_F(HelpPathTest, MessageFilesLoadIntoTheirCataloguesInOrder) {
    WriteRegistry(RegistryPath(), {{kHelpKey, kHelpPathValue, "Dev\\help0001.htm"}});
    const char* const files[] = {"common.err",    "snmp.err",   "snmpv3.err", "snmpusm.err",
                                 "snmpclass.err", "hvsnmp.err", "snmp.msg"};
    ASSERT_EQ(MessageFiles().size(), std::size(files));
    for (const char* f : files)
        WriteFile(std::string("Dev/errmsg/") + f, std::string(f) + " 1\n\n  " + f + " 2  \r\n");

    int menuCalls = 0;
    LaunchTexts texts;
    EXPECT_TRUE(RunLaunchSequence({"/Rx"}, texts, [&] { ++menuCalls; }));
    EXPECT_EQ(menuCalls, 1);
    const MessageCatalogue* const catalogues[] = {
        &CommonMessages,    &SnmpStatusMessages, &SnmpV3MpMessages, &SnmpV3UsmMessages,
        &SnmpClassMessages, &LibraryMessages,    &LogTemplates};
    for (std::size_t i = 0; i < std::size(files); ++i) {
        SCOPED_TRACE(files[i]);
        EXPECT_EQ(*catalogues[i], MessageCatalogue({std::string(files[i]) + " 1",
                                                    std::string("  ") + files[i] + " 2  "}));
    }
}

TEST_F(HelpPathTest, NoSeparatorIsAddedToTheBaseDirectory) {
    WriteRegistry(RegistryPath(), {{kHelpKey, kHelpPathValue, "Info\\Dev0001.htm"}});
    WriteFile("Infoerrmsg/common.err", "joined\n");
    WriteFile("Info/errmsg/common.err", "separated\n");
    LaunchTexts texts;
    RunLaunchSequence({"/Rx"}, texts, {});
    EXPECT_EQ(CommonMessages, MessageCatalogue{"joined"});
}

TEST_F(HelpPathTest, UnreadableHelpPathIsIgnored) {
    // The value is no string: the menu is left alone and the message files are looked up
    // relative to the current directory.
    WriteRegistry(RegistryPath(), {{kHelpKey, kHelpPathValue, "dword:00000001", false}});
    WriteFile("errmsg/snmp.msg", "get line\nset line\n");
    const MessageCatalogue common = CommonMessages;
    int menuCalls = 0;
    LaunchTexts texts;
    EXPECT_TRUE(RunLaunchSequence({"/I10.1.1.7", "/Rx"}, texts, [&] { ++menuCalls; }));
    EXPECT_EQ(menuCalls, 0);
    EXPECT_EQ(LogTemplates, MessageCatalogue({"get line", "set line"}));
    EXPECT_EQ(CommonMessages, common);
    EXPECT_EQ(GlobalSecurity.ReadCommunity, "x");
}

TEST_F(HelpPathTest, MissingKeyIsCreatedAndOpens) {
    WriteRegistry(RegistryPath(), {{kExeKey, kPathValue, "C:\\Tellamon\\"}});
    int menuCalls = 0;
    std::string helpPath = "before";
    EXPECT_TRUE(ReadHelpPath(helpPath));
    EXPECT_EQ(helpPath, "");
    LaunchTexts texts;
    RunLaunchSequence({"/Rx"}, texts, [&] { ++menuCalls; });
    EXPECT_EQ(menuCalls, 1);
    EXPECT_THAT(ReadFile(RegistryPath()),
                HasSubstr("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Halvora\\Modules\\HelpPath]"));
    EXPECT_THAT(ReadFile(RegistryPath()), HasSubstr("C:\\\\Tellamon\\\\"));
}

TEST_F(HelpPathTest, KeyThatCannotBeCreatedCountsAsAbsent) {
    // The store lies in a directory that does not exist: nothing can be added to it.
    setenv(kRegistryEnv, (Dir() / "missing" / "registry.reg").c_str(), 1);
    WriteFile("errmsg/common.err", "current directory\n");
    std::string helpPath;
    EXPECT_FALSE(ReadHelpPath(helpPath));
    EXPECT_EQ(helpPath, "");
    int menuCalls = 0;
    LaunchTexts texts;
    EXPECT_TRUE(RunLaunchSequence({"/Rx"}, texts, [&] { ++menuCalls; }));
    EXPECT_EQ(menuCalls, 0);
    EXPECT_EQ(CommonMessages, MessageCatalogue{"current directory"});
    EXPECT_FALSE(std::filesystem::exists(Dir() / "missing"));
}

using CfgDirectoryTest = LaunchTest;

TEST_F(CfgDirectoryTest, ConsoleKeysGiveTheDirectory) {
    const struct {
        const char* what;
        std::vector<RegistryValue> registry;
        const char* directory;
    } cases[] = {
        {"no keys", {}, ""},
        {"ExePath", {{kExeKey, kPathValue, "C:\\Tellamon\\"}}, "C:\\Tellamon\\..\\Conf\\MBF\\"},
        {"ExePath without Path", {{kExeKey, "", ""}}, "..\\Conf\\MBF\\"},
        {"MibFile", {{kMibKey, kPathValue, "E:\\Mib\\"}}, "E:\\Mib\\"},
        {"both",
         {{kExeKey, kPathValue, "C:\\T\\"}, {kMibKey, kPathValue, "E:\\Mib\\"}},
         "E:\\Mib\\"},
        {"MibFile without Path", {{kExeKey, kPathValue, "C:\\T\\"}, {kMibKey, "", ""}}, ""},
        {"other names", {{kExeKey, "path", "C:\\T\\"}, {kMibKey, "Dir", "E:\\"}}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteRegistry(RegistryPath(), c.registry);
        EXPECT_EQ(ReadCfgDirectory(), c.directory);
    }
}

TEST_F(CfgDirectoryTest, ValueThatIsNoStringEndsStartUp) {
    for (const char* key : {kExeKey, kMibKey}) {
        SCOPED_TRACE(key);
        WriteRegistry(RegistryPath(), {{key, kPathValue, "dword:00000010", false}});
        LaunchTexts texts;
        MessageCapture messages;
        EXPECT_THROW(RunLaunchSequence({}, texts, {}), ERegistryException);
        EXPECT_TRUE(messages.texts.empty()) << "fails before the arguments are looked at";
    }
}

TEST_F(CfgDirectoryTest, CfgFileIsFoundThroughTheConsoleKeys) {
    std::filesystem::create_directories("bin");
    WriteCfg("Conf/MBF/10.0.0.5.cfg", With(V3Cfg(), "AgentPort", "1161"));
    WriteCfg("mib/10.0.0.5.cfg", With(V3Cfg(), "AgentPort", "1162"));
    const std::string exePath = Dir().string() + "\\bin\\";

    WriteRegistry(RegistryPath(), {{kExeKey, kPathValue, exePath}});
    LaunchTexts texts;
    RunLaunchSequence({"/I10.0.0.5", "/Rx"}, texts, {});
    EXPECT_EQ(GlobalDevice.Port, 1161);

    RestoreDefaults();
    WriteRegistry(RegistryPath(), {{kExeKey, kPathValue, exePath}, {kMibKey, kPathValue, "mib\\"}});
    texts = {};
    RunLaunchSequence({"/I10.0.0.5", "/Rx"}, texts, {});
    EXPECT_EQ(GlobalDevice.Port, 1162);
}

using NoParameterTest = LaunchTest;

TEST_F(NoParameterTest, PlainMessageAfterTheRegistrySteps) {
    WriteRegistry(RegistryPath(), {{kHelpKey, kHelpPathValue, "Dev\\help0001.htm"}});
    WriteFile("Dev/errmsg/common.err", "loaded\n");
    MessageCapture messages;
    int menuCalls = 0;
    LaunchTexts texts;
    EXPECT_FALSE(RunLaunchSequence({}, texts, [&] { ++menuCalls; }));
    EXPECT_EQ(messages.texts, std::vector<std::string>{"No parameter input"});
    EXPECT_EQ(messages.lastFlags, unsigned{MB_OK});
    EXPECT_EQ(menuCalls, 1);
    EXPECT_EQ(CommonMessages, MessageCatalogue{"loaded"});
    EXPECT_EQ(texts.AddressText, "");
}

}  // namespace
