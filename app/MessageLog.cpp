#include "app/MessageLog.h"

#include <cstdio>
#include <cstdlib>

#include "platform/MessageBox.h"

namespace {
void AppendLine(const std::string& fileName, const std::string& text) {
    if (std::FILE* file = std::fopen(fileName.c_str(), "ab")) {
        std::fwrite(text.data(), 1, text.size(), file);
        std::fputc('\n', file);
        std::fclose(file);
    }
}
}  // namespace

bool InstallMessageLogFromEnvironment() {
    const char* value = std::getenv(kMessageLogEnv);
    if (value == nullptr || *value == '\0') return false;
    const std::string fileName = value;
    SetMessageBoxHandler([fileName](const std::string& text, const std::string&, unsigned flags) {
        AppendLine(fileName, text);
        const unsigned buttons = flags & 0xF;
        return (buttons == MB_YESNO || buttons == MB_YESNOCANCEL) ? IDYES : IDOK;
    });
    return true;
}
