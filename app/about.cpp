#include "app/about.h"

#include <exception>

#include "platform/widgets/Graphics.h"

TAboutForm* AboutForm = nullptr;

namespace {
constexpr char kNoticeText[] = "Copyright (C) Halvora Corp.";
}  // namespace

TAboutForm::TAboutForm(TComponent* owner) : TForm(owner) {
    SetName("AboutForm");
    SetLeft(543);
    SetTop(338);
    SetClientWidth(323);
    SetClientHeight(105);
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    SetPosition(poMainFormCenter);
    SetColor(clBtnFace);
    Font().SetName("MS Sans Serif");
    Font().SetHeight(-11);

    // Labels size themselves to their text, so a substitute font never cuts a line.
    AboutLabel = new TLabel(this);
    AboutLabel->SetName("AboutLabel");
    AboutLabel->SetParent(this);
    AboutLabel->SetBounds(65, 16, 204, 14);
    AboutLabel->Font().SetName("MS Sans Serif");
    AboutLabel->Font().SetHeight(-12);
    AboutLabel->Font().SetStyle(fsBold);

    VersionLabel = new TLabel(this);
    VersionLabel->SetName("VersionLabel");
    VersionLabel->SetParent(this);
    VersionLabel->SetBounds(65, 39, 101, 13);
    VersionLabel->SetCaption(kReleaseVersionText);

    NoticeLabel = new TLabel(this);
    NoticeLabel->SetName("NoticeLabel");
    NoticeLabel->SetParent(this);
    NoticeLabel->SetBounds(65, 61, 173, 13);
    NoticeLabel->SetCaption(kNoticeText);

    imgKSV630 = new TImage(this);
    imgKSV630->SetName("imgKSV630");
    imgKSV630->SetParent(this);
    imgKSV630->SetBounds(8, 36, 41, 44);
    try {
        imgKSV630->Picture().LoadFromFile(kAboutIconResource);
    } catch (const EInvalidGraphic&) {
        // A build without the picture still shows the box.
    }

    BT_Ok = new TButton(this);
    BT_Ok->SetName("BT_Ok");
    BT_Ok->SetParent(this);
    BT_Ok->SetBounds(136, 81, 51, 20);
    BT_Ok->SetCaption("OK");
    BT_Ok->SetTabOrder(0);
    BT_Ok->SetOnClick([this](TObject* sender) { BT_OkClick(sender); });
    BT_Ok->SetOnKeyDown([this](TObject* sender, uint16_t& key, TShiftState shift) {
        BT_OkKeyDown(sender, key, shift);
    });

    SetOnActivate([this](TObject* sender) { FormActivate(sender); });
    SetOnClose([this](TObject* sender, TCloseAction& action) { FormClose(sender, action); });
    DoCreate();
}

void TAboutForm::FormActivate(TObject*) {
    AboutLabel->SetCaption(kAboutTitleText);
    SetCaption(kAboutCaption);
    // The OK button is the box's first and only tab stop: keys go to it.
    if (BT_Ok->CanFocus()) SetActiveControl(BT_Ok);
}

void TAboutForm::FormClose(TObject*, TCloseAction& action) {
    // Shown modally: closing ends the modal loop and the caller destroys the box.
    action = caFree;
}

void TAboutForm::BT_OkClick(TObject*) {
    Close();
}

void TAboutForm::BT_OkKeyDown(TObject*, uint16_t& key, TShiftState shift) {
    if (key == VK_F3 && shift.Contains(ssShift) && shift.Contains(ssAlt))
        VersionLabel->SetCaption(kBuildVersionText);
}
