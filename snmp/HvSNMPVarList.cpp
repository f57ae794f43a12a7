#include "snmp/HvSNMPVarList.h"

#include "snmp/HvModuleErrorSource.h"

namespace {

std::optional<std::string> Duplicate(const char* text) {
    if (text == nullptr) return std::nullopt;
    return std::string(text);
}

std::string TextOrEmpty(const char* text) {
    return text != nullptr ? text : std::string();
}

}  // namespace

HvSNMPVarList::HvSNMPVarList(const SnmpVarDef* defs, uint8_t itemType, int32_t keyCount)
    : PKeyCount(keyCount), ItemType(itemType) {
    LinkModuleErrorSource();
    Append(defs);
}

HvSNMPVarList::HvSNMPVarList(const HvSNMPVarList& other) {
    Assign(other);
}

void HvSNMPVarList::Append(const SnmpVarDef* defs) {
    if (defs == nullptr) return;
    size_t n = 0;
    while (defs[n].oid != nullptr) ++n;
    if (n == 0) return;
    items_.reserve(items_.size() + n);
    for (size_t i = 0; i < n; ++i) {
        const SnmpVarDef& d = defs[i];
        auto item = std::make_unique<VarItem>();
        item->oid = d.oid;
        item->label = TextOrEmpty(d.label);
        item->syntax = d.syntax;
        item->access = d.access;
        item->options = d.options;
        item->getExpr = Duplicate(d.getExpr);
        item->setExpr = Duplicate(d.setExpr);
        item->spare = Duplicate(d.spare);
        item->value = TextOrEmpty(d.value);
        item->lastOid = TextOrEmpty(d.lastOid);
        items_.push_back(std::move(item));
    }
}

HvSNMPVarList& HvSNMPVarList::Assign(const HvSNMPVarList& other) {
    if (&other == this) return *this;
    Clear();
    ItemType = other.ItemType;
    PKeyCount = other.PKeyCount;
    Name = other.Name;
    items_.reserve(other.items_.size());
    for (const auto& item : other.items_) items_.push_back(std::make_unique<VarItem>(*item));
    return *this;
}

void HvSNMPVarList::Clear() {
    items_.clear();
}

bool HvSNMPVarList::IsImplied(int32_t i) const {
    return (Item(i).access & ACCESS_IMPLIED) != 0;
}

bool HvSNMPVarList::IsReadable(int32_t i) const {
    const int32_t a = Item(i).access;
    return (a & ACCESS_INVALID) == 0 && (a & ACCESS_READONLY) != 0;
}

bool HvSNMPVarList::IsWritable(int32_t i) const {
    const int32_t a = Item(i).access;
    if ((a & ACCESS_INVALID) != 0) return false;
    if ((a & ACCESS_WRITEONLY) != 0) return true;
    return (ItemType == MVT_FMV || ItemType == MVT_UMV) && i < PKeyCount;
}

bool HvSNMPVarList::IsColumn(int32_t i) const {
    const int32_t a = Item(i).access;
    return (a & (ACCESS_INVALID | ACCESS_HIDDEN)) == 0 &&
           (a & (ACCESS_NOTACCESS | ACCESS_DERIVED | ACCESS_READONLY)) != 0;
}

bool HvSNMPVarList::IsHiddenColumn(int32_t i) const {
    const int32_t a = Item(i).access;
    // The implied bit only concerns index encoding; a write-only key with it is still a
    // hidden column rather than no column at all.
    return (a & ~ACCESS_IMPLIED) == ACCESS_WRITEONLY || (a & (ACCESS_INVALID | ACCESS_HIDDEN)) != 0;
}

int32_t HvSNMPVarList::ColumnCount() const {
    int32_t n = 0;
    for (int32_t i = 0; i < Count(); ++i)
        if (IsColumn(i)) ++n;
    return n;
}

int32_t HvSNMPVarList::HiddenColumnCount() const {
    int32_t n = 0;
    for (int32_t i = 0; i < Count(); ++i)
        if (IsHiddenColumn(i)) ++n;
    return n;
}
