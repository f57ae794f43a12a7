#pragma once
// TRegistry: the registry stand-in. HKEY_LOCAL_MACHINE lives in a text file in the
// Windows registry export format:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Halvora\Modules\HelpPath]
//   "1.3.6.1.4.1.43917.50.1.1.1"="C:\\Halvora\\help\\ksv0001.htm"
//
// The file is named by the environment variable KSV720E_REGISTRY (see RegistryFileName).
//
// Reading. The file is read as bytes (UTF-8 or any 8-bit text; UTF-16 files, as regedit
// writes them, are not supported), with LF or CRLF line ends and an optional UTF-8 byte
// order mark. Key and value names match without regard to case. A section names a key
// and, implicitly, all its parents; sections of other roots are ignored, "[-...]"
// deletes a key with its subkeys, and a section that appears twice adds to the same key.
// Values are "name"=... or @=... (the default value, read with the empty name), later
// ones replacing earlier ones, "name"=- deletes one. A value "..." is a string, in which
// \\ and \" stand for \ and " (any other backslash is taken as it is); dword:, hex: and
// hex(n): values (continued over lines ending in \) are values of other types. Lines
// that cannot be parsed (the header among them) are skipped, so a damaged file loses
// only its damaged lines. A missing file is an empty registry.
//
// Writing. The only change ever made is adding an empty key (OpenKey with canCreate):
// the file is rewritten with all its bytes kept and the new section appended, through a
// temporary file renamed over it; a missing file is created with the header. When the
// file cannot be written (or exists but cannot be read), creating fails and OpenKey
// returns false, while existing keys still open, whatever access was requested: a user
// who may only read the store keeps its keys.
#include <map>
#include <string>

enum : unsigned { KEY_READ = 0x20019, KEY_WRITE = 0x20006, KEY_ALL_ACCESS = 0xF003F };

class TRegistry {
public:
    // The access is kept for the caller's information; the stand-in never writes values,
    // and adding a key does not depend on it (as on Windows, where it is the access of
    // the opened key, not the right to create it).
    explicit TRegistry(unsigned access = KEY_ALL_ACCESS);
    ~TRegistry();

    // Keys are relative to HKEY_LOCAL_MACHINE, the only root the module uses. A key that
    // starts with "\" ("\SOFTWARE\...") is absolute; without it the key is relative to
    // the open key, if any. Returns false when the key cannot be opened (the open key, if
    // any, then stays open); with canCreate a missing key is added (empty) to the file.
    // Key names with control characters (line breaks among them) are never found or
    // created.
    bool OpenKey(const std::string& key, bool canCreate);
    void CloseKey();
    // The string value of the open key; the empty text when the value (or an open key)
    // is missing. A value of another type (dword:, hex:...) raises ERegistryException.
    std::string ReadString(const std::string& name);
    bool ValueExists(const std::string& name);
    unsigned Access() const { return access_; }
    // The open key without its root, as "SOFTWARE\Halvora\Modules"; empty when none.
    const std::string& CurrentPath() const { return currentKey_; }

    // One value as read from the file.
    struct Value {
        bool isString = false;
        std::string data;  // the text of a string value
    };

private:
    unsigned access_;
    std::string currentKey_;
    bool open_ = false;
    std::map<std::string, Value> values_;  // by case-folded name
};

// The path of the registry file, as a native file name: $KSV720E_REGISTRY when set and
// not empty, else "ksv720e-registry.reg" in the current directory.
std::string RegistryFileName();
