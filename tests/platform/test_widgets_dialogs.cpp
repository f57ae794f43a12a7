// Message dialogs (through the message-box seam and the real dialog), the beep, button
// glyphs and pictures.
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "platform/Strings.h"
#include "test_widgets_support.h"

using widgets_test::WidgetsTest;

TEST_F(WidgetsTest, MessageDlgGoesThroughTheSeam) {
    Application->SetTitle("KSV-720E");
    struct Case {
        TMsgDlgType type;
        TMsgDlgButtons buttons;
        int answer;
        std::string caption;
        unsigned flags;
        TModalResult result;
    };
    const Case cases[] = {
        {mtConfirmation, mbOK | mbCancel, IDOK, "Confirm", MB_OKCANCEL | MB_ICONQUESTION, mrOk},
        {mtConfirmation, mbOK | mbCancel, IDCANCEL, "Confirm", MB_OKCANCEL | MB_ICONQUESTION,
         mrCancel},
        {mtWarning, mbOK, IDOK, "Warning", MB_OK | MB_ICONWARNING, mrOk},
        {mtError, mbYes | mbNo, IDNO, "Error", MB_YESNO | MB_ICONERROR, mrNo},
        {mtInformation, mbYes | mbNo | mbCancel, IDYES, "Information",
         MB_YESNOCANCEL | MB_ICONINFORMATION, mrYes},
        {mtCustom, mbOK, IDOK, "KSV-720E", MB_OK, mrOk},
    };
    for (const Case& c : cases) {
        boxes.clear();
        nextAnswer = c.answer;
        EXPECT_EQ(MessageDlg("Are you sure to delete it?", c.type, c.buttons, 0), c.result);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, "Are you sure to delete it?");
        EXPECT_EQ(boxes[0].caption, c.caption);
        EXPECT_EQ(boxes[0].flags, c.flags);
    }
    boxes.clear();
    EXPECT_THROW(MessageDlg("x", mtWarning, mbYes | mbCancel, 0), ENotSupported);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(WidgetsTest, ShowExceptionUsesTheTitle) {
    Application->SetTitle("KSV-720E");
    Application->ShowException(Exception("No parameter input"));
    Application->HandleException(nullptr);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "No parameter input");
    EXPECT_EQ(boxes[0].caption, "KSV-720E");
    EXPECT_EQ(boxes[0].flags, MB_OK | MB_ICONERROR);
    EXPECT_EQ(boxes[1].text, "Unknown exception");

    std::vector<std::string> seen;
    Application->SetOnException(
        [&](TObject*, const std::exception& e) { seen.push_back(e.what()); });
    const Exception error("caught");
    Application->HandleException(&error);
    EXPECT_EQ(seen, std::vector<std::string>{"caught"});
    EXPECT_EQ(boxes.size(), 2u);
}

namespace {

// Answers the real message box that the application object installed: checks what it shows
// and presses a button (or Escape).
struct DialogDriver {
    std::string text;
    std::string title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttonCount = 0;
    void Answer(QMessageBox::StandardButton button, bool escape) {
        QTimer::singleShot(0, [this, button, escape] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) {
                ADD_FAILURE() << "no message box";
                return;
            }
            text = FromQString(box->text());
            title = FromQString(box->windowTitle());
            icon = box->icon();
            buttonCount = static_cast<int>(box->buttons().size());
            if (escape)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->button(button)->click();
        });
    }
};

}  // namespace

TEST_F(WidgetsTest, RealMessageBoxShowsBytesAndMapsAnswers) {
    SetMessageBoxHandler(realHandler);
    const std::string text = "Please enter a number between 10 and 20!\n<b>\xff\xfe</b>";
    const std::string caption = "KSV-720E \x80";
    struct Case {
        unsigned flags;
        QMessageBox::StandardButton press;
        bool escape;
        int answer;
        QMessageBox::Icon icon;
        int buttons;
    };
    const Case cases[] = {
        {MB_OK | MB_ICONERROR, QMessageBox::Ok, false, IDOK, QMessageBox::Critical, 1},
        {MB_OK | MB_ICONINFORMATION, QMessageBox::Ok, true, IDOK, QMessageBox::Information, 1},
        {MB_OKCANCEL | MB_ICONQUESTION, QMessageBox::Ok, false, IDOK, QMessageBox::Question, 2},
        {MB_OKCANCEL | MB_ICONWARNING, QMessageBox::Ok, true, IDCANCEL, QMessageBox::Warning, 2},
        {MB_YESNO, QMessageBox::No, false, IDNO, QMessageBox::NoIcon, 2},
        {MB_YESNOCANCEL, QMessageBox::Yes, false, IDYES, QMessageBox::NoIcon, 3},
        {MB_YESNOCANCEL, QMessageBox::Cancel, true, IDCANCEL, QMessageBox::NoIcon, 3},
    };
    for (const Case& c : cases) {
        DialogDriver driver;
        driver.Answer(c.press, c.escape);
        EXPECT_EQ(MessageBox(text, caption, c.flags), c.answer) << c.flags;
        EXPECT_EQ(driver.text, text);
        EXPECT_EQ(driver.title, caption);
        EXPECT_EQ(driver.icon, c.icon);
        EXPECT_EQ(driver.buttonCount, c.buttons);
    }
    EXPECT_THROW(MessageBox(text, caption, 0x2 /* abort, retry, ignore */), ENotSupported);
}

