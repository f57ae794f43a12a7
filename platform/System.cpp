#include "platform/System.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include "platform/Strings.h"

uint32_t GetTickCount() {
    static const QElapsedTimer clock = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return static_cast<uint32_t>(clock.elapsed());
}

void ProcessMessages() {
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

std::string NativeFileName(const std::string& windowsName) {
    std::string name = windowsName;
    for (char& c : name) {
        if (c == '\\') c = '/';
    }
    return name;
}

bool FileExists(const std::string& windowsName) {
    if (windowsName.empty()) return false;
    return QFileInfo(ToQString(NativeFileName(windowsName))).isFile();
}

std::string GetCurrentDir() {
    return FromQString(QDir::currentPath());
}

namespace {

std::string& Title() {
    static std::string title;
    return title;
}

}  // namespace

const std::string& ApplicationTitle() {
    return Title();
}

void SetApplicationTitle(const std::string& title) {
    Title() = title;
}
