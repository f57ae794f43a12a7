#pragma once
// TMainMenu and TMenuItem: the menu bar of a form.
//
//   auto* menu = new TMainMenu(form);
//   auto* view = new TMenuItem(form);  view->SetCaption("Device Information");
//   auto* disk = new TMenuItem(form);  disk->SetCaption("Disk Information Table");
//   disk->SetOnClick([](TObject*) { ... });
//   view->Add(disk);
//   menu->Items()->Add(view);          // a top-level item with sub-items: a drop-down menu
//   form->SetMenu(menu);
//
// A top-level item without sub-items is a command on the menu bar itself. The caption "-"
// makes a separator. Items may be added, hidden or disabled at any time.
#include <memory>
#include <string>
#include <vector>

#include <QPointer>

#include "platform/widgets/Classes.h"

class QAction;
class QMenu;
class QMenuBar;
class QWidget;
class TForm;
class TMainMenu;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);
    // Destroys the sub-items and leaves the parent item.
    ~TMenuItem() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool IsLine() const { return caption_ == "-"; }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);

    const TNotifyEvent& OnClick() const { return onClick_; }
    void SetOnClick(TNotifyEvent handler) { onClick_ = std::move(handler); }
    // Runs OnClick as a choice of the item does (exceptions propagate).
    void Click();

    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const;
    TMenuItem* Parent() const { return parent_; }
    int IndexOf(const TMenuItem* item) const;
    // The item's position in its parent, -1 without parent.
    int MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    // Takes the item out (it is not destroyed).
    void Remove(TMenuItem* item);

    // The Qt action of the item (for tests: trigger() chooses the item).
    QAction* Action() const { return action_.get(); }

private:
    friend class TMainMenu;
    // The widget that shows the sub-items: the menu bar for the root of a main menu, the
    // item's drop-down menu otherwise.
    QWidget* ChildContainer();
    void AttachChildren();
    void UpdateAction();

    std::string caption_;
    bool visible_ = true;
    bool enabled_ = true;
    bool checked_ = false;
    TNotifyEvent onClick_;
    std::unique_ptr<QAction> action_;
    std::unique_ptr<QMenu> submenu_;
    TMenuItem* parent_ = nullptr;
    std::vector<TMenuItem*> items_;
    TMainMenu* rootOf_ = nullptr;
};

class TMainMenu : public TComponent {
public:
    explicit TMainMenu(TComponent* owner);
    ~TMainMenu() override;

    // The invisible root item whose sub-items are the items of the menu bar.
    TMenuItem* Items() const { return root_.get(); }
    // The form showing the menu, or null.
    TForm* Form() const { return form_; }

private:
    friend class TForm;
    friend class TMenuItem;
    void AttachToForm(TForm* form, QMenuBar* bar);
    void DetachFromForm();

    std::unique_ptr<TMenuItem> root_;
    TForm* form_ = nullptr;
    QPointer<QMenuBar> bar_;
};
