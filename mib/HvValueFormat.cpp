#include "mib/HvValueFormat.h"

#include <locale.h>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "mib/HvDateTime.h"
#include "mib/HvErrorRaise.h"
#include "mib/HvSnmpTypes.h"
#include "platform/Exception.h"

int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

namespace {

const char kNull[] = "(NULL)";

constexpr int kErrBadSyntax = -511;
constexpr int kErrBadValue = -518;
constexpr int kErrOutOfRange = -519;

bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// ---- Little helpers on bytes ----

uint8_t Byte(const std::string& bytes, size_t i) {
    return static_cast<uint8_t>(bytes[i]);
}

uint32_t ReadLE32(const std::string& b, size_t at = 0) {
    return static_cast<uint32_t>(Byte(b, at)) | static_cast<uint32_t>(Byte(b, at + 1)) << 8 |
           static_cast<uint32_t>(Byte(b, at + 2)) << 16 |
           static_cast<uint32_t>(Byte(b, at + 3)) << 24;
}
uint64_t ReadLE64(const std::string& b) {
    return static_cast<uint64_t>(ReadLE32(b, 0)) | static_cast<uint64_t>(ReadLE32(b, 4)) << 32;
}
uint16_t ReadBE16(const std::string& b) {
    return static_cast<uint16_t>(Byte(b, 0) << 8 | Byte(b, 1));
}
void AppendLE32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void AppendLE64(std::string& out, uint64_t v) {
    AppendLE32(out, static_cast<uint32_t>(v));
    AppendLE32(out, static_cast<uint32_t>(v >> 32));
}
std::string BE16(uint32_t v) {
    std::string out;
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
    out.push_back(static_cast<char>(v & 0xFF));
    return out;
}
double DoubleFromLE(const std::string& b) {
    uint64_t bits = ReadLE64(b);
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}
std::string DoubleToLE(double d) {
    uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    std::string out;
    AppendLE64(out, bits);
    return out;
}

// Dotted decimal object identifier (an optional leading "."), every sub-identifier within
// 32 bits. False for any other text.
bool ParseOid(const std::string& text, std::vector<uint32_t>& subs) {
    subs.clear();
    size_t pos = (!text.empty() && text[0] == '.') ? 1 : 0;
    if (pos >= text.size()) return false;
    while (true) {
        if (pos >= text.size() || !IsDigit(text[pos])) {
            subs.clear();
            return false;
        }
        uint64_t v = 0;
        while (pos < text.size() && IsDigit(text[pos])) {
            v = v * 10 + static_cast<uint64_t>(text[pos] - '0');
            if (v > UINT32_MAX) {
                subs.clear();
                return false;
            }
            ++pos;
        }
        subs.push_back(static_cast<uint32_t>(v));
        if (pos == text.size()) return true;
        if (text[pos] != '.') {
            subs.clear();
            return false;
        }
        ++pos;
    }
}

std::string IPv4Text(const std::string& b) {
    return std::to_string(Byte(b, 0)) + "." + std::to_string(Byte(b, 1)) + "." +
           std::to_string(Byte(b, 2)) + "." + std::to_string(Byte(b, 3));
}

std::string EncodeIPv4(const std::string& text) {
    std::vector<uint32_t> subs;
    std::string out;
    if (ParseOid(text, subs))
        for (uint32_t s : subs) out.push_back(static_cast<char>(s & 0xFF));
    return out;
}

std::string BoolText(bool b) {
    return b ? "true" : "false";
}
bool IsTrue(const std::string& text) {
    return text == "true";
}

// The atol rule on a 64-bit accumulator, saturated at +-2^40 (far beyond every range used).
int64_t AtolWide(const std::string& text, size_t pos = 0) {
    while (pos < text.size() && IsCSpace(text[pos])) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    constexpr int64_t kCap = int64_t{1} << 40;
    int64_t v = 0;
    while (pos < text.size() && IsDigit(text[pos])) {
        if (v < kCap) v = v * 10 + (text[pos] - '0');
        ++pos;
    }
    if (v > kCap) v = kCap;
    return negative ? -v : v;
}

locale_t CLocale() {
    static locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

// Case-insensitive for ASCII letters unless `exact`.
bool SameText(const std::string& a, size_t aLen, const std::string& b, bool exact) {
    if (a.size() < aLen || b.size() < aLen) return false;
    for (size_t i = 0; i < aLen; ++i) {
        char x = a[i], y = b[i];
        if (!exact) {
            if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
            if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        }
        if (x != y) return false;
    }
    return true;
}
bool Equal(const std::string& a, const std::string& b, bool exact) {
    return a.size() == b.size() && SameText(a, a.size(), b, exact);
}
// `prefix` is a leading part of `text`.
bool StartsWith(const std::string& text, const std::string& prefix, bool exact) {
    return text.size() >= prefix.size() && SameText(prefix, prefix.size(), text, exact);
}

// Strict decimal: optional sign, digits, nothing else, within 32 bits.
bool StrictInt32(const std::string& text, int32_t& out) {
    size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    if (pos >= text.size()) return false;
    int64_t v = 0;
    for (; pos < text.size(); ++pos) {
        if (!IsDigit(text[pos])) return false;
        v = v * 10 + (text[pos] - '0');
        if (v > int64_t{INT32_MAX} + 1) return false;
    }
    if (negative) v = -v;
    if (v > INT32_MAX || v < INT32_MIN) return false;
    out = static_cast<int32_t>(v);
    return true;
}

// ---- Civil dates ----

void CivilFromDays(int64_t z, int64_t& y, unsigned& m, unsigned& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = static_cast<int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y += m <= 2;
}

// 1899-12-30 counted from 1970-01-01.
constexpr int64_t kDateTimeEpoch = -25569;
constexpr double kMinDateTime = -693593.0;  // 0001-01-01
constexpr double kMaxDateTime = 2958466.0;  // 10000-01-01

unsigned DaysInMonth(int64_t y, unsigned m) {
    static const unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return m == 2 && leap ? 29 : kDays[m - 1];
}

// Reads 1..maxDigits decimal digits.
bool ReadField(const std::string& t, size_t& pos, size_t maxDigits, int& out) {
    size_t start = pos;
    int v = 0;
    while (pos < t.size() && IsDigit(t[pos]) && pos - start < maxDigits)
        v = v * 10 + (t[pos++] - '0');
    if (pos == start || (pos < t.size() && IsDigit(t[pos]))) return false;
    out = v;
    return true;
}

// "h:n[:s[.z]]" from pos to the end of t; fraction of a day.
bool ReadTime(const std::string& t, size_t pos, double& fraction) {
    int h = 0, n = 0, s = 0, z = 0;
    if (!ReadField(t, pos, 2, h) || pos >= t.size() || t[pos] != ':') return false;
    ++pos;
    if (!ReadField(t, pos, 2, n)) return false;
    if (pos < t.size() && t[pos] == ':') {
        ++pos;
        if (!ReadField(t, pos, 2, s)) return false;
        if (pos < t.size() && t[pos] == '.') {
            ++pos;
            size_t start = pos;
            if (!ReadField(t, pos, 3, z)) return false;
            for (size_t k = pos - start; k < 3; ++k) z *= 10;
        }
    }
    if (pos != t.size() || h > 23 || n > 59 || s > 59) return false;
    fraction = ((h * 3600.0 + n * 60.0 + s) * 1000.0 + z) / 86400000.0;
    return true;
}

}  // namespace

// ---- Hex text ----

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 0;
}

