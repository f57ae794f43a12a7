// Controls of the widget facade: alignment, ownership, edit events and focus, byte
// strings, combo/check/radio behaviour, keys and accessible names.
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTest>

#include "platform/Strings.h"
#include "test_widgets_support.h"

using widgets_test::WidgetsTest;

namespace {

using ProbePanel = widgets_test::DestroyProbe<TPanel>;

TRect Bounds(const TControl* c) {
    return c->BoundsRect();
}

// Types text that QTest::keyClicks cannot spell (it knows ASCII only).
void TypeText(QWidget* widget, const QString& text) {
    for (QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &release);
    }
}

}  // namespace

TEST_F(WidgetsTest, AlignedChildrenStackInCreationOrder) {
    auto* form = new TForm(Application);
    auto* host = new TPanel(form);
    host->SetParent(form);
    host->SetBevelOuter(bvNone);
    host->SetBounds(0, 0, 300, 200);

    auto make = [&](TAlign align, int w, int h) {
        auto* p = new TPanel(form);
        p->SetBounds(0, 0, w, h);
        p->SetParent(host);
        p->SetAlign(align);
        return p;
    };
    TPanel* top1 = make(alTop, 10, 20);
    TPanel* bottom1 = make(alBottom, 10, 30);
    TPanel* right1 = make(alRight, 50, 10);
    TPanel* right2 = make(alRight, 10, 10);
    TPanel* client = make(alClient, 1, 1);
    TPanel* top2 = make(alTop, 10, 15);
    TPanel* left1 = make(alLeft, 40, 10);
    TPanel* fixed = make(alNone, 7, 9);
    fixed->SetBounds(5, 6, 7, 9);

    struct Case {
        TControl* control;
        TRect rect;
    };
    const Case cases[] = {
        {top1, {0, 0, 300, 20}},      {top2, {0, 20, 300, 35}},      {bottom1, {0, 170, 300, 200}},
        {left1, {0, 35, 40, 170}},    {right1, {250, 35, 300, 170}}, {right2, {240, 35, 250, 170}},
        {client, {40, 35, 240, 170}}, {fixed, {5, 6, 12, 15}},
    };
    for (const Case& c : cases) EXPECT_EQ(Bounds(c.control), c.rect) << c.control;

    // A hidden child takes no space; the others close up.
    top1->Hide();
    EXPECT_EQ(Bounds(top2), (TRect{0, 0, 300, 15}));
    EXPECT_EQ(Bounds(client), (TRect{40, 15, 240, 170}));
    // Resizing the parent realigns; sizes set on an aligned child count only along its side.
    host->SetBounds(0, 0, 400, 100);
    right1->SetBounds(0, 0, 60, 3);
    EXPECT_EQ(Bounds(right1), (TRect{340, 15, 400, 70}));
    EXPECT_EQ(Bounds(client), (TRect{40, 15, 330, 70}));
    // A bevel narrows the area the children share.
    host->SetBevelOuter(bvRaised);
    EXPECT_EQ(Bounds(top2), (TRect{1, 1, 399, 16}));
}

TEST_F(WidgetsTest, FormClientAreaHoldsAlignedPanels) {
    auto* form = new TForm(Application);
    form->SetClientWidth(238);
    form->SetClientHeight(383);
    auto* strip = new TPanel(form);
    strip->SetParent(form);
    strip->SetHeight(20);
    strip->SetAlign(alBottom);
    auto* content = new TPanel(form);
    content->SetParent(form);
    content->SetAlign(alClient);
    EXPECT_EQ(form->ClientWidth(), 238);
    EXPECT_EQ(form->ClientHeight(), 383);
    EXPECT_EQ(Bounds(strip), (TRect{0, 363, 238, 383}));
    EXPECT_EQ(Bounds(content), (TRect{0, 0, 238, 363}));
}

TEST_F(WidgetsTest, OwnerAndParentDestroyTheirControls) {
    bool ownedDestroyed = false;
    bool childDestroyed = false;
    bool earlyDestroyed = false;
    auto* owner = new TPanel(nullptr);
    auto* parent = new TPanel(nullptr);
    auto* owned = new ProbePanel(owner, &ownedDestroyed);    // owned, never parented
    auto* child = new ProbePanel(nullptr, &childDestroyed);  // parented, not owned
    child->SetParent(parent);
    auto* early = new ProbePanel(owner, &earlyDestroyed);
    early->SetParent(parent);
    EXPECT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(parent->ControlCount(), 2);

    delete early;  // leaves both lists
    EXPECT_TRUE(earlyDestroyed);
    EXPECT_EQ(owner->ComponentCount(), 1);
    EXPECT_EQ(parent->ControlCount(), 1);

    delete parent;
    EXPECT_TRUE(childDestroyed);
    EXPECT_FALSE(ownedDestroyed);
    delete owner;
    EXPECT_TRUE(ownedDestroyed);
    (void)owned;
}

