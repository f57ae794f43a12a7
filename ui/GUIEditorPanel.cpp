#include "ui/GUIEditorPanel.h"

#include <algorithm>
#include <vector>

#include "binding/HvSNMPRequest2Edits.h"
#include "mib/HvSnmpTypes.h"
#include "platform/Exception.h"
#include "platform/MessageBox.h"
#include "platform/System.h"
#include "platform/widgets/Dialogs.h"

namespace {

// The value text of a row-status variable whose row exists and is in use.
constexpr char kActiveValue[] = "active";
// The row of a list that never counts as empty when it takes part in a set.
constexpr int kNeverEmptyRow = 17;

}  // namespace

// ---- TSNMPPanel ---------------------------------------------------------------------------

TSNMPPanel::TSNMPPanel(TComponent* owner, TMsgPanel* msgPanel, HvSNMPRequest2Edits* binding)
    : TPanel(owner), binding_(binding) {
    SetName("SNMPPanel");
    SetBevelOuter(bvNone);
    content_ = nullptr;
    if (!msgPanel) {
        msgPanel_ = new TMsgPanel(this);
        msgPanel_->SetAlign(alBottom);
        strip_ = msgPanel_;
    } else {
        strip_ = msgPanel;
    }
    if (binding_) binding_->SetMessageControl(strip_->MessageSink());

    ButtonColumn = new TCtrlBtnPanel(this);
    ButtonColumn->RefreshBtn->SetOnClick([this](TObject* s) { RefreshBtnClick(s); });
    ButtonColumn->CloseBtn->SetOnClick([this](TObject* s) { CloseBtnClick(s); });
    ButtonColumn->SetAlign(alRight);

    Splitter1 = new TSplitter(this);
    Splitter1->SetParent(this);
    Splitter1->SetAlign(alRight);

    ClientPanel = new TPanel(this);
    ClientPanel->SetName("ClientPanel");
    ClientPanel->SetParent(this);
    ClientPanel->SetBevelOuter(bvNone);
    ClientPanel->SetAlign(alClient);
    // The keyboard visits the content first, then the command column.
    ClientPanel->SetTabOrder(0);

    SetParent(dynamic_cast<TWinControl*>(owner));
    SetWidth(0);
    SetHeight(0);
}

void TSNMPPanel::SetContent(TControl* control) {
    if (content_) {
        content_->Hide();
        content_->SetAlign(alNone);
    }
    content_ = control;
    content_->Show();
    content_->SetAlign(alNone);
    content_->SetParent(ClientPanel);

    SetAlign(alNone);
    const int stripHeight = msgPanel_ ? msgPanel_->Height() : 0;
    const int width = content_->Width() + ButtonColumn->Width() + Splitter1->Width() + 3;
    if (width != Width()) SetWidth(width);
    int height = content_->Height() + stripHeight;
    if (height != Height()) SetHeight(height);
    if (Height() < ButtonColumn->Height()) SetHeight(ButtonColumn->Height() + stripHeight);
    content_->SetAlign(alClient);
}

void TSNMPPanel::FitToForm(TForm* window) {
    SetAlign(alNone);
    window_ = window;
    window->SetPosition(poMainFormCenter);
    if (window->ClientWidth() < Width()) window->SetClientWidth(Width());
    if (window->ClientWidth() < kMinClientWidth) window->SetClientWidth(kMinClientWidth);
    if (window->ClientHeight() < Height()) window->SetClientHeight(Height());
    if (window->ClientHeight() > kMaxClientHeight) window->SetClientHeight(kMaxClientHeight);
    if (window->ClientWidth() > kMaxClientWidth) window->SetClientWidth(kMaxClientWidth);
    SetAlign(alClient);
}

void TSNMPPanel::RefreshBtnClick(TObject* /*sender*/) {
    if (!binding_) return;
    binding_->request.enabled = true;
    if (binding_->active) return;  // a refresh under way is not started twice
    try {
        binding_->StartGet();
    } catch (const Exception& e) {
        binding_->WriteLog(e.Message());
        binding_->request.enabled = true;
    }
}

void TSNMPPanel::CloseBtnClick(TObject* /*sender*/) {
    try {
        if (binding_) {
            binding_->request.enabled = false;
            if (binding_->active) ProcessMessages();
        }
        TForm* form = window_ ? window_ : ParentForm();
        if (form) form->Close();
    } catch (...) {
        ShowMessage("Please initial close form");
    }
}