std::string BytesToHexText(const std::string& bytes) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char b : bytes) {
        out.push_back(kDigits[b >> 4]);
        out.push_back(kDigits[b & 0x0F]);
    }
    return out;
}

std::string HexTextToBytes(const std::string& text) {
    std::string t;
    t.reserve(text.size());
    for (char c : text)
        if (c != ' ' && c != '\t') t.push_back(c);
    auto pair = [&](size_t i) {
        return static_cast<char>(HexDigitValue(t[i]) << 4 | HexDigitValue(t[i + 1]));
    };
    std::string out;
    if (t.size() == 35) {
        // 16 octets of an IPv6 address, the zone's "%" skipped, one octet of the zone.
        for (size_t i = 0; i < 32; i += 2) out.push_back(pair(i));
        out.push_back(pair(33));
        return out;
    }
    size_t i = 0;
    if (t.size() % 2 == 1) out.push_back(static_cast<char>(HexDigitValue(t[i++])));
    for (; i + 1 < t.size(); i += 2) out.push_back(pair(i));
    return out;
}

// ---- Numbers ----

int32_t TextToInt32(const std::string& text) {
    int64_t v = AtolWide(text);
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(v);
}

uint32_t TextToUInt32(const std::string& text) {
    int64_t v = AtolWide(text);
    if (v > int64_t{UINT32_MAX}) return UINT32_MAX;
    if (v < INT32_MIN) return 0x80000000u;
    return static_cast<uint32_t>(v);
}

