#pragma once
// TForm (a window, or a form embedded in another control) and TScrollBox.
//
// Showing. Show()/SetVisible(true) shows a form without blocking; ShowModal() shows it
// application-modal and runs a message loop until ModalResult becomes non-zero (set by
// SetModalResult, by a button with a ModalResult, or by Close, which sets mrCancel), then
// asks OnCloseQuery and OnClose (an action caNone keeps the form open and clears
// ModalResult), hides the form, gives the activation back to the window that had it and
// returns ModalResult. TApplication::Terminate ends every modal loop with mrCancel.
// ShowModal never destroys the form, whatever the close action: its caller does.
//
// Closing a non-modal form (Close(), or the window's close box) asks OnCloseQuery, then runs
// OnClose with the action caHide: caNone keeps it open, caHide hides it, caMinimize
// minimizes it, caFree destroys it after the current handler has returned (Release). When
// the form is the application's main form, every action but caNone terminates the
// application instead (the application object then destroys its forms).
//
// Events: OnCreate runs from DoCreate(), which a derived form calls at the end of its
// constructor (after building its components); OnShow runs each time the form is about to
// appear; OnActivate runs when it becomes the active window (at once for a form shown by
// ShowModal or by TApplication::Run, and again whenever the window system activates it
// later), OnDeactivate when it stops being active or is hidden.
//
// Geometry. Left/Top/Width/Height of a window are those of its frame (the frame is known
// once the window has been shown; before that they equal the client area plus the menu
// bar); ClientWidth/ClientHeight are the area below the menu bar where the controls live.
// An embedded form (one with a Parent) is an ordinary child control without frame.
#include <functional>
#include <string>

#include "platform/widgets/Controls.h"

class QEventLoop;
class QScrollArea;
class QScrollBar;
class TMainMenu;
namespace widgets_internal {
class FormWidget;
}

enum TCloseAction { caNone, caHide, caFree, caMinimize };

enum TPosition {
    poDesigned,         // Left/Top as set
    poDefault,          // the window system chooses position and size
    poDefaultPosOnly,   // the window system chooses the position
    poDefaultSizeOnly,  // treated as poDesigned (sizes are always the program's)
    poScreenCenter,     // centred on the screen each time it is shown
    poDesktopCenter,    // the same
    poMainFormCenter,   // centred on the application's main form (the screen without one)
    poOwnerFormCenter,  // centred on the owner when it is a form, else as poMainFormCenter
};

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };

enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;

class TForm : public TWinControl {
public:
    // A hidden window of 320 x 240 client pixels, caption empty, position poDesigned,
    // sizeable border with all border icons.
    explicit TForm(TComponent* owner);
    ~TForm() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);

    TPosition Position() const { return position_; }
    void SetPosition(TPosition position) { position_ = position; }
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle style);
    // Combination of TBorderIcon flags.
    unsigned BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(unsigned icons);

    // When on, the form's OnKeyDown sees every key pressed in its controls first.
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool preview) { keyPreview_ = preview; }

    // The main menu shown at the top of the window (null = none). The menu is not owned.
    TMainMenu* Menu() const;
    void SetMenu(TMainMenu* menu);

    // The control that has the focus (the last one that had it while the window is not
    // active). Setting it focuses the control (SetFocus).
    TWinControl* ActiveControl() const;
    void SetActiveControl(TWinControl* control);
    // Moves the focus to the next (or previous) tab stop of the form.
    void SelectNext(bool forward);

    bool Visible() const override;
    void SetVisible(bool visible) override;
    // Whether the form is the active window.
    bool Active() const { return active_; }
    // Whether a ShowModal loop of the form runs.
    bool Modal() const { return modal_; }

    // Raises EInvalidOperation "Cannot make a visible window modal" for a visible, disabled,
    // embedded or already modal form.
    TModalResult ShowModal();
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult result);
    void Close();
    // OnCloseQuery's answer (true without a handler).
    bool CloseQuery();
    // Destroys the form from the event loop, after the current handler has returned.
    void Release();
    // Runs OnCreate (once); call it at the end of a derived form's constructor.
    void DoCreate();

    const TNotifyEvent& OnCreate() const { return onCreate_; }
    void SetOnCreate(TNotifyEvent handler) { onCreate_ = std::move(handler); }
    const TNotifyEvent& OnShow() const { return onShow_; }
    void SetOnShow(TNotifyEvent handler) { onShow_ = std::move(handler); }
    const TNotifyEvent& OnActivate() const { return onActivate_; }
    void SetOnActivate(TNotifyEvent handler) { onActivate_ = std::move(handler); }
    const TNotifyEvent& OnDeactivate() const { return onDeactivate_; }
    void SetOnDeactivate(TNotifyEvent handler) { onDeactivate_ = std::move(handler); }
    const TCloseEvent& OnClose() const { return onClose_; }
    void SetOnClose(TCloseEvent handler) { onClose_ = std::move(handler); }
    const TCloseQueryEvent& OnCloseQuery() const { return onCloseQuery_; }
    void SetOnCloseQuery(TCloseQueryEvent handler) { onCloseQuery_ = std::move(handler); }

    TRect BoundsRect() const override;
    void SetBounds(int left, int top, int width, int height) override;
    TRect ClientRect() const override;
    void SetClientWidth(int width) override;
    void SetClientHeight(int height) override;

