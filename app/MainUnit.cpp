#include "app/MainUnit.h"

#include <memory>

#include "app/CommandLine.h"
#include "app/LaunchParameters.h"
#include "app/Panelksv720e.h"
#include "app/about.h"
#include "binding/HvSNMPRequest2Edits.h"
#include "mib/HvSnmpTypes.h"
#include "mib/Oid_ksv_720e.h"
#include "platform/Exception.h"
#include "platform/widgets/Application.h"
#include "platform/widgets/Dialogs.h"
#include "snmp/HvSNMPSession.h"
#include "snmp/HvSNMPVarList.h"
#include "ui/GUIConfigForm.h"
#include "ui/GUIEditorPanel.h"
#include "ui/GUIListViewPanel.h"

// What one view item opens.
struct TMainForm::ViewSpec {
    const char* title;       // the window caption is the title followed by the address
    const SnmpVarDef* vars;  // null: the request keeps its empty variable list
    uint8_t itemType;
    int32_t keyCount;
    bool editor;      // a scalar editor window, else a table window
    int editWidth;    // editor windows: width of the value controls
    int32_t timeout;  // hundredths of a second; 0 keeps the request's default
};

namespace {

constexpr int kLaunchWidth = 800;
constexpr int kAgentVersionTimeout = 800;
constexpr int kDiskTableTimeout = 500;
constexpr int kAgentVersionEditWidth = 175;

using View = TMainForm::ViewSpec;

constexpr View kAgentVersionView{
    "Agent Version Information: ", AgentVersionVars,    SVT_SV, 0, true,
    kAgentVersionEditWidth,        kAgentVersionTimeout};
constexpr View kVolumeView{"Volume Information Table: ", VolumeInfoVars, MVT_FMV, 1, false, 0, 0};
constexpr View kDiskView{"Disk Information Table: ", DiskInfoVars, MVT_FMV, 1, false, 0,
                         kDiskTableTimeout};
constexpr View kUpsView{"UPS Information Table: ", UpsInfoVars, MVT_FMV, 1, false, 0, 0};

// A table window without variables.
constexpr View EmptyTable(const char* title) {
    return View{title, nullptr, SVT_SV, 0, false, 0, 0};
}

struct ViewItemVisibility {
    TMenuItem* TMainForm::*item;
    bool visible;
};

// The view items of the "Device Information" menu and whether this device shows them.
constexpr ViewItemVisibility kDeviceMenu[] = {
    {&TMainForm::NASAgentTable1, true},
    {&TMainForm::VolumeInformation1, true},
    {&TMainForm::SystemInformation1, false},
    {&TMainForm::DiskInformation1, true},
    {&TMainForm::RAIDInformation1, false},
    {&TMainForm::iSCSIInformation1, false},
    {&TMainForm::DistributedFileSystem1, false},
    {&TMainForm::NetworkFileSystemTable1, false},
    {&TMainForm::VolumeSnapShot1, false},
    {&TMainForm::VirtualVolumeTable1, false},
    {&TMainForm::iSOTable1, false},
    {&TMainForm::LogServerTable1, false},
    {&TMainForm::UPSTable1, true},
    {&TMainForm::ICSISTagetTable1, false},
    {&TMainForm::iSCSILUNTable1, false},
    {&TMainForm::iSCSIACLTable1, false},
    {&TMainForm::AMAZONS3Table1, false},
    {&TMainForm::ConnectionTable1, false},
    {&TMainForm::PortForwardingTable1, false},
};

// Clears the module-wide About box pointer when the box goes, however its handler ends.
struct AboutFormScope {
    explicit AboutFormScope(TAboutForm* form) { AboutForm = form; }
    ~AboutFormScope() {
        delete AboutForm;
        AboutForm = nullptr;
    }
    AboutFormScope(const AboutFormScope&) = delete;
    AboutFormScope& operator=(const AboutFormScope&) = delete;
};

}  // namespace

TMainForm::TMainForm(TComponent* owner) : TForm(owner) {
    BuildForm();
    Launch();
    DoCreate();
}

TMainForm::~TMainForm() = default;

