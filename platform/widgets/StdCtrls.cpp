#include "platform/widgets/StdCtrls.h"

#include <limits>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QValidator>

#include "platform/Strings.h"
#include "platform/widgets/WidgetsInternal.h"

using namespace widgets_internal;

namespace {

Qt::Alignment ToQtAlignment(TAlignment alignment, Qt::Alignment vertical) {
    switch (alignment) {
        case taRightJustify:
            return Qt::AlignRight | vertical;
        case taCenter:
            return Qt::AlignHCenter | vertical;
        case taLeftJustify:
            break;
    }
    return Qt::AlignLeft | vertical;
}

void RunHandler(const TNotifyEvent& stored, TObject* sender) {
    if (!stored) return;
    TNotifyEvent handler = stored;
    SafeCall([&] { handler(sender); });
}

void SetBaseColor(QWidget* widget, TColor color) {
    QPalette palette = widget->palette();
    const QColor c = ColorToQColor(color);
    palette.setColor(QPalette::Base, c);
    palette.setColor(QPalette::Window, c);
    palette.setColor(QPalette::Button, c);
    widget->setPalette(palette);
}

// Byte offsets of a text and positions in its QString.
int BytesBefore(const QString& text, int position) {
    return static_cast<int>(FromQString(text.left(position)).size());
}

int PositionOfBytes(const QString& text, int bytes) {
    if (bytes <= 0) return 0;
    for (int i = 1; i <= text.size(); ++i) {
        if (i < text.size() && text[i - 1].isHighSurrogate() && text[i].isLowSurrogate()) continue;
        if (BytesBefore(text, i) >= bytes) return i;
    }
    return static_cast<int>(text.size());
}

void SetLabelFocusControl(QLabel* label, TWinControl* control, const std::string& caption) {
    label->setBuddy(control ? control->Widget() : nullptr);
    if (control) ControlAccess::SetDerivedAccessibleName(control, caption);
}

}  // namespace

// ---------------------------------------------------------------------------------------
// TLabel

TLabel::TLabel(TComponent* owner)
    : TControl(owner, new QLabel), label_(static_cast<QLabel*>(Widget())) {
    label_->setTextFormat(Qt::PlainText);
    label_->setAlignment(ToQtAlignment(alignment_, Qt::AlignTop));
    label_->setFocusPolicy(Qt::NoFocus);
    SetBounds(0, 0, 0, 0);
    AdjustSize();
}

void TLabel::SetCaption(const std::string& caption) {
    caption_ = caption;
    label_->setText(ToQString(caption));
    if (TWinControl* c = FocusControl()) ControlAccess::SetDerivedAccessibleName(c, caption);
    AdjustSize();
}

void TLabel::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    AdjustSize();
}

void TLabel::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    label_->setAlignment(ToQtAlignment(alignment, Qt::AlignTop));
}

void TLabel::SetWordWrap(bool wordWrap) {
    wordWrap_ = wordWrap;
    label_->setWordWrap(wordWrap);
    AdjustSize();
}

TWinControl* TLabel::FocusControl() const {
    return IsLive(focusControl_) ? focusControl_ : nullptr;
}

void TLabel::SetFocusControl(TWinControl* control) {
    focusControl_ = control;
    SetLabelFocusControl(label_, control, caption_);
}

void TLabel::ApplyFont() {
    TControl::ApplyFont();
    AdjustSize();
}

void TLabel::AdjustSize() {
    if (!autoSize_) return;
    if (wordWrap_) {
        SetBounds(Left(), Top(), Width(), label_->heightForWidth(Width()));
        return;
    }
    const QSize hint = label_->sizeHint();
    const int left = alignment_ == taRightJustify ? Left() + Width() - hint.width() : Left();
    SetBounds(left, Top(), hint.width(), hint.height());
}

// ---------------------------------------------------------------------------------------
// TStaticText

TStaticText::TStaticText(TComponent* owner)
    : TWinControl(owner, new QLabel), label_(static_cast<QLabel*>(Widget())) {
    label_->setTextFormat(Qt::PlainText);
    label_->setAlignment(ToQtAlignment(alignment_, Qt::AlignVCenter));
    label_->setFocusPolicy(Qt::NoFocus);
    AdjustSize();
}

