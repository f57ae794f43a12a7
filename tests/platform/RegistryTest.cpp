#include "platform/Registry.h"

#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <random>

#include "platform/Exception.h"
#include "platform/Strings.h"

namespace {

using namespace std::string_literals;

const std::string kHelpPath = "\\SOFTWARE\\Halvora\\Modules\\HelpPath";
const std::string kHelpValue = "1.3.6.1.4.1.43917.50.1.1.1";

// While alive, the process's permission checks apply to root as well (root passes them
// otherwise, so read-only files could not be tested).
class FilePermissionsApply {
public:
    FilePermissionsApply() {
        if (geteuid() != 0) return;
        if (syscall(SYS_capget, &header_, saved_) != 0) return;
        __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        dropped_ = syscall(SYS_capset, &header_, reduced) == 0;
    }
    ~FilePermissionsApply() {
        if (dropped_) syscall(SYS_capset, &header_, saved_);
    }
    bool Apply() const { return geteuid() != 0 || dropped_; }

private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2] = {};
    bool dropped_ = false;
};

class Registry : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        saved_ = qgetenv("KSV720E_REGISTRY");
        hadVariable_ = qEnvironmentVariableIsSet("KSV720E_REGISTRY");
        qputenv("KSV720E_REGISTRY", File().toLocal8Bit());
    }
    void TearDown() override {
        if (hadVariable_) {
            qputenv("KSV720E_REGISTRY", saved_);
        } else {
            qunsetenv("KSV720E_REGISTRY");
        }
        // Give a test that made the folder read-only its cleanup back.
        QFile::setPermissions(
            dir_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    QString File() const { return dir_.filePath("ksv720e.reg"); }
    void Write(const std::string& content) {
        QFile file(File());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content.data(), static_cast<qint64>(content.size()));
    }
    std::string Read() const {
        QFile file(File());
        if (!file.open(QIODevice::ReadOnly)) return "<missing>";
        return file.readAll().toStdString();
    }
    QStringList Entries() const {
        return QDir(dir_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    void MakeReadOnly() {
        ASSERT_TRUE(QFile::setPermissions(File(), QFileDevice::ReadOwner) ||
                    !QFile::exists(File()));
        ASSERT_TRUE(
            QFile::setPermissions(dir_.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    }

    QTemporaryDir dir_;
    QByteArray saved_;
    bool hadVariable_ = false;
};

const std::string kSample =
    "Windows Registry Editor Version 5.00\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Halvora\\Modules\\HelpPath]\r\n"
    "\"1.3.6.1.4.1.43917.50.1.1.1\"=\"C:\\\\Halvora\\\\help\\\\ksv0001.htm\"\r\n"
    "@=\"the default\"\r\n"
    "\"Quote\"=\"say \\\"hi\\\"\"\r\n"
    "\"Raw\"=\"C:\\Raw\\path\"\r\n"
    "\"Empty\"=\"\"\r\n"
    "\"Count\"=dword:00000010\r\n"
    "\"Bin\"=hex:01,02,\\\r\n"
    "  00,ff\r\n"
    "\"Expand\"=hex(2):25,00,00,00\r\n"
    "\"Utf8\"=\"Gr\xC3\xBC\xC3\x9F"
    "e\"\r\n"
    "\"Dup\"=\"first\"\r\n"
    "\"DUP\"=\"second\"\r\n"
    "\"Gone\"=\"x\"\r\n"
    "\"Gone\"=-\r\n"
    "\"name \\\"q\\\"\"=\"quoted name\"\r\n"
    "\r\n"
    "[hkey_local_machine\\software\\halvora\\TELLAMON5.1\\ExePath]\r\n"
    "\"Path\"=\"D:\\\\Tellamon\\\\\"\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\SOFTWARE\\Halvora\\Other]\r\n"
    "\"Path\"=\"not ours\"\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Deleted\\Sub]\r\n"
    "\"x\"=\"y\"\r\n"
    "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Deleted]\r\n"
    "\"Orphan\"=\"belongs to no key\"\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Halvora\\Modules\\HelpPath]\r\n"
    "\"Added\"=\"again\"\r\n";

TEST_F(Registry, ReadsStringsOfTheExportFormat) {
    Write(kSample);
    TRegistry reg;
    EXPECT_EQ(reg.Access(), static_cast<unsigned>(KEY_ALL_ACCESS));
    ASSERT_TRUE(reg.OpenKey("\\software\\HALVORA\\modules\\helppath", false));
    EXPECT_EQ(reg.CurrentPath(), "software\\HALVORA\\modules\\helppath");
    const struct {
        std::string name, value;
    } cases[] = {
        {kHelpValue, "C:\\Halvora\\help\\ksv0001.htm"},
        {"", "the default"},
        {"quote", "say \"hi\""},
        {"Raw", "C:\\Raw\\path"},
        {"Empty", ""},
        {"Utf8",
         "Gr\xC3\xBC\xC3\x9F"
         "e"},
        {"Dup", "second"},
        {"name \"q\"", "quoted name"},
        {"Added", "again"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(reg.ValueExists(c.name));
        EXPECT_EQ(reg.ReadString(c.name), c.value);
    }
    for (const std::string name : {"Gone", "Missing", "Path"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(reg.ValueExists(name));
        EXPECT_EQ(reg.ReadString(name), "");
    }
    for (const std::string name : {"Count", "bin", "Expand"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(reg.ValueExists(name));
        try {
            reg.ReadString(name);
            ADD_FAILURE() << "no exception";
        } catch (const ERegistryException& e) {
            EXPECT_EQ(e.Message(), "Invalid data type for '" + name + "'");
        }
    }
}

TEST_F(Registry, FindsKeysLikeWindows) {
    Write(kSample);
    TRegistry reg;
    const struct {
        std::string key;
        bool opens;
    } cases[] = {
        {"\\SOFTWARE\\Halvora\\Tellamon5.1\\ExePath", true},
        {"SOFTWARE\\Halvora\\Tellamon5.1\\ExePath\\", true},
        {"\\SOFTWARE\\\\Halvora\\Tellamon5.1\\ExePath", true},
        {"\\SOFTWARE\\Halvora", true},  // a parent of sections
        {"\\", true},                   // the root
        {"\\SOFTWARE\\Halvora\\Tellamon5.1\\MibFile", false},
        {"\\SOFTWARE\\Halvora\\Other", false},  // only under another root
        {"\\SOFTWARE\\Deleted", false},
        {"\\SOFTWARE\\Deleted\\Sub", false},
        {"\\SOFTWARE\\Halvora\\Modules\\Help", false},  // a prefix of a name is no key
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        reg.CloseKey();
        EXPECT_EQ(reg.OpenKey(c.key, false), c.opens);
    }
    EXPECT_EQ(Read(), kSample);  // opening without creation never writes

    // Relative to the open key, absolute with the backslash; a failed open keeps the key.
    ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\Halvora", false));
    ASSERT_TRUE(reg.OpenKey("Tellamon5.1\\ExePath", false));
    EXPECT_EQ(reg.ReadString("Path"), "D:\\Tellamon\\");
    EXPECT_FALSE(reg.OpenKey("\\SOFTWARE\\Halvora\\Tellamon5.1\\MibFile", false));
    EXPECT_EQ(reg.ReadString("path"), "D:\\Tellamon\\");
    reg.CloseKey();
    EXPECT_EQ(reg.CurrentPath(), "");
    EXPECT_EQ(reg.ReadString("Path"), "");
    EXPECT_FALSE(reg.ValueExists("Path"));
}

TEST_F(Registry, SkipsBrokenLines) {
    const std::string broken[] = {
        "garbage line",
        "\"Unterminated=\"abc",
        "\"Open\"=\"no closing quote",
        "\"Trailing\"=\"text\" junk",
        "\"Word\"=bogus",
        "\"NoEquals\"",
        "\"Spaces\" \"=\"x\"",
        "=",
        "@",
        "@=\"open",
        "\"Bare\"=",
        "\x01\x02\xFF\xFE\x00\x7F junk"s,
        std::string("\0\0\0", 3),
    };
    for (const std::string& line : broken) {
        SCOPED_TRACE(line);
        // Without the header and with LF line ends, too.
        Write("[HKEY_LOCAL_MACHINE\\SOFTWARE\\K]\n\"Before\"=\"1\"\n" + line +
              "\n\"After\"=\"2\"\n");
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\K", false));
        EXPECT_EQ(reg.ReadString("Before"), "1");
        EXPECT_EQ(reg.ReadString("After"), "2");
        for (const std::string name :
             {"Unterminated", "Open", "Trailing", "Word", "NoEquals", "Spaces", "Bare", ""}) {
            EXPECT_FALSE(reg.ValueExists(name)) << name;
        }
    }
}

TEST_F(Registry, ValuesUnderABrokenOrForeignSectionBelongToNoKey) {
    for (const std::string section : {"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Broken", "[]", "[-]",
                                      "[HKEY_LOCAL_MACHINE]", "[SOFTWARE\\K]"}) {
        SCOPED_TRACE(section);
        Write("[HKEY_LOCAL_MACHINE\\SOFTWARE\\K]\n\"A\"=\"1\"\n" + section + "\n\"B\"=\"2\"\n");
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\K", false));
        EXPECT_EQ(reg.ReadString("A"), "1");
        EXPECT_FALSE(reg.ValueExists("B"));
        EXPECT_FALSE(reg.OpenKey("\\SOFTWARE\\Broken", false));
        ASSERT_TRUE(reg.OpenKey("\\", false));
        EXPECT_FALSE(reg.ValueExists("B"));
    }
}

TEST_F(Registry, RandomJunkNeverCrashes) {
    std::mt19937 random(99);
    const std::string pieces[] = {"[",        "]",      "\"",   "\\",
                                  "=",        "@",      "-",    "\r\n",
                                  "\n",       "dword:", "hex:", "HKEY_LOCAL_MACHINE\\",
                                  "SOFTWARE", "K",      "\\\n"};
    for (int round = 0; round < 300; ++round) {
        std::string content;
        for (int i = static_cast<int>(random() % 200); i > 0; --i) {
            content += random() % 3 ? pieces[random() % std::size(pieces)]
                                    : std::string(1, static_cast<char>(random() % 256));
        }
        Write(content);
        TRegistry reg;
        for (const std::string key : {"\\SOFTWARE", "\\SOFTWARE\\K", "K"}) {
            if (!reg.OpenKey(key, false)) continue;
            for (const std::string name : {"", "K", "SOFTWARE"}) {
                try {
                    reg.ReadString(name);
                } catch (const ERegistryException&) {
                }
            }
        }
        ASSERT_EQ(Read(), content) << "round " << round;
    }
}

TEST_F(Registry, CreatingAKeyInAMissingFileWritesTheHeader) {
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey(kHelpPath, false));
    EXPECT_EQ(Read(), "<missing>");
    ASSERT_TRUE(reg.OpenKey(kHelpPath, true));
    EXPECT_EQ(reg.ReadString(kHelpValue), "");
    EXPECT_EQ(Read(),
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Halvora\\Modules\\HelpPath]\r\n");
    reg.CloseKey();
    EXPECT_TRUE(reg.OpenKey(kHelpPath, false));
    EXPECT_TRUE(reg.OpenKey("\\software\\halvora\\modules\\HELPPATH", true));
    EXPECT_EQ(Entries(), QStringList{"ksv720e.reg"});  // no temporary file left behind
}

TEST_F(Registry, CreatingAKeyKeepsEveryByteOfTheFile) {
    const struct {
        const char* name;
        std::string content, added;
    } cases[] = {
        {"CRLF", kSample, "\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\New\\Key]\r\n"},
        {"LF without final line end",
         "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\K]\n\"A\"=\"1\"\njunk \xFF\x00 line"s,
         "\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\New\\Key]\n"},
        {"empty file", "",
         "Windows Registry Editor Version 5.00\r\n\r\n"
         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\New\\Key]\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Write(c.content);
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\New\\Key", true));
        EXPECT_FALSE(reg.ValueExists(""));
        EXPECT_EQ(Read(), c.content + c.added);
        // Existing keys are not added again.
        ASSERT_TRUE(reg.OpenKey("\\software\\new", true));
        EXPECT_EQ(Read(), c.content + c.added);
    }
    // The values of the file still read after the rewrite.
    Write(kSample);
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\Halvora\\Tellamon5.1\\MibFile", true));
    ASSERT_TRUE(reg.OpenKey(kHelpPath, false));
    EXPECT_EQ(reg.ReadString(kHelpValue), "C:\\Halvora\\help\\ksv0001.htm");
}

TEST_F(Registry, KeyNamesWithControlCharactersAreRefused) {
    Write(kSample);
    TRegistry reg;
    for (const std::string& key :
         {"\\SOFTWARE\\X]\r\n\"Path\"=\"evil\""s, "\\SOFTWARE\\Tab\tKey"s, "\\SOFTWARE\\Nul\0"s}) {
        EXPECT_FALSE(reg.OpenKey(key, true));
    }
    EXPECT_EQ(Read(), kSample);
}

TEST_F(Registry, ReadOnlyStoreKeepsItsKeysButCannotGrow) {
    Write(kSample);
    MakeReadOnly();
    FilePermissionsApply permissions;
    if (!permissions.Apply()) GTEST_SKIP() << "file permissions cannot be made to apply";
    TRegistry reg;  // write access requested, as the module does
    ASSERT_TRUE(reg.OpenKey(kHelpPath, true));
    EXPECT_EQ(reg.ReadString(kHelpValue), "C:\\Halvora\\help\\ksv0001.htm");
    EXPECT_FALSE(reg.OpenKey("\\SOFTWARE\\Halvora\\Tellamon5.1\\MibFile", true));
    EXPECT_EQ(reg.CurrentPath(), "SOFTWARE\\Halvora\\Modules\\HelpPath");
    EXPECT_EQ(Read(), kSample);
    EXPECT_EQ(Entries(), QStringList{"ksv720e.reg"});
}

TEST_F(Registry, NoFileInAReadOnlyFolderStaysEmpty) {
    MakeReadOnly();
    FilePermissionsApply permissions;
    if (!permissions.Apply()) GTEST_SKIP() << "file permissions cannot be made to apply";
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey(kHelpPath, true));
    EXPECT_EQ(Read(), "<missing>");
}

TEST_F(Registry, UnreadableFileIsNeverOverwritten) {
    Write(kSample);
    ASSERT_TRUE(QFile::setPermissions(File(), QFileDevice::WriteOwner));
    bool opened;
    {
        FilePermissionsApply permissions;
        if (!permissions.Apply()) GTEST_SKIP() << "file permissions cannot be made to apply";
        TRegistry reg;
        EXPECT_FALSE(reg.OpenKey(kHelpPath, false));
        opened = reg.OpenKey("\\SOFTWARE\\New", true);
    }
    EXPECT_FALSE(opened);
    ASSERT_TRUE(QFile::setPermissions(File(), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    EXPECT_EQ(Read(), kSample);
}

TEST_F(Registry, FileNameComesFromTheEnvironment) {
    EXPECT_EQ(RegistryFileName(), FromQString(File()));
    qunsetenv("KSV720E_REGISTRY");
    EXPECT_EQ(RegistryFileName(), "ksv720e-registry.reg");
    qputenv("KSV720E_REGISTRY", "");
    EXPECT_EQ(RegistryFileName(), "ksv720e-registry.reg");

    // The default file lies in the current directory.
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir_.path()));
    TRegistry reg;
    const bool created = reg.OpenKey(kHelpPath, true);
    QDir::setCurrent(previous);
    EXPECT_TRUE(created);
    EXPECT_TRUE(QFile::exists(dir_.filePath("ksv720e-registry.reg")));
}

}  // namespace