void TMainForm::BuildForm() {
    SetName("MainForm");
    SetLeft(504);
    SetTop(297);
    SetClientWidth(309);
    SetClientHeight(355);
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu | biMinimize);
    SetColor(clBtnFace);
    Font().SetName("MS Sans Serif");
    Font().SetHeight(-11);

    ScrollBox1 = new TScrollBox(this);
    ScrollBox1->SetName("ScrollBox1");
    ScrollBox1->SetParent(this);
    ScrollBox1->SetAlign(alClient);
    ScrollBox1->SetAutoScroll(false);

    StatusBar = new TStatusBar(this);
    StatusBar->SetName("StatusBar");
    StatusBar->SetParent(this);
    StatusBar->Panels().Add()->SetWidth(50);
    StatusBar->SetVisible(false);

    MainMenu1 = new TMainMenu(this);
    MainMenu1->SetName("MainMenu1");
    TMenuItem* bar = MainMenu1->Items();
    using M = TMainForm;

    Configuration1 = AddItem(bar, "Configuration1", "Device Information", true, nullptr);
    TMenuItem* const views = Configuration1;
    NASAgentTable1 = AddItem(views, "NASAgentTable1", "Agent Version Information", true,
                             &M::NASAgentTable1Click);
    VolumeInformation1 = AddItem(views, "VolumeInformation1", "Volume Information Table", true,
                                 &M::VolumeInformation1Click);
    SystemInformation1 = AddItem(views, "SystemInformation1", "System Information Table", true,
                                 &M::SystemInformation1Click);
    DiskInformation1 = AddItem(views, "DiskInformation1", "Disk Information Table", true,
                               &M::DiskInformation1Click);
    RAIDInformation1 = AddItem(views, "RAIDInformation1", "RAID Information Table", false,
                               &M::RAIDInformation1Click);
    iSCSIInformation1 = AddItem(views, "iSCSIInformation1", "iSCSI Information Table", false,
                                &M::iSCSIInformation1Click);
    N1 = AddItem(views, "N1", "-", true, nullptr);
    DistributedFileSystem1 =
        AddItem(views, "DistributedFileSystem1", "Distributed File System Table", true,
                &M::DistributedFileSystem1Click);
    NetworkFileSystemTable1 = AddItem(views, "NetworkFileSystemTable1", "Network File System Table",
                                      true, &M::NetworkFileSystemTable1Click);
    VolumeSnapShot1 =
        AddItem(views, "VolumeSnapShot1", "Volume Snapshot Table", true, &M::VolumeSnapShot1Click);
    VirtualVolumeTable1 = AddItem(views, "VirtualVolumeTable1", "Virtual Volume Table", true,
                                  &M::VirtualVolumeTable1Click);
    N2 = AddItem(views, "N2", "-", true, nullptr);
    iSOTable1 = AddItem(views, "iSOTable1", "ISO Information Table", true, &M::iSOTable1Click);
    LogServerTable1 =
        AddItem(views, "LogServerTable1", "Log Server Table", true, &M::LogServerTable1Click);
    UPSTable1 = AddItem(views, "UPSTable1", "UPS Information Table", true, &M::UPSTable1Click);
    ICSISTagetTable1 =
        AddItem(views, "ICSISTagetTable1", "iSCSI Taget Table", true, &M::ICSISTagetTable1Click);
    iSCSILUNTable1 =
        AddItem(views, "iSCSILUNTable1", "iSCSI LUN Table", true, &M::iSCSILUNTable1Click);
    iSCSIACLTable1 =
        AddItem(views, "iSCSIACLTable1", "iSCSI ACL Table", true, &M::iSCSIACLTable1Click);
    AMAZONS3Table1 =
        AddItem(views, "AMAZONS3Table1", "AMAZON S3 Table", true, &M::AMAZONS3Table1Click);
    ConnectionTable1 =
        AddItem(views, "ConnectionTable1", "Connection Table", false, &M::ConnectionTable1Click);
    PortForwardingTable1 = AddItem(views, "PortForwardingTable1", "Port Forwarding Table", false,
                                   &M::PortForwardingTable1Click);

    Help1 = AddItem(bar, "Help1", "Help", true, nullptr);
    Help2 = AddItem(Help1, "Help2", "Help", false, &M::Help2Click);
    About1 = AddItem(Help1, "About1", "About", true, &M::About1Click);
    RefreshPanel2 = AddItem(bar, "RefreshPanel2", "Refresh", true, &M::RefreshPanel1Click);

    SetMenu(MainMenu1);

    SetOnCreate([this](TObject* sender) { FormCreate(sender); });
    SetOnActivate([this](TObject* sender) { FormActivate(sender); });
    SetOnClose([this](TObject* sender, TCloseAction& action) { FormClose(sender, action); });
}

TMenuItem* TMainForm::AddItem(TMenuItem* parent, const char* name, const char* caption,
                              bool visible, void (TMainForm::*handler)(TObject*)) {
    auto* item = new TMenuItem(this);
    item->SetName(name);
    item->SetCaption(caption);
    item->SetVisible(visible);
    if (handler) item->SetOnClick([this, handler](TObject* sender) { (this->*handler)(sender); });
    parent->Add(item);
    return item;
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
    for (const ViewItemVisibility& view : kDeviceMenu) (this->*view.item)->SetVisible(view.visible);
}

