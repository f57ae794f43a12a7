// Program entry of the KSV-720E device module.
#include <exception>

#include "app/CommandLine.h"
#include "app/MainUnit.h"
#include "app/MessageLog.h"
#include "platform/Exception.h"
#include "platform/widgets/Application.h"

int main(int argc, char** argv) {
    // The arguments as the console passed them, before the toolkit takes its own out.
    SetCommandLine(argc, argv);
    TApplication application(argc, argv);
    InstallMessageLogFromEnvironment();
    try {
        Application->Initialize();
        Application->SetTitle("KSV-720E");
        Application->CreateForm<TMainForm>();
        Application->Run();
    } catch (const std::exception& e) {
        // Start-up failures (session, registry, conversions) end the module after the
        // message; exceptions of event handlers are handled inside Run.
        Application->ShowException(e);
    }
    return 0;
}
