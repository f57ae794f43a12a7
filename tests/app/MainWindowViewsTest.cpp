// The views of the main window's menu against the real snmpd with the device's data: each
// opens its configuration window through the menu, reads or walks the device and closes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "MainWindowTestSupport.h"
#include "binding/HvSNMPRequest2Edits.h"
#include "snmp/HvSNMPSession.h"
#include "tests/agent/ScriptedResponder.h"
#include "tests/agent/SnmpdAgent.h"
#include "ui/GUIEditsPanel.h"
#include "ui/GUIListViewPanel.h"

namespace {

using apptest::MainWindowTest;
using apptest::RunView;
using apptest::WaitFor;
using ::testing::StartsWith;

// Every view: its item, the window title, the kind of window, the number of variables and
// the request's timeout (0: the module's default).
struct ViewRow {
    TMenuItem* TMainForm::*item;
    const char* title;
    uint8_t formType;
    int variables;
    int timeout;
};
constexpr uint8_t kEditor = TConfigForm::ftEditor;
constexpr uint8_t kTable = TConfigForm::ftListView;
const ViewRow kViews[] = {
    {&TMainForm::NASAgentTable1, "Agent Version Information: ", kEditor, 7, 800},
    {&TMainForm::VolumeInformation1, "Volume Information Table: ", kTable, 6, 0},
    {&TMainForm::SystemInformation1, "System Information Table: ", kTable, 0, 0},
    {&TMainForm::DiskInformation1, "Disk Information Table: ", kTable, 6, 500},
    {&TMainForm::RAIDInformation1, "RAID Information Table: ", kTable, 0, 0},
    {&TMainForm::iSCSIInformation1, "iSCSI Information Table: ", kTable, 0, 0},
    {&TMainForm::DistributedFileSystem1, "Distributed File System Table: ", kTable, 0, 0},
    {&TMainForm::NetworkFileSystemTable1, "Network File System Table: ", kTable, 0, 0},
    {&TMainForm::VolumeSnapShot1, "Volume Snapshot Table: ", kTable, 0, 0},
    {&TMainForm::VirtualVolumeTable1, "Virtual Volume Table: ", kTable, 0, 0},
    {&TMainForm::iSOTable1, "ISO Information Table: ", kTable, 0, 0},
    {&TMainForm::LogServerTable1, "Log Server Table: ", kTable, 0, 0},
    {&TMainForm::UPSTable1, "UPS Information Table: ", kTable, 6, 0},
    {&TMainForm::ICSISTagetTable1, "iSCSI Taget Table: ", kTable, 0, 0},
    {&TMainForm::iSCSILUNTable1, "iSCSI LUN Table: ", kTable, 0, 0},
    {&TMainForm::iSCSIACLTable1, "iSCSI ACL Table: ", kTable, 0, 0},
    {&TMainForm::AMAZONS3Table1, "AMAZON S3 Table: ", kTable, 0, 0},
    {&TMainForm::ConnectionTable1, "Connection Table: ", kTable, 0, 0},
    {&TMainForm::PortForwardingTable1, "Port Forwarding Table: ", kTable, 0, 0},
};

// The cells of a table window's list, row by row (the first cell is the row's caption).
std::vector<std::vector<std::string>> Cells(TConfigForm& form) {
    std::vector<std::vector<std::string>> rows;
    TListView* view = form.ListViewPanel()->ListViewPanel->ListView1;
    for (int r = 0; r < view->Items().Count(); ++r) {
        TListItem* item = view->Items().Item(r);
        std::vector<std::string> row{item->Caption()};
        for (int c = 0; c < item->SubItems().Count(); ++c) row.push_back(item->SubItems()[c]);
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::string> ColumnCaptions(TConfigForm& form) {
    std::vector<std::string> captions;
    TListView* view = form.ListViewPanel()->ListViewPanel->ListView1;
    for (int c = 0; c < view->Columns().Count(); ++c)
        captions.push_back(view->Columns().Items(c)->Caption());
    return captions;
}

std::string StripText(TConfigForm& form) {
    return form.EditorPanel()->MessageStrip()->StatusBar->SimpleText();
}

class MainWindowViewsTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        agent_.Start();
    }
    // The main window as the console starts it for the agent (SNMPv2c through the .cfg).
    TMainForm* LaunchForAgent() {
        WriteHelpPathKey();
        WriteCfg("127.0.0.1", apptest::CommunityCfg(agent_.Port(), 1));
        TMainForm* form = Launch({"/I127.0.0.1", "/Rpublic", "/Wprivate", "/v1"});
        form->Show();
        EXPECT_TRUE(WaitFor([&] { return form->Activated(); }));
        return form;
    }

    testagent::SnmpdAgent agent_;
};

// Runs every view through the menu; KSV_VIEW_ROUNDS (default 1) repeats the whole menu, so
// that a leak check sees every window opened and closed many times.
TEST_F(MainWindowViewsTest, EveryViewOpensWithItsCaptionAndCloses) {
    TMainForm* main = LaunchForAgent();
    ASSERT_EQ(GlobalDevice.Port, agent_.Port());
    const char* roundsText = std::getenv("KSV_VIEW_ROUNDS");
    const int rounds = roundsText ? std::max(1, std::atoi(roundsText)) : 1;
    for (int round = 0; round < rounds; ++round) {
        for (const ViewRow& view : kViews) {
            const std::string title = std::string(view.title) + "127.0.0.1";
            SCOPED_TRACE(title);
            const bool inspected = RunView(main->*view.item, [&](TConfigForm& form) {
                EXPECT_EQ(form.Caption(), title);
                EXPECT_EQ(form.Owner(), Application);
                EXPECT_EQ(form.FormType, view.formType);
                ASSERT_EQ(form.Bindings().size(), 1u);
                HvSNMPRequest2Edits* binding = form.Bindings()[0];
                EXPECT_EQ(binding->request.List().Count(), view.variables);
                EXPECT_EQ(binding->request.timeout, view.timeout ? view.timeout : DefaultTimeout);
                if (view.formType == kTable) {
                    TListView* list = form.ListViewPanel()->ListViewPanel->ListView1;
                    EXPECT_EQ(list->Columns().Count(), view.variables);
                    EXPECT_EQ(list->Items().Count() > 0, view.variables > 0);
                }
                if (view.variables > 0) {
                    EXPECT_THAT(StripText(form), StartsWith("Get: Ok!"));
                }
            });
            EXPECT_TRUE(inspected);
            EXPECT_EQ(main->ViewTitle, title);
            EXPECT_EQ(apptest::ViewWindowCount(), 0);  // destroyed after its modal loop
            EXPECT_TRUE(main->Visible());
            // Close gives the activation back to the main window.
            EXPECT_TRUE(WaitFor([&] { return main->Active(); }));
            if (::testing::Test::HasFatalFailure() || !inspected) return;
        }
    }
    EXPECT_EQ(main->Caption(), "127.0.0.1");
    // No view, with or without variables, had anything to complain about.
    EXPECT_TRUE(boxes_.empty()) << boxes_.front().text;
}

TEST_F(MainWindowViewsTest, AgentVersionViewShowsItsSevenValues) {
    TMainForm* main = LaunchForAgent();
    EXPECT_TRUE(RunView(main->NASAgentTable1, [](TConfigForm& form) {
        TEditsPanel* edits = form.EditorPanel()->EditsPanel;
        const std::vector<std::pair<std::string, std::string>> expected = {
            {"Agent Version", "2.1.4"},
            {"Software Version", "KSV-720E FW 3.02.17"},
            {"Host Name", "nas-archive-01"},
            {"FTP Server", "Enabled"},
            {"Net Type", "1000BASE-T Full Duplex"},
            {"Temperature", "41 C"},
            {"Fan Status", "Normal"},
        };
        ASSERT_EQ(edits->RowCount(), static_cast<int>(expected.size()));
        for (int i = 0; i < edits->RowCount(); ++i) {
            EXPECT_EQ(edits->Row(i).Label->Caption(), expected[i].first);
            EXPECT_EQ(edits->Row(i).ControlText(), expected[i].second);
            EXPECT_EQ(edits->Row(i).Control->Width(), 175);
            EXPECT_EQ(edits->Row(i).Kind, UISnmpVar::kReadOnly);
        }
        EXPECT_EQ(edits->EditWidth(), 175);
        EXPECT_THAT(StripText(form), StartsWith("Get: Ok!"));
    }));
}

TEST_F(MainWindowViewsTest, TableViewsListTheDevicesRows) {
    TMainForm* main = LaunchForAgent();
    using Rows = std::vector<std::vector<std::string>>;
    struct Table {
        TMenuItem* item;
        std::vector<std::string> captions;
        Rows rows;
    };
    const Table tables[] = {
        {main->VolumeInformation1,
         {"Number", "Name           ", "File System Type", "Raid Level", "Size             ",
          "Free Space"},
         {{"1", "RAID5-Data", "ext4", "RAID 5", "5.4 TB", "2.1 TB"},
          {"2", "Mirror-Home", "xfs", "RAID 1", "1.8 TB", "1.2 TB"},
          {"3", "Scratch", "ext4", "RAID 0", "3.6 TB", "3.5 TB"}}},
        {main->DiskInformation1,
         {"Number", "Vendor", "Model                  ", "Serial Number", "Temperature",
          "Capacity"},
         {{"1", "Seagate", "ST2000NM0055-1V4104", "ZC20A1B7", "38 C", "2.0 TB"},
          {"2", "Seagate", "ST2000NM0055-1V4104", "ZC20A4K2", "39 C", "2.0 TB"},
          {"3", "WDC     ", "WD2003FYYS-02W0B0", "WD-WMAY03241785", "41 C", "2.0 TB"},
          {"4", "HGST", "HUS724020ALA640", "PN2181P6HD4SMV", "37 C", "2.0 TB"}}},
        {main->UPSTable1,
         {"Number", "Mode      ", "Manufacturer", "Product   ", "Battery Charge", "Status "},
         {{"1", "Standalone", "APC", "Back-UPS RS 1500G", "100 %", "Online"},
          {"2", "Network Slave", "Eaton", "5PX 1500i", "87 %", "On Battery"}}},
    };
    for (const Table& table : tables) {
        SCOPED_TRACE(table.item->Caption());
        EXPECT_TRUE(RunView(table.item, [&](TConfigForm& form) {
            EXPECT_EQ(ColumnCaptions(form), table.captions);
            EXPECT_EQ(Cells(form), table.rows);
            // The count box shows the number of rows.
            EXPECT_EQ(form.EditorPanel()->ButtonColumn->CountText->Caption(),
                      std::to_string(table.rows.size()));
            // Nothing in these tables is settable: Refresh and Close only.
            TCtrlBtnPanel* column = form.EditorPanel()->ButtonColumn;
            EXPECT_TRUE(column->RefreshBtn->Visible());
            EXPECT_FALSE(column->EditBtn->Visible());
            EXPECT_FALSE(column->AddBtn->Visible());
            EXPECT_FALSE(column->DeleteBtn->Visible());
        }));
    }
}

TEST_F(MainWindowViewsTest, SnmpV3AuthPrivThroughTheCfg) {
    WriteHelpPathKey();
    // The .cfg counts level and protocols from 0: authPriv, HMAC-SHA, DES.
    WriteCfg("127.0.0.1", {{"AgentPort", std::to_string(agent_.Port())},
                           {"Version", "3"},
                           {"SecurityModel", "3"},
                           {"SecurityLevel", "2"},
                           {"SecurityName", testagent::kShaDesUser},
                           {"AuthProtocol", "2"},
                           {"PrivProtocol", "1"},
                           {"AuthPassword", testagent::kShaDesAuthPassword},
                           {"PrivPassword", testagent::kShaDesPrivPassword}});
    TMainForm* main = Launch({"/I127.0.0.1", "/Rpublic", "/Wprivate", "/v3"});
    ASSERT_EQ(GlobalSecurity.Version, 3);
    ASSERT_EQ(GlobalSecurity.SecurityLevel, 3);
    ASSERT_EQ(GlobalSecurity.AuthProtocol, 3);
    ASSERT_EQ(GlobalSecurity.PrivProtocol, 2);
    main->Show();
    EXPECT_TRUE(RunView(main->NASAgentTable1, [](TConfigForm& form) {
        TEditsPanel* edits = form.EditorPanel()->EditsPanel;
        ASSERT_EQ(edits->RowCount(), 7);
        EXPECT_EQ(edits->Row(1).ControlText(), "KSV-720E FW 3.02.17");
        EXPECT_EQ(edits->Row(6).ControlText(), "Normal");
    }));
    EXPECT_TRUE(RunView(main->DiskInformation1, [](TConfigForm& form) {
        ASSERT_EQ(Cells(form).size(), 4u);
        EXPECT_EQ(Cells(form)[3][3], "PN2181P6HD4SMV");
    }));
}

// Replies that never end a walk: closing stops the walk at the next reply and the window
// goes only after its request has ended; the binding is released after the window.
TEST_F(MainWindowViewsTest, CloseDuringAWalkWaitsForItsEnd) {
    testagent::ScriptedResponder endless(testagent::ResponderMode::Normal);
    WriteCfg("127.0.0.1", apptest::CommunityCfg(endless.Port(), 1));
    TMainForm* main = Launch({"/I127.0.0.1", "/Rpublic", "/Wprivate", "/v1"});
    main->Show();
    bool closedWhileActive = false;
    int rowsAtClose = 0;
    QTimer::singleShot(0, [&] {
        TConfigForm* form = nullptr;
        if (!WaitFor([&] { return (form = apptest::OpenViewWindow()) != nullptr; })) {
            ADD_FAILURE() << "no view window";
            Application->Terminate();
            return;
        }
        TListView* list = form->ListViewPanel()->ListViewPanel->ListView1;
        // The walk goes on by itself; close once a few rows are in.
        EXPECT_TRUE(WaitFor([&] { return list->Items().Count() >= 3; }));
        HvSNMPRequest2Edits* binding = form->CurrentBinding();
        closedWhileActive = binding->active;
        form->EditorPanel()->ButtonColumn->CloseBtn->Click();
        rowsAtClose = list->Items().Count();
    });
    main->VolumeInformation1->Action()->trigger();
    EXPECT_TRUE(closedWhileActive);
    EXPECT_GE(rowsAtClose, 3);
    EXPECT_EQ(apptest::ViewWindowCount(), 0);
    // The walk is over: pumping the session sends nothing more for the gone window.
    const int seen = endless.RequestsSeen();
    for (int i = 0; i < 3; ++i) Application->ProcessMessages();
    EXPECT_EQ(endless.RequestsSeen(), seen);
}

// The application ends while a view waits for an agent that never answers: the modal loop
// ends without the window's close handler, so the binding is still active when the window
// goes. Releasing it afterwards waits for the request, and its time-out reaches nothing.
TEST_F(MainWindowViewsTest, TerminatingDuringAReadReleasesWindowAndBinding) {
    testagent::ScriptedResponder silent(testagent::ResponderMode::Silent);
    WriteCfg("127.0.0.1", apptest::CommunityCfg(silent.Port(), 1));
    TMainForm* main = Launch({"/I127.0.0.1", "/Rpublic", "/Wprivate", "/v1"});
    main->Show();
    bool activeAtEnd = false;
    QTimer::singleShot(0, [&] {
        TConfigForm* form = nullptr;
        EXPECT_TRUE(WaitFor([&] { return (form = apptest::OpenViewWindow()) != nullptr; }));
        EXPECT_TRUE(WaitFor([&] { return silent.RequestsSeen() > 0; }));
        activeAtEnd = form && form->CurrentBinding() && form->CurrentBinding()->active;
        Application->Terminate();
    });
    main->UPSTable1->Action()->trigger();
    EXPECT_TRUE(activeAtEnd);
    EXPECT_EQ(apptest::ViewWindowCount(), 0);
    EXPECT_EQ(main->ViewTitle, "UPS Information Table: 127.0.0.1");
}

}  // namespace
