#pragma once
// TControl and TWinControl: the visual base of the widget facade.
//
// Each control wraps one Qt widget. The relations are those of the toolkit:
//  - Owner (TComponent): destroys the control.
//  - Parent (a TWinControl): shows the control inside itself. A control without a parent
//    is never on screen (forms excepted: a form without parent is a top-level window).
//    Destroying a windowed control destroys the controls it contains, whoever owns them.
//
// Alignment. A control aligned alTop, alBottom, alLeft or alRight keeps its height (top,
// bottom) or width (left, right) and takes the whole other extent of what is left of its
// parent's client area; alClient takes the rest. The parent places its aligned children in
// this order: all alTop (from the top down, in the order the children were given this
// parent), then alBottom (from the bottom up), alLeft (from the left), alRight (from the
// right; the first is the rightmost), and finally alClient. Hidden children take no space.
// The parent re-aligns whenever its size, a child's alignment, size or visibility, or its
// set of children changes; left/top/size set on an aligned control are overridden by it.
//
// Focus. OnEnter runs when a control of a form gets the focus (from another control of the
// form, or as the first one); OnExit runs on the control that loses it to another control
// of the same form, before the next one's OnEnter. Switching between windows (a message
// box, another program) runs neither. An OnExit handler may give the focus back (SetFocus
// on the control being left, also after showing a message box); the move is then cancelled
// and the other control gets no OnEnter. Widgets of other windows (message boxes, popups)
// never count as part of a form.
//
// Keys. OnKeyDown runs on the focused control with the key as a Windows virtual-key code
// (VK_...). When the control's form has KeyPreview on, the form's OnKeyDown runs first.
// A handler that sets the key to 0 swallows it. Enter and Escape that nobody swallowed
// click the form's Default and Cancel buttons (Enter on a focused button clicks that one).
//
// Posted messages. PostMessage queues a message to a windowed control; the event loop
// (TApplication::Run, a ShowModal loop, ProcessMessages) delivers it later to the
// control's OnMessage handler; when the handler is missing or returns false, the default
// processing runs: WM_NEXTDLGCTL moves the focus within the control's form (wParam 0: to the
// next tab stop, otherwise to the previous one; with lParam != 0, wParam holds the
// TWinControl* to focus), WM_CLOSE closes a form; every other message is ignored, as the
// window system ignores messages nobody handles. Messages to a control that is destroyed
// before delivery are dropped.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <QPointer>

#include "platform/Exception.h"
#include "platform/widgets/Classes.h"
#include "platform/widgets/Component.h"
#include "platform/widgets/Graphics.h"

class QEvent;
class QObject;
class QWidget;
class TWinControl;
class TForm;

// Raised for an operation the control cannot do in its state ("Cannot focus a disabled or
// invisible window", "Cannot make a visible window modal", ...).
class EInvalidOperation : public Exception {
public:
    using Exception::Exception;
};

// Raised by a member whose toolkit behaviour the facade does not provide (for example a
// list view style other than report): such members fail loudly instead of pretending.
class ENotSupported : public Exception {
public:
    using Exception::Exception;
};

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool operator==(const TRect&) const = default;
};

// Windows virtual-key codes, as OnKeyDown receives them.
enum : uint16_t {
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12,
    VK_PAUSE = 0x13,
    VK_CAPITAL = 0x14,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
    VK_F1 = 0x70,
    VK_F2 = 0x71,
    VK_F3 = 0x72,
    VK_F4 = 0x73,
    VK_F5 = 0x74,
    VK_F6 = 0x75,
    VK_F7 = 0x76,
    VK_F8 = 0x77,
    VK_F9 = 0x78,
    VK_F10 = 0x79,
    VK_F11 = 0x7A,
    VK_F12 = 0x7B,
};
// The virtual-key code of a Qt key (Qt::Key), 0 for keys without one. Letters map to
// 'A'..'Z', digits to '0'..'9'.
uint16_t VirtualKeyFromQtKey(int qtKey);