TEST_F(WidgetsTest, ParentCannotBeTheControlOrItsChild) {
    auto* outer = new TPanel(Application);
    auto* inner = new TPanel(Application);
    inner->SetParent(outer);
    EXPECT_THROW(outer->SetParent(inner), EInvalidOperation);
    EXPECT_THROW(outer->SetParent(outer), EInvalidOperation);
    EXPECT_EQ(inner->Parent(), outer);
}

TEST_F(WidgetsTest, EditEventsRunInToolkitOrder) {
    TForm* form = ActiveForm();
    auto* first = new TEdit(form);
    first->SetParent(form);
    auto* second = new TEdit(form);
    second->SetParent(form);
    second->SetTop(30);
    std::vector<std::string> log;
    first->SetOnChange([&](TObject*) { log.push_back("change:" + first->Text()); });
    first->SetOnExit([&](TObject*) { log.push_back("exit1"); });
    first->SetOnEnter([&](TObject*) { log.push_back("enter1"); });
    second->SetOnEnter([&](TObject*) { log.push_back("enter2"); });

    first->SetFocus();
    WAIT_UNTIL(first->Focused());
    QTest::keyClicks(first->Widget(), "ab");
    QTest::keyClick(first->Widget(), Qt::Key_Tab);
    WAIT_UNTIL(second->Focused());
    const std::vector<std::string> expected = {"enter1", "change:a", "change:ab", "exit1",
                                               "enter2"};
    EXPECT_EQ(log, expected);

    // The program's own changes run OnChange too, unless nothing changes.
    log.clear();
    first->SetText("xyz");
    first->SetText("xyz");
    EXPECT_EQ(log, std::vector<std::string>{"change:xyz"});

    // A saved handler can be given back.
    TNotifyEvent saved = first->OnChange();
    first->SetOnChange([&](TObject*) { log.push_back("other"); });
    first->SetText("1");
    first->SetOnChange(saved);
    first->SetText("2");
    EXPECT_EQ(log, (std::vector<std::string>{"change:xyz", "other", "change:2"}));
}

TEST_F(WidgetsTest, OnExitCanKeepTheFocus) {
    TForm* form = ActiveForm();
    auto* first = new TEdit(form);
    first->SetParent(form);
    auto* second = new TEdit(form);
    second->SetParent(form);
    second->SetTop(30);
    int exits = 0;
    int secondEnters = 0;
    bool refuse = true;
    first->SetOnExit([&](TObject*) {
        ++exits;
        if (refuse) first->SetFocus();
    });
    second->SetOnEnter([&](TObject*) { ++secondEnters; });
    first->SetFocus();
    WAIT_UNTIL(first->Focused());

    second->SetFocus();
    EXPECT_TRUE(first->Focused());
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(secondEnters, 0);
    EXPECT_EQ(form->ActiveControl(), first);

    refuse = false;  // the next attempt may leave
    QTest::keyClick(first->Widget(), Qt::Key_Tab);
    EXPECT_TRUE(second->Focused());
    EXPECT_EQ(exits, 2);
    EXPECT_EQ(secondEnters, 1);
}

TEST_F(WidgetsTest, FocusNeedsAVisibleEnabledControl) {
    TForm* form = ActiveForm();
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetEnabled(false);
    EXPECT_FALSE(edit->CanFocus());
    EXPECT_THROW(edit->SetFocus(), EInvalidOperation);
    edit->SetEnabled(true);
    auto* hidden = new TPanel(form);
    hidden->SetParent(form);
    hidden->Hide();
    edit->SetParent(hidden);
    EXPECT_FALSE(edit->CanFocus());
    hidden->Show();
    EXPECT_NO_THROW(edit->SetFocus());
    EXPECT_TRUE(edit->Focused());
}

