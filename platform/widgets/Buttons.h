#pragma once
// TButton and TBitBtn (a button with a bitmap).
//
// A click (mouse, Space, or Enter on the focused button) first gives the button's
// ModalResult to its form (when not mrNone; a modal form then ends its loop after the
// handler) and then runs OnClick. A Default button answers Enter anywhere in its form, a
// Cancel button Escape.
#include <string>

#include "platform/widgets/Controls.h"

class QPushButton;

class TButton : public TWinControl {
public:
    // 75 x 25, empty caption, a tab stop.
    explicit TButton(TComponent* owner);

    const std::string& Caption() const { return caption_; }
    // The accessible name follows the caption; an empty caption (a glyph shown in its
    // place) keeps the last name.
    void SetCaption(const std::string& caption);
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult result) { modalResult_ = result; }
    bool Default() const { return default_; }
    void SetDefault(bool isDefault);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool isCancel) { cancel_ = isCancel; }

    const TNotifyEvent& OnClick() const { return onClick_; }
    void SetOnClick(TNotifyEvent handler) { onClick_ = std::move(handler); }
    // Does what a click does; exceptions of the handler propagate to the caller.
    virtual void Click();

    bool WantsReturn() const override { return true; }
    bool HandlesDialogKey(uint16_t key) const override;
    void DialogKeyClick() override;

protected:
    QPushButton* button_;

private:
    std::string caption_;
    TModalResult modalResult_ = mrNone;
    bool default_ = false;
    bool cancel_ = false;
    TNotifyEvent onClick_;
};

enum TBitBtnKind {
    bkCustom,
    bkOK,
    bkCancel,
    bkHelp,
    bkYes,
    bkNo,
    bkClose,
    bkAbort,
    bkRetry,
    bkIgnore,
    bkAll
};

class TBitBtn : public TButton {
public:
    explicit TBitBtn(TComponent* owner);
    ~TBitBtn() override;

    // The bitmap shown on the button. As the toolkit reads button bitmaps: the colour of
    // the bottom-left pixel is transparent, and a bitmap whose width is 2 to 4 times its
    // height holds that many glyphs side by side (normal, disabled, ...).
    TBitmap& Glyph() { return glyph_; }
    int NumGlyphs() const { return numGlyphs_; }

    // A stock kind sets caption, ModalResult, Default/Cancel and a stock icon (shown while
    // Glyph is empty). bkClose closes the form instead of running OnClick.
    TBitBtnKind Kind() const { return kind_; }
    void SetKind(TBitBtnKind kind);

    void Click() override;

private:
    void UpdateIcon();
    TBitmap glyph_;
    int numGlyphs_ = 1;
    TBitBtnKind kind_ = bkCustom;
};
