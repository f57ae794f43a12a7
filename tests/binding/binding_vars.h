#pragma once
// Variable lists for the binding tests, built from short descriptions.
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "mib/HvOptionList.h"
#include "mib/HvSnmpTypes.h"
#include "mib/SnmpVarDef.h"
#include "snmp/HvSNMPVarList.h"

namespace bindingtest {

struct Var {
    Var(int syntax, int access = ACCESS_READWRITE, const HvOptionList* options = nullptr,
        std::string value = "", std::string label = "")
        : syntax(syntax),
          access(access),
          options(options),
          value(std::move(value)),
          label(std::move(label)) {}
    int syntax;
    int access;
    const HvOptionList* options;
    std::string value;
    std::string label;
};

// A list of the variables (OIDs 1.3.6.1.4.1.43917.99.<i+1>), item type and key count as given.
inline HvSNMPVarList MakeList(const std::vector<Var>& vars, uint8_t itemType = SVT_SV,
                              int32_t keys = 0) {
    // The definitions must outlive the call only while Append copies them.
    std::deque<std::string> texts;
    std::vector<SnmpVarDef> defs;
    for (size_t i = 0; i < vars.size(); ++i) {
        texts.push_back("1.3.6.1.4.1.43917.99." + std::to_string(i + 1));
        const char* oid = texts.back().c_str();
        texts.push_back(vars[i].label.empty() ? "Var" + std::to_string(i) : vars[i].label);
        const char* label = texts.back().c_str();
        texts.push_back(vars[i].value);
        defs.push_back({oid, label, vars[i].syntax, vars[i].access, vars[i].options, nullptr,
                        nullptr, nullptr, texts.back().c_str(), nullptr});
    }
    defs.push_back({nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr});
    return HvSNMPVarList(defs.data(), itemType, keys);
}

}  // namespace bindingtest
