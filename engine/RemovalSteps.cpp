#include "RemovalSteps.h"

#include "FolderRemovalCommand.h"
#include "InstallLocation.h"
#include "InstallLocationCheck.h"
#include "ProductNames.h"
#include "ProductPaths.h"
#include "ProductProcesses.h"
#include "ShellFolders.h"
#include "StartMenuEntries.h"
#include "StoppedProcesses.h"
#include "ThreadAnsiText.h"

#include <windows.h>
#include <shlobj.h>

#include <string>

namespace {

void DeleteDesktopShortcut() {
    // Without its folder the name alone would be a path at the current drive's root.
    const std::wstring desktop = ShellFolderPath(CSIDL_DESKTOP);
    if (desktop.empty())
        return;
    DeleteFileW((desktop + WidenWithThreadCodePage(kDesktopShortcutNameGbk)).c_str());
}

void NotifyShellOfDeletion() {
    wchar_t ownPath[260] = {};
    GetModuleFileNameW(nullptr, ownPath, 260);
    SHChangeNotify(SHCNE_DELETE, SHCNF_PATHW, ownPath, nullptr);
}

} // namespace

FolderRemoval RunRemovalSteps() {
    DeleteDesktopShortcut();
    DeleteStartMenuEntries();
    NotifyShellOfDeletion();

    const std::wstring location = QueryInstallLocation(true);
    if (location.size() < 2)
        return FolderRemoval();

    StoppedProcesses stopped;
    KillProductProcesses(ProductFilePath(location, kMainProgramRelativePath), kMainProgramImageName,
                         true, &stopped);
    KillProductProcesses(ProductFilePath(location, kDebugBridgeRelativePath), kDebugBridgeImageName,
                         true, &stopped);
    // The programs must have let go of their files before rd runs.
    stopped.WaitForAll();

    const InstallLocationFacts facts = GatherInstallLocationFacts(location);
    if (!IsRemovableInstallLocation(location, facts))
        return FolderRemoval();
    return FolderRemoval(facts.finalLocation, StartFolderRemovalCommand(location));
}
