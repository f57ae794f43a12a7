// TListView in report style: columns, rows, selection callbacks, clicks, hit tests,
// hints and accessibility.
#include <QAccessible>
#include <QHeaderView>
#include <QHelpEvent>
#include <QTableWidget>
#include <QTest>
#include <QToolTip>

#include "test_widgets_support.h"

using widgets_test::WidgetsTest;

namespace {

class ListViewTest : public WidgetsTest {
protected:
    void SetUp() override {
        WidgetsTest::SetUp();
        form = ActiveForm(400, 300);
        view = new TListView(form);
        view->SetParent(form);
        view->SetAlign(alClient);
        view->SetReadOnly(true);
        view->SetRowSelect(true);
        view->SetGridLines(true);
        view->SetHideSelection(false);
        table = static_cast<QTableWidget*>(view->Widget());
        const char* captions[] = {"Hidden", "Idx", "Volume"};
        const int widths[] = {0, -2, -2};
        for (int i = 0; i < 3; ++i) {
            TListColumn* column = view->Columns().Add();
            column->SetCaption(captions[i]);
            column->SetWidth(widths[i]);
        }
        for (int row = 0; row < 3; ++row) {
            TListItem* item = view->Items().Add();
            item->SetCaption("secret" + std::to_string(row));
            item->SubItems().Add(std::to_string(row + 1));
            item->SubItems().Add("vol" + std::to_string(row + 1));
        }
    }

    // Centre of a cell, relative to the list view (header included).
    QPoint CellPoint(int row, int column) const {
        const QRect cell = table->visualRect(table->model()->index(row, column));
        return table->viewport()->mapTo(table, cell.center());
    }
    QPoint ViewportPoint(int row, int column) const {
        return table->visualRect(table->model()->index(row, column)).center();
    }

    TForm* form = nullptr;
    TListView* view = nullptr;
    QTableWidget* table = nullptr;
};

}  // namespace

TEST_F(ListViewTest, ColumnsAndCellsShowTheItems) {
    ASSERT_EQ(table->columnCount(), 3);
    EXPECT_EQ(view->Columns()[0]->Width(), 0);
    EXPECT_EQ(view->Columns()[1]->Width(), table->horizontalHeader()->sectionSizeHint(1));
    // The last -2 column takes the rest of the view.
    const int total =
        view->Columns()[0]->Width() + view->Columns()[1]->Width() + view->Columns()[2]->Width();
    EXPECT_EQ(total, table->viewport()->width());
    form->SetClientWidth(500);
    EXPECT_EQ(
        view->Columns()[0]->Width() + view->Columns()[1]->Width() + view->Columns()[2]->Width(),
        table->viewport()->width());

    ASSERT_EQ(table->rowCount(), 3);
    EXPECT_EQ(table->item(1, 0)->text(), "secret1");
    EXPECT_EQ(table->item(1, 2)->text(), "vol2");
    view->Items()[1]->SubItems().Put(1, "renamed");
    EXPECT_EQ(table->item(1, 2)->text(), "renamed");
    // Sub-items beyond the columns are kept.
    view->Items()[1]->SubItems().Add("extra");
    EXPECT_EQ(view->Items()[1]->SubItems()[2], "extra");

    // AutoSize columns share the width the others leave.
    view->Columns()[1]->SetWidth(40);
    view->Columns()[2]->SetAutoSize(true);
    EXPECT_EQ(view->Columns()[2]->Width(), table->viewport()->width() - 40);
    EXPECT_THROW(view->Columns()[3], Exception);
    EXPECT_THROW(view->SetViewStyle(vsIcon), ENotSupported);
}

TEST_F(ListViewTest, ChangesReportTextAndState) {
    std::vector<std::string> log;
    view->SetOnChange([&](TObject*, TListItem* item, TItemChange change) {
        log.push_back(std::to_string(item->Index()) + (change == ctText ? "text" : "state"));
    });
    TListItem* added = view->Items().Add();
    added->SetCaption("x");
    added->SubItems().Add("y");
    view->SetItemIndex(3);
    EXPECT_EQ(log, (std::vector<std::string>{"3text", "3text", "3state"}));
    view->Items().Clear();
    EXPECT_EQ(view->Items().Count(), 0);
    EXPECT_EQ(table->rowCount(), 0);
    EXPECT_EQ(view->Selected(), nullptr);
}

TEST_F(ListViewTest, SelectionCallbacksComeDeselectFirst) {
    std::vector<std::string> log;
    view->SetOnSelectItem([&](TObject* sender, TListItem* item, bool selected) {
        EXPECT_EQ(sender, view);
        log.push_back(item->Caption() + (selected ? "+" : "-"));
    });
    view->SetItemIndex(0);
    view->SetItemIndex(2);
    EXPECT_EQ(view->ItemIndex(), 2);
    EXPECT_EQ(view->Selected(), view->Items()[2]);
    EXPECT_TRUE(view->Items()[2]->Selected());
    view->Items()[2]->SetSelected(false);
    EXPECT_EQ(view->Selected(), nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"secret0+", "secret0-", "secret2+", "secret2-"}));

    // Deleting the selected item reports nothing.
    log.clear();
    view->SetSelected(view->Items()[1]);
    view->Items()[1]->Delete();
    EXPECT_EQ(log, std::vector<std::string>{"secret1+"});
    EXPECT_EQ(view->Items().Count(), 2);
    EXPECT_EQ(view->Selected(), nullptr);
}