TEST_F(WidgetsTest, ByteStringsRoundTripThroughControls) {
    const std::string texts[] = {
        std::string("plain ASCII"),
        std::string("UTF-8 \xc3\xa9\xe2\x82\xac"),
        std::string("raw \xff\xfe\x80\x81 bytes"),
        std::string("\xed\xa0\x80 surrogate bytes \xc0\xaf"),
        std::string("tab\tand <b>markup</b> & ampersand"),
    };
    auto* form = new TForm(Application);
    auto* edit = new TEdit(form);
    auto* label = new TLabel(form);
    auto* staticText = new TStaticText(form);
    auto* check = new TCheckBox(form);
    auto* panel = new TPanel(form);
    auto* button = new TButton(form);
    auto* combo = new TComboBox(form);
    auto* list = new TComboBox(form);
    list->SetStyle(csDropDownList);
    auto* memo = new TMemo(form);
    auto* status = new TStatusBar(form);
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        edit->SetText(text);
        EXPECT_EQ(edit->Text(), text);
        label->SetCaption(text);
        EXPECT_EQ(label->Caption(), text);
        EXPECT_EQ(FromQString(static_cast<QLabel*>(label->Widget())->text()), text);
        staticText->SetCaption(text);
        EXPECT_EQ(FromQString(static_cast<QLabel*>(staticText->Widget())->text()), text);
        check->SetCaption(text);
        EXPECT_EQ(FromQString(static_cast<QCheckBox*>(check->Widget())->text()), text);
        panel->SetCaption(text);
        EXPECT_EQ(panel->Caption(), text);
        button->SetCaption(text);
        EXPECT_EQ(button->Caption(), text);
        form->SetCaption(text);
        EXPECT_EQ(FromQString(form->Widget()->windowTitle()), text);
        combo->SetText(text);
        EXPECT_EQ(combo->Text(), text);
        list->Items().Clear();
        list->Items().Add("other");
        list->Items().Add(text);
        list->SetText(text);
        EXPECT_EQ(list->ItemIndex(), 1);
        EXPECT_EQ(list->Text(), text);
        EXPECT_EQ(list->Items()[1], text);
        memo->SetText(text + "\n" + text);
        ASSERT_EQ(memo->Lines().Count(), 2);
        EXPECT_EQ(memo->Lines()[1], text);
        status->SetSimpleText(text);
        EXPECT_EQ(status->SimpleText(), text);
        TStatusPanel* p = status->Panels().Add();
        p->SetText(text);
        EXPECT_EQ(p->Text(), text);
    }
}

TEST_F(WidgetsTest, TypedTextArrivesAsUtf8Bytes) {
    TForm* form = ActiveForm();
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetFocus();
    TypeText(edit->Widget(), QString::fromUtf8("a\xc3\xa9"));
    EXPECT_EQ(edit->Text(), "a\xc3\xa9");
    EXPECT_EQ(edit->SelStart(), 3);  // a byte offset: after the two bytes of the e-acute
}

TEST_F(WidgetsTest, MaxLengthLimitsTypingNotTheProgram) {
    TForm* form = ActiveForm();
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetMaxLength(3);
    edit->SetFocus();
    QTest::keyClicks(edit->Widget(), "abcde");
    EXPECT_EQ(edit->Text(), "abc");
    edit->SetText("longer than three");
    EXPECT_EQ(edit->Text(), "longer than three");
    QTest::keyClick(edit->Widget(), Qt::Key_End);
    QTest::keyClick(edit->Widget(), Qt::Key_Backspace);  // shortening stays possible
    EXPECT_EQ(edit->Text(), "longer than thre");
    QTest::keyClicks(edit->Widget(), "x");
    EXPECT_EQ(edit->Text(), "longer than thre");
    edit->SetText("");
    TypeText(edit->Widget(), QString::fromUtf8("\xc3\xa9\xc3\xa9"));  // 4 bytes
    EXPECT_EQ(edit->Text(), "\xc3\xa9");
}

