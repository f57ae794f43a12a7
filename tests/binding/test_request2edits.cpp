// The binding of variables to controls without an agent: showing and reading for every
// display syntax, partial values, option lists, bits, several edits per value, relays,
// errors, the virtual operations and the list view.
#include <QTableWidget>
#include <functional>
#include <string>
#include <vector>

#include "binding/HvSNMPRequest2Edits.h"
#include "binding_test_support.h"
#include "binding_vars.h"
#include "mib/HvOptionList.h"
#include "platform/Exception.h"

namespace {

using bindingtest::GuiTest;
using bindingtest::MakeList;
using bindingtest::Var;

const HvOptionData kStates[] = {{1, "enabled"}, {2, "disabled"}, {0, nullptr}};
const HvOptionData kVendors[] = {{"1.3.6.1.4.1.43917", "Vendor"}, {nullptr, nullptr}};
const HvOptionList kStateList(kStates, OVK_INTEGER);
const HvOptionList kVendorList(kVendors, OVK_PREFIX);

// The help context of the exception `f` raises, 0 when it raises none.
int CodeOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const Exception& e) {
        return e.HelpContext();
    }
    return 0;
}

class Binding : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form = ActiveForm(600, 500);
        binding = std::make_unique<HvSNMPRequest2Edits>(nullptr, form);
    }
    void TearDown() override {
        binding.reset();
        GuiTest::TearDown();
    }

    void Use(const std::vector<Var>& vars, uint8_t itemType = SVT_SV, int32_t keys = 0) {
        binding->request.SetList(MakeList(vars, itemType, keys));
    }
    VarItem& Item(int i) { return binding->request.List().Item(i); }
    std::string& Value(int i) { return Item(i).value; }

    template <class T>
    T* Make() {
        auto* control = new T(form);
        control->SetParent(form);
        control->SetTop(5 + 25 * (made_++ % 18));
        control->SetLeft(5 + 150 * (made_ / 18));
        return control;
    }
    std::vector<TEdit*> Edits(size_t n) {
        std::vector<TEdit*> edits;
        for (size_t i = 0; i < n; ++i) edits.push_back(Make<TEdit>());
        return edits;
    }
    static std::vector<std::string> Texts(const std::vector<TEdit*>& edits) {
        std::vector<std::string> texts;
        for (TEdit* e : edits) texts.push_back(e->Text());
        return texts;
    }
    static void SetTexts(const std::vector<TEdit*>& edits, const std::vector<std::string>& t) {
        for (size_t i = 0; i < edits.size(); ++i) edits[i]->SetText(i < t.size() ? t[i] : "");
    }

    TForm* form = nullptr;
    std::unique_ptr<HvSNMPRequest2Edits> binding;

private:
    int made_ = 0;
};

// ---- One edit per value -----------------------------------------------------------------

TEST_F(Binding, OneEditShowsAndReadsBackEveryDisplaySyntax) {
    struct Case {
        int syntax;
        std::string value;
        std::string shown;
        std::string typed;
        std::string read;
    };
    const std::string v6 = "20010DB8000000000000000000000001";
    const Case cases[] = {
        {SYNTAX_BOOLEAN, "true", "true", "yes", "false"},
        {SYNTAX_INTEGER, "-5", "-5", "12abc", "12"},
        {SYNTAX_INTEGER, "7", "7", "", "0"},
        {SYNTAX_INTEGER, "(NULL)", "(NULL)", "(NULL)", "(NULL)"},
        {SYNTAX_BITSTR, "0A1B", "0A1B", "0a 1b", "0A1B"},
        {SYNTAX_OCTETSTR, "0A1B", "0A1B", "ABC", "0ABC"},
        {SYNTAX_OBJECTID, "1.3.6.1.4.1", "1.3.6.1.4.1", "1.3.6", "1.3.6"},
        {SYNTAX_IPADDRESS, "10.0.0.1", "10.0.0.1", "10.0.0.300", "10.0.0.44"},
        {SYNTAX_IPADDRESS, "(NULL)", "(NULL)", "192.168.0.1", "192.168.0.1"},
        {SYNTAX_COUNTER, "4294967295", "4294967295", "7", "7"},
        {SYNTAX_GUAGE, "5", "5", "x", "0"},
        {SYNTAX_TIMETICKS, "2 days, 0:00:00.01", "2 days, 0:00:00.01", "1 day 0:00:00.00",
         "1 day 0:00:00.00"},
        {SYNTAX_TIMETICKS, "1:00:00.00", "1:00:00.00", "5", "0:00:00.00"},
        {SYNTAX_OPAQUE, "FF00", "FF00", "1", "01"},
        {SYNTAX_NSAPADDR, "1.2.3.4", "1.2.3.4", "4.3.2.1", "4.3.2.1"},
        {SYNTAX_COUNTER64, "18446744073709551615", "18446744073709551615", "12", "12"},
        {SYNTAX_UINTEGER, "3000000000", "3000000000", "1", "1"},
        {SYNTAX_DOUBLE, "0.5", "0.5", "1e3", "1000"},
        {SYNTAX_MACADDRESS, "001122334455", "001122334455", "00-11-22-33-44-55", "001122334455"},
        {SYNTAX_MACADDRESS, "001122334455", "001122334455", "0a.1b.2c.3d.4e.5f", "0A1B2C3D4E5F"},
        {SYNTAX_DATETIME, "2024-1-5,9:3:7.0,-5:0", "2024-1-5,9:3:7.0,-5:0", "2024-1-5,9:3:7.0",
         "2024-1-5,9:3:7.0"},
        {SYNTAX_BCDATETIME, "2024/01/05 09:03:07", "2024/01/05 09:03:07", "2024/1/6 9:3:7",
         "2024/01/06 09:03:07"},
        {SYNTAX_DISPLAYSTR, "h\xc3\xa9llo \x01\xff", "h\xc3\xa9llo \x01\xff", "", ""},
        {SYNTAX_IPV6ADDRESS, v6, v6, "20010db8000000000000000000000002",
         "20010DB8000000000000000000000002"},
        {SYNTAX_BITLIST, "E8", "1-3,5", "1,8", "81"},
        {SYNTAX_BITLIST, "0000", "0", "all", "FFFF"},
        {SYNTAX_INETADDRESS, "10.0.0.1", "10.0.0.1", v6, v6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.syntax) + " " + c.value);
        Use({{c.syntax, ACCESS_READWRITE, nullptr, c.value}});
        TEdit* edit = Make<TEdit>();
        binding->AssociateEdits(0, "%s", edit);
        binding->ShowValues(-1);
        EXPECT_EQ(edit->Text(), c.shown);
        binding->ReadValues(-1);
        EXPECT_EQ(Value(0), c.value) << "unchanged controls read back the value";
        edit->SetText(c.typed);
        binding->ReadValues(0);
        EXPECT_EQ(Value(0), c.read);
        binding->Dissociate(0);
    }
}

