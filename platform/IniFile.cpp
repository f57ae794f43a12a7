#include "platform/IniFile.h"

#include <QFile>
#include <algorithm>
#include <cstring>
#include <optional>

#include "platform/Strings.h"
#include "platform/System.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string Trimmed(const std::string& text, std::size_t begin, std::size_t end) {
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

std::string Fold(const std::string& text) {
    return FromQString(ToQString(text).toCaseFolded());
}

// The value of key in the first section named section, or nothing when either is missing.
std::optional<std::string> FindValue(const std::string& content, const std::string& section,
                                     const std::string& key) {
    const std::string wantedSection = Fold(Trimmed(section, 0, section.size()));
    const std::string wantedKey = Fold(Trimmed(key, 0, key.size()));
    bool inSection = false;
    // A UTF-8 byte order mark, as editors may write one, is not part of the first line.
    for (std::size_t start = content.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
         start < content.size();) {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos) end = content.size();
        const bool crlf = end > start && content[end - 1] == '\r';
        const std::string line = Trimmed(content, start, crlf ? end - 1 : end);
        start = end + 1;
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        const std::size_t close = line.front() == '[' ? line.rfind(']') : std::string::npos;
        if (close != std::string::npos) {
            if (inSection) return std::nullopt;  // only the first matching section counts
            inSection = Fold(Trimmed(line, 1, close)) == wantedSection;
            continue;
        }
        if (!inSection) continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos || Fold(Trimmed(line, 0, equals)) != wantedKey) continue;
        std::string value = Trimmed(line, equals + 1, line.size());
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
        return value;
    }
    return std::nullopt;
}

}  // namespace

std::size_t GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                     const std::string& defaultValue, char* buffer,
                                     std::size_t size, const std::string& fileName) {
    std::optional<std::string> value;
    QFile file(ToQString(NativeFileName(fileName)));
    if (!fileName.empty() && file.open(QIODevice::ReadOnly)) {
        value = FindValue(file.readAll().toStdString(), section, key);
    }
    if (!value) {
        // As on Windows, trailing blanks of the default are dropped.
        std::size_t end = defaultValue.size();
        while (end > 0 && IsBlank(defaultValue[end - 1])) --end;
        value = defaultValue.substr(0, end);
    }
    if (!buffer || size == 0) return 0;
    const std::size_t count = std::min(value->size(), size - 1);
    std::memcpy(buffer, value->data(), count);
    buffer[count] = '\0';
    return count;
}
