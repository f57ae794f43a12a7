#include "platform/widgets/Forms.h"

#include <algorithm>

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QWidget>

#include "platform/Strings.h"
#include "platform/widgets/Application.h"
#include "platform/widgets/Menus.h"
#include "platform/widgets/WidgetsInternal.h"

using namespace widgets_internal;

namespace widgets_internal {

// The window of a form: routes the close box to TForm::Close and lays out menu bar and
// client area.
class FormWidget : public QWidget {
public:
    explicit FormWidget(TForm* form) : form_(form) {}
    void Attach(TForm* form) { form_ = form; }
    void Detach() { form_ = nullptr; }
    bool MoveFocus(bool next) { return focusNextPrevChild(next); }
    QMenuBar* menuBar = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        if (form_) {
            TForm* form = form_;
            SafeCall([form] { form->SystemClose(); });
        }
    }
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        if (form_) form_->LayoutForm();
    }

private:
    TForm* form_;
};

}  // namespace widgets_internal

TWinControl*& ControlAccess::TrackedActive(TForm* form) {
    return form->activeControl_;
}

void ControlAccess::NextDlgCtl(TForm* form, uintptr_t wParam, intptr_t lParam) {
    if (lParam != 0) {
        auto* target = reinterpret_cast<TWinControl*>(wParam);
        if (IsLive(target) && target->ParentForm() == form && target->CanFocus())
            target->SetFocus();
        return;
    }
    form->SelectNext(wParam == 0);
}

// ---------------------------------------------------------------------------------------
// TForm

TForm::Parts TForm::MakeParts() {
    auto* window = new widgets_internal::FormWidget(nullptr);
    auto* client = new QWidget(window);
    client->show();
    return {window, client};
}

TForm::TForm(TComponent* owner) : TForm(owner, MakeParts()) {}

TForm::TForm(TComponent* owner, const Parts& parts)
    : TWinControl(owner, parts.window, parts.client), form_(parts.window), client_(parts.client) {
    form_->Attach(this);
    visible_ = false;
    ApplyWindowFlags();
    ResizeWindow(320, 240);
}

TForm::~TForm() {
    if (destroyedFlag_) *destroyedFlag_ = true;
    if (modalLoop_) modalLoop_->exit(0);
    if (menu_) menu_->form_ = nullptr;
    if (form_) form_->Detach();
    if (Application && Application->mainForm_ == this) Application->mainForm_ = nullptr;
}

bool TForm::IsWindow() const {
    return Parent() == nullptr;
}

void TForm::SetCaption(const std::string& caption) {
    caption_ = caption;
    form_->setWindowTitle(ToQString(caption));
}

void TForm::SetBorderStyle(TFormBorderStyle style) {
    borderStyle_ = style;
    ApplyWindowFlags();
    ResizeWindow(form_->width(), form_->height());
}

void TForm::SetBorderIcons(unsigned icons) {
    borderIcons_ = icons;
    ApplyWindowFlags();
}

void TForm::ApplyWindowFlags() {
    if (!IsWindow()) return;
    Qt::WindowFlags flags = Qt::Window;
    switch (borderStyle_) {
        case bsNone:
            flags |= Qt::FramelessWindowHint;
            break;
        case bsDialog:
            flags = Qt::Dialog;
            break;
        case bsToolWindow:
        case bsSizeToolWin:
            flags = Qt::Tool;
            break;
        default:
            break;
    }
    if (borderStyle_ != bsNone) {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (borderIcons_ & biSystemMenu)
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        const bool normal = borderStyle_ == bsSingle || borderStyle_ == bsSizeable;
        if (normal && (borderIcons_ & biMinimize)) flags |= Qt::WindowMinimizeButtonHint;
        if (normal && (borderIcons_ & biMaximize) && borderStyle_ == bsSizeable)
            flags |= Qt::WindowMaximizeButtonHint;
        if (borderIcons_ & biHelp) flags |= Qt::WindowContextHelpButtonHint;
    }
    const bool shown = form_->isVisible();
    form_->setWindowFlags(flags);
    if (shown) form_->show();
}

void TForm::ResizeWindow(int width, int height) {
    width = std::max(0, width);
    height = std::max(0, height);
    const bool fixed = IsWindow() && borderStyle_ != bsSizeable && borderStyle_ != bsSizeToolWin;
    form_->setMinimumSize(0, 0);
    form_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    form_->resize(width, height);
    if (fixed) form_->setFixedSize(width, height);
    LayoutForm();
}