double TextToDouble(const std::string& text) {
    // strtod stops at a zero byte: read the C string part only.
    return strtod_l(text.c_str(), nullptr, CLocale());
}

long double TextToLongDouble(const std::string& text) {
    return strtold_l(text.c_str(), nullptr, CLocale());
}

uint64_t TextToCounter64(const std::string& text) {
    long double v = TextToLongDouble(text);
    if (!(v >= 1.0L)) return 0;  // NaN, negative, below one
    constexpr long double kTwo64 = 18446744073709551616.0L;
    if (v >= kTwo64) return UINT64_MAX;
    // The high half is the whole part of v / 2^32, the low half the rest.
    constexpr long double kTwo32 = 4294967296.0L;
    long double high = std::floor(v / kTwo32);
    long double low = std::floor(v - high * kTwo32);
    return static_cast<uint64_t>(high) << 32 | static_cast<uint64_t>(low);
}

std::string RealToText(double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    if (value == 0) return "0";  // also for -0
    char buffer[64];
    auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string text(buffer, result.ptr);
    // "1e+20" -> "1E20", "1.5e-07" -> "1.5E-7".
    size_t e = text.find('e');
    if (e != std::string::npos) {
        std::string mantissa = text.substr(0, e);
        size_t pos = e + 1;
        bool negative = false;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
            negative = text[pos++] == '-';
        while (pos + 1 < text.size() && text[pos] == '0') ++pos;
        text = mantissa + "E" + (negative ? "-" : "") + text.substr(pos);
    }
    return text;
}

// ---- Time ticks ----

std::string TimeTicksToText(uint32_t t) {
    unsigned long d = t / 8640000, h = t % 8640000 / 360000, m = t % 360000 / 6000,
                  s = t % 6000 / 100, c = t % 100;
    char buffer[64];
    if (d == 0)
        std::snprintf(buffer, sizeof buffer, "%lu:%02lu:%02lu.%02lu", h, m, s, c);
    else if (d == 1)
        std::snprintf(buffer, sizeof buffer, "1 day %lu:%02lu:%02lu.%02lu", h, m, s, c);
    else
        std::snprintf(buffer, sizeof buffer, "%lu days, %lu:%02lu:%02lu.%02lu", d, h, m, s, c);
    return buffer;
}

uint32_t TextToTimeTicks(const std::string& text) {
    // Each number is taken at 32 bits (as atol), the sum in 64 bits, then clamped.
    auto number = [&](size_t pos) { return static_cast<int64_t>(TextToInt32(text.substr(pos))); };
    int64_t total = 0;
    size_t pos = 0;
    size_t p = text.find("days");
    if (p != std::string::npos) {
        total += number(0) * 8640000;
        pos = p + 4;
    } else if ((p = text.find("day")) != std::string::npos) {
        total += number(0) * 8640000;
        pos = p + 3;
    }
    if ((p = text.find(',', pos)) != std::string::npos) pos = p + 1;
    if ((p = text.find(':', pos)) != std::string::npos) {
        total += number(pos) * 360000;
        pos = p + 1;
        if ((p = text.find(':', pos)) != std::string::npos) {
            total += number(pos) * 6000;
            pos = p + 1;
        }
    }
    if ((p = text.find('.', pos)) != std::string::npos) {
        total += number(pos) * 100;
        total += number(p + 1);
    }
    if (total < 0) return 0;
    if (total > int64_t{UINT32_MAX}) return UINT32_MAX;
    return static_cast<uint32_t>(total);
}

