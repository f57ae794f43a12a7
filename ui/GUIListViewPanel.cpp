#include "ui/GUIListViewPanel.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "binding/HvSNMPRequest2Edits.h"
#include "mib/HvSnmpTypes.h"
#include "platform/Exception.h"
#include "platform/MessageBox.h"
#include "platform/System.h"
#include "platform/widgets/Application.h"
#include "platform/widgets/Dialogs.h"
#include "ui/GUIWait.h"

namespace {

// Characters of a UTF-8 text (bytes that are not continuation bytes).
int CharCount(const std::string& text) {
    return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

}  // namespace

// ---- TListViewPanel -----------------------------------------------------------------------

TListViewPanel::TListViewPanel(TComponent* owner, HvSNMPRequest2Edits* binding)
    : TPanel(owner), ListView1(nullptr) {
    SetName("ListViewPanel");
    SetBevelOuter(bvNone);
    DeleteColumn = -1;
    AddColumn = -1;
    ListView1 = new TListView(this);
    ListView1->SetName("ListView1");
    ListView1->SetParent(this);
    ListView1->SetAccessibleName("Table");
    binding->AttachListView(ListView1, false);

    int chars = 0;
    for (int c = 0; c < ListView1->Columns().Count(); ++c)
        chars += CharCount(ListView1->Columns()[c]->Caption());
    SetParent(dynamic_cast<TWinControl*>(owner));
    SetAlign(alNone);
    SetWidth(std::min(kMaxWidth, kPixelsPerCaptionChar * chars + 2 * ListView1->BorderWidth()));
    SetHeight(kHeight);
    ListView1->SetAlign(alClient);
}

void TListViewPanel::ArrangeCtrlBtn(TCtrlBtnPanel* column) {
    column->SamplesLabel->Show();
    column->CountText->Show();
    column->RefreshBtn->Show();
    column->EditBtn->Show();
    column->EditBtn->SetEnabled(false);
    column->DeleteBtn->SetEnabled(false);
    column->SetCheckBtn->Hide();
    column->AddBtn->SetVisible(AddColumn != -1);
    column->DeleteBtn->SetVisible(DeleteColumn != -1);
    column->CheckAllBtn->Hide();
    column->ClearChecksBtn->Hide();
    column->CloseBtn->Show();
    column->ArrangeButtons();
}

// ---- TSNMPListViewPanel -------------------------------------------------------------------

TSNMPListViewPanel::TSNMPListViewPanel(TComponent* owner, HvSNMPRequest2Edits* binding)
    : TSNMPEditorPanel(owner, binding), ListViewPanel(nullptr) {
    ListViewPanel = new TListViewPanel(ClientPanel, binding);
    TListView* view = ListViewPanel->ListView1;
    view->SetOnDblClick([this](TObject* s) { ListViewDblClick(s); });
    view->SetOnClick([this](TObject* s) { ListViewClick(s); });
    view->SetOnChange([this](TObject* s, TListItem* item, TItemChange change) {
        ListViewChange(s, item, change);
    });
    view->SetOnMouseMove(
        [this](TObject* s, TShiftState shift, int x, int y) { ListViewMouseMove(s, shift, x, y); });

    ButtonColumn->RefreshBtn->SetOnClick([this](TObject* s) { RefreshTableBtnClick(s); });
    ButtonColumn->EditBtn->SetOnClick([this](TObject* s) { EditBtnClick(s); });
    ButtonColumn->AddBtn->SetOnClick([this](TObject* s) { AddBtnClick(s); });
    ButtonColumn->DeleteBtn->SetOnClick([this](TObject* s) { DeleteBtnClick(s); });

    ListViewPanel->ArrangeCtrlBtn(ButtonColumn);
    if (EditsPanel->HasNoSettableRows()) {
        ButtonColumn->EditBtn->Hide();
        ButtonColumn->ArrangeButtons();
    }
    SetContent(ListViewPanel);

    BeforeAdd = [this] { EditsPanel->ClearRows(); };
    AfterAdd = nullptr;
    BeforeEdit = nullptr;
    AfterEdit = nullptr;
}

TForm* TSNMPListViewPanel::TableWindow() const {
    return window_ ? window_ : ParentForm();
}

void TSNMPListViewPanel::SetAddStatus(int column, const std::string& value) {
    TComboBox* combo =
        column >= 0 && column < EditsPanel->RowCount() ? EditsPanel->Row(column).Combo() : nullptr;
    if (!combo || combo->Items().IndexOf(value) < 0)
        throw Exception("TSNMPListViewPanel::SetAddStatus - Wrong AddStatusValue:" + value);
    ListViewPanel->AddColumn = column;
    ListViewPanel->AddValue = value;
    ButtonColumn->AddBtn->Show();
    ButtonColumn->ArrangeButtons();
}

void TSNMPListViewPanel::SetDeleteStatus(int column, const std::string& value) {
    TComboBox* combo =
        column >= 0 && column < EditsPanel->RowCount() ? EditsPanel->Row(column).Combo() : nullptr;
    if (!combo || combo->Items().IndexOf(value) < 0)
        throw Exception("TSNMPListViewPanel::SetDeleteStatus - Wrong DeleteStatusValue:" + value);
    ListViewPanel->DeleteColumn = column;
    ListViewPanel->DeleteValue = value;
    ButtonColumn->DeleteBtn->Show();
    ButtonColumn->ArrangeButtons();
}

void TSNMPListViewPanel::UpdateCount() {
    try {
        ButtonColumn->CountText->SetCaption(
            std::to_string(ListViewPanel->ListView1->Items().Count()));
    } catch (...) {
    }
}

void TSNMPListViewPanel::RefreshTableBtnClick(TObject* sender) {
    if (binding_->mode == 1 && binding_->active) return;
    ButtonColumn->EditBtn->SetEnabled(false);
    ButtonColumn->DeleteBtn->SetEnabled(false);
    RefreshBtnClick(sender);
    UpdateCount();
}

void TSNMPListViewPanel::ListViewClick(TObject* /*sender*/) {
    try {
        binding_->request.enabled = false;  // a walk under way stops at its next reply
        const bool selected = ListViewPanel->ListView1->Selected() != nullptr;
        ButtonColumn->EditBtn->SetEnabled(selected);
        ButtonColumn->DeleteBtn->SetEnabled(selected);
        if (!selected) EditsPanel->ClearRows();
    } catch (...) {
        ShowMessage("Please select a entry ");
    }
}

void TSNMPListViewPanel::ListViewDblClick(TObject* sender) {
    try {
        if (ListViewPanel->ListView1->Selected()) EditBtnClick(sender);
    } catch (...) {
    }
}

void TSNMPListViewPanel::ListViewChange(TObject* /*sender*/, TListItem* /*item*/,
                                        TItemChange change) {
    UpdateCount();
    // A row picked with the keyboard opens Edit and Delete as a click does.
    if (change == ctState) {
        const bool selected = ListViewPanel->ListView1->Selected() != nullptr;
        ButtonColumn->EditBtn->SetEnabled(selected);
        ButtonColumn->DeleteBtn->SetEnabled(selected);
    }
}

std::string TSNMPListViewPanel::RowHintText(TListView* view, TListItem* item) {
    TListColumns& columns = view->Columns();
    int longest = 0;
    for (int c = 0; c < columns.Count(); ++c)
        longest = std::max(longest, CharCount(columns[c]->Caption()));
    std::string text;
    for (int c = 0; c < columns.Count(); ++c) {
        const std::string& caption = columns[c]->Caption();
        text += caption;
        text.append(static_cast<size_t>(longest - CharCount(caption)), '\t');
        text += "  ";
        if (c == 0)
            text += item->Caption();
        else if (c - 1 < item->SubItems().Count())
            text += item->SubItems()[c - 1];
        text += '\n';
    }
    return text;
}

void TSNMPListViewPanel::ListViewMouseMove(TObject* /*sender*/, TShiftState /*shift*/, int x,
                                           int y) {
    TListView* view = ListViewPanel->ListView1;
    TListItem* item = view->GetItemAt(x, y);
    if (!item) {
        view->SetShowHint(false);
        return;
    }
    view->SetHint(RowHintText(view, item));
    view->SetShowHint(true);
}

void TSNMPListViewPanel::AddBtnClick(TObject* /*sender*/) {
    binding_->request.enabled = true;
    if (BeforeAdd) BeforeAdd();
    ShowAddWindow();
    if (AfterAdd) AfterAdd();
}

void TSNMPListViewPanel::EditBtnClick(TObject* /*sender*/) {
    if (BeforeEdit) BeforeEdit();
    ShowEditWindow();
    if (AfterEdit) AfterEdit();
}

// ---- Sub-windows --------------------------------------------------------------------------

// The Add or Edit window: a form of its own with an SNMP panel that writes into the table
// window's strip. Whatever happens while it is open, the edits panel goes back into the table
// panel and the constraints' messages belong to the table window again before the window and
// its panel are destroyed.
struct TSNMPListViewPanel::SubWindow {
    TSNMPListViewPanel& table;
    std::unique_ptr<TForm> form;
    TSNMPPanel* panel = nullptr;