int TForm::MenuBarHeight() const {
    QMenuBar* bar = form_->menuBar;
    if (!bar || bar->isHidden()) return 0;
    const int h = bar->heightForWidth(form_->width());
    return h > 0 ? h : bar->sizeHint().height();
}

void TForm::LayoutForm() {
    const int mb = MenuBarHeight();
    if (form_->menuBar && mb > 0) form_->menuBar->setGeometry(0, 0, form_->width(), mb);
    const QRect wanted(0, mb, form_->width(), std::max(0, form_->height() - mb));
    if (client_->geometry() != wanted) client_->setGeometry(wanted);
    Realign();
}

TRect TForm::BoundsRect() const {
    if (!IsWindow()) return TWinControl::BoundsRect();
    const QRect frame = form_->frameGeometry();
    return {frame.x(), frame.y(), frame.x() + frame.width(), frame.y() + frame.height()};
}

void TForm::SetBounds(int left, int top, int width, int height) {
    if (!IsWindow()) {
        TWinControl::SetBounds(left, top, width, height);
        LayoutForm();
        return;
    }
    const QRect frame = form_->frameGeometry();
    const int extraW = frame.width() - form_->width();
    const int extraH = frame.height() - form_->height();
    form_->move(left, top);
    ResizeWindow(width - extraW, height - extraH);
}

TRect TForm::ClientRect() const {
    return {0, 0, client_->width(), client_->height()};
}

void TForm::SetClientWidth(int width) {
    ResizeWindow(width, form_->height());
}

void TForm::SetClientHeight(int height) {
    ResizeWindow(form_->width(), height + MenuBarHeight());
}

TRect TForm::AlignRect() const {
    return ClientRect();
}

void TForm::GeometryChanged() {
    LayoutForm();
}

void TForm::ReparentWidget(QWidget* container) {
    const QRect geometry = form_->geometry();
    if (container) {
        form_->setParent(container, Qt::Widget);
        form_->setGeometry(geometry);
    } else {
        form_->setParent(nullptr, Qt::Window);
        ApplyWindowFlags();
        form_->resize(geometry.size());
    }
    LayoutForm();
}

void TForm::ApplyVisible() {
    if (!IsWindow()) {
        TWinControl::ApplyVisible();
        return;
    }
    if (visible_ && !form_->isVisible())
        ShowWindow();
    else if (!visible_ && form_->isVisible())
        HideWindow();
}

bool TForm::Visible() const {
    return visible_;
}

void TForm::SetVisible(bool visible) {
    if (!IsWindow()) {
        const bool showing = visible && !visible_;
        TWinControl::SetVisible(visible);
        if (showing && onShow_) {
            TNotifyEvent handler = onShow_;
            SafeCall([&] { handler(this); });
        }
        return;
    }
    visible_ = visible;
    ApplyVisible();
}

void TForm::ApplyPosition() {
    QRect target;
    TForm* reference = nullptr;
    switch (position_) {
        case poScreenCenter:
        case poDesktopCenter:
            break;
        case poOwnerFormCenter:
            reference = dynamic_cast<TForm*>(Owner());
            [[fallthrough]];
        case poMainFormCenter:
            if (!reference || !reference->Visible())
                reference = Application ? Application->MainForm() : nullptr;
            if (reference == this || (reference && !reference->Visible())) reference = nullptr;
            break;
        default:
            return;
    }
    if (reference) {
        target = reference->form_->window()->frameGeometry();
    } else {
        QScreen* screen = form_->screen() ? form_->screen() : QGuiApplication::primaryScreen();
        if (!screen) return;
        target = screen->availableGeometry();
    }
    const QRect frame = form_->frameGeometry();
    form_->move(target.x() + (target.width() - frame.width()) / 2,
                target.y() + (target.height() - frame.height()) / 2);
}

void TForm::ShowWindow() {
    ApplyPosition();
    if (onShow_) {
        TNotifyEvent handler = onShow_;
        SafeCall([&] { handler(this); });
    }
    form_->show();
    // The offscreen platform of headless runs has no stacking order (and says so).
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) form_->raise();
    form_->activateWindow();
    LayoutForm();
}

void TForm::HideWindow() {
    form_->hide();
    SetActiveState(false);
}

