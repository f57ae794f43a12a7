#pragma once
// The launch sequence of the main window without the window: the maker's and the
// console's registry keys, the message files, the command-line switches and the
// per-device .cfg file, applied to GlobalDevice, GlobalScope and GlobalSecurity.
//
// All file names are composed as Windows texts (backslashes) and converted only when a
// file is opened. Integer fields that cannot be converted raise EConvertError naming the
// offending text; a registry value that is not a string raises ERegistryException when
// the .cfg directory is looked up. Both end start-up.
#include <functional>
#include <string>
#include <vector>

#include "snmp/HvSNMPErrors.h"

// Registry keys (under HKEY_LOCAL_MACHINE) and value names.
inline constexpr char kHelpPathKey[] = "\\SOFTWARE\\Halvora\\Modules\\HelpPath";
inline constexpr char kHelpPathValue[] = "1.3.6.1.4.1.43917.50.1.1.1";
inline constexpr char kExePathKey[] = "\\SOFTWARE\\Halvora\\Tellamon5.1\\ExePath";
inline constexpr char kMibFileKey[] = "\\SOFTWARE\\Halvora\\Tellamon5.1\\MibFile";
inline constexpr char kPathValue[] = "Path";
// Appended to the console's program directory to give the directory of the .cfg files.
inline constexpr char kCfgSubdirectory[] = "..\\Conf\\MBF\\";
inline constexpr char kCfgSection[] = "Program Information";
inline constexpr char kNoParameterText[] = "No parameter input";

// The texts of the main window that the launch sets.
struct LaunchTexts {
    std::string AddressText;  // the address given with /I; names the .cfg file
    std::string VersionText;  // "Version" as last read from the .cfg file
};

// Opens the maker's key (created when missing) and reads the help path. Returns true when
// the key opened and the value was read; every failure is swallowed, gives false and leaves
// helpPath as it was.
bool ReadHelpPath(std::string& helpPath);

// The help path without its last 12 characters; empty for 12 characters or fewer.
std::string MessageBaseDirectory(const std::string& helpPath);

struct MessageFile {
    const char* name;  // relative to the base directory
    MessageCatalogue* catalogue;
};
// The seven message files in loading order.
const std::vector<MessageFile>& MessageFiles();
// Loads each message file base directory + name into its catalogue, in order.
void LoadMessageFiles(const std::string& baseDirectory);

// The directory of the .cfg files: the console's ExePath "Path" + "..\Conf\MBF\", replaced
// completely by MibFile "Path" when that key opens; empty when neither opens.
std::string ReadCfgDirectory();

// <cfg directory> + address + ".cfg".
std::string CfgFileName(const std::string& cfgDirectory, const std::string& address);

// Reads the keys of section "Program Information" of the file and applies them in order.
void ApplyCfgFile(const std::string& fileName, LaunchTexts& texts);

// The SNMPv3-only switches are examined when VersionText is "3" or the version code is 3.
bool SnmpV3Selected(const LaunchTexts& texts);

// One command-line argument: /I sets the address; any other argument first re-reads the
// .cfg file of the address known so far (when it exists), then applies the first switch of
// the table that occurs in it. Returns false when no switch applied.
bool ApplyArgument(const std::string& argument, const std::string& cfgDirectory,
                   LaunchTexts& texts);

// The launch after the session exists: help path (calling applyDeviceMenu when the maker's
// key opens), message files, .cfg directory and the arguments (without the program name).
// Without arguments "No parameter input" is shown and false returned: the caller ends the
// application.
bool RunLaunchSequence(const std::vector<std::string>& arguments, LaunchTexts& texts,
                       const std::function<void()>& applyDeviceMenu);
