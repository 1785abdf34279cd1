// Uninstall: removes the Norra software from the folder Modem.ini beside it names, asking first.

#include "installer/core/Payload.h"
#include "installer/core/Uninstaller.h"

#include "platform/classlib/forms/Dialogs.h"
#include "platform/classlib/forms/Forms.h"

#include <filesystem>

int main()
{
    Application->Initialize();
    Application->SetTitle("Norra Uninstall");
    const std::string ownFolder = std::filesystem::path(Application->ExeName()).parent_path().string();
    std::string installDir = RecordedInstallFolder(ownFolder + "/" + std::string(ManagerSettingsFile));
    if (installDir.empty())
        installDir = ownFolder;
    if (MessageDlg("Do you want to remove Norra dialer software from " + installDir +
                       "?\nYour phonebook and messages in it are removed too.",
                   mtConfirmation, {mbYes, mbNo}, 0) != mrYes)
        return 0;
    const auto failures = RemoveInstallation(installDir, InstallerPayload(), DefaultShortcutFolders());
    if (failures.empty()) {
        ShowMessage("Norra dialer software has been removed.");
        return 0;
    }
    std::string text = "These files could not be removed:";
    for (const std::string& path : failures)
        text += "\n" + path;
    ShowMessage(text);
    return 1;
}