// Window messages.
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
enum : unsigned {
    WM_CLOSE = 0x0010,
    WM_NEXTDLGCTL = 0x0028,
    WM_USER = 0x0400,
    WM_APP = 0x8000,
};
// Results of a modal form (TForm::ShowModal), of buttons (TButton::ModalResult) and of
// MessageDlg; numbered as the window system numbers its message-box answers.
using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrAll = 8;

// Returns true when the message was handled (default processing then does not run).
using TMessageHandler = std::function<bool(unsigned msg, WPARAM wParam, LPARAM lParam)>;

// Queues msg for target; false when target is null or there is no application.
bool PostMessage(TWinControl* target, unsigned msg, WPARAM wParam, LPARAM lParam);

// "&File" -> "File", "&&" -> "&": the text a caption shows, as accessible names use it.
std::string StripAccelChars(const std::string& caption);

class TControl : public TComponent {
public:
    ~TControl() override;

    // The wrapped widget (for tests and for embedding Qt widgets).
    QWidget* Widget() const;

    TWinControl* Parent() const { return parent_; }
    // Moves the control into parent (appended to its children) or takes it off screen
    // (null). A control cannot become a child of itself or of one of its children.
    virtual void SetParent(TWinControl* parent);
    // The form that shows the control: the outermost parent when it is a form (a form
    // embedded in another form counts as part of the outer one); the control itself when
    // it is a form without parent; else null.
    TForm* ParentForm() const;

    // Position relative to the parent's client area; size of the whole control.
    int Left() const { return BoundsRect().Left; }
    int Top() const { return BoundsRect().Top; }
    int Width() const { return BoundsRect().Width(); }
    int Height() const { return BoundsRect().Height(); }
    void SetLeft(int left);
    void SetTop(int top);
    void SetWidth(int width);
    void SetHeight(int height);
    // Negative sizes are taken as 0.
    virtual void SetBounds(int left, int top, int width, int height);
    virtual TRect BoundsRect() const;
    // The area inside the control's borders where its children live.
    virtual TRect ClientRect() const;
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    virtual void SetClientWidth(int width);
    virtual void SetClientHeight(int height);

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);

    // The Visible property (a control can be Visible inside a hidden parent).
    virtual bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // The Enabled property (not whether a disabled parent greys it out).
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);

    // Background colour. The style's colours stay until SetColor is called.
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TFont& Font() { return font_; }

    // The tool tip shown while the mouse rests on the control when ShowHint is on.
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool show);

    // The name assistive technology reads. Controls with a caption take it from the
    // caption (without accelerator marks) until a name is set here.
    std::string AccessibleName() const;
    void SetAccessibleName(const std::string& name);

    void BringToFront();
    void SendToBack();

protected:
    // widget: the control's own widget, created by the derived class without parent.
    TControl(TComponent* owner, QWidget* widget);

    // Hooks for derived controls.
    virtual void ApplyFont();
    virtual void ApplyColor();
    // Called after the control's size may have changed (by the program, by alignment or by
    // the window system).
    virtual void GeometryChanged() {}
    // Events of the watched widgets (the own widget and those passed to WatchWidget).
    // Return true to consume the event.
    virtual bool WidgetEvent(QObject* watched, QEvent* event);
    void WatchWidget(QWidget* widget);
    // Puts the widget into its parent's container (or takes it out when container is
    // null); forms override it to switch between window and child.
    virtual void ReparentWidget(QWidget* container);
    // Controls with a caption call this when it changes; an empty caption keeps the
    // previous name (a button whose caption gave way to a glyph keeps its name).
    void CaptionChanged(const std::string& caption);
    // Realigns the parent when the control takes part in its alignment.
    void NotifyParent();
    void ShowToolTip(bool atCursor);
    bool ParentDestroying() const;
    // Applies visible_ to the widget (only when the control has a parent).
    virtual void ApplyVisible();
    // The Color a control reports before SetColor is called.
    void InitColor(TColor color) { color_ = color; }

    bool visible_ = true;

