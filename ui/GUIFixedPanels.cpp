#include "ui/GUIFixedPanels.h"

#include <algorithm>

#include "platform/System.h"

namespace {

TWinControl* AsParent(TComponent* owner) {
    return dynamic_cast<TWinControl*>(owner);
}

}  // namespace

// ---- TCtrlBtnPanel ------------------------------------------------------------------------

TCtrlBtnPanel::TCtrlBtnPanel(TComponent* owner) : TPanel(owner) {
    SetName("CtrlBtnPanel");
    CountText = new TStaticText(this);
    CountText->SetName("CountText");
    CountText->SetParent(this);
    CountText->SetAutoSize(false);
    CountText->SetCaption("0");
    CountText->SetAlignment(taCenter);
    CountText->SetBorderStyle(sbsSunken);
    CountText->SetAccessibleName("Samples");

    SamplesLabel = new TLabel(this);
    SamplesLabel->SetName("SamplesLabel");
    SamplesLabel->SetParent(this);
    SamplesLabel->SetCaption("Samples");
    SamplesLabel->SetAutoSize(false);
    SamplesLabel->SetAlignment(taCenter);

    RefreshBtn = MakeButton("RefreshBtn", "Refresh");
    EditBtn = MakeButton("EditBtn", "Edit");
    SetCheckBtn = MakeButton("SetCheckBtn", "Set Checked");
    AddBtn = MakeButton("AddBtn", "Add");
    DeleteBtn = MakeButton("DeleteBtn", "Delete");
    CheckAllBtn = MakeButton("CheckAllBtn", "Check All");
    ClearChecksBtn = MakeButton("ClearChecksBtn", "Clear Checks");
    CloseBtn = MakeButton("CloseBtn", "Close");

    LayoutList = {CountText, SamplesLabel, RefreshBtn,  EditBtn,        SetCheckBtn,
                  AddBtn,    DeleteBtn,    CheckAllBtn, ClearChecksBtn, CloseBtn};

    LoadButtonBitmaps();

    LeftMargin = 10;
    TopMargin = 10;
    AddBtn->Hide();
    DeleteBtn->Hide();
    ArrangeButtons();

    SetWidth(2 * LeftMargin + RefreshBtn->Width());
    SetParent(AsParent(owner));
    SetAlign(alRight);
}

TBitBtn* TCtrlBtnPanel::MakeButton(const char* name, const char* caption) {
    auto* button = new TBitBtn(this);
    button->SetName(name);
    button->SetParent(this);
    button->SetCaption(caption);
    button->SetTabStop(true);
    return button;
}

void TCtrlBtnPanel::LoadButtonBitmaps() {
    struct Entry {
        TBitBtn* button;
        const char* file;
    };
    const Entry entries[] = {
        {RefreshBtn, "\\Get.bmp"},
        {EditBtn, "\\Set.bmp"},
        {SetCheckBtn, "\\SetCheck.bmp"},
        {AddBtn, "\\Add.bmp"},
        {DeleteBtn, "\\Delete.bmp"},
        {CheckAllBtn, "\\SelectAll.bmp"},
        {ClearChecksBtn, "\\SelectNone.bmp"},
        {CloseBtn, "\\Close.bmp"},
    };
    const std::string dir = GetCurrentDir();
    try {
        for (const Entry& e : entries) {
            const std::string path = dir + e.file;
            if (!FileExists(path)) continue;
            // The caption gives way to the picture; it stays the button's accessible name and
            // becomes its tool tip, so the command can still be told by name.
            const std::string caption = e.button->Caption();
            e.button->SetHint(caption);
            e.button->SetShowHint(true);
            e.button->SetCaption("");
            e.button->Glyph().LoadFromFile(path);
        }
    } catch (...) {
        // A bitmap that cannot be read ends the loading; the later buttons keep captions.
    }
}

void TCtrlBtnPanel::ArrangeButtons() {
    int y = TopMargin;
    for (TControl* control : LayoutList) {
        control->SetBounds(LeftMargin, y, kButtonWidth, control->Height());
        if (control->Visible()) y = control->Top() + control->Height() + kGap;
    }
    SetHeight(CloseBtn->Top() + CloseBtn->Height() + 10);
}

// ---- TMsgPanel ----------------------------------------------------------------------------

void TStatusBarSink::SetSimpleText(const std::string& text) {
    if (bar_) bar_->SetSimpleText(text);
}

TMsgPanel::TMsgPanel(TComponent* owner) : TPanel(owner), StatusBar(nullptr), sink_(nullptr) {
    SetName("MsgPanel");
    SetHeight(kHeight);
    StatusBar = new TStatusBar(this);
    StatusBar->SetName("StatusBar");
    StatusBar->SetParent(this);
    StatusBar->SetSimplePanel(true);
    StatusBar->SetHeight(kHeight);
    StatusBar->SetAlign(alBottom);
    StatusBar->SetAccessibleName("Messages");
    sink_ = TStatusBarSink(StatusBar);
    SetParent(AsParent(owner));
}
