#include "app/LaunchParameters.h"

#include <cstdint>
#include <exception>

#include "app/HvIni.h"
#include "platform/Exception.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"
#include "platform/System.h"
#include "snmp/HvSNMPSession.h"

namespace {

// Integers are not range-checked: the fields keep the low bits of the converted value.
uint16_t Low16(const std::string& text) {
    return static_cast<uint16_t>(StrToInt(text));
}
uint8_t Low8(const std::string& text) {
    return static_cast<uint8_t>(StrToInt(text));
}

// The .cfg file counts security codes from 0; the module's codes start at 1. The sum wraps
// like 32-bit arithmetic instead of overflowing for the largest integer.
int32_t CodeFromCfg(const std::string& text) {
    return static_cast<int32_t>(static_cast<uint32_t>(StrToInt(text)) + 1u);
}

struct Switch {
    const char* name;
    bool snmpV3Only;
    void (*apply)(const std::string& value);
};

// In the order in which they are tested; the first one found in an argument is applied.
const Switch kSwitches[] = {
    {"/R", false, [](const std::string& v) { GlobalSecurity.ReadCommunity = v; }},
    {"/W", false, [](const std::string& v) { GlobalSecurity.WriteCommunity = v; }},
    {"/v", false, [](const std::string& v) { GlobalSecurity.Version = Low8(v); }},
    {"/t", true, [](const std::string& v) { GlobalDevice.Port = Low16(v); }},
    {"/c", true, [](const std::string& v) { GlobalScope.ContextName = v; }},
    {"/d", true, [](const std::string& v) { GlobalScope.ContextEngineID = v; }},
    {"/m", true, [](const std::string& v) { GlobalSecurity.SecurityModel = StrToInt(v); }},
    {"/l", true, [](const std::string& v) { GlobalSecurity.SecurityLevel = StrToInt(v); }},
    {"/n", true, [](const std::string& v) { GlobalSecurity.SecurityName = v; }},
    {"/A", true, [](const std::string& v) { GlobalSecurity.AuthPassword = v; }},
    {"/P", true, [](const std::string& v) { GlobalSecurity.PrivPassword = v; }},
    {"/a", true, [](const std::string& v) { GlobalSecurity.AuthProtocol = StrToInt(v); }},
    {"/p", true, [](const std::string& v) { GlobalSecurity.PrivProtocol = StrToInt(v); }},
};

constexpr char kAddressSwitch[] = "/I";

struct CfgKey {
    const char* name;
    void (*apply)(const std::string& text, LaunchTexts& texts);
};

// In the order in which they are applied.
const CfgKey kCfgKeys[] = {
    {"AgentPort", [](const std::string& t, LaunchTexts&) { GlobalDevice.Port = Low16(t); }},
    {"Version",
     [](const std::string& t, LaunchTexts& texts) {
         texts.VersionText = t;
         GlobalSecurity.Version = Low8(t);
     }},
    {"ContextName",
     [](const std::string& t, LaunchTexts&) {
         if (!t.empty()) GlobalScope.ContextName = t;
     }},
    {"ContextEngineID",
     [](const std::string& t, LaunchTexts&) { GlobalScope.ContextEngineID = t; }},
    {"SecurityModel",
     [](const std::string& t, LaunchTexts&) { GlobalSecurity.SecurityModel = StrToInt(t); }},
    {"SecurityLevel",
     [](const std::string& t, LaunchTexts&) {
         if (t != "0") GlobalSecurity.SecurityLevel = CodeFromCfg(t);
     }},
    {"SecurityName", [](const std::string& t, LaunchTexts&) { GlobalSecurity.SecurityName = t; }},
    {"AuthProtocol",
     [](const std::string& t, LaunchTexts&) {
         if (t != "0") GlobalSecurity.AuthProtocol = CodeFromCfg(t);
     }},
    {"PrivProtocol",
     [](const std::string& t, LaunchTexts&) {
         if (t != "0") GlobalSecurity.PrivProtocol = CodeFromCfg(t);
     }},
    {"AuthPassword",
     [](const std::string& t, LaunchTexts&) {
         if (!t.empty()) GlobalSecurity.AuthPassword = t;
     }},
    {"PrivPassword",
     [](const std::string& t, LaunchTexts&) {
         if (!t.empty()) GlobalSecurity.PrivPassword = t;
     }},
};

// The number of characters removed from the help path to give the base directory.
constexpr std::size_t kHelpFileNameLength = 12;

}  // namespace

