#include "platform/Exception.h"

#include <cstdint>

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

int StrToInt(const std::string& text) {
    const auto fail = [&text]() -> int {
        throw EConvertError("'" + text + "' is not a valid integer value");
    };
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size()) return fail();
    // The magnitude may reach 2^31 only for a negative value; stop accumulating as soon
    // as it leaves that range so that long texts cannot overflow.
    const int64_t limit = negative ? int64_t{1} << 31 : (int64_t{1} << 31) - 1;
    int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = HexDigit(text[i]);
        if (digit < 0 || digit >= base) return fail();
        magnitude = magnitude * base + digit;
        if (magnitude > limit) return fail();
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}
