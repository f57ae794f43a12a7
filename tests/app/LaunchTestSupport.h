#pragma once
// Shared set-up of the launch tests: every test runs in a fresh temporary directory that
// is also the current directory, with its own registry stand-in file, and starts from the
// default records and the compiled-in message texts.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

// The registry stand-in file of the current test.
inline constexpr char kRegistryEnv[] = "KSV720E_REGISTRY";

class LaunchTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    const std::filesystem::path& Dir() const { return dir_; }
    std::filesystem::path RegistryPath() const { return dir_ / "registry.reg"; }

private:
    std::filesystem::path dir_;
    std::filesystem::path previousDir_;
};

// Writes bytes to a file below the current directory, creating its parent directories.
void WriteFile(const std::filesystem::path& path, const std::string& bytes);
std::string ReadFile(const std::filesystem::path& path);

// One registry value: key below HKEY_LOCAL_MACHINE (e.g. "SOFTWARE\Halvora\Modules\HelpPath"),
// value name, and its right-hand side as it stands in the file: a string (escaped here) or,
// with isString false, a raw form such as "dword:00000001".
struct RegistryValue {
    std::string key;
    std::string name;
    std::string data;
    bool isString = true;
};
// Writes the registry stand-in file in the registry export format.
void WriteRegistry(const std::filesystem::path& path, const std::vector<RegistryValue>& values);

// A .cfg file with section "Program Information" and the given key/value lines.
void WriteCfg(const std::filesystem::path& path,
              const std::vector<std::pair<std::string, std::string>>& keys);

// Puts back the default records and the compiled-in message texts (done before each test).
void RestoreDefaults();

// All fields of GlobalDevice, GlobalScope and GlobalSecurity as one text, for comparing
// whole records in one assertion.
std::string RecordsText();
