#include "app/Panelksv720e.h"

#include "platform/widgets/Graphics.h"

TKSV720EPanelForm::TKSV720EPanelForm(TComponent* owner) : TForm(owner) {
    SetName("KSV720EPanelForm");
    SetCaption("KSV720EPanelForm");
    SetBorderStyle(bsNone);
    SetClientWidth(235);
    SetClientHeight(379);
    SetColor(clBtnFace);

    Image720E = new TImage(this);
    Image720E->SetName("Image720E");
    Image720E->SetParent(this);
    Image720E->SetBounds(0, 0, 236, 385);
    try {
        Image720E->Picture().LoadFromFile(kFrontPanelResource);
    } catch (const EInvalidGraphic&) {
        // Without the picture the form stays a plain face of the same size.
    }
    Image720E->SetLeft(0);
    Image720E->SetTop(0);
    DoCreate();
}

TKSV720EPanelForm::~TKSV720EPanelForm() {
    FormDestroy(this);
}

void TKSV720EPanelForm::FormDestroy(TObject*) {}
