#pragma once
// Fixture of the configuration-window tests: one QApplication for the run (offscreen), a
// fresh TApplication per test, message boxes recorded (and answered) through the facade's
// seam, the module's session once per process, bounded waits through the event loop, and the
// variable tables of the writable test views that the "uiviews" data set serves.
#include <stdlib.h>

#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "binding/HvSNMPRequest2Edits.h"
#include "mib/HvOptionList.h"
#include "mib/HvSnmpTypes.h"
#include "mib/SnmpVarDef.h"
#include "platform/MessageBox.h"
#include "platform/Strings.h"
#include "platform/System.h"
#include "platform/widgets/Widgets.h"
#include "snmp/HvSNMPSession.h"
#include "snmp/HvSNMPVarList.h"
#include "tests/agent/SnmpdAgent.h"
#include "tests/support/GuiTestSupport.h"
#include "ui/GUIConfigForm.h"
#include "ui/GUIGenerator.h"

namespace uitest {

inline guitest::CommandLine kCommandLine{"ui_test"};
inline ::testing::Environment* const kQtEnvironment = guitest::AddQtEnvironment(kCommandLine);

// ---- The test views ---------------------------------------------------------------------

// The subtree of the "uiviews" data set.
#define UIV "1.3.6.1.4.1.43917.50.1.10.1.1.30"
#define UIV_VAR(oid, label, syntax, access, options) \
    { oid, label, syntax, access, options, nullptr, nullptr, nullptr, nullptr, nullptr }
#define UIV_END \
    { nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr }

inline const HvOptionList& ModeOptions() {
    static const HvOptionData data[] = {{1, "off"}, {2, "on"}, {3, "auto"}, {0, nullptr}};
    static const HvOptionList list(data, OVK_INTEGER);
    return list;
}

inline const HvOptionList& RowStatusOptions() {
    static const HvOptionData data[] = {{1, "active"},      {2, "notInService"},  {3, "notReady"},
                                        {4, "createAndGo"}, {5, "createAndWait"}, {6, "destroy"},
                                        {0, nullptr}};
    static const HvOptionList list(data, OVK_INTEGER);
    return list;
}

// A scalar group with one writable variable.
inline const SnmpVarDef* OneWritableVars() {
    static const SnmpVarDef vars[] = {
        UIV_VAR(UIV ".1", "Location", SYNTAX_DISPLAYSTR, ACCESS_READWRITE, nullptr),
        UIV_VAR(UIV ".2", "Model", SYNTAX_DISPLAYSTR, ACCESS_READONLY, nullptr),
        UIV_END,
    };
    return vars;
}

// A scalar group with several writable variables: one with value names, one IP address.
inline const SnmpVarDef* SeveralWritableVars() {
    static const SnmpVarDef vars[] = {
        UIV_VAR(UIV ".11", "Contact", SYNTAX_DISPLAYSTR, ACCESS_READWRITE, nullptr),
        UIV_VAR(UIV ".12", "Mode", SYNTAX_INTEGER, ACCESS_READWRITE, &ModeOptions()),
        UIV_VAR(UIV ".13", "Gateway Address", SYNTAX_IPADDRESS, ACCESS_READWRITE, nullptr),
        UIV_VAR(UIV ".14", "Serial", SYNTAX_DISPLAYSTR, ACCESS_READONLY, nullptr),
        UIV_END,
    };
    return vars;
}

// A writable table with a row-status column (row 3 of the list).
inline const SnmpVarDef* ShareTableVars() {
    static const SnmpVarDef vars[] = {
        UIV_VAR(UIV ".20.1.1", "Index", SYNTAX_INTEGER, ACCESS_NOTACCESS, nullptr),
        UIV_VAR(UIV ".20.1.2", "Share Name", SYNTAX_DISPLAYSTR, ACCESS_READWRITE, nullptr),
        UIV_VAR(UIV ".20.1.3", "Quota", SYNTAX_INTEGER, ACCESS_READWRITE, nullptr),
        UIV_VAR(UIV ".20.1.4", "Status", SYNTAX_INTEGER, ACCESS_READWRITE, &RowStatusOptions()),
        UIV_END,
    };
    return vars;
}
constexpr int kStatusRow = 3;

inline std::string Uiv(const std::string& suffix) {
    return std::string(".") + UIV + suffix;
}

// ---- Fixture ------------------------------------------------------------------------------

using guitest::Box;

// The module's session, once per process (the pump runs while a TApplication exists).
inline void StartSession() {
    static bool created = false;
    if (created) return;
    char pattern[] = "/tmp/ui_test_XXXXXX";
    const char* dir = mkdtemp(pattern);
    ASSERT_NE(dir, nullptr);
    CreateGlobalSession(dir);
    created = true;
}

inline void UseAgent(const testagent::SnmpdAgent& agent) {
    GlobalDevice.Address = agent.Address();
    GlobalDevice.Port = agent.Port();
    GlobalScope = HvSNMPScope{};
    GlobalSecurity.Version = 1;  // SNMPv2c
    GlobalSecurity.ReadCommunity = testagent::kReadCommunity;
    GlobalSecurity.WriteCommunity = testagent::kWriteCommunity;
    DefaultTimeout = 100;
}

// A view window as the menu handlers build one: the window, its binding over a copy of the
// definitions, and the set-up. The binding is released after the window.
struct View {
    TConfigForm* form = nullptr;
    std::unique_ptr<HvSNMPRequest2Edits> binding;
    TSNMPEditorPanel* editor = nullptr;   // both windows have one
    TSNMPListViewPanel* table = nullptr;  // table windows only

