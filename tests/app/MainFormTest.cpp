// The main window without an agent: launch, form, menu, device picture, the Refresh
// question and the About box.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>
#include <QWidget>
#include <string>
#include <vector>

#include "MainWindowTestSupport.h"
#include "app/Panelksv720e.h"
#include "app/about.h"
#include "platform/Exception.h"
#include "platform/widgets/Dialogs.h"
#include "snmp/HvSNMPSession.h"

namespace {

using apptest::MainWindowTest;
using apptest::WaitFor;
namespace fs = std::filesystem;

// The captions of the visible items of a drop-down menu, separators as "-".
std::vector<std::string> VisibleCaptions(const TMenuItem* menu) {
    std::vector<std::string> captions;
    for (int i = 0; i < menu->Count(); ++i)
        if (menu->Items(i)->Visible()) captions.push_back(menu->Items(i)->Caption());
    return captions;
}

int PictureForms(const TMainForm* form) {
    int count = 0;
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (dynamic_cast<TKSV720EPanelForm*>(form->Components(i))) ++count;
    return count;
}

TEST_F(MainWindowTest, LaunchedWindowIsCaptionedWithTheAddress) {
    TMainForm* form = Launch({"/I10.1.1.7", "/Rread", "/Wwrite"});
    EXPECT_EQ(form->AddressText, "10.1.1.7");
    EXPECT_EQ(form->Caption(), "10.1.1.7");
    EXPECT_EQ(form->VersionText, "");
    EXPECT_EQ(form->ViewTitle, "");
    EXPECT_EQ(form->Width(), 800);
    EXPECT_EQ(GlobalSecurity.Version, 0);
    EXPECT_EQ(GlobalSecurity.ReadCommunity, "read");
    EXPECT_EQ(GlobalSecurity.WriteCommunity, "write");
    EXPECT_FALSE(Application->Terminated());
    EXPECT_TRUE(boxes_.empty());
    EXPECT_TRUE(fs::exists(dir_ / "HvSNMP_PP_BootCounter"));
    EXPECT_EQ(form->PanelForm, nullptr);
    EXPECT_FALSE(form->Activated());
}

TEST_F(MainWindowTest, WithoutArgumentsTheApplicationTerminates) {
    TMainForm* form = Launch({});
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, "No parameter input");
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(form->Caption(), "");
    Application->Run();  // returns at once
}

TEST_F(MainWindowTest, LaunchErrorLeavesTheConstructor) {
    WriteCfg("10.0.0.5", {{"Version", "3"}});
    SetCommandLine({"ksv720e", "/I10.0.0.5", "/Rx"});
    const int forms = Application->ComponentCount();
    EXPECT_THROW(Application->CreateForm<TMainForm>(), EConvertError);
    EXPECT_EQ(Application->ComponentCount(), forms);
    EXPECT_EQ(Application->MainForm(), nullptr);
}

TEST_F(MainWindowTest, FormIsBuiltFromItsDescription) {
    TMainForm* form = Launch({"/I10.1.1.7"});
    EXPECT_EQ(form->BorderStyle(), bsSingle);
    EXPECT_EQ(form->BorderIcons(), biSystemMenu | biMinimize);
    EXPECT_EQ(form->Color(), clBtnFace);
    EXPECT_EQ(form->Menu(), form->MainMenu1);
    EXPECT_EQ(form->ScrollBox1->Parent(), form);
    EXPECT_EQ(form->ScrollBox1->Align(), alClient);
    EXPECT_FALSE(form->ScrollBox1->AutoScroll());
    EXPECT_FALSE(form->StatusBar->Visible());
    ASSERT_EQ(form->StatusBar->Panels().Count(), 1);
    EXPECT_EQ(form->StatusBar->Panels().Items(0)->Width(), 50);

    // The menu bar: two drop-down menus and the Refresh command.
    TMenuItem* bar = form->MainMenu1->Items();
    ASSERT_EQ(bar->Count(), 3);
    EXPECT_EQ(bar->Items(0), form->Configuration1);
    EXPECT_EQ(bar->Items(1), form->Help1);
    EXPECT_EQ(bar->Items(2), form->RefreshPanel2);
    EXPECT_EQ(form->Configuration1->Caption(), "Device Information");
    EXPECT_EQ(form->RefreshPanel2->Caption(), "Refresh");
    EXPECT_EQ(form->RefreshPanel2->Count(), 0);
    ASSERT_EQ(form->Help1->Count(), 2);
    EXPECT_EQ(form->Help1->Items(0), form->Help2);
    EXPECT_EQ(form->Help1->Items(1), form->About1);
    EXPECT_EQ(form->Help1->Caption(), "Help");
    EXPECT_EQ(form->Help2->Caption(), "Help");
    EXPECT_FALSE(form->Help2->Visible());
    EXPECT_EQ(form->About1->Caption(), "About");

    // The items are the window's components under their designer names.
    for (TMenuItem* item : {form->NASAgentTable1, form->N2, form->PortForwardingTable1,
                            form->About1, form->RefreshPanel2})
        EXPECT_EQ(form->FindComponent(item->Name()), item) << item->Name();
}

