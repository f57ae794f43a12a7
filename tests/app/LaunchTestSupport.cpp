#include "LaunchTestSupport.h"

#include <QCoreApplication>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include "app/LaunchParameters.h"
#include "snmp/HvSNMPErrors.h"
#include "snmp/HvSNMPSession.h"

namespace fs = std::filesystem;

namespace {

struct Defaults {
    HvSNMPDevice device;
    HvSNMPScope scope;
    HvSNMPSecurity security;
    std::vector<MessageCatalogue> catalogues;
};

Defaults& SavedDefaults() {
    static Defaults defaults;
    return defaults;
}

void SnapshotDefaults() {
    Defaults& d = SavedDefaults();
    d.device = GlobalDevice;
    d.scope = GlobalScope;
    d.security = GlobalSecurity;
    d.catalogues.clear();
    for (const MessageFile& file : MessageFiles()) d.catalogues.push_back(*file.catalogue);
}

std::string EscapeRegistryString(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        if (c == '\\' || c == '"') escaped += '\\';
        escaped += c;
    }
    return escaped;
}

// The session is created once per process, in a directory of its own, like the main
// window does at start-up; each test then starts from the defaults it wrote.
class SessionEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "launch-tests";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QCoreApplication>(argc, argv);
        char pattern[] = "/tmp/ksv-launch-session-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        sessionDir_ = pattern;
        const fs::path previous = fs::current_path();
        fs::current_path(sessionDir_);
        setenv(kRegistryEnv, (sessionDir_ / "registry.reg").c_str(), 1);
        CreateGlobalSession("");
        fs::current_path(previous);
        SnapshotDefaults();
    }
    void TearDown() override {
        // Before static destruction, while Qt's own statics still exist.
        app_.reset();
        std::error_code ignored;
        fs::remove_all(sessionDir_, ignored);
    }

private:
    std::unique_ptr<QCoreApplication> app_;
    fs::path sessionDir_;
};

[[maybe_unused]] const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new SessionEnvironment);

}  // namespace

void LaunchTest::SetUp() {
    char pattern[] = "/tmp/ksv-launch-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    previousDir_ = fs::current_path();
    fs::current_path(dir_);
    setenv(kRegistryEnv, RegistryPath().c_str(), 1);
    RestoreDefaults();
}

void RestoreDefaults() {
    const Defaults& d = SavedDefaults();
    GlobalDevice = d.device;
    GlobalScope = d.scope;
    GlobalSecurity = d.security;
    for (std::size_t i = 0; i < MessageFiles().size() && i < d.catalogues.size(); ++i)
        *MessageFiles()[i].catalogue = d.catalogues[i];
}

void LaunchTest::TearDown() {
    fs::current_path(previousDir_);
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    if (path.has_parent_path()) fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    ASSERT_TRUE(out.good()) << path;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteRegistry(const fs::path& path, const std::vector<RegistryValue>& values) {
    std::string text = "Windows Registry Editor Version 5.00\r\n";
    std::string currentKey;
    for (const RegistryValue& v : values) {
        if (v.key != currentKey) {
            text += "\r\n[HKEY_LOCAL_MACHINE\\" + v.key + "]\r\n";
            currentKey = v.key;
        }
        if (v.name.empty()) continue;  // a key without values
        text += "\"" + EscapeRegistryString(v.name) + "\"=";
        text += v.isString ? "\"" + EscapeRegistryString(v.data) + "\"" : v.data;
        text += "\r\n";
    }
    WriteFile(path, text);
}

void WriteCfg(const fs::path& path, const std::vector<std::pair<std::string, std::string>>& keys) {
    std::string text = "[Program Information]\r\n";
    for (const auto& [key, value] : keys) text += key + "=" + value + "\r\n";
    WriteFile(path, text);
}

std::string RecordsText() {
    std::ostringstream s;
    const HvSNMPSecurity& sec = GlobalSecurity;
    s << "Address=" << GlobalDevice.Address << " Port=" << GlobalDevice.Port
      << " ContextEngineID=" << GlobalScope.ContextEngineID
      << " ContextName=" << GlobalScope.ContextName << " Version=" << int(sec.Version)
      << " ReadCommunity=" << sec.ReadCommunity << " WriteCommunity=" << sec.WriteCommunity
      << " SecurityModel=" << sec.SecurityModel << " SecurityLevel=" << sec.SecurityLevel
      << " SecurityName=" << sec.SecurityName << " AuthPassword=" << sec.AuthPassword
      << " PrivPassword=" << sec.PrivPassword << " AuthProtocol=" << sec.AuthProtocol
      << " PrivProtocol=" << sec.PrivProtocol;
    return s.str();
}
