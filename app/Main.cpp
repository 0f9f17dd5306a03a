// uninstaller.exe: shows the main window until its close button (exit code 2026) or, once
// the product has been removed, its exit button (exit code 2) ends it; -1 when the window
// cannot be shown. No command line, no output but its effects.
#include "MainDlg.h"

#include "AppModule.h"
#include "SystemLibrary.h"

#include "svg/gdiplus/GDIPlusApi.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    // Before anything can load a DLL: the program runs from a folder in the user's temp
    // folder, where any program could have planted one. The import table names only kernel32
    // and msvcrt; COM, GDI+, the window DLLs and common controls 6 (through the manifest) load
    // at their first call below, from the system folder alone, and so do the DLLs they pull in.
    RestrictDllSearchToSystemFolder();
    CoInitialize(nullptr);
    INT_PTR result = -1;
    {
        SVGEngine::GDIPlusSession gdiplus;
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
        _Module.Init(instance);
        {
            CMainDlg dialog;
            result = dialog.DoModal(GetActiveWindow());
        }
        _Module.Term();
    }
    CoUninitialize();
    return static_cast<int>(result);
}
