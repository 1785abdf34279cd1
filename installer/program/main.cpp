// Installer: the wizard that installs the Norra dialer software and its modem's driver.

#include "installer/app/Main.h"
#include "platform/winapi/display/DisplayBackend.h"

int main()
{
    if (!SelectProgramDisplay("Installer"))
        return 1;
    Application->Initialize();
    Application->SetTitle("Norra Installer");
    RegisterInstallerClasses();
    Application->CreateForm(FMain);
    Application->Run();
    // The window goes while the window system's tables are still there, not at program exit.
    delete Application->MainForm();
    return 0;
}
