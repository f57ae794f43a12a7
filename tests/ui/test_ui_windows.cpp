// The configuration windows against the real snmpd: the first refresh, Refresh and Close
// during a walk, the keyboard, and Set, Set Checked, Check All, Clear Checks, Edit, Add and
// Delete on the writable test views, each checked afterwards with net-snmp's own tools.
#include <QTableWidget>
#include <sstream>

#include "mib/Oid_ksv_720e.h"
#include "ui_test_support.h"

namespace uitest {
namespace {

using Names = std::vector<std::string>;

std::string Trim(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

class WindowsTest : public UiTest {
protected:
    void StartAgent(std::vector<std::string> dataSets = {"device", "uiviews"}) {
        StartSession();
        agent = std::make_unique<testagent::SnmpdAgent>(testagent::DataSets(std::move(dataSets)));
        agent->Start();
        UseAgent(*agent);
    }

    // What the agent holds: the value snmpget prints (strings without their quotes).
    std::string AgentValue(const std::string& oid) const {
        const testagent::ToolResult r = testagent::RunTool(
            "snmpget -v2c -c public -Oqv 127.0.0.1:" + std::to_string(agent->Port()) + " " + oid);
        EXPECT_EQ(r.exitCode, 0) << r.output;
        std::string value = Trim(r.output);
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        return value;
    }
    // The row indexes of the share table the agent lists in a walk.
    std::vector<std::string> AgentRows() const {
        const testagent::ToolResult r = testagent::RunTool(
            "snmpwalk -v2c -c public -Oqn 127.0.0.1:" + std::to_string(agent->Port()) + " " +
            Uiv(".20.1.4"));
        EXPECT_EQ(r.exitCode, 0) << r.output;
        std::vector<std::string> rows;
        const std::string prefix = Uiv(".20.1.4.");
        std::istringstream lines(r.output);
        for (std::string line; std::getline(lines, line);)
            if (line.rfind(prefix, 0) == 0 && line.find("No more variables") == std::string::npos)
                rows.push_back(line.substr(prefix.size(), line.find(' ') - prefix.size()));
        return rows;
    }

    static std::string Cell(TListView* list, int row, int column) {
        TListItem* item = list->Items()[row];
        return column == 0 ? item->Caption() : item->SubItems()[column - 1];
    }
    // Clicks a row of the list as the user does (selection, then the click handler).
    static void ClickRow(TListView* list, int row) {
        auto* table = static_cast<QTableWidget*>(list->Widget());
        const QRect rect = table->visualItemRect(table->item(row, 1));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, rect.center());
    }
    static bool WalkDone(const View& view) {
        return !view.binding->active && view.Strip()->SimpleText().find("Get: Ok!") == 0;
    }

    std::unique_ptr<testagent::SnmpdAgent> agent;
};

// ---- Reading ------------------------------------------------------------------------------

TEST_F(WindowsTest, FirstRefreshRunsInTheModalLoop) {
    StartAgent();
    View view = EditorView(SeveralWritableVars(), "Several: 127.0.0.1");
    bool modalAtFirstGet = false;
    int gets = 0;
    view.binding->OnBeforeGet = [&] {
        if (gets++ == 0) modalAtFirstGet = view.form->Modal();
    };
    // Messages that run while the caller is still setting the window up start nothing.
    for (int i = 0; i < 5; ++i) ProcessMessages();
    EXPECT_EQ(gets, 0);
    EXPECT_EQ(view.Edits()->Row(3).Edit()->Text(), "");

    RunModal(view.form, [&] {
        EXPECT_TRUE(WaitFor([&] { return view.Edits()->Row(3).Edit()->Text() == "SN-0042"; }));
        EXPECT_TRUE(WaitFor([&] { return !view.binding->active; }));
        SaveScreenshot(view.form, "editor-window");
        view.Column()->CloseBtn->Click();
    });
    EXPECT_EQ(gets, 1);
    EXPECT_TRUE(modalAtFirstGet);
    EXPECT_EQ(view.Edits()->Row(0).Edit()->Text(), "ops@example.net");
    EXPECT_EQ(view.Edits()->Row(1).Combo()->Text(), "on");
    EXPECT_EQ(view.Edits()->Row(2).Edit()->Text(), "192.0.2.1");
    EXPECT_EQ(view.Strip()->SimpleText().rfind("Get: Ok! Receive at ", 0), 0u)
        << view.Strip()->SimpleText();
    EXPECT_TRUE(view.form->Bindings().empty());  // FormClose let go of the list
    EXPECT_FALSE(view.binding->request.enabled);
}

TEST_F(WindowsTest, WalksAreNotStartedTwiceAndCloseWaitsForThem) {
    StartAgent({"device", "large300"});
    // Refresh while the walk runs starts nothing; the count follows the rows meanwhile.
    {
        View view = TableView(VolumeInfoVars, nullptr, nullptr, -1, "Volumes: 127.0.0.1");
        int gets = 0;
        view.binding->OnBeforeGet = [&] { ++gets; };
        TListView* list = view.table->ListViewPanel->ListView1;
        RunModal(view.form, [&] {
            ASSERT_TRUE(WaitFor([&] { return list->Items().Count() >= 5; }));
            ASSERT_TRUE(view.binding->active);
            view.Column()->RefreshBtn->Click();
            EXPECT_EQ(gets, 1);
            const int shown = std::stoi(view.Column()->CountText->Caption());
            EXPECT_GE(shown, 5);
            EXPECT_LT(shown, 300);
            EXPECT_TRUE(WaitFor([&] { return WalkDone(view); }, 60000));
            EXPECT_EQ(list->Items().Count(), 300);
            EXPECT_EQ(view.Column()->CountText->Caption(), "300");
            view.Column()->CloseBtn->Click();
        });
        EXPECT_EQ(gets, 1);
    }
    // Close during a walk: the window waits in its close handler until the request ends.
    {
        View view = TableView(VolumeInfoVars, nullptr, nullptr, -1, "Volumes: 127.0.0.1");
        bool modalAtEnd = false;
        view.binding->OnAfterGet = [&] { modalAtEnd = view.form->Modal(); };
        TListView* list = view.table->ListViewPanel->ListView1;
        RunModal(view.form, [&] {
            ASSERT_TRUE(WaitFor([&] { return list->Items().Count() >= 5; }));
            ASSERT_TRUE(view.binding->active);
            view.Column()->CloseBtn->Click();
        });
        EXPECT_FALSE(view.binding->active);
        EXPECT_TRUE(modalAtEnd);
        EXPECT_LT(list->Items().Count(), 300);
        EXPECT_NE(view.Strip()->SimpleText().find("Stop, SNMP Request is not active."),
                  std::string::npos)
            << view.Strip()->SimpleText();
    }
    // Opening the Edit window stops the walk first (a table of read-only columns: no set
    // button, every row disabled).
    {
        View view = TableView(VolumeInfoVars, nullptr, nullptr, -1, "Volumes: 127.0.0.1");
        TListView* list = view.table->ListViewPanel->ListView1;
        bool walkStopped = false;
        Names subColumn;
        int enabledRows = -1;
        RunModal(view.form, [&] {
            ASSERT_TRUE(WaitFor([&] { return list->Items().Count() >= 5; }));
            ASSERT_TRUE(view.binding->active);
            EXPECT_FALSE(view.Column()->EditBtn->Visible());
            list->SetSelected(list->Items()[0]);
            WhenSubWindow(" (Edit)", [&](TForm* sub) {
                walkStopped = !view.binding->active;
                auto* panel = dynamic_cast<TSNMPPanel*>(view.Edits()->Parent()->Parent());
                ASSERT_NE(panel, nullptr);
                subColumn = VisibleColumn(panel->ButtonColumn);
                enabledRows = view.Edits()->CountCheckableRows();
                sub->Close();
            });
            view.table->ListViewDblClick(list);
            EXPECT_TRUE(WaitFor([&] { return !view.binding->active; }, 60000));
            view.Column()->CloseBtn->Click();
        });
        EXPECT_TRUE(walkStopped);
        EXPECT_EQ(subColumn, (Names{"CloseBtn"}));
        EXPECT_EQ(enabledRows, 0);
    }
}

// A window that is closed while a synchronous walk of its binding lets messages run (the
// rows of a walk do) closes once the walk has ended, instead of waiting for it from inside.
TEST_F(WindowsTest, CloseDuringASynchronousWalkClosesAfterIt) {
    StartAgent({"device", "large300"});
    View view = TableView(VolumeInfoVars, nullptr, nullptr, -1, "Volumes: 127.0.0.1");
    TListView* list = view.table->ListViewPanel->ListView1;
    view.binding->mode = 0;
    bool closedWhileActive = false;
    view.binding->OnBeforeGet = [&] {
        QTimer::singleShot(0, [&] {
            closedWhileActive = view.binding->active;
            view.form->Close();
        });
    };
    view.form->Show();
    EXPECT_TRUE(WaitFor([&] { return !view.form->Visible(); }, 60000));
    EXPECT_TRUE(closedWhileActive);
    EXPECT_FALSE(view.binding->active);
    EXPECT_GT(list->Items().Count(), 0);
    EXPECT_LT(list->Items().Count(), 300);
    EXPECT_TRUE(view.form->Bindings().empty());
}

// ---- Editor windows -----------------------------------------------------------------------

TEST_F(WindowsTest, SetSendsTheOneWritableVariable) {
    StartAgent();
    View view = EditorView(OneWritableVars());
    RunModal(view.form, [&] {
        ASSERT_TRUE(WaitFor([&] { return view.Edits()->Row(1).Edit()->Text() == "KSV-720E"; }));
        ASSERT_TRUE(WaitFor([&] { return !view.binding->active; }));
        EXPECT_EQ(view.Column()->SetCheckBtn->Caption(), "Set");
        view.Edits()->Row(0).Edit()->SetText("rack-7 / row B");
        view.Column()->SetCheckBtn->Click();
        EXPECT_TRUE(view.form->Visible());  // the editor stays open
        view.Column()->CloseBtn->Click();
    });
    EXPECT_TRUE(boxes.empty()) << boxes[0].text;
    EXPECT_EQ(view.Strip()->SimpleText().rfind("Set: Ok!", 0), 0u) << view.Strip()->SimpleText();
    EXPECT_EQ(AgentValue(Uiv(".1.0")), "rack-7 / row B");
    EXPECT_EQ(AgentValue(Uiv(".2.0")), "KSV-720E");
    EXPECT_EQ(view.binding->mode, 1);
}

TEST_F(WindowsTest, RefusedSetIsReportedInAMessageBox) {
    StartAgent();
    // The agent serves the model read-only; the view claims it can be set.
    static const SnmpVarDef vars[] = {
        UIV_VAR(UIV ".2", "Model", SYNTAX_DISPLAYSTR, ACCESS_READWRITE, nullptr),
        UIV_END,
    };
    View view = EditorView(vars);
    RunModal(view.form, [&] {
        ASSERT_TRUE(WaitFor([&] { return WalkDone(view); }));
        view.Edits()->Row(0).Edit()->SetText("KSV-999");
        view.Column()->SetCheckBtn->Click();
        EXPECT_TRUE(view.form->Visible());
        view.Column()->CloseBtn->Click();
    });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "(SNMP) Cannot create/set variable, Not Writable!");
    EXPECT_EQ(boxes[0].caption, "KSV-720E Test");
    EXPECT_EQ(view.Strip()->SimpleText().rfind("Get: Ok!", 0), 0u) << view.Strip()->SimpleText();
    EXPECT_EQ(AgentValue(Uiv(".2.0")), "KSV-720E");
    EXPECT_EQ(view.binding->mode, 1);
}

TEST_F(WindowsTest, SetCheckedSendsTheTickedRows) {
    StartAgent();
    View view = EditorView(SeveralWritableVars());
    TEditsPanel* edits = view.Edits();
    std::vector<bool> invalidDuringSet;
    view.binding->OnBeforeSet = [&] {
        invalidDuringSet.clear();
        for (int i = 0; i < view.List().Count(); ++i)
            invalidDuringSet.push_back((view.List().Item(i).access & ACCESS_INVALID) != 0);
    };
    RunModal(view.form, [&] {
        ASSERT_TRUE(WaitFor([&] { return edits->Row(3).Edit()->Text() == "SN-0042"; }));
        ASSERT_TRUE(WaitFor([&] { return !view.binding->active; }));
        TBitBtn* set = view.Column()->SetCheckBtn;
        EXPECT_FALSE(set->Enabled());

        // Only the ticked rows go out; the unticked gateway keeps its value on the agent.
        edits->Row(0).Edit()->SetText("noc@example.net");
        edits->Row(1).Combo()->SetItemIndex(2);  // auto
        edits->Row(2).Edit()->SetText("10.9.8.7");
        edits->Row(1).Check->SetChecked(true);
        edits->Row(0).Check->SetChecked(true);
        EXPECT_TRUE(set->Enabled());
        set->Click();
        // Unticked rows (the read-only serial too) are out of the set while it runs.
        EXPECT_EQ(invalidDuringSet, (std::vector<bool>{false, false, true, true}));
        EXPECT_EQ(AgentValue(Uiv(".11.0")), "noc@example.net");
        EXPECT_EQ(AgentValue(Uiv(".12.0")), "3");
        EXPECT_EQ(AgentValue(Uiv(".13.0")), "192.0.2.1");

        // Check All takes the gateway in as well.
        view.Column()->CheckAllBtn->Click();
        EXPECT_EQ(edits->CountCheckedRows(), 3);
        edits->Row(0).Edit()->SetText("all@example.net");
        set->Click();
        EXPECT_EQ(invalidDuringSet, (std::vector<bool>{false, false, false, true}));
        EXPECT_EQ(AgentValue(Uiv(".11.0")), "all@example.net");
        EXPECT_EQ(AgentValue(Uiv(".13.0")), "10.9.8.7");

        // Clear Checks: nothing ticked, nothing to send.
        view.Column()->ClearChecksBtn->Click();
        EXPECT_EQ(edits->CountCheckedRows(), 0);
        EXPECT_FALSE(set->Enabled());
        view.Column()->CloseBtn->Click();
    });
    EXPECT_TRUE(boxes.empty()) << boxes[0].text;
    // The marks of a set are gone afterwards.
    for (int i = 0; i < view.List().Count(); ++i)
        EXPECT_EQ(view.List().Item(i).access & ACCESS_INVALID, 0) << i;
    EXPECT_EQ(AgentValue(Uiv(".14.0")), "SN-0042");
}

TEST_F(WindowsTest, EditorWorksByKeyboardAlone) {
    StartAgent();
    View view = EditorView(SeveralWritableVars());
    TEditsPanel* edits = view.Edits();
    std::vector<std::string> order;
    RunModal(view.form, [&] {
        ASSERT_TRUE(QTest::qWaitForWindowActive(view.form->Widget()));
        ASSERT_TRUE(WaitFor([&] { return edits->Row(3).Edit()->Text() == "SN-0042"; }));
        ASSERT_TRUE(WaitFor([&] { return !view.binding->active; }));
        auto focused = [&] {
            TWinControl* c = view.form->ActiveControl();
            return c ? c->AccessibleName() : std::string("(none)");
        };
        auto key = [&](Qt::Key k) {
            QTest::keyClick(QApplication::focusWidget(), k);
            ProcessMessages();
        };
        // Tab from the first control: the rows, then the command column.
        edits->Row(0).Check->SetFocus();
        ProcessMessages();
        for (int i = 0; i < 10; ++i) {
            order.push_back(focused());
            view.form->SelectNext(true);
            ProcessMessages();
        }
        // Tick the contact, type a new one and set it, all from the keyboard.
        edits->Row(0).Check->SetFocus();
        ProcessMessages();
        key(Qt::Key_Space);
        EXPECT_TRUE(edits->Row(0).Check->Checked());
        key(Qt::Key_Tab);
        ASSERT_EQ(view.form->ActiveControl(), edits->Row(0).Control);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), "kb@example.net");
        ASSERT_TRUE(view.Column()->SetCheckBtn->Enabled());
        view.Column()->SetCheckBtn->SetFocus();
        ProcessMessages();
        key(Qt::Key_Space);
        EXPECT_EQ(AgentValue(Uiv(".11.0")), "kb@example.net");
        view.Column()->CloseBtn->SetFocus();
        ProcessMessages();
        key(Qt::Key_Return);
    });
    EXPECT_EQ(order,
              (Names{"Check Contact", "Contact", "Check Mode", "Mode", "Check Gateway Address",
                     "Gateway Address", "Refresh", "Check All", "Clear Checks", "Close"}));
    EXPECT_FALSE(view.form->Visible());
}

