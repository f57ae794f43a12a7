// The configuration window's panels without an agent: the command column and its bitmaps, the
// message strip, the rows of the edits panel and their layout, the set buttons by window
// kind, the window's size limits, the set-up errors, the empty-row warning and the row hint.
#include <QAccessible>
#include <QDir>
#include <QImage>
#include <QTableWidget>
#include <QTemporaryDir>
#include <fstream>

#include "mib/Oid_ksv_720e.h"
#include "ui_test_support.h"

namespace uitest {
namespace {

using Names = std::vector<std::string>;

class PanelsTest : public UiTest {};

// ---- Command column ---------------------------------------------------------------------

TEST_F(PanelsTest, ButtonColumnStacksItsControls) {
    TForm form(nullptr);
    auto* column = new TCtrlBtnPanel(&form);
    EXPECT_EQ(column->Parent(), &form);
    EXPECT_EQ(column->Align(), alRight);
    EXPECT_EQ(VisibleColumn(column),
              (Names{"CountText", "SamplesLabel", "RefreshBtn", "EditBtn", "SetCheckBtn",
                     "CheckAllBtn", "ClearChecksBtn", "CloseBtn"}));
    const Names captions{"Refresh", "Edit",      "Set Checked",  "Add",
                         "Delete",  "Check All", "Clear Checks", "Close"};
    const TBitBtn* buttons[] = {column->RefreshBtn,     column->EditBtn,   column->SetCheckBtn,
                                column->AddBtn,         column->DeleteBtn, column->CheckAllBtn,
                                column->ClearChecksBtn, column->CloseBtn};
    for (size_t i = 0; i < captions.size(); ++i) EXPECT_EQ(buttons[i]->Caption(), captions[i]);
    EXPECT_EQ(column->CountText->Caption(), "0");
    EXPECT_EQ(column->SamplesLabel->Caption(), "Samples");
    EXPECT_EQ(column->Width(), 116);

    // Visible controls 5 pixels apart from the top margin on; hidden ones take no space.
    int y = 10;
    for (TControl* control : column->LayoutList) {
        EXPECT_EQ(control->Left(), 10) << control->Name();
        EXPECT_EQ(control->Width(), 96) << control->Name();
        EXPECT_EQ(control->Top(), y) << control->Name();
        if (control->Visible()) y += control->Height() + 5;
    }

    // Aligned to the right, the column takes its parent's height; on its own it ends 10 pixels
    // below Close.
    column->SetAlign(alNone);
    column->ArrangeButtons();
    EXPECT_EQ(column->Height(), column->CloseBtn->Top() + column->CloseBtn->Height() + 10);

    for (TControl* control : column->LayoutList)
        if (control != column->RefreshBtn && control != column->CloseBtn) control->Hide();
    column->ArrangeButtons();
    EXPECT_EQ(column->RefreshBtn->Top(), 10);
    EXPECT_EQ(column->CloseBtn->Top(), 10 + column->RefreshBtn->Height() + 5);
    EXPECT_EQ(column->Width(), 116);
    EXPECT_EQ(column->Height(), column->CloseBtn->Top() + column->CloseBtn->Height() + 10);
}

TEST_F(PanelsTest, ButtonBitmapsComeFromTheCurrentDirectory) {
    struct Case {
        const char* name;
        Names valid;   // bitmap files written as images
        Names broken;  // files that are no image
        Names withoutCaption;
        Names withGlyph;
    };
    const Case cases[] = {
        {"none", {}, {}, {}, {}},
        {"get only", {"Get.bmp"}, {}, {"RefreshBtn"}, {"RefreshBtn"}},
        {"all",
         {"Get.bmp", "Set.bmp", "SetCheck.bmp", "Add.bmp", "Delete.bmp", "SelectAll.bmp",
          "SelectNone.bmp", "Close.bmp"},
         {},
         {"RefreshBtn", "EditBtn", "SetCheckBtn", "AddBtn", "DeleteBtn", "CheckAllBtn",
          "ClearChecksBtn", "CloseBtn"},
         {"RefreshBtn", "EditBtn", "SetCheckBtn", "AddBtn", "DeleteBtn", "CheckAllBtn",
          "ClearChecksBtn", "CloseBtn"}},
        // A file that fails to load ends the loading: its button has lost its caption, the
        // later ones keep theirs even when their files are there.
        {"broken second",
         {"Get.bmp", "SetCheck.bmp", "Close.bmp"},
         {"Set.bmp"},
         {"RefreshBtn", "EditBtn"},
         {"RefreshBtn"}},
    };
    const QString previous = QDir::currentPath();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        for (const std::string& file : c.valid) {
            QImage image(32, 16, QImage::Format_RGB32);
            image.fill(Qt::darkGreen);
            ASSERT_TRUE(image.save(dir.filePath(ToQString(file)), "BMP"));
        }
        for (const std::string& file : c.broken)
            std::ofstream(FromQString(dir.filePath(ToQString(file)))) << "not a bitmap";
        ASSERT_TRUE(QDir::setCurrent(dir.path()));

        TForm form(nullptr);
        auto* column = new TCtrlBtnPanel(&form);
        QDir::setCurrent(previous);
        const std::pair<const char*, TBitBtn*> buttons[] = {
            {"RefreshBtn", column->RefreshBtn},         {"EditBtn", column->EditBtn},
            {"SetCheckBtn", column->SetCheckBtn},       {"AddBtn", column->AddBtn},
            {"DeleteBtn", column->DeleteBtn},           {"CheckAllBtn", column->CheckAllBtn},
            {"ClearChecksBtn", column->ClearChecksBtn}, {"CloseBtn", column->CloseBtn}};
        const Names names{"Refresh", "Edit",      "Set Checked",  "Add",
                          "Delete",  "Check All", "Clear Checks", "Close"};
        for (size_t i = 0; i < std::size(buttons); ++i) {
            const auto& [name, button] = buttons[i];
            const bool noCaption = std::find(c.withoutCaption.begin(), c.withoutCaption.end(),
                                             name) != c.withoutCaption.end();
            const bool glyph =
                std::find(c.withGlyph.begin(), c.withGlyph.end(), name) != c.withGlyph.end();
            EXPECT_EQ(button->Caption(), noCaption ? "" : names[i]) << name;
            EXPECT_EQ(!button->Glyph().Empty(), glyph) << name;
            // The command keeps its name for assistive technology and its tool tip.
            EXPECT_EQ(button->AccessibleName(), names[i]) << name;
            if (noCaption) {
                EXPECT_EQ(button->Hint(), names[i]) << name;
            }
        }
    }
}

TEST_F(PanelsTest, MessageStripWritesIntoItsStatusBar) {
    TForm form(nullptr);
    auto* strip = new TMsgPanel(&form);
    EXPECT_EQ(strip->Parent(), &form);
    EXPECT_EQ(strip->Height(), 20);
    EXPECT_EQ(strip->StatusBar->Height(), 20);
    EXPECT_EQ(strip->StatusBar->Align(), alBottom);
    EXPECT_EQ(strip->MessageSink()->MessageKind(), HvMessageSink::Kind::StatusBar);
    strip->MessageSink()->SetSimpleText("Get: Ok! Receive at 10:11:12.");
    EXPECT_EQ(strip->StatusBar->SimpleText(), "Get: Ok! Receive at 10:11:12.");
}

// ---- Edits panel --------------------------------------------------------------------------

const HvOptionList& StateOptions() {
    static const HvOptionData data[] = {{1, "up"}, {2, "down"}, {0, nullptr}};
    static const HvOptionList list(data, OVK_INTEGER);
    return list;
}

const SnmpVarDef kMixedVars[] = {
    UIV_VAR("1.3.6.1.4.1.43917.50.1.10.1.1.30.11", "Name", SYNTAX_DISPLAYSTR, ACCESS_READWRITE,
            nullptr),
    UIV_VAR("1.3.6.1.4.1.43917.50.1.10.1.1.30.13", "Gateway Address", SYNTAX_IPADDRESS,
            ACCESS_READWRITE, nullptr),
    UIV_VAR("1.3.6.1.4.1.43917.50.1.10.1.1.30.12", "Mode", SYNTAX_INTEGER, ACCESS_READWRITE,
            &ModeOptions()),
    UIV_VAR("1.3.6.1.4.1.43917.50.1.10.1.1.30.15", "Link State", SYNTAX_INTEGER, ACCESS_READONLY,
            &StateOptions()),
    UIV_VAR("1.3.6.1.4.1.43917.50.1.10.1.1.30.14", "Serial", SYNTAX_DISPLAYSTR, ACCESS_READONLY,
            nullptr),
    UIV_END,
};

TEST_F(PanelsTest, RowsGetTheControlOfTheirKind) {
    View view = EditorView(kMixedVars);
    TEditsPanel* edits = view.Edits();
    ASSERT_EQ(edits->RowCount(), 5);
    struct Expect {
        int kind;
        const char* format;
        bool combo;
        bool readOnly;
    };
    const Expect expect[] = {{2, "%s", false, false},
                             {2, "%s{I}", false, false},
                             {3, "%s", true, false},
                             {4, "%s", false, true},
                             {1, "%s", false, true}};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        const UISnmpVar& row = edits->Row(i);
        EXPECT_EQ(row.Kind, expect[i].kind);
        EXPECT_EQ(row.Format, expect[i].format);
        EXPECT_EQ(row.Combo() != nullptr, expect[i].combo);
        EXPECT_EQ(row.Label->Caption(), view.List().Item(i).label);
        // The label names its control, also for assistive technology.
        EXPECT_EQ(row.Label->FocusControl(), row.Control);
        EXPECT_EQ(row.Control->AccessibleName(), view.List().Item(i).label);
        EXPECT_EQ(row.Check->Tag(), i);
        EXPECT_EQ(row.Label->Tag(), i);
        EXPECT_EQ(row.Control->Tag(), expect[i].combo ? 0 : i);
        EXPECT_EQ(row.Control->Parent(), edits->ScrollBox1);
        if (expect[i].readOnly) {
            EXPECT_TRUE(row.Edit()->ReadOnly());
            EXPECT_FALSE(row.Edit()->TabStop());
            EXPECT_EQ(row.Edit()->Color(), clBtnFace);
            EXPECT_EQ(row.Edit()->Font().Color(), clBlack);
            EXPECT_FALSE(row.Check->Visible());
        } else {
            EXPECT_TRUE(row.Control->Enabled());
            EXPECT_EQ(row.Control->Color(), clWhite);
            EXPECT_TRUE(row.Check->Visible());
            EXPECT_TRUE(row.Check->TabStop());
        }
    }
    EXPECT_EQ(edits->Row(2).Combo()->Style(), csDropDownList);
    EXPECT_EQ(edits->Row(2).Combo()->Items().ToVector(), (Names{"off", "on", "auto"}));
    EXPECT_EQ(edits->CountCheckableRows(), 3);
    EXPECT_FALSE(edits->HasNoSettableRows());