void TStaticText::SetCaption(const std::string& caption) {
    caption_ = caption;
    label_->setText(ToQString(caption));
    if (TWinControl* c = FocusControl()) ControlAccess::SetDerivedAccessibleName(c, caption);
    AdjustSize();
}

void TStaticText::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    AdjustSize();
}

void TStaticText::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    label_->setAlignment(ToQtAlignment(alignment, Qt::AlignVCenter));
}

void TStaticText::SetBorderStyle(TStaticBorderStyle style) {
    borderStyle_ = style;
    switch (style) {
        case sbsNone:
            label_->setFrameStyle(QFrame::NoFrame);
            break;
        case sbsSingle:
            label_->setFrameStyle(QFrame::Box | QFrame::Plain);
            break;
        case sbsSunken:
            label_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            break;
    }
    label_->setLineWidth(1);
    AdjustSize();
}

TWinControl* TStaticText::FocusControl() const {
    return IsLive(focusControl_) ? focusControl_ : nullptr;
}

void TStaticText::SetFocusControl(TWinControl* control) {
    focusControl_ = control;
    SetLabelFocusControl(label_, control, caption_);
}

void TStaticText::ApplyFont() {
    TWinControl::ApplyFont();
    AdjustSize();
}

void TStaticText::AdjustSize() {
    if (!autoSize_) return;
    const QSize hint = label_->sizeHint();
    SetBounds(Left(), Top(), hint.width(), hint.height());
}

// ---------------------------------------------------------------------------------------
// TEdit

// Refuses typing beyond MaxLength bytes; a text that is already longer (set by the
// program) may still be shortened.
class TEdit::LengthValidator : public QValidator {
public:
    using QValidator::QValidator;
    int maxBytes = 0;
    int lastBytes = 0;
    State validate(QString& input, int& /*pos*/) const override {
        if (maxBytes <= 0) return Acceptable;
        const int bytes = static_cast<int>(FromQString(input).size());
        return bytes > maxBytes && bytes > lastBytes ? Invalid : Acceptable;
    }
};

TEdit::TEdit(TComponent* owner)
    : TWinControl(owner, new QLineEdit), edit_(static_cast<QLineEdit*>(Widget())) {
    InitColor(clWindow);
    // Qt cuts texts at 32767 characters by default; the byte limit is the validator's.
    edit_->setMaxLength(std::numeric_limits<int>::max());
    validator_ = new LengthValidator(edit_);
    edit_->setValidator(validator_);
    QObject::connect(edit_, &QLineEdit::textChanged, edit_, [this](const QString& text) {
        validator_->lastBytes = static_cast<int>(FromQString(text).size());
        RunHandler(onChange_, this);
    });
    SetBounds(0, 0, 121, 21);
}

TEdit::~TEdit() = default;

std::string TEdit::Text() const {
    return FromQString(edit_->text());
}

void TEdit::SetText(const std::string& text) {
    edit_->setText(ToQString(text));
}

void TEdit::SetMaxLength(int maxLength) {
    maxLength_ = maxLength < 0 ? 0 : maxLength;
    validator_->maxBytes = maxLength_;
}

bool TEdit::ReadOnly() const {
    return edit_->isReadOnly();
}
void TEdit::SetReadOnly(bool readOnly) {
    edit_->setReadOnly(readOnly);
}

int TEdit::SelStart() const {
    const int start = edit_->hasSelectedText() ? edit_->selectionStart() : edit_->cursorPosition();
    return BytesBefore(edit_->text(), start);
}

void TEdit::SetSelStart(int start) {
    edit_->setCursorPosition(PositionOfBytes(edit_->text(), start));
}

int TEdit::SelLength() const {
    if (!edit_->hasSelectedText()) return 0;
    return static_cast<int>(FromQString(edit_->selectedText()).size());
}

void TEdit::SetSelLength(int length) {
    const QString text = edit_->text();
    const int start = edit_->hasSelectedText() ? edit_->selectionStart() : edit_->cursorPosition();
    const int end = PositionOfBytes(text, BytesBefore(text, start) + std::max(0, length));
    edit_->setSelection(start, end - start);
}

std::string TEdit::SelText() const {
    return FromQString(edit_->selectedText());
}

void TEdit::SelectAll() {
    edit_->selectAll();
}

void TEdit::ApplyColor() {
    SetBaseColor(edit_, Color());
}

// ---------------------------------------------------------------------------------------
// TComboBox

