#include "platform/widgets/Menus.h"

#include <algorithm>

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "platform/Strings.h"
#include "platform/widgets/Forms.h"
#include "platform/widgets/WidgetsInternal.h"

using namespace widgets_internal;

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), action_(std::make_unique<QAction>()) {
    QObject::connect(action_.get(), &QAction::triggered, [this] { SafeCall([this] { Click(); }); });
}

TMenuItem::~TMenuItem() {
    while (!items_.empty()) {
        TMenuItem* last = items_.back();
        delete last;
        if (!items_.empty() && items_.back() == last) items_.pop_back();
    }
    if (parent_) parent_->Remove(this);
}

void TMenuItem::SetCaption(const std::string& caption) {
    caption_ = caption;
    UpdateAction();
}

void TMenuItem::SetVisible(bool visible) {
    visible_ = visible;
    UpdateAction();
}

void TMenuItem::SetEnabled(bool enabled) {
    enabled_ = enabled;
    UpdateAction();
}

void TMenuItem::SetChecked(bool checked) {
    checked_ = checked;
    UpdateAction();
}

void TMenuItem::UpdateAction() {
    action_->setSeparator(IsLine());
    // A separator keeps "-" as its caption but draws no text beside its line.
    action_->setText(IsLine() ? QString() : ToQString(caption_));
    if (submenu_) submenu_->setTitle(ToQString(caption_));
    action_->setVisible(visible_);
    action_->setEnabled(enabled_);
    action_->setCheckable(checked_ || action_->isCheckable());
    action_->setChecked(checked_);
}

void TMenuItem::Click() {
    if (onClick_) {
        TNotifyEvent handler = onClick_;
        handler(this);
    }
}

TMenuItem* TMenuItem::Items(int index) const {
    if (index < 0 || index >= Count())
        throw Exception("Menu index out of range (" + std::to_string(index) + ")");
    return items_[static_cast<std::size_t>(index)];
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

QWidget* TMenuItem::ChildContainer() {
    if (rootOf_) return rootOf_->bar_.data();
    if (!submenu_) {
        submenu_ = std::make_unique<QMenu>();
        submenu_->setTitle(ToQString(caption_));
        action_->setMenu(submenu_.get());
    }
    return submenu_.get();
}

void TMenuItem::Add(TMenuItem* item) {
    Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item) return;
    for (const TMenuItem* p = this; p; p = p->parent_)
        if (p == item) throw Exception("A menu item cannot be inserted into itself");
    if (item->parent_) item->parent_->Remove(item);
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    if (QWidget* container = ChildContainer()) {
        QAction* before =
            index + 1 < Count() ? items_[static_cast<std::size_t>(index) + 1]->Action() : nullptr;
        container->insertAction(before, item->Action());
    }
}

void TMenuItem::Remove(TMenuItem* item) {
    const int index = IndexOf(item);
    if (index < 0) return;
    QWidget* container = rootOf_ ? static_cast<QWidget*>(rootOf_->bar_.data())
                                 : static_cast<QWidget*>(submenu_.get());
    if (container) container->removeAction(item->Action());
    items_.erase(items_.begin() + index);
    item->parent_ = nullptr;
}

void TMenuItem::AttachChildren() {
    QWidget* container = ChildContainer();
    if (!container) return;
    for (TMenuItem* item : items_) container->addAction(item->Action());
}

TMainMenu::TMainMenu(TComponent* owner)
    : TComponent(owner), root_(std::make_unique<TMenuItem>(nullptr)) {
    root_->rootOf_ = this;
}

TMainMenu::~TMainMenu() {
    if (form_ && IsLive(form_) && form_->menu_ == this) form_->SetMenu(nullptr);
    DetachFromForm();
    root_.reset();
}

void TMainMenu::AttachToForm(TForm* form, QMenuBar* bar) {
    DetachFromForm();
    form_ = form;
    bar_ = bar;
    bar->clear();
    root_->AttachChildren();
}

void TMainMenu::DetachFromForm() {
    if (bar_)
        for (int i = 0; i < root_->Count(); ++i) bar_->removeAction(root_->Items(i)->Action());
    form_ = nullptr;
    bar_ = nullptr;
}
