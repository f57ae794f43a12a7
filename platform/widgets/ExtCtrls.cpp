#include "platform/widgets/ExtCtrls.h"

#include <algorithm>

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QRadioButton>

#include "platform/Strings.h"
#include "platform/widgets/WidgetsInternal.h"

using namespace widgets_internal;

namespace widgets_internal {

// Draws the bevels and the caption of a panel.
class PanelWidget : public QWidget {
public:
    TPanel* panel = nullptr;

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        if (!panel) return;
        QPainter painter(this);
        QRect r = rect();
        const QPalette& pal = palette();
        auto frame = [&](TPanelBevel bevel, int width) {
            if (bevel == bvNone) return;
            QColor topLeft = pal.color(QPalette::Light);
            QColor bottomRight = pal.color(QPalette::Dark);
            if (bevel == bvLowered) std::swap(topLeft, bottomRight);
            if (bevel == bvSpace) topLeft = bottomRight = pal.color(QPalette::Window);
            for (int i = 0; i < width && r.width() > 1 && r.height() > 1; ++i) {
                painter.setPen(topLeft);
                painter.drawLine(r.topLeft(), r.topRight());
                painter.drawLine(r.topLeft(), r.bottomLeft());
                painter.setPen(bottomRight);
                painter.drawLine(r.bottomLeft(), r.bottomRight());
                painter.drawLine(r.topRight(), r.bottomRight());
                r.adjust(1, 1, -1, -1);
            }
        };
        frame(panel->BevelOuter(), panel->BevelWidth());
        r.adjust(panel->BorderWidth(), panel->BorderWidth(), -panel->BorderWidth(),
                 -panel->BorderWidth());
        frame(panel->BevelInner(), panel->BevelWidth());
        if (panel->Caption().empty()) return;
        int align = Qt::AlignVCenter | Qt::TextSingleLine;
        switch (panel->Alignment()) {
            case taLeftJustify:
                align |= Qt::AlignLeft;
                break;
            case taRightJustify:
                align |= Qt::AlignRight;
                break;
            case taCenter:
                align |= Qt::AlignHCenter;
                break;
        }
        painter.setPen(
            pal.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
        painter.drawText(r, align, ToQString(panel->Caption()));
    }
};

// The items of a radio group: every change rebuilds the buttons.
class RadioItems : public TStringList {
public:
    explicit RadioItems(TRadioGroup* group) : group_(group) {}
    void Put(int index, const std::string& text) override {
        TStringList::Put(index, text);
        group_->Rebuild();
    }
    void Insert(int index, const std::string& text) override {
        TStringList::Insert(index, text);
        group_->Rebuild();
    }
    void Delete(int index) override {
        TStringList::Delete(index);
        group_->Rebuild();
    }
    void Clear() override {
        TStringList::Clear();
        group_->Rebuild();
    }

private:
    TRadioGroup* group_;
};

}  // namespace widgets_internal

// ---------------------------------------------------------------------------------------
// TPanel

TPanel::TPanel(TComponent* owner) : TWinControl(owner, new PanelWidget) {
    static_cast<PanelWidget*>(Widget())->panel = this;
    SetBounds(0, 0, 185, 41);
}

void TPanel::Changed() {
    Widget()->update();
    Realign();
}

void TPanel::SetCaption(const std::string& caption) {
    caption_ = caption;
    CaptionChanged(caption);
    Widget()->update();
}

void TPanel::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    Widget()->update();
}

void TPanel::SetBevelOuter(TPanelBevel bevel) {
    bevelOuter_ = bevel;
    Changed();
}

void TPanel::SetBevelInner(TPanelBevel bevel) {
    bevelInner_ = bevel;
    Changed();
}

void TPanel::SetBevelWidth(int width) {
    bevelWidth_ = std::max(1, width);
    Changed();
}

void TPanel::SetBorderWidth(int width) {
    borderWidth_ = std::max(0, width);
    Changed();
}

TRect TPanel::AlignRect() const {
    int inset = borderWidth_;
    if (bevelOuter_ != bvNone) inset += bevelWidth_;
    if (bevelInner_ != bvNone) inset += bevelWidth_;
    return {inset, inset, std::max(inset, Width() - inset), std::max(inset, Height() - inset)};
}

// ---------------------------------------------------------------------------------------
// TSplitter

TSplitter::TSplitter(TComponent* owner) : TControl(owner, new QWidget) {
    Widget()->setCursor(Qt::SplitHCursor);
    SetBounds(0, 0, 3, 100);
    SetAlign(alLeft);
}

TControl* TSplitter::FindNeighbour() const {
    TWinControl* parent = Parent();
    if (!parent) return nullptr;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (c == this || !c->Visible() || c->Align() != Align()) continue;
        switch (Align()) {
            case alLeft:
                if (c->Left() + c->Width() == Left()) return c;
                break;
            case alRight:
                if (c->Left() == Left() + Width()) return c;
                break;
            case alTop:
                if (c->Top() + c->Height() == Top()) return c;
                break;
            case alBottom:
                if (c->Top() == Top() + Height()) return c;
                break;
            default:
                break;
        }
    }
    return nullptr;
}

