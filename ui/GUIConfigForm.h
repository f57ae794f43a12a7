#pragma once
// TConfigForm: the generic modal window of a device view. It holds one content panel, chosen
// once after construction (an editor for a scalar group or a table), starts its first read by
// itself once its modal loop runs, and before it closes stops its binding's request and waits
// for it to end.
//
//   TConfigForm* form = new TConfigForm(Application);
//   HvSNMPRequest2Edits* binding = ...;   // created for `form`, its variable list assigned
//   form->SetListViewType(binding, -1, nullptr, -1, nullptr);
//   form->SetCaption("Disk Information Table: 10.0.0.5");
//   form->ShowModal();                    // the first walk starts here
//   delete form;                          // then release the binding
//
// The window neither creates nor destroys bindings: release a binding after its window.
// The window uses its own OnClose, OnShow and OnMessage handlers.
#include <cstdint>
#include <vector>

#include "platform/widgets/Forms.h"

class HvSNMPRequest2Edits;
class TSNMPEditorPanel;
class TSNMPListViewPanel;

class TConfigForm : public TForm {
public:
    // The message the window posts itself at construction to start its first refresh.
    static constexpr unsigned kRefreshMessage = WM_APP + 1234;

    enum FormTypes : uint8_t { ftNone = 0, ftEditor = 1, ftListView = 2 };

    explicit TConfigForm(TComponent* owner);
    // Stops the bindings and takes this window's message strip away from them; a binding may
    // outlive its window.
    ~TConfigForm() override;

    // Make the window an editor (a scalar group) or a table window for binding. Only one of
    // them, once: a second call raises Exception "Can not change Type of a Config Form!".
    TSNMPEditorPanel* SetEditorType(HvSNMPRequest2Edits* binding);
    // addValue / deleteValue: the row-status values that create / delete a row, or null for
    // none (the column that goes with a null value is ignored).
    TSNMPListViewPanel* SetListViewType(HvSNMPRequest2Edits* binding, int addColumn,
                                        const char* addValue, int deleteColumn,
                                        const char* deleteValue);

    // Runs when the refresh message arrives: starts a read of the first binding.
    void RefreshForm();
    // The close handler: stops every binding and waits until none is active.
    void FormClose(TObject* sender, TCloseAction& action);

    uint8_t FormType = ftNone;
    const std::vector<HvSNMPRequest2Edits*>& Bindings() const { return bindings_; }
    HvSNMPRequest2Edits* CurrentBinding() const { return current_; }
    // The content panel (null before the set-up call).
    TSNMPEditorPanel* EditorPanel() const { return editorPanel_; }
    TSNMPListViewPanel* ListViewPanel() const { return listViewPanel_; }

private:
    bool HandleMessage(unsigned msg, WPARAM wParam, LPARAM lParam);
    void CheckNoType() const;
    void FitClientTo(TControl* panel);

    std::vector<HvSNMPRequest2Edits*> bindings_;
    std::vector<HvSNMPRequest2Edits*> registered_;  // every binding ever set up, kept to the end
    HvSNMPRequest2Edits* current_ = nullptr;
    TSNMPEditorPanel* editorPanel_ = nullptr;
    TSNMPListViewPanel* listViewPanel_ = nullptr;
    bool refreshWaiting_ = false;  // the refresh message came before the window was shown
};
