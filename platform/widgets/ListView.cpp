#include "platform/widgets/ListView.h"

#include <algorithm>
#include <set>

#include <QCoreApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QPalette>
#include <QScrollBar>
#include <QTableWidget>

#include "platform/Strings.h"
#include "platform/widgets/WidgetsInternal.h"

using namespace widgets_internal;

namespace widgets_internal {

// The sub-items of a list item: every change updates the row's cells.
class ItemSubItems : public TStringList {
public:
    explicit ItemSubItems(TListItem* item) : item_(item) {}
    void Put(int index, const std::string& text) override {
        TStringList::Put(index, text);
        Changed();
    }
    void Insert(int index, const std::string& text) override {
        TStringList::Insert(index, text);
        Changed();
    }
    void Delete(int index) override {
        TStringList::Delete(index);
        Changed();
    }
    void Clear() override {
        const bool had = Count() > 0;
        TStringList::Clear();
        if (had) Changed();
    }

private:
    void Changed() { item_->view_->ItemTextChanged(item_); }
    TListItem* item_;
};

}  // namespace widgets_internal

// ---------------------------------------------------------------------------------------
// Columns

void TListColumn::SetCaption(const std::string& caption) {
    caption_ = caption;
    const int index = Index();
    if (index >= 0) {
        view_->table_->setHorizontalHeaderItem(index, new QTableWidgetItem(ToQString(caption)));
        view_->ApplyWidths();
    }
}

int TListColumn::Width() const {
    const int index = Index();
    return index < 0 ? widthSpec_ : view_->table_->columnWidth(index);
}

void TListColumn::SetWidth(int width) {
    widthSpec_ = width < -2 ? -2 : width;
    view_->ApplyWidths();
}

void TListColumn::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    view_->ApplyWidths();
}

int TListColumn::Index() const {
    const auto& list = view_->columns_.columns_;
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].get() == this) return static_cast<int>(i);
    return -1;
}

TListColumns::~TListColumns() = default;

TListColumn* TListColumns::Items(int index) const {
    if (index < 0 || index >= Count())
        throw Exception("List view column index out of bounds (" + std::to_string(index) + ")");
    return columns_[static_cast<std::size_t>(index)].get();
}

TListColumn* TListColumns::Add() {
    columns_.push_back(std::unique_ptr<TListColumn>(new TListColumn(view_)));
    view_->RebuildColumns();
    return columns_.back().get();
}

void TListColumns::Delete(int index) {
    Items(index);
    columns_.erase(columns_.begin() + index);
    view_->RebuildColumns();
}

void TListColumns::Clear() {
    columns_.clear();
    view_->RebuildColumns();
}

// ---------------------------------------------------------------------------------------
// Items

TListItem::TListItem(TListView* view)
    : view_(view), subItems_(std::make_unique<ItemSubItems>(this)) {}
TListItem::~TListItem() = default;

void TListItem::SetCaption(const std::string& caption) {
    caption_ = caption;
    view_->ItemTextChanged(this);
}

TStrings& TListItem::SubItems() {
    return *subItems_;
}

int TListItem::Index() const {
    return view_->items_.IndexOf(this);
}

bool TListItem::Selected() const {
    const int row = Index();
    return row >= 0 &&
           view_->table_->selectionModel()->isSelected(view_->table_->model()->index(row, 0));
}

void TListItem::SetSelected(bool selected) {
    const int row = Index();
    if (row < 0) return;
    if (selected) {
        view_->SetItemIndex(row);
    } else if (Selected()) {
        view_->table_->selectionModel()->select(
            view_->table_->model()->index(row, 0),
            QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    }
}

void TListItem::Delete() {
    const int row = Index();
    if (row >= 0) view_->items_.Delete(row);
}

TListItems::~TListItems() = default;

TListItem* TListItems::Item(int index) const {
    if (index < 0 || index >= Count())
        throw Exception("List index out of bounds (" + std::to_string(index) + ")");
    return items_[static_cast<std::size_t>(index)].get();
}

TListItem* TListItems::Add() {
    return Insert(Count());
}

TListItem* TListItems::Insert(int index) {
    if (index < 0 || index > Count())
        throw Exception("List index out of bounds (" + std::to_string(index) + ")");
    auto* item = new TListItem(view_);
    items_.insert(items_.begin() + index, std::unique_ptr<TListItem>(item));
    ++view_->updating_;
    view_->table_->insertRow(index);
    --view_->updating_;
    view_->UpdateRow(index);
    return item;
}

void TListItems::Delete(int index) {
    TListItem* doomed = Item(index);
    // Qt would select a neighbour of a removed selected row; the toolkit leaves the
    // selection as it was without the removed item, and reports nothing.
    TListItem* keep = view_->Selected();
    if (keep == doomed) keep = nullptr;
    ++view_->updating_;
    ++view_->selectionGuard_;
    view_->table_->removeRow(index);
    items_.erase(items_.begin() + index);
    view_->SetSelected(keep);
    --view_->selectionGuard_;
    --view_->updating_;
}

void TListItems::Clear() {
    ++view_->updating_;
    ++view_->selectionGuard_;
    view_->table_->setRowCount(0);
    items_.clear();
    --view_->selectionGuard_;
    --view_->updating_;
}

int TListItems::IndexOf(const TListItem* item) const {
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i].get() == item) return static_cast<int>(i);
    return -1;
}

