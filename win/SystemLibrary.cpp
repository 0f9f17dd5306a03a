#include "SystemLibrary.h"

#include <delayimp.h>

#include <string>

namespace {

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);

SetDefaultDllDirectoriesFunction LookUpSetDefaultDllDirectories() {
    // kernel32 is always loaded and always taken from the system folder.
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    return kernel ? reinterpret_cast<SetDefaultDllDirectoriesFunction>(
                        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")))
                  : nullptr;
}

std::wstring SystemFolderPath(const wchar_t* fileName) {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    std::wstring path(folder, length);
    if (path.back() != L'\\')
        path += L'\\';
    return path + fileName;
}

// Called by the delay-load helper before it loads a DLL by its bare name; the module returned
// here is taken instead. Only DLLs every supported Windows has in its system folder are
// delay-loaded (cmake/ShippedProgram.cmake); should one be missing, null lets the helper search
// for it, in the system folder alone wherever SetDefaultDllDirectories exists.
FARPROC WINAPI LoadDelayedDllFromSystemFolder(unsigned notification, PDelayLoadInfo info) {
    if (notification != dliNotePreLoadLibrary || !info || !info->szDll)
        return nullptr;
    wchar_t name[MAX_PATH] = {};
    if (!MultiByteToWideChar(CP_ACP, 0, info->szDll, -1, name, MAX_PATH))
        return nullptr;
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(LoadSystemLibrary(name)));
}

// DLLs that system DLLs load on their own, later, by bare name (their delay-loaded imports), and
// that are not KnownDLLs. Whether the restriction reaches those loads depends on the loader:
// Windows 7 without KB2533623 has no restriction, and Wine's loader searches the program's folder
// for the delay-loaded imports of its own DLLs all the same (gdi32 loads setupapi so). Loaded
// now from the system folder, each is found loaded when its name is asked for.
const wchar_t* const kLoadedBySystemDlls[] = {L"setupapi.dll", L"uxtheme.dll",   L"dwmapi.dll",
                                              L"version.dll",  L"cryptbase.dll", L"profapi.dll",
                                              L"userenv.dll",  L"propsys.dll",   L"apphelp.dll",
                                              L"oleacc.dll",   L"clbcatq.dll",   L"ntmarta.dll"};

void RestrictSearch() {
    if (SetDefaultDllDirectoriesFunction setDefault = LookUpSetDefaultDllDirectories()) {
        if (setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32))
            return;
    }
    SetDllDirectoryW(L"");
}

} // namespace

void RestrictDllSearchToSystemFolder() {
    __pfnDliNotifyHook2 = LoadDelayedDllFromSystemFolder;
    RestrictSearch();
    // A DLL that is missing on this Windows is skipped.
    for (const wchar_t* name : kLoadedBySystemDlls)
        LoadSystemLibrary(name);
}

HMODULE LoadSystemLibrary(const wchar_t* fileName) {
    if (HMODULE module = LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
        return module;
    // Without KB2533623 the flag is refused as an invalid parameter.
    if (GetLastError() != ERROR_INVALID_PARAMETER)
        return nullptr;
    // A DLL the manifest names (common controls 6, in WinSxS) is found through the activation
    // context before any folder is searched; its full path in the system folder would bypass
    // the context and give another version.
    ACTCTX_SECTION_KEYED_DATA redirection = {};
    redirection.cbSize = sizeof redirection;
    if (FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, fileName,
                                 &redirection))
        return LoadLibraryW(fileName);
    const std::wstring path = SystemFolderPath(fileName);
    return path.empty() ? nullptr
                        : LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

FARPROC SystemProcAddress(const wchar_t* fileName, const char* procName) {
    HMODULE module = LoadSystemLibrary(fileName);
    return module ? GetProcAddress(module, procName) : nullptr;
}