    SubWindow(TSNMPListViewPanel& owner, const char* suffix) : table(owner) {
        form = std::make_unique<TForm>(Application);
        form->SetPosition(poOwnerFormCenter);
        TForm* tableWindow = table.TableWindow();
        form->SetCaption((tableWindow ? tableWindow->Caption() : std::string()) + suffix);
        // The rows keep the sizes they were laid out with in the table window's font.
        form->SetColor(clBtnFace);
        if (tableWindow) {
            form->Font().SetName(tableWindow->Font().Name());
            form->Font().SetHeight(tableWindow->Font().Height());
        }
        table.binding_->SetConstraintOwner(form.get());
        panel = new TSNMPPanel(form.get(), table.MessageStrip(), table.binding_);
        TCtrlBtnPanel* column = panel->ButtonColumn;
        column->SetCheckBtn->SetOnClick([t = &table](TObject* s) { t->SetBtnClick(s); });
        column->SetCheckBtn->SetTag(1);
        column->CheckAllBtn->SetOnClick([t = &table](TObject* s) { t->CheckAllBtnClick(s); });
        column->ClearChecksBtn->SetOnClick([t = &table](TObject* s) { t->ClearChecksBtnClick(s); });
    }
    ~SubWindow() {
        table.ReturnEditsPanel();
        form.reset();  // destroys the panel with it
        table.binding_->SetConstraintOwner(table.TableWindow());
    }
    SubWindow(const SubWindow&) = delete;
    SubWindow& operator=(const SubWindow&) = delete;

