#include "platform/IniFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <random>

#include "platform/Strings.h"

namespace {

using namespace std::string_literals;

class IniFile : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    std::string Write(const std::string& content, const QString& name = "10.0.0.5.cfg") {
        QFile file(dir_.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content.data(), static_cast<qint64>(content.size()));
        return FromQString(dir_.filePath(name));
    }
    // The module's way of calling it: a zero-filled 4096-byte buffer.
    static std::pair<std::size_t, std::string> Get(const std::string& file,
                                                   const std::string& section,
                                                   const std::string& key,
                                                   const std::string& defaultValue = "") {
        std::string buffer(4096, '\0');
        const std::size_t count =
            GetPrivateProfileStringA(section, key, defaultValue, buffer.data(), 4096, file);
        EXPECT_EQ(buffer[count], '\0');
        return {count, buffer.substr(0, count)};
    }

    QTemporaryDir dir_;
};

const std::string kCfg =
    "; written by the console\r\n"
    "# another comment\r\n"
    "[Program Information]\r\n"
    "AgentPort = 161 \r\n"
    "Version=\t3\t\r\n"
    "SecurityName=\"operator\"\r\n"
    "Spaced=\"  kept  \"\r\n"
    "Single='x'\r\n"
    "Half=\"abc\r\n"
    "Mixed=\"abc'\r\n"
    "Quote=\"\r\n"
    "Empty=\r\n"
    "Dup=first\r\n"
    "DUP=second\r\n"
    ";Commented=yes\r\n"
    "  Indented  = yes\r\n"
    "NoEquals\r\n"
    "Equals=a=b\r\n"
    "[broken section line\r\n"
    "AfterBroken=still here\r\n"
    "[Other]\r\n"
    "Version=9\r\n"
    "[ program information ]\r\n"
    "Later=not merged\r\n"
    "Version=7\r\n";

TEST_F(IniFile, ReadsLikeGetPrivateProfileString) {
    const std::string file = Write(kCfg);
    const struct {
        const char* section;
        const char* key;
        const char* defaultValue;
        std::string expected;
    } cases[] = {
        {"Program Information", "AgentPort", "", "161"},
        {"PROGRAM INFORMATION", "agentport", "x", "161"},
        {"Program Information", "Version", "", "3"},
        {"Program Information", "SecurityName", "", "operator"},
        {"Program Information", "Spaced", "", "  kept  "},
        {"Program Information", "Single", "", "x"},
        {"Program Information", "Half", "", "\"abc"},
        {"Program Information", "Mixed", "", "\"abc'"},
        {"Program Information", "Quote", "", "\""},
        {"Program Information", "Empty", "dflt", ""},
        {"Program Information", "Dup", "", "first"},
        {"Program Information", "Commented", "dflt", "dflt"},
        {"Program Information", "Indented", "", "yes"},
        {"Program Information", "NoEquals", "dflt", "dflt"},
        {"Program Information", "Equals", "", "a=b"},
        {"Program Information", "AfterBroken", "", "still here"},
        {"Program Information", "Later", "dflt", "dflt"},
        {"Program Information", "Missing", "dflt \t ", "dflt"},
        {"Other", "Version", "", "9"},
        {"Missing", "Version", "dflt", "dflt"},
        {"Program", "Version", "dflt", "dflt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.key);
        const auto [count, text] = Get(file, c.section, c.key, c.defaultValue);
        EXPECT_EQ(text, c.expected);
        EXPECT_EQ(count, c.expected.size());
    }
}

TEST_F(IniFile, MissingFilesGiveTheDefault) {
    const std::string missing = FromQString(dir_.filePath("missing.cfg"));
    EXPECT_EQ(Get(missing, "Program Information", "Version", "dflt").second, "dflt");
    EXPECT_EQ(Get(missing, "Program Information", "Version").first, 0u);
    EXPECT_EQ(Get(FromQString(dir_.path()), "Program Information", "Version", "d").second, "d");
    EXPECT_EQ(Get("", "Program Information", "Version", "d").second, "d");
}

TEST_F(IniFile, LineEndsOrderMarkAndWindowsNames) {
    const std::string lf = Write("[S]\nA=1\nB = last line without end", "lf.cfg");
    EXPECT_EQ(Get(lf, "S", "A").second, "1");
    EXPECT_EQ(Get(lf, "S", "B").second, "last line without end");
    const std::string bom = Write("\xEF\xBB\xBF[S]\r\nA=1\r\n", "bom.cfg");
    EXPECT_EQ(Get(bom, "S", "A").second, "1");
    std::string windows = FromQString(dir_.filePath("lf.cfg"));
    for (char& c : windows) {
        if (c == '/') c = '\\';
    }
    EXPECT_EQ(Get(windows, "S", "A").second, "1");

    // A relative name is taken from the current directory.
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir_.path()));
    const std::string relative = Get("lf.cfg", "S", "A").second;
    QDir::setCurrent(previous);
    EXPECT_EQ(relative, "1");
}

