#pragma once
// The table view: TListViewPanel holds the list view that the binding fills with the rows of
// an SNMP table; TSNMPListViewPanel is the table window's content. It keeps the edits panel
// of its base hidden and lends it to two modal sub-windows, Edit (changes the selected row)
// and Add (creates a row), and deletes rows through the table's row-status column.
#include <functional>
#include <string>

#include "platform/widgets/ExtCtrls.h"
#include "platform/widgets/ListView.h"
#include "ui/GUIEditorPanel.h"

class HvSNMPRequest2Edits;

class TListViewPanel : public TPanel {
public:
    // Attaches the list view to the binding (which makes its columns) and sizes the panel:
    // 8 pixels per character of the column captions (at most 450) by 350.
    TListViewPanel(TComponent* owner, HvSNMPRequest2Edits* binding);

    // Sets the command column for a table window.
    virtual void ArrangeCtrlBtn(TCtrlBtnPanel* column);

    TListView* ListView1;
    int DeleteColumn = -1;    // row of the row-status variable Delete sets; -1: no Delete
    int AddColumn = -1;       // row of the row-status variable Add sets; -1: no Add
    std::string AddValue;     // the row-status value that creates a row
    std::string DeleteValue;  // the row-status value that deletes a row

    static constexpr int kPixelsPerCaptionChar = 8;
    static constexpr int kMaxWidth = 450;
    static constexpr int kHeight = 350;
};

class TSNMPListViewPanel : public TSNMPEditorPanel {
public:
    using Callback = std::function<void()>;

    TSNMPListViewPanel(TComponent* owner, HvSNMPRequest2Edits* binding);

    // Name the row-status row and its create or delete value (one of its option labels);
    // Exception "TSNMPListViewPanel::SetAddStatus - Wrong AddStatusValue:<value>" (or the
    // SetDeleteStatus one) when the value is not among them or the row has no drop-down list.
    void SetAddStatus(int column, const std::string& value);
    void SetDeleteStatus(int column, const std::string& value);

    void RefreshTableBtnClick(TObject* sender);
    void EditBtnClick(TObject* sender);
    void AddBtnClick(TObject* sender);
    void DeleteBtnClick(TObject* sender);

    void ListViewClick(TObject* sender);
    void ListViewDblClick(TObject* sender);
    void ListViewChange(TObject* sender, TListItem* item, TItemChange change);
    // The hint of the row under the mouse: per column its caption, tabs up to the longest
    // caption, two blanks, the cell and a line feed.
    void ListViewMouseMove(TObject* sender, TShiftState shift, int x, int y);
    static std::string RowHintText(TListView* view, TListItem* item);

    void ShowAddWindow();
    void ShowEditWindow();

    TListViewPanel* ListViewPanel;
    Callback BeforeAdd;  // ClearRows of the edits panel
    Callback AfterAdd;
    Callback BeforeEdit;
    Callback AfterEdit;

    // How long opening the Edit window waits for a walk to stop.
    static constexpr unsigned kEditWaitMilliseconds = 1000;

private:
    // A sub-window over the edits panel; the panel comes back to the table when it closes.
    struct SubWindow;
    void UpdateCount();
    void ReturnEditsPanel();
    TForm* TableWindow() const;
};