// ---- Table windows ------------------------------------------------------------------------

TEST_F(WindowsTest, EditChangesTheSelectedRow) {
    StartAgent();
    View view = TableView(ShareTableVars(), "createAndGo", "destroy");
    TListView* list = view.table->ListViewPanel->ListView1;
    TEditsPanel* edits = view.Edits();
    Names subColumn, statusItems;
    std::string subCaption, indexShown;
    RunModal(view.form, [&] {
        ASSERT_TRUE(WaitFor([&] { return WalkDone(view); }));
        EXPECT_EQ(view.Column()->CountText->Caption(), "2");
        SaveScreenshot(view.form, "table-window");
        ClickRow(list, 1);
        ASSERT_EQ(list->Selected(), list->Items()[1]);
        EXPECT_TRUE(view.Column()->EditBtn->Enabled());
        EXPECT_TRUE(view.Column()->DeleteBtn->Enabled());

        WhenSubWindow(" (Edit)", [&](TForm* sub) {
            subCaption = sub->Caption();
            auto* panel = dynamic_cast<TSNMPPanel*>(edits->Parent()->Parent());
            ASSERT_NE(panel, nullptr);
            subColumn = VisibleColumn(panel->ButtonColumn);
            statusItems = edits->Row(kStatusRow).Combo()->Items().ToVector();
            indexShown = edits->Row(0).Edit()->Text();
            EXPECT_FALSE(panel->ButtonColumn->SetCheckBtn->Enabled());
            EXPECT_TRUE(edits->Row(0).Edit()->ReadOnly());  // the index stays
            EXPECT_EQ(edits->Row(1).Edit()->Text(), "backup");
            edits->Row(1).Edit()->SetText("backup-2");
            edits->Row(1).Check->SetChecked(true);
            EXPECT_TRUE(panel->ButtonColumn->SetCheckBtn->Enabled());
            SaveScreenshot(sub, "edit-window");
            panel->ButtonColumn->SetCheckBtn->Click();  // sets and closes the window
        });
        view.Column()->EditBtn->Click();
        EXPECT_TRUE(WaitFor([&] { return WalkDone(view); }));
        view.Column()->CloseBtn->Click();
    });
    EXPECT_EQ(subCaption, "Table: 127.0.0.1 (Edit)");
    EXPECT_EQ(subColumn, (Names{"SetCheckBtn", "CheckAllBtn", "ClearChecksBtn", "CloseBtn"}));
    // Neither the create nor the delete value is offered for an existing row; both are back
    // in their places afterwards.
    EXPECT_EQ(statusItems, (Names{"active", "notInService", "notReady", "createAndWait"}));
    EXPECT_EQ(
        edits->Row(kStatusRow).Combo()->Items().ToVector(),
        (Names{"active", "notInService", "notReady", "createAndGo", "createAndWait", "destroy"}));
    EXPECT_EQ(indexShown, "2");
    EXPECT_TRUE(boxes.empty()) << boxes[0].text;
    EXPECT_EQ(AgentValue(Uiv(".20.1.2.2")), "backup-2");
    EXPECT_EQ(AgentValue(Uiv(".20.1.3.2")), "250");
    EXPECT_EQ(AgentValue(Uiv(".20.1.2.1")), "public");
    EXPECT_EQ(Cell(list, 1, 1), "backup-2");
    // The edits panel is back, hidden, in the table panel.
    EXPECT_EQ(edits->Parent(), view.editor->ClientPanel);
    EXPECT_FALSE(edits->Visible());
}