TEST_F(WidgetsTest, BeepsAreCounted) {
    std::vector<std::pair<unsigned, unsigned>> beeps;
    const unsigned long before = BeepCount();
    BeepHandler previous =
        SetBeepHandler([&](unsigned f, unsigned d) { beeps.emplace_back(f, d); });
    Beep(1000, 200);
    Beep();
    EXPECT_EQ(BeepCount() - before, 2u);
    EXPECT_EQ(beeps, (std::vector<std::pair<unsigned, unsigned>>{{1000, 200}, {0, 0}}));
    SetBeepHandler(previous);
    Beep();  // the system beep (silent offscreen) still counts
    EXPECT_EQ(BeepCount() - before, 3u);
    EXPECT_EQ(beeps.size(), 2u);
}

namespace {

// A bitmap of two 16x16 glyphs: magenta background (transparent by its bottom-left pixel),
// a red square in the first, a grey one in the second.
QImage TwoGlyphs() {
    QImage image(32, 16, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 255));
    for (int y = 4; y < 12; ++y)
        for (int x = 4; x < 12; ++x) {
            image.setPixelColor(x, y, QColor(255, 0, 0));
            image.setPixelColor(x + 16, y, QColor(128, 128, 128));
        }
    return image;
}

}  // namespace

TEST_F(WidgetsTest, BitBtnLoadsAGlyphFromAWindowsStyleName) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(TwoGlyphs().save(dir.filePath("Get.bmp"), "BMP"));
    QFile broken(dir.filePath("Broken.bmp"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("BM this is not a bitmap");
    broken.close();
    const std::string base = FromQString(QDir::toNativeSeparators(dir.path()));

    auto* form = new TForm(Application);
    auto* button = new TBitBtn(form);
    button->SetParent(form);
    button->SetCaption("Refresh");
    button->SetCaption("");
    button->Glyph().LoadFromFile(base + "\\Get.bmp");
    EXPECT_EQ(button->Glyph().Width(), 32);
    EXPECT_EQ(button->NumGlyphs(), 2);
    auto* qbutton = static_cast<QPushButton*>(button->Widget());
    EXPECT_EQ(qbutton->iconSize(), QSize(16, 16));
    const QImage shown = qbutton->icon().pixmap(16, 16).toImage();
    EXPECT_EQ(qAlpha(shown.pixel(0, 15)), 0);              // the background is transparent
    EXPECT_EQ(shown.pixelColor(8, 8), QColor(255, 0, 0));  // the first glyph is the normal one
    EXPECT_EQ(button->AccessibleName(), "Refresh");

    auto* other = new TBitBtn(form);
    EXPECT_THROW(other->Glyph().LoadFromFile(base + "\\Missing.bmp"), EInvalidGraphic);
    EXPECT_THROW(other->Glyph().LoadFromFile(base + "\\Broken.bmp"), EInvalidGraphic);
    EXPECT_TRUE(other->Glyph().Empty());
}

TEST_F(WidgetsTest, BitBtnKindsActLikeStockButtons) {
    auto* form = new TForm(Application);
    auto* ok = new TBitBtn(form);
    ok->SetParent(form);
    ok->SetKind(bkOK);
    EXPECT_EQ(ok->Caption(), "OK");
    EXPECT_EQ(ok->ModalResult(), mrOk);
    EXPECT_TRUE(ok->Default());
    auto* close = new TBitBtn(form);
    close->SetParent(form);
    close->SetKind(bkClose);
    int clicks = 0;
    close->SetOnClick([&](TObject*) { ++clicks; });
    QTimer::singleShot(0, [&] { QTest::mouseClick(close->Widget(), Qt::LeftButton); });
    EXPECT_EQ(form->ShowModal(), mrCancel);  // bkClose closes the form instead of OnClick
    EXPECT_EQ(clicks, 0);
    QTimer::singleShot(0, [&] { QTest::mouseClick(ok->Widget(), Qt::LeftButton); });
    EXPECT_EQ(form->ShowModal(), mrOk);
}

TEST_F(WidgetsTest, ImageShowsJpegAndPngPictures) {
    QImage source(235, 381, QImage::Format_RGB32);
    source.fill(QColor(20, 40, 60));
    auto* form = new TForm(Application);
    auto* image = new TImage(form);
    image->SetParent(form);
    for (const char* format : {"JPG", "PNG"}) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(source.save(&buffer, format));
        image->Picture().LoadFromData(
            std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        EXPECT_EQ(image->Picture().Width(), 235) << format;
        EXPECT_EQ(image->Picture().Height(), 381) << format;
    }
    EXPECT_EQ(image->Width(), 105);  // no AutoSize: the control keeps its size
    image->SetAutoSize(true);
    EXPECT_EQ(image->Width(), 235);
    image->SetStretch(true);
    EXPECT_TRUE(image->Stretch());
    EXPECT_THROW(image->Picture().LoadFromData("not a picture"), EInvalidGraphic);
    EXPECT_EQ(image->Picture().Width(), 235);

    // From a file named the Windows way.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QImage(41, 44, QImage::Format_RGB32).save(dir.filePath("icon.jpg"), "JPG"));
    image->Picture().LoadFromFile(FromQString(QDir::toNativeSeparators(dir.path())) + "\\icon.jpg");
    EXPECT_EQ(image->Picture().Width(), 41);
    EXPECT_THROW(image->Picture().LoadFromFile("no\\such.jpg"), EInvalidGraphic);
}