TEST_F(Binding, ABitListTextThatDoesNotFitTheValueIsRefused) {
    Use({{SYNTAX_BITLIST, ACCESS_READWRITE, nullptr, "00"}});
    TEdit* edit = Make<TEdit>();
    binding->AssociateEdits(0, "%s", edit);
    for (const char* text : {"9", "3-1", "x"}) {
        SCOPED_TRACE(text);
        edit->SetText(text);
        EXPECT_EQ(CodeOf([&] { binding->ReadValues(-1); }), -518);
        EXPECT_EQ(Value(0), "00");
    }
    Value(0) = "(NULL)";
    edit->SetText("1");
    EXPECT_EQ(CodeOf([&] { binding->ReadValues(-1); }), -518);
}

TEST_F(Binding, OnlyWritableVariablesAreRead) {
    Use({{SYNTAX_INTEGER, ACCESS_READONLY, nullptr, "1"},
         {SYNTAX_INTEGER, ACCESS_WRITEONLY, nullptr, "2"},
         {SYNTAX_INTEGER, ACCESS_READWRITE | ACCESS_INVALID, nullptr, "3"},
         {SYNTAX_INTEGER, ACCESS_READWRITE, nullptr, "4"}});
    std::vector<TEdit*> edits = Edits(4);
    for (int i = 0; i < 4; ++i) binding->AssociateEdits(i, "%s", edits[static_cast<size_t>(i)]);
    binding->ShowValues(-1);
    EXPECT_EQ(Texts(edits), (std::vector<std::string>{"1", "2", "", "4"}));  // invalid: skipped
    SetTexts(edits, {"10", "20", "30", "40"});
    binding->ReadValues(-1);
    EXPECT_EQ(Value(0), "1");
    EXPECT_EQ(Value(1), "20");
    EXPECT_EQ(Value(2), "3");
    EXPECT_EQ(Value(3), "40");
    binding->ReadValues(1);

    // The key of a whole table counts as writable.
    Use({{SYNTAX_INTEGER, ACCESS_NOTACCESS, nullptr, "5"},
         {SYNTAX_DISPLAYSTR, ACCESS_READONLY, nullptr, "x"}},
        MVT_FMV, 1);
    TEdit* key = Make<TEdit>();
    TEdit* name = Make<TEdit>();
    binding->AssociateEdits(0, "%s", key);
    binding->AssociateEdits(1, "%s", name);
    key->SetText("6");
    name->SetText("y");
    binding->ReadValues(-1);
    EXPECT_EQ(Value(0), "6");
    EXPECT_EQ(Value(1), "x");
}

TEST_F(Binding, ShowingOneVariableLeavesTheOthers) {
    Use({{SYNTAX_INTEGER, ACCESS_READWRITE, nullptr, "1"},
         {SYNTAX_INTEGER, ACCESS_READWRITE, nullptr, "2"},
         {SYNTAX_INTEGER, ACCESS_READWRITE, nullptr, "3"}});
    std::vector<TEdit*> edits = Edits(2);
    binding->AssociateEdits(0, "%s", edits[0]);
    binding->AssociateEdits(1, "%s", edits[1]);
    binding->ShowValues(1);
    EXPECT_EQ(Texts(edits), (std::vector<std::string>{"", "2"}));
    binding->ShowValues(2);  // no association
    EXPECT_EQ(Texts(edits), (std::vector<std::string>{"", "2"}));
}

// ---- Parts of a value -------------------------------------------------------------------

TEST_F(Binding, PartsOfAValueShowUnderTheirOwnSyntax) {
    Use({{SYNTAX_OCTETSTR, ACCESS_READWRITE, nullptr, "00112233445566"}});
    struct Part {
        int offset;
        int syntax;
        const char* shown;
    };
    const Part parts[] = {{2, SYNTAX_INT16, "8755"},
                          {5, SYNTAX_UINT8, "85"},
                          {0, SYNTAX_BOOL8, "false"},
                          {1, SYNTAX_BOOL8, "true"},
                          {1, SYNTAX_MACADDRESS, "112233445566"},
                          {3, SYNTAX_IPADDRESS, "51.68.85.102"},
                          {4, SYNTAX_OCTETSTR, "445566"}};
    std::vector<TLabel*> labels;
    for (const Part& p : parts) {
        labels.push_back(Make<TLabel>());
        binding->AssociateControl(0, p.offset, p.syntax, nullptr, labels.back());
    }
    binding->ShowValues(0);
    for (size_t i = 0; i < labels.size(); ++i) EXPECT_EQ(labels[i]->Caption(), parts[i].shown);

    // A part beyond the value ends the showing there.
    auto* beyond = Make<TStaticText>();
    auto* after = Make<TLabel>();
    binding->AssociateControl(0, 6, SYNTAX_INT16, nullptr, beyond);
    binding->AssociateControl(0, 0, SYNTAX_UINT8, nullptr, after);
    labels[0]->SetCaption("old");
    EXPECT_EQ(CodeOf([&] { binding->ShowValues(-1); }), -519);
    EXPECT_EQ(labels[0]->Caption(), "8755");
    EXPECT_EQ(after->Caption(), "");
}

