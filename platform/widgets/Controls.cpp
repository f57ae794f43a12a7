#include "platform/widgets/Controls.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPalette>
#include <QPointer>
#include <QTextDocument>
#include <QToolTip>
#include <QWidget>

#include "platform/Strings.h"
#include "platform/widgets/Forms.h"
#include "platform/widgets/WidgetsInternal.h"

using namespace widgets_internal;

namespace {

// Widgets that belong to a control, and the controls alive.
std::unordered_map<const QWidget*, TControl*>& Registry() {
    static std::unordered_map<const QWidget*, TControl*> registry;
    return registry;
}
std::unordered_set<const TControl*>& LiveControls() {
    static std::unordered_set<const TControl*> live;
    return live;
}

const QEvent::Type kMessageEvent = static_cast<QEvent::Type>(QEvent::registerEventType());
const QEvent::Type kCallEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

class MessageEvent : public QEvent {
public:
    MessageEvent(unsigned msg, WPARAM w, LPARAM l) : QEvent(kMessageEvent), msg(msg), w(w), l(l) {}
    unsigned msg;
    WPARAM w;
    LPARAM l;
};

class CallEvent : public QEvent {
public:
    explicit CallEvent(std::function<void()> fn) : QEvent(kCallEvent), fn(std::move(fn)) {}
    std::function<void()> fn;
};

// Depth of focus transitions under way (OnExit/OnEnter handlers running).
int g_focusTransitions = 0;

TShiftState ShiftFromModifiers(Qt::KeyboardModifiers mods) {
    unsigned bits = 0;
    if (mods & Qt::ShiftModifier) bits |= ssShift;
    if (mods & Qt::AltModifier) bits |= ssAlt;
    if (mods & Qt::ControlModifier) bits |= ssCtrl;
    return TShiftState(bits);
}

TWinControl* FindDialogKeyTarget(TWinControl* root, uint16_t key) {
    for (int i = 0; i < root->ControlCount(); ++i) {
        auto* child = dynamic_cast<TWinControl*>(root->Controls(i));
        if (!child || !child->Visible() || !child->Enabled()) continue;
        if (child->HandlesDialogKey(key)) return child;
        if (TWinControl* inner = FindDialogKeyTarget(child, key)) return inner;
    }
    return nullptr;
}

// Application-wide filter: focus changes (OnEnter/OnExit) and keys (OnKeyDown) are
// dispatched once per event here, whatever inner widget of a control receives them. It
// also receives the calls posted with PostCall.
class GlobalFilter : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!watched->isWidgetType()) return false;
        auto* widget = static_cast<QWidget*>(watched);
        switch (event->type()) {
            case QEvent::FocusIn:
                return FocusIn(widget, static_cast<QFocusEvent*>(event));
            case QEvent::KeyPress:
                return KeyPress(widget, static_cast<QKeyEvent*>(event));
            default:
                return false;
        }
    }

    bool event(QEvent* event) override {
        if (event->type() == kCallEvent) {
            auto* call = static_cast<CallEvent*>(event);
            SafeCall(call->fn);
            return true;
        }
        return QObject::event(event);
    }

