#pragma once
// TAboutForm: the About box of the module, opened modally from the main window's Help menu.
// It names the module and its release; F3 with Shift and Alt on the OK button shows the
// full build version.
#include <cstdint>

#include "platform/widgets/Buttons.h"
#include "platform/widgets/ExtCtrls.h"
#include "platform/widgets/Forms.h"
#include "platform/widgets/StdCtrls.h"

inline constexpr char kAboutCaption[] = "About KSV-720E Module";
inline constexpr char kAboutTitleText[] = "Halvora KSV-720E Tellamon Module";
inline constexpr char kReleaseVersionText[] = "Release Version 1.00";
inline constexpr char kBuildVersionText[] = "Release Version 1.00D03(Build 2014/4/8)";
// The picture of the About box, from the program's resources.
inline constexpr char kAboutIconResource[] = ":/assets/ksv720e-icon.png";

class TAboutForm : public TForm {
public:
    explicit TAboutForm(TComponent* owner);

    TLabel* AboutLabel;
    TLabel* VersionLabel;
    TLabel* NoticeLabel;
    TImage* imgKSV630;
    TButton* BT_Ok;

    void FormActivate(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    void BT_OkClick(TObject* sender);
    void BT_OkKeyDown(TObject* sender, uint16_t& key, TShiftState shift);
};

// The About box while it is shown (null otherwise); kept by the main window.
extern TAboutForm* AboutForm;