void TForm::SetActiveState(bool active) {
    if (active == active_) return;
    active_ = active;
    TNotifyEvent handler = active ? onActivate_ : onDeactivate_;
    if (handler) SafeCall([&] { handler(this); });
}

bool TForm::WidgetEvent(QObject* watched, QEvent* event) {
    if (watched == form_ && IsWindow()) {
        if (event->type() == QEvent::WindowActivate && visible_) SetActiveState(true);
        if (event->type() == QEvent::WindowDeactivate) SetActiveState(false);
    }
    return TWinControl::WidgetEvent(watched, event);
}

TMainMenu* TForm::Menu() const {
    return menu_;
}

void TForm::SetMenu(TMainMenu* menu) {
    if (menu == menu_) return;
    if (menu_) menu_->DetachFromForm();
    menu_ = menu;
    if (menu) {
        if (menu->form_ && menu->form_ != this) menu->form_->SetMenu(nullptr);
        if (!form_->menuBar) form_->menuBar = new QMenuBar(form_);
        menu->AttachToForm(this, form_->menuBar);
        form_->menuBar->show();
    } else if (form_->menuBar) {
        form_->menuBar->hide();
    }
    // Keep the client area: the window grows or shrinks by the menu bar.
    const int clientHeight = client_->height();
    ResizeWindow(form_->width(), clientHeight + MenuBarHeight());
}

TWinControl* TForm::ActiveControl() const {
    return IsLive(activeControl_) ? activeControl_ : nullptr;
}

void TForm::SetActiveControl(TWinControl* control) {
    if (!control) {
        activeControl_ = nullptr;
        return;
    }
    if (control->ParentForm() != this)
        throw EInvalidOperation("The active control must be a control of the form");
    control->SetFocus();
}

void TForm::SelectNext(bool forward) {
    TForm* top = ParentForm();
    if (top && top != this) {
        top->SelectNext(forward);
        return;
    }
    form_->MoveFocus(forward);
}

void TForm::SetModalResult(TModalResult result) {
    modalResult_ = result;
    if (modalLoop_ && result != mrNone) modalLoop_->exit(0);
}

bool TForm::CloseQuery() {
    bool canClose = true;
    if (onCloseQuery_) {
        TCloseQueryEvent handler = onCloseQuery_;
        handler(this, canClose);
    }
    return canClose;
}

