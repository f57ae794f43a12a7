#pragma once
// The two small panels every SNMP view shares: the column of command buttons at the right
// edge (TCtrlBtnPanel) and the one-line message strip at the bottom (TMsgPanel).
#include <memory>
#include <string>
#include <vector>

#include "platform/widgets/Buttons.h"
#include "platform/widgets/ComCtrls.h"
#include "platform/widgets/ExtCtrls.h"
#include "platform/widgets/StdCtrls.h"
#include "snmp/HvMessageSink.h"

// The command column. All buttons exist from construction on; the content panel decides which
// are visible, enabled and how the set button is captioned, then calls ArrangeButtons.
class TCtrlBtnPanel : public TPanel {
public:
    // Builds the column, loads the optional button bitmaps from the current directory, makes
    // the owner (a windowed control) its parent and aligns it right.
    explicit TCtrlBtnPanel(TComponent* owner);

    // Stacks the controls of LayoutList top to bottom: each 96 wide at LeftMargin, visible
    // ones 5 pixels apart from TopMargin on; invisible ones take no space. The panel ends 10
    // pixels below Close.
    void ArrangeButtons();

    // Members, in order of creation.
    TStaticText* CountText;  // number of rows of a table
    TLabel* SamplesLabel;    // "Samples", below the count
    TBitBtn* RefreshBtn;
    TBitBtn* EditBtn;
    TBitBtn* SetCheckBtn;  // "Set Checked", or "Set" with a single settable row
    TBitBtn* AddBtn;
    TBitBtn* DeleteBtn;
    TBitBtn* CheckAllBtn;
    TBitBtn* ClearChecksBtn;
    TBitBtn* CloseBtn;
    int LeftMargin = 10;
    int TopMargin = 10;
    // The controls in their top-to-bottom order.
    std::vector<TControl*> LayoutList;

    static constexpr int kButtonWidth = 96;
    static constexpr int kGap = 5;

private:
    TBitBtn* MakeButton(const char* name, const char* caption);
    void LoadButtonBitmaps();
};

// A message control over a status bar: the binding's log line becomes its simple text.
class TStatusBarSink : public HvMessageSink {
public:
    explicit TStatusBarSink(TStatusBar* bar) : bar_(bar) {}
    Kind MessageKind() const override { return Kind::StatusBar; }
    void SetSimpleText(const std::string& text) override;

private:
    TStatusBar* bar_;
};

// The message strip: a 20-pixel panel holding one status bar.
class TMsgPanel : public TPanel {
public:
    // Makes the owner (a windowed control) its parent; the owner aligns it to its bottom.
    explicit TMsgPanel(TComponent* owner);

    TStatusBar* StatusBar;
    // What the binding is given as its message control (writes into StatusBar).
    HvMessageSink* MessageSink() { return &sink_; }

    static constexpr int kHeight = 20;

private:
    TStatusBarSink sink_;
};