// ---- Date-time numbers ----

std::string DateTimeNumberToText(double days) {
    if (!(days >= kMinDateTime && days < kMaxDateTime)) return RealToText(days);
    double whole = std::trunc(days);
    int64_t date = static_cast<int64_t>(whole);
    int64_t ms = std::llround(std::fabs(days - whole) * 86400000.0);
    if (ms >= 86400000) {
        ms -= 86400000;
        ++date;  // the time of day rolled over into the next calendar day
    }
    int64_t y;
    unsigned m, d;
    CivilFromDays(date + kDateTimeEpoch, y, m, d);
    if (y > 9999) return RealToText(days);
    int64_t secs = ms / 1000;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d/%02u/%02u %02d:%02d:%02d", static_cast<int>(y), m, d,
                  static_cast<int>(secs / 3600), static_cast<int>(secs / 60 % 60),
                  static_cast<int>(secs % 60));
    return buffer;
}

bool TryTextToDateTimeNumber(const std::string& text, double& days) {
    size_t b = 0, e = text.size();
    while (b < e && IsCSpace(text[b])) ++b;
    while (e > b && IsCSpace(text[e - 1])) --e;
    const std::string t = text.substr(b, e - b);
    if (t.empty()) return false;

    // A time alone.
    if (t.find('/') == std::string::npos && t.find('-') == std::string::npos) {
        double fraction = 0;
        if (!ReadTime(t, 0, fraction)) return false;
        days = fraction;
        return true;
    }

    size_t pos = 0;
    int y = 0, m = 0, d = 0;
    if (!ReadField(t, pos, 4, y) || pos >= t.size() || (t[pos] != '/' && t[pos] != '-'))
        return false;
    const char separator = t[pos++];
    if (!ReadField(t, pos, 2, m) || pos >= t.size() || t[pos] != separator) return false;
    ++pos;
    if (!ReadField(t, pos, 2, d)) return false;
    if (y < 1 || m < 1 || m > 12 || d < 1 || static_cast<unsigned>(d) > DaysInMonth(y, m))
        return false;
    double fraction = 0;
    if (pos < t.size()) {
        if (!IsCSpace(t[pos])) return false;
        while (pos < t.size() && IsCSpace(t[pos])) ++pos;
        if (!ReadTime(t, pos, fraction)) return false;
    }
    double date = static_cast<double>(
        DaysFromCivil(y, static_cast<unsigned>(m), static_cast<unsigned>(d)) - kDateTimeEpoch);
    // Before the epoch the fraction still counts forward from midnight of the day.
    days = date < 0 ? date - fraction : date + fraction;
    return true;
}

double TextToDateTimeNumber(const std::string& text) {
    double days = 0;
    if (!TryTextToDateTimeNumber(text, days))
        throw EConvertError("'" + text + "' is not a valid date and time");
    return days;
}

// ---- Bit lists ----

std::string BitListToText(const std::string& hex, bool withBrackets) {
    const size_t bytes = hex.size() / 2;
    const size_t n = bytes * 8;
    auto bit = [&](size_t k) {  // k from 1
        size_t i = (k - 1) / 8;
        int value = HexDigitValue(hex[2 * i]) << 4 | HexDigitValue(hex[2 * i + 1]);
        return (value & (0x80 >> ((k - 1) % 8))) != 0;
    };
    std::string out;
    for (size_t k = 1; k <= n; ++k) {
        if (!bit(k)) continue;
        size_t a = k;
        while (k + 1 <= n && bit(k + 1)) ++k;
        if (!out.empty()) out += ",";
        out += std::to_string(a);
        if (k != a) out += "-" + std::to_string(k);
    }
    if (out.empty()) out = "0";
    if (withBrackets) out += "[" + hex + "]";
    return out;
}

