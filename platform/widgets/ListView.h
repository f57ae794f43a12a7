#pragma once
// TListView in report style: rows of cells under captioned columns (a QTableWidget).
//
// Each item is a row: its Caption is the first column's cell, its SubItems the following
// columns' cells (sub-items beyond the last column are kept but not shown). Columns and
// items can change at any time; their texts are byte strings and stay unchanged.
//
// Column widths: a width >= 0 is in pixels (0 hides the column's cells, the column stays);
// -1 fits the column to its cells and caption; -2 fits it to its caption, and the last
// column then also takes what is left of the view's width (kept up to date as the view
// is resized). AutoSize columns share the width the other columns leave. Width() reports
// the present width in pixels. A column the user resizes keeps the user's width.
//
// Events (as the toolkit delivers them):
//  - OnSelectItem(sender, item, selected): for each item whose selection changes, by the
//    user or by the program: first the item that loses it (false), then the one that gets
//    it (true). Removing items reports nothing.
//  - OnChange(sender, item, change): ctText when an item's caption or a sub-item changes,
//    ctState when its selection changes (after OnSelectItem).
//  - OnClick: a mouse click anywhere in the rows area, after the selection it made (a click
//    below the last row clears the selection first). OnDblClick: a double click there
//    (its second click runs no OnClick).
//  - OnMouseMove(sender, shift, x, y): the mouse moves over the rows area; x and y, like
//    those of GetItemAt, are relative to the list view's top-left corner (the column
//    header included).
// Hint and ShowHint (TControl) give the tool tip of the rows area.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/widgets/Controls.h"

class QTableWidget;
class QItemSelection;
class TListView;
namespace widgets_internal {
class ItemSubItems;
}

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum TItemChange { ctText, ctImage, ctState };

class TListItem;
using TLVSelectItemEvent = std::function<void(TObject* sender, TListItem* item, bool selected)>;
using TLVChangeEvent = std::function<void(TObject* sender, TListItem* item, TItemChange change)>;

class TListColumn {
public:
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    // Present width in pixels.
    int Width() const;
    // Pixels, or -1 (fit cells) or -2 (fit caption; last column: fill the view).
    void SetWidth(int width);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    int Index() const;

private:
    friend class TListColumns;
    friend class TListView;
    explicit TListColumn(TListView* view) : view_(view) {}
    TListView* view_;
    std::string caption_;
    int widthSpec_ = 50;
    bool autoSize_ = false;
};

class TListColumns {
public:
    explicit TListColumns(TListView* view) : view_(view) {}
    TListColumns(const TListColumns&) = delete;
    TListColumns& operator=(const TListColumns&) = delete;
    ~TListColumns();

    int Count() const { return static_cast<int>(columns_.size()); }
    // Raises Exception for a bad index.
    TListColumn* Items(int index) const;
    TListColumn* operator[](int index) const { return Items(index); }
    // Appends a column (caption empty, width 50).
    TListColumn* Add();
    void Delete(int index);
    void Clear();

private:
    friend class TListView;
    friend class TListColumn;
    TListView* view_;
    std::vector<std::unique_ptr<TListColumn>> columns_;
};

class TListItem {
public:
    ~TListItem();
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    TStrings& SubItems();
    int Index() const;
    bool Selected() const;
    void SetSelected(bool selected);
    // A free pointer for the program's own use.
    void* Data() const { return data_; }
    void SetData(void* data) { data_ = data; }
    TListView* ListView() const { return view_; }
    // Removes (and destroys) the item.
    void Delete();

private:
    friend class TListItems;
    friend class TListView;
    friend class widgets_internal::ItemSubItems;
    explicit TListItem(TListView* view);
    TListView* view_;
    std::string caption_;
    std::unique_ptr<TStrings> subItems_;
    void* data_ = nullptr;
};

class TListItems {
public:
    explicit TListItems(TListView* view) : view_(view) {}
    TListItems(const TListItems&) = delete;
    TListItems& operator=(const TListItems&) = delete;
    ~TListItems();

