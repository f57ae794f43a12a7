#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/MainUnit.h"
#include "platform/Exception.h"
#include "platform/MessageBox.h"
#include "platform/widgets/Application.h"
#include "platform/widgets/Menus.h"
#include "snmp/HvSNMPSession.h"

namespace {

namespace fs = std::filesystem;

// Each test gets an application object and a fresh working directory with an empty
// registry stand-in; the window's constructor creates the session there.
class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/ksv-mainform-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        previousDir_ = fs::current_path();
        fs::current_path(dir_);
        setenv("KSV720E_REGISTRY", (dir_ / "registry.reg").c_str(), 1);
        app_ = std::make_unique<TApplication>(argc_, argv_);
        previousHandler_ =
            SetMessageBoxHandler([this](const std::string& text, const std::string&, unsigned) {
                messages_.push_back(text);
                return IDOK;
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

    fs::path dir_;
    std::vector<std::string> messages_;

private:
    fs::path previousDir_;
    std::unique_ptr<TApplication> app_;
    MessageBoxHandler previousHandler_;
    int argc_ = 1;
    char name_[8] = "ksv720e";
    char* argv_[2] = {name_, nullptr};
};

TEST_F(MainFormTest, LaunchedWindowIsCaptionedWithTheAddress) {
    SetCommandLine({"ksv720e", "/I10.1.1.7", "/Rread", "/Wwrite"});
    TMainForm* form = Application->CreateForm<TMainForm>();
    EXPECT_EQ(form->AddressText, "10.1.1.7");
    EXPECT_EQ(form->Caption(), "10.1.1.7");
    EXPECT_EQ(form->VersionText, "");
    EXPECT_EQ(form->ViewTitle, "");
    EXPECT_EQ(form->Width(), 800);
    EXPECT_EQ(GlobalSecurity.Version, 0);
    EXPECT_EQ(GlobalSecurity.ReadCommunity, "read");
    EXPECT_EQ(GlobalSecurity.WriteCommunity, "write");
    EXPECT_FALSE(Application->Terminated());
    EXPECT_TRUE(messages_.empty());
    EXPECT_TRUE(fs::exists(dir_ / "HvSNMP_PP_BootCounter"));
}

TEST_F(MainFormTest, WithoutArgumentsTheApplicationTerminates) {
    SetCommandLine({"ksv720e"});
    TMainForm* form = Application->CreateForm<TMainForm>();
    EXPECT_EQ(messages_, std::vector<std::string>{"No parameter input"});
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(form->Caption(), "");
    Application->Run();  // returns at once
}

TEST_F(MainFormTest, LaunchErrorLeavesTheConstructor) {
    std::ofstream(dir_ / "10.0.0.5.cfg") << "[Program Information]\r\nVersion=3\r\n";
    SetCommandLine({"ksv720e", "/I10.0.0.5", "/Rx"});
    const int forms = Application->ComponentCount();
    EXPECT_THROW(Application->CreateForm<TMainForm>(), EConvertError);
    EXPECT_EQ(Application->ComponentCount(), forms);
    EXPECT_EQ(Application->MainForm(), nullptr);
}

TEST_F(MainFormTest, DeviceMenuHidesTheViewsWithoutVariables) {
    SetCommandLine({"ksv720e", "/I10.1.1.7"});
    TMainForm* form = Application->CreateForm<TMainForm>();
    const struct {
        const char* name;
        const char* caption;
        bool initially;
        bool after;
    } items[] = {
        {"NASAgentTable1", "Agent Version Information", true, true},
        {"SystemInformation1", "System Information Table", true, false},
        {"DiskInformation1", "Disk Information Table", true, true},
        {"RAIDInformation1", "RAID Information Table", false, false},
        {"N1", "-", false, false},  // separators are left alone
        {"UPSTable1", "UPS Information Table", false, true},
        {"AMAZONS3Table1", "AMAZON S3 Table", true, false},
    };
    std::vector<TMenuItem*> created;
    for (const auto& i : items) {
        auto* item = new TMenuItem(form);
        item->SetName(i.name);
        item->SetCaption(i.caption);
        item->SetVisible(i.initially);
        created.push_back(item);
    }
    form->ApplyDeviceMenu();
    for (std::size_t k = 0; k < created.size(); ++k) {
        SCOPED_TRACE(items[k].name);
        EXPECT_EQ(created[k]->Visible(), items[k].after);
    }
}

}  // namespace