std::string StripBitListText(const std::string& text) {
    size_t open = text.find('[');
    size_t start = open == std::string::npos ? 0 : open + 1;
    size_t close = text.find(']', start);
    size_t end = close != std::string::npos ? close : (text.empty() ? 0 : text.size() - 1);
    if (end <= start) return std::string();
    return text.substr(start, end - start);
}

namespace {

// A bit number: blanks, decimal digits, blanks; 0 (never a valid bit) for anything else.
int64_t BitNumber(const std::string& piece) {
    size_t b = 0, e = piece.size();
    while (b < e && IsCSpace(piece[b])) ++b;
    while (e > b && IsCSpace(piece[e - 1])) --e;
    if (b == e) return 0;
    int64_t v = 0;
    for (size_t i = b; i < e; ++i) {
        if (!IsDigit(piece[i])) return 0;
        if (v < (int64_t{1} << 40)) v = v * 10 + (piece[i] - '0');
    }
    return v;
}

}  // namespace

bool TextToBitList(const std::string& text, const std::string& currentHex, std::string& hex) {
    const size_t digits = currentHex.size();
    const int64_t n = static_cast<int64_t>(digits) * 4;
    std::vector<uint8_t> nibbles(digits, 0);
    auto set = [&](int64_t k) {
        nibbles[static_cast<size_t>((k - 1) / 4)] |= static_cast<uint8_t>(8 >> ((k - 1) % 4));
    };
    if (text == "all") {
        for (auto& x : nibbles) x = 0x0F;
    } else if (text != "0") {
        size_t pos = 0;
        while (true) {
            size_t comma = text.find(',', pos);
            std::string piece =
                text.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos);
            size_t dash = piece.find('-');
            int64_t first, last;
            if (dash != std::string::npos) {
                first = BitNumber(piece.substr(0, dash));
                last = BitNumber(piece.substr(dash + 1));
            } else {
                first = last = BitNumber(piece);
            }
            if (first < 1 || last > n || first > last) return false;
            for (int64_t k = first; k <= last; ++k) set(k);
            if (comma == std::string::npos) break;
            pos = comma + 1;
        }
    }
    static const char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(digits);
    for (uint8_t x : nibbles) out.push_back(kDigits[x]);
    hex = std::move(out);
    return true;
}

// ---- Option lists ----

int FindLabel(const HvOptionList& list, const std::string& text) {
    const bool exact = list.CaseSensitive();
    for (int i = 0; i < list.Count(); ++i) {
        const std::string& label = list.Item(i).label;
        bool match = list.ValueKind() == OVK_PREFIX ? StartsWith(text, label, exact)
                                                    : Equal(label, text, exact);
        if (match) return i;
    }
    return -1;
}

int FindValue(const HvOptionList& list, const std::string& text) {
    const bool exact = list.CaseSensitive();
    if (list.ValueKind() == OVK_INTEGER) {
        int32_t v;
        if (text == kNull || !StrictInt32(text, v)) return -1;
        for (int i = 0; i < list.Count(); ++i)
            if (list.Item(i).number == v) return i;
        return -1;
    }
    for (int i = 0; i < list.Count(); ++i) {
        const std::string& value = list.Item(i).text;
        bool match = list.ValueKind() == OVK_PREFIX ? StartsWith(text, value, exact)
                                                    : Equal(value, text, exact);
        if (match) return i;
    }
    return -1;
}

std::string ValueToLabel(const HvOptionList& list, const std::string& text) {
    int i = FindValue(list, text);
    if (i < 0) return text;
    const HvOptionList::Entry& entry = list.Item(i);
    if (list.ValueKind() == OVK_PREFIX) return entry.label + text.substr(entry.text.size());
    return entry.label;
}

std::string LabelToValue(const HvOptionList& list, const std::string& text) {
    int i = FindLabel(list, text);
    if (i < 0) return text;
    const HvOptionList::Entry& entry = list.Item(i);
    switch (list.ValueKind()) {
        case OVK_INTEGER:
            return std::to_string(entry.number);
        case OVK_TEXT:
            return entry.text;
        default:
            return entry.text + text.substr(entry.label.size());
    }
}

// ---- Value bytes ----

