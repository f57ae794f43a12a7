#pragma once
// Option lists in the choice controls: filling a combo box or a radio group with the labels
// of an option list, and selecting the entry of a value text (by label, else by value).
#include <string>

class HvOptionList;
class TComboBox;
class TRadioGroup;

// Clears the control's items, then adds every label of the list in list order (a null list
// leaves the control without items).
void FillComboBox(const HvOptionList* list, TComboBox* box);
void FillRadioGroup(const HvOptionList* list, TRadioGroup* group);

// ItemIndex := FindLabel(list, text), or FindValue(list, text) when no label matches; -1
// (no selection) when neither matches. Without a list the item whose text equals `text`
// is selected, as far as there is one.
void SelectInComboBox(const HvOptionList* list, TComboBox* box, const std::string& text);
void SelectInRadioGroup(const HvOptionList* list, TRadioGroup* group, const std::string& text);