TEST_F(Binding, APartReadIntoAMissingValueThatStaysTooShortIsRefused) {
    Use({{SYNTAX_INTEGER, ACCESS_READWRITE, nullptr, "(NULL)"}});
    TEdit* low = Make<TEdit>();
    binding->AssociateControl(0, 0, SYNTAX_UINT8, nullptr, low);
    binding->ShowValues(-1);
    EXPECT_EQ(low->Text(), "(NULL)");
    low->SetText("7");
    EXPECT_EQ(CodeOf([&] { binding->ReadValues(-1); }), -518);
    EXPECT_EQ(Value(0), "(NULL)");
}

TEST_F(Binding, PartsAreReadBackIntoTheValue) {
    // A rebuilt syntax: the parts in order, a gap filled with zero bytes.
    Use({{SYNTAX_OCTETSTR, ACCESS_READWRITE, nullptr, "AABBCCDDEEFF"}});
    TEdit* first = Make<TEdit>();
    TEdit* second = Make<TEdit>();
    binding->AssociateControl(0, 0, SYNTAX_UINT16, nullptr, first);
    binding->AssociateControl(0, 4, SYNTAX_UINT8, nullptr, second);
    binding->ShowValues(-1);
    EXPECT_EQ(first->Text(), "43707");
    EXPECT_EQ(second->Text(), "238");
    first->SetText("258");
    second->SetText("255");
    binding->ReadValues(-1);
    EXPECT_EQ(Value(0), "01020000FF");

    // Where parts overlap, the later one wins.
    auto* overlap = Make<TEdit>();
    binding->AssociateControl(0, 1, SYNTAX_UINT8, nullptr, overlap);
    overlap->SetText("9");
    binding->ReadValues(-1);
    EXPECT_EQ(Value(0), "01090000FF");

    // Other syntaxes keep their bytes outside the parts.
    binding->Dissociate(0);
    Use({{SYNTAX_INTEGER, ACCESS_READWRITE, nullptr, "-1"}});
    TEdit* low = Make<TEdit>();
    binding->AssociateControl(0, 0, SYNTAX_UINT8, nullptr, low);
    binding->ShowValues(-1);
    EXPECT_EQ(low->Text(), "255");
    low->SetText("0");
    binding->ReadValues(-1);
    EXPECT_EQ(Value(0), "-256");
}

// ---- Option lists -----------------------------------------------------------------------

TEST_F(Binding, ChoiceControlsShowAndReadTheVariablesOptions) {
    Use({{SYNTAX_INTEGER, ACCESS_READWRITE, &kStateList, "disabled"}});
    auto* box = Make<TComboBox>();
    auto* group = Make<TRadioGroup>();
    auto* label = Make<TLabel>();
    auto* check = Make<TCheckBox>();
    binding->AssociateComboBox(0, box);
    binding->AssociateControl(0, 0, SYNTAX_INTEGER, nullptr, group);
    binding->AssociateControl(0, 0, SYNTAX_INTEGER, nullptr, label);
    binding->AssociateControl(0, 0, SYNTAX_INTEGER, nullptr, check);
    EXPECT_EQ(box->Style(), csDropDownList);
    EXPECT_EQ(box->Items().ToVector(), (std::vector<std::string>{"enabled", "disabled"}));
    EXPECT_EQ(group->Items().ToVector(), (std::vector<std::string>{"enabled", "disabled"}));
    binding->ShowValues(-1);
    EXPECT_EQ(box->ItemIndex(), 1);
    EXPECT_EQ(group->ItemIndex(), 1);
    EXPECT_EQ(label->Caption(), "disabled");
    EXPECT_TRUE(check->Checked());

    // Each control alone: the later association wins, so read them one at a time.
    struct Step {
        std::function<void()> change;
        const char* read;
    };
    const Step steps[] = {
        {[&] { check->SetChecked(false); }, "enabled"},
        {[&] { check->SetChecked(true); }, "disabled"},
    };
    for (const Step& s : steps) {
        s.change();
        binding->ReadValues(-1);
        EXPECT_EQ(Value(0), s.read);
    }
    binding->Dissociate(0);
    binding->AssociateComboBox(0, box);
    box->SetItemIndex(0);
    binding->ReadValues(-1);
    EXPECT_EQ(Value(0), "enabled");
    binding->Dissociate(0);
    binding->AssociateControl(0, 0, SYNTAX_INTEGER, nullptr, group);
    group->SetItemIndex(1);
    binding->ReadValues(-1);
    EXPECT_EQ(Value(0), "disabled");
}

TEST_F(Binding, AChoiceWithoutSelectionLeavesTheValue) {
    Use({{SYNTAX_INTEGER, ACCESS_READWRITE, &kStateList, "7"}});
    auto* box = Make<TComboBox>();
    binding->AssociateComboBox(0, box);
    binding->ShowValues(-1);
    EXPECT_EQ(box->ItemIndex(), -1);
    binding->ReadValues(-1);
    EXPECT_EQ(Value(0), "7");
}

TEST_F(Binding, APartWithAListOfItsOwn) {
    Use({{SYNTAX_OCTETSTR, ACCESS_READWRITE, nullptr, "0002FF"}});
    auto* box = Make<TComboBox>();
    auto* rest = Make<TLabel>();
    binding->AssociateControl(0, 0, SYNTAX_UINT16, &kStateList, box);
    binding->AssociateControl(0, 2, SYNTAX_UINT8, nullptr, rest);
    binding->ShowValues(-1);
    EXPECT_EQ(box->ItemIndex(), 1);
    EXPECT_EQ(rest->Caption(), "255");
    box->SetItemIndex(0);
    binding->ReadValues(-1);
    EXPECT_EQ(Value(0), "0001FF");
}