namespace {

// The items of a combo box. Changing them never counts as a change by the user, and a
// combo box keeps "no selection" when items arrive (Qt would select the first).
class ComboItems : public TStrings {
public:
    ComboItems(QComboBox* combo, int* programmatic) : combo_(combo), programmatic_(programmatic) {}
    int Count() const override { return combo_->count(); }
    std::string Get(int index) const override {
        CheckIndex(index, Count());
        return FromQString(combo_->itemText(index));
    }
    void Put(int index, const std::string& text) override {
        CheckIndex(index, Count());
        Guard guard(programmatic_);
        combo_->setItemText(index, ToQString(text));
    }
    void Insert(int index, const std::string& text) override {
        CheckIndex(index, Count() + 1);
        Guard guard(programmatic_);
        const int current = combo_->currentIndex();
        const QString editText = combo_->isEditable() ? combo_->currentText() : QString();
        combo_->insertItem(index, ToQString(text));
        if (current < 0) {
            combo_->setCurrentIndex(-1);
            if (combo_->isEditable()) combo_->setEditText(editText);
        }
    }
    void Delete(int index) override {
        CheckIndex(index, Count());
        Guard guard(programmatic_);
        const bool selected = combo_->currentIndex() == index;
        const QString editText = combo_->isEditable() ? combo_->currentText() : QString();
        combo_->removeItem(index);
        if (selected) {
            combo_->setCurrentIndex(-1);
            if (combo_->isEditable()) combo_->setEditText(editText);
        }
    }
    void Clear() override {
        Guard guard(programmatic_);
        combo_->clear();
    }

private:
    struct Guard {
        explicit Guard(int* counter) : counter(counter) { ++*counter; }
        ~Guard() { --*counter; }
        int* counter;
    };
    QComboBox* combo_;
    int* programmatic_;
};

}  // namespace

TComboBox::TComboBox(TComponent* owner)
    : TWinControl(owner, new QComboBox), combo_(static_cast<QComboBox*>(Widget())) {
    InitColor(clWindow);
    items_ = std::make_unique<ComboItems>(combo_, &programmatic_);
    combo_->setInsertPolicy(QComboBox::NoInsert);
    QObject::connect(combo_, &QComboBox::currentIndexChanged, combo_, [this](int) {
        if (programmatic_ == 0) FireChange();
    });
    SetStyle(csDropDown);
    SetBounds(0, 0, 145, 21);
}

TComboBox::~TComboBox() = default;

void TComboBox::FireChange() {
    RunHandler(onChange_, this);
}

void TComboBox::SetStyle(TComboBoxStyle style) {
    if (style == csSimple) throw ENotSupported("The combo box style csSimple is not available");
    ++programmatic_;
    const int index = combo_->currentIndex();
    style_ = style;
    combo_->setEditable(style == csDropDown);
    combo_->setCurrentIndex(index);
    if (style == csDropDown) ConnectEditor();
    --programmatic_;
    ApplyTabStop();
}

void TComboBox::ConnectEditor() {
    QLineEdit* editor = combo_->lineEdit();
    if (!editor) return;
    combo_->setInsertPolicy(QComboBox::NoInsert);
    QObject::connect(editor, &QLineEdit::textEdited, combo_, [this](const QString&) {
        if (programmatic_ == 0) FireChange();
    });
}

TStrings& TComboBox::Items() {
    return *items_;
}

int TComboBox::ItemIndex() const {
    return combo_->currentIndex();
}

void TComboBox::SetItemIndex(int index) {
    ++programmatic_;
    combo_->setCurrentIndex(index >= 0 && index < combo_->count() ? index : -1);
    --programmatic_;
}

std::string TComboBox::Text() const {
    if (combo_->isEditable()) return FromQString(combo_->currentText());
    const int index = combo_->currentIndex();
    return index < 0 ? std::string() : FromQString(combo_->itemText(index));
}

void TComboBox::SetText(const std::string& text) {
    ++programmatic_;
    const QString qtext = ToQString(text);
    if (combo_->isEditable()) {
        combo_->setEditText(qtext);
    } else {
        int index = combo_->findText(qtext, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index < 0) index = combo_->findText(qtext, Qt::MatchFixedString);
        if (index >= 0) combo_->setCurrentIndex(index);
    }
    --programmatic_;
}

void TComboBox::ApplyColor() {
    SetBaseColor(combo_, Color());
}

