// DecodeIndex over every syntax code, key position and implied flag with any index text;
// a decoded value that is encoded and decoded again stays the same.
#include <vector>

#include "../FuzzSupport.h"
#include "platform/Exception.h"
#include "snmp/HvSNMPRequest.h"

namespace {

HvSNMPRequest& Request(int32_t syntax, int32_t keys, int32_t key, bool implied) {
    static HvSNMPRequest request;
    std::vector<SnmpVarDef> defs;
    for (int32_t i = 0; i <= keys; ++i) {
        const bool mine = i == key;
        defs.push_back({"1.3.6.1.4.1.99.1", "key", mine ? syntax : SYNTAX_INTEGER,
                        ACCESS_READONLY | (mine && implied ? ACCESS_IMPLIED : 0), nullptr, nullptr,
                        nullptr, nullptr, "", nullptr});
    }
    defs.push_back({});
    request.SetList(HvSNMPVarList(defs.data(), MVT_FMV, keys));
    return request;
}

// Syntaxes whose index forms are not meant to be inverse: the fixed eight-octet key 1 of an
// octet string, an implied OID kept as the text it came as, an implied IPv6 address of
// another length than 16, and the address forms of inetaddress.
bool RoundTrips(int32_t syntax, int32_t key, bool last, bool implied) {
    if (syntax == SYNTAX_OCTETSTR && key == 1) return false;
    if (syntax == SYNTAX_OBJECTID && last && implied) return false;
    if (syntax == SYNTAX_IPV6ADDRESS && last && implied) return false;
    return syntax != SYNTAX_INETADDRESS;
}

bool IsExpected(const Exception& e) {
    // -511 unknown syntax, -514 short index; a bcdatetime text the platform cannot read.
    return e.HelpContext() == -511 || e.HelpContext() == -514 ||
           dynamic_cast<const EConvertError*>(&e) != nullptr;
}

}  // namespace

int FuzzDecodeIndex(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const int32_t syntax = FuzzSyntax(in.Byte());
    const uint8_t flags = in.Byte();
    const bool implied = flags & 1;
    const int32_t keys = 1 + ((flags >> 1) & 7);
    const int32_t key = ((flags >> 4) & 7) % (keys + 1);  // also the column after the keys
    const std::string index = in.Rest();
    HvSNMPRequest& request = Request(syntax, keys, key, implied);
    const bool last = key == keys - 1;
    std::string value;
    try {
        const std::string rest = request.DecodeIndex(key, index);
        FUZZ_CHECK(rest.size() <= index.size());
        value = request.List().Item(key).value;
    } catch (const Exception& e) {
        FUZZ_CHECK(IsExpected(e));
        return 0;
    }
    try {
        request.DecodeIndex(key, request.EncodeIndex(key));
        if (RoundTrips(syntax, key, last, implied)) {
            const std::string first = request.List().Item(key).value;
            // Reals are written with 15 digits: the first round may round them, later
            // rounds do not change them.
            if (syntax != SYNTAX_DOUBLE && syntax != SYNTAX_BCDATETIME) FUZZ_CHECK(first == value);
            request.DecodeIndex(key, request.EncodeIndex(key));
            FUZZ_CHECK(request.List().Item(key).value == first);
        }
    } catch (const Exception& e) {
        FUZZ_CHECK(IsExpected(e));
    }
    return 0;
}
