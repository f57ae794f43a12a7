#include "ui/GUIEditsPanel.h"

#include <algorithm>

#include "binding/HvSNMPRequest2Edits.h"
#include "mib/HvSnmpTypes.h"
#include "platform/Exception.h"
#include "ui/GUIEditorPanel.h"
#include "ui/GUIFixedPanels.h"

std::string UISnmpVar::ControlText() const {
    if (TEdit* edit = Edit()) return edit->Text();
    if (TComboBox* combo = Combo()) return combo->Text();
    return std::string();
}

TEditsPanel::TEditsPanel(TComponent* owner, HvSNMPRequest2Edits* binding)
    : TPanel(owner), ScrollBox1(nullptr), binding_(binding) {
    if (!binding_) throw Exception("TEditsPanel - EditCtrl is NULL!");
    SetName("EditsPanel");
    SetBevelOuter(bvNone);
    ScrollBox1 = new TScrollBox(owner);
    ScrollBox1->SetParent(this);
    ScrollBox1->SetAlign(alClient);
    ScrollBox1->SetBorderStyle(bsNone);

    editWidth_ = kDefaultEditWidth;
    checkDefault_ = false;
    SetParent(dynamic_cast<TWinControl*>(owner));

    BuildRows();
    for (UISnmpVar& row : Rows) {
        row.Label->SetParent(ScrollBox1);
        row.Check->SetParent(ScrollBox1);
        row.Control->SetParent(ScrollBox1);
    }
    ApplyTabOrder();
    SetDisabledColours(clBlack, clBtnFace);
}

TEditsPanel::~TEditsPanel() = default;

HvSNMPVarList& TEditsPanel::List() const {
    return binding_->request.List();
}

void TEditsPanel::BuildRows() {
    HvSNMPVarList& list = List();
    Rows.clear();
    Rows.resize(static_cast<size_t>(list.Count()));
    for (int i = 0; i < list.Count(); ++i) {
        const VarItem& item = list.Item(i);
        UISnmpVar& row = Rows[static_cast<size_t>(i)];
        const bool readOnly = !list.IsWritable(i);
        const bool hasOptions = item.options != nullptr;
        row.Kind = readOnly ? (hasOptions ? UISnmpVar::kReadOnlyOptions : UISnmpVar::kReadOnly)
                            : (hasOptions ? UISnmpVar::kSettableOptions : UISnmpVar::kSettable);
        row.Format = item.syntax == SYNTAX_IPADDRESS ? "%s{I}" : "%s";
    }
    for (int i = 0; i < list.Count(); ++i) {
        UISnmpVar& row = Rows[static_cast<size_t>(i)];
        const std::string& label = list.Item(i).label;

        row.Check = new TCheckBox(this);
        row.Check->SetParent(this);
        row.Check->SetWidth(20);
        row.Check->SetTag(i);
        row.Check->SetTabStop(false);
        row.Check->SetAccessibleName("Check " + label);
        row.Check->SetOnClick([this](TObject* sender) { CheckBoxClick(sender); });

        row.Label = new TLabel(this);
        row.Label->SetParent(this);
        row.Label->SetAutoSize(true);
        row.Label->SetCaption(label);
        row.Label->SetTag(i);

        if (row.Kind == UISnmpVar::kSettableOptions) {
            auto* combo = new TComboBox(this);
            combo->SetParent(this);
            combo->SetTag(0);
            row.Control = combo;
            binding_->AssociateComboBox(i, combo);
        } else {
            auto* edit = new TEdit(this);
            edit->SetParent(this);
            edit->SetTag(i);
            row.Control = edit;
            binding_->AssociateEdits(
                i, row.Kind == UISnmpVar::kReadOnlyOptions ? std::string("%s") : row.Format, edit);
        }
        // The label names its value control, for the keyboard and for assistive technology.
        row.Label->SetFocusControl(row.Control);
        row.Control->SetAccessibleName(label);
    }
    SetRowStates(false);
    ArrangeCtrls(true);
}