    // Lays the edits panel out in the window with the column of the sub-window's kind.
    void Fit() {
        TCtrlBtnPanel* column = panel->ButtonColumn;
        table.EditsPanel->ArrangeCtrlBtn(column);
        column->RefreshBtn->Hide();
        column->ArrangeButtons();
        table.EditsPanel->ArrangeCtrls(true);
        panel->SetContent(table.EditsPanel);
        panel->FitToForm(form.get());
    }
};

void TSNMPListViewPanel::ReturnEditsPanel() {
    EditsPanel->Hide();
    EditsPanel->SetAlign(alNone);
    EditsPanel->SetParent(ClientPanel);
    EditsPanel->ScrollBox1->VertScrollBar().SetPosition(0);
}

void TSNMPListViewPanel::ShowAddWindow() {
    {
        SubWindow sub(*this, " (Add)");
        HvSNMPVarList& list = binding_->request.List();
        const int keys = std::min(static_cast<int>(list.PKeyCount), EditsPanel->RowCount());
        // A new row starts without the ticks of an earlier Edit window.
        EditsPanel->SetRowStates(false);
        for (int i = 0; i < keys; ++i) {
            UISnmpVar& row = EditsPanel->Row(i);
            EditsPanel->EnableRow(i);
            row.Check->SetChecked(true);
            row.Check->Show();
            row.Check->SetEnabled(false);
            row.Check->SetTabStop(false);
            row.Control->SetEnabled(true);
        }
        const int addColumn = ListViewPanel->AddColumn;
        if (addColumn >= 0 && addColumn < EditsPanel->RowCount()) {
            UISnmpVar& row = EditsPanel->Row(addColumn);
            row.Control->SetEnabled(false);
            row.Check->SetEnabled(false);
            row.Check->SetChecked(true);
            row.Check->Hide();
            row.Control->Hide();
            row.Label->Hide();
            if (TComboBox* combo = row.Combo())
                combo->SetItemIndex(combo->Items().IndexOf(ListViewPanel->AddValue));
        }
        sub.Fit();
        ListViewPanel->ListView1->SetSelected(nullptr);
        ButtonColumn->EditBtn->SetEnabled(false);
        ButtonColumn->DeleteBtn->SetEnabled(false);
        sub.form->ShowModal();
    }
    RefreshTableBtnClick(nullptr);
}

void TSNMPListViewPanel::ShowEditWindow() {
    if (binding_->mode == 1) {
        binding_->request.enabled = false;
        const uint32_t start = GetTickCount();
        while (binding_->active && GetTickCount() - start < kEditWaitMilliseconds)
            ProcessMessagesWaiting(10);
        binding_->request.enabled = true;
    }
    {
        SubWindow sub(*this, " (Edit)");
        sub.panel->ButtonColumn->SetCheckBtn->SetEnabled(false);
        EditsPanel->SetRowStates(false);
        const int addColumn = ListViewPanel->AddColumn;
        const int deleteColumn = ListViewPanel->DeleteColumn;
        if (addColumn > 0 && addColumn < EditsPanel->RowCount()) {
            UISnmpVar& row = EditsPanel->Row(addColumn);
            row.Check->Hide();
            row.Control->Hide();
            row.Label->Hide();
        }

        // An existing row cannot be given the create or the delete value: both leave the
        // row-status list while the window is open and come back at their places afterwards.
        struct Removed {
            int row;
            int index;
            std::string text;
        };
        std::vector<Removed> removed;
        auto removeValue = [&](int column, const std::string& value) {
            if (column < 0 || column >= EditsPanel->RowCount()) return;
            TComboBox* combo = EditsPanel->Row(column).Combo();
            if (!combo) return;
            const int index = combo->Items().IndexOf(value);
            if (index < 0) return;
            const std::string text = combo->Items()[index];
            combo->Items().Delete(index);
            removed.push_back({column, index, text});
            if (combo->Items().Count() == 0) EditsPanel->HideRow(column);
        };
        auto putBack = [&] {
            for (auto it = removed.rbegin(); it != removed.rend(); ++it) {
                TComboBox* combo = EditsPanel->Row(it->row).Combo();
                if (combo->Items().Count() == 0) EditsPanel->ShowRow(it->row);
                combo->Items().Insert(std::min(it->index, combo->Items().Count()), it->text);
            }
            removed.clear();
        };
        try {
            removeValue(addColumn, ListViewPanel->AddValue);
            removeValue(deleteColumn, ListViewPanel->DeleteValue);
            // Laid out after the row-status list is settled, so that a row hidden for
            // having no value left takes no place and no check box.
            sub.Fit();
            sub.form->ShowModal();
        } catch (...) {
            putBack();
            throw;
        }
        putBack();
    }
    RefreshTableBtnClick(nullptr);
}

void TSNMPListViewPanel::DeleteBtnClick(TObject* sender) {
    if (MessageDlg("Are you sure to delete it?", mtConfirmation, mbOK | mbCancel, 0) != mrOk)
        return;
    // Without a selected row there is no index to address.
    if (!ListViewPanel->ListView1->Selected()) return;
    const int deleteColumn = ListViewPanel->DeleteColumn;
    HvSNMPVarList& list = binding_->request.List();
    if (deleteColumn < 0 || deleteColumn >= list.Count()) return;
    // A walk still under way (the click that picked the row stopped it) ends first: its last
    // reply would land in the variables the set is built from.
    if (binding_->mode == 1 && binding_->active) {
        binding_->request.enabled = false;
        const uint32_t start = GetTickCount();
        while (binding_->active && GetTickCount() - start < kEditWaitMilliseconds)
            ProcessMessagesWaiting(10);
        if (binding_->active) return;
    }

    const uint8_t savedMode = binding_->mode;
    binding_->mode = 0;
    binding_->request.enabled = true;
    // Only the index variables and the row-status variable take part.
    std::vector<int> marked;
    for (int i = list.PKeyCount; i < list.Count(); ++i) {
        if (i == deleteColumn || (list.Item(i).access & ACCESS_INVALID) != 0) continue;
        list.Item(i).access |= ACCESS_INVALID;
        marked.push_back(i);
    }
    auto unmark = [&] {
        for (int i : marked) list.Item(i).access &= ~ACCESS_INVALID;
        marked.clear();
    };
    try {
        try {
            binding_->CollectValues();
            list.Item(deleteColumn).value = ListViewPanel->DeleteValue;
            binding_->StartSet(false, false, std::string(), nullptr);
        } catch (const Exception& e) {
            binding_->WriteLog(e.Message());
        }
        unmark();
        RefreshTableBtnClick(sender);
    } catch (...) {
        unmark();
        binding_->mode = savedMode;
        throw;
    }
    binding_->mode = savedMode;
}
