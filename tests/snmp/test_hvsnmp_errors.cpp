// Message catalogues, message files, the status mapping and the library error.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Exception.h"
#include "snmp/HvSNMPErrors.h"

namespace {

class Catalogues : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = {CommonMessages,    SnmpStatusMessages, SnmpV3MpMessages, SnmpV3UsmMessages,
                  SnmpClassMessages, LibraryMessages,    LogTemplates};
        char pattern[] = "/tmp/hvsnmp_errors_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        CommonMessages = saved_[0];
        SnmpStatusMessages = saved_[1];
        SnmpV3MpMessages = saved_[2];
        SnmpV3UsmMessages = saved_[3];
        SnmpClassMessages = saved_[4];
        LibraryMessages = saved_[5];
        LogTemplates = saved_[6];
        std::filesystem::remove_all(dir_);
    }
    std::string Write(const std::string& name, const std::string& bytes) {
        std::string path = dir_ + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    std::vector<MessageCatalogue> saved_;
    std::string dir_;
};

TEST_F(Catalogues, CompiledInCataloguesHaveTheirSizes) {
    EXPECT_EQ(CommonMessages.size(), 26u);
    EXPECT_EQ(SnmpStatusMessages.size(), 18u);
    EXPECT_EQ(SnmpV3MpMessages.size(), 17u);
    EXPECT_EQ(SnmpV3UsmMessages.size(), 14u);
    EXPECT_EQ(SnmpClassMessages.size(), 23u);
    EXPECT_EQ(LibraryMessages.size(), 29u);
    EXPECT_EQ(LogTemplates.size(), 2u);
}

TEST_F(Catalogues, CodesAddressTheirEntries) {
    const struct {
        int32_t code;
        const char* text;
    } cases[] = {
        {0, "Ok!"},
        {-1, " Bad logic operand!"},
        {-10,
         " Please enter a delimited number string with delimiter '[DELIMITER]'.\nHere,the count "
         "of the number is equal to [COUNT]!"},
        {-14, " The source to dncrypt is not encrypted!"},
        {-25, " Please enter a valid unicast MAC address!"},
        {-101, "(SNMP) Response PDU Too Big!"},
        {-118, "(SNMP) Cannot create variable, Inconsistent Name!"},
        {-201, "(SNMPv3) Unsupported Security Model!"},
        {-217, "(SNMPv3) Report sent!"},
        {-301, "(SNMPv3USM) error!"},
        {-314, "(SNMPv3USM) Address error!"},
        {-401, "(SNMPClass) Operation failed!"},
        {-409, "(SNMPClass)Unknown error code!"},
        {-420, "(SNMP Class) Transport is not supported!"},
        {-423, "(SNMPClass) Blocked Mode Shutdown!"},
        {-501, "Fail to read SNMP variables from file([FILENAME])!"},
        {-506, "Cannot create the global HvSNMP++ session!"},
        {-509, "Invalid IP Address or DNS name!"},
        {-528, "Unknown error code!"},
        // Outside every range.
        {-26, "Unknown error code!"},
        {-119, "Unknown error code!"},
        {-529, "Unknown error code!"},
        {5, "Unknown error code!"},
    };
    for (const auto& c : cases) EXPECT_EQ(ErrorText(c.code), c.text) << "code " << c.code;
    EXPECT_EQ(CommonMessages[0], " Ok!");
    EXPECT_EQ(MessageText(LogTemplates, 1), "Set: [ERROR] Request:[VARLIST]. Receive at [TIME].");
}

TEST_F(Catalogues, MapStatusFollowsTheRanges) {
    const struct {
        int status;
        int32_t code;
        const char* text;
    } cases[] = {
        {0, 0, "Ok!"},
        {1400, 0, "Ok!"},
        {-1401, 0, "Ok!"},
        {1, -101, "(SNMP) Response PDU Too Big!"},
        {2, -102, "(SNMP) Variable does not exist!"},
        {18, -118, "(SNMP) Cannot create variable, Inconsistent Name!"},
        {19, -528, "Unknown error code!"},
        {1401, -301, "(SNMPv3USM) error!"},
        {1404, -304, "(SNMPv3USM) Unknown SecurityName!"},
        {1408, -308, "(SNMPv3USM) Authentication failure!"},
        {1413, -313, "(SNMPv3USM) Unsupported PrivProtocol!"},
        {1414, -314, "(SNMPv3USM) Address error!"},
        {1415, -528, "Unknown error code!"},
        {-1402, -201, "(SNMPv3) Unsupported Security Model!"},
        {-1417, -216, "(SNMPv3) Unknown Context!"},
        {-1418, -217, "(SNMPv3) Report sent!"},
        {-1419, -528, "Unknown error code!"},
        {-1, -401, "(SNMPClass) Operation failed!"},
        {-5, -405, "(SNMPClass) SNMP request timed out!"},
        {-18, -418, "(SNMPClass) Invalid Address!"},
        {-23, -423, "(SNMPClass) Blocked Mode Shutdown!"},
        {-24, -528, "Unknown error code!"},
        {1399, -528, "Unknown error code!"},
        {-100, -528, "Unknown error code!"},
    };
    for (const auto& c : cases) {
        MappedStatus m = MapStatus(c.status);
        EXPECT_EQ(m.code, c.code) << "status " << c.status;
        EXPECT_EQ(m.text, c.text) << "status " << c.status;
    }
}