void TForm::Close() {
    if (modal_) {
        SetModalResult(mrCancel);
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    if (onClose_) {
        TCloseEvent handler = onClose_;
        handler(this, action);
    }
    if (action == caNone) return;
    if (Application && Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    switch (action) {
        case caHide:
            SetVisible(false);
            break;
        case caMinimize:
            form_->showMinimized();
            break;
        case caFree:
            Release();
            break;
        case caNone:
            break;
    }
}

void TForm::SystemClose() {
    Close();
}

void TForm::CloseModal() {
    try {
        TCloseAction action = caNone;
        if (CloseQuery()) {
            action = caHide;
            if (onClose_) {
                TCloseEvent handler = onClose_;
                handler(this, action);
            }
        }
        if (action == caNone) modalResult_ = mrNone;
    } catch (const std::exception& e) {
        modalResult_ = mrNone;
        ReportException(&e);
    } catch (...) {
        modalResult_ = mrNone;
        ReportException(nullptr);
    }
}

void TForm::Release() {
    TForm* self = this;
    PostCall([self] {
        if (IsLive(self)) delete self;
    });
}

void TForm::DoCreate() {
    if (created_) return;
    created_ = true;
    if (onCreate_) {
        TNotifyEvent handler = onCreate_;
        SafeCall([&] { handler(this); });
    }
}

TModalResult TForm::ShowModal() {
    if (!IsWindow() || Visible() || !Enabled() || modal_)
        throw EInvalidOperation("Cannot make a visible window modal");
    QPointer<QWidget> previous = QApplication::activeWindow();
    bool destroyed = false;
    destroyedFlag_ = &destroyed;
    modal_ = true;
    modalResult_ = mrNone;
    form_->setWindowModality(Qt::ApplicationModal);
    visible_ = true;
    ShowWindow();
    SetActiveState(true);

    QEventLoop loop;
    modalLoop_ = &loop;
    TApplication* app = Application;
    if (app) app->loops_.push_back(&loop);
    for (;;) {
        if (destroyed) break;
        if (app && Application == app && app->Terminated()) {
            modalResult_ = mrCancel;
            break;
        }
        if (modalResult_ != mrNone) {
            CloseModal();
            if (destroyed || modalResult_ != mrNone) break;
        }
        loop.exec();
    }
    if (app && Application == app) {
        auto& loops = app->loops_;
        loops.erase(std::remove(loops.begin(), loops.end(), &loop), loops.end());
    }
    if (destroyed) return mrCancel;
    destroyedFlag_ = nullptr;
    modalLoop_ = nullptr;
    modal_ = false;
    visible_ = false;
    HideWindow();
    form_->setWindowModality(Qt::NonModal);
    if (previous && previous->isVisible()) previous->activateWindow();
    return modalResult_;
}

// ---------------------------------------------------------------------------------------
// TScrollBox

int TControlScrollBar::Position() const {
    return bar_->value();
}
void TControlScrollBar::SetPosition(int position) {
    bar_->setValue(position);
}
int TControlScrollBar::Range() const {
    return bar_->maximum();
}

TScrollBox::TScrollBox(TComponent* owner) : TScrollBox(owner, new QScrollArea) {}

TScrollBox::TScrollBox(TComponent* owner, QScrollArea* area)
    : TWinControl(owner, area, new QWidget),
      area_(area),
      vert_(area->verticalScrollBar()),
      horz_(area->horizontalScrollBar()) {
    area_->setWidgetResizable(false);
    area_->setWidget(Container());
    Container()->show();
    WatchWidget(area_->viewport());
    SetBounds(0, 0, 185, 41);
}

TScrollBox::~TScrollBox() = default;

void TScrollBox::SetAutoScroll(bool autoScroll) {
    autoScroll_ = autoScroll;
    const Qt::ScrollBarPolicy policy = autoScroll ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
    area_->setVerticalScrollBarPolicy(policy);
    area_->setHorizontalScrollBarPolicy(policy);
    Realign();
    UpdateExtent();
}

void TScrollBox::SetBorderStyle(TFormBorderStyle style) {
    if (style != bsNone && style != bsSingle)
        throw ENotSupported("A scroll box has no border style but bsNone and bsSingle");
    borderStyle_ = style;
    area_->setFrameShape(style == bsNone ? QFrame::NoFrame : QFrame::StyledPanel);
    Realign();
    UpdateExtent();
}

TRect TScrollBox::AlignRect() const {
    QSize size = area_->maximumViewportSize();
    if (autoScroll_) {
        int right = 0;
        int bottom = 0;
        for (int i = 0; i < ControlCount(); ++i) {
            TControl* c = Controls(i);
            if (!c->Visible() || c->Align() != alNone) continue;
            right = std::max(right, c->Left() + c->Width());
            bottom = std::max(bottom, c->Top() + c->Height());
        }
        const int vbar = area_->verticalScrollBar()->sizeHint().width();
        const int hbar = area_->horizontalScrollBar()->sizeHint().height();
        bool needV = bottom > size.height();
        const bool needH = right > size.width() - (needV ? vbar : 0);
        if (needH && !needV) needV = bottom > size.height() - hbar;
        if (needV) size.rwidth() -= vbar;
        if (needH) size.rheight() -= hbar;
    }
    return {0, 0, std::max(0, size.width()), std::max(0, size.height())};
}

TRect TScrollBox::ClientRect() const {
    return AlignRect();
}

void TScrollBox::UpdateExtent() {
    if (updating_) return;
    updating_ = true;
    const TRect view = AlignRect();
    int width = view.Width();
    int height = view.Height();
    if (autoScroll_) {
        for (int i = 0; i < ControlCount(); ++i) {
            TControl* c = Controls(i);
            if (!c->Visible() || c->Align() != alNone) continue;
            width = std::max(width, c->Left() + c->Width());
            height = std::max(height, c->Top() + c->Height());
        }
    }
    if (Container()->size() != QSize(width, height)) Container()->resize(width, height);
    updating_ = false;
}

void TScrollBox::ChildrenChanged() {
    UpdateExtent();
}

void TScrollBox::GeometryChanged() {
    UpdateExtent();
    Realign();
}

bool TScrollBox::WidgetEvent(QObject* watched, QEvent* event) {
    if (watched == area_->viewport() && event->type() == QEvent::Resize) {
        UpdateExtent();
        Realign();
    }
    return TWinControl::WidgetEvent(watched, event);
}