private:
    static bool FocusIn(QWidget* widget, QFocusEvent* event) {
        TWinControl* control = NearestWinControl(widget);
        if (!control || dynamic_cast<TForm*>(control)) return false;
        TForm* form = control->ParentForm();
        if (!form) return false;
        const bool activation = event->reason() == Qt::ActiveWindowFocusReason ||
                                event->reason() == Qt::PopupFocusReason;
        // A window that is re-activated while an OnExit handler shows a message box must
        // not start a second transition.
        if (activation && g_focusTransitions > 0) return false;
        TWinControl*& tracked = ControlAccess::TrackedActive(form);
        if (tracked && !IsLive(tracked)) tracked = nullptr;
        if (tracked == control) return false;
        TWinControl* old = tracked;
        if (old && old->OnExit()) {
            TNotifyEvent handler = old->OnExit();
            ++g_focusTransitions;
            SafeCall([&] { handler(old); });
            --g_focusTransitions;
        }
        if (!IsLive(form) || !IsLive(control)) return false;
        // The handler moved the focus elsewhere (typically back to the control it was
        // asked to leave): this control never becomes the active one.
        if (QApplication::focusWidget() != widget) return true;
        ControlAccess::TrackedActive(form) = control;
        if (control->OnEnter()) {
            TNotifyEvent handler = control->OnEnter();
            ++g_focusTransitions;
            SafeCall([&] { handler(control); });
            --g_focusTransitions;
        }
        return false;
    }

    static bool KeyPress(QWidget* receiver, QKeyEvent* event) {
        // Only the first delivery (to the focus widget) counts; Qt propagates ignored key
        // events to the parents, which must not see them again.
        QWidget* focus = QApplication::focusWidget();
        if (focus ? receiver != focus : !receiver->isWindow()) return false;
        TWinControl* control = NearestWinControl(receiver);
        if (!control) return false;
        const uint16_t vk = VirtualKeyFromQtKey(event->key());
        if (vk == 0) return false;
        const TShiftState shift = ShiftFromModifiers(event->modifiers());
        TForm* form = control->ParentForm();
        uint16_t key = vk;
        if (form && form != control && form->KeyPreview() && form->OnKeyDown()) {
            TKeyEvent handler = form->OnKeyDown();
            SafeCall([&] { handler(form, key, shift); });
            if (key == 0) return true;
        }
        if (!IsLive(control)) return true;
        if (control->OnKeyDown()) {
            TKeyEvent handler = control->OnKeyDown();
            SafeCall([&] { handler(control, key, shift); });
            if (key == 0) return true;
        }
        if (!form || !IsLive(form) || !IsLive(control)) return false;
        if ((key == VK_RETURN || key == VK_ESCAPE) &&
            !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            if (key == VK_RETURN && control->WantsReturn()) return false;
            if (TWinControl* target = FindDialogKeyTarget(form, key)) {
                SafeCall([&] { target->DialogKeyClick(); });
                return true;
            }
        }
        return false;
    }
};

QPointer<GlobalFilter>& TheGlobalFilter() {
    static QPointer<GlobalFilter> filter;
    return filter;
}

void EnsureGlobalFilter() {
    if (TheGlobalFilter() || !qApp) return;
    TheGlobalFilter() = new GlobalFilter(qApp);
    qApp->installEventFilter(TheGlobalFilter());
}

// Per control: watches its widgets and receives the messages posted to it.
class ControlSink : public QObject {
public:
    explicit ControlSink(TControl* control) : control_(control) {}
    void Detach() { control_ = nullptr; }

    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    TControl* control_;
};

}  // namespace

bool ControlSink::eventFilter(QObject* watched, QEvent* event) {
    if (!control_) return false;
    bool consumed = false;
    SafeCall([&] { consumed = ControlAccess::WidgetEvent(control_, watched, event); });
    return consumed;
}

bool ControlSink::event(QEvent* event) {
    if (event->type() == kMessageEvent) {
        auto* message = static_cast<MessageEvent*>(event);
        if (auto* target = dynamic_cast<TWinControl*>(control_))
            SafeCall([&] { target->Perform(message->msg, message->w, message->l); });
        return true;
    }
    return QObject::event(event);
}

