#include "mib/HvOptionList.h"

#include <stdexcept>

HvOptionList::HvOptionList(const HvOptionData* data, int32_t valueKind, bool caseSensitive)
    : valueKind_(valueKind), caseSensitive_(caseSensitive) {
    if (valueKind < OVK_INTEGER || valueKind > OVK_PREFIX)
        throw std::invalid_argument("HvOptionList: value kind must be 1, 2 or 3");
    Append(data);
}

void HvOptionList::Append(const HvOptionData* data) {
    if (data == nullptr) return;
    size_t n = 0;
    while (data[n].label != nullptr) ++n;
    if (n == 0) return;
    items_.reserve(items_.size() + n);
    for (size_t i = 0; i < n; ++i) {
        Entry entry;
        if (valueKind_ == OVK_INTEGER)
            entry.number = data[i].value.number;
        else if (data[i].value.text != nullptr)
            entry.text = data[i].value.text;
        entry.label = data[i].label;
        items_.push_back(std::move(entry));
    }
}
