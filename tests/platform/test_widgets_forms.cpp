// Forms of the widget facade: modal loops, posted messages, focus moves, closing,
// termination, menus, embedding and scroll boxes.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollArea>
#include <QTest>
#include <QTimer>

#include "test_widgets_support.h"

using widgets_test::WidgetsTest;

namespace {

using ProbeForm = widgets_test::DestroyProbe<TForm>;

}  // namespace

TEST_F(WidgetsTest, ShowModalRunsUntilAButtonSetsModalResult) {
    auto* form = new TForm(Application);
    auto* ok = new TButton(form);
    ok->SetParent(form);
    ok->SetModalResult(mrOk);
    int clicks = 0;
    ok->SetOnClick([&](TObject*) {
        ++clicks;
        EXPECT_TRUE(form->Modal());
    });
    QTimer::singleShot(0, [&] { QTest::mouseClick(ok->Widget(), Qt::LeftButton); });
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(form->Modal());
    EXPECT_FALSE(form->Widget()->isVisible());

    // Each ShowModal starts over with mrNone.
    QTimer::singleShot(0, [&] { form->SetModalResult(mrNo); });
    EXPECT_EQ(form->ShowModal(), mrNo);
}

TEST_F(WidgetsTest, ShowModalRefusesAVisibleForm) {
    auto* form = new TForm(Application);
    form->Show();
    EXPECT_THROW(form->ShowModal(), EInvalidOperation);
}

TEST_F(WidgetsTest, PostedMessageArrivesInTheModalLoop) {
    auto* form = new TForm(Application);
    std::vector<std::string> log;
    form->SetOnMessage([&](unsigned msg, WPARAM w, LPARAM l) {
        if (msg != WM_APP + 1234) return false;
        log.push_back(std::string("refresh ") + (form->Modal() ? "modal" : "not modal") +
                      (form->Widget()->isVisible() ? " visible " : " hidden ") + std::to_string(w) +
                      "," + std::to_string(l));
        form->SetModalResult(mrCancel);
        return true;
    });
    form->SetOnShow([&](TObject*) { log.push_back("show"); });
    EXPECT_TRUE(PostMessage(form, WM_APP + 1234, 7, -3));
    form->SetCaption("set up after posting");
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_EQ(log, (std::vector<std::string>{"show", "refresh modal visible 7,-3"}));
}

TEST_F(WidgetsTest, UnhandledAndOrphanMessagesAreHarmless) {
    auto* form = new TForm(Application);
    int handled = 0;
    form->SetOnMessage([&](unsigned, WPARAM, LPARAM) {
        ++handled;
        return false;  // default processing ignores an unknown message
    });
    EXPECT_TRUE(PostMessage(form, WM_USER + 5, 0, 0));
    auto* doomed = new TForm(Application);
    bool reached = false;
    doomed->SetOnMessage([&](unsigned, WPARAM, LPARAM) { return reached = true; });
    EXPECT_TRUE(PostMessage(doomed, WM_APP, 0, 0));
    delete doomed;  // its message is dropped
    EXPECT_FALSE(PostMessage(nullptr, WM_APP, 0, 0));
    WAIT_UNTIL(handled == 1);
    Application->ProcessMessages();
    EXPECT_FALSE(reached);
}

TEST_F(WidgetsTest, NextDialogControlMovesFocusAfterTheHandler) {
    TForm* form = ActiveForm();
    auto* first = new TEdit(form);
    first->SetParent(form);
    auto* second = new TEdit(form);
    second->SetParent(form);
    second->SetTop(30);
    std::vector<std::string> log;
    first->SetOnChange([&](TObject*) {
        PostMessage(form, WM_NEXTDLGCTL, 0, 0);
        log.push_back(std::string("change, focus on ") + (first->Focused() ? "first" : "other"));
    });
    first->SetOnExit([&](TObject*) { log.push_back("exit"); });
    first->SetFocus();
    first->SetText("x");
    EXPECT_EQ(log, std::vector<std::string>{"change, focus on first"});
    WAIT_UNTIL(second->Focused());
    EXPECT_EQ(log, (std::vector<std::string>{"change, focus on first", "exit"}));

    // wParam 1 moves back; lParam != 0 names the control.
    PostMessage(form, WM_NEXTDLGCTL, 1, 0);
    WAIT_UNTIL(first->Focused());
    PostMessage(form, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(second), 1);
    WAIT_UNTIL(second->Focused());
}

