// The binding against the real snmpd: a table walk into the list view, a selected row in the
// edits, and scalar and table sets whose values come from the controls.
#include <stdlib.h>

#include <QTableWidget>
#include <memory>
#include <string>
#include <vector>

#include "binding/HvSNMPRequest2Edits.h"
#include "binding_test_support.h"
#include "mib/Oid_ksv_720e.h"
#include "snmp/HvSNMPSession.h"
#include "tests/snmp/engine_test_util.h"

namespace {

using bindingtest::GuiTest;
using enginetest::B;

std::unique_ptr<testagent::SnmpdAgent> g_agent;

class BindingAgent : public GuiTest {
protected:
    static void SetUpTestSuite() {
        static bool session = false;
        if (!session) {
            char pattern[] = "/tmp/binding_agent_XXXXXX";
            const char* dir = mkdtemp(pattern);
            ASSERT_NE(dir, nullptr);
            CreateGlobalSession(dir);
            session = true;
        }
        g_agent =
            std::make_unique<testagent::SnmpdAgent>(testagent::DataSets({"device", "writable"}));
        g_agent->Start();
    }
    static void TearDownTestSuite() { g_agent.reset(); }

    void SetUp() override {
        GuiTest::SetUp();
        enginetest::UseAgent(*g_agent, enginetest::V2c());
        form = ActiveForm(700, 500);
        binding = std::make_unique<HvSNMPRequest2Edits>(nullptr, form);
    }
    void TearDown() override {
        if (binding) {
            EXPECT_TRUE(WaitInactive());
        }
        binding.reset();
        GuiTest::TearDown();
    }

    bool WaitInactive() {
        return enginetest::PumpUntil(
            [&] { return !binding->active && binding->request.pending == 0; });
    }

    TEdit* NewEdit(int row) {
        auto* edit = new TEdit(form);
        edit->SetParent(form);
        edit->SetBounds(10, 260 + 28 * row, 200, 22);
        return edit;
    }
    TListView* NewView() {
        auto* view = new TListView(form);
        view->SetParent(form);
        view->SetBounds(10, 10, 680, 240);
        return view;
    }
    std::vector<std::vector<std::string>> Rows(TListView* view) {
        std::vector<std::vector<std::string>> rows;
        for (int i = 0; i < view->Items().Count(); ++i) {
            std::vector<std::string> row{view->Items()[i]->Caption()};
            for (const std::string& cell : view->Items()[i]->SubItems().ToVector())
                row.push_back(cell);
            rows.push_back(row);
        }
        return rows;
    }
    void Click(TListView* view, int row) {
        auto* table = static_cast<QTableWidget*>(view->Widget());
        const QRect rect = table->visualItemRect(table->item(row, 1));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, rect.center());
        Settle();
    }

    TForm* form = nullptr;
    std::unique_ptr<HvSNMPRequest2Edits> binding;
};

