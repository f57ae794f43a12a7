// The built program on a real (virtual) display against the real snmpd: started as the
// console starts it, driven through its menu from the keyboard with xdotool, as a user
// would. Skipped where Xvfb or xdotool is missing.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QThread>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "tests/agent/SnmpdAgent.h"

namespace {

namespace fs = std::filesystem;

bool Installed(const char* program) {
    return !QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty();
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Polls `condition` every 50 ms until it holds or `ms` have passed.
bool PollFor(const std::function<bool()>& condition, int ms = 30000) {
    QDeadlineTimer deadline(ms);
    while (!condition()) {
        if (deadline.hasExpired()) return false;
        QThread::msleep(50);
    }
    return true;
}

class ProgramDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Installed("Xvfb") || !Installed("xdotool")) GTEST_SKIP() << "Xvfb or xdotool missing";
        char pattern[] = "/tmp/ksv-display-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        // A display of our own; Xvfb writes its number to the descriptor given.
        xvfb_.setProcessChannelMode(QProcess::MergedChannels);
        xvfb_.start("sh", {"-c",
                           "exec Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp "
                           "2>/dev/null"});
        ASSERT_TRUE(xvfb_.waitForStarted(10000));
        std::string display;
        ASSERT_TRUE(PollFor([&] {
            xvfb_.waitForReadyRead(50);
            display += xvfb_.readAll().toStdString();
            return display.find('\n') != std::string::npos;
        }));
        display_ = ":" + display.substr(0, display.find('\n'));
        agent_.Start();
    }
    void TearDown() override {
        for (QProcess* p : {&module_, &xvfb_}) {
            if (p->state() != QProcess::NotRunning) {
                p->terminate();
                if (!p->waitForFinished(10000)) p->kill();
                p->waitForFinished(5000);
            }
        }
        std::error_code ignored;
        if (!dir_.empty()) fs::remove_all(dir_, ignored);
    }

    // Runs xdotool with the arguments on our display; its output, trimmed.
    std::string Xdotool(const QStringList& arguments, int* exitCode = nullptr) {
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", QString::fromStdString(display_));
        tool.setProcessEnvironment(env);
        tool.start("xdotool", arguments);
        tool.waitForFinished(20000);
        if (exitCode) *exitCode = tool.exitCode();
        return tool.readAllStandardOutput().trimmed().toStdString();
    }
    // The visible window named exactly `name`, or empty.
    std::string Window(const std::string& name) {
        std::string ids = Xdotool({"search", "--onlyvisible", "--name",
                                   QString::fromStdString("^" + Escaped(name) + "$")});
        return ids.substr(0, ids.find('\n'));
    }
    static std::string Escaped(const std::string& text) {
        std::string escaped;
        for (char c : text) {
            if (std::string(".^$*+?()[]{}|\\").find(c) != std::string::npos) escaped += '\\';
            escaped += c;
        }
        return escaped;
    }

    void StartModule() {
        std::ofstream(dir_ / "registry.reg", std::ios::binary)
            << "Windows Registry Editor Version 5.00\r\n\r\n"
               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Halvora\\Modules\\HelpPath]\r\n"
               "\"1.3.6.1.4.1.43917.50.1.1.1\"=\"help\\\\ksv0001.htm\"\r\n";
        std::ofstream(dir_ / "127.0.0.1.cfg", std::ios::binary)
            << "[Program Information]\r\nAgentPort=" << agent_.Port()
            << "\r\nVersion=1\r\nSecurityModel=3\r\nSecurityLevel=0\r\nAuthProtocol=0\r\n"
               "PrivProtocol=0\r\n";
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", QString::fromStdString(display_));
        env.remove("QT_QPA_PLATFORM");  // the X11 platform of the display
        env.insert("KSV720E_REGISTRY", QString::fromStdString((dir_ / "registry.reg").string()));
        env.insert("KSV720E_MESSAGE_LOG", QString::fromStdString((dir_ / "messages.log").string()));
        module_.setProcessEnvironment(env);
        module_.setWorkingDirectory(QString::fromStdString(dir_.string()));
        module_.start(KSV720E_EXE, {"/I127.0.0.1", "/Rpublic", "/Wprivate", "/v1"});
        ASSERT_TRUE(module_.waitForStarted(30000));
    }

    // Chooses from the menu bar by keyboard: Alt selects the bar, `keys` walk the menus.
    void MenuKeys(const std::string& mainWindow, const QStringList& keys) {
        QStringList arguments{"windowfocus", "--sync",  QString::fromStdString(mainWindow),
                              "key",         "--delay", "50",
                              "alt"};
        arguments += keys;
        Xdotool(arguments);
    }

    fs::path dir_;
    std::string display_;
    QProcess xvfb_;
    QProcess module_;
    testagent::SnmpdAgent agent_;
};

TEST_F(ProgramDisplayTest, MenuOpensTheViewsAndTheAboutBox) {
    StartModule();
    // The main window is captioned with the address.
    std::string main;
    ASSERT_TRUE(PollFor([&] { return !(main = Window("127.0.0.1")).empty(); }));

    // Each view: the k-th visible item of "Device Information"; Close returns to the main
    // window (the Close button is the last of the command column, clicked with the mouse).
    struct View {
        int position;
        const char* title;
        int closeY;  // the Close button's middle, from the window's top
    };
    const View views[] = {
        {1, "Agent Version Information: 127.0.0.1", 52},
        {2, "Volume Information Table: 127.0.0.1", 90},
        {3, "Disk Information Table: 127.0.0.1", 90},
        {4, "UPS Information Table: 127.0.0.1", 90},
    };
    for (const View& view : views) {
        SCOPED_TRACE(view.title);
        QStringList keys{"Down"};
        for (int i = 1; i < view.position; ++i) keys << "Down";
        keys << "Return";
        MenuKeys(main, keys);
        std::string id;
        ASSERT_TRUE(PollFor([&] { return !(id = Window(view.title)).empty(); }));
        const std::string geometry =
            Xdotool({"getwindowgeometry", "--shell", QString::fromStdString(id)});
        int x = 0, y = 0, width = 0;
        std::istringstream lines(geometry);
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("X=", 0) == 0) x = std::stoi(line.substr(2));
            if (line.rfind("Y=", 0) == 0) y = std::stoi(line.substr(2));
            if (line.rfind("WIDTH=", 0) == 0) width = std::stoi(line.substr(6));
        }
        Xdotool({"mousemove", QString::number(x + width - 58), QString::number(y + view.closeY),
                 "click", "1"});
        EXPECT_TRUE(PollFor([&] { return Window(view.title).empty(); }));
        EXPECT_EQ(Window("127.0.0.1"), main);
    }

    // Help, About: the box shows; Enter on its focused OK button closes it.
    MenuKeys(main, {"Right", "Down", "Return"});
    ASSERT_TRUE(PollFor([&] { return !Window("About KSV-720E Module").empty(); }));
    Xdotool({"key", "Return"});
    EXPECT_TRUE(PollFor([&] { return Window("About KSV-720E Module").empty(); }));

    EXPECT_EQ(module_.state(), QProcess::Running);
    // No message box on the way (errors would have been written to the log).
    EXPECT_EQ(ReadText(dir_ / "messages.log"), "");
}

}  // namespace