TEST_F(WidgetsTest, ComboBoxChangesOnlyByTheUser) {
    TForm* form = ActiveForm();
    auto* combo = new TComboBox(form);
    combo->SetParent(form);
    combo->SetStyle(csDropDownList);
    int changes = 0;
    combo->SetOnChange([&](TObject*) { ++changes; });
    combo->Items().Add("enabled");
    combo->Items().Add("disabled");
    EXPECT_EQ(combo->ItemIndex(), -1);  // items arrive without a selection
    EXPECT_EQ(combo->Text(), "");
    combo->SetItemIndex(1);
    EXPECT_EQ(combo->Text(), "disabled");
    combo->SetText("ENABLED");  // an item of that text, whatever its case
    EXPECT_EQ(combo->ItemIndex(), 0);
    combo->SetText("absent");
    EXPECT_EQ(combo->ItemIndex(), 0);
    combo->SetItemIndex(7);
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(combo->Items().IndexOf("DISABLED"), 1);

    combo->SetFocus();
    QTest::keyClick(combo->Widget(), Qt::Key_Down);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(combo->ItemIndex(), 0);

    // Removing the selected item leaves no selection; removing another keeps it.
    combo->Items().Add("third");
    combo->SetItemIndex(2);
    combo->Items().Delete(0);
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->Text(), "third");
    combo->Items().Delete(1);
    EXPECT_EQ(combo->ItemIndex(), -1);
    combo->Items().Insert(0, "first");
    EXPECT_EQ(combo->Items().ToVector(), (std::vector<std::string>{"first", "disabled"}));
    EXPECT_EQ(changes, 1);
    EXPECT_THROW(combo->Items().Delete(5), EStringListError);
    EXPECT_THROW(combo->SetStyle(csSimple), ENotSupported);
}

TEST_F(WidgetsTest, EditableComboReportsTyping) {
    TForm* form = ActiveForm();
    auto* combo = new TComboBox(form);
    combo->SetParent(form);
    std::vector<std::string> seen;
    combo->SetOnChange([&](TObject*) { seen.push_back(combo->Text()); });
    combo->Items().Add("alpha");
    combo->SetText("start");
    EXPECT_EQ(combo->Text(), "start");
    combo->SetFocus();
    QTest::keyClick(combo->Widget(), Qt::Key_End);
    QTest::keyClicks(combo->Widget(), "!");
    EXPECT_EQ(seen, std::vector<std::string>{"start!"});
}

TEST_F(WidgetsTest, CheckBoxClickFollowsCheckedAlsoWhenDisabled) {
    TForm* form = ActiveForm();
    auto* check = new TCheckBox(form);
    check->SetParent(form);
    check->SetCaption("Tick");
    int clicks = 0;
    check->SetOnClick([&](TObject*) { ++clicks; });
    check->SetChecked(true);
    check->SetChecked(true);
    EXPECT_EQ(clicks, 1);
    check->SetEnabled(false);
    check->SetChecked(false);
    EXPECT_FALSE(check->Checked());
    EXPECT_FALSE(check->Enabled());
    EXPECT_EQ(clicks, 2);
    check->SetEnabled(true);
    QTest::mouseClick(check->Widget(), Qt::LeftButton, {}, QPoint(5, check->Height() / 2));
    EXPECT_TRUE(check->Checked());
    EXPECT_EQ(clicks, 3);
}

TEST_F(WidgetsTest, RadioGroupSelectsOneItem) {
    TForm* form = ActiveForm();
    auto* group = new TRadioGroup(form);
    group->SetParent(form);
    group->SetCaption("Mode");
    int clicks = 0;
    group->SetOnClick([&](TObject*) { ++clicks; });
    group->Items().Add("off");
    group->Items().Add("on");
    group->Items().Add("auto");
    group->SetColumns(2);
    EXPECT_EQ(group->ItemIndex(), -1);
    group->SetItemIndex(2);
    EXPECT_EQ(clicks, 1);
    auto buttons = group->Widget()->findChildren<QRadioButton*>();
    ASSERT_EQ(buttons.size(), 3);
    EXPECT_TRUE(buttons[2]->isChecked());
    QTest::mouseClick(buttons[0], Qt::LeftButton, {}, QPoint(5, buttons[0]->height() / 2));
    EXPECT_EQ(group->ItemIndex(), 0);
    EXPECT_EQ(clicks, 2);
    group->SetItemIndex(-1);
    EXPECT_EQ(clicks, 3);
    for (QRadioButton* b : group->Widget()->findChildren<QRadioButton*>())
        EXPECT_FALSE(b->isChecked());
    group->SetItemIndex(9);
    EXPECT_EQ(group->ItemIndex(), -1);
    EXPECT_EQ(clicks, 3);
}

TEST_F(WidgetsTest, AccessibleNamesFollowCaptionsAndLabels) {
    auto* form = new TForm(Application);
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetCaption("&Community");
    label->SetFocusControl(edit);
    EXPECT_EQ(edit->AccessibleName(), "Community");
    label->SetCaption("Address");
    EXPECT_EQ(edit->AccessibleName(), "Address");
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(edit->Widget());
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->text(QAccessible::Name), "Address");

    auto* button = new TBitBtn(form);
    button->SetParent(form);
    button->SetCaption("Refresh");
    button->SetCaption("");  // a glyph takes the caption's place
    EXPECT_EQ(button->AccessibleName(), "Refresh");
    button->SetAccessibleName("Get values");
    button->SetCaption("Get");
    EXPECT_EQ(button->AccessibleName(), "Get values");

    auto* other = new TEdit(form);
    other->SetAccessibleName("Own name");
    label->SetFocusControl(other);
    EXPECT_EQ(other->AccessibleName(), "Own name");
}

