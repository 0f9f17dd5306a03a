// uninstall.exe: writes the uninstaller it carries into the user's temporary folder,
// starts it from there and ends at once, so that the uninstaller runs from outside the
// install folder it is about to remove.
#include "AppModule.h"
#include "EmbeddedProgram.h"
#include "LeftoverFolder.h"
#include "PrivateFolder.h"
#include "SystemLibrary.h"
#include "WorkingFolder.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    // Before anything can load a DLL: a launcher started from a downloads folder must not
    // pick up a DLL planted beside it.
    RestrictDllSearchToSystemFolder();
    CoInitialize(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    _Module.Init(instance);

    SetPriorityClass(GetCurrentProcess(), REALTIME_PRIORITY_CLASS);
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);

    // Any program of the user can make the folder in advance and fill it: whatever is found at
    // its place is removed, and the folder made anew. While an uninstaller started from it still
    // runs, nothing is removed and nothing started.
    const std::wstring workingFolder = BuildWorkingFolder();
    const std::wstring target = BuildTargetFile(workingFolder);
    if (RemoveLeftoverFolder(workingFolder)) {
        PrivateFolder folder = PrivateFolder::Create(workingFolder);
        if (folder && folder.AddProgram(target, FindEmbeddedProgram(instance))) {
            // The working folder becomes the uninstaller's current directory, so it never
            // inherits (and keeps alive) the install folder the launcher may run from.
            ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, workingFolder.c_str(),
                          SW_HIDE);
        }
    }

    _Module.Term();
    CoUninitialize();
    return 0;
}
