// Runs the built program as the console would start it, headless, with its message boxes
// written to a file (KSV720E_MESSAGE_LOG) instead of shown.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteText(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/ksv-program-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    struct Outcome {
        bool finished = false;
        int exitCode = -1;
        std::string messages;
    };

    // Starts the program in the test directory and waits (bounded) for it to end.
    Outcome Run(const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("KSV720E_REGISTRY", QString::fromStdString((dir_ / "registry.reg").string()));
        env.insert("KSV720E_MESSAGE_LOG", QString::fromStdString(LogPath().string()));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(QString::fromStdString(dir_.string()));
        process.start(KSV720E_EXE, arguments);
        Outcome outcome;
        outcome.finished = process.waitForStarted(30000) && process.waitForFinished(60000);
        if (!outcome.finished) {
            process.kill();
            process.waitForFinished(10000);
            return outcome;
        }
        outcome.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        outcome.messages = ReadText(LogPath());
        return outcome;
    }

    fs::path LogPath() const { return dir_ / "messages.log"; }
    fs::path dir_;
};

TEST_F(ProgramTest, WithoutArgumentsSaysSoAndEnds) {
    const Outcome outcome = Run({});
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.messages, "No parameter input\n");
    // The session was created in the working directory before the arguments were looked at.
    EXPECT_TRUE(fs::exists(dir_ / "HvSNMP_PP_BootCounter"));
}

TEST_F(ProgramTest, StartUpErrorIsShownAndTheProgramEnds) {
    // A .cfg file without "AgentPort": the conversion of the empty text fails.
    WriteText(dir_ / "10.0.0.5.cfg", "[Program Information]\r\nVersion=3\r\n");
    const Outcome outcome = Run({"/I10.0.0.5", "/Rpublic"});
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_THAT(outcome.messages, HasSubstr("''"));
    EXPECT_THAT(outcome.messages, ::testing::Not(HasSubstr("No parameter input")));
}

TEST_F(ProgramTest, RegistryValueOfTheWrongTypeEndsStartUp) {
    WriteText(dir_ / "registry.reg",
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Halvora\\Tellamon5.1\\ExePath]\r\n"
              "\"Path\"=dword:00000001\r\n");
    const Outcome outcome = Run({"/I10.0.0.5"});
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_THAT(outcome.messages, HasSubstr("Path"));  // the value that could not be read
    EXPECT_THAT(outcome.messages, ::testing::Not(HasSubstr("No parameter input")));
}

}  // namespace