    View() = default;
    View(View&& other) noexcept
        : form(std::exchange(other.form, nullptr)),
          binding(std::move(other.binding)),
          editor(other.editor),
          table(other.table) {}
    View& operator=(View&&) = delete;
    ~View() {
        delete form;
        binding.reset();
    }
    TCtrlBtnPanel* Column() const { return editor->ButtonColumn; }
    TEditsPanel* Edits() const { return editor->EditsPanel; }
    TStatusBar* Strip() const { return editor->MessageStrip()->StatusBar; }
    HvSNMPVarList& List() const { return binding->request.List(); }
};

inline std::unique_ptr<HvSNMPRequest2Edits> MakeBinding(TConfigForm* form, const SnmpVarDef* defs,
                                                        uint8_t itemType, int keys) {
    auto binding = std::make_unique<HvSNMPRequest2Edits>(form);
    if (defs) binding->request.SetList(HvSNMPVarList(defs, itemType, keys));
    return binding;
}

inline View EditorView(const SnmpVarDef* defs, const std::string& caption = "Editor: 127.0.0.1") {
    View view;
    view.form = new TConfigForm(Application);
    view.binding = MakeBinding(view.form, defs, SVT_SV, 0);
    view.editor = view.form->SetEditorType(view.binding.get());
    view.form->SetCaption(caption);
    return view;
}

inline View TableView(const SnmpVarDef* defs, const char* addValue = nullptr,
                      const char* deleteValue = nullptr, int statusRow = kStatusRow,
                      const std::string& caption = "Table: 127.0.0.1") {
    View view;
    view.form = new TConfigForm(Application);
    view.binding = MakeBinding(view.form, defs, MVT_FMV, 1);
    view.table =
        view.form->SetListViewType(view.binding.get(), statusRow, addValue, statusRow, deleteValue);
    view.editor = view.table;
    view.form->SetCaption(caption);
    return view;
}

class UiTest : public guitest::GuiFixture {
protected:
    void SetUp() override {
        StartApplication(kCommandLine);
        app->SetTitle("KSV-720E Test");
    }
    void TearDown() override {
        SetMessageBoxHandler({});
        app.reset();
    }

    // Runs `script` inside the window's modal loop (posted before the loop starts), then
    // returns ShowModal's result. The script ends the loop itself (Close, or a button); a
    // window still open after the bound fails the test and ends every modal loop.
    static TModalResult RunModal(TForm* form, std::function<void()> script, int boundMs = 120000) {
        QTimer::singleShot(0, [script = std::move(script)] { script(); });
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [] {
            ADD_FAILURE() << "a modal window was still open";
            Application->Terminate();
        });
        watchdog.start(boundMs);
        return form->ShowModal();
    }

    // Runs `script` once the modal window whose caption ends with `suffix` is open (an Add or
    // Edit window opened by the caller right after this call). Polls without blocking, so the
    // code that opens the window can go on meanwhile.
    static void WhenSubWindow(const std::string& suffix, std::function<void(TForm*)> script) {
        auto* poll = new QTimer;
        const uint32_t start = GetTickCount();
        QObject::connect(poll, &QTimer::timeout, [poll, suffix, script, start] {
            TForm* form = OpenSubWindow(suffix);
            if (!form && GetTickCount() - start < 15000) return;
            poll->stop();
            poll->deleteLater();
            if (!form) {
                ADD_FAILURE() << "no window" << suffix << " opened";
                return;
            }
            script(form);
        });
        poll->start(5);
    }

    // The modal window shown at present other than `except` (an Add or Edit window).
    static TForm* OpenSubWindow(const std::string& suffix) {
        for (int i = Application->ComponentCount() - 1; i >= 0; --i) {
            auto* form = dynamic_cast<TForm*>(Application->Components(i));
            if (!form || !form->Modal()) continue;
            const std::string& c = form->Caption();
            if (c.size() >= suffix.size() &&
                c.compare(c.size() - suffix.size(), suffix.size(), suffix) == 0)
                return form;
        }
        return nullptr;
    }

    // Processes events until `done`, at most `boundMs` milliseconds.
    static bool WaitFor(const std::function<bool()>& done, int boundMs = 15000) {
        return QTest::qWaitFor(done, boundMs);
    }

    // Saves a picture of the window into the build folder.
    static void SaveScreenshot(TForm* form, const std::string& name) {
        const QString path = QString(KSV_UI_SCREENSHOT_DIR) + "/" + ToQString(name) + ".png";
        EXPECT_TRUE(form->Widget()->grab().save(path)) << FromQString(path);
    }
};

// The visible controls of the command column, top to bottom, by caption or accessible name.
inline std::vector<std::string> VisibleColumn(TCtrlBtnPanel* column) {
    std::vector<std::string> names;
    for (TControl* control : column->LayoutList)
        if (control->Visible()) names.push_back(control->Name());
    return names;
}

}  // namespace uitest