TEST_F(WidgetsTest, KeyPreviewRunsBeforeTheControl) {
    TForm* form = ActiveForm();
    form->SetKeyPreview(true);
    auto* button = new TButton(form);
    button->SetParent(form);
    std::vector<std::string> log;
    bool swallow = false;
    form->SetOnKeyDown([&](TObject* sender, uint16_t& key, TShiftState shift) {
        log.push_back(std::string(sender == form ? "form" : "?") + ":" + std::to_string(key) +
                      (shift.Contains(ssShift) ? "S" : "") + (shift.Contains(ssAlt) ? "A" : ""));
        if (swallow) key = 0;
    });
    button->SetOnKeyDown([&](TObject* sender, uint16_t& key, TShiftState) {
        log.push_back(std::string(sender == button ? "button" : "?") + ":" + std::to_string(key));
    });
    button->SetFocus();
    QTest::keyClick(button->Widget(), Qt::Key_F3, Qt::ShiftModifier | Qt::AltModifier);
    // The modifier keys come down first, as keys of their own (VK_SHIFT, VK_MENU).
    EXPECT_EQ(log, (std::vector<std::string>{"form:16S", "button:16", "form:18SA", "button:18",
                                             "form:114SA", "button:114"}));
    log.clear();
    swallow = true;
    QTest::keyClick(button->Widget(), Qt::Key_A);
    EXPECT_EQ(log, std::vector<std::string>{"form:65"});
}

TEST_F(WidgetsTest, EnterAndEscapeClickDefaultAndCancelButtons) {
    TForm* form = ActiveForm();
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    auto* ok = new TButton(form);
    ok->SetParent(form);
    ok->SetDefault(true);
    auto* cancel = new TButton(form);
    cancel->SetParent(form);
    cancel->SetCancel(true);
    std::vector<std::string> log;
    ok->SetOnClick([&](TObject*) { log.push_back("ok"); });
    cancel->SetOnClick([&](TObject*) { log.push_back("cancel"); });
    edit->SetFocus();
    QTest::keyClick(edit->Widget(), Qt::Key_Return);
    QTest::keyClick(edit->Widget(), Qt::Key_Escape);
    cancel->SetFocus();
    QTest::keyClick(cancel->Widget(), Qt::Key_Return);  // the focused button, not the default
    QTest::keyClick(cancel->Widget(), Qt::Key_Space);
    EXPECT_EQ(log, (std::vector<std::string>{"ok", "cancel", "cancel", "cancel"}));
}

TEST_F(WidgetsTest, TabOrderDecidesTabNavigation) {
    TForm* form = ActiveForm();
    TEdit* edits[3];
    for (auto& e : edits) {
        e = new TEdit(form);
        e->SetParent(form);
    }
    auto* check = new TCheckBox(form);
    check->SetParent(form);
    check->SetTabStop(false);
    EXPECT_EQ(edits[2]->TabOrder(), 2);
    edits[2]->SetTabOrder(0);
    EXPECT_EQ(edits[0]->TabOrder(), 1);
    edits[2]->SetFocus();
    QTest::keyClick(edits[2]->Widget(), Qt::Key_Tab);
    EXPECT_TRUE(edits[0]->Focused());
    QTest::keyClick(edits[0]->Widget(), Qt::Key_Tab);
    EXPECT_TRUE(edits[1]->Focused());
    QTest::keyClick(edits[1]->Widget(), Qt::Key_Tab);  // the check box is no tab stop
    EXPECT_TRUE(edits[2]->Focused());
}

TEST_F(WidgetsTest, StringListsIndexAndSplit) {
    TStringList list;
    list.SetText("one\r\ntwo\nthree\rfour");
    EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"one", "two", "three", "four"}));
    EXPECT_EQ(list.Text(), "one\ntwo\nthree\nfour\n");
    EXPECT_EQ(list.IndexOf("THREE"), 2);
    EXPECT_EQ(list.IndexOf("five"), -1);
    EXPECT_THROW(list.Get(4), EStringListError);
    EXPECT_THROW(list.Insert(6, "x"), EStringListError);
    list.Insert(4, "end");
    EXPECT_EQ(list[4], "end");
}