private:
    friend class TWinControl;
    friend struct ControlAccess;
    void SetAlignedGeometry(const TRect& rect);

    QPointer<QWidget> widget_;
    std::unique_ptr<QObject> sink_;
    TWinControl* parent_ = nullptr;
    TAlign align_ = alNone;
    bool enabled_ = true;
    TColor color_;
    TFont font_;
    std::string hint_;
    bool showHint_ = false;
    bool accessibleNameSet_ = false;
};

class TWinControl : public TControl {
public:
    ~TWinControl() override;

    // The children, in the order they were given this parent.
    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const;

    // Visible, enabled and inside a visible, enabled chain of parents.
    bool CanFocus() const;
    // Whether the control holds the keyboard focus.
    bool Focused() const;
    // Raises EInvalidOperation "Cannot focus a disabled or invisible window" when the
    // control cannot take the focus. In a window that is not active the control becomes
    // the one that gets the focus when the window is activated.
    virtual void SetFocus();

    // Whether Tab stops at the control.
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool tabStop);
    // Position among the windowed children of the parent in the Tab order (0 = first);
    // setting it moves the others along. -1 without parent.
    int TabOrder() const;
    void SetTabOrder(int order);

    const TNotifyEvent& OnEnter() const { return onEnter_; }
    void SetOnEnter(TNotifyEvent handler) { onEnter_ = std::move(handler); }
    const TNotifyEvent& OnExit() const { return onExit_; }
    void SetOnExit(TNotifyEvent handler) { onExit_ = std::move(handler); }
    const TKeyEvent& OnKeyDown() const { return onKeyDown_; }
    void SetOnKeyDown(TKeyEvent handler) { onKeyDown_ = std::move(handler); }

    // The handler of posted (and performed) messages.
    const TMessageHandler& OnMessage() const { return onMessage_; }
    void SetOnMessage(TMessageHandler handler) { onMessage_ = std::move(handler); }
    // Delivers a message at once: OnMessage, then default processing. Exceptions of the
    // handler propagate to the caller.
    void Perform(unsigned msg, WPARAM wParam, LPARAM lParam);

    // Places the aligned children anew (normally automatic).
    void Realign();

    // Whether the Enter key belongs to this control (buttons, multi-line edits) rather than
    // to the form's Default button.
    virtual bool WantsReturn() const { return false; }
    // Default/Cancel buttons answer Enter/Escape for the whole form.
    virtual bool HandlesDialogKey(uint16_t /*key*/) const { return false; }
    virtual void DialogKeyClick() {}

protected:
    // container: the widget that holds the children (defaults to the control's widget).
    TWinControl(TComponent* owner, QWidget* widget, QWidget* container = nullptr);

    QWidget* Container() const;
    // The part of the client area that aligned children share (container coordinates).
    virtual TRect AlignRect() const;
    virtual void DefaultHandler(unsigned msg, WPARAM wParam, LPARAM lParam);
    // A child was added, removed, moved or resized.
    virtual void ChildrenChanged() {}
    void GeometryChanged() override;
    bool WidgetEvent(QObject* watched, QEvent* event) override;
    // Sets the focus policy that TabStop true/false stands for (derived widgets whose
    // focus policy is not their Qt default call it after changing it).
    void ApplyTabStop();

private:
    friend class TControl;
    friend struct ControlAccess;
    void AddControl(TControl* control);
    void RemoveControl(TControl* control);
    void ChainTabOrder();

    QPointer<QWidget> container_;
    std::vector<TControl*> controls_;
    std::vector<TWinControl*> tabList_;
    bool tabStop_ = false;
    int focusPolicyWithTab_ = 0;
    int focusPolicyWithoutTab_ = 0;
    bool aligning_ = false;
    bool destroying_ = false;
    TNotifyEvent onEnter_;
    TNotifyEvent onExit_;
    TKeyEvent onKeyDown_;
    TMessageHandler onMessage_;
};