protected:
    TRect AlignRect() const override;
    void ReparentWidget(QWidget* container) override;
    void ApplyVisible() override;
    void GeometryChanged() override;
    bool WidgetEvent(QObject* watched, QEvent* event) override;

private:
    friend struct ControlAccess;
    friend class widgets_internal::FormWidget;
    friend class TMainMenu;
    friend class TApplication;

    struct Parts {
        widgets_internal::FormWidget* window;
        QWidget* client;
    };
    static Parts MakeParts();
    TForm(TComponent* owner, const Parts& parts);
    void ShowWindow();
    void HideWindow();
    void ApplyPosition();
    void ApplyWindowFlags();
    void ResizeWindow(int width, int height);
    void LayoutForm();
    int MenuBarHeight() const;
    void SetActiveState(bool active);
    void CloseModal();
    void SystemClose();
    bool IsWindow() const;

    widgets_internal::FormWidget* form_;
    QWidget* client_;
    std::string caption_;
    TPosition position_ = poDesigned;
    TFormBorderStyle borderStyle_ = bsSizeable;
    unsigned borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    bool keyPreview_ = false;
    TMainMenu* menu_ = nullptr;
    TWinControl* activeControl_ = nullptr;
    bool active_ = false;
    bool modal_ = false;
    bool created_ = false;
    TModalResult modalResult_ = mrNone;
    QEventLoop* modalLoop_ = nullptr;
    bool* destroyedFlag_ = nullptr;
    TNotifyEvent onCreate_;
    TNotifyEvent onShow_;
    TNotifyEvent onActivate_;
    TNotifyEvent onDeactivate_;
    TCloseEvent onClose_;
    TCloseQueryEvent onCloseQuery_;
};

// One scroll bar of a scroll box.
class TControlScrollBar {
public:
    explicit TControlScrollBar(QScrollBar* bar) : bar_(bar) {}
    int Position() const;
    void SetPosition(int position);
    // The largest position (0 when everything is visible).
    int Range() const;

private:
    QScrollBar* bar_;
};

// A control that shows its children in a scrollable area.
class TScrollBox : public TWinControl {
public:
    // 185 x 41, single border, AutoScroll on.
    explicit TScrollBox(TComponent* owner);
    ~TScrollBox() override;

    // On: scroll bars appear when the children reach beyond the visible area. Off: no
    // scroll bars, children beyond the area are cut off.
    bool AutoScroll() const { return autoScroll_; }
    void SetAutoScroll(bool autoScroll);
    // bsNone or bsSingle.
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle style);
    TControlScrollBar& VertScrollBar() { return vert_; }
    TControlScrollBar& HorzScrollBar() { return horz_; }

    TRect ClientRect() const override;

protected:
    TRect AlignRect() const override;
    void ChildrenChanged() override;
    void GeometryChanged() override;
    bool WidgetEvent(QObject* watched, QEvent* event) override;

private:
    TScrollBox(TComponent* owner, QScrollArea* area);
    void UpdateExtent();
    QScrollArea* area_;
    bool autoScroll_ = true;
    TFormBorderStyle borderStyle_ = bsSingle;
    TControlScrollBar vert_;
    TControlScrollBar horz_;
    bool updating_ = false;
};