// Every item of "Device Information": name, caption, shown initially, shown for this device.
struct MenuRow {
    const char* name;
    const char* caption;
    bool initially;
    bool device;
};
const MenuRow kDeviceMenu[] = {
    {"NASAgentTable1", "Agent Version Information", true, true},
    {"VolumeInformation1", "Volume Information Table", true, true},
    {"SystemInformation1", "System Information Table", true, false},
    {"DiskInformation1", "Disk Information Table", true, true},
    {"RAIDInformation1", "RAID Information Table", false, false},
    {"iSCSIInformation1", "iSCSI Information Table", false, false},
    {"N1", "-", true, true},
    {"DistributedFileSystem1", "Distributed File System Table", true, false},
    {"NetworkFileSystemTable1", "Network File System Table", true, false},
    {"VolumeSnapShot1", "Volume Snapshot Table", true, false},
    {"VirtualVolumeTable1", "Virtual Volume Table", true, false},
    {"N2", "-", true, true},
    {"iSOTable1", "ISO Information Table", true, false},
    {"LogServerTable1", "Log Server Table", true, false},
    {"UPSTable1", "UPS Information Table", true, true},
    {"ICSISTagetTable1", "iSCSI Taget Table", true, false},
    {"iSCSILUNTable1", "iSCSI LUN Table", true, false},
    {"iSCSIACLTable1", "iSCSI ACL Table", true, false},
    {"AMAZONS3Table1", "AMAZON S3 Table", true, false},
    {"ConnectionTable1", "Connection Table", false, false},
    {"PortForwardingTable1", "Port Forwarding Table", false, false},
};

TEST_F(MainWindowTest, WithoutTheHelpPathKeyTheMenuKeepsItsDescription) {
    // A registry file in a missing directory: the maker's key can be neither opened nor made.
    UseRegistry(dir_ / "missing" / "registry.reg");
    TMainForm* form = Launch({"/I10.1.1.7"});
    TMenuItem* views = form->Configuration1;
    ASSERT_EQ(views->Count(), static_cast<int>(std::size(kDeviceMenu)));
    for (int i = 0; i < views->Count(); ++i) {
        SCOPED_TRACE(kDeviceMenu[i].name);
        EXPECT_EQ(views->Items(i)->Name(), kDeviceMenu[i].name);
        EXPECT_EQ(views->Items(i)->Caption(), kDeviceMenu[i].caption);
        EXPECT_EQ(views->Items(i)->Visible(), kDeviceMenu[i].initially);
        EXPECT_EQ(views->Items(i)->IsLine(), std::string(kDeviceMenu[i].caption) == "-");
    }
}

TEST_F(MainWindowTest, WithTheHelpPathKeyTheMenuShowsTheDevicesViews) {
    WriteHelpPathKey();
    TMainForm* form = Launch({"/I10.1.1.7"});
    EXPECT_EQ(
        VisibleCaptions(form->Configuration1),
        (std::vector<std::string>{"Agent Version Information", "Volume Information Table",
                                  "Disk Information Table", "-", "-", "UPS Information Table"}));
    for (int i = 0; i < form->Configuration1->Count(); ++i)
        EXPECT_EQ(form->Configuration1->Items(i)->Visible(), kDeviceMenu[i].device)
            << kDeviceMenu[i].name;
    // The top-level items are left alone.
    EXPECT_TRUE(form->Help1->Visible());
    EXPECT_TRUE(form->About1->Visible());
    EXPECT_TRUE(form->RefreshPanel2->Visible());
}