TEST_F(BindingAgent, AWalkFillsTheListViewAndASelectedRowFillsTheEdits) {
    TListView* view = NewView();
    std::vector<TEdit*> edits;
    binding->request.SetList(HvSNMPVarList(DiskInfoVars, MVT_FMV, 1));
    for (int i = 0; i < 6; ++i) {
        edits.push_back(NewEdit(i));
        binding->AssociateEdits(i, i == 0 ? "%u" : "%s", edits.back());
    }
    binding->AttachListView(view, true);
    ASSERT_EQ(view->Columns().Count(), 6);
    EXPECT_EQ(view->Columns()[0]->Caption(), "Number");
    EXPECT_EQ(view->Columns()[2]->Caption(), "Model                  ");

    for (uint8_t mode : {1, 0}) {
        SCOPED_TRACE(static_cast<int>(mode));
        binding->mode = mode;
        ASSERT_TRUE(binding->StartGet());
        ASSERT_TRUE(WaitInactive());
        const auto expected = enginetest::ExpectedTable(enginetest::DataFileValues("device"), 10);
        ASSERT_EQ(expected.size(), 4u);
        EXPECT_EQ(Rows(view), expected);
        EXPECT_FALSE(edits[1]->Enabled());  // until a row is selected

        Click(view, 2);
        EXPECT_TRUE(edits[1]->Enabled());
        for (size_t i = 0; i < edits.size(); ++i) EXPECT_EQ(edits[i]->Text(), expected[2][i]);
        EXPECT_EQ(edits[1]->Text(), "WDC     ");  // the blanks of the agent's value stay
        Click(view, 0);
        EXPECT_EQ(edits[3]->Text(), expected[0][3]);
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(BindingAgent, ScalarValuesAreShownAndSetFromTheEdits) {
    const std::string name = B + ".20.1", number = B + ".20.2";
    const SnmpVarDef defs[] = {
        {name.c_str(), "Location", SYNTAX_DISPLAYSTR, ACCESS_READWRITE, nullptr, nullptr, nullptr,
         nullptr, nullptr, nullptr},
        {number.c_str(), "Number", SYNTAX_INTEGER, ACCESS_READWRITE, nullptr, nullptr, nullptr,
         nullptr, nullptr, nullptr},
        {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    };
    binding->request.SetList(HvSNMPVarList(defs, SVT_SV, 0));
    TEdit* location = NewEdit(0);
    TEdit* value = NewEdit(1);
    auto* lowByte = new TLabel(form);
    lowByte->SetParent(form);
    binding->AssociateEdits(0, "%s{l20}", location);
    binding->AssociateEdits(1, "%u{x65535}", value);
    binding->AssociateControl(1, 0, SYNTAX_UINT8, nullptr, lowByte);
    binding->mode = 0;
    ASSERT_TRUE(binding->StartGet());
    EXPECT_EQ(location->Text(), "lab-rack-3");
    EXPECT_EQ(value->Text(), "42");
    EXPECT_EQ(lowByte->Caption(), "42");

    // The user edits both; the second keeps its rule.
    Focus(location);
    location->SelectAll();
    Type(location, "rack-9");
    Focus(value);
    value->SelectAll();
    Type(value, "3x00");
    EXPECT_EQ(value->Text(), "300");
    EXPECT_EQ(beeps, 1);
    Leave(value, location);
    EXPECT_TRUE(boxes.empty());

    binding->Dissociate(1);  // the label shows only the low byte; let the edit decide
    binding->AssociateEdits(1, "%u{x65535}", value);
    ASSERT_TRUE(binding->StartSet(false, true, "", nullptr));
    EXPECT_TRUE(boxes.empty()) << boxes.front().text;

    location->SetText("");
    value->SetText("");
    ASSERT_TRUE(binding->StartGet());
    EXPECT_EQ(location->Text(), "rack-9");
    EXPECT_EQ(value->Text(), "300");
}

TEST_F(BindingAgent, ATableSetTakesTheSelectedRowAndTheEditsAndReadsTheTableAgain) {
    const std::string key = B + ".20.4.1.1", port = B + ".20.4.1.2", mtu = B + ".20.4.1.3",
                      state = B + ".20.4.1.4";
    const SnmpVarDef defs[] = {
        {key.c_str(), "Port", SYNTAX_INTEGER, ACCESS_NOTACCESS, nullptr, nullptr, nullptr, nullptr,
         nullptr, nullptr},
        {port.c_str(), "Name", SYNTAX_DISPLAYSTR, ACCESS_READWRITE, nullptr, nullptr, nullptr,
         nullptr, nullptr, nullptr},
        {mtu.c_str(), "MTU", SYNTAX_INTEGER, ACCESS_READWRITE, nullptr, nullptr, nullptr, nullptr,
         nullptr, nullptr},
        {state.c_str(), "State", SYNTAX_DISPLAYSTR, ACCESS_READONLY, nullptr, nullptr, nullptr,
         nullptr, nullptr, nullptr},
        {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    };
    binding->request.SetList(HvSNMPVarList(defs, MVT_FMV, 1));
    TListView* view = NewView();
    TEdit* mtuEdit = NewEdit(0);
    binding->AssociateEdits(2, "%u{n68x9216}", mtuEdit);
    binding->AttachListView(view, false);
    binding->mode = 0;
    ASSERT_TRUE(binding->StartGet());
    using Row = std::vector<std::string>;
    EXPECT_EQ(Rows(view), (std::vector<Row>{{"1", "eth0", "1500", "up"},
                                            {"2", "eth1", "1500", "down"},
                                            {"3", "eth2", "9000", "up"}}));
    Click(view, 2);
    EXPECT_EQ(mtuEdit->Text(), "9000");

    // A value outside the rule never reaches the set: the edit keeps the shown one.
    Focus(mtuEdit);
    mtuEdit->SelectAll();
    Type(mtuEdit, "99999");
    Leave(mtuEdit, view);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, " Please enter a number between 68 and 9216!");
    EXPECT_EQ(mtuEdit->Text(), "9000");
    QTRY_VERIFY(mtuEdit->Focused());

    mtuEdit->SelectAll();
    Type(mtuEdit, "1400");
    ASSERT_TRUE(binding->StartSet(false, true, "", nullptr));
    EXPECT_EQ(boxes.size(), 1u);
    ASSERT_TRUE(binding->StartGet());
    EXPECT_EQ(Rows(view), (std::vector<Row>{{"1", "eth0", "1500", "up"},
                                            {"2", "eth1", "1500", "down"},
                                            {"3", "eth2", "1400", "up"}}));
}

}  // namespace
