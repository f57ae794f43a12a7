// SubstituteValues, Evaluate and Derive over a list of items of any syntax and value: they
// end, and fail only with their documented errors.
#include <algorithm>
#include <vector>

#include "../FuzzSupport.h"
#include "platform/Exception.h"
#include "snmp/HvSNMPRequest.h"

namespace {

bool IsExpected(const Exception& e) {
    const int code = e.HelpContext();
    return code == -1 || code == -512 || code == -513 ||
           dynamic_cast<const EConvertError*>(&e) != nullptr;
}

}  // namespace

int FuzzSubstituteValues(const uint8_t* data, size_t size) {
    static HvSNMPRequest request;
    FuzzInput in(data, size);
    const uint8_t flags = in.Byte();
    const bool quote = flags & 1;
    static const char* const kMarkers[] = {"$", "#", "$$", "ab"};
    const std::string marker = kMarkers[(flags >> 1) & 3];
    const size_t count = 1 + ((flags >> 3) & 7);
    std::vector<int32_t> syntaxes;
    std::vector<std::string> values;
    for (size_t i = 0; i < count; ++i) {
        syntaxes.push_back(FuzzSyntax(in.Byte()));
        values.push_back(in.Text('\x01'));
    }
    const std::string expression = in.Rest();

    std::vector<SnmpVarDef> defs;
    for (size_t i = 0; i < count; ++i)
        defs.push_back({"1.3.6.1", "v", syntaxes[i], ACCESS_READWRITE, nullptr, expression.c_str(),
                        expression.c_str(), nullptr, values[i].c_str(), nullptr});
    defs.push_back({});
    request.SetList(HvSNMPVarList(defs.data(), SVT_SV, 0));

    try {
        const std::string out = request.SubstituteValues(expression, quote, marker);
        size_t inserted = 0;
        for (const std::string& v : values) inserted = std::max(inserted, v.size() + 2 + 32);
        // Every reference (at least the marker) is replaced by one value (quoted, or a number
        // of a few dozen digits at most): nothing is substituted twice.
        FUZZ_CHECK(out.size() <= expression.size() / marker.size() * inserted + expression.size());
    } catch (const Exception& e) {
        FUZZ_CHECK(IsExpected(e));
    }
    try {
        request.Evaluate(expression);
    } catch (const Exception& e) {
        FUZZ_CHECK(IsExpected(e));
    }
    for (size_t i = 0; i < count; ++i) {
        try {
            request.Derive(static_cast<int32_t>(i),
                           i % 2 ? HvDeriveDirection::Write : HvDeriveDirection::Read);
        } catch (const Exception& e) {
            FUZZ_CHECK(IsExpected(e));
        }
    }
    return 0;
}