void TEditsPanel::ApplyTabOrder() {
    // Row by row: the check box, then the value control.
    int order = 0;
    for (UISnmpVar& row : Rows) {
        row.Check->SetTabOrder(order++);
        row.Control->SetTabOrder(order++);
    }
}

void TEditsPanel::CheckBoxClick(TObject* /*sender*/) {
    const int checked = CountCheckedRows();
    TWinControl* parent = Parent();
    if (auto* panel = dynamic_cast<TSNMPPanel*>(parent ? parent->Parent() : nullptr))
        panel->ButtonColumn->SetCheckBtn->SetEnabled(checked >= 1);
}

void TEditsPanel::SetRowStates(bool checkDefault) {
    checkDefault_ = checkDefault;
    for (int i = 0; i < RowCount(); ++i) {
        if (IsReadOnlyRow(i) || IsIndexRow(i))
            DisableRow(i);
        else
            EnableRow(i);
    }
}

void TEditsPanel::DisableRow(int row) {
    UISnmpVar& r = Row(row);
    r.Check->SetEnabled(false);
    r.Check->Hide();
    r.Check->SetChecked(false);
    r.Check->SetTabStop(false);
    if (TEdit* edit = r.Edit()) {
        edit->SetReadOnly(true);
        edit->SetTabStop(false);
        edit->Font().SetColor(disabledFont_);
        edit->SetColor(disabledBackground_);
    } else if (TComboBox* combo = r.Combo()) {
        combo->SetEnabled(false);
        combo->Font().SetColor(disabledFont_);
        combo->SetColor(disabledBackground_);
    }
}

void TEditsPanel::EnableRow(int row) {
    UISnmpVar& r = Row(row);
    r.Check->SetEnabled(true);
    r.Check->Show();
    r.Check->SetChecked(checkDefault_);
    // Reachable by Tab, so that rows can be ticked without a mouse.
    r.Check->SetTabStop(true);
    if (TEdit* edit = r.Edit()) {
        edit->SetReadOnly(false);
        edit->Font().SetColor(clBlack);
        edit->SetColor(clWhite);
        edit->SetTabStop(true);
    } else if (TComboBox* combo = r.Combo()) {
        combo->SetEnabled(true);
        combo->Font().SetColor(clBlack);
        combo->SetColor(clWhite);
    }
}

void TEditsPanel::SetDisabledColours(TColor fontColour, TColor backgroundColour) {
    disabledFont_ = fontColour;
    disabledBackground_ = backgroundColour;
    for (int i = 0; i < RowCount(); ++i)
        if (IsReadOnlyRow(i)) DisableRow(i);
}

void TEditsPanel::SetEditWidth(int width) {
    editWidth_ = width;
    ArrangeCtrls(true);
}

void TEditsPanel::ArrangeCtrls(bool resize) {
    HvSNMPVarList& list = List();
    int widestLabel = 0;
    for (const UISnmpVar& row : Rows) widestLabel = std::max(widestLabel, row.Label->Width());

    int y = kMargin;
    for (int i = 0; i < RowCount(); ++i) {
        UISnmpVar& row = Row(i);
        row.Control->SetWidth(editWidth_);
        if ((list.Item(i).access & ACCESS_HIDDEN) != 0 || !row.Control->Visible()) continue;
        if (i == 0) {
            y = kMargin;
        } else {
            if (row.Control->Height() < 20) row.Control->SetHeight(21);
            y = y + row.Control->Height() + kGap;
        }
        const int h = row.Control->Height();
        row.Control->SetTop(y);
        row.Check->SetTop(y + (h - row.Check->Height()) / 2);
        row.Label->SetTop(y + (h - row.Label->Height()) / 2);
        row.Check->SetLeft(kMargin);
        row.Label->SetLeft(row.Check->Left() + row.Check->Width() + kGap);
        row.Control->SetLeft(row.Label->Left() + widestLabel + kGap);
    }

    int right = 0;
    int bottom = 0;
    for (int i = 0; i < RowCount(); ++i) {
        const UISnmpVar& row = Row(i);
        if ((list.Item(i).access & ACCESS_HIDDEN) != 0 || !row.Control->Visible()) continue;
        right = std::max(right, row.Control->Left() + row.Control->Width());
        bottom = std::max(bottom, row.Control->Top() + row.Control->Height());
    }
    if (resize) {
        SetAlign(alNone);
        SetWidth(2 * kMargin + right);
        SetHeight(2 * kMargin + bottom);
    }
}

