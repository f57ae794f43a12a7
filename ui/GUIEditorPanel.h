#pragma once
// TSNMPPanel: the frame of every SNMP view (content area, command column on the right, message
// strip at the bottom, one binding), and TSNMPEditorPanel, which shows a scalar group in an
// edits panel and sets its ticked rows on the device.
#include <string>

#include "platform/widgets/ExtCtrls.h"
#include "platform/widgets/Forms.h"
#include "ui/GUIEditsPanel.h"
#include "ui/GUIFixedPanels.h"

class HvSNMPRequest2Edits;

class TSNMPPanel : public TPanel {
public:
    // msgPanel null: the panel makes a strip of its own and hands its status bar to the
    // binding; otherwise the binding writes into the given panel's strip and this panel has
    // none. The owner (a windowed control) becomes the parent.
    TSNMPPanel(TComponent* owner, TMsgPanel* msgPanel, HvSNMPRequest2Edits* binding);

    // Shows control as the content (hiding the previous one) and sizes the panel to it, the
    // command column and the strip.
    void SetContent(TControl* control);
    // Fills window with the panel: the window's client area becomes at least the panel's size,
    // then is kept 350 to 800 wide and at most 550 high.
    void FitToForm(TForm* window);

    void RefreshBtnClick(TObject* sender);
    void CloseBtnClick(TObject* sender);

    HvSNMPRequest2Edits* Binding() const { return binding_; }
    TForm* Window() const { return window_; }
    TControl* Content() const { return content_; }
    // The strip this panel made itself (null when it writes into another panel's strip).
    TMsgPanel* MsgPanel() const { return msgPanel_; }
    // The strip the binding writes into (this panel's or the one it was given).
    TMsgPanel* MessageStrip() const { return strip_; }

    TCtrlBtnPanel* ButtonColumn;
    TPanel* ClientPanel;
    TSplitter* Splitter1;

    static constexpr int kMinClientWidth = 350;
    static constexpr int kMaxClientWidth = 800;
    static constexpr int kMaxClientHeight = 550;

protected:
    HvSNMPRequest2Edits* binding_;
    TMsgPanel* msgPanel_ = nullptr;
    TMsgPanel* strip_ = nullptr;
    TForm* window_ = nullptr;
    TControl* content_ = nullptr;
};

class TSNMPEditorPanel : public TSNMPPanel {
public:
    TSNMPEditorPanel(TComponent* owner, HvSNMPRequest2Edits* binding);

    // Width of the value controls; re-lays the rows and refits the window.
    void SetEditWidth(int width);

    // Sets the ticked rows (the one settable row when there is only one) synchronously. An
    // empty row that takes part gives the warning "Some items are empty!" and sends nothing.
    // A sender with tag 1 (the set button of an Add or Edit window) closes its window after
    // the pass.
    void SetBtnClick(TObject* sender);
    void CheckAllBtnClick(TObject* sender);
    void ClearChecksBtnClick(TObject* sender);

    TEditsPanel* EditsPanel;

protected:
    // The SNMP panel whose column holds the set button that the edits panel's rows drive:
    // the panel that shows the edits panel at present.
    TSNMPPanel* PanelShowingEdits() const;
};