// ---------------------------------------------------------------------------------------
// TListView

TListView::TListView(TComponent* owner)
    : TWinControl(owner, new QTableWidget),
      table_(static_cast<QTableWidget*>(Widget())),
      columns_(this),
      items_(this) {
    InitColor(clWindow);
    table_->verticalHeader()->hide();
    table_->setCornerButtonEnabled(false);
    table_->setSortingEnabled(false);
    table_->setTabKeyNavigation(false);
    table_->setWordWrap(false);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    QHeaderView* header = table_->horizontalHeader();
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setMinimumSectionSize(0);
    header->setStretchLastSection(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Compact rows, as report lists have them.
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->viewport()->setMouseTracking(true);
    WatchWidget(table_->viewport());

    QObject::connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, table_,
                     [this](const QItemSelection& selected, const QItemSelection& deselected) {
                         SelectionChanged(selected, deselected);
                     });
    QObject::connect(table_, &QTableWidget::itemChanged, table_, [this](QTableWidgetItem* cell) {
        // An in-place edit of a caption.
        if (updating_ || cell->column() != 0) return;
        const int row = cell->row();
        if (row < 0 || row >= items_.Count()) return;
        TListItem* item = items_.Item(row);
        const std::string text = FromQString(cell->text());
        if (text == item->caption_) return;
        item->caption_ = text;
        if (onChange_) {
            TLVChangeEvent handler = onChange_;
            SafeCall([&] { handler(this, item, ctText); });
        }
    });
    QObject::connect(header, &QHeaderView::sectionResized, table_,
                     [this](int index, int, int size) {
                         // The user dragged a column edge: that width stays.
                         if (updating_ || index < 0 || index >= columns_.Count()) return;
                         TListColumn* column = columns_.Items(index);
                         column->widthSpec_ = size;
                         column->autoSize_ = false;
                     });

    SetReadOnly(false);
    SetRowSelect(false);
    SetGridLines(false);
    SetHideSelection(true);
    SetBounds(0, 0, 250, 150);
}

TListView::~TListView() {
    // The table's signals must not reach the half-destroyed view.
    QObject::disconnect(table_->selectionModel(), nullptr, table_, nullptr);
    QObject::disconnect(table_, nullptr, table_, nullptr);
    QObject::disconnect(table_->horizontalHeader(), nullptr, table_, nullptr);
}

void TListView::SetViewStyle(TViewStyle style) {
    if (style != vsReport) throw ENotSupported("A list view shows the report style only");
}

void TListView::RebuildColumns() {
    ++updating_;
    table_->setColumnCount(columns_.Count());
    for (int c = 0; c < columns_.Count(); ++c)
        table_->setHorizontalHeaderItem(
            c, new QTableWidgetItem(ToQString(columns_.Items(c)->caption_)));
    --updating_;
    for (int row = 0; row < items_.Count(); ++row) UpdateRow(row);
    ApplyWidths();
}

void TListView::UpdateRow(int row) {
    ++updating_;
    TListItem* item = items_.Item(row);
    for (int c = 0; c < columns_.Count(); ++c) {
        std::string text;
        if (c == 0)
            text = item->caption_;
        else if (c - 1 < item->subItems_->Count())
            text = item->subItems_->Get(c - 1);
        QTableWidgetItem* cell = table_->item(row, c);
        if (!cell) {
            cell = new QTableWidgetItem;
            table_->setItem(row, c, cell);
        }
        cell->setText(ToQString(text));
        Qt::ItemFlags flags = Qt::ItemIsEnabled;
        if (c == 0 || rowSelect_) flags |= Qt::ItemIsSelectable;
        if (c == 0 && !readOnly_) flags |= Qt::ItemIsEditable;
        cell->setFlags(flags);
    }
    --updating_;
}