TEST_F(WidgetsTest, SplitterResizesItsNeighbour) {
    auto* form = new TForm(Application);
    form->SetClientWidth(400);
    form->SetClientHeight(200);
    auto* column = new TPanel(form);
    column->SetParent(form);
    column->SetWidth(116);
    column->SetAlign(alRight);
    auto* splitter = new TSplitter(form);
    splitter->SetParent(form);
    splitter->SetAlign(alRight);
    auto* client = new TPanel(form);
    client->SetParent(form);
    client->SetAlign(alClient);
    EXPECT_EQ(Bounds(splitter), (TRect{281, 0, 284, 200}));
    int moved = 0;
    splitter->SetOnMoved([&](TObject*) { ++moved; });

    auto send = [&](QEvent::Type type, int dx, Qt::MouseButtons buttons) {
        const QPointF local(1, 50);
        const QPointF global =
            QPointF(splitter->Widget()->mapToGlobal(QPoint(1, 50))) + QPointF(dx, 0);
        QMouseEvent event(type, local, global, Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(splitter->Widget(), &event);
    };
    send(QEvent::MouseButtonPress, 0, Qt::LeftButton);
    send(QEvent::MouseMove, -20, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, -20, Qt::NoButton);
    EXPECT_EQ(column->Width(), 136);
    EXPECT_EQ(Bounds(splitter), (TRect{261, 0, 264, 200}));
    EXPECT_EQ(client->Width(), 261);
    EXPECT_EQ(moved, 1);
    // The neighbour keeps MinSize.
    send(QEvent::MouseButtonPress, 0, Qt::LeftButton);
    send(QEvent::MouseMove, 500, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, 500, Qt::NoButton);
    EXPECT_EQ(column->Width(), splitter->MinSize());
}

TEST_F(WidgetsTest, ColoursAndFontsReachTheWidgets) {
    auto* form = new TForm(Application);
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    EXPECT_EQ(edit->Color(), clWindow);
    edit->SetReadOnly(true);
    edit->Font().SetColor(clBlack);
    edit->SetColor(clBtnFace);
    const QPalette palette = edit->Widget()->palette();
    EXPECT_EQ(palette.color(QPalette::Text), QColor(Qt::black));
    EXPECT_EQ(palette.color(QPalette::Base), ColorToQColor(clBtnFace));
    EXPECT_TRUE(edit->ReadOnly());
    // A disabled drop-down list shows the same colours.
    auto* combo = new TComboBox(form);
    combo->SetParent(form);
    combo->SetEnabled(false);
    combo->Font().SetColor(clRed);
    combo->SetColor(clBtnFace);
    EXPECT_EQ(combo->Widget()->palette().color(QPalette::Disabled, QPalette::Text),
              QColor(255, 0, 0));
    EXPECT_EQ(combo->Widget()->palette().color(QPalette::Disabled, QPalette::Base),
              ColorToQColor(clBtnFace));

    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetCaption("Halvora KSV-720E Tellamon Module");
    label->Font().SetName("MS Sans Serif");
    label->Font().SetHeight(-12);
    label->Font().SetStyle(fsBold);
    EXPECT_TRUE(label->Widget()->font().bold());
    EXPECT_EQ(label->Widget()->font().pixelSize(), 12);
    EXPECT_EQ(label->Width(), label->Widget()->sizeHint().width());  // auto-sized to the new font
    EXPECT_EQ(ColorToQColor(0x00FF8000), QColor(0, 0x80, 0xFF));     // 0x00BBGGRR
}

TEST_F(WidgetsTest, StatusBarShowsSimpleTextOrPanels) {
    auto* form = new TForm(Application);
    auto* bar = new TStatusBar(form);
    bar->SetParent(form);
    EXPECT_EQ(bar->Align(), alBottom);
    bar->SetSimpleText("Get: Ok!");
    auto labels = bar->Widget()->findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 1);
    EXPECT_FALSE(labels[0]->isHidden());  // a bar without panels shows its simple text
    TStatusPanel* panel = bar->Panels().Add();
    EXPECT_EQ(panel->Width(), 50);
    panel->SetText("No parameter input");
    EXPECT_TRUE(labels[0]->isHidden());
    bar->SetSimplePanel(true);
    EXPECT_FALSE(labels[0]->isHidden());
    EXPECT_EQ(bar->Panels()[0]->Text(), "No parameter input");
    EXPECT_THROW(bar->Panels()[1], Exception);
}