TEST_F(Binding, APrefixListNeedsASecondControlForTheRest) {
    Use({{SYNTAX_OBJECTID, ACCESS_READWRITE, &kVendorList, "Vendor.5"}});
    auto* box = Make<TComboBox>();
    EXPECT_EQ(CodeOf([&] { binding->AssociateControl(0, 0, SYNTAX_OBJECTID, nullptr, box); }),
              -522);
    binding->Dissociate(0);
    TEdit* rest = Make<TEdit>();
    binding->AssociateControl(0, 0, SYNTAX_OBJECTID, nullptr, box, rest);
    binding->ShowValues(-1);
    EXPECT_EQ(box->ItemIndex(), 0);
    EXPECT_EQ(rest->Text(), "5");
    rest->SetText("7.1");
    binding->ReadValues(-1);
    EXPECT_EQ(Value(0), "Vendor.7.1");
}

TEST_F(Binding, ChoiceControlsWithoutAListAreRefused) {
    Use({{SYNTAX_INTEGER, ACCESS_READWRITE, nullptr, "1"},
         {SYNTAX_OCTETSTR, ACCESS_READWRITE, &kStateList, "01"}});
    auto* box = Make<TComboBox>();
    auto* group = Make<TRadioGroup>();
    EXPECT_EQ(CodeOf([&] { binding->AssociateComboBox(0, box); }), -520);
    EXPECT_EQ(CodeOf([&] { binding->AssociateControl(0, 0, SYNTAX_INTEGER, nullptr, group); }),
              -520);
    // A part does not take the variable's list.
    EXPECT_EQ(CodeOf([&] { binding->AssociateControl(1, 0, SYNTAX_UINT8, nullptr, box); }), -520);
    EXPECT_TRUE(binding->Associations().empty());
    EXPECT_EQ(CodeOf([&] { binding->AssociateControl(0, 0, 99, nullptr, Make<TLabel>()); }), -511);
    EXPECT_EQ(CodeOf([&] { binding->AssociateControl(5, 0, SYNTAX_INTEGER, nullptr, box); }), -12);
}

// ---- Check boxes ------------------------------------------------------------------------

TEST_F(Binding, CheckBoxesShowBitsAndWriteOnlyTheirOwn) {
    Use({{SYNTAX_BITSTR, ACCESS_READWRITE, nullptr, "F0"}});
    std::vector<TControl*> boxes3;
    std::vector<TCheckBox*> checks;
    for (int i = 0; i < 3; ++i) {
        checks.push_back(Make<TCheckBox>());
        boxes3.push_back(checks.back());
    }
    checks[2]->SetEnabled(false);
    binding->AssociateBits(0, "0,3,4", boxes3);
    binding->ShowValues(-1);
    EXPECT_TRUE(checks[0]->Checked());
    EXPECT_TRUE(checks[1]->Checked());
    EXPECT_FALSE(checks[2]->Checked());
    checks[0]->SetChecked(false);
    checks[2]->SetChecked(true);
    binding->ReadValues(-1);
    EXPECT_EQ(Value(0), "78");  // bits 1 and 2 keep their values
    EXPECT_FALSE(checks[2]->Enabled());

    // A bit beyond the value.
    std::vector<TControl*> far{Make<TCheckBox>()};
    binding->AssociateBits(0, "9", far);
    EXPECT_EQ(CodeOf([&] { binding->ShowValues(-1); }), -519);
    // A bit beyond the value extends it when read back.
    static_cast<TCheckBox*>(far[0])->SetChecked(true);
    binding->ReadValues(-1);
    EXPECT_EQ(Value(0), "7840");
    EXPECT_EQ(CodeOf([&] { binding->AssociateBits(0, "1,2", far); }), -522);
}

TEST_F(Binding, ACheckBoxWithoutListShowsBooleansOnly) {
    Use({{SYNTAX_BOOLEAN, ACCESS_READWRITE, nullptr, "true"},
         {SYNTAX_OCTETSTR, ACCESS_READWRITE, nullptr, "0001"},
         {SYNTAX_INTEGER, ACCESS_READWRITE, nullptr, "1"}});
    auto* flag = Make<TCheckBox>();
    auto* part = Make<TCheckBox>();
    binding->AssociateControl(0, 0, SYNTAX_BOOLEAN, nullptr, flag);
    binding->AssociateControl(1, 0, SYNTAX_BOOL16, nullptr, part);
    binding->ShowValues(-1);
    EXPECT_TRUE(flag->Checked());
    EXPECT_TRUE(part->Checked());
    flag->SetChecked(false);
    part->SetChecked(false);
    binding->ReadValues(-1);
    EXPECT_EQ(Value(0), "false");
    EXPECT_EQ(Value(1), "0000");

    auto* wrong = Make<TCheckBox>();
    binding->AssociateControl(2, 0, SYNTAX_INTEGER, nullptr, wrong);
    EXPECT_EQ(CodeOf([&] { binding->ShowValues(2); }), -517);
    EXPECT_EQ(CodeOf([&] { binding->ReadValues(2); }), -517);
}

// ---- Several edits for one value --------------------------------------------------------

