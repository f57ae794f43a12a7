#pragma once
// TApplication: the application object and its message loop.
//
// One TApplication exists while the program (or a test) uses the widget facade; the
// global `Application` points to it. It creates the QApplication when none exists yet,
// installs the real message-box dialog behind platform/MessageBox.h (the previous handler
// comes back when it is destroyed), and owns the forms created with it as owner: its
// destructor destroys them before the QApplication goes.
//
//   int main(int argc, char** argv) {
//       TApplication app(argc, argv);
//       Application->Initialize();
//       Application->SetTitle("KSV-720E");
//       Application->CreateForm<TMainForm>();   // the first form becomes the main form
//       Application->Run();                     // until Terminate or the main form closes
//   }
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/MessageBox.h"
#include "platform/widgets/Component.h"

class QApplication;
class QEventLoop;
class TForm;

using TExceptionEvent = std::function<void(TObject* sender, const std::exception& e)>;

class TApplication : public TComponent {
public:
    // argc and argv must outlive the object (Qt keeps them).
    TApplication(int& argc, char** argv);
    ~TApplication() override;

    // Present for the program entry's sake; the constructor has done the work.
    void Initialize() {}

    // The caption of message boxes; also sets platform ApplicationTitle().
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title);

    // The main form: closing it terminates the application; Run shows it.
    TForm* MainForm() const;
    void SetMainForm(TForm* form) { mainForm_ = form; }
    // Creates a form owned by the application; the first one becomes the main form.
    template <class T>
    T* CreateForm() {
        T* form = new T(this);
        if (!MainForm()) SetMainForm(form);
        return form;
    }

    // Shows the main form and processes events until Terminate. Returns at once when
    // Terminate was called before.
    void Run();
    // Ends the message loop of Run and every modal loop (their forms return mrCancel), also
    // when called before Run.
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Processes the pending events (timers, posted messages, input) without waiting.
    void ProcessMessages();

    // What the toolkit does with an exception that escaped an event handler: OnException
    // when set, otherwise ShowException. e is null for an exception of unknown type.
    void HandleException(const std::exception* e) noexcept;
    // A message box with the exception's message, the title as caption and one OK button.
    void ShowException(const std::exception& e);
    const TExceptionEvent& OnException() const { return onException_; }
    void SetOnException(TExceptionEvent handler) { onException_ = std::move(handler); }

private:
    friend class TForm;
    std::unique_ptr<QApplication> ownedApp_;
    MessageBoxHandler previousHandler_;
    std::string title_;
    TForm* mainForm_ = nullptr;
    bool terminated_ = false;
    std::vector<QEventLoop*> loops_;
    TExceptionEvent onException_;
};

// The application object, or null when none exists.
extern TApplication* Application;