namespace widgets_internal {

TControl* ControlOf(const QWidget* w) {
    auto it = Registry().find(w);
    return it == Registry().end() ? nullptr : it->second;
}

// Both stop at the window the widget is in: a message box or a popup over a form is not
// part of the form.
TControl* NearestControl(const QWidget* w) {
    for (; w; w = w->parentWidget()) {
        if (TControl* c = ControlOf(w)) return c;
        if (w->isWindow()) break;
    }
    return nullptr;
}

TWinControl* NearestWinControl(const QWidget* w) {
    for (; w; w = w->parentWidget()) {
        if (auto* c = dynamic_cast<TWinControl*>(ControlOf(w))) return c;
        if (w->isWindow()) break;
    }
    return nullptr;
}

bool IsLive(const TControl* c) {
    return c && LiveControls().count(c) != 0;
}

void PostCall(std::function<void()> fn) {
    EnsureGlobalFilter();
    if (TheGlobalFilter())
        QCoreApplication::postEvent(TheGlobalFilter(), new CallEvent(std::move(fn)));
}

QString PlainToolTip(const std::string& text) {
    return Qt::convertFromPlainText(ToQString(text), Qt::WhiteSpacePre);
}

}  // namespace widgets_internal

QWidget* ControlAccess::Container(const TWinControl* control) {
    return control->Container();
}

QObject* ControlAccess::Sink(TControl* control) {
    return control->sink_.get();
}

void ControlAccess::SetDerivedAccessibleName(TControl* control, const std::string& caption) {
    if (!control->accessibleNameSet_ && control->widget_)
        control->widget_->setAccessibleName(ToQString(StripAccelChars(caption)));
}

bool ControlAccess::WidgetEvent(TControl* control, QObject* watched, QEvent* event) {
    return control->WidgetEvent(watched, event);
}

uint16_t VirtualKeyFromQtKey(int key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<uint16_t>('A' + (key - Qt::Key_A));
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<uint16_t>('0' + (key - Qt::Key_0));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return static_cast<uint16_t>(VK_F1 + (key - Qt::Key_F1));
    switch (key) {
        case Qt::Key_Backspace:
            return VK_BACK;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return VK_TAB;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return VK_RETURN;
        case Qt::Key_Shift:
            return VK_SHIFT;
        case Qt::Key_Control:
            return VK_CONTROL;
        case Qt::Key_Alt:
            return VK_MENU;
        case Qt::Key_Pause:
            return VK_PAUSE;
        case Qt::Key_CapsLock:
            return VK_CAPITAL;
        case Qt::Key_Escape:
            return VK_ESCAPE;
        case Qt::Key_Space:
            return VK_SPACE;
        case Qt::Key_PageUp:
            return VK_PRIOR;
        case Qt::Key_PageDown:
            return VK_NEXT;
        case Qt::Key_End:
            return VK_END;
        case Qt::Key_Home:
            return VK_HOME;
        case Qt::Key_Left:
            return VK_LEFT;
        case Qt::Key_Up:
            return VK_UP;
        case Qt::Key_Right:
            return VK_RIGHT;
        case Qt::Key_Down:
            return VK_DOWN;
        case Qt::Key_Insert:
            return VK_INSERT;
        case Qt::Key_Delete:
            return VK_DELETE;
        default:
            return 0;
    }
}

bool PostMessage(TWinControl* target, unsigned msg, WPARAM wParam, LPARAM lParam) {
    if (!target || !IsLive(target) || !QCoreApplication::instance()) return false;
    QCoreApplication::postEvent(ControlAccess::Sink(target), new MessageEvent(msg, wParam, lParam));
    return true;
}

std::string StripAccelChars(const std::string& caption) {
    std::string out;
    out.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') {
                out += '&';
                ++i;
            }
            continue;
        }
        out += caption[i];
    }
    return out;
}

// ---------------------------------------------------------------------------------------
// TControl

TControl::TControl(TComponent* owner, QWidget* widget)
    : TComponent(owner), widget_(widget), color_(clBtnFace) {
    EnsureGlobalFilter();
    Registry()[widget] = this;
    LiveControls().insert(this);
    sink_ = std::make_unique<ControlSink>(this);
    widget->installEventFilter(sink_.get());
    font_.SetChangeHandler([this] { ApplyFont(); });
}