TEST_F(Binding, SeveralEditsSplitTheValueByDisplaySyntax) {
    const std::string v6 = "20010DB8000000000000000000000001";
    std::vector<std::string> v6Bytes;
    for (size_t i = 0; i < 32; i += 2) v6Bytes.push_back(v6.substr(i, 2));
    std::vector<std::string> v6Typed = v6Bytes;
    v6Typed[15] = "2";
    struct Case {
        int syntax;
        std::string value;
        size_t edits;
        std::vector<std::string> shown;
        std::vector<std::string> typed;
        std::string read;
        std::string unchanged = "";  // what unchanged edits read back; empty: the value
    };
    const Case cases[] = {
        {SYNTAX_IPADDRESS,
         "10.0.0.1",
         4,
         {"10", "0", "0", "1"},
         {"192", "168", "1", "300"},
         "192.168.1.44"},
        {SYNTAX_NSAPADDR, "1.2.3.4", 4, {"1", "2", "3", "4"}, {"4", "x", "", "1"}, "4.0.0.1"},
        {SYNTAX_OCTETSTR,
         "0A1B",
         4,
         {"0A", "1B", "", ""},
         {"a", "", "FF", "1"},
         "0A00FF01",
         "0A1B0000"},  // an empty edit counts as the byte 00
        {SYNTAX_BITSTR, "0A1B", 2, {"0A", "1B"}, {"0a", "b"}, "0A0B"},
        {SYNTAX_OPAQUE, "(NULL)", 2, {"", ""}, {"1", "2"}, "0102", "0000"},
        {SYNTAX_OBJECTID,
         "1.3.6.1",
         6,
         {"1", "3", "6", "1", "", ""},
         {"1", "3", "6", "1", "4", ""},
         "1.3.6.1.4"},
        {SYNTAX_TIMETICKS,
         "2 days, 3:04:05.06",
         5,
         {"2", "3", "4", "5", "6"},
         {"0", "1", "0", "0", "0"},
         "1:00:00.00"},
        {SYNTAX_MACADDRESS,
         "00112233AABB",
         6,
         {"00", "11", "22", "33", "AA", "BB"},
         {"1", "2", "", "", "ff", "10"},
         "01020000FF10"},
        {SYNTAX_DATETIME,
         "2024-1-5,9:3:7.0,-5:0",
         10,
         {"2024", "1", "5", "9", "3", "7", "0", "-", "5", "0"},
         {"2024", "1", "6", "9", "3", "7", "0", "-", "5", "0"},
         "2024-1-6,9:3:7.0,-5:0"},
        {SYNTAX_BCDATETIME,
         "2024/01/05 09:03:07",
         7,
         {"2024", "1", "5", "9", "3", "7", "0"},
         {"2023", "12", "31", "23", "59", "58", "0"},
         "2023/12/31 23:59:58"},
        {SYNTAX_IPV6ADDRESS, v6, 16, v6Bytes, v6Typed, v6.substr(0, 30) + "02"},
        {SYNTAX_INETADDRESS,
         "10.0.0.1",
         4,
         {"10", "0", "0", "1"},
         {"10", "0", "0", "2"},
         "10.0.0.2"},
        {SYNTAX_INETADDRESS, v6, 16, v6Bytes, v6Typed, v6.substr(0, 30) + "02"},
        {SYNTAX_INTEGER, "42", 2, {"42"}, {"43", "99"}, "43"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.syntax) + " " + c.value);
        Use({{c.syntax, ACCESS_READWRITE, nullptr, c.value}});
        std::vector<TEdit*> edits = Edits(c.edits);
        std::vector<TControl*> controls(edits.begin(), edits.end());
        std::string format;
        for (size_t i = 0; i < c.edits; ++i) format += "%s";
        binding->AssociateEdits(0, format, edits);
        binding->ShowValues(-1);
        std::vector<std::string> shown = Texts(edits);
        shown.resize(c.shown.size());
        EXPECT_EQ(shown, c.shown);
        binding->ReadValues(-1);
        EXPECT_EQ(Value(0), c.unchanged.empty() ? c.value : c.unchanged);
        SetTexts(edits, c.typed);
        binding->ReadValues(-1);
        EXPECT_EQ(Value(0), c.read);
        binding->Dissociate(0);
    }
}

TEST_F(Binding, ANullValueLeavesTheSplitEditsAsTheyWere) {
    for (int syntax : {SYNTAX_IPADDRESS, SYNTAX_TIMETICKS, SYNTAX_MACADDRESS, SYNTAX_DATETIME,
                       SYNTAX_BCDATETIME, SYNTAX_IPV6ADDRESS, SYNTAX_INETADDRESS}) {
        SCOPED_TRACE(syntax);
        Use({{syntax, ACCESS_READWRITE, nullptr, "(NULL)"}});
        std::vector<TEdit*> edits = Edits(16);
        SetTexts(edits, std::vector<std::string>(16, "old"));
        std::string format;
        for (int i = 0; i < 16; ++i) format += "%s";
        binding->AssociateEdits(0, format, edits);
        binding->ShowValues(-1);
        EXPECT_EQ(Texts(edits), std::vector<std::string>(16, "old"));
        binding->Dissociate(0);
    }
}

TEST_F(Binding, TooFewEditsForTheDisplaySyntaxAreRefused) {
    struct Case {
        int syntax;
        const char* value;
        size_t edits;
    };
    const Case cases[] = {
        {SYNTAX_IPADDRESS, "10.0.0.1", 3},
        {SYNTAX_TIMETICKS, "5", 4},
        {SYNTAX_MACADDRESS, "001122334455", 5},
        {SYNTAX_DATETIME, "2024-1-5,9:3:7.0", 9},
        {SYNTAX_BCDATETIME, "2024/01/05 09:03:07", 6},
        {SYNTAX_IPV6ADDRESS, "00", 15},
        {SYNTAX_INETADDRESS, "10.0.0.1", 3},
        {SYNTAX_INETADDRESS, "10.0.0.1", 17},
        {SYNTAX_OCTETSTR, "0A0B0C", 2},
        {SYNTAX_OBJECTID, "1.3.6", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.syntax) + " " + std::to_string(c.edits));
        Use({{c.syntax, ACCESS_READWRITE, nullptr, c.value}});
        std::vector<TEdit*> edits = Edits(c.edits);
        std::string format;
        for (size_t i = 0; i < c.edits; ++i) format += "%s";
        binding->AssociateEdits(0, format, edits);
        EXPECT_EQ(CodeOf([&] { binding->ShowValues(-1); }), -522);
        binding->Dissociate(0);
    }
}

