// The request's value converters: variable bindings to value texts and back, and key values
// to the sub-identifiers of a table row index and back.
#include <cstring>
#include <limits>

#include "mib/HvDateTime.h"
#include "mib/HvSnmpTypes.h"
#include "mib/HvValueFormat.h"
#include "snmp/HvSNMPErrors.h"
#include "snmp/HvSNMPRequest.h"

namespace {

constexpr int32_t kBadSyntax = -511;
constexpr int32_t kBadKeyCount = -514;

// ---- Item values and option lists -----------------------------------------------------------

// The raw value of an item: its value text, turned back from its label when it has options.
std::string RawValue(const VarItem& item) {
    return item.options != nullptr ? LabelToValue(*item.options, item.value) : item.value;
}

// Stores a raw value text, turned into its label when the item has options.
void StoreValue(VarItem& item, std::string text) {
    item.value = item.options != nullptr ? ValueToLabel(*item.options, text) : std::move(text);
}

// ---- Reading bindings -------------------------------------------------------------------------

bool IsIntegerType(uint8_t type) {
    return type == kAsnInteger || type == kAsnCounter32 || type == kAsnGauge32 ||
           type == kAsnTimeTicks || type == kAsnUInteger32;
}

bool IsOctetType(uint8_t type) {
    return type == kAsnOctetString || type == kAsnOpaque || type == kAsnBitString ||
           type == kAsnIpAddress || type == kAsnNsapAddress;
}

// A binding whose printable value is empty: a null value, a v2c exception, or an empty octet
// string or OID.
bool PrintableEmpty(const SnmpVb& vb) {
    if (vb.IsEmpty()) return true;
    if (IsOctetType(vb.type)) return vb.octets.empty();
    if (vb.type == kAsnObjectId) return vb.objectId.empty();
    return false;
}

// The number a binding carries. A binding of a type without a number reads as 0, as the
// SNMP++ value getters leave their preset 0 for another type.
bool NonZero(const SnmpVb& vb) {
    if (IsIntegerType(vb.type)) return vb.integer != 0;
    if (vb.type == kAsnCounter64) return vb.counter64 != 0;
    return false;
}

// Signed decimal: INTEGER as a 32-bit signed number; the unsigned types and Counter64 keep
// their unsigned value, so nothing is lost when an agent answers with another integer type.
std::string SignedText(const SnmpVb& vb) {
    if (vb.type == kAsnInteger) return std::to_string(static_cast<int32_t>(vb.integer));
    if (IsIntegerType(vb.type)) return std::to_string(static_cast<uint32_t>(vb.integer));
    if (vb.type == kAsnCounter64) return std::to_string(vb.counter64);
    return "0";
}

uint64_t Unsigned64(const SnmpVb& vb) {
    if (IsIntegerType(vb.type)) return static_cast<uint32_t>(vb.integer);
    if (vb.type == kAsnCounter64) return vb.counter64;
    return 0;
}

// 32 bits of the binding's unsigned value; a larger Counter64 saturates.
uint32_t Unsigned32(const SnmpVb& vb) {
    uint64_t v = Unsigned64(vb);
    return v > std::numeric_limits<uint32_t>::max() ? std::numeric_limits<uint32_t>::max()
                                                    : static_cast<uint32_t>(v);
}

const std::string& Octets(const SnmpVb& vb) {
    static const std::string none;
    return IsOctetType(vb.type) ? vb.octets : none;
}

// The first four octets in decimal joined by "."; a shorter value gives only the octets it
// has (never more than are there).
std::string DottedIPv4(const std::string& octets) {
    std::string text;
    for (size_t i = 0; i < octets.size() && i < 4; ++i) {
        if (i > 0) text += '.';
        text += std::to_string(static_cast<unsigned char>(octets[i]));
    }
    return text;
}

// A dotted IPv4 address of four numbers 0..255 as 4 octets in network order; any other text
// gives FF FF FF FF, the "no address" value of the C address conversion.
std::string IPv4Octets(const std::string& text) {
    SnmpOid parts;
    if (TextToOid(text, parts) && parts.size() == 4) {
        std::string octets;
        for (uint32_t p : parts) {
            if (p > 255) return std::string(4, '\xFF');
            octets.push_back(static_cast<char>(p));
        }
        return octets;
    }
    return std::string(4, '\xFF');
}

double DoubleFromLE(const std::string& octets) {
    uint64_t bits = 0;
    for (size_t i = 0; i < 8; ++i)
        bits |= static_cast<uint64_t>(static_cast<unsigned char>(octets[i])) << (8 * i);
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

uint64_t DoubleBits(double d) {
    uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    return bits;
}

double DoubleFromBits(uint64_t bits) {
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

std::string DoubleToLE(double d) {
    uint64_t bits = DoubleBits(d);
    std::string octets(8, '\0');
    for (size_t i = 0; i < 8; ++i) octets[i] = static_cast<char>(bits >> (8 * i));
    return octets;
}

// ---- Index sub-identifiers ----------------------------------------------------------------

// Sub-identifiers [from, to) as hex text, one octet (the low 8 bits) each.
std::string HexOfSubIds(const SnmpOid& s, size_t from, size_t to) {
    std::string octets;
    for (size_t i = from; i < to; ++i) octets.push_back(static_cast<char>(s[i] & 0xFF));
    return BytesToHexText(octets);
}

std::string CharsOfSubIds(const SnmpOid& s, size_t from, size_t to) {
    std::string chars;
    for (size_t i = from; i < to; ++i) chars.push_back(static_cast<char>(s[i] & 0xFF));
    return chars;
}

std::string DottedSubIds(const SnmpOid& s, size_t from, size_t to) {
    return OidToText(SnmpOid(s.begin() + static_cast<std::ptrdiff_t>(from),
                             s.begin() + static_cast<std::ptrdiff_t>(to)));
}

uint64_t Join64(uint32_t high, uint32_t low) {
    return (static_cast<uint64_t>(high) << 32) | low;
}

void AppendOctets(SnmpOid& out, const std::string& octets, bool withLength) {
    if (withLength) out.push_back(static_cast<uint32_t>(octets.size()));
    for (char c : octets) out.push_back(static_cast<unsigned char>(c));
}

void Append64(SnmpOid& out, uint64_t v) {
    out.push_back(static_cast<uint32_t>(v >> 32));
    out.push_back(static_cast<uint32_t>(v));
}

// A zone index text as one sub-identifier; nothing unless it is a decimal number that fits.
void AppendZone(SnmpOid& out, const std::string& zone) {
    SnmpOid parsed;
    if (!zone.empty() && zone.find('.') == std::string::npos && TextToOid(zone, parsed))
        out.push_back(parsed[0]);
}

}  // namespace

VarItem& HvSNMPRequest::KeyItem(int32_t index) {
    if (index < 0 || index >= list_.Count()) RaiseLibraryError(kBadKeyCount);
    return list_.Item(index);
}

void HvSNMPRequest::VbToText(int32_t item, const SnmpVb& vb) {
    VarItem& it = list_.Item(item);
    const std::string& octets = Octets(vb);
    std::string text;
    switch (it.syntax) {
        case SYNTAX_BOOLEAN:
            text = NonZero(vb) ? "true" : "false";
            break;
        case SYNTAX_INTEGER:
            text = SignedText(vb);
            break;
        case SYNTAX_BITSTR:
        case SYNTAX_OCTETSTR:
        case SYNTAX_OPAQUE:
        case SYNTAX_BITLIST:
        case SYNTAX_MACADDRESS:
        case SYNTAX_IPV6ADDRESS:
            text = BytesToHexText(octets);
            break;
        case SYNTAX_NULL:
            text = kNullValueText;
            break;
        case SYNTAX_OBJECTID:
            text = vb.type == kAsnObjectId ? OidToText(vb.objectId) : std::string();
            break;
        case SYNTAX_IPADDRESS:
        case SYNTAX_NSAPADDR:
            text = DottedIPv4(octets);
            break;
        case SYNTAX_COUNTER:
        case SYNTAX_GUAGE:
        case SYNTAX_UINTEGER:
        case SYNTAX_COUNTER64:
            text = std::to_string(Unsigned64(vb));
            break;
        case SYNTAX_TIMETICKS:
            text = TimeTicksToText(Unsigned32(vb));
            break;
        case SYNTAX_DOUBLE:
        case SYNTAX_BCDATETIME:
            // A value shorter than the 8 octets of a double holds no number: its octets are
            // shown as hex text, so nothing is invented and nothing is lost.
            if (octets.size() < 8)
                text = BytesToHexText(octets);
            else if (it.syntax == SYNTAX_DOUBLE)
                text = RealToText(DoubleFromLE(octets));
            else
                text = DateTimeNumberToText(DoubleFromLE(octets));
            break;
        case SYNTAX_DATETIME: {
            // DateAndTime has an 8-octet form without the UTC offset: missing octets count as
            // zero, which is exactly that form.
            std::string bytes = octets.substr(0, 11);
            bytes.resize(11, '\0');
            HvDateTime dt;
            dt.FromBytes(bytes);
            text = dt.ToText();
            break;
        }
        case SYNTAX_DISPLAYSTR:
            text = octets.substr(0, octets.find('\0'));
            break;
        case SYNTAX_INETADDRESS:
            text = octets.size() > 15 ? BytesToHexText(octets) : DottedIPv4(octets);
            break;
        default:
            RaiseLibraryError(kBadSyntax);
    }
    switch (it.syntax) {
        case SYNTAX_BITSTR:
        case SYNTAX_OCTETSTR:
        case SYNTAX_OPAQUE:
        case SYNTAX_MACADDRESS:
        case SYNTAX_IPV6ADDRESS:
        case SYNTAX_BITLIST:
        case SYNTAX_INETADDRESS:
            break;
        default:
            if (PrintableEmpty(vb)) text = it.syntax == SYNTAX_DISPLAYSTR ? "" : kNullValueText;
    }
    StoreValue(it, std::move(text));
}

void HvSNMPRequest::TextToVb(int32_t item, SnmpVb& vb) {
    const VarItem& it = list_.Item(item);
    const std::string t = RawValue(it);
    if (t == kNullValueText) {
        vb.SetNull();
        return;
    }
    switch (it.syntax) {
        case SYNTAX_BOOLEAN:
            vb.SetInteger(t == "true" ? 1 : 0);
            break;
        case SYNTAX_INTEGER:
            vb.SetInteger(TextToInt32(t));
            break;
        case SYNTAX_BITSTR:
        case SYNTAX_OCTETSTR:
        case SYNTAX_BITLIST:
        case SYNTAX_MACADDRESS:
        case SYNTAX_IPV6ADDRESS:
            vb.SetOctets(kAsnOctetString, HexTextToBytes(t));
            break;
        case SYNTAX_OPAQUE:
            vb.SetOctets(kAsnOpaque, HexTextToBytes(t));
            break;
        case SYNTAX_NULL:
            vb.SetNull();
            break;
        case SYNTAX_OBJECTID: {
            SnmpOid oid;
            // An OID the text does not spell cannot be sent; the user sees the value error.
            if (!TextToOid(t, oid)) RaiseLibraryError(-518);
            vb.SetObjectId(std::move(oid));
            break;
        }
        case SYNTAX_IPADDRESS:
        case SYNTAX_NSAPADDR:
            vb.SetOctets(kAsnIpAddress, IPv4Octets(t));
            break;
        case SYNTAX_COUNTER:
            vb.SetUnsigned(kAsnCounter32, TextToUInt32(t));
            break;
        case SYNTAX_GUAGE:
        case SYNTAX_UINTEGER:
            // Unsigned32 travels as Gauge32, its SMI encoding.
            vb.SetUnsigned(kAsnGauge32, TextToUInt32(t));
            break;
        case SYNTAX_TIMETICKS:
            vb.SetUnsigned(kAsnTimeTicks, TextToTimeTicks(t));
            break;
        case SYNTAX_COUNTER64:
            vb.SetCounter64(TextToCounter64(t));
            break;
        case SYNTAX_DOUBLE:
            vb.SetOctets(kAsnOctetString, DoubleToLE(TextToDouble(t)));
            break;
        case SYNTAX_DATETIME:
            vb.SetOctets(kAsnOctetString, HvDateTime(t).ToBytes());
            break;
        case SYNTAX_BCDATETIME:
            vb.SetOctets(kAsnOctetString, DoubleToLE(TextToDateTimeNumber(t)));
            break;
        case SYNTAX_DISPLAYSTR:
            vb.SetOctets(kAsnOctetString, t);
            break;
        case SYNTAX_INETADDRESS:
            // The empty text is the empty address (what an empty value reads as), not
            // 255.255.255.255.
            vb.SetOctets(kAsnOctetString, t.empty()       ? std::string()
                                          : t.size() > 31 ? HexTextToBytes(t)
                                                          : IPv4Octets(t));
            break;
        default:
            RaiseLibraryError(kBadSyntax);
    }
}

std::string HvSNMPRequest::DecodeIndex(int32_t key, const std::string& index) {
    VarItem& it = KeyItem(key);
    const bool last = key == list_.PKeyCount - 1;
    const bool implied = list_.IsImplied(key);
    SnmpOid s;
    // A text that is not an OID is no row index.
    if (!index.empty() && !TextToOid(index, s)) RaiseLibraryError(kBadKeyCount);
    const size_t n = s.size();
    // Every sub-identifier a key takes must be there; a shorter index is a row index with
    // fewer parts than the keys need.
    auto need = [n](uint64_t count) {
        if (count > n) RaiseLibraryError(kBadKeyCount);
    };
    // The count L in front of a variable-length key, and that many parts after it.
    auto lengthPrefixed = [&]() -> size_t {
        need(1);
        need(uint64_t{s[0]} + 1);
        return s[0];
    };
    std::string text;
    size_t consumed = 0;
    switch (it.syntax) {
        case SYNTAX_BOOLEAN:
            need(1);
            text = s[0] != 0 ? "true" : "false";
            consumed = 1;
            break;
        case SYNTAX_INTEGER:
            need(1);
            text = std::to_string(static_cast<int32_t>(s[0]));
            consumed = 1;
            break;
        case SYNTAX_COUNTER:
        case SYNTAX_GUAGE:
        case SYNTAX_UINTEGER:
            need(1);
            text = std::to_string(s[0]);
            consumed = 1;
            break;
        case SYNTAX_BITSTR:
        case SYNTAX_OCTETSTR:
        case SYNTAX_OPAQUE:
        case SYNTAX_BITLIST:
            if (it.syntax == SYNTAX_OCTETSTR && !last && !implied && n == 9 && key == 1) {
                text = HexOfSubIds(s, 0, 8);
                consumed = 8;
            } else if (last && implied) {
                // Encoded without a length: every part is an octet.
                text = HexOfSubIds(s, 0, n);
                consumed = n;
            } else if (last) {
                // The length in front is skipped; the rest of the index is the value.
                text = HexOfSubIds(s, n > 0 ? 1 : 0, n);
                consumed = n;
            } else {
                // Keys before the last always carry their length (as EncodeIndex writes them),
                // so they never swallow the keys behind them.
                size_t len = lengthPrefixed();
                text = HexOfSubIds(s, 1, len + 1);
                consumed = len + 1;
            }
            break;
        case SYNTAX_NULL:
            text = kNullValueText;
            break;
        case SYNTAX_OBJECTID:
            if (last && implied) {
                text = index;
                consumed = n;
            } else {
                size_t len = lengthPrefixed();
                text = DottedSubIds(s, 1, len + 1);
                consumed = len + 1;
            }
            break;
        case SYNTAX_IPADDRESS:
        case SYNTAX_NSAPADDR:
            need(4);
            text = DottedSubIds(s, 0, 4);
            consumed = 4;
            break;
        case SYNTAX_TIMETICKS:
            need(1);
            text = TimeTicksToText(s[0]);
            consumed = 1;
            break;
        case SYNTAX_COUNTER64:
            need(2);
            text = std::to_string(Join64(s[0], s[1]));
            consumed = 2;
            break;
        case SYNTAX_DOUBLE:
            need(2);
            text = RealToText(DoubleFromBits(Join64(s[1], s[0])));
            consumed = 2;
            break;
        case SYNTAX_MACADDRESS:
            need(6);
            text = HexOfSubIds(s, 0, 6);
            consumed = 6;
            break;
        case SYNTAX_DATETIME: {
            need(11);
            HvDateTime dt;
            dt.FromBytes(CharsOfSubIds(s, 0, 11));
            text = dt.ToText();
            consumed = 11;
            break;
        }
        case SYNTAX_BCDATETIME:
            need(2);
            text = DateTimeNumberToText(DoubleFromBits(Join64(s[1], s[0])));
            consumed = 2;
            break;
        case SYNTAX_DISPLAYSTR:
            if (last && implied) {
                text = CharsOfSubIds(s, 0, n);
                consumed = n;
            } else {
                size_t len = lengthPrefixed();
                text = CharsOfSubIds(s, 1, len + 1);
                consumed = len + 1;
            }
            break;
        case SYNTAX_IPV6ADDRESS:
            if (last && implied) {
                text = HexOfSubIds(s, 0, n);
                consumed = n;
            } else {
                need(16);
                text = HexOfSubIds(s, 0, 16);
                consumed = 16;
            }
            break;
        case SYNTAX_INETADDRESS:
            if (last) {
                if (n <= 5) {
                    need(4);
                    text = DottedSubIds(s, n - 4, n);
                } else if (n <= 17) {
                    text = HexOfSubIds(s, 1, n);
                } else {
                    // 16 address octets, then the zone index as the last part.
                    text = HexOfSubIds(s, 1, 17) + "%" + std::to_string(s[n - 1]);
                }
                consumed = n;
            } else if (n >= 18 && s[0] == 17) {
                // The length 17 that EncodeIndex writes counts the zone index too.
                text = HexOfSubIds(s, 1, 17) + "%" + std::to_string(s[17]);
                consumed = 18;
            } else if (n >= 17) {
                text = HexOfSubIds(s, 1, 17);
                consumed = 17;
            } else if (n >= 5 && n <= 15) {
                text = DottedSubIds(s, 1, 5);
                consumed = 5;
            } else if (n == 16 && list_.PKeyCount == 6) {
                text = DottedSubIds(s, 1, 5);
                consumed = 5;
            } else {
                need(4);
                text = DottedSubIds(s, 0, 4);
                consumed = 4;
            }
            break;
        default:
            RaiseLibraryError(kBadSyntax);
    }
    StoreValue(it, std::move(text));
    return DottedSubIds(s, consumed, n);
}

std::string HvSNMPRequest::EncodeIndex(int32_t key) {
    const VarItem& it = KeyItem(key);
    const bool lastImplied = key == list_.PKeyCount - 1 && list_.IsImplied(key);
    const std::string t = RawValue(it);
    SnmpOid out;
    switch (it.syntax) {
        case SYNTAX_BOOLEAN:
            out.push_back(t == "true" ? 1 : 0);
            break;
        case SYNTAX_INTEGER:
            out.push_back(static_cast<uint32_t>(TextToInt32(t)));
            break;
        case SYNTAX_COUNTER:
        case SYNTAX_GUAGE:
        case SYNTAX_UINTEGER:
            out.push_back(TextToUInt32(t));
            break;
        case SYNTAX_BITSTR:
        case SYNTAX_OCTETSTR:
        case SYNTAX_OPAQUE:
        case SYNTAX_BITLIST:
            AppendOctets(out, HexTextToBytes(t), !lastImplied);
            break;
        case SYNTAX_NULL:
            break;
        case SYNTAX_OBJECTID: {
            SnmpOid oid;
            TextToOid(t, oid);
            if (!lastImplied) out.push_back(static_cast<uint32_t>(oid.size()));
            out.insert(out.end(), oid.begin(), oid.end());
            break;
        }
        case SYNTAX_IPADDRESS:
        case SYNTAX_NSAPADDR: {
            SnmpOid parts;
            if (TextToOid(t, parts)) out = std::move(parts);
            break;
        }
        case SYNTAX_TIMETICKS:
            out.push_back(TextToTimeTicks(t));
            break;
        case SYNTAX_COUNTER64:
            Append64(out, TextToCounter64(t));
            break;
        case SYNTAX_DOUBLE: {
            uint64_t bits = DoubleBits(TextToDouble(t));
            out.push_back(static_cast<uint32_t>(bits));
            out.push_back(static_cast<uint32_t>(bits >> 32));
            break;
        }
        case SYNTAX_MACADDRESS: {
            std::string octets = HexTextToBytes(t);
            if (octets.size() >= 6) AppendOctets(out, octets.substr(0, 6), false);
            break;
        }
        case SYNTAX_DATETIME:
            AppendOctets(out, HvDateTime(t).ToBytes(), false);
            break;
        case SYNTAX_BCDATETIME: {
            uint64_t bits = DoubleBits(TextToDateTimeNumber(t));
            out.push_back(static_cast<uint32_t>(bits));
            out.push_back(static_cast<uint32_t>(bits >> 32));
            break;
        }
        case SYNTAX_DISPLAYSTR:
            AppendOctets(out, t, !lastImplied);
            break;
        case SYNTAX_IPV6ADDRESS: {
            std::string octets = HexTextToBytes(t);
            if (octets.size() >= 16) AppendOctets(out, octets.substr(0, 16), false);
            break;
        }
        case SYNTAX_INETADDRESS:
            if (t.size() <= 15) {
                // Length 4, then the dotted address.
                out.push_back(4);
                SnmpOid parts;
                if (TextToOid(t, parts)) out.insert(out.end(), parts.begin(), parts.end());
            } else if (t.size() >= 33 && t.size() <= 69) {
                // 16 octets from the first 32 hex digits, counted with the zone index behind
                // them. The zone is what follows the "%" (as DecodeIndex writes it), else the
                // characters from the 33rd on.
                out.push_back(17);
                AppendOctets(out, HexTextToBytes(t.substr(0, 32)), false);
                size_t percent = t.find('%');
                if (percent == 32)
                    AppendZone(out, t.substr(33));
                else if (t.size() > 34)
                    AppendZone(out, t.substr(percent != std::string::npos ? 33 : 32, 4));
            } else {
                AppendOctets(out, HexTextToBytes(t), !lastImplied);
            }
            break;
        default:
            RaiseLibraryError(kBadSyntax);
    }
    return OidToText(out);
}