TEST_F(ListViewTest, ClicksSelectThenReport) {
    std::vector<std::string> log;
    view->SetOnSelectItem([&](TObject*, TListItem* item, bool selected) {
        log.push_back(item->Caption() + (selected ? "+" : "-"));
    });
    view->SetOnClick([&](TObject*) {
        log.push_back(std::string("click:") +
                      (view->Selected() ? view->Selected()->Caption() : "none"));
    });
    view->SetOnDblClick([&](TObject*) { log.push_back("dblclick"); });
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, ViewportPoint(1, 2));
    // Below the last row: the selection goes.
    const QRect last = table->visualRect(table->model()->index(2, 1));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                      QPoint(last.center().x(), last.bottom() + 20));
    EXPECT_EQ(log,
              (std::vector<std::string>{"secret1+", "click:secret1", "secret1-", "click:none"}));

    // A double click arrives as a click followed by the double click.
    log.clear();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, ViewportPoint(0, 1));
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, ViewportPoint(0, 1));
    EXPECT_EQ(log, (std::vector<std::string>{"secret0+", "click:secret0", "dblclick"}));
    log.clear();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, ViewportPoint(0, 1));
    EXPECT_EQ(log, std::vector<std::string>{"click:secret0"});
}

TEST_F(ListViewTest, MouseMoveAndHitTestShareCoordinates) {
    std::vector<TListItem*> hits;
    view->SetOnMouseMove(
        [&](TObject*, TShiftState, int x, int y) { hits.push_back(view->GetItemAt(x, y)); });
    QTest::mouseMove(table->viewport(), ViewportPoint(2, 2));
    WAIT_UNTIL(!hits.empty());
    EXPECT_EQ(hits.back(), view->Items()[2]);
    const QPoint cell = CellPoint(1, 2);
    EXPECT_EQ(view->GetItemAt(cell.x(), cell.y()), view->Items()[1]);
    EXPECT_EQ(view->GetItemAt(cell.x(), 2), nullptr);  // on the header
    // Without RowSelect only the first column hits.
    view->SetRowSelect(false);
    EXPECT_EQ(view->GetItemAt(cell.x(), cell.y()), nullptr);
    view->Columns()[0]->SetWidth(60);
    const QPoint first = CellPoint(1, 0);
    EXPECT_EQ(view->GetItemAt(first.x(), first.y()), view->Items()[1]);
}

TEST_F(ListViewTest, HintShowsOnlyWhenSwitchedOn) {
    view->SetHint("Idx\t\t\t  1\nVolume  vol1\n");
    QHelpEvent quiet(QEvent::ToolTip, ViewportPoint(0, 1),
                     table->viewport()->mapToGlobal(ViewportPoint(0, 1)));
    QApplication::sendEvent(table->viewport(), &quiet);
    EXPECT_FALSE(QToolTip::isVisible());
    view->SetShowHint(true);
    QHelpEvent help(QEvent::ToolTip, ViewportPoint(0, 1),
                    table->viewport()->mapToGlobal(ViewportPoint(0, 1)));
    QApplication::sendEvent(table->viewport(), &help);
    WAIT_UNTIL(QToolTip::isVisible());
    EXPECT_TRUE(QToolTip::text().contains("vol1"));
    EXPECT_EQ(view->Hint(), "Idx\t\t\t  1\nVolume  vol1\n");
    QToolTip::hideText();
}

TEST_F(ListViewTest, ColumnCaptionsAndCellsAreAccessible) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(table);
    ASSERT_NE(iface, nullptr);
    QAccessibleTableInterface* grid = iface->tableInterface();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->columnCount(), 3);
    EXPECT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(grid->columnDescription(2), "Volume");
    QAccessibleInterface* cell = grid->cellAt(1, 2);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text(QAccessible::Name), "vol2");
}

TEST_F(ListViewTest, InPlaceEditingFollowsReadOnly) {
    EXPECT_FALSE(table->item(0, 0)->flags() & Qt::ItemIsEditable);
    view->SetReadOnly(false);
    EXPECT_TRUE(table->item(0, 0)->flags() & Qt::ItemIsEditable);
    EXPECT_FALSE(table->item(0, 1)->flags() & Qt::ItemIsEditable);
    std::vector<std::string> log;
    view->SetOnChange([&](TObject*, TListItem* item, TItemChange change) {
        if (change == ctText) log.push_back(item->Caption());
    });
    table->item(0, 0)->setText("typed");  // what the in-place editor commits
    EXPECT_EQ(view->Items()[0]->Caption(), "typed");
    EXPECT_EQ(log, std::vector<std::string>{"typed"});
}
