#include "platform/widgets/Buttons.h"

#include <QIcon>
#include <QKeyEvent>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>

#include "platform/Strings.h"
#include "platform/widgets/Forms.h"
#include "platform/widgets/WidgetsInternal.h"

using namespace widgets_internal;

namespace {

// Enter on a focused button clicks it, as Space does.
class ButtonWidget : public QPushButton {
protected:
    void keyPressEvent(QKeyEvent* event) override {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
            !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            click();
            return;
        }
        QPushButton::keyPressEvent(event);
    }
};

}  // namespace

TButton::TButton(TComponent* owner)
    : TWinControl(owner, new ButtonWidget), button_(static_cast<QPushButton*>(Widget())) {
    button_->setAutoDefault(false);
    QObject::connect(button_, &QPushButton::clicked, button_,
                     [this] { SafeCall([this] { Click(); }); });
    SetBounds(0, 0, 75, 25);
}

void TButton::SetCaption(const std::string& caption) {
    caption_ = caption;
    button_->setText(ToQString(caption));
    CaptionChanged(caption);
}

void TButton::SetDefault(bool isDefault) {
    default_ = isDefault;
    button_->setDefault(isDefault);
}

void TButton::Click() {
    if (modalResult_ != mrNone)
        if (TForm* form = ParentForm()) form->SetModalResult(modalResult_);
    if (onClick_) {
        TNotifyEvent handler = onClick_;
        handler(this);
    }
}

bool TButton::HandlesDialogKey(uint16_t key) const {
    return (key == VK_RETURN && default_) || (key == VK_ESCAPE && cancel_);
}

void TButton::DialogKeyClick() {
    if (CanFocus()) Click();
}

namespace {

struct KindInfo {
    const char* caption;
    TModalResult result;
    QStyle::StandardPixmap icon;
    bool hasIcon;
};

KindInfo InfoOf(TBitBtnKind kind) {
    switch (kind) {
        case bkOK:
            return {"OK", mrOk, QStyle::SP_DialogOkButton, true};
        case bkCancel:
            return {"Cancel", mrCancel, QStyle::SP_DialogCancelButton, true};
        case bkHelp:
            return {"&Help", mrNone, QStyle::SP_DialogHelpButton, true};
        case bkYes:
            return {"&Yes", mrYes, QStyle::SP_DialogYesButton, true};
        case bkNo:
            return {"&No", mrNo, QStyle::SP_DialogNoButton, true};
        case bkClose:
            return {"&Close", mrNone, QStyle::SP_DialogCloseButton, true};
        case bkAbort:
            return {"Abort", mrAbort, QStyle::SP_DialogAbortButton, true};
        case bkRetry:
            return {"&Retry", mrRetry, QStyle::SP_DialogRetryButton, true};
        case bkIgnore:
            return {"&Ignore", mrIgnore, QStyle::SP_DialogIgnoreButton, true};
        case bkAll:
            return {"&All", mrAll, QStyle::SP_DialogYesToAllButton, true};
        case bkCustom:
            break;
    }
    return {"", mrNone, QStyle::SP_CustomBase, false};
}

}  // namespace

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {
    glyph_.SetChangeHandler([this] { UpdateIcon(); });
}

TBitBtn::~TBitBtn() {
    glyph_.SetChangeHandler(nullptr);
}

void TBitBtn::SetKind(TBitBtnKind kind) {
    kind_ = kind;
    if (kind == bkCustom) {
        UpdateIcon();
        return;
    }
    const KindInfo info = InfoOf(kind);
    SetCaption(info.caption);
    SetModalResult(info.result);
    if (kind == bkOK || kind == bkYes) SetDefault(true);
    if (kind == bkCancel || kind == bkNo) SetCancel(true);
    UpdateIcon();
}

void TBitBtn::UpdateIcon() {
    if (glyph_.Empty()) {
        numGlyphs_ = 1;
        const KindInfo info = InfoOf(kind_);
        button_->setIcon(info.hasIcon ? button_->style()->standardIcon(info.icon) : QIcon());
        return;
    }
    QImage image = glyph_.Image().convertToFormat(QImage::Format_ARGB32);
    const int w = image.width();
    const int h = image.height();
    numGlyphs_ = (h > 0 && w % h == 0 && w / h >= 2 && w / h <= 4) ? w / h : 1;
    const QRgb transparent = image.pixel(0, h - 1);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            if (line[x] == transparent) line[x] = qRgba(0, 0, 0, 0);
    }
    const int pieceWidth = w / numGlyphs_;
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(image.copy(0, 0, pieceWidth, h)), QIcon::Normal);
    if (numGlyphs_ >= 2)
        icon.addPixmap(QPixmap::fromImage(image.copy(pieceWidth, 0, pieceWidth, h)),
                       QIcon::Disabled);
    button_->setIcon(icon);
    button_->setIconSize(QSize(pieceWidth, h));
}

void TBitBtn::Click() {
    if (kind_ == bkClose) {
        if (TForm* form = ParentForm()) {
            form->Close();
            return;
        }
    }
    TButton::Click();
}
