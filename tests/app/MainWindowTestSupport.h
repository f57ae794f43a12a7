#pragma once
// Shared set-up of the main-window tests: a fresh working directory with its registry
// stand-in and the device's .cfg file, an application object, message boxes recorded and
// answered, and helpers that drive the modal windows the menu opens (the test's actions are
// queued before the menu command runs and execute inside the window's modal loop).
#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/CommandLine.h"
#include "app/MainUnit.h"
#include "binding/HvSNMPRequest2Edits.h"
#include "platform/MessageBox.h"
#include "platform/widgets/Application.h"
#include "platform/widgets/Buttons.h"
#include "platform/widgets/Menus.h"
#include "ui/GUIConfigForm.h"
#include "ui/GUIEditorPanel.h"
#include "ui/GUIFixedPanels.h"

namespace apptest {

namespace fs = std::filesystem;

// Waits for most of what the tests wait for (a window, a reply of the local agent).
constexpr int kWaitMs = 30000;

inline bool WaitFor(const std::function<bool()>& condition, int timeoutMs = kWaitMs) {
    return QTest::qWaitFor(condition, timeoutMs);
}

struct Box {
    std::string text;
    std::string caption;
    unsigned flags;
};

// The .cfg keys of a device reached with communities (SNMPv1 or v2c) at `port`.
inline std::vector<std::pair<std::string, std::string>> CommunityCfg(int port, int version) {
    return {{"AgentPort", std::to_string(port)},
            {"Version", std::to_string(version)},
            {"SecurityModel", "3"},
            {"SecurityLevel", "0"},
            {"AuthProtocol", "0"},
            {"PrivProtocol", "0"}};
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/ksv-mainwindow-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        previousDir_ = fs::current_path();
        fs::current_path(dir_);
        UseRegistry(dir_ / "registry.reg");
        app_ = std::make_unique<TApplication>(argc_, argv_);
        previousHandler_ = SetMessageBoxHandler(
            [this](const std::string& text, const std::string& caption, unsigned flags) {
                boxes_.push_back({text, caption, flags});
                return answer_;
            });
    }
    void TearDown() override {
        SetMessageBoxHandler(previousHandler_);
        app_.reset();
        SetCommandLine(std::vector<std::string>{});
        fs::current_path(previousDir_);
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    // The registry stand-in file (its directory may be missing: then no key can be created).
    void UseRegistry(const fs::path& file) { setenv("KSV720E_REGISTRY", file.c_str(), 1); }
    // A registry file holding the maker's HelpPath key.
    void WriteHelpPathKey() {
        std::ofstream(dir_ / "registry.reg", std::ios::binary)
            << "Windows Registry Editor Version 5.00\r\n\r\n"
               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Halvora\\Modules\\HelpPath]\r\n"
               "\"1.3.6.1.4.1.43917.50.1.1.1\"=\"help\\\\ksv0001.htm\"\r\n";
    }
    void WriteCfg(const std::string& address,
                  const std::vector<std::pair<std::string, std::string>>& keys) {
        std::ofstream cfg(dir_ / (address + ".cfg"), std::ios::binary);
        cfg << "[Program Information]\r\n";
        for (const auto& [key, value] : keys) cfg << key << "=" << value << "\r\n";
    }
    // Creates the main window as the program entry does, with these arguments.
    TMainForm* Launch(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "ksv720e");
        SetCommandLine(std::move(arguments));
        return Application->CreateForm<TMainForm>();
    }

    fs::path dir_;
    std::vector<Box> boxes_;
    int answer_ = IDOK;

private:
    fs::path previousDir_;
    std::unique_ptr<TApplication> app_;
    MessageBoxHandler previousHandler_;
    int argc_ = 1;
    char name_[8] = "ksv720e";
    char* argv_[2] = {name_, nullptr};
};

// The configuration window shown modally at present, or null.
inline TConfigForm* OpenViewWindow() {
    for (int i = 0; i < Application->ComponentCount(); ++i) {
        auto* form = dynamic_cast<TConfigForm*>(Application->Components(i));
        if (form && form->Modal() && form->Visible()) return form;
    }
    return nullptr;
}

inline int ViewWindowCount() {
    int count = 0;
    for (int i = 0; i < Application->ComponentCount(); ++i)
        if (dynamic_cast<TConfigForm*>(Application->Components(i))) ++count;
    return count;
}

// Chooses `item` from the menu and, inside the view window's modal loop, waits until the
// window's first read has ended, runs `inspect` and presses the window's Close button.
// Returns whether `inspect` ran; the choice itself returns once the window has closed.
inline bool RunView(TMenuItem* item, const std::function<void(TConfigForm&)>& inspect) {
    bool inspected = false;
    QTimer::singleShot(0, [&] {
        TConfigForm* form = nullptr;
        const bool open = WaitFor([&] { return (form = OpenViewWindow()) != nullptr; });
        EXPECT_TRUE(open) << "no view window for " << item->Caption();
        if (!open) {
            Application->Terminate();  // ends the modal loop of whatever opened
            return;
        }
        // The window refreshes itself once shown: it has a current binding from then on.
        EXPECT_TRUE(WaitFor([&] {
            HvSNMPRequest2Edits* binding = form->CurrentBinding();
            return binding != nullptr && !binding->active;
        })) << "the first read of "
            << form->Caption() << " did not end";
        inspect(*form);
        inspected = true;
        form->EditorPanel()->ButtonColumn->CloseBtn->Click();
    });
    item->Action()->trigger();
    return inspected;
}

}  // namespace apptest
