#pragma once
// TPanel, TSplitter, TImage and TRadioGroup.
#include <memory>
#include <string>

#include "platform/widgets/Controls.h"
#include "platform/widgets/StdCtrls.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QGridLayout;
namespace widgets_internal {
class PanelWidget;
class RadioItems;
}  // namespace widgets_internal

enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };

// A container with bevels and a centred caption. The client area that aligned children
// share lies inside BorderWidth and the bevels (BevelWidth each).
class TPanel : public TWinControl {
public:
    // 185 x 41, outer bevel raised, no inner bevel, caption empty, not a tab stop.
    explicit TPanel(TComponent* owner);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel bevel);
    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel bevel);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int width);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int width);

protected:
    TRect AlignRect() const override;

private:
    friend class widgets_internal::PanelWidget;
    void Changed();
    std::string caption_;
    TAlignment alignment_ = taCenter;
    TPanelBevel bevelOuter_ = bvRaised;
    TPanelBevel bevelInner_ = bvNone;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
};

// A bar the user drags to resize the control it is aligned against (the neighbour on the
// side of its alignment: for alRight the control just right of it).
class TSplitter : public TControl {
public:
    // Aligned alLeft, 3 pixels wide; the resized control keeps at least MinSize pixels.
    explicit TSplitter(TComponent* owner);

    int MinSize() const { return minSize_; }
    void SetMinSize(int size) { minSize_ = size < 1 ? 1 : size; }
    const TNotifyEvent& OnMoved() const { return onMoved_; }
    void SetOnMoved(TNotifyEvent handler) { onMoved_ = std::move(handler); }

protected:
    bool WidgetEvent(QObject* watched, QEvent* event) override;

private:
    TControl* FindNeighbour() const;
    int minSize_ = 30;
    TControl* dragged_ = nullptr;
    int dragStart_ = 0;
    int startSize_ = 0;
    TNotifyEvent onMoved_;
};

// Shows a picture.
class TImage : public TControl {
public:
    // 105 x 105, empty picture, drawn at the top-left corner in its own size.
    explicit TImage(TComponent* owner);
    ~TImage() override;

    TPicture& Picture() { return picture_; }
    // On: the picture is scaled to the control's size.
    bool Stretch() const { return stretch_; }
    void SetStretch(bool stretch);
    // On: the picture is drawn in the middle of the control.
    bool Center() const { return center_; }
    void SetCenter(bool center);
    // On: the control takes the picture's size whenever a picture is loaded.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);

protected:
    void GeometryChanged() override;

private:
    void UpdatePixmap();
    QLabel* label_;
    TPicture picture_;
    bool stretch_ = false;
    bool center_ = false;
    bool autoSize_ = false;
};

// A group of radio buttons, one per item, arranged in Columns (filled column by column).
class TRadioGroup : public TWinControl {
public:
    // 185 x 105, no items, ItemIndex -1, one column.
    explicit TRadioGroup(TComponent* owner);
    ~TRadioGroup() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    TStrings& Items();
    // -1 for none; an index outside the items selects none. OnClick runs whenever the
    // index changes, by the user or by the program.
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    int Columns() const { return columns_; }
    void SetColumns(int columns);

    const TNotifyEvent& OnClick() const { return onClick_; }
    void SetOnClick(TNotifyEvent handler) { onClick_ = std::move(handler); }

private:
    friend class widgets_internal::RadioItems;
    void Rebuild();
    void Select(int index, bool notify);
    QGroupBox* box_;
    QButtonGroup* group_;
    std::unique_ptr<TStrings> items_;
    std::string caption_;
    int itemIndex_ = -1;
    int columns_ = 1;
    TNotifyEvent onClick_;
};