TEST_F(WindowsTest, AddCreatesARow) {
    StartAgent();
    View view = TableView(ShareTableVars(), "createAndGo", "destroy");
    TListView* list = view.table->ListViewPanel->ListView1;
    TEditsPanel* edits = view.Edits();
    Names subColumn;
    bool indexRowOpen = false, statusRowHidden = false;
    RunModal(view.form, [&] {
        ASSERT_TRUE(WaitFor([&] { return WalkDone(view); }));
        ClickRow(list, 0);
        WhenSubWindow(" (Add)", [&](TForm* sub) {
            (void)sub;
            auto* panel = dynamic_cast<TSNMPPanel*>(edits->Parent()->Parent());
            ASSERT_NE(panel, nullptr);
            subColumn = VisibleColumn(panel->ButtonColumn);
            const UISnmpVar& index = edits->Row(0);
            indexRowOpen = index.Check->Checked() && index.Check->Visible() &&
                           !index.Check->Enabled() && !index.Edit()->ReadOnly();
            const UISnmpVar& status = edits->Row(kStatusRow);
            statusRowHidden = !status.Control->Visible() && !status.Label->Visible() &&
                              status.Combo()->Text() == "createAndGo";
            // The rows start empty.
            EXPECT_EQ(edits->Row(1).Edit()->Text(), "");
            edits->Row(0).Edit()->SetText("9");
            edits->Row(1).Edit()->SetText("media");
            edits->Row(2).Edit()->SetText("512");
            panel->ButtonColumn->CheckAllBtn->Click();
            panel->ButtonColumn->SetCheckBtn->Click();
        });
        view.Column()->AddBtn->Click();
        EXPECT_TRUE(WaitFor([&] { return WalkDone(view) && list->Items().Count() == 3; }));
        EXPECT_EQ(view.Column()->CountText->Caption(), "3");
        view.Column()->CloseBtn->Click();
    });
    EXPECT_EQ(subColumn, (Names{"SetCheckBtn", "CheckAllBtn", "ClearChecksBtn", "CloseBtn"}));
    EXPECT_TRUE(indexRowOpen);
    EXPECT_TRUE(statusRowHidden);
    EXPECT_TRUE(boxes.empty()) << boxes[0].text;
    EXPECT_EQ(AgentRows(), (Names{"1", "2", "9"}));
    EXPECT_EQ(AgentValue(Uiv(".20.1.2.9")), "media");
    EXPECT_EQ(AgentValue(Uiv(".20.1.3.9")), "512");
    EXPECT_EQ(AgentValue(Uiv(".20.1.4.9")), "1");
    EXPECT_EQ(Cell(list, 2, 0), "9");
    EXPECT_EQ(Cell(list, 2, 1), "media");
    EXPECT_EQ(Cell(list, 2, 3), "active");
}