void TMainForm::EmbedPanelPicture() {
    auto* panel = new TKSV720EPanelForm(this);
    const int w = panel->ClientWidth();
    const int h = panel->ClientHeight();
    panel->SetParent(ScrollBox1);
    panel->SetLeft(0);
    panel->SetTop(0);
    ScrollBox1->SetAlign(alNone);
    SetClientWidth(w + 3);
    PanelForm = panel;
    SetClientHeight(PanelForm->Top() + h + 4);
    ScrollBox1->SetAlign(alClient);
    ScrollBox1->SetAutoScroll(false);
    PanelForm->Show();
    if (Width() < PanelForm->Width()) SetWidth(PanelForm->Width() + 4);
}

// ---- Event handlers ---------------------------------------------------------------------

void TMainForm::FormCreate(TObject*) {
    try {
        SetCaption(AddressText);
    } catch (const Exception& e) {
        StatusBar->Panels().Items(0)->SetText(e.Message());
    }
}

void TMainForm::FormActivate(TObject*) {
    if (activated_) return;
    activated_ = true;
    EmbedPanelPicture();
}

void TMainForm::FormClose(TObject*, TCloseAction& action) {
    action = caFree;
}

void TMainForm::OpenView(const ViewSpec& view) {
    ViewTitle = view.title + AddressText;
    // The window is destroyed before its binding (reverse order of declaration): when the
    // binding goes, nothing of the window can call it any more, and the binding's request
    // waits for whatever reply is still outstanding, with its callbacks detached.
    std::unique_ptr<HvSNMPRequest2Edits> binding;
    std::unique_ptr<TConfigForm> form(new TConfigForm(Application));
    binding = std::make_unique<HvSNMPRequest2Edits>(form.get());
    if (view.vars) {
        const HvSNMPVarList list(view.vars, view.itemType, view.keyCount);
        binding->request.List().Assign(list);
    }
    if (view.editor) {
        if (view.timeout) binding->request.timeout = view.timeout;
        TSNMPEditorPanel* editor = form->SetEditorType(binding.get());
        editor->SetEditWidth(view.editWidth);
    } else {
        form->SetListViewType(binding.get(), -1, nullptr, -1, nullptr);
        if (view.timeout) binding->request.timeout = view.timeout;
    }
    form->SetCaption(ViewTitle);
    form->ShowModal();
}

void TMainForm::NASAgentTable1Click(TObject*) {
    OpenView(kAgentVersionView);
}
void TMainForm::VolumeInformation1Click(TObject*) {
    OpenView(kVolumeView);
}
void TMainForm::SystemInformation1Click(TObject*) {
    OpenView(EmptyTable("System Information Table: "));
}
void TMainForm::DiskInformation1Click(TObject*) {
    OpenView(kDiskView);
}
void TMainForm::RAIDInformation1Click(TObject*) {
    OpenView(EmptyTable("RAID Information Table: "));
}
void TMainForm::iSCSIInformation1Click(TObject*) {
    OpenView(EmptyTable("iSCSI Information Table: "));
}
void TMainForm::DistributedFileSystem1Click(TObject*) {
    OpenView(EmptyTable("Distributed File System Table: "));
}
void TMainForm::NetworkFileSystemTable1Click(TObject*) {
    OpenView(EmptyTable("Network File System Table: "));
}
void TMainForm::VolumeSnapShot1Click(TObject*) {
    OpenView(EmptyTable("Volume Snapshot Table: "));
}
void TMainForm::VirtualVolumeTable1Click(TObject*) {
    OpenView(EmptyTable("Virtual Volume Table: "));
}
void TMainForm::iSOTable1Click(TObject*) {
    OpenView(EmptyTable("ISO Information Table: "));
}
void TMainForm::LogServerTable1Click(TObject*) {
    OpenView(EmptyTable("Log Server Table: "));
}
void TMainForm::UPSTable1Click(TObject*) {
    OpenView(kUpsView);
}
void TMainForm::ICSISTagetTable1Click(TObject*) {
    OpenView(EmptyTable("iSCSI Taget Table: "));
}
void TMainForm::iSCSILUNTable1Click(TObject*) {
    OpenView(EmptyTable("iSCSI LUN Table: "));
}
void TMainForm::iSCSIACLTable1Click(TObject*) {
    OpenView(EmptyTable("iSCSI ACL Table: "));
}
void TMainForm::AMAZONS3Table1Click(TObject*) {
    OpenView(EmptyTable("AMAZON S3 Table: "));
}
void TMainForm::ConnectionTable1Click(TObject*) {
    OpenView(EmptyTable("Connection Table: "));
}
void TMainForm::PortForwardingTable1Click(TObject*) {
    OpenView(EmptyTable("Port Forwarding Table: "));
}

void TMainForm::About1Click(TObject*) {
    AboutFormScope scope(new TAboutForm(Application));
    AboutForm->ShowModal();
}

void TMainForm::Help2Click(TObject*) {}

void TMainForm::RefreshPanel1Click(TObject*) {
    // The picture is a fixed image: the answer changes nothing.
    MessageDlg(kRefreshPanelQuestion, mtConfirmation, mbOK | mbCancel, 0);
}
