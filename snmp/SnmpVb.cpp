#include "snmp/SnmpVb.h"

std::string OidToText(const SnmpOid& oid) {
    std::string text;
    for (uint32_t sub : oid) {
        if (!text.empty()) text += '.';
        text += std::to_string(sub);
    }
    return text;
}

bool TextToOid(const std::string& text, SnmpOid& oid) {
    oid.clear();
    size_t pos = 0;
    if (!text.empty() && text[0] == '.') pos = 1;
    if (pos >= text.size()) return false;
    SnmpOid parsed;
    while (pos <= text.size()) {
        uint64_t value = 0;
        size_t digits = 0;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
            value = value * 10 + static_cast<uint64_t>(text[pos] - '0');
            if (value > 0xFFFFFFFFull) return false;
            ++pos;
            ++digits;
        }
        if (digits == 0) return false;  // empty part, sign, blank or other character
        parsed.push_back(static_cast<uint32_t>(value));
        if (pos == text.size()) break;
        if (text[pos] != '.') return false;
        ++pos;
        if (pos == text.size()) return false;  // trailing "."
    }
    oid = std::move(parsed);
    return true;
}
