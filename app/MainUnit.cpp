#include "app/MainUnit.h"

#include "app/CommandLine.h"
#include "app/LaunchParameters.h"
#include "platform/widgets/Application.h"
#include "platform/widgets/Menus.h"
#include "snmp/HvSNMPSession.h"

namespace {

constexpr int kLaunchWidth = 800;

struct ViewItemVisibility {
    const char* name;
    bool visible;
};

// The view items of the "Device Information" menu and whether this device shows them.
constexpr ViewItemVisibility kDeviceMenu[] = {
    {"NASAgentTable1", true},
    {"VolumeInformation1", true},
    {"SystemInformation1", false},
    {"DiskInformation1", true},
    {"RAIDInformation1", false},
    {"iSCSIInformation1", false},
    {"DistributedFileSystem1", false},
    {"NetworkFileSystemTable1", false},
    {"VolumeSnapShot1", false},
    {"VirtualVolumeTable1", false},
    {"iSOTable1", false},
    {"LogServerTable1", false},
    {"UPSTable1", true},
    {"ICSISTagetTable1", false},
    {"iSCSILUNTable1", false},
    {"iSCSIACLTable1", false},
    {"AMAZONS3Table1", false},
    {"ConnectionTable1", false},
    {"PortForwardingTable1", false},
};

}  // namespace

TMainForm::TMainForm(TComponent* owner) : TForm(owner) {
    SetOnCreate([this](TObject* sender) { FormCreate(sender); });
    Launch();
    DoCreate();
}

void TMainForm::Launch() {
    SetWidth(kLaunchWidth);
    CreateGlobalSession("");
    LaunchTexts texts;
    const bool configured = RunLaunchSequence(ParamList(), texts, [this] { ApplyDeviceMenu(); });
    AddressText = texts.AddressText;
    VersionText = texts.VersionText;
    if (!configured && Application != nullptr) Application->Terminate();
}

void TMainForm::ApplyDeviceMenu() {
    for (const ViewItemVisibility& view : kDeviceMenu) {
        if (auto* item = dynamic_cast<TMenuItem*>(FindComponent(view.name)))
            item->SetVisible(view.visible);
    }
}

void TMainForm::FormCreate(TObject*) {
    SetCaption(AddressText);
}