TEST_F(Binding, AssociatingEditsTakesOneEditPerSpecifierAndAppliesTheRules) {
    Use({{SYNTAX_IPADDRESS, ACCESS_READWRITE, nullptr, "10.0.0.1"}});
    std::vector<TEdit*> edits = Edits(5);
    EXPECT_EQ(CodeOf([&] { binding->AssociateEdits(0, "%u%u", edits[0]); }), -522);
    EXPECT_EQ(CodeOf([&] { binding->AssociateEdits(0, "", edits[0]); }), -2);
    EXPECT_EQ(CodeOf([&] { binding->AssociateEdits(0, "100%", edits[0]); }), -2);
    EXPECT_EQ(CodeOf([&] { binding->AssociateEdits(0, "%u%q", edits[0], edits[1]); }), -2);
    EXPECT_TRUE(binding->Associations().empty());
    const std::string octet = "%u{x255}";
    binding->AssociateEdits(0, octet + octet + octet + octet, edits[0], edits[1], edits[2],
                            edits[3], edits[4]);
    ASSERT_EQ(binding->Associations().size(), 1u);
    EXPECT_EQ(binding->Associations()[0]->controlCount, 4);
    binding->ShowValues(-1);
    EXPECT_EQ(Texts(edits), (std::vector<std::string>{"10", "0", "0", "1", ""}));

    // The rules hold in each edit; a shown value is what a failed check brings back.
    Focus(edits[3]);
    Type(edits[3], "x500");
    EXPECT_EQ(edits[3]->Text(), "1500");
    EXPECT_EQ(beeps, 1);
    Leave(edits[3], edits[4]);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, " Please enter a number between 0 and 255!");
    EXPECT_EQ(edits[3]->Text(), "1");
    QTRY_VERIFY(edits[3]->Focused());
}

// ---- Relays, dissociating, enabling -----------------------------------------------------

TEST_F(Binding, ControlsKeepTheirOwnHandlersAndGetThemBack) {
    Use({{SYNTAX_INTEGER, ACCESS_READWRITE, &kStateList, "enabled"},
         {SYNTAX_BOOLEAN, ACCESS_READWRITE, nullptr, "true"},
         {SYNTAX_INTEGER, ACCESS_READWRITE, nullptr, "1"}});
    auto* box = Make<TComboBox>();
    auto* check = Make<TCheckBox>();
    auto* group = Make<TRadioGroup>();
    TEdit* edit = Make<TEdit>();
    std::vector<std::string> heard;
    box->SetOnChange([&](TObject* s) { heard.push_back(s == box ? "box" : "?"); });
    check->SetOnClick([&](TObject* s) { heard.push_back(s == check ? "check" : "?"); });
    group->SetOnClick([&](TObject* s) { heard.push_back(s == group ? "group" : "?"); });
    edit->SetOnChange([&](TObject*) { heard.push_back("edit"); });
    binding->AssociateComboBox(0, box);
    binding->AssociateControl(0, 0, SYNTAX_INTEGER, nullptr, group);
    binding->AssociateControl(1, 0, SYNTAX_BOOLEAN, nullptr, check);
    binding->AssociateEdits(2, "%u", edit);
    // The same check box twice: its handler still runs once.
    binding->AssociateControl(1, 0, SYNTAX_BOOLEAN, nullptr, check);
    box->OnChange()(box);
    check->SetChecked(true);
    group->SetItemIndex(1);
    edit->SetText("1a");
    EXPECT_EQ(heard, (std::vector<std::string>{"box", "check", "group", "edit"}));

    binding->Dissociate(0);
    binding->Dissociate(1);
    binding->Dissociate(2);
    EXPECT_TRUE(binding->Associations().empty());
    heard.clear();
    box->OnChange()(box);
    check->OnClick()(check);
    group->OnClick()(group);
    edit->SetText("2b");  // no rule any more
    EXPECT_EQ(edit->Text(), "2b");
    EXPECT_EQ(heard, (std::vector<std::string>{"box", "check", "group", "edit"}));
    EXPECT_EQ(binding->Constraint().Count(), 0);
}

TEST_F(Binding, EnablingReachesEveryAssociatedControl) {
    Use({{SYNTAX_INTEGER, ACCESS_READWRITE, nullptr, "1"},
         {SYNTAX_BITSTR, ACCESS_READWRITE, nullptr, "00"}});
    std::vector<TEdit*> edits = Edits(2);
    std::vector<TControl*> checks{Make<TCheckBox>(), Make<TCheckBox>()};
    auto* other = Make<TEdit>();
    binding->AssociateEdits(0, "%u%u", edits);
    binding->AssociateBits(1, "0,1", checks);
    binding->EnableControls(false);
    for (TControl* c :
         {static_cast<TControl*>(edits[0]), static_cast<TControl*>(edits[1]), checks[0], checks[1]})
        EXPECT_FALSE(c->Enabled());
    EXPECT_TRUE(other->Enabled());
    binding->EnableControls(true);
    EXPECT_TRUE(edits[1]->Enabled());
    EXPECT_TRUE(checks[1]->Enabled());
}

