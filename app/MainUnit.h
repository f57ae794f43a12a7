#pragma once
// TMainForm: the module's main window. It shows the device's front panel, carries the
// device address in its caption and offers the "Device Information" menu of views; every
// view opens as a modal configuration window bound to one SNMP request.
//
// Its constructor runs the launch: it creates the SNMP session, reads the registry, loads
// the message files and applies the command-line switches and the device's .cfg file to
// the default records. The first activation embeds the front-panel picture.
#include <string>

#include "platform/widgets/ComCtrls.h"
#include "platform/widgets/Forms.h"
#include "platform/widgets/Menus.h"

class TKSV720EPanelForm;

inline constexpr char kRefreshPanelQuestion[] = "Refresh panel may take a long time. Are you sure?";

class TMainForm : public TForm {
public:
    // Raises what the launch raises (session errors, conversion errors, a registry value of
    // the wrong type); without command-line arguments it says so and terminates the
    // application.
    explicit TMainForm(TComponent* owner);
    ~TMainForm() override;

    // ---- Components (owned by the window, named as in its form description) -----------
    TScrollBox* ScrollBox1;
    TStatusBar* StatusBar;
    TMainMenu* MainMenu1;
    TMenuItem* Configuration1;  // "Device Information"
    TMenuItem* NASAgentTable1;
    TMenuItem* VolumeInformation1;
    TMenuItem* SystemInformation1;
    TMenuItem* DiskInformation1;
    TMenuItem* RAIDInformation1;
    TMenuItem* iSCSIInformation1;
    TMenuItem* N1;
    TMenuItem* DistributedFileSystem1;
    TMenuItem* NetworkFileSystemTable1;
    TMenuItem* VolumeSnapShot1;
    TMenuItem* VirtualVolumeTable1;
    TMenuItem* N2;
    TMenuItem* iSOTable1;
    TMenuItem* LogServerTable1;
    TMenuItem* UPSTable1;
    TMenuItem* ICSISTagetTable1;
    TMenuItem* iSCSILUNTable1;
    TMenuItem* iSCSIACLTable1;
    TMenuItem* AMAZONS3Table1;
    TMenuItem* ConnectionTable1;
    TMenuItem* PortForwardingTable1;
    TMenuItem* Help1;
    TMenuItem* Help2;
    TMenuItem* About1;
    TMenuItem* RefreshPanel2;  // "Refresh", a command on the menu bar itself

    // ---- Texts --------------------------------------------------------------------------
    // The device address given with /I; the window's caption.
    std::string AddressText;
    // "Version" as last read from the .cfg file.
    std::string VersionText;
    // The caption of the last opened view window.
    std::string ViewTitle;

    // The embedded front-panel picture; null until the first activation.
    TKSV720EPanelForm* PanelForm = nullptr;
    bool Activated() const { return activated_; }

    // Shows the views this module serves and hides the others.
    void ApplyDeviceMenu();
    // Puts the picture form into the scroll box and fits the client area to it.
    void EmbedPanelPicture();

    // ---- Event handlers -------------------------------------------------------------------
    void FormCreate(TObject* sender);
    void FormActivate(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);

    // The views: each opens its configuration window modally and returns when it has closed.
    void NASAgentTable1Click(TObject* sender);
    void VolumeInformation1Click(TObject* sender);
    void SystemInformation1Click(TObject* sender);
    void DiskInformation1Click(TObject* sender);
    void RAIDInformation1Click(TObject* sender);
    void iSCSIInformation1Click(TObject* sender);
    void DistributedFileSystem1Click(TObject* sender);
    void NetworkFileSystemTable1Click(TObject* sender);
    void VolumeSnapShot1Click(TObject* sender);
    void VirtualVolumeTable1Click(TObject* sender);
    void iSOTable1Click(TObject* sender);
    void LogServerTable1Click(TObject* sender);
    void UPSTable1Click(TObject* sender);
    void ICSISTagetTable1Click(TObject* sender);
    void iSCSILUNTable1Click(TObject* sender);
    void iSCSIACLTable1Click(TObject* sender);
    void AMAZONS3Table1Click(TObject* sender);
    void ConnectionTable1Click(TObject* sender);
    void PortForwardingTable1Click(TObject* sender);

    void About1Click(TObject* sender);
    void Help2Click(TObject* sender);
    void RefreshPanel1Click(TObject* sender);

    struct ViewSpec;

private:
    void BuildForm();
    TMenuItem* AddItem(TMenuItem* parent, const char* name, const char* caption, bool visible,
                       void (TMainForm::*handler)(TObject*));
    void OpenView(const ViewSpec& view);
    void Launch();

    bool activated_ = false;
};