// ---------------------------------------------------------------------------------------
// TCheckBox

TCheckBox::TCheckBox(TComponent* owner)
    : TWinControl(owner, new QCheckBox), check_(static_cast<QCheckBox*>(Widget())) {
    QObject::connect(check_, &QCheckBox::toggled, check_,
                     [this](bool) { RunHandler(onClick_, this); });
    SetBounds(0, 0, 97, 17);
}

void TCheckBox::SetCaption(const std::string& caption) {
    caption_ = caption;
    check_->setText(ToQString(caption));
    CaptionChanged(caption);
}

bool TCheckBox::Checked() const {
    return check_->isChecked();
}
void TCheckBox::SetChecked(bool checked) {
    check_->setChecked(checked);
}

// ---------------------------------------------------------------------------------------
// TMemo

namespace {

std::string NormalizeLineBreaks(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

// The lines of a memo; a final line break does not start another line.
class MemoLines : public TStrings {
public:
    explicit MemoLines(QPlainTextEdit* memo) : memo_(memo) {}
    int Count() const override { return static_cast<int>(Lines().size()); }
    std::string Get(int index) const override {
        const std::vector<std::string> lines = Lines();
        CheckIndex(index, static_cast<int>(lines.size()));
        return lines[static_cast<std::size_t>(index)];
    }
    void Put(int index, const std::string& text) override {
        std::vector<std::string> lines = Lines();
        CheckIndex(index, static_cast<int>(lines.size()));
        lines[static_cast<std::size_t>(index)] = NormalizeLineBreaks(text);
        Store(lines);
    }
    void Insert(int index, const std::string& text) override {
        std::vector<std::string> lines = Lines();
        CheckIndex(index, static_cast<int>(lines.size()) + 1);
        lines.insert(lines.begin() + index, NormalizeLineBreaks(text));
        Store(lines);
    }
    void Delete(int index) override {
        std::vector<std::string> lines = Lines();
        CheckIndex(index, static_cast<int>(lines.size()));
        lines.erase(lines.begin() + index);
        Store(lines);
    }
    void Clear() override { memo_->setPlainText(QString()); }

private:
    std::vector<std::string> Lines() const {
        const std::string text = FromQString(memo_->toPlainText());
        std::vector<std::string> lines;
        std::size_t start = 0;
        while (start < text.size()) {
            const std::size_t end = text.find('\n', start);
            if (end == std::string::npos) {
                lines.push_back(text.substr(start));
                break;
            }
            lines.push_back(text.substr(start, end - start));
            start = end + 1;
        }
        return lines;
    }
    void Store(const std::vector<std::string>& lines) {
        std::string text;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i) text += '\n';
            text += lines[i];
        }
        memo_->setPlainText(ToQString(text));
    }
    QPlainTextEdit* memo_;
};

}  // namespace

TMemo::TMemo(TComponent* owner)
    : TWinControl(owner, new QPlainTextEdit), memo_(static_cast<QPlainTextEdit*>(Widget())) {
    InitColor(clWindow);
    lines_ = std::make_unique<MemoLines>(memo_);
    memo_->setTabChangesFocus(true);
    QObject::connect(memo_, &QPlainTextEdit::textChanged, memo_,
                     [this] { RunHandler(onChange_, this); });
    SetScrollBars(ssNone);
    SetBounds(0, 0, 185, 89);
}

TMemo::~TMemo() = default;

TStrings& TMemo::Lines() {
    return *lines_;
}

std::string TMemo::Text() const {
    return FromQString(memo_->toPlainText());
}

void TMemo::SetText(const std::string& text) {
    memo_->setPlainText(ToQString(NormalizeLineBreaks(text)));
}

bool TMemo::ReadOnly() const {
    return memo_->isReadOnly();
}
void TMemo::SetReadOnly(bool readOnly) {
    memo_->setReadOnly(readOnly);
}

void TMemo::SetWordWrap(bool wordWrap) {
    wordWrap_ = wordWrap;
    memo_->setLineWrapMode(wordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TMemo::SetScrollBars(TScrollStyle style) {
    scrollBars_ = style;
    const bool h = style == ssHorizontal || style == ssBoth;
    const bool v = style == ssVertical || style == ssBoth;
    memo_->setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    memo_->setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void TMemo::ApplyColor() {
    SetBaseColor(memo_, Color());
}