TEST_F(Binding, AControlThatCannotShowAValueEndsTheShowing) {
    Use({{SYNTAX_INTEGER, ACCESS_READWRITE, nullptr, "1"},
         {SYNTAX_INTEGER, ACCESS_READWRITE, nullptr, "2"},
         {SYNTAX_INTEGER, ACCESS_READWRITE, nullptr, "3"}});
    auto* before = Make<TLabel>();
    auto* memo = Make<TMemo>();
    auto* after = Make<TLabel>();
    binding->AssociateControl(0, 0, SYNTAX_INTEGER, nullptr, before);
    binding->AssociateControl(1, 0, SYNTAX_INTEGER, nullptr, memo);
    binding->AssociateControl(2, 0, SYNTAX_INTEGER, nullptr, after);
    EXPECT_EQ(CodeOf([&] { binding->ShowValues(-1); }), -521);
    EXPECT_EQ(before->Caption(), "1");
    EXPECT_EQ(after->Caption(), "");
    // Reading skips it, also for a value that is rebuilt from its controls.
    binding->ReadValues(-1);
    EXPECT_EQ(Value(1), "2");
    for (int i = 0; i < 3; ++i) binding->Dissociate(i);
    Use({{SYNTAX_OCTETSTR, ACCESS_READWRITE, nullptr, "0A"}});
    binding->AssociateControl(0, 0, SYNTAX_OCTETSTR, nullptr, memo);
    binding->ReadValues(-1);
    EXPECT_EQ(Value(0), "0A");
}

TEST_F(Binding, AControlThatIsGoneIsLeftAlone) {
    Use({{SYNTAX_INTEGER, ACCESS_READWRITE, nullptr, "1"}});
    auto* label = Make<TLabel>();
    auto* edit = Make<TEdit>();
    binding->AssociateControl(0, 0, SYNTAX_INTEGER, nullptr, label);
    binding->AssociateEdits(0, "%u", edit);
    delete label;
    delete edit;
    binding->ShowValues(-1);
    binding->ReadValues(-1);
    binding->EnableControls(false);
    binding->Dissociate(0);
    EXPECT_EQ(Value(0), "1");
}

// ---- Virtual operations -----------------------------------------------------------------

TEST_F(Binding, WithoutListViewRowsAreShownAndSetsReadTheControls) {
    Use({{SYNTAX_INTEGER, ACCESS_READWRITE, nullptr, "1"},
         {SYNTAX_INTEGER, ACCESS_READWRITE, nullptr, "2"},
         {SYNTAX_BITSTR, ACCESS_READWRITE, nullptr, "AABBCC"}});
    TEdit* edit = Make<TEdit>();
    TEdit* part = Make<TEdit>();
    binding->AssociateEdits(0, "%s", edit);
    binding->AssociateControl(2, 1, SYNTAX_UINT8, nullptr, part);
    std::vector<std::string> calls;
    binding->OnBeforeGet = [&] { calls.push_back("before get"); };
    binding->OnAfterGet = [&] { calls.push_back("after get"); };
    binding->OnBeforeSet = [&] { calls.push_back("before set"); };
    binding->OnAfterSet = [&] { calls.push_back("after set"); };
    binding->BeforeGet();
    binding->RowReceived();
    binding->AfterGet();
    EXPECT_EQ(edit->Text(), "1");
    EXPECT_EQ(part->Text(), "187");
    edit->SetText("5");
    part->SetText("0");
    binding->BeforeSet();
    binding->CollectValues();
    binding->AfterSet();
    EXPECT_EQ(Value(0), "5");
    EXPECT_EQ(Value(1), "");        // no association: emptied
    EXPECT_EQ(Value(2), "AA00CC");  // the bytes around the part are the value's own
    EXPECT_EQ(calls,
              (std::vector<std::string>{"before get", "after get", "before set", "after set"}));
}

// ---- List view --------------------------------------------------------------------------

class TableBinding : public Binding {
protected:
    void SetUp() override {
        Binding::SetUp();
        Use({{SYNTAX_INTEGER, ACCESS_NOTACCESS, nullptr, "", "Number"},
             {SYNTAX_DISPLAYSTR, ACCESS_WRITEONLY, nullptr, "", "Secret"},
             {SYNTAX_DISPLAYSTR, ACCESS_READONLY, nullptr, "", "Name"},
             {SYNTAX_BITLIST, ACCESS_READONLY, nullptr, "", "Flags"},
             {SYNTAX_DISPLAYSTR, ACCESS_READONLY | ACCESS_HIDDEN, nullptr, "", "Hidden"},
             {SYNTAX_INTEGER, 0, nullptr, "", "Nothing"}},
            MVT_FMV, 1);
        view = Make<TListView>();
        view->SetBounds(200, 10, 380, 200);
    }

    void Row(const std::vector<std::string>& values) {
        for (size_t i = 0; i < values.size(); ++i) Value(static_cast<int>(i)) = values[i];
        binding->RowReceived();
    }

    // Clicks the row as a user does.
    void Click(int row) {
        auto* table = static_cast<QTableWidget*>(view->Widget());
        const QRect rect = table->visualItemRect(table->item(row, 2));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, rect.center());
        Settle();
    }

    TListView* view = nullptr;
};

TEST_F(TableBinding, AttachingSetsTheViewUpAndBuildsTheColumns) {
    view->SetHideSelection(true);
    binding->AttachListView(view, true);
    EXPECT_TRUE(view->ReadOnly());
    EXPECT_TRUE(view->RowSelect());
    EXPECT_TRUE(view->GridLines());
    EXPECT_FALSE(view->HideSelection());
    EXPECT_EQ(view->ViewStyle(), vsReport);
    EXPECT_TRUE(binding->DisableUntilSelected());
    std::vector<std::string> captions;
    std::vector<int> widths;
    for (int i = 0; i < view->Columns().Count(); ++i) {
        captions.push_back(view->Columns()[i]->Caption());
        widths.push_back(view->Columns()[i]->Width());
        EXPECT_FALSE(view->Columns()[i]->AutoSize());
    }
    EXPECT_EQ(captions, (std::vector<std::string>{"Secret", "Hidden", "Number", "Name", "Flags"}));
    EXPECT_EQ(widths[0], 0);
    EXPECT_EQ(widths[1], 0);
    EXPECT_GT(widths[2], 0);

    // A view with enough columns keeps them.
    TListView* other = Make<TListView>();
    for (int i = 0; i < 5; ++i) other->Columns().Add()->SetCaption("mine");
    binding->AttachListView(other, false);
    EXPECT_EQ(other->Columns().Count(), 5);
    EXPECT_EQ(other->Columns()[0]->Caption(), "mine");
}