    int Count() const { return static_cast<int>(items_.size()); }
    // Raises Exception for a bad index.
    TListItem* Item(int index) const;
    TListItem* operator[](int index) const { return Item(index); }
    TListItem* Add();
    TListItem* Insert(int index);
    void Delete(int index);
    void Clear();
    int IndexOf(const TListItem* item) const;

private:
    friend class TListView;
    friend class TListItem;
    TListView* view_;
    std::vector<std::unique_ptr<TListItem>> items_;
};

class TListView : public TWinControl {
public:
    // 250 x 150, report style, no columns or items, ReadOnly off (the caption can be edited
    // in place with F2 or a click on the selected item), RowSelect off, GridLines off,
    // HideSelection on, single selection.
    explicit TListView(TComponent* owner);
    ~TListView() override;

    TListColumns& Columns() { return columns_; }
    TListItems& Items() { return items_; }

    // Only vsReport is available; other styles raise ENotSupported.
    TViewStyle ViewStyle() const { return vsReport; }
    void SetViewStyle(TViewStyle style);

    // The selected item, or null.
    TListItem* Selected() const;
    void SetSelected(TListItem* item);
    // The selected item's index, -1 for none.
    int ItemIndex() const;
    void SetItemIndex(int index);

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    // On: a click anywhere in a row selects it and the whole row is highlighted; off: only
    // the first column's cell.
    bool RowSelect() const { return rowSelect_; }
    void SetRowSelect(bool rowSelect);
    bool GridLines() const { return gridLines_; }
    void SetGridLines(bool gridLines);
    // On: the selection is not shown while the view does not have the focus.
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool hide);
    // Margin inside the border, in pixels.
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int width);

    // The item at (x, y) relative to the view's top-left corner, or null.
    TListItem* GetItemAt(int x, int y) const;

    const TLVSelectItemEvent& OnSelectItem() const { return onSelectItem_; }
    void SetOnSelectItem(TLVSelectItemEvent handler) { onSelectItem_ = std::move(handler); }
    const TLVChangeEvent& OnChange() const { return onChange_; }
    void SetOnChange(TLVChangeEvent handler) { onChange_ = std::move(handler); }
    const TNotifyEvent& OnClick() const { return onClick_; }
    void SetOnClick(TNotifyEvent handler) { onClick_ = std::move(handler); }
    const TNotifyEvent& OnDblClick() const { return onDblClick_; }
    void SetOnDblClick(TNotifyEvent handler) { onDblClick_ = std::move(handler); }
    const TMouseMoveEvent& OnMouseMove() const { return onMouseMove_; }
    void SetOnMouseMove(TMouseMoveEvent handler) { onMouseMove_ = std::move(handler); }

protected:
    void ApplyColor() override;
    void GeometryChanged() override;
    bool WidgetEvent(QObject* watched, QEvent* event) override;

private:
    friend class TListColumn;
    friend class TListColumns;
    friend class TListItem;
    friend class TListItems;
    friend class widgets_internal::ItemSubItems;

    void RebuildColumns();
    void ApplyWidths();
    void UpdateRow(int row);
    void ItemTextChanged(TListItem* item);
    void SelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    void ApplySelectionPalette();
    void ApplyItemFlags();
    int SelectedRow() const;

    QTableWidget* table_;
    TListColumns columns_;
    TListItems items_;
    bool readOnly_ = false;
    bool rowSelect_ = false;
    bool gridLines_ = false;
    bool hideSelection_ = true;
    int borderWidth_ = 0;
    int updating_ = 0;
    int selectionGuard_ = 0;
    bool suppressNextClick_ = false;
    bool inDblClick_ = false;
    TLVSelectItemEvent onSelectItem_;
    TLVChangeEvent onChange_;
    TNotifyEvent onClick_;
    TNotifyEvent onDblClick_;
    TMouseMoveEvent onMouseMove_;
};