    // A read-only row with value names shows the name.
    view.List().Item(3).value = "down";
    view.binding->ShowValues(3);
    EXPECT_EQ(edits->Row(3).Edit()->Text(), "down");
}

TEST_F(PanelsTest, RowsAreLaidOutInOneColumn) {
    View view = EditorView(kMixedVars);
    TEditsPanel* edits = view.Edits();
    int widest = 0;
    for (const UISnmpVar& row : edits->Rows) widest = std::max(widest, row.Label->Width());
    ASSERT_GT(edits->Row(1).Label->Width(), edits->Row(2).Label->Width());

    auto expectColumn = [&](const std::vector<int>& shown) {
        int y = 20;
        int right = 0;
        int bottom = 0;
        for (size_t k = 0; k < shown.size(); ++k) {
            const UISnmpVar& row = edits->Row(shown[k]);
            SCOPED_TRACE(shown[k]);
            const int h = row.Control->Height();
            if (k > 0) y += h + 5;
            EXPECT_EQ(row.Control->Top(), y);
            EXPECT_EQ(row.Check->Top(), y + (h - row.Check->Height()) / 2);
            EXPECT_EQ(row.Label->Top(), y + (h - row.Label->Height()) / 2);
            EXPECT_EQ(row.Check->Left(), 20);
            EXPECT_EQ(row.Label->Left(), 20 + row.Check->Width() + 5);
            EXPECT_EQ(row.Control->Left(), row.Label->Left() + widest + 5);
            EXPECT_EQ(row.Control->Width(), edits->EditWidth());
            right = std::max(right, row.Control->Left() + row.Control->Width());
            bottom = std::max(bottom, row.Control->Top() + row.Control->Height());
        }
        EXPECT_EQ(edits->Width(), right + 40);
        EXPECT_EQ(edits->Height(), bottom + 40);
    };
    // In the window the panel fills its client panel; laid out anew it takes its own size.
    edits->ArrangeCtrls(true);
    EXPECT_EQ(edits->EditWidth(), 121);
    EXPECT_EQ(edits->Row(0).Control->Height(), 21);
    EXPECT_EQ(edits->Row(1).Control->Top(), 46);  // 21-pixel controls, 26 apart
    expectColumn({0, 1, 2, 3, 4});

    edits->HideRow(1);
    EXPECT_EQ(edits->Row(1).Check->Tag(), TEditsPanel::kHiddenRowTag);
    EXPECT_NE(view.List().Item(1).access & ACCESS_HIDDEN, 0);
    edits->ArrangeCtrls(true);
    expectColumn({0, 2, 3, 4});
    edits->ShowRow(1);
    EXPECT_EQ(view.List().Item(1).access & ACCESS_HIDDEN, 0);
    edits->SetEditWidth(175);
    expectColumn({0, 1, 2, 3, 4});

    // A control lower than 20 pixels is raised to 21, except in the first row.
    edits->Row(0).Control->SetHeight(15);
    edits->Row(2).Control->SetHeight(15);
    edits->ArrangeCtrls(true);
    EXPECT_EQ(edits->Row(0).Control->Height(), 15);
    EXPECT_EQ(edits->Row(2).Control->Height(), 21);
}

