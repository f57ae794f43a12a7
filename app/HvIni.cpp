#include "app/HvIni.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/IniFile.h"

namespace {
constexpr std::size_t kBufferSize = 4096;

bool IsWhiteSpace(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}
}  // namespace

HvIni::HvIni(std::string fileName) : fileName_(std::move(fileName)) {}

std::string HvIni::ReadString(const std::string& section, const std::string& key,
                              const std::string& defaultValue) const {
    std::array<char, kBufferSize> buffer{};
    std::size_t length = GetPrivateProfileStringA(section, key, defaultValue, buffer.data(),
                                                  buffer.size(), fileName_);
    if (length == 0) return defaultValue;
    // The copied text ends at the first NUL; the last byte of the buffer always stays 0.
    length = strnlen(buffer.data(), std::min(length, kBufferSize - 1));
    return TrimText(std::string(buffer.data(), length));
}

std::string TrimText(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsWhiteSpace(text[begin])) ++begin;
    while (end > begin && IsWhiteSpace(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}
