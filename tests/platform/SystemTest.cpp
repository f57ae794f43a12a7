#include "platform/System.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMetaObject>
#include <QTemporaryDir>
#include <vector>

#include "platform/MessageBox.h"
#include "platform/Strings.h"

namespace {

std::string Windows(const QString& path) {
    std::string name = FromQString(path);
    for (char& c : name) {
        if (c == '/') c = '\\';
    }
    return name;
}

TEST(System, NativeFileNameTurnsBackslashesIntoSlashes) {
    EXPECT_EQ(NativeFileName("errmsg\\common.err"), "errmsg/common.err");
    EXPECT_EQ(NativeFileName("D:\\App\\\\Dev\\"), "D:/App//Dev/");
    EXPECT_EQ(NativeFileName("plain/name"), "plain/name");
    EXPECT_EQ(NativeFileName(""), "");
}

TEST(System, FileExistsForFilesOnly) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile file(dir.filePath("Get.bmp"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_TRUE(FileExists(FromQString(dir.filePath("Get.bmp"))));
    EXPECT_TRUE(FileExists(Windows(dir.filePath("Get.bmp"))));
    EXPECT_FALSE(FileExists(Windows(dir.filePath("Missing.bmp"))));
    EXPECT_FALSE(FileExists(Windows(dir.path())));  // a directory
    EXPECT_FALSE(FileExists(""));
}

TEST(System, GetCurrentDirFollowsTheProcess) {
    const QString previous = QDir::currentPath();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile file(dir.filePath("Get.bmp"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const std::string current = GetCurrentDir();
    QDir::setCurrent(previous);
    EXPECT_EQ(current, FromQString(QDir(dir.path()).canonicalPath()));
    EXPECT_NE(current.back(), '/');
    // The way the module composes names of files in the current directory.
    EXPECT_TRUE(FileExists(current + "\\Get.bmp"));
}

TEST(System, TickCountAdvancesInMilliseconds) {
    const uint32_t start = GetTickCount();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 25) {
    }
    const uint32_t ticks = GetTickCount() - start;  // wraps like the 32-bit count
    EXPECT_GE(ticks, 24u);
}

TEST(System, ProcessMessagesDeliversPostedWork) {
    ProcessMessages();  // no application object yet: nothing to do, no crash
    int argc = 1;
    char name[] = "platform_system_test";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    bool delivered = false;
    QMetaObject::invokeMethod(
        &app, [&delivered] { delivered = true; }, Qt::QueuedConnection);
    EXPECT_FALSE(delivered);
    ProcessMessages();
    EXPECT_TRUE(delivered);
}

TEST(System, ApplicationTitle) {
    SetApplicationTitle("KSV-720E");
    EXPECT_EQ(ApplicationTitle(), "KSV-720E");
    SetApplicationTitle("");
    EXPECT_EQ(ApplicationTitle(), "");
}

TEST(MessageBoxSeam, WithoutHandlerPrintsAndAnswersTheFirstButton) {
    const MessageBoxHandler none;
    const MessageBoxHandler saved = SetMessageBoxHandler(none);
    const struct {
        unsigned flags;
        int answer;
    } cases[] = {{MB_OK, IDOK},
                 {MB_OKCANCEL | MB_ICONQUESTION, IDOK},
                 {MB_YESNO | MB_ICONWARNING, IDYES},
                 {MB_YESNOCANCEL, IDYES},
                 {MB_ICONERROR, IDOK}};
    for (const auto& c : cases) {
        testing::internal::CaptureStderr();
        const int answer = MessageBox("Please select a entry ", "KSV-720E", c.flags);
        const std::string printed = testing::internal::GetCapturedStderr();
        EXPECT_EQ(answer, c.answer) << c.flags;
        EXPECT_EQ(printed, "KSV-720E: Please select a entry \n");
    }
    SetMessageBoxHandler(saved);
}

TEST(MessageBoxSeam, HandlerSeesTextCaptionAndFlags) {
    struct Seen {
        std::string text, caption;
        unsigned flags;
    };
    std::vector<Seen> seen;
    const MessageBoxHandler previous = SetMessageBoxHandler(
        [&seen](const std::string& text, const std::string& caption, unsigned flags) {
            seen.push_back({text, caption, flags});
            return IDNO;
        });
    EXPECT_FALSE(previous);
    EXPECT_EQ(MessageBox("Delete?", "Caption", MB_YESNO | MB_ICONQUESTION), IDNO);
    SetApplicationTitle("KSV-720E");
    ShowMessage("No parameter input");
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].text, "Delete?");
    EXPECT_EQ(seen[0].caption, "Caption");
    EXPECT_EQ(seen[0].flags, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(seen[1].text, "No parameter input");
    EXPECT_EQ(seen[1].caption, "KSV-720E");
    EXPECT_EQ(seen[1].flags, MB_OK);

    // A handler may replace itself while it runs; the next box goes to the new one.
    SetMessageBoxHandler([](const std::string&, const std::string&, unsigned) {
        SetMessageBoxHandler(
            [](const std::string&, const std::string&, unsigned) { return IDCANCEL; });
        return IDYES;
    });
    EXPECT_EQ(MessageBox("a", "b", MB_YESNOCANCEL), IDYES);
    EXPECT_EQ(MessageBox("a", "b", MB_YESNOCANCEL), IDCANCEL);
    SetMessageBoxHandler(nullptr);
}

}  // namespace