std::string EncodeValue(const std::string& text, int32_t syntax) {
    if (!IsKnownSyntax(syntax)) RaiseModuleError(kErrBadSyntax);
    if (text == kNull) return std::string();
    std::string out;
    switch (syntax) {
        case SYNTAX_BOOLEAN:
            AppendLE32(out, IsTrue(text) ? 1 : 0);
            break;
        case SYNTAX_INTEGER:
            AppendLE32(out, static_cast<uint32_t>(TextToInt32(text)));
            break;
        case SYNTAX_BITSTR:
        case SYNTAX_OCTETSTR:
        case SYNTAX_OPAQUE:
        case SYNTAX_BITLIST:
        case SYNTAX_MACADDRESS:
        case SYNTAX_IPV6ADDRESS:
            out = HexTextToBytes(text);
            break;
        case SYNTAX_NULL:
            break;
        case SYNTAX_OBJECTID: {
            std::vector<uint32_t> subs;
            if (ParseOid(text, subs))
                for (uint32_t s : subs) AppendLE32(out, s);
            break;
        }
        case SYNTAX_IPADDRESS:
        case SYNTAX_NSAPADDR:
            out = EncodeIPv4(text);
            break;
        case SYNTAX_COUNTER:
        case SYNTAX_GUAGE:
        case SYNTAX_UINTEGER:
            AppendLE32(out, TextToUInt32(text));
            break;
        case SYNTAX_TIMETICKS:
            AppendLE32(out, TextToTimeTicks(text));
            break;
        case SYNTAX_COUNTER64:
            AppendLE64(out, TextToCounter64(text));
            break;
        case SYNTAX_DOUBLE:
            out = DoubleToLE(TextToDouble(text));
            break;
        case SYNTAX_DATETIME:
            out = HvDateTime(text).ToBytes();
            break;
        case SYNTAX_BCDATETIME:
            out = DoubleToLE(TextToDateTimeNumber(text));
            break;
        case SYNTAX_DISPLAYSTR:
            out = text;
            break;
        case SYNTAX_INETADDRESS:
            out = text.size() <= 16 ? EncodeIPv4(text) : HexTextToBytes(text);
            break;
        case SYNTAX_BOOL8:
            out.push_back(IsTrue(text) ? 1 : 0);
            break;
        case SYNTAX_INT8:
        case SYNTAX_UINT8:
            out.push_back(static_cast<char>(static_cast<uint32_t>(TextToInt32(text)) & 0xFF));
            break;
        case SYNTAX_BOOL16:
            out = BE16(IsTrue(text) ? 1 : 0);
            break;
        case SYNTAX_INT16:
        case SYNTAX_UINT16:
            out = BE16(static_cast<uint32_t>(TextToInt32(text)) & 0xFFFF);
            break;
    }
    return out;
}

