#include "platform/widgets/Application.h"

#include <cstdio>

#include <QApplication>
#include <QEventLoop>

#include "platform/Exception.h"
#include "platform/System.h"
#include "platform/widgets/Forms.h"
#include "platform/widgets/WidgetsInternal.h"

TApplication* Application = nullptr;

namespace widgets_internal {

void ReportException(const std::exception* e) noexcept {
    if (Application) {
        Application->HandleException(e);
        return;
    }
    std::fprintf(stderr, "Unhandled exception in an event handler: %s\n",
                 e ? e->what() : "(unknown exception)");
}

}  // namespace widgets_internal

TApplication::TApplication(int& argc, char** argv) : TComponent(nullptr) {
    if (Application) throw Exception("Only one application object may exist");
    if (!QCoreApplication::instance()) {
        ownedApp_ = std::make_unique<QApplication>(argc, argv);
    } else if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        throw Exception("The widget toolkit needs a QApplication");
    }
    // The application ends when Terminate is called (by closing the main form), not when
    // Qt sees its last window go.
    QApplication::setQuitOnLastWindowClosed(false);
    previousHandler_ = SetMessageBoxHandler(&widgets_internal::ShowQtMessageBox);
    Application = this;
}

TApplication::~TApplication() {
    // Forms owned by the application go while the QApplication still exists.
    while (ComponentCount() > 0) delete Components(ComponentCount() - 1);
    SetMessageBoxHandler(previousHandler_);
    Application = nullptr;
    ownedApp_.reset();
}

void TApplication::SetTitle(const std::string& title) {
    title_ = title;
    SetApplicationTitle(title);
}

TForm* TApplication::MainForm() const {
    return widgets_internal::IsLive(mainForm_) ? mainForm_ : nullptr;
}

void TApplication::Run() {
    if (terminated_) return;
    if (TForm* form = MainForm()) {
        form->Show();
        form->SetActiveState(true);
    }
    QEventLoop loop;
    loops_.push_back(&loop);
    while (!terminated_) loop.exec();
    std::erase(loops_, &loop);
}

void TApplication::Terminate() {
    terminated_ = true;
    for (QEventLoop* loop : loops_) loop->exit(0);
}

void TApplication::ProcessMessages() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TApplication::HandleException(const std::exception* e) noexcept {
    try {
        if (onException_) {
            TExceptionEvent handler = onException_;
            if (e)
                handler(this, *e);
            else
                handler(this, Exception("Unknown exception"));
            return;
        }
        if (e)
            ShowException(*e);
        else
            ShowException(Exception("Unknown exception"));
    } catch (const std::exception& inner) {
        std::fprintf(stderr, "Exception while showing an exception: %s\n", inner.what());
    } catch (...) {
        std::fprintf(stderr, "Unknown exception while showing an exception\n");
    }
}

void TApplication::ShowException(const std::exception& e) {
    MessageBox(e.what(), ApplicationTitle(), MB_OK | MB_ICONERROR);
}
