#pragma once
// TEditsPanel: the variables of a binding as a scrolling column of rows. Each row has a check
// box that marks it for the next set, a label with the variable's name and one value control
// (an edit box, or a drop-down list for a settable variable with value names). The binding
// moves the values; the panel creates and registers the controls, lays them out, decides the
// set buttons of the command column and answers the SNMP panels' questions about its rows.
#include <string>
#include <vector>

#include "platform/widgets/ExtCtrls.h"
#include "platform/widgets/Forms.h"
#include "platform/widgets/StdCtrls.h"

class HvSNMPRequest2Edits;
class HvSNMPVarList;
class TCtrlBtnPanel;

// One row of the edits panel.
struct UISnmpVar {
    enum Kinds {
        kEnd = 0,              // not a row (kept for the row kinds' numbering)
        kReadOnly = 1,         // read-only, no value names: edit box
        kSettable = 2,         // settable, no value names: edit box
        kSettableOptions = 3,  // settable, with value names: drop-down list
        kReadOnlyOptions = 4,  // read-only, with value names: edit box showing the name
    };
    int Kind = kEnd;
    // Format of the edit box's association: "%s{I}" for an IP address, "%s" otherwise.
    std::string Format;
    TWinControl* Control = nullptr;  // the value control: a TEdit or a TComboBox
    TCheckBox* Check = nullptr;
    TLabel* Label = nullptr;

    TEdit* Edit() const { return dynamic_cast<TEdit*>(Control); }
    TComboBox* Combo() const { return dynamic_cast<TComboBox*>(Control); }
    // The text the value control shows.
    std::string ControlText() const;
};

class TEditsPanel : public TPanel {
public:
    // The check-box tag that marks a row hidden by HideRow.
    static constexpr int kHiddenRowTag = 6666;
    static constexpr int kMargin = 20;
    static constexpr int kGap = 5;
    static constexpr int kDefaultEditWidth = 121;

    // Builds the rows of the binding's variable list (binding must not be null: Exception)
    // and makes the owner (a windowed control) the panel's parent. Errors of the binding
    // while associating a control propagate.
    TEditsPanel(TComponent* owner, HvSNMPRequest2Edits* binding);
    ~TEditsPanel() override;

    // Sets the command column for an editor: which set buttons show, how the set button is
    // captioned and which rows count as checked.
    virtual void ArrangeCtrlBtn(TCtrlBtnPanel* column);

    // Sets the width of every value control and lays the rows out anew, resizing the panel.
    void SetEditWidth(int width);
    // Lays the rows out in one column; with resize, sizes the panel to them (40 pixels wider
    // and higher than the extent of the value controls).
    void ArrangeCtrls(bool resize);
    // Disables read-only and index rows, enables the others with the given check state.
    void SetRowStates(bool checkDefault);
    void EnableRow(int row);
    void DisableRow(int row);
    // Colours of disabled value controls; re-applied to every read-only row.
    void SetDisabledColours(TColor fontColour, TColor backgroundColour);
    // Takes the row out of the layout and out of sets (hidden access bit); ShowRow undoes it.
    // Both leave the layout to the next ArrangeCtrls.
    void HideRow(int row);
    void ShowRow(int row);
    // Empties every value control and every variable's value text.
    void ClearRows();

    bool IsRowEmpty(int row) const;
    int CountCheckableRows() const;
    int CountCheckedRows() const;
    bool HasNoSettableRows() const;
    bool IsReadOnlyRow(int row) const;
    bool IsIndexRow(int row) const;

    int RowCount() const { return static_cast<int>(Rows.size()); }
    UISnmpVar& Row(int row) { return Rows.at(static_cast<size_t>(row)); }
    const UISnmpVar& Row(int row) const { return Rows.at(static_cast<size_t>(row)); }
    HvSNMPRequest2Edits* Binding() const { return binding_; }
    int EditWidth() const { return editWidth_; }
    bool CheckDefault() const { return checkDefault_; }
    TColor DisabledFontColour() const { return disabledFont_; }
    TColor DisabledBackgroundColour() const { return disabledBackground_; }

    std::vector<UISnmpVar> Rows;
    TScrollBox* ScrollBox1;

private:
    void BuildRows();
    void CheckBoxClick(TObject* sender);
    HvSNMPVarList& List() const;
    void ApplyTabOrder();

    int editWidth_ = kDefaultEditWidth;
    TColor disabledFont_ = clBlack;
    TColor disabledBackground_ = clBtnFace;
    HvSNMPRequest2Edits* binding_;
    bool checkDefault_ = false;
};
