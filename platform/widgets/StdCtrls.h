#pragma once
// Standard controls: TLabel, TStaticText, TEdit, TComboBox, TCheckBox, TMemo.
//
// All texts are byte strings; they reach Qt through platform/Strings.h and come back
// unchanged, bytes that are not UTF-8 included. Texts are always shown as plain text.
//
// When handlers run (as the toolkit runs them):
//  - TEdit::OnChange: whenever Text changes, typed or set by the program (SetText with the
//    same text changes nothing and runs nothing).
//  - TComboBox::OnChange: when the user picks another item or edits the text; not when the
//    program sets ItemIndex, Text or Items.
//  - TCheckBox::OnClick: whenever Checked changes, clicked or set by the program.
#include <memory>
#include <string>

#include "platform/widgets/Controls.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QCheckBox;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TStaticBorderStyle { sbsNone, sbsSingle, sbsSunken };
enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// A text without a window of its own (it never takes the focus).
class TLabel : public TControl {
public:
    // Auto-sized, left-justified, empty caption.
    explicit TLabel(TComponent* owner);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    // On: the label takes the size of its text whenever caption or font change.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wordWrap);
    // The control the label names: its accelerator focuses it, and its accessible name
    // is the label's caption (unless it was given a name of its own).
    TWinControl* FocusControl() const;
    void SetFocusControl(TWinControl* control);

protected:
    void ApplyFont() override;

private:
    void AdjustSize();
    QLabel* label_;
    std::string caption_;
    bool autoSize_ = true;
    TAlignment alignment_ = taLeftJustify;
    bool wordWrap_ = false;
    TWinControl* focusControl_ = nullptr;
};

// A text in a window of its own, with an optional border.
class TStaticText : public TWinControl {
public:
    // Auto-sized, left-justified, no border, not a tab stop.
    explicit TStaticText(TComponent* owner);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    TStaticBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TStaticBorderStyle style);
    TWinControl* FocusControl() const;
    void SetFocusControl(TWinControl* control);

protected:
    void ApplyFont() override;

private:
    void AdjustSize();
    QLabel* label_;
    std::string caption_;
    bool autoSize_ = true;
    TAlignment alignment_ = taLeftJustify;
    TStaticBorderStyle borderStyle_ = sbsNone;
    TWinControl* focusControl_ = nullptr;
};

// A one-line edit box.
class TEdit : public TWinControl {
public:
    // 121 x 21, empty, a tab stop, background clWindow.
    explicit TEdit(TComponent* owner);
    ~TEdit() override;

    std::string Text() const;
    void SetText(const std::string& text);
    void Clear() { SetText(std::string()); }
    // The longest text (in bytes) the user can type; 0 = no limit. Text set by the program
    // is never cut.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int maxLength);
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);
    // The selection, in bytes of Text.
    int SelStart() const;
    void SetSelStart(int start);
    int SelLength() const;
    void SetSelLength(int length);
    std::string SelText() const;
    void SelectAll();

    const TNotifyEvent& OnChange() const { return onChange_; }
    void SetOnChange(TNotifyEvent handler) { onChange_ = std::move(handler); }

protected:
    void ApplyColor() override;

private:
    class LengthValidator;
    QLineEdit* edit_;
    LengthValidator* validator_;
    int maxLength_ = 0;
    TNotifyEvent onChange_;
};

// A drop-down combo box.
class TComboBox : public TWinControl {
public:
    // 145 x 21, style csDropDown, no items, ItemIndex -1.
    explicit TComboBox(TComponent* owner);
    ~TComboBox() override;

    // csDropDown: editable text with a list; csDropDownList: the text is always one of the
    // items. csSimple raises ENotSupported.
    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle style);
    TStrings& Items();
    // The selected item, -1 for none; an index outside the items selects none.
    int ItemIndex() const;
    void SetItemIndex(int index);
    // csDropDown: the edit text. csDropDownList: the selected item's text ("" for none);
    // setting it selects the item with that text when there is one.
    std::string Text() const;
    void SetText(const std::string& text);

    const TNotifyEvent& OnChange() const { return onChange_; }
    void SetOnChange(TNotifyEvent handler) { onChange_ = std::move(handler); }

protected:
    void ApplyColor() override;

private:
    void ConnectEditor();
    void FireChange();
    QComboBox* combo_;
    std::unique_ptr<TStrings> items_;
    TComboBoxStyle style_ = csDropDown;
    int programmatic_ = 0;
    TNotifyEvent onChange_;
};

class TCheckBox : public TWinControl {
public:
    // 97 x 17, unchecked, a tab stop.
    explicit TCheckBox(TComponent* owner);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool Checked() const;
    // Works on disabled boxes too.
    void SetChecked(bool checked);

    const TNotifyEvent& OnClick() const { return onClick_; }
    void SetOnClick(TNotifyEvent handler) { onClick_ = std::move(handler); }

private:
    QCheckBox* check_;
    std::string caption_;
    TNotifyEvent onClick_;
};

// A multi-line edit box.
class TMemo : public TWinControl {
public:
    // 185 x 89, word wrap on, no scroll bars.
    explicit TMemo(TComponent* owner);
    ~TMemo() override;

    TStrings& Lines();
    // The whole text; lines are separated by "\n".
    std::string Text() const;
    void SetText(const std::string& text);
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wordWrap);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle style);

    const TNotifyEvent& OnChange() const { return onChange_; }
    void SetOnChange(TNotifyEvent handler) { onChange_ = std::move(handler); }

    bool WantsReturn() const override { return true; }

protected:
    void ApplyColor() override;

private:
    QPlainTextEdit* memo_;
    std::unique_ptr<TStrings> lines_;
    bool wordWrap_ = true;
    TScrollStyle scrollBars_ = ssNone;
    TNotifyEvent onChange_;
};
