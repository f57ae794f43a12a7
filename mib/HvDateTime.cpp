#include "mib/HvDateTime.h"

#include <array>
#include <climits>
#include <cstdio>
#include <ctime>

namespace {

bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads numbers and literal characters as sscanf does for a pattern made of "%d" and
// ordinary characters: '#' in `pattern` stands for "%d". Numbers are saturated at the
// 32-bit range. Returns how many numbers were stored into `out`.
int ScanNumbers(const std::string& text, const char* pattern, std::array<int32_t, 9>& out) {
    size_t pos = 0;
    int stored = 0;
    for (const char* p = pattern; *p != '\0'; ++p) {
        if (*p != '#') {
            if (pos >= text.size() || text[pos] != *p) return stored;
            ++pos;
            continue;
        }
        while (pos < text.size() && IsCSpace(text[pos])) ++pos;
        bool negative = false;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
            negative = text[pos] == '-';
            ++pos;
        }
        if (pos >= text.size() || text[pos] < '0' || text[pos] > '9') return stored;
        int64_t value = 0;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
            if (value <= INT32_MAX) value = value * 10 + (text[pos] - '0');
            ++pos;
        }
        if (negative) value = -value;
        if (value > INT32_MAX) value = INT32_MAX;
        if (value < INT32_MIN) value = INT32_MIN;
        out[static_cast<size_t>(stored++)] = static_cast<int32_t>(value);
    }
    return stored;
}

}  // namespace

HvDateTime::HvDateTime() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    year = static_cast<uint16_t>(local.tm_year + 1900);
    month = static_cast<uint8_t>(local.tm_mon + 1);
    day = static_cast<uint8_t>(local.tm_mday);
    hour = static_cast<uint8_t>(local.tm_hour);
    minutes = static_cast<uint8_t>(local.tm_min);
    seconds = static_cast<uint8_t>(local.tm_sec);
}

HvDateTime::HvDateTime(const std::string& text) {
    std::array<int32_t, 9> numbers{};
    auto store = [&](int count) {
        uint8_t* small[] = {&month,   &day,         &hour,         &minutes,
                            &seconds, &deciSeconds, &hoursFromUTC, &minutesFromUTC};
        if (count > 0) year = static_cast<uint16_t>(numbers[0]);
        for (int i = 1; i < count; ++i)
            *small[i - 1] = static_cast<uint8_t>(numbers[static_cast<size_t>(i)]);
    };
    int n = ScanNumbers(text, "#-#-#,#:#:#.#,+#:#", numbers);
    store(n);
    if (n == 9) return;
    n = ScanNumbers(text, "#-#-#,#:#:#.#,-#:#", numbers);
    store(n);
    // A negative offset counts as soon as its hours were read, so that "...,-5" does not
    // turn into +5.
    if (n >= 8) direction = '-';
    if (n == 9) return;
    store(ScanNumbers(text, "#-#-#,#:#:#.#", numbers));
}

std::string HvDateTime::ToText() const {
    char buffer[96];
    if ((hoursFromUTC != 0 || minutesFromUTC != 0) && (direction == '+' || direction == '-')) {
        std::snprintf(buffer, sizeof buffer, "%d-%d-%d,%d:%d:%d.%d,%c%d:%d", year, month, day, hour,
                      minutes, seconds, deciSeconds, direction, hoursFromUTC, minutesFromUTC);
    } else {
        std::snprintf(buffer, sizeof buffer, "%d-%d-%d,%d:%d:%d.%d", year, month, day, hour,
                      minutes, seconds, deciSeconds);
    }
    return buffer;
}

void HvDateTime::SwapYear() {
    year = static_cast<uint16_t>((year >> 8) | (year << 8));
}

std::string HvDateTime::ToBytes() const {
    std::string bytes(11, '\0');
    bytes[0] = static_cast<char>(year >> 8);
    bytes[1] = static_cast<char>(year & 0xFF);
    bytes[2] = static_cast<char>(month);
    bytes[3] = static_cast<char>(day);
    bytes[4] = static_cast<char>(hour);
    bytes[5] = static_cast<char>(minutes);
    bytes[6] = static_cast<char>(seconds);
    bytes[7] = static_cast<char>(deciSeconds);
    bytes[8] = direction;
    bytes[9] = static_cast<char>(hoursFromUTC);
    bytes[10] = static_cast<char>(minutesFromUTC);
    return bytes;
}

bool HvDateTime::FromBytes(const std::string& bytes) {
    if (bytes.size() < 11) return false;
    auto u = [&](size_t i) { return static_cast<uint8_t>(bytes[i]); };
    year = static_cast<uint16_t>((u(0) << 8) | u(1));
    month = u(2);
    day = u(3);
    hour = u(4);
    minutes = u(5);
    seconds = u(6);
    deciSeconds = u(7);
    direction = bytes[8];
    hoursFromUTC = u(9);
    minutesFromUTC = u(10);
    return true;
}