std::string DecodeValue(const std::string& bytes, int32_t syntax) {
    if (!IsKnownSyntax(syntax)) RaiseModuleError(kErrBadSyntax);
    if (bytes.empty()) return syntax == SYNTAX_DISPLAYSTR ? std::string() : kNull;
    auto need = [&](size_t n) {
        if (bytes.size() < n) RaiseModuleError(kErrBadValue);
    };
    switch (syntax) {
        case SYNTAX_BOOLEAN:
            need(4);
            return BoolText(ReadLE32(bytes) != 0);
        case SYNTAX_INTEGER:
            need(4);
            return std::to_string(static_cast<int32_t>(ReadLE32(bytes)));
        case SYNTAX_BITSTR:
        case SYNTAX_OCTETSTR:
        case SYNTAX_OPAQUE:
        case SYNTAX_BITLIST:
            return BytesToHexText(bytes);
        case SYNTAX_NULL:
            return kNull;
        case SYNTAX_OBJECTID: {
            // Only whole 4-byte sub-identifiers make an object identifier.
            if (bytes.size() % 4 != 0) RaiseModuleError(kErrBadValue);
            std::string out;
            for (size_t i = 0; i < bytes.size(); i += 4) {
                if (i != 0) out += ".";
                out += std::to_string(ReadLE32(bytes, i));
            }
            return out;
        }
        case SYNTAX_IPADDRESS:
        case SYNTAX_NSAPADDR:
            need(4);
            return IPv4Text(bytes);
        case SYNTAX_COUNTER:
        case SYNTAX_GUAGE:
        case SYNTAX_UINTEGER:
            need(4);
            return std::to_string(ReadLE32(bytes));
        case SYNTAX_TIMETICKS:
            need(4);
            return TimeTicksToText(ReadLE32(bytes));
        case SYNTAX_COUNTER64:
            need(8);
            return std::to_string(ReadLE64(bytes));
        case SYNTAX_DOUBLE:
            need(8);
            return RealToText(DoubleFromLE(bytes));
        case SYNTAX_MACADDRESS:
            need(6);
            return BytesToHexText(bytes);
        case SYNTAX_DATETIME: {
            need(11);
            HvDateTime dt;
            dt.FromBytes(bytes);
            return dt.ToText();
        }
        case SYNTAX_BCDATETIME:
            need(8);
            return DateTimeNumberToText(DoubleFromLE(bytes));
        case SYNTAX_DISPLAYSTR:
            return bytes.substr(0, bytes.find('\0'));
        case SYNTAX_IPV6ADDRESS:
            need(16);
            return BytesToHexText(bytes);
        case SYNTAX_INETADDRESS:
            if (bytes.size() >= 16) return BytesToHexText(bytes);
            need(4);
            return IPv4Text(bytes);
        case SYNTAX_BOOL8:
            return BoolText(Byte(bytes, 0) != 0);
        case SYNTAX_INT8:
            return std::to_string(static_cast<int8_t>(Byte(bytes, 0)));
        case SYNTAX_UINT8:
            return std::to_string(Byte(bytes, 0));
        case SYNTAX_BOOL16:
            need(2);
            return BoolText(ReadBE16(bytes) != 0);
        case SYNTAX_INT16:
            need(2);
            return std::to_string(static_cast<int16_t>(ReadBE16(bytes)));
        case SYNTAX_UINT16:
            need(2);
            return std::to_string(ReadBE16(bytes));
    }
    RaiseModuleError(kErrBadSyntax);
}

std::string ExtractPart(const std::string& bytes, int32_t offset, int32_t syntax) {
    if (!IsKnownSyntax(syntax)) RaiseModuleError(kErrBadSyntax);
    if (bytes.empty() || syntax == SYNTAX_NULL) return std::string();
    if (offset < 0) RaiseModuleError(kErrOutOfRange);
    const size_t at = static_cast<size_t>(offset);
    size_t width = 0;
    switch (syntax) {
        case SYNTAX_BITSTR:
        case SYNTAX_OCTETSTR:
        case SYNTAX_OBJECTID:
        case SYNTAX_OPAQUE:
        case SYNTAX_DISPLAYSTR:
        case SYNTAX_BITLIST:
            // Runs to the end; an offset past the end is out of range.
            if (at > bytes.size()) RaiseModuleError(kErrOutOfRange);
            return bytes.substr(at);
        case SYNTAX_COUNTER64:
        case SYNTAX_DOUBLE:
        case SYNTAX_BCDATETIME:
            width = 8;
            break;
        case SYNTAX_MACADDRESS:
            width = 6;
            break;
        case SYNTAX_DATETIME:
            width = 11;
            break;
        case SYNTAX_IPV6ADDRESS:
            width = 16;
            break;
        case SYNTAX_INETADDRESS:
            width = bytes.size() > 15 ? 16 : 4;
            break;
        case SYNTAX_BOOL8:
        case SYNTAX_INT8:
        case SYNTAX_UINT8:
            width = 1;
            break;
        case SYNTAX_BOOL16:
        case SYNTAX_INT16:
        case SYNTAX_UINT16:
            width = 2;
            break;
        default:  // boolean, integer, ipaddress, nsapaddr, counter, guage, uinteger, timeticks
            width = 4;
            break;
    }
    if (at > bytes.size() || bytes.size() - at < width) RaiseModuleError(kErrOutOfRange);
    return bytes.substr(at, width);
}