TEST_F(WidgetsTest, ModalCloseAsksOnCloseQueryAndOnClose) {
    bool destroyed = false;
    auto* form = new ProbeForm(Application, &destroyed);
    std::vector<std::string> log;
    int queries = 0;
    form->SetOnCloseQuery([&](TObject*, bool& canClose) {
        ++queries;
        canClose = queries > 1;  // the first close is refused
        log.push_back(canClose ? "query yes" : "query no");
    });
    form->SetOnClose([&](TObject*, TCloseAction& action) {
        log.push_back("close");
        action = caFree;  // a modal form is destroyed by its caller, never by the loop
    });
    QTimer::singleShot(0, [&] {
        form->Close();
        QTimer::singleShot(0, [&] {
            log.push_back(form->Visible() ? "still open" : "closed");
            form->Widget()->close();  // the window's close box
        });
    });
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_EQ(log, (std::vector<std::string>{"query no", "still open", "query yes", "close"}));
    Application->ProcessMessages();
    EXPECT_FALSE(destroyed);
    delete form;
    EXPECT_TRUE(destroyed);
}

TEST_F(WidgetsTest, CloseActionsOfAWindow) {
    bool destroyed = false;
    auto* form = new ProbeForm(Application, &destroyed);
    TCloseAction next = caNone;
    form->SetOnClose([&](TObject*, TCloseAction& action) { action = next; });
    form->Show();
    form->Close();
    EXPECT_TRUE(form->Visible());
    next = caHide;
    form->Close();
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(destroyed);
    form->Show();
    next = caFree;
    form->Widget()->close();
    EXPECT_FALSE(destroyed);  // released from the event loop, after the handler
    WAIT_UNTIL(destroyed);
    EXPECT_EQ(Application->ComponentCount(), 0);
}

TEST_F(WidgetsTest, ClosingTheMainFormTerminates) {
    auto* main = Application->CreateForm<TForm>();
    EXPECT_EQ(Application->MainForm(), main);
    int activations = 0;
    main->SetOnActivate([&](TObject*) { ++activations; });
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(main->Visible());
        main->Close();
    });
    Application->Run();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_GE(activations, 1);
    // After Terminate, Run and ShowModal return at once.
    Application->Run();
    auto* dialog = new TForm(Application);
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
}

TEST_F(WidgetsTest, TerminateEndsModalLoops) {
    auto* outer = new TForm(Application);
    auto* inner = new TForm(Application);
    TModalResult innerResult = mrNone;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, [&] { Application->Terminate(); });
        innerResult = inner->ShowModal();
    });
    EXPECT_EQ(outer->ShowModal(), mrCancel);
    EXPECT_EQ(innerResult, mrCancel);
}

TEST_F(WidgetsTest, ModalFormActivatesAndGivesActivationBack) {
    TForm* main = ActiveForm();
    Application->SetMainForm(main);
    int mainActivations = 0;
    main->SetOnActivate([&](TObject*) { ++mainActivations; });
    auto* dialog = new TForm(Application);
    dialog->SetPosition(poMainFormCenter);
    std::vector<std::string> log;
    dialog->SetOnShow([&](TObject*) { log.push_back("show"); });
    dialog->SetOnActivate([&](TObject*) { log.push_back("activate"); });
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog->Widget()));
        EXPECT_FALSE(main->Active());
        dialog->SetModalResult(mrOk);
    });
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_EQ(log, (std::vector<std::string>{"show", "activate"}));
    WAIT_UNTIL(main->Active());
    EXPECT_EQ(mainActivations, 1);
}

TEST_F(WidgetsTest, ExceptionsInHandlersAreShownWithTheTitle) {
    Application->SetTitle("KSV-720E");
    TForm* form = ActiveForm();
    auto* button = new TButton(form);
    button->SetParent(form);
    button->SetOnClick([](TObject*) { throw Exception("Bad SNMP syntax!"); });
    QTest::mouseClick(button->Widget(), Qt::LeftButton);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Bad SNMP syntax!");
    EXPECT_EQ(boxes[0].caption, "KSV-720E");
    EXPECT_EQ(boxes[0].flags, MB_OK | MB_ICONERROR);
    // Called directly, Click lets the exception through.
    EXPECT_THROW(button->Click(), Exception);
}