TEST_F(WindowsTest, DeleteRemovesTheSelectedRowAfterConfirmation) {
    StartAgent();
    View view = TableView(ShareTableVars(), "createAndGo", "destroy");
    TListView* list = view.table->ListViewPanel->ListView1;
    RunModal(view.form, [&] {
        ASSERT_TRUE(WaitFor([&] { return WalkDone(view); }));
        // The keyboard picks rows too.
        list->SetFocus();
        QTest::keyClick(list->Widget(), Qt::Key_Down);
        ASSERT_NE(list->Selected(), nullptr);
        EXPECT_TRUE(view.Column()->EditBtn->Enabled());
        EXPECT_TRUE(view.Column()->DeleteBtn->Enabled());
        // A click below the last row selects nothing and empties the editor rows.
        ClickRow(list, 0);
        EXPECT_EQ(view.Edits()->Row(1).Edit()->Text(), "public");
        auto* table = static_cast<QTableWidget*>(list->Widget());
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                          QPoint(10, table->viewport()->height() - 5));
        EXPECT_EQ(list->Selected(), nullptr);
        EXPECT_FALSE(view.Column()->EditBtn->Enabled());
        EXPECT_FALSE(view.Column()->DeleteBtn->Enabled());
        EXPECT_EQ(view.Edits()->Row(1).Edit()->Text(), "");

        ClickRow(list, 0);
        nextAnswer = IDCANCEL;
        view.Column()->DeleteBtn->Click();
        EXPECT_EQ(list->Items().Count(), 2);
        ClickRow(list, 0);
        nextAnswer = IDOK;
        view.Column()->DeleteBtn->Click();
        // The table is walked again before the handler returns.
        EXPECT_EQ(list->Items().Count(), 1);
        EXPECT_EQ(view.Column()->CountText->Caption(), "1");
        EXPECT_FALSE(view.Column()->DeleteBtn->Enabled());
        view.Column()->CloseBtn->Click();
    });
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "Are you sure to delete it?");
    EXPECT_EQ(boxes[0].flags, static_cast<unsigned>(MB_OKCANCEL | MB_ICONQUESTION));
    EXPECT_EQ(AgentRows(), (Names{"2"}));
    EXPECT_EQ(AgentValue(Uiv(".20.1.2.2")), "backup");
    EXPECT_EQ(Cell(list, 0, 1), "backup");
    EXPECT_EQ(view.binding->mode, 1);
    for (int i = 0; i < view.List().Count(); ++i)
        EXPECT_EQ(view.List().Item(i).access & ACCESS_INVALID, 0) << i;
}

}  // namespace
}  // namespace uitest