TEST_F(PanelsTest, EditorSetButtonsFollowTheSettableRows) {
    struct Case {
        const char* name;
        const SnmpVarDef* defs;
        Names visible;
        const char* setCaption;
        bool setEnabled;
        int checkBoxes;
    };
    const Case cases[] = {
        {"read-only", AgentVersionVars, {"RefreshBtn", "CloseBtn"}, "Set Checked", false, 0},
        {"one writable",
         OneWritableVars(),
         {"RefreshBtn", "SetCheckBtn", "CloseBtn"},
         "Set",
         true,
         0},
        {"several",
         SeveralWritableVars(),
         {"RefreshBtn", "SetCheckBtn", "CheckAllBtn", "ClearChecksBtn", "CloseBtn"},
         "Set Checked",
         false,
         3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        View view = EditorView(c.defs);
        EXPECT_EQ(view.form->FormType, TConfigForm::ftEditor);
        EXPECT_EQ(VisibleColumn(view.Column()), c.visible);
        EXPECT_EQ(view.Column()->SetCheckBtn->Caption(), c.setCaption);
        EXPECT_EQ(view.Column()->SetCheckBtn->Enabled(), c.setEnabled);
        int boxes = 0;
        for (const UISnmpVar& row : view.Edits()->Rows) boxes += row.Check->Visible() ? 1 : 0;
        EXPECT_EQ(boxes, c.checkBoxes);
    }

    // One writable row: no check box, and every row counts as checked.
    View one = EditorView(OneWritableVars());
    EXPECT_TRUE(one.Edits()->Row(0).Check->Checked());
    EXPECT_TRUE(one.Edits()->Row(1).Check->Checked());

    // Several: ticking enables the set button, taking the last tick off disables it.
    View several = EditorView(SeveralWritableVars());
    TBitBtn* set = several.Column()->SetCheckBtn;
    several.Edits()->Row(1).Check->SetChecked(true);
    EXPECT_TRUE(set->Enabled());
    several.Edits()->Row(2).Check->SetChecked(true);
    several.Edits()->Row(1).Check->SetChecked(false);
    EXPECT_TRUE(set->Enabled());
    several.Edits()->Row(2).Check->SetChecked(false);
    EXPECT_FALSE(set->Enabled());
    several.Column()->CheckAllBtn->Click();
    EXPECT_EQ(several.Edits()->CountCheckedRows(), 3);
    EXPECT_TRUE(set->Enabled());
    several.Column()->ClearChecksBtn->Click();
    EXPECT_EQ(several.Edits()->CountCheckedRows(), 0);
    EXPECT_FALSE(set->Enabled());
}

TEST_F(PanelsTest, TableButtonsFollowTheStatusValues) {
    struct Case {
        const char* name;
        const SnmpVarDef* defs;
        const char* add;
        const char* del;
        Names visible;
    };
    const Case cases[] = {
        {"device table",
         DiskInfoVars,
         nullptr,
         nullptr,
         {"CountText", "SamplesLabel", "RefreshBtn", "CloseBtn"}},
        {"no statuses",
         ShareTableVars(),
         nullptr,
         nullptr,
         {"CountText", "SamplesLabel", "RefreshBtn", "EditBtn", "CloseBtn"}},
        {"add only",
         ShareTableVars(),
         "createAndGo",
         nullptr,
         {"CountText", "SamplesLabel", "RefreshBtn", "EditBtn", "AddBtn", "CloseBtn"}},
        {"both",
         ShareTableVars(),
         "createAndGo",
         "destroy",
         {"CountText", "SamplesLabel", "RefreshBtn", "EditBtn", "AddBtn", "DeleteBtn", "CloseBtn"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        View view = TableView(c.defs, c.add, c.del);
        EXPECT_EQ(view.form->FormType, TConfigForm::ftListView);
        EXPECT_EQ(VisibleColumn(view.Column()), c.visible);
        EXPECT_FALSE(view.Column()->EditBtn->Enabled());
        EXPECT_FALSE(view.Column()->DeleteBtn->Enabled());
        EXPECT_EQ(view.table->ListViewPanel->AddValue, c.add ? c.add : "");
        EXPECT_EQ(view.table->ListViewPanel->AddColumn, c.add ? kStatusRow : -1);
        EXPECT_EQ(view.table->ListViewPanel->DeleteColumn, c.del ? kStatusRow : -1);
        // The edits panel stays hidden in the table window.
        EXPECT_FALSE(view.Edits()->Visible());
        EXPECT_EQ(view.editor->Content(), view.table->ListViewPanel);
    }
}

TEST_F(PanelsTest, SetUpHappensOnceAndChecksTheStatusValues) {
    View view = TableView(ShareTableVars());
    try {
        view.form->SetEditorType(view.binding.get());
        FAIL() << "a second set-up was accepted";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Can not change Type of a Config Form!");
    }
    EXPECT_EQ(view.form->FormType, TConfigForm::ftListView);
    view.form->FormType = 3;
    try {
        view.form->RefreshForm();
        ADD_FAILURE() << "refreshed a window of an unknown type";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Refresh a Form with unknown Form Type!");
    }
    EXPECT_EQ(view.form->CurrentBinding(), nullptr);
    view.form->FormType = TConfigForm::ftListView;

    struct Case {
        int addColumn;
        const char* add;
        int deleteColumn;
        const char* del;
        const char* message;
    };
    const Case cases[] = {
        {kStatusRow, "bogus", -1, nullptr,
         "TSNMPListViewPanel::SetAddStatus - Wrong AddStatusValue:bogus"},
        {kStatusRow, "createAndGo", kStatusRow, "remove",
         "TSNMPListViewPanel::SetDeleteStatus - Wrong DeleteStatusValue:remove"},
        // A row without a drop-down list cannot carry a status.
        {1, "createAndGo", -1, nullptr,
         "TSNMPListViewPanel::SetAddStatus - Wrong AddStatusValue:createAndGo"},
        {kStatusRow, "createAndGo", 99, "destroy",
         "TSNMPListViewPanel::SetDeleteStatus - Wrong DeleteStatusValue:destroy"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        auto* form = new TConfigForm(Application);
        auto binding = MakeBinding(form, ShareTableVars(), MVT_FMV, 1);
        try {
            form->SetListViewType(binding.get(), c.addColumn, c.add, c.deleteColumn, c.del);
            ADD_FAILURE() << "accepted";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
        EXPECT_NE(binding->messageControl, nullptr);
        delete form;
        // The binding outlives its window without its message strip.
        EXPECT_EQ(binding->messageControl, nullptr);
    }
}

TEST_F(PanelsTest, WindowsStayWithinTheirLimits) {
    static const SnmpVarDef tiny[] = {
        UIV_VAR(UIV ".1", "A", SYNTAX_DISPLAYSTR, ACCESS_READWRITE, nullptr),
        UIV_END,
    };
    View narrow = EditorView(tiny);
    const TControl* edit = narrow.Edits()->Row(0).Control;
    ASSERT_LT(edit->Left() + edit->Width() + 40 + 116 + 3 + 3, 350);
    EXPECT_EQ(narrow.form->ClientWidth(), 350);
    EXPECT_EQ(narrow.form->Position(), poMainFormCenter);
    narrow.editor->SetEditWidth(900);
    EXPECT_EQ(narrow.form->ClientWidth(), 800);
    EXPECT_EQ(narrow.editor->Align(), alClient);

    // Thirty rows are higher than a window may be: the rows scroll instead.
    static std::vector<std::string> labels;
    std::vector<SnmpVarDef> many;
    for (int i = 0; i < 30; ++i) labels.push_back("Row " + std::to_string(i));
    for (int i = 0; i < 30; ++i)
        many.push_back(UIV_VAR(UIV ".1", labels[static_cast<size_t>(i)].c_str(), SYNTAX_DISPLAYSTR,
                               ACCESS_READONLY, nullptr));
    many.push_back(UIV_END);
    View tall = EditorView(many.data());
    EXPECT_GT(tall.Edits()->Row(29).Control->Top(), 550);
    EXPECT_EQ(tall.form->ClientHeight(), 550);
    EXPECT_EQ(tall.Edits()->ScrollBox1->Align(), alClient);

    // The list view panel: 8 pixels per caption character, at most 450, 350 high.
    static const SnmpVarDef seventy[] = {
        UIV_VAR(UIV ".20.1.1", "Row Index", SYNTAX_INTEGER, ACCESS_NOTACCESS, nullptr),
        UIV_VAR(UIV ".20.1.2", "Column Two Is Long", SYNTAX_DISPLAYSTR, ACCESS_READONLY, nullptr),
        UIV_VAR(UIV ".20.1.3", "Column Three Is Longer", SYNTAX_DISPLAYSTR, ACCESS_READONLY,
                nullptr),
        UIV_VAR(UIV ".20.1.4", "And The Fourth Column", SYNTAX_DISPLAYSTR, ACCESS_READONLY,
                nullptr),
        UIV_END,
    };
    struct Case {
        const SnmpVarDef* defs;
        int chars;
        int width;
    };
    for (const Case& c : {Case{seventy, 70, 450}, Case{ShareTableVars(), 26, 8 * 26}}) {
        TForm form(nullptr);
        auto binding = MakeBinding(nullptr, c.defs, MVT_FMV, 1);
        auto* panel = new TListViewPanel(&form, binding.get());
        int chars = 0;
        TListView* list = panel->ListView1;
        for (int i = 0; i < list->Columns().Count(); ++i)
            chars += static_cast<int>(list->Columns()[i]->Caption().size());
        EXPECT_EQ(chars, c.chars);
        EXPECT_EQ(panel->Width(), c.width);
        EXPECT_EQ(panel->Height(), 350);
        EXPECT_EQ(list->Align(), alClient);
    }
    View shares = TableView(ShareTableVars());
    EXPECT_EQ(shares.form->ClientWidth(), 350);
    EXPECT_EQ(shares.form->ClientHeight(), 350 + 20);
}

TEST_F(PanelsTest, EmptyTickedRowIsNotSent) {
    View view = EditorView(SeveralWritableVars());
    TEditsPanel* edits = view.Edits();
    edits->Row(0).Edit()->SetText("");  // ticked and empty
    edits->Row(0).Check->SetChecked(true);
    edits->Row(2).Edit()->SetText("10.0.0.1");  // not ticked
    view.Column()->SetCheckBtn->Click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Some items are empty!");
    EXPECT_EQ(boxes[0].flags & 0xF0, static_cast<unsigned>(MB_ICONWARNING));
    // Nothing went out, the marks are gone and the binding reads asynchronously again.
    EXPECT_EQ(view.Strip()->SimpleText(), "");
    EXPECT_EQ(view.binding->mode, 1);
    for (int i = 0; i < view.List().Count(); ++i)
        EXPECT_EQ(view.List().Item(i).access & ACCESS_INVALID, 0) << i;
    EXPECT_TRUE(view.Edits()->Row(0).Check->Checked());
}

// ---- Table hint ---------------------------------------------------------------------------

TEST_F(PanelsTest, RowHintAlignsCaptionsWithTabs) {
    TForm form(nullptr);
    auto* list = new TListView(&form);
    list->SetParent(&form);
    list->Columns().Add()->SetCaption("Idx");
    list->Columns().Add()->SetCaption("Volume");
    TListItem* item = list->Items().Add();
    item->SetCaption("1");
    item->SubItems().Add("vol1");
    EXPECT_EQ(TSNMPListViewPanel::RowHintText(list, item), "Idx\t\t\t  1\nVolume  vol1\n");

    View view = TableView(ShareTableVars());
    TListView* table = view.table->ListViewPanel->ListView1;
    TListItem* row = table->Items().Add();
    row->SetCaption("2");
    row->SubItems().Add("backup");
    row->SubItems().Add("250");
    row->SubItems().Add("active");
    view.form->SetClientWidth(500);
    const QRect cell =
        static_cast<QTableWidget*>(table->Widget())
            ->visualItemRect(static_cast<QTableWidget*>(table->Widget())->item(0, 1));
    ASSERT_TRUE(cell.isValid());
    const QPoint at = static_cast<QTableWidget*>(table->Widget())
                          ->viewport()
                          ->mapTo(table->Widget(), cell.center());
    view.table->ListViewMouseMove(table, TShiftState(), at.x(), at.y());
    EXPECT_TRUE(table->ShowHint());
    EXPECT_EQ(table->Hint(),
              "Index\t\t\t\t\t  2\nShare Name  backup\nQuota\t\t\t\t\t  250\n"
              "Status\t\t\t\t  active\n");
    view.table->ListViewMouseMove(table, TShiftState(), at.x(), table->Height() - 2);
    EXPECT_FALSE(table->ShowHint());
}

TEST_F(PanelsTest, ListViewExposesCaptionsAndCells) {
    View view = TableView(ShareTableVars());
    TListView* list = view.table->ListViewPanel->ListView1;
    TListItem* row = list->Items().Add();
    row->SetCaption("1");
    row->SubItems().Add("public");
    row->SubItems().Add("100");
    row->SubItems().Add("active");
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(list->Widget());
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::Table);
    EXPECT_EQ(FromQString(iface->text(QAccessible::Name)), "Table");
    QAccessibleTableInterface* table = iface->tableInterface();
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->columnCount(), 4);
    EXPECT_EQ(table->rowCount(), 1);
    const Names captions{"Index", "Share Name", "Quota", "Status"};
    const Names cells{"1", "public", "100", "active"};
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(FromQString(table->columnDescription(c)), captions[static_cast<size_t>(c)]);
        QAccessibleInterface* cell = table->cellAt(0, c);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(FromQString(cell->text(QAccessible::Name)), cells[static_cast<size_t>(c)]);
    }
}

}  // namespace
}  // namespace uitest
