#include "platform/MessageBox.h"

#include <cstdio>

#include "platform/System.h"

namespace {

MessageBoxHandler& Handler() {
    static MessageBoxHandler handler;
    return handler;
}

}  // namespace

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    MessageBoxHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

int MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    // A copy, so that a handler may install another one while it runs.
    if (const MessageBoxHandler handler = Handler()) return handler(text, caption, flags);
    const std::string line = caption + ": " + text + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    const unsigned buttons = flags & 0xF;
    return buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? IDYES : IDOK;
}

void ShowMessage(const std::string& text) {
    MessageBox(text, ApplicationTitle(), MB_OK);
}