TControl::~TControl() {
    if (parent_) {
        TWinControl* parent = parent_;
        parent->RemoveControl(this);
        parent_ = nullptr;
        if (!parent->destroying_) {
            parent->Realign();
            parent->ChildrenChanged();
        }
    }
    LiveControls().erase(this);
    static_cast<ControlSink*>(sink_.get())->Detach();
    QWidget* widget = widget_;
    widget_ = nullptr;
    Registry().erase(widget);
    delete widget;
}

QWidget* TControl::Widget() const {
    return widget_;
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    for (const TControl* p = parent; p; p = p->parent_)
        if (p == this) throw EInvalidOperation("A control cannot have itself or a child as parent");
    TWinControl* old = parent_;
    if (old) old->RemoveControl(this);
    parent_ = parent;
    if (parent) parent->AddControl(this);
    ReparentWidget(parent ? parent->Container() : nullptr);
    ApplyVisible();
    if (old && !old->destroying_) {
        old->Realign();
        old->ChildrenChanged();
    }
    if (parent) {
        parent->Realign();
        parent->ChildrenChanged();
    }
}

void TControl::ReparentWidget(QWidget* container) {
    if (!widget_) return;
    const QRect geometry = widget_->geometry();
    widget_->setParent(container);
    widget_->setGeometry(geometry);
}

void TControl::ApplyVisible() {
    if (!widget_) return;
    if (parent_)
        widget_->setVisible(visible_);
    else
        widget_->hide();
}

TForm* TControl::ParentForm() const {
    const TControl* top = this;
    while (top->parent_) top = top->parent_;
    return dynamic_cast<TForm*>(const_cast<TControl*>(top));
}

void TControl::SetLeft(int left) {
    SetBounds(left, Top(), Width(), Height());
}
void TControl::SetTop(int top) {
    SetBounds(Left(), top, Width(), Height());
}
void TControl::SetWidth(int width) {
    SetBounds(Left(), Top(), width, Height());
}
void TControl::SetHeight(int height) {
    SetBounds(Left(), Top(), Width(), height);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (!widget_) return;
    widget_->setGeometry(left, top, std::max(0, width), std::max(0, height));
    GeometryChanged();
    NotifyParent();
}

TRect TControl::BoundsRect() const {
    if (!widget_) return {};
    const QRect g = widget_->geometry();
    return {g.x(), g.y(), g.x() + g.width(), g.y() + g.height()};
}

TRect TControl::ClientRect() const {
    return {0, 0, Width(), Height()};
}

void TControl::SetClientWidth(int width) {
    SetWidth(width + Width() - ClientWidth());
}
void TControl::SetClientHeight(int height) {
    SetHeight(height + Height() - ClientHeight());
}

void TControl::SetAlignedGeometry(const TRect& rect) {
    if (!widget_) return;
    const QRect wanted(rect.Left, rect.Top, std::max(0, rect.Width()), std::max(0, rect.Height()));
    if (widget_->geometry() != wanted) widget_->setGeometry(wanted);
    GeometryChanged();
}

void TControl::NotifyParent() {
    if (!parent_ || parent_->destroying_) return;
    if (align_ != alNone) parent_->Realign();
    parent_->ChildrenChanged();
}

bool TControl::ParentDestroying() const {
    return parent_ && parent_->destroying_;
}

void TControl::SetAlign(TAlign align) {
    if (align == align_) return;
    align_ = align;
    if (parent_ && !parent_->destroying_) {
        parent_->Realign();
        parent_->ChildrenChanged();
    }
}

void TControl::SetVisible(bool visible) {
    visible_ = visible;
    ApplyVisible();
    if (parent_ && !parent_->destroying_) {
        if (align_ != alNone) parent_->Realign();
        parent_->ChildrenChanged();
    }
}

void TControl::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (widget_) widget_->setEnabled(enabled);
}

void TControl::SetColor(TColor color) {
    color_ = color;
    ApplyColor();
}

void TControl::ApplyColor() {
    if (!widget_) return;
    QPalette palette = widget_->palette();
    palette.setColor(QPalette::Window, ColorToQColor(color_));
    widget_->setPalette(palette);
    widget_->setAutoFillBackground(true);
}