// ---- TSNMPEditorPanel ---------------------------------------------------------------------

TSNMPEditorPanel::TSNMPEditorPanel(TComponent* owner, HvSNMPRequest2Edits* binding)
    : TSNMPPanel(owner, nullptr, binding), EditsPanel(nullptr) {
    EditsPanel = new TEditsPanel(ClientPanel, binding);
    ButtonColumn->SetCheckBtn->SetOnClick([this](TObject* s) { SetBtnClick(s); });
    ButtonColumn->SetCheckBtn->SetEnabled(false);
    ButtonColumn->CheckAllBtn->SetOnClick([this](TObject* s) { CheckAllBtnClick(s); });
    ButtonColumn->ClearChecksBtn->SetOnClick([this](TObject* s) { ClearChecksBtnClick(s); });
    EditsPanel->ArrangeCtrlBtn(ButtonColumn);
    SetContent(EditsPanel);
}

void TSNMPEditorPanel::SetEditWidth(int width) {
    EditsPanel->SetEditWidth(width);
    SetContent(EditsPanel);
    if (window_) FitToForm(window_);
}

TSNMPPanel* TSNMPEditorPanel::PanelShowingEdits() const {
    TWinControl* parent = EditsPanel->Parent();
    if (auto* panel = dynamic_cast<TSNMPPanel*>(parent ? parent->Parent() : nullptr)) return panel;
    return const_cast<TSNMPEditorPanel*>(this);
}

void TSNMPEditorPanel::SetBtnClick(TObject* sender) {
    HvSNMPVarList& list = binding_->request.List();
    const int keys = list.PKeyCount;
    const int rows = std::min(EditsPanel->RowCount(), static_cast<int>(list.Count()));
    const uint8_t savedMode = binding_->mode;
    binding_->mode = 0;

    // Rows left out of the set carry the invalid bit while it runs. Only the marks made here
    // are taken away afterwards: a variable that was invalid before stays so.
    std::vector<int> marked;
    bool emptyRow = false;
    for (int i = keys; i < rows; ++i) {
        const UISnmpVar& row = EditsPanel->Row(i);
        VarItem& item = list.Item(i);
        const bool leftOut =
            !row.Check->Checked() || (!row.Check->Visible() && item.value == kActiveValue);
        if (leftOut && (item.access & ACCESS_INVALID) == 0) {
            item.access |= ACCESS_INVALID;
            marked.push_back(i);
        }
        if ((item.access & ACCESS_INVALID) == 0 && EditsPanel->IsRowEmpty(i) && i != kNeverEmptyRow)
            emptyRow = true;
    }
    auto restore = [&] {
        for (int i : marked) list.Item(i).access &= ~ACCESS_INVALID;
        binding_->mode = savedMode;
    };

    try {
        binding_->CollectValues();
    } catch (...) {
        restore();
        throw;
    }
    try {
        if (emptyRow)
            MessageDlg("Some items are empty!", mtWarning, mbOK, 0);
        else
            binding_->StartSet(false, false, std::string(), nullptr);
    } catch (const Exception& e) {
        binding_->WriteLog(e.Message());
    }
    restore();

    auto* control = dynamic_cast<TControl*>(sender);
    if (!emptyRow && control && control->Tag() == 1) {
        TWinControl* column = control->Parent();
        TWinControl* panel = column ? column->Parent() : nullptr;
        if (auto* form = dynamic_cast<TForm*>(panel ? panel->Parent() : nullptr)) form->Close();
    }
}

void TSNMPEditorPanel::CheckAllBtnClick(TObject* /*sender*/) {
    for (UISnmpVar& row : EditsPanel->Rows)
        if (row.Check->Enabled()) row.Check->SetChecked(true);
    if (EditsPanel->CountCheckedRows() >= 1)
        PanelShowingEdits()->ButtonColumn->SetCheckBtn->SetEnabled(true);
}

void TSNMPEditorPanel::ClearChecksBtnClick(TObject* /*sender*/) {
    for (UISnmpVar& row : EditsPanel->Rows)
        if (row.Check->Enabled()) row.Check->SetChecked(false);
    if (EditsPanel->CountCheckedRows() == 0)
        PanelShowingEdits()->ButtonColumn->SetCheckBtn->SetEnabled(false);
}
