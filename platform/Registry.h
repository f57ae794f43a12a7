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
#include <string>

enum : unsigned { KEY_READ = 0x20019, KEY_WRITE = 0x20006, KEY_ALL_ACCESS = 0xF003F };

class TRegistry {
public:
    explicit TRegistry(unsigned access = KEY_ALL_ACCESS);
    ~TRegistry();

    // Keys are given as "\SOFTWARE\..." (leading backslash optional), relative to
    // HKEY_LOCAL_MACHINE, the only root the module uses. Returns false when the key
    // cannot be opened; with canCreate a missing key is added (empty) to the file.
    bool OpenKey(const std::string& key, bool canCreate);
    void CloseKey();
    // The string value of the open key; the empty text when the value is missing.
    // A value of another type (dword:, hex:...) raises ERegistryException.
    std::string ReadString(const std::string& name);
    bool ValueExists(const std::string& name);

private:
    unsigned access_;
    std::string currentKey_;
    bool open_ = false;
};

// The path of the registry file: $KSV720E_REGISTRY, else "ksv720e-registry.reg" in the
// current directory.
std::string RegistryFileName();