void TControl::ApplyFont() {
    if (!widget_) return;
    QFont font = widget_->font();
    if (!font_.Name().empty()) font.setFamily(ToQString(font_.Name()));
    if (font_.Height() != 0) font.setPixelSize(std::abs(font_.Height()));
    font.setBold((font_.Style() & fsBold) != 0);
    font.setItalic((font_.Style() & fsItalic) != 0);
    font.setUnderline((font_.Style() & fsUnderline) != 0);
    font.setStrikeOut((font_.Style() & fsStrikeOut) != 0);
    widget_->setFont(font);
    if (font_.ColorSet()) {
        QPalette palette = widget_->palette();
        const QColor color = ColorToQColor(font_.Color());
        palette.setColor(QPalette::WindowText, color);
        palette.setColor(QPalette::Text, color);
        palette.setColor(QPalette::ButtonText, color);
        widget_->setPalette(palette);
    }
}

void TControl::SetHint(const std::string& hint) {
    hint_ = hint;
    ShowToolTip(true);
}

void TControl::SetShowHint(bool show) {
    showHint_ = show;
    ShowToolTip(true);
}

void TControl::ShowToolTip(bool atCursor) {
    if (!widget_ || !atCursor || !QToolTip::isVisible() || !widget_->underMouse()) return;
    if (showHint_ && !hint_.empty())
        QToolTip::showText(QCursor::pos(), PlainToolTip(hint_), widget_);
    else
        QToolTip::hideText();
}

bool TControl::WidgetEvent(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (showHint_ && !hint_.empty())
            QToolTip::showText(help->globalPos(), PlainToolTip(hint_),
                               static_cast<QWidget*>(watched));
        else
            QToolTip::hideText();
        return true;
    }
    return false;
}

void TControl::WatchWidget(QWidget* widget) {
    if (widget) widget->installEventFilter(sink_.get());
}

std::string TControl::AccessibleName() const {
    return widget_ ? FromQString(widget_->accessibleName()) : std::string();
}

void TControl::SetAccessibleName(const std::string& name) {
    accessibleNameSet_ = true;
    if (widget_) widget_->setAccessibleName(ToQString(name));
}

void TControl::CaptionChanged(const std::string& caption) {
    if (accessibleNameSet_ || !widget_ || caption.empty()) return;
    widget_->setAccessibleName(ToQString(StripAccelChars(caption)));
}

void TControl::BringToFront() {
    if (widget_) widget_->raise();
}

void TControl::SendToBack() {
    if (widget_) widget_->lower();
}

// ---------------------------------------------------------------------------------------
// TWinControl

TWinControl::TWinControl(TComponent* owner, QWidget* widget, QWidget* container)
    : TControl(owner, widget), container_(container ? container : widget) {
    if (container && container != widget) {
        Registry()[container] = this;
        WatchWidget(container);
    }
    const Qt::FocusPolicy policy = widget->focusPolicy();
    tabStop_ = (policy & Qt::TabFocus) != 0;
    focusPolicyWithTab_ = tabStop_ ? policy : Qt::StrongFocus;
    focusPolicyWithoutTab_ = (policy & Qt::ClickFocus) ? Qt::ClickFocus : Qt::NoFocus;
}

TWinControl::~TWinControl() {
    destroying_ = true;
    BeginDestroy();
    while (!controls_.empty()) {
        TControl* child = controls_.back();
        delete child;
        if (!controls_.empty() && controls_.back() == child) controls_.pop_back();
    }
    if (container_ && container_ != Widget()) Registry().erase(container_.data());
}

QWidget* TWinControl::Container() const {
    return container_;
}

TControl* TWinControl::Controls(int index) const {
    if (index < 0 || index >= ControlCount())
        throw EInvalidOperation("Control index out of bounds (" + std::to_string(index) + ")");
    return controls_[static_cast<std::size_t>(index)];
}

