#include "binding/HvControlFormat.h"

#include "mib/HvOptionList.h"
#include "mib/HvValueFormat.h"
#include "platform/widgets/ExtCtrls.h"
#include "platform/widgets/StdCtrls.h"

namespace {

void FillItems(const HvOptionList* list, TStrings& items) {
    items.Clear();
    if (list == nullptr) return;
    for (const HvOptionList::Entry& entry : list->Items()) items.Add(entry.label);
}

int IndexFor(const HvOptionList* list, const TStrings& items, const std::string& text) {
    if (list == nullptr) {
        for (int i = 0; i < items.Count(); ++i)
            if (items.Get(i) == text) return i;
        return -1;
    }
    const int index = FindLabel(*list, text);
    return index >= 0 ? index : FindValue(*list, text);
}

}  // namespace

void FillComboBox(const HvOptionList* list, TComboBox* box) {
    if (box != nullptr) FillItems(list, box->Items());
}

void FillRadioGroup(const HvOptionList* list, TRadioGroup* group) {
    if (group != nullptr) FillItems(list, group->Items());
}

void SelectInComboBox(const HvOptionList* list, TComboBox* box, const std::string& text) {
    if (box != nullptr) box->SetItemIndex(IndexFor(list, box->Items(), text));
}

void SelectInRadioGroup(const HvOptionList* list, TRadioGroup* group, const std::string& text) {
    if (group != nullptr) group->SetItemIndex(IndexFor(list, group->Items(), text));
}
