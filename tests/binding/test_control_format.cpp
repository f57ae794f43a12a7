// Option lists in combo boxes and radio groups: filling and selecting by label or value.
#include "binding/HvControlFormat.h"
#include "binding_test_support.h"
#include "mib/HvOptionList.h"

namespace {

using bindingtest::GuiTest;

const HvOptionData kStates[] = {{1, "enabled"}, {2, "disabled"}, {7, "testing"}, {0, nullptr}};
const HvOptionData kVendors[] = {
    {"1.3.6.1.4.1.43917", "Vendor"}, {"1.3.6.1.4.1.9", "Other"}, {nullptr, nullptr}};

class ControlFormat : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form = ActiveForm();
        box = new TComboBox(form);
        box->SetParent(form);
        box->SetStyle(csDropDownList);
        group = new TRadioGroup(form);
        group->SetParent(form);
        group->SetTop(40);
    }
    TForm* form = nullptr;
    TComboBox* box = nullptr;
    TRadioGroup* group = nullptr;
};

TEST_F(ControlFormat, FillingPutsTheLabelsInListOrderAndReplacesOldItems) {
    const HvOptionList states(kStates, OVK_INTEGER);
    box->Items().Add("stale");
    group->Items().Add("stale");
    FillComboBox(&states, box);
    FillRadioGroup(&states, group);
    const std::vector<std::string> labels{"enabled", "disabled", "testing"};
    EXPECT_EQ(box->Items().ToVector(), labels);
    EXPECT_EQ(group->Items().ToVector(), labels);
    FillComboBox(nullptr, box);
    EXPECT_EQ(box->Items().Count(), 0);
}

TEST_F(ControlFormat, SelectingFindsTheLabelThenTheValue) {
    const HvOptionList states(kStates, OVK_INTEGER);
    const HvOptionList exact(kStates, OVK_INTEGER, true);
    const HvOptionList vendors(kVendors, OVK_PREFIX);
    struct Case {
        const HvOptionList* list;
        const char* text;
        int index;
    };
    const Case cases[] = {
        {&states, "disabled", 1},  {&states, "DISABLED", 1},
        {&exact, "DISABLED", -1},  {&states, "7", 2},
        {&states, "2", 1},         {&states, "5", -1},
        {&states, "(NULL)", -1},   {&states, "", -1},
        {&vendors, "Vendor.5", 0}, {&vendors, "1.3.6.1.4.1.9.1", 1},
        {&vendors, "Vend", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        FillComboBox(c.list, box);
        FillRadioGroup(c.list, group);
        box->SetItemIndex(0);
        group->SetItemIndex(0);
        SelectInComboBox(c.list, box, c.text);
        SelectInRadioGroup(c.list, group, c.text);
        EXPECT_EQ(box->ItemIndex(), c.index);
        EXPECT_EQ(group->ItemIndex(), c.index);
    }
}

TEST_F(ControlFormat, WithoutAListTheItemOfTheSameTextIsSelected) {
    box->Items().Add("a");
    box->Items().Add("b");
    SelectInComboBox(nullptr, box, "b");
    EXPECT_EQ(box->ItemIndex(), 1);
    SelectInComboBox(nullptr, box, "c");
    EXPECT_EQ(box->ItemIndex(), -1);
}

}  // namespace
