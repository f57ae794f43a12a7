#include "ui/GUIConfigForm.h"

#include <string>

#include "binding/HvSNMPRequest2Edits.h"
#include "platform/Exception.h"
#include "ui/GUIEditorPanel.h"
#include "ui/GUIListViewPanel.h"
#include "ui/GUIWait.h"

TConfigForm::TConfigForm(TComponent* owner) : TForm(owner) {
    SetName("ConfigForm");
    SetCaption("ConfigForm");
    SetBounds(284, 134, 159, 105);
    SetColor(clBtnFace);
    Font().SetName("MS Sans Serif");
    Font().SetHeight(-11);
    SetBorderStyle(bsSizeable);
    SetOnClose([this](TObject* sender, TCloseAction& action) { FormClose(sender, action); });
    SetOnMessage([this](unsigned msg, WPARAM w, LPARAM l) { return HandleMessage(msg, w, l); });
    SetOnShow([this](TObject*) {
        if (refreshWaiting_) {
            refreshWaiting_ = false;
            PostMessage(this, kRefreshMessage, 0, 0);
        }
    });

    current_ = nullptr;
    bindings_.clear();
    SetPosition(poMainFormCenter);
    FormType = ftNone;
    PostMessage(this, kRefreshMessage, 0, 0);
}

TConfigForm::~TConfigForm() {
    for (HvSNMPRequest2Edits* binding : registered_) {
        if (!binding) continue;
        binding->request.enabled = false;
        binding->SetMessageControl(nullptr);
    }
}

bool TConfigForm::HandleMessage(unsigned msg, WPARAM /*wParam*/, LPARAM /*lParam*/) {
    if (msg != kRefreshMessage) return false;
    // The first refresh belongs to the shown window: a message that some other message loop
    // delivers while the caller is still setting the window up is posted again when the
    // window appears.
    if (!Visible()) {
        refreshWaiting_ = true;
        return true;
    }
    RefreshForm();
    return true;
}

void TConfigForm::CheckNoType() const {
    if (FormType != ftNone) throw Exception("Can not change Type of a Config Form!");
}

void TConfigForm::FitClientTo(TControl* panel) {
    if (ClientWidth() < panel->Width()) SetClientWidth(panel->Width());
    if (ClientHeight() < panel->Height()) SetClientHeight(panel->Height());
}

TSNMPEditorPanel* TConfigForm::SetEditorType(HvSNMPRequest2Edits* binding) {
    CheckNoType();
    FormType = ftEditor;
    bindings_.push_back(binding);
    registered_.push_back(binding);
    auto* panel = new TSNMPEditorPanel(this, binding);
    panel->FitToForm(this);
    FitClientTo(panel);
    editorPanel_ = panel;
    return panel;
}

TSNMPListViewPanel* TConfigForm::SetListViewType(HvSNMPRequest2Edits* binding, int addColumn,
                                                 const char* addValue, int deleteColumn,
                                                 const char* deleteValue) {
    CheckNoType();
    FormType = ftListView;
    bindings_.push_back(binding);
    registered_.push_back(binding);
    auto* panel = new TSNMPListViewPanel(this, binding);
    panel->FitToForm(this);
    editorPanel_ = panel;
    listViewPanel_ = panel;
    if (addValue) panel->SetAddStatus(addColumn, addValue);
    if (deleteValue) panel->SetDeleteStatus(deleteColumn, deleteValue);
    FitClientTo(panel);
    return panel;
}

void TConfigForm::RefreshForm() {
    if (FormType == ftNone) return;
    if (FormType != ftEditor && FormType != ftListView)
        throw Exception("Refresh a Form with unknown Form Type!");
    if (bindings_.empty()) return;  // closed: the list is gone
    HvSNMPRequest2Edits* binding = bindings_.front();
    if (current_) current_->request.enabled = false;
    current_ = binding;
    current_->request.enabled = true;
    try {
        current_->StartGet();
    } catch (const Exception& e) {
        current_->WriteLog(e.Message());
    }
}

void TConfigForm::FormClose(TObject* /*sender*/, TCloseAction& action) {
    for (HvSNMPRequest2Edits* binding : bindings_) {
        binding->request.enabled = false;
        if (binding->active && binding->mode == 0) {
            // A synchronous read or set of this binding is further down the stack (its rows
            // let window messages run): it ends at its next step now that the request is not
            // enabled. Waiting here would never return, so close again once it has.
            action = caNone;
            PostMessage(this, WM_CLOSE, 0, 0);
            return;
        }
        while (binding->active) ProcessMessagesWaiting(10);
    }
    bindings_.clear();
}