void TListView::ItemTextChanged(TListItem* item) {
    const int row = item->Index();
    if (row < 0) return;
    UpdateRow(row);
    bool fitsCells = false;
    for (const auto& column : columns_.columns_) fitsCells = fitsCells || column->widthSpec_ == -1;
    if (fitsCells) ApplyWidths();
    if (onChange_) {
        TLVChangeEvent handler = onChange_;
        SafeCall([&] { handler(this, item, ctText); });
    }
}

void TListView::ApplyWidths() {
    const int count = columns_.Count();
    if (count == 0) return;
    ++updating_;
    QHeaderView* header = table_->horizontalHeader();
    const int available = table_->viewport()->width();
    int used = 0;
    int autoCount = 0;
    std::vector<int> widths(static_cast<std::size_t>(count), 0);
    for (int c = 0; c < count; ++c) {
        const TListColumn* column = columns_.Items(c);
        int width = column->widthSpec_;
        if (column->autoSize_) {
            ++autoCount;
            continue;
        }
        if (width == -1) {
            table_->resizeColumnToContents(c);
            width = std::max(table_->columnWidth(c), header->sectionSizeHint(c));
        } else if (width == -2) {
            width = header->sectionSizeHint(c);
        }
        widths[static_cast<std::size_t>(c)] = width;
        used += width;
    }
    if (autoCount > 0) {
        const int share = std::max(0, available - used) / autoCount;
        for (int c = 0; c < count; ++c)
            if (columns_.Items(c)->autoSize_)
                widths[static_cast<std::size_t>(c)] = std::max(share, header->sectionSizeHint(c));
    } else {
        const TListColumn* last = columns_.Items(count - 1);
        if (last->widthSpec_ == -2) {
            const int others = used - widths.back();
            widths.back() = std::max(widths.back(), available - others);
        }
    }
    for (int c = 0; c < count; ++c) table_->setColumnWidth(c, widths[static_cast<std::size_t>(c)]);
    --updating_;
}

void TListView::GeometryChanged() {
    TWinControl::GeometryChanged();
    ApplyWidths();
}

int TListView::SelectedRow() const {
    const QModelIndexList rows = table_->selectionModel()->selectedIndexes();
    int best = -1;
    for (const QModelIndex& index : rows)
        if (best < 0 || index.row() < best) best = index.row();
    return best;
}

TListItem* TListView::Selected() const {
    const int row = SelectedRow();
    return row >= 0 && row < items_.Count() ? items_.Item(row) : nullptr;
}

void TListView::SetSelected(TListItem* item) {
    SetItemIndex(item ? item->Index() : -1);
}

int TListView::ItemIndex() const {
    return SelectedRow();
}

void TListView::SetItemIndex(int index) {
    if (index < 0 || index >= items_.Count()) {
        table_->clearSelection();
        return;
    }
    QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::ClearAndSelect;
    if (rowSelect_) flags |= QItemSelectionModel::Rows;
    table_->selectionModel()->setCurrentIndex(table_->model()->index(index, 0), flags);
}

void TListView::SelectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
    if (selectionGuard_) return;
    std::set<int> gained;
    std::set<int> lost;
    for (const QModelIndex& index : selected.indexes()) gained.insert(index.row());
    for (const QModelIndex& index : deselected.indexes())
        if (!gained.count(index.row())) lost.insert(index.row());
    // With whole-row selection a row can lose some cells and keep others.
    for (auto it = lost.begin(); it != lost.end();) {
        if (table_->selectionModel()->isRowSelected(*it, QModelIndex()) ||
            table_->selectionModel()->isSelected(table_->model()->index(*it, 0)))
            it = lost.erase(it);
        else
            ++it;
    }
    auto notify = [this](int row, bool isSelected) {
        if (row < 0 || row >= items_.Count()) return;
        TListItem* item = items_.Item(row);
        if (onSelectItem_) {
            TLVSelectItemEvent handler = onSelectItem_;
            SafeCall([&] { handler(this, item, isSelected); });
        }
        if (row < items_.Count() && items_.Item(row) == item && onChange_) {
            TLVChangeEvent handler = onChange_;
            SafeCall([&] { handler(this, item, ctState); });
        }
    };
    for (int row : lost) notify(row, false);
    for (int row : gained) notify(row, true);
}

void TListView::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    table_->setEditTriggers(readOnly ? QAbstractItemView::NoEditTriggers
                                     : QAbstractItemView::SelectedClicked |
                                           QAbstractItemView::EditKeyPressed);
    ApplyItemFlags();
}