TEST_F(MainWindowTest, FirstActivationEmbedsThePictureOnce) {
    TMainForm* form = Launch({"/I10.1.1.7"});
    form->Show();
    ASSERT_TRUE(WaitFor([&] { return form->Activated(); }));
    ASSERT_NE(form->PanelForm, nullptr);
    TKSV720EPanelForm* panel = form->PanelForm;
    EXPECT_EQ(panel->Owner(), form);
    EXPECT_EQ(panel->Parent(), form->ScrollBox1);
    EXPECT_EQ(panel->Left(), 0);
    EXPECT_EQ(panel->Top(), 0);
    EXPECT_TRUE(panel->Visible());
    EXPECT_EQ(panel->BorderStyle(), bsNone);
    EXPECT_EQ(panel->Caption(), "KSV720EPanelForm");
    EXPECT_EQ(panel->ClientWidth(), 235);
    EXPECT_EQ(panel->ClientHeight(), 379);
    EXPECT_EQ(form->ClientWidth(), 238);
    EXPECT_EQ(form->ClientHeight(), 383);
    EXPECT_EQ(form->ScrollBox1->Align(), alClient);
    EXPECT_FALSE(form->ScrollBox1->AutoScroll());
    // The photograph from the program's resources.
    ASSERT_FALSE(panel->Image720E->Picture().Empty());
    EXPECT_EQ(panel->Image720E->Picture().Width(), 235);
    EXPECT_EQ(panel->Image720E->Picture().Height(), 381);
    EXPECT_EQ(panel->Image720E->Left(), 0);
    EXPECT_EQ(panel->Image720E->Top(), 0);
    EXPECT_EQ(panel->Image720E->Width(), 236);
    EXPECT_EQ(panel->Image720E->Height(), 385);

    // Activated again (after a modal box): no second picture.
    QTimer::singleShot(0, [] {
        EXPECT_TRUE(WaitFor([] { return AboutForm != nullptr && AboutForm->Active(); }));
        if (AboutForm) AboutForm->BT_Ok->Click();
    });
    form->About1->Action()->trigger();
    EXPECT_TRUE(WaitFor([&] { return form->Active(); }));
    form->FormActivate(form);
    EXPECT_EQ(form->PanelForm, panel);
    EXPECT_EQ(PictureForms(form), 1);
    EXPECT_EQ(form->ClientWidth(), 238);
    EXPECT_EQ(form->ClientHeight(), 383);
}

TEST_F(MainWindowTest, RefreshAsksAndDoesNothingElse) {
    TMainForm* form = Launch({"/I10.1.1.7"});
    const int components = form->ComponentCount();
    for (int answer : {IDOK, IDCANCEL}) {
        boxes_.clear();
        answer_ = answer;
        form->RefreshPanel2->Action()->trigger();
        ASSERT_EQ(boxes_.size(), 1u);
        EXPECT_EQ(boxes_[0].text, "Refresh panel may take a long time. Are you sure?");
        EXPECT_EQ(boxes_[0].flags & 0xF, static_cast<unsigned>(MB_OKCANCEL));
        EXPECT_EQ(boxes_[0].flags & 0xF0, static_cast<unsigned>(MB_ICONQUESTION));
        EXPECT_EQ(form->ComponentCount(), components);
        EXPECT_EQ(apptest::ViewWindowCount(), 0);
    }
    // Help2 does nothing either.
    form->Help2->Click();
    EXPECT_EQ(boxes_.size(), 1u);
}

TEST_F(MainWindowTest, ClosingTheMainWindowEndsTheModule) {
    TMainForm* form = Launch({"/I10.1.1.7"});
    TCloseAction action = caHide;
    form->FormClose(form, action);
    EXPECT_EQ(action, caFree);
    form->Show();
    form->Close();
    EXPECT_TRUE(Application->Terminated());
}

// ---- About box --------------------------------------------------------------------------

// Opens the About box from the menu; `act` runs inside its modal loop once it is active and
// must close it. Returns whether `act` ran.
bool RunAbout(TMainForm* form, const std::vector<apptest::Box>& boxes,
              const std::function<void(TAboutForm&)>& act) {
    bool ran = false;
    QTimer::singleShot(0, [&] {
        // Open, and its OK button holds the keyboard focus.
        const bool open =
            WaitFor([] { return AboutForm != nullptr && AboutForm->BT_Ok->Focused(); });
        EXPECT_TRUE(open);
        EXPECT_TRUE(boxes.empty());
        if (!open) return;
        act(*AboutForm);
        ran = true;
    });
    form->About1->Action()->trigger();
    return ran;
}

