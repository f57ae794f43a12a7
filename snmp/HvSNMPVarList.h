#pragma once
// The variables of one SNMP request: copies of compiled-in definitions with their current
// value texts and walk positions, the item type that tells the request engine how to
// address them, and the number of leading key (index) items.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "mib/HvOptionList.h"
#include "mib/HvSnmpTypes.h"
#include "mib/SnmpVarDef.h"

// One variable of a list; every text is owned by the item.
struct VarItem {
    std::string oid;    // dotted OID without instance
    std::string label;  // row label / column caption
    int32_t syntax = 0;
    int32_t access = 0;
    // Value names, or null; not owned (shared with the definition tables). When set, `value`
    // holds the label rather than the raw value.
    const HvOptionList* options = nullptr;
    std::optional<std::string> getExpr;
    std::optional<std::string> setExpr;
    std::optional<std::string> spare;
    std::string value;    // current value text
    std::string lastOid;  // walk position
};

class HvSNMPVarList {
public:
    std::string Instance;  // when not empty, OIDs are used as OID + "." + Instance
    int32_t PKeyCount = 0;
    uint8_t ItemType = SVT_SV;
    std::string Name;
    // Option lists that belong to this list and are deleted with it (nothing adds to it in
    // this module). A copy does not take these over; its items keep pointing to them.
    std::vector<std::unique_ptr<HvOptionList>> OwnedOptionLists;

    HvSNMPVarList() = default;
    // Item type and key count as given, then Append(defs).
    HvSNMPVarList(const SnmpVarDef* defs, uint8_t itemType, int32_t keyCount);
    // Empty Instance and OwnedOptionLists, then Assign(other).
    HvSNMPVarList(const HvSNMPVarList& other);
    HvSNMPVarList(HvSNMPVarList&&) noexcept = default;
    HvSNMPVarList& operator=(HvSNMPVarList&&) noexcept = default;
    // Copy assignment is Assign: Instance and OwnedOptionLists of the target stay.
    HvSNMPVarList& operator=(const HvSNMPVarList& other) { return Assign(other); }
    ~HvSNMPVarList() = default;

    // Appends one item per definition up to the first null oid (null defs: nothing). Null
    // label, value and lastOid give empty texts.
    void Append(const SnmpVarDef* defs);
    // Clear, then ItemType, PKeyCount, Name and deep copies of the items of `other`.
    // Instance and OwnedOptionLists stay. Assigning a list to itself changes nothing.
    HvSNMPVarList& Assign(const HvSNMPVarList& other);
    // Removes every item.
    void Clear();

    int32_t Count() const { return static_cast<int32_t>(items_.size()); }
    // The item at index i; raises std::out_of_range outside 0..Count()-1.
    VarItem& Item(int32_t i) { return *items_.at(static_cast<size_t>(i)); }
    const VarItem& Item(int32_t i) const { return *items_.at(static_cast<size_t>(i)); }

    // Access-word queries of item i (std::out_of_range outside 0..Count()-1).
    bool IsImplied(int32_t i) const;   // bit implied
    bool IsReadable(int32_t i) const;  // not invalid, readonly bit
    // Not invalid, and the writeonly bit, or a key item (i < PKeyCount) of a whole table.
    bool IsWritable(int32_t i) const;
    // Not invalid, not hidden, and any of notaccess, readonly, derived.
    bool IsColumn(int32_t i) const;
    // Write-only (the implied bit disregarded), invalid, or hidden.
    bool IsHiddenColumn(int32_t i) const;
    int32_t ColumnCount() const;
    int32_t HiddenColumnCount() const;

private:
    // Items have stable addresses across Append.
    std::vector<std::unique_ptr<VarItem>> items_;
};