void TWinControl::AddControl(TControl* control) {
    controls_.push_back(control);
    if (auto* win = dynamic_cast<TWinControl*>(control)) tabList_.push_back(win);
}

void TWinControl::RemoveControl(TControl* control) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), control), tabList_.end());
}

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->Parent()) {
        if (dynamic_cast<const TForm*>(c) && !c->Parent()) break;  // the window itself
        if (!c->Visible() || !c->Enabled()) return false;
    }
    return Widget() != nullptr;
}

bool TWinControl::Focused() const {
    return NearestWinControl(QApplication::focusWidget()) == this;
}

void TWinControl::SetFocus() {
    if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
    Widget()->setFocus(Qt::OtherFocusReason);
}

void TWinControl::SetTabStop(bool tabStop) {
    tabStop_ = tabStop;
    ApplyTabStop();
}

void TWinControl::ApplyTabStop() {
    if (Widget())
        Widget()->setFocusPolicy(
            static_cast<Qt::FocusPolicy>(tabStop_ ? focusPolicyWithTab_ : focusPolicyWithoutTab_));
}

int TWinControl::TabOrder() const {
    if (!Parent()) return -1;
    const auto& list = Parent()->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
    if (!Parent()) return;
    auto& list = Parent()->tabList_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    order = std::clamp(order, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + order, this);
    Parent()->ChainTabOrder();
}

void TWinControl::ChainTabOrder() {
    for (std::size_t i = 1; i < tabList_.size(); ++i)
        QWidget::setTabOrder(tabList_[i - 1]->Widget(), tabList_[i]->Widget());
}

void TWinControl::Perform(unsigned msg, WPARAM wParam, LPARAM lParam) {
    if (onMessage_) {
        TMessageHandler handler = onMessage_;
        if (handler(msg, wParam, lParam)) return;
    }
    DefaultHandler(msg, wParam, lParam);
}

void TWinControl::DefaultHandler(unsigned msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_NEXTDLGCTL:
            if (TForm* form = ParentForm()) ControlAccess::NextDlgCtl(form, wParam, lParam);
            break;
        case WM_CLOSE:
            if (auto* form = dynamic_cast<TForm*>(this)) form->Close();
            break;
        default:
            break;
    }
}

TRect TWinControl::AlignRect() const {
    if (!container_) return {};
    const QRect r = container_->contentsRect();
    return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
}

void TWinControl::Realign() {
    if (destroying_ || aligning_ || !container_) return;
    aligning_ = true;
    TRect r = AlignRect();
    for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
        for (TControl* c : controls_) {
            if (c->Align() != align || !c->Visible()) continue;
            switch (align) {
                case alTop: {
                    const int h = c->Height();
                    c->SetAlignedGeometry({r.Left, r.Top, r.Right, r.Top + h});
                    r.Top += h;
                    break;
                }
                case alBottom: {
                    const int h = c->Height();
                    c->SetAlignedGeometry({r.Left, r.Bottom - h, r.Right, r.Bottom});
                    r.Bottom -= h;
                    break;
                }
                case alLeft: {
                    const int w = c->Width();
                    c->SetAlignedGeometry({r.Left, r.Top, r.Left + w, r.Bottom});
                    r.Left += w;
                    break;
                }
                case alRight: {
                    const int w = c->Width();
                    c->SetAlignedGeometry({r.Right - w, r.Top, r.Right, r.Bottom});
                    r.Right -= w;
                    break;
                }
                case alClient:
                    c->SetAlignedGeometry(r);
                    break;
                case alNone:
                    break;
            }
        }
    }
    aligning_ = false;
}

void TWinControl::GeometryChanged() {
    Realign();
}

bool TWinControl::WidgetEvent(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize) {
        if (watched == Widget())
            GeometryChanged();
        else if (watched == container_)
            Realign();
    }
    return TControl::WidgetEvent(watched, event);
}
