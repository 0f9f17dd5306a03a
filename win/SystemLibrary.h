#pragma once
// DLLs that Windows does not always take from its system folder (GDI+, Direct3D, DXGI,
// Direct2D, DirectWrite, DirectComposition, WIC, Shcore, ...) are loaded through these
// functions only: from the system folder, never from the program's own folder, the
// current directory or the PATH. The uninstaller runs from a folder any program of the
// user can write to, so a DLL planted there must never be picked up.
#include <windows.h>

// Makes the system folder the only place the loader searches for DLLs of this process
// (SetDefaultDllDirectories, looked up at run time), has every delay-loaded DLL (in the programs
// we ship, every system DLL but kernel32 and msvcrt) loaded through LoadSystemLibrary, and loads
// from the system folder the DLLs that system DLLs load on their own later, where the restriction
// may not reach. Call first thing in every program, before anything that could call into a
// delay-loaded DLL: such a call would load it with the default search. On a Windows 7 without
// update KB2533623 SetDefaultDllDirectories does not exist; the current directory is then at
// least taken out of the search (SetDllDirectoryW(L"")), and delay-loaded DLLs still come from
// the system folder by their full path.
void RestrictDllSearchToSystemFolder();

// Loads a DLL by file name from the system folder (nullptr if it is not there), or from WinSxS
// where the program's manifest names it (common controls 6). On a Windows 7 without KB2533623
// the DLL is loaded by its full path in the system folder, and its own dependencies are searched
// from there first.
HMODULE LoadSystemLibrary(const wchar_t* fileName);

// An entry point of a system DLL, or nullptr. The library stays loaded for the life of
// the process, as the entry points handed out may be called at any time.
FARPROC SystemProcAddress(const wchar_t* fileName, const char* procName);

template <typename Function> Function SystemProc(const wchar_t* fileName, const char* procName) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(SystemProcAddress(fileName, procName)));
}
