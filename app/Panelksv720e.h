#pragma once
// TKSV720EPanelForm: the borderless form with the photograph of the device's front that the
// main window embeds into its client area.
#include "platform/widgets/ExtCtrls.h"
#include "platform/widgets/Forms.h"

// The front-panel photograph (235 x 381), from the program's resources.
inline constexpr char kFrontPanelResource[] = ":/assets/ksv720e-front.jpg";

class TKSV720EPanelForm : public TForm {
public:
    explicit TKSV720EPanelForm(TComponent* owner);
    ~TKSV720EPanelForm() override;

    TImage* Image720E;

    void FormDestroy(TObject* sender);
};