TEST_F(Catalogues, FileReplacesCatalogueByItsNonBlankLines) {
    std::string content;
    for (int i = 1; i <= 18; ++i) {
        content += "status text " + std::to_string(i) + "\n";
        if (i == 5) content += "\n   \n";  // two blank lines between entries
    }
    LoadMessages(&SnmpStatusMessages, Write("snmp.err", content));
    ASSERT_EQ(SnmpStatusMessages.size(), 18u);
    for (int i = 1; i <= 18; ++i)
        EXPECT_EQ(ErrorText(-100 - i), "status text " + std::to_string(i));
    EXPECT_EQ(MapStatus(6).text, "status text 6");
}

TEST_F(Catalogues, BlanksStayAndOnlyTheLineEndGoes) {
    LoadMessages(&LibraryMessages,
                 Write("hvsnmp.err", "  padded  \r\nplain\n\tTabbed\t\r\nno line end"));
    ASSERT_EQ(LibraryMessages.size(), 4u);
    EXPECT_EQ(LibraryMessages[0], "  padded  ");
    EXPECT_EQ(LibraryMessages[1], "plain");
    EXPECT_EQ(LibraryMessages[2], "\tTabbed\t");
    EXPECT_EQ(LibraryMessages[3], "no line end");
    EXPECT_EQ(ErrorText(0), "  padded  ");
}

TEST_F(Catalogues, MissingOrBlankFileKeepsTheTexts) {
    const MessageCatalogue before = SnmpClassMessages;
    LoadMessages(&SnmpClassMessages, dir_ + "/no-such-file.err");
    EXPECT_EQ(SnmpClassMessages, before);
    LoadMessages(&SnmpClassMessages, Write("blank.err", "\n  \r\n\t\x01\x7f\n\r\n   "));
    EXPECT_EQ(SnmpClassMessages, before);
    LoadMessages(&SnmpClassMessages, Write("empty.err", ""));
    EXPECT_EQ(SnmpClassMessages, before);
    LoadMessages(&SnmpClassMessages, dir_);  // a directory
    EXPECT_EQ(SnmpClassMessages, before);
}

TEST_F(Catalogues, LongLineIsReadInPiecesOf1023Bytes) {
    const std::string longLine(2500, 'x');
    LoadMessages(&LogTemplates, Write("snmp.msg", longLine + "\nlast\n"));
    ASSERT_EQ(LogTemplates.size(), 4u);
    EXPECT_EQ(LogTemplates[0], std::string(1023, 'x'));
    EXPECT_EQ(LogTemplates[1], std::string(1023, 'x'));
    EXPECT_EQ(LogTemplates[2], std::string(454, 'x'));
    EXPECT_EQ(LogTemplates[3], "last");
}

TEST_F(Catalogues, BinaryGarbageNeverFails) {
    std::string garbage = "\x01\x02\n\xff\xfe text";
    garbage += std::string("\0hidden\n", 8);
    garbage += "\x80\x81\r\n";
    garbage += std::string("\0\0\0\n", 4);
    LoadMessages(&SnmpV3MpMessages, Write("snmpv3.err", garbage));
    // Each line counts up to its first NUL byte, as a C string does.
    ASSERT_EQ(SnmpV3MpMessages.size(), 2u);
    EXPECT_EQ(SnmpV3MpMessages[0], "\xff\xfe text");
    EXPECT_EQ(SnmpV3MpMessages[1], "\x80\x81");
}

TEST_F(Catalogues, ShorterFileLeavesEveryCodeAText) {
    LoadMessages(&SnmpV3UsmMessages, Write("snmpusm.err", "first\nsecond\n"));
    ASSERT_EQ(SnmpV3UsmMessages.size(), 2u);
    EXPECT_EQ(ErrorText(-301), "first");
    EXPECT_EQ(ErrorText(-302), "second");
    EXPECT_EQ(ErrorText(-303), "(SNMPv3USM) Unsupported SecurityLevel!");
    EXPECT_EQ(MapStatus(1414).text, "(SNMPv3USM) Address error!");
    LoadMessages(&LogTemplates, Write("snmp.msg", "Get only\n"));
    EXPECT_EQ(MessageText(LogTemplates, 0), "Get only");
    EXPECT_EQ(MessageText(LogTemplates, 1), "Set: [ERROR] Request:[VARLIST]. Receive at [TIME].");
}

TEST_F(Catalogues, WindowsStyleFileNameIsOpened) {
    std::filesystem::create_directory(dir_ + "/errmsg");
    Write("errmsg/common.err", " Replaced ok!\n Replaced operand!\n");
    LoadMessages(&CommonMessages, dir_ + "\\errmsg\\common.err");
    EXPECT_EQ(ErrorText(-1), " Replaced operand!");
    EXPECT_EQ(ErrorText(-2), " Bad format specifier of edit's constraint!");
}

TEST_F(Catalogues, LibraryErrorCarriesTextAndCode) {
    try {
        RaiseLibraryError(-508);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Error when saving SNMP engine boots counter!");
        EXPECT_EQ(e.HelpContext(), -508);
    }
    LoadMessages(&CommonMessages, Write("common.err", "zero\none\ntwo\n"));
    try {
        RaiseLibraryError(-2);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "two");
        EXPECT_EQ(e.HelpContext(), -2);
    }
}

}  // namespace
