#pragma once
// TMainForm: the module's main window. Its constructor runs the launch: it creates the SNMP
// session, reads the registry, loads the message files and applies the command-line
// switches and the device's .cfg file to the default records.
#include <string>

#include "platform/widgets/Forms.h"

class TMainForm : public TForm {
public:
    // Raises what the launch raises (session errors, conversion errors, a registry value of
    // the wrong type); without command-line arguments it says so and terminates the
    // application.
    explicit TMainForm(TComponent* owner);

    // The device address given with /I; the window's caption.
    std::string AddressText;
    // "Version" as last read from the .cfg file.
    std::string VersionText;
    // The caption of the last opened view window.
    std::string ViewTitle;

    // Shows the views this module serves and hides the others (only items that exist).
    void ApplyDeviceMenu();

    void FormCreate(TObject* sender);

private:
    void Launch();
};