bool TSplitter::WidgetEvent(QObject* watched, QEvent* event) {
    const bool horizontal = Align() == alTop || Align() == alBottom;
    switch (event->type()) {
        case QEvent::Enter:
            Widget()->setCursor(horizontal ? Qt::SplitVCursor : Qt::SplitHCursor);
            break;
        case QEvent::MouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            dragged_ = FindNeighbour();
            if (dragged_) {
                const QPoint global = mouse->globalPosition().toPoint();
                dragStart_ = horizontal ? global.y() : global.x();
                startSize_ = horizontal ? dragged_->Height() : dragged_->Width();
            }
            return true;
        }
        case QEvent::MouseMove: {
            if (!dragged_ || !IsLive(dragged_)) return false;
            auto* mouse = static_cast<QMouseEvent*>(event);
            const QPoint global = mouse->globalPosition().toPoint();
            const int delta = (horizontal ? global.y() : global.x()) - dragStart_;
            int size =
                (Align() == alLeft || Align() == alTop) ? startSize_ + delta : startSize_ - delta;
            const int room =
                Parent() ? (horizontal ? Parent()->ClientHeight() : Parent()->ClientWidth()) : size;
            size = std::clamp(size, minSize_, std::max(minSize_, room - minSize_));
            if (horizontal)
                dragged_->SetHeight(size);
            else
                dragged_->SetWidth(size);
            return true;
        }
        case QEvent::MouseButtonRelease:
            if (dragged_) {
                dragged_ = nullptr;
                if (onMoved_) {
                    TNotifyEvent handler = onMoved_;
                    SafeCall([&] { handler(this); });
                }
            }
            return true;
        default:
            break;
    }
    return TControl::WidgetEvent(watched, event);
}

// ---------------------------------------------------------------------------------------
// TImage

TImage::TImage(TComponent* owner)
    : TControl(owner, new QLabel), label_(static_cast<QLabel*>(Widget())) {
    label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture_.SetChangeHandler([this] { UpdatePixmap(); });
    SetBounds(0, 0, 105, 105);
}

TImage::~TImage() {
    picture_.SetChangeHandler(nullptr);
}

void TImage::SetStretch(bool stretch) {
    stretch_ = stretch;
    label_->setScaledContents(stretch);
    UpdatePixmap();
}

void TImage::SetCenter(bool center) {
    center_ = center;
    label_->setAlignment(center ? Qt::AlignCenter : (Qt::AlignLeft | Qt::AlignTop));
}

void TImage::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    UpdatePixmap();
}

void TImage::UpdatePixmap() {
    if (picture_.Empty()) {
        label_->clear();
        return;
    }
    label_->setPixmap(QPixmap::fromImage(picture_.Image()));
    if (autoSize_) SetBounds(Left(), Top(), picture_.Width(), picture_.Height());
}

void TImage::GeometryChanged() {
    label_->update();
}

// ---------------------------------------------------------------------------------------
// TRadioGroup

TRadioGroup::TRadioGroup(TComponent* owner)
    : TWinControl(owner, new QGroupBox), box_(static_cast<QGroupBox*>(Widget())) {
    group_ = new QButtonGroup(box_);
    group_->setExclusive(true);
    items_ = std::make_unique<RadioItems>(this);
    new QGridLayout(box_);
    QObject::connect(group_, &QButtonGroup::idClicked, box_, [this](int id) { Select(id, true); });
    SetBounds(0, 0, 185, 105);
}

TRadioGroup::~TRadioGroup() = default;

void TRadioGroup::SetCaption(const std::string& caption) {
    caption_ = caption;
    box_->setTitle(ToQString(caption));
    CaptionChanged(caption);
}

TStrings& TRadioGroup::Items() {
    return *items_;
}

void TRadioGroup::SetColumns(int columns) {
    columns_ = std::clamp(columns, 1, 16);
    Rebuild();
}

void TRadioGroup::SetItemIndex(int index) {
    Select(index, true);
}

void TRadioGroup::Select(int index, bool notify) {
    if (index < 0 || index >= items_->Count()) index = -1;
    const auto buttons = group_->buttons();
    // Reflect the index in the buttons (a click has already checked its button).
    group_->setExclusive(false);
    for (QAbstractButton* b : buttons) b->setChecked(group_->id(b) == index);
    group_->setExclusive(true);
    if (index == itemIndex_) return;
    itemIndex_ = index;
    if (notify && onClick_) {
        TNotifyEvent handler = onClick_;
        SafeCall([&] { handler(this); });
    }
}

void TRadioGroup::Rebuild() {
    auto* layout = static_cast<QGridLayout*>(box_->layout());
    for (QAbstractButton* b : group_->buttons()) {
        group_->removeButton(b);
        delete b;
    }
    const int count = items_->Count();
    const int rows = std::max(1, (count + columns_ - 1) / columns_);
    for (int i = 0; i < count; ++i) {
        auto* button = new QRadioButton(ToQString(items_->Get(i)), box_);
        group_->addButton(button, i);
        layout->addWidget(button, i % rows, i / rows);
    }
    if (itemIndex_ >= count) itemIndex_ = -1;
    const int index = itemIndex_;
    itemIndex_ = -2;  // forces the buttons to be set without counting as a change
    Select(index, false);
    itemIndex_ = index;
}