bool ReadHelpPath(std::string& helpPath) {
    try {
        TRegistry registry;
        if (!registry.OpenKey(kHelpPathKey, true)) return false;
        helpPath = registry.ReadString(kHelpPathValue);
        return true;
    } catch (const std::exception&) {
        // The help path is optional: a key or value that cannot be read changes nothing.
        return false;
    }
}

std::string MessageBaseDirectory(const std::string& helpPath) {
    if (helpPath.size() <= kHelpFileNameLength) return {};
    return helpPath.substr(0, helpPath.size() - kHelpFileNameLength);
}

const std::vector<MessageFile>& MessageFiles() {
    static const std::vector<MessageFile> files = {
        {"errmsg\\common.err", &CommonMessages},       {"errmsg\\snmp.err", &SnmpStatusMessages},
        {"errmsg\\snmpv3.err", &SnmpV3MpMessages},     {"errmsg\\snmpusm.err", &SnmpV3UsmMessages},
        {"errmsg\\snmpclass.err", &SnmpClassMessages}, {"errmsg\\hvsnmp.err", &LibraryMessages},
        {"errmsg\\snmp.msg", &LogTemplates},
    };
    return files;
}

void LoadMessageFiles(const std::string& baseDirectory) {
    for (const MessageFile& file : MessageFiles())
        LoadMessages(file.catalogue, baseDirectory + file.name);
}

std::string ReadCfgDirectory() {
    std::string directory;
    TRegistry registry;
    if (registry.OpenKey(kExePathKey, false)) {
        directory = registry.ReadString(kPathValue) + kCfgSubdirectory;
        registry.CloseKey();
    }
    if (registry.OpenKey(kMibFileKey, false)) {
        directory = registry.ReadString(kPathValue);
        registry.CloseKey();
    }
    return directory;
}

std::string CfgFileName(const std::string& cfgDirectory, const std::string& address) {
    return cfgDirectory + address + ".cfg";
}

void ApplyCfgFile(const std::string& fileName, LaunchTexts& texts) {
    const HvIni ini(fileName);
    for (const CfgKey& key : kCfgKeys) key.apply(ini.ReadString(kCfgSection, key.name, ""), texts);
}

bool SnmpV3Selected(const LaunchTexts& texts) {
    return texts.VersionText == "3" || GlobalSecurity.Version == 3;
}

bool ApplyArgument(const std::string& argument, const std::string& cfgDirectory,
                   LaunchTexts& texts) {
    if (std::size_t at = argument.find(kAddressSwitch); at != std::string::npos) {
        texts.AddressText = argument.substr(at + 2);
        GlobalDevice.Address = texts.AddressText;
        return true;
    }
    // The file is read again before every argument, so its values win over earlier switches.
    const std::string cfgFile = CfgFileName(cfgDirectory, texts.AddressText);
    if (FileExists(cfgFile)) ApplyCfgFile(cfgFile, texts);

    const bool v3 = SnmpV3Selected(texts);
    for (const Switch& s : kSwitches) {
        if (s.snmpV3Only && !v3) continue;
        if (std::size_t at = argument.find(s.name); at != std::string::npos) {
            s.apply(argument.substr(at + 2));
            return true;
        }
    }
    return false;
}

bool RunLaunchSequence(const std::vector<std::string>& arguments, LaunchTexts& texts,
                       const std::function<void()>& applyDeviceMenu) {
    std::string helpPath;
    if (ReadHelpPath(helpPath) && applyDeviceMenu) {
        try {
            applyDeviceMenu();
        } catch (const std::exception&) {
            // The menu is optional like the help path: it keeps its visibility.
        }
    }
    LoadMessageFiles(MessageBaseDirectory(helpPath));
    const std::string cfgDirectory = ReadCfgDirectory();

    if (arguments.empty()) {
        ShowMessage(kNoParameterText);
        return false;
    }
    for (const std::string& argument : arguments) ApplyArgument(argument, cfgDirectory, texts);
    return true;
}