TEST_F(MainWindowTest, AboutBoxNamesTheModuleAndItsRelease) {
    TMainForm* form = Launch({"/I10.1.1.7"});
    form->Show();
    const int components = Application->ComponentCount();
    EXPECT_TRUE(RunAbout(form, boxes_, [&](TAboutForm& about) {
        EXPECT_EQ(about.Owner(), Application);
        EXPECT_EQ(about.Caption(), "About KSV-720E Module");
        EXPECT_EQ(about.AboutLabel->Caption(), "Halvora KSV-720E Tellamon Module");
        EXPECT_TRUE(about.AboutLabel->Font().Style() & fsBold);
        EXPECT_EQ(about.VersionLabel->Caption(), "Release Version 1.00");
        EXPECT_FALSE(about.NoticeLabel->Caption().empty());
        EXPECT_EQ(about.NoticeLabel->Caption().find('\n'), std::string::npos);
        EXPECT_EQ(about.imgKSV630->Picture().Width(), 41);
        EXPECT_EQ(about.imgKSV630->Picture().Height(), 44);
        EXPECT_EQ(about.ClientWidth(), 323);
        EXPECT_EQ(about.ClientHeight(), 105);
        EXPECT_EQ(about.BorderStyle(), bsSingle);
        EXPECT_EQ(about.BorderIcons(), biSystemMenu);
        EXPECT_EQ(about.BT_Ok->Caption(), "OK");
        EXPECT_EQ(about.BT_Ok->TabOrder(), 0);
        EXPECT_TRUE(about.BT_Ok->Focused());
        about.BT_Ok->Click();
    }));
    EXPECT_EQ(AboutForm, nullptr);
    EXPECT_EQ(Application->ComponentCount(), components);  // the box is destroyed
}

TEST_F(MainWindowTest, ShiftAltF3OnTheOkButtonShowsTheBuildVersion) {
    TMainForm* form = Launch({"/I10.1.1.7"});
    form->Show();
    struct Case {
        Qt::KeyboardModifiers modifiers;
        int key;
        bool build;
    };
    const Case cases[] = {
        {Qt::NoModifier, Qt::Key_F3, false},
        {Qt::ShiftModifier, Qt::Key_F3, false},
        {Qt::AltModifier, Qt::Key_F3, false},
        {Qt::ShiftModifier | Qt::ControlModifier, Qt::Key_F3, false},
        {Qt::ShiftModifier | Qt::AltModifier, Qt::Key_F2, false},
        {Qt::ShiftModifier | Qt::AltModifier, Qt::Key_F3, true},
    };
    // One opening: the keys in order; the long version appears only with the last one.
    EXPECT_TRUE(RunAbout(form, boxes_, [&](TAboutForm& about) {
        for (const Case& c : cases) {
            QTest::keyClick(about.BT_Ok->Widget(), static_cast<Qt::Key>(c.key), c.modifiers);
            EXPECT_EQ(about.VersionLabel->Caption(),
                      c.build ? "Release Version 1.00D03(Build 2014/4/8)" : "Release Version 1.00")
                << c.key << " " << c.modifiers;
            EXPECT_TRUE(about.Modal());  // none of these keys closes the box
        }
        about.BT_Ok->Click();
    }));
    // A new box each time: the short version again.
    EXPECT_TRUE(RunAbout(form, boxes_, [](TAboutForm& about) {
        EXPECT_EQ(about.VersionLabel->Caption(), "Release Version 1.00");
        about.BT_Ok->Click();
    }));
}

TEST_F(MainWindowTest, EnterOrSpaceOnTheOkButtonCloseTheAboutBox) {
    TMainForm* form = Launch({"/I10.1.1.7"});
    form->Show();
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Space}) {
        bool escapeKeptItOpen = false;
        EXPECT_TRUE(RunAbout(form, boxes_, [&](TAboutForm& about) {
            QTest::keyClick(about.BT_Ok->Widget(), Qt::Key_Escape);
            QTest::keyClick(about.BT_Ok->Widget(), Qt::Key_A);
            escapeKeptItOpen = about.Modal() && about.ModalResult() == mrNone;
            QTest::keyClick(about.BT_Ok->Widget(), key);
        }));
        EXPECT_TRUE(escapeKeptItOpen);
        EXPECT_EQ(AboutForm, nullptr) << key;
    }
}

}  // namespace