void TEditsPanel::ArrangeCtrlBtn(TCtrlBtnPanel* column) {
    if (!binding_) throw Exception("TEditsPanel:ArrangeCtrlBtn - EditCtrl is NULL!");
    column->CountText->Hide();
    column->SamplesLabel->Hide();
    column->RefreshBtn->Show();
    column->EditBtn->Hide();
    column->SetCheckBtn->Show();
    column->AddBtn->Hide();
    column->DeleteBtn->Hide();
    column->CheckAllBtn->Show();
    column->ClearChecksBtn->Show();
    column->CloseBtn->Show();

    if (HasNoSettableRows()) {
        column->SetCheckBtn->Hide();
        column->CheckAllBtn->Hide();
        column->ClearChecksBtn->Hide();
    } else if (CountCheckableRows() <= 1) {
        column->CheckAllBtn->Hide();
        column->ClearChecksBtn->Hide();
        column->SetCheckBtn->SetCaption("Set");
        column->SetCheckBtn->SetEnabled(true);
        if (CountCheckedRows() <= 1)
            for (UISnmpVar& row : Rows) row.Check->Hide();
        for (UISnmpVar& row : Rows) {
            TCheckBox* check = row.Check;
            if (check->Visible() && check->Enabled())
                check->SetChecked(false);
            else if (check->Tag() == kHiddenRowTag)
                check->SetChecked(false);
            else
                check->SetChecked(true);
        }
    }
    column->ArrangeButtons();
}

void TEditsPanel::ClearRows() {
    HvSNMPVarList& list = List();
    for (int i = 0; i < RowCount() && i < list.Count(); ++i) {
        UISnmpVar& row = Row(i);
        if (TEdit* edit = row.Edit())
            edit->SetText(std::string());
        else if (TComboBox* combo = row.Combo())
            combo->SetItemIndex(-1);
        list.Item(i).value.clear();
    }
}

void TEditsPanel::HideRow(int row) {
    UISnmpVar& r = Row(row);
    List().Item(row).access |= ACCESS_HIDDEN;
    r.Control->Hide();
    r.Check->Hide();
    r.Check->SetTag(kHiddenRowTag);
    r.Label->Hide();
}

void TEditsPanel::ShowRow(int row) {
    UISnmpVar& r = Row(row);
    List().Item(row).access &= ~ACCESS_HIDDEN;
    r.Control->Show();
    r.Check->Show();
    r.Label->Show();
}

bool TEditsPanel::IsRowEmpty(int row) const {
    const UISnmpVar& r = Row(row);
    return r.Check->Visible() && r.ControlText().empty();
}

int TEditsPanel::CountCheckableRows() const {
    return static_cast<int>(std::count_if(Rows.begin(), Rows.end(), [](const UISnmpVar& r) {
        return r.Check->Visible() && r.Check->Enabled();
    }));
}

int TEditsPanel::CountCheckedRows() const {
    return static_cast<int>(std::count_if(Rows.begin(), Rows.end(),
                                          [](const UISnmpVar& r) { return r.Check->Checked(); }));
}

bool TEditsPanel::HasNoSettableRows() const {
    for (int i = 0; i < RowCount(); ++i)
        if (!IsReadOnlyRow(i) && !IsIndexRow(i)) return false;
    return true;
}

bool TEditsPanel::IsReadOnlyRow(int row) const {
    return !List().IsWritable(row);
}

bool TEditsPanel::IsIndexRow(int row) const {
    return row < List().PKeyCount;
}