TEST_F(WidgetsTest, MainMenuShowsItemsAndRunsHandlers) {
    auto* form = new TForm(Application);
    form->SetClientHeight(355);
    auto* menu = new TMainMenu(form);
    auto* view = new TMenuItem(form);
    view->SetCaption("Device Information");
    auto* disk = new TMenuItem(form);
    disk->SetCaption("Disk Information Table");
    auto* line = new TMenuItem(form);
    line->SetCaption("-");
    auto* hidden = new TMenuItem(form);
    hidden->SetCaption("RAID Information Table");
    hidden->SetVisible(false);
    auto* refresh = new TMenuItem(form);
    refresh->SetCaption("Refresh");
    view->Add(disk);
    view->Add(line);
    view->Add(hidden);
    menu->Items()->Add(view);
    menu->Items()->Add(refresh);
    form->SetMenu(menu);
    EXPECT_EQ(form->ClientHeight(), 355);  // the menu bar comes on top of the client area

    std::vector<std::string> log;
    disk->SetOnClick(
        [&](TObject* sender) { log.push_back(static_cast<TMenuItem*>(sender)->Caption()); });
    refresh->SetOnClick([&](TObject*) { log.push_back("refresh"); });
    auto* bar = form->Widget()->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->actions().size(), 2);
    QMenu* submenu = bar->actions()[0]->menu();
    ASSERT_NE(submenu, nullptr);
    ASSERT_EQ(submenu->actions().size(), 3);
    EXPECT_TRUE(submenu->actions()[1]->isSeparator());
    EXPECT_FALSE(submenu->actions()[2]->isVisible());
    EXPECT_EQ(bar->actions()[1]->menu(), nullptr);  // a command on the bar itself

    disk->Action()->trigger();
    bar->actions()[1]->trigger();
    disk->SetEnabled(false);
    disk->Action()->trigger();
    EXPECT_EQ(log, (std::vector<std::string>{"Disk Information Table", "refresh"}));

    // Items added later appear in place; destroyed items leave their menu.
    auto* first = new TMenuItem(form);
    first->SetCaption("Agent Version Information");
    view->Insert(0, first);
    EXPECT_EQ(submenu->actions()[0], first->Action());
    delete hidden;
    EXPECT_EQ(view->Count(), 3);
    EXPECT_EQ(submenu->actions().size(), 3);
}

TEST_F(WidgetsTest, EmbeddedFormLivesInAScrollBox) {
    auto* main = new TForm(Application);
    main->SetClientWidth(309);
    main->SetClientHeight(355);
    auto* box = new TScrollBox(main);
    box->SetParent(main);
    box->SetAlign(alClient);
    box->SetAutoScroll(false);
    box->SetBorderStyle(bsNone);
    auto* picture = new TForm(main);
    picture->SetBorderStyle(bsNone);
    picture->SetClientWidth(235);
    picture->SetClientHeight(379);
    picture->SetParent(box);
    picture->SetBounds(0, 0, picture->Width(), picture->Height());
    picture->Show();
    EXPECT_FALSE(picture->Widget()->isWindow());
    EXPECT_EQ(picture->ParentForm(), main);
    EXPECT_EQ(picture->ClientWidth(), 235);
    main->SetClientWidth(235 + 3);
    main->SetClientHeight(379 + 4);
    EXPECT_EQ(box->ClientWidth(), 238);
    EXPECT_EQ(box->ClientHeight(), 383);
    EXPECT_EQ(box->VertScrollBar().Range(), 0);
    EXPECT_THROW(picture->ShowModal(), EInvalidOperation);

    // With AutoScroll a child beyond the visible area can be scrolled to.
    box->SetAutoScroll(true);
    main->SetClientHeight(200);
    main->Show();
    WAIT_UNTIL(box->VertScrollBar().Range() > 0);
}

TEST_F(WidgetsTest, MessageBoxInOnExitKeepsTheFocusInTheEdit) {
    // What an input check does: on leaving, show a message box and take the focus back.
    SetMessageBoxHandler(realHandler);
    TForm* form = ActiveForm();
    auto* checked = new TEdit(form);
    checked->SetParent(form);
    auto* next = new TEdit(form);
    next->SetParent(form);
    next->SetTop(30);
    auto* ok = new TButton(form);
    ok->SetParent(form);
    ok->SetTop(60);
    ok->SetDefault(true);
    std::vector<std::string> log;
    ok->SetOnClick([&](TObject*) { log.push_back("default button"); });
    next->SetOnEnter([&](TObject*) { log.push_back("enter next"); });
    next->SetOnExit([&](TObject*) { log.push_back("exit next"); });
    checked->SetOnExit([&](TObject*) {
        log.push_back("exit checked");
        QTimer::singleShot(0, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                QTest::keyClick(box, Qt::Key_Return);  // Enter belongs to the box, not the form
        });
        log.push_back("answer " +
                      std::to_string(MessageBox("Please input a valid IP.", "KSV-720E", MB_OK)));
        checked->SetText("");
        checked->SetFocus();
    });
    checked->SetFocus();
    WAIT_UNTIL(checked->Focused());
    QTest::keyClick(checked->Widget(), Qt::Key_Tab);
    WAIT_UNTIL(form->Widget()->isActiveWindow());
    EXPECT_TRUE(checked->Focused());
    EXPECT_EQ(form->ActiveControl(), checked);
    EXPECT_EQ(log, (std::vector<std::string>{"exit checked", "answer 1"}));
}
