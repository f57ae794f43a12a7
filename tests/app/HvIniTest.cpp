#include <gtest/gtest.h>

#include <string>

#include "LaunchTestSupport.h"
#include "app/HvIni.h"

namespace {

using HvIniTest = LaunchTest;

struct IniCase {
    const char* what;
    std::string content;  // of dev.cfg; "-" for no file
    std::string key;
    std::string defaultValue;
    std::string expected;
};

TEST_F(HvIniTest, ReadsTrimmedValuesAndFallsBackToTheDefault) {
    const std::string section = "[Program Information]\r\n";
    const IniCase cases[] = {
        {"blanks around the value", section + "AgentPort=  161  \r\n", "AgentPort", "", "161"},
        {"tabs and control bytes", section + "Version=\t\x01 3 \t\r\n", "Version", "", "3"},
        {"inner blanks kept", section + "SecurityName= op er \r\n", "SecurityName", "", "op er"},
        {"missing key", section + "Version=3\r\n", "AgentPort", "dflt", "dflt"},
        {"empty value copies nothing", section + "AgentPort=\r\n", "AgentPort", "dflt", "dflt"},
        {"other section", "[Other]\r\nAgentPort=7\r\n", "AgentPort", "", ""},
        {"missing file", "-", "AgentPort", "dflt", "dflt"},
        {"high bytes unchanged", section + "SecurityName=\xff\xfe\x80\r\n", "SecurityName", "",
         "\xff\xfe\x80"},
        {"text ends at NUL", section + std::string("SecurityName=ab\0cd\r\n", 20), "SecurityName",
         "", "ab"},
    };
    for (const IniCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove("dev.cfg");
        if (c.content != "-") WriteFile("dev.cfg", c.content);
        EXPECT_EQ(HvIni("dev.cfg").ReadString("Program Information", c.key, c.defaultValue),
                  c.expected);
    }
}

TEST_F(HvIniTest, LongValueIsCutToTheBuffer) {
    WriteFile("dev.cfg",
              "[Program Information]\r\nSecurityName=" + std::string(5000, 'x') + "\r\n");
    EXPECT_EQ(HvIni("dev.cfg").ReadString("Program Information", "SecurityName", ""),
              std::string(4095, 'x'));
}

TEST_F(HvIniTest, WindowsFileNameIsConvertedWhenOpened) {
    WriteFile("Conf/MBF/10.0.0.5.cfg", "[Program Information]\r\nVersion=3\r\n");
    const HvIni ini("Conf\\MBF\\10.0.0.5.cfg");
    EXPECT_EQ(ini.FileName(), "Conf\\MBF\\10.0.0.5.cfg");
    EXPECT_EQ(ini.ReadString("Program Information", "Version", ""), "3");
}

TEST(TrimTextTest, RemovesBlanksAndControlsAtBothEnds) {
    EXPECT_EQ(TrimText(" \t\r\n a b \x1f"), "a b");
    EXPECT_EQ(TrimText("   "), "");
    EXPECT_EQ(TrimText(""), "");
    EXPECT_EQ(TrimText("\xa0x\xa0"), "\xa0x\xa0");
}

}  // namespace