void TListView::SetRowSelect(bool rowSelect) {
    rowSelect_ = rowSelect;
    table_->setSelectionBehavior(rowSelect ? QAbstractItemView::SelectRows
                                           : QAbstractItemView::SelectItems);
    const int row = SelectedRow();
    ApplyItemFlags();
    if (row >= 0) SetItemIndex(row);
}

void TListView::ApplyItemFlags() {
    for (int row = 0; row < items_.Count(); ++row) UpdateRow(row);
}

void TListView::SetGridLines(bool gridLines) {
    gridLines_ = gridLines;
    table_->setShowGrid(gridLines);
}

void TListView::SetHideSelection(bool hide) {
    hideSelection_ = hide;
    ApplySelectionPalette();
}

void TListView::ApplySelectionPalette() {
    QPalette palette = table_->palette();
    if (hideSelection_) {
        palette.setColor(QPalette::Inactive, QPalette::Highlight,
                         palette.color(QPalette::Active, QPalette::Base));
        palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                         palette.color(QPalette::Active, QPalette::Text));
    } else {
        palette.setColor(QPalette::Inactive, QPalette::Highlight,
                         palette.color(QPalette::Active, QPalette::Highlight));
        palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                         palette.color(QPalette::Active, QPalette::HighlightedText));
    }
    table_->setPalette(palette);
}

void TListView::SetBorderWidth(int width) {
    borderWidth_ = std::max(0, width);
    table_->setContentsMargins(borderWidth_, borderWidth_, borderWidth_, borderWidth_);
}

void TListView::ApplyColor() {
    QPalette palette = table_->palette();
    palette.setColor(QPalette::Base, ColorToQColor(Color()));
    table_->setPalette(palette);
    ApplySelectionPalette();
}

TListItem* TListView::GetItemAt(int x, int y) const {
    const QPoint p = table_->viewport()->mapFrom(table_, QPoint(x, y));
    if (!table_->viewport()->rect().contains(p)) return nullptr;
    const int row = table_->rowAt(p.y());
    const int column = table_->columnAt(p.x());
    if (row < 0 || row >= items_.Count() || column < 0) return nullptr;
    if (!rowSelect_ && column != 0) return nullptr;
    return items_.Item(row);
}

bool TListView::WidgetEvent(QObject* watched, QEvent* event) {
    if (watched == table_->viewport()) {
        switch (event->type()) {
            case QEvent::MouseButtonPress: {
                suppressNextClick_ = false;
                auto* mouse = static_cast<QMouseEvent*>(event);
                // As the window system does: a click beside the rows clears the selection.
                if (!table_->indexAt(mouse->position().toPoint()).isValid())
                    table_->clearSelection();
                break;
            }
            case QEvent::MouseButtonRelease: {
                auto* mouse = static_cast<QMouseEvent*>(event);
                if (mouse->button() != Qt::LeftButton) break;
                if (suppressNextClick_) {
                    suppressNextClick_ = false;
                    break;
                }
                if (onClick_) {
                    TNotifyEvent handler = onClick_;
                    SafeCall([&] { handler(this); });
                }
                break;
            }
            case QEvent::MouseButtonDblClick: {
                if (inDblClick_) break;
                // The view handles the double click (and the selection it makes) first.
                inDblClick_ = true;
                QCoreApplication::sendEvent(table_->viewport(), event);
                inDblClick_ = false;
                suppressNextClick_ = true;
                if (onDblClick_) {
                    TNotifyEvent handler = onDblClick_;
                    SafeCall([&] { handler(this); });
                }
                return true;
            }
            case QEvent::MouseMove: {
                auto* mouse = static_cast<QMouseEvent*>(event);
                if (onMouseMove_) {
                    const QPoint p = table_->viewport()->mapTo(table_, mouse->position().toPoint());
                    unsigned bits = 0;
                    if (mouse->modifiers() & Qt::ShiftModifier) bits |= ssShift;
                    if (mouse->modifiers() & Qt::AltModifier) bits |= ssAlt;
                    if (mouse->modifiers() & Qt::ControlModifier) bits |= ssCtrl;
                    if (mouse->buttons() & Qt::LeftButton) bits |= ssLeft;
                    if (mouse->buttons() & Qt::RightButton) bits |= ssRight;
                    if (mouse->buttons() & Qt::MiddleButton) bits |= ssMiddle;
                    TMouseMoveEvent handler = onMouseMove_;
                    SafeCall([&] { handler(this, TShiftState(bits), p.x(), p.y()); });
                }
                break;
            }
            case QEvent::Resize:
                ApplyWidths();
                break;
            default:
                break;
        }
    }
    return TWinControl::WidgetEvent(watched, event);
}
