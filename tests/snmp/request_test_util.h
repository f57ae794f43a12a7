#pragma once
// Helpers shared by the tests of the request's converters and expressions.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/Exception.h"
#include "snmp/HvSNMPRequest.h"
#include "tests/support/LibraryErrorTestSupport.h"

// One item of a test list.
struct ItemSpec {
    int32_t syntax = SYNTAX_INTEGER;
    std::string value;
    int32_t access = ACCESS_READONLY;
    const HvOptionList* options = nullptr;
    const char* getExpr = nullptr;
    const char* setExpr = nullptr;
};

// Gives the request a list of the items (item type `itemType`, `keys` key items).
inline void FillList(HvSNMPRequest& request, const std::vector<ItemSpec>& items,
                     uint8_t itemType = SVT_SV, int32_t keys = 0) {
    std::vector<SnmpVarDef> defs;
    for (const ItemSpec& s : items)
        defs.push_back({"1.3.6.1.4.1.99.1", "item", s.syntax, s.access, s.options, s.getExpr,
                        s.setExpr, nullptr, s.value.c_str(), nullptr});
    defs.push_back({});
    request.SetList(HvSNMPVarList(defs.data(), itemType, keys));
}

// The compiled-in texts of the codes these tests expect.
inline std::string ExpectedText(int code) {
    switch (code) {
        case -1:
            return " Bad logic operand!";
        case -511:
            return "Bad SNMP syntax!";
        case -512:
            return "Null value in the expression!";
        case -513:
            return "Bad SNMP syntax in the expression!";
        case -514:
            return "Bad key count of SNMP variable list!";
        case -518:
            return "Bad value of the associated SNMP variable's (partial) data!";
    }
    return "?";
}

// Runs `f`, which must raise the library error `code` with its text.
template <typename F>
void ExpectLibraryError(F&& f, int code, const std::string& context) {
    ExpectLibraryErrorText(std::forward<F>(f), code, context, ExpectedText);
}
