// The engine-boots file: "<engine ID in hex> <counter>" per line.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "snmp/SnmpSession.h"

namespace {

constexpr long kMaxFileSize = 1 << 20;  // far more than any real boots file

enum ReadResult { kRead = 0, kNoFile = -2, kUnreadable = -3 };

ReadResult ReadLines(const std::string& fileName, std::vector<std::string>& lines, bool& missing) {
    lines.clear();
    missing = false;
    FILE* f = std::fopen(fileName.c_str(), "rb");
    if (f == nullptr) {
        missing = errno == ENOENT;
        return kNoFile;
    }
    std::string content;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
        content.append(buffer, n);
        if (static_cast<long>(content.size()) > kMaxFileSize) break;
    }
    const bool failed = std::ferror(f) || static_cast<long>(content.size()) > kMaxFileSize;
    std::fclose(f);
    if (failed) return kUnreadable;
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos) end = content.size();
        lines.push_back(content.substr(start, end - start));
        start = end + 1;
    }
    return kRead;
}

std::string HexOf(const std::string& bytes) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (unsigned char c : bytes) {
        hex += kDigits[c >> 4];
        hex += kDigits[c & 15];
    }
    return hex;
}

bool IsBlank(const std::string& line) {
    for (unsigned char c : line)
        if (c > ' ') return false;
    return true;
}

// The first field of a line (the engine ID), upper-cased.
std::string KeyOf(const std::string& line) {
    size_t end = line.find_first_of(" \t\r");
    std::string key = line.substr(0, end);
    for (char& c : key)
        if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
    return key;
}

bool IsHexId(const std::string& key) {
    if (key.empty() || key.size() % 2 != 0 || key.size() > 64) return false;
    for (char c : key)
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
    return true;
}

// Parses "<hex> <decimal>" with optional trailing blanks or carriage return.
bool ParseLine(const std::string& line, std::string& key, uint32_t& counter) {
    key = KeyOf(line);
    if (!IsHexId(key)) return false;
    size_t pos = key.size();
    if (pos >= line.size() || line[pos] != ' ') return false;
    ++pos;
    uint64_t value = 0;
    size_t digits = 0;
    while (pos < line.size() && line[pos] >= '0' && line[pos] <= '9') {
        value = value * 10 + static_cast<uint64_t>(line[pos] - '0');
        if (value > 0xFFFFFFFFull) return false;
        ++pos;
        ++digits;
    }
    if (digits == 0) return false;
    for (; pos < line.size(); ++pos)
        if (line[pos] != ' ' && line[pos] != '\t' && line[pos] != '\r') return false;
    counter = static_cast<uint32_t>(value);
    return true;
}

bool WriteAll(int fd, const std::string& data) {
    size_t done = 0;
    while (done < data.size()) {
        ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

int GetBootCounter(const std::string& fileName, const std::string& engineId, uint32_t& counter) {
    counter = 0;
    std::vector<std::string> lines;
    bool missing = false;
    const ReadResult read = ReadLines(fileName, lines, missing);
    if (read != kRead) return read;
    const std::string ours = HexOf(engineId);
    bool anyEntry = false, anyText = false;
    for (const std::string& line : lines) {
        if (IsBlank(line)) continue;
        anyText = true;
        std::string key;
        uint32_t value = 0;
        const bool ok = ParseLine(line, key, value);
        if (key == ours) {
            if (!ok) return kUnreadable;  // our entry is damaged
            counter = value;
            return 0;
        }
        anyEntry = anyEntry || ok;
    }
    // Text without a single well-formed entry is not a boots file.
    return anyText && !anyEntry ? kUnreadable : -1;
}

int SaveBootCounter(const std::string& fileName, const std::string& engineId, uint32_t counter) {
    std::vector<std::string> lines;
    bool missing = false;
    const ReadResult read = ReadLines(fileName, lines, missing);
    // A file that exists but cannot be read is left alone: rewriting it would lose its entries.
    if (read == kUnreadable || (read == kNoFile && !missing)) return -3;

    const std::string ours = HexOf(engineId);
    const std::string entry = ours + " " + std::to_string(counter);
    std::string content;
    bool written = false;
    for (const std::string& line : lines) {
        if (IsBlank(line)) continue;
        if (KeyOf(line) == ours) {
            if (!written) content += entry + "\n";
            written = true;
            continue;
        }
        content += line + "\n";
    }
    if (!written) content += entry + "\n";

    const std::string temp = fileName + ".tmp" + std::to_string(::getpid());
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) return -4;
    bool ok = WriteAll(fd, content) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok || std::rename(temp.c_str(), fileName.c_str()) != 0) {
        ::unlink(temp.c_str());
        return -4;
    }
    return 0;
}