TEST_F(IniFile, CopiesAtMostSizeMinusOne) {
    const std::string longValue(5000, 'v');
    const std::string file = Write("[S]\r\nLong=" + longValue + "\r\nShort=abc\r\n");
    const auto [count, text] = Get(file, "S", "Long");
    EXPECT_EQ(count, 4095u);
    EXPECT_EQ(text, longValue.substr(0, 4095));
    EXPECT_EQ(Get(file, "S", "Short").second, "abc");  // the line after the long one

    char small[4];
    std::memset(small, 'x', sizeof small);
    EXPECT_EQ(GetPrivateProfileStringA("S", "Short", "", small, 3, file), 2u);
    EXPECT_EQ(std::string(small, 3), "ab\0"s);
    EXPECT_EQ(small[3], 'x');
    EXPECT_EQ(GetPrivateProfileStringA("S", "Missing", "default", small, 4, file), 3u);
    EXPECT_EQ(std::string(small), "def");
    EXPECT_EQ(GetPrivateProfileStringA("S", "Short", "", small, 1, file), 0u);
    EXPECT_EQ(small[0], '\0');
    small[0] = 'x';
    EXPECT_EQ(GetPrivateProfileStringA("S", "Short", "", small, 0, file), 0u);
    EXPECT_EQ(small[0], 'x');
    EXPECT_EQ(GetPrivateProfileStringA("S", "Short", "", nullptr, 16, file), 0u);
}

TEST_F(IniFile, NulBytesAndBinaryJunk) {
    const std::string file = Write(
        "\x00\xFF[S\x00]\r\n[S]\r\nNul=ab\x00"
        "cd\r\n\x01\x02=\xFE\r\nNext=ok\r\n"s);
    const auto [count, text] = Get(file, "S", "Nul");
    EXPECT_EQ(count, 5u);
    EXPECT_EQ(text, "ab\0cd"s);
    EXPECT_EQ(Get(file, "S", "Next").second, "ok");

    std::mt19937 random(4711);
    const std::string pieces[] = {"[", "]", "=", ";", "\"", "\r\n", "\n", "S", "K", " "};
    for (int round = 0; round < 300; ++round) {
        std::string content;
        for (int i = static_cast<int>(random() % 300); i > 0; --i) {
            content += random() % 3 ? pieces[random() % std::size(pieces)]
                                    : std::string(1, static_cast<char>(random() % 256));
        }
        const std::string junk = Write(content, "junk.cfg");
        char buffer[8];
        for (const char* key : {"K", "S", ""}) {
            const std::size_t count =
                GetPrivateProfileStringA("S", key, "dflt", buffer, sizeof buffer, junk);
            ASSERT_LE(count, sizeof buffer - 1);
            ASSERT_EQ(buffer[count], '\0');
        }
    }
}

}  // namespace
