#pragma once
// HvIni: the small INI reader of the launch configuration file.
#include <string>

class HvIni {
public:
    // The file name is a Windows text; it is converted only when the file is opened.
    explicit HvIni(std::string fileName);

    // The value of key in section through GetPrivateProfileStringA with a zero-filled
    // 4096-byte buffer: defaultValue when the call copies nothing, else the copied text
    // without leading and trailing white space.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;

    const std::string& FileName() const { return fileName_; }

private:
    std::string fileName_;
};

// The text without leading and trailing blanks and control characters.
std::string TrimText(const std::string& text);