TEST_F(TableBinding, RowsFillTheCellsAndASelectionComesBack) {
    binding->AttachListView(view, false);
    binding->BeforeGet();
    Row({"1", "s1", "alpha", "E8", "h1", "n1"});
    Row({"2", "s2", "beta", "(NULL)", "h2", "n2"});
    ASSERT_EQ(view->Items().Count(), 2);
    TListItem* first = view->Items()[0];
    EXPECT_EQ(first->Caption(), "s1");
    EXPECT_EQ(first->SubItems().ToVector(),
              (std::vector<std::string>{"h1", "1", "alpha", "1-3,5[E8]"}));
    EXPECT_EQ(view->Items()[1]->SubItems().Get(3), "(NULL)");

    // Nothing selected: nothing taken.
    for (int i = 0; i < 6; ++i) Value(i) = "x";
    binding->TakeSelectedRow();
    EXPECT_EQ(Value(0), "x");
    view->SetSelected(first);
    binding->TakeSelectedRow();
    EXPECT_EQ(Value(0), "1");
    EXPECT_EQ(Value(1), "s1");
    EXPECT_EQ(Value(2), "alpha");
    EXPECT_EQ(Value(3), "E8");
    EXPECT_EQ(Value(4), "h1");
    EXPECT_EQ(Value(5), "x");  // no column
    view->SetSelected(view->Items()[1]);
    binding->TakeSelectedRow();
    EXPECT_EQ(Value(3), "(NULL)");

    // A new walk starts with an empty view.
    binding->BeforeGet();
    EXPECT_EQ(view->Items().Count(), 0);
    EXPECT_EQ(view->Columns().Count(), 5);
}

TEST_F(TableBinding, SelectingARowShowsItAndEnablesTheControls) {
    TEdit* number = Make<TEdit>();
    TEdit* name = Make<TEdit>();
    TEdit* flags = Make<TEdit>();
    binding->AssociateEdits(0, "%u", number);
    binding->AssociateEdits(2, "%s", name);
    binding->AssociateEdits(3, "%s", flags);
    std::vector<std::string> saved;
    view->SetOnSelectItem([&](TObject* sender, TListItem* item, bool selected) {
        EXPECT_EQ(sender, view);
        saved.push_back((selected ? "+" : "-") + item->Caption());
    });
    binding->AttachListView(view, true);
    binding->BeforeGet();
    Row({"1", "s1", "alpha", "E8", "h1", "n1"});
    Row({"2", "s2", "beta", "81", "h2", "n2"});
    binding->AfterGet();
    EXPECT_FALSE(number->Enabled());
    EXPECT_FALSE(name->Enabled());

    Click(1);
    EXPECT_EQ(view->ItemIndex(), 1);
    EXPECT_TRUE(number->Enabled());
    EXPECT_EQ(number->Text(), "2");
    EXPECT_EQ(name->Text(), "beta");
    EXPECT_EQ(flags->Text(), "1,8");
    Click(0);
    EXPECT_EQ(name->Text(), "alpha");
    EXPECT_EQ(saved, (std::vector<std::string>{"+s2", "-s2", "+s1"}));
    // Deselecting keeps what the edits show.
    view->SetSelected(nullptr);
    EXPECT_EQ(name->Text(), "alpha");

    // A set takes the selected row, then the controls.
    view->SetSelected(view->Items()[1]);
    number->SetText("9");
    binding->CollectValues();
    EXPECT_EQ(Value(0), "9");
    EXPECT_EQ(Value(1), "s2");
    EXPECT_EQ(Value(2), "beta");  // read-only: from the row

    // A walk of a list that is not a whole table leaves the controls enabled.
    binding->request.List().ItemType = MVT_SV;
    binding->AfterGet();
    EXPECT_TRUE(number->Enabled());
}

TEST_F(TableBinding, AttachingTheSameViewAgainKeepsItsOwnHandler) {
    int selections = 0;
    view->SetOnSelectItem([&](TObject*, TListItem*, bool) { ++selections; });
    binding->AttachListView(view, false);
    binding->AttachListView(view, false);
    binding->BeforeGet();
    Row({"1", "s1", "alpha", "E8", "h1", "n1"});
    view->SetSelected(view->Items()[0]);
    EXPECT_EQ(selections, 1);
}

TEST_F(TableBinding, ACellOfAColumnThatEndedEarlyIsNoValueToWrite) {
    TEdit* number = Make<TEdit>();
    binding->AssociateEdits(0, "%s", number);
    binding->AttachListView(view, false);
    binding->BeforeGet();
    Row({"(NOTDONE)", "s1", "alpha", "E8", "h1", "n1"});
    view->SetSelected(view->Items()[0]);
    EXPECT_EQ(number->Text(), "(NOTDONE)");
    binding->CollectValues();
    EXPECT_EQ(Value(0), "(NULL)");
}

TEST_F(TableBinding, DestroyingTheBindingGivesTheHandlersBack) {
    Use({{SYNTAX_INTEGER, ACCESS_READWRITE, &kStateList, "enabled"},
         {SYNTAX_INTEGER, ACCESS_READWRITE, nullptr, "1"}});
    auto* box = Make<TComboBox>();
    TEdit* edit = Make<TEdit>();
    int changes = 0;
    int selections = 0;
    box->SetOnChange([&](TObject*) { ++changes; });
    view->SetOnSelectItem([&](TObject*, TListItem*, bool) { ++selections; });
    binding->AssociateComboBox(0, box);
    binding->AssociateEdits(1, "%u", edit);
    binding->AttachListView(view, false);
    binding.reset();
    box->OnChange()(box);
    view->OnSelectItem()(view, nullptr, true);
    edit->SetText("1x");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(selections, 1);
    EXPECT_EQ(edit->Text(), "1x");
}

}  // namespace
