#include "StartMenuEntries.h"

#include "ProductNames.h"
#include "ShellFolders.h"
#include "WinHandles.h"

#include <shlobj.h>

#include <string>

namespace {

bool IsDotEntry(const wchar_t* name) {
    return lstrcmpW(name, L".") == 0 || lstrcmpW(name, L"..") == 0;
}

// True when a search of the folder can start and finds an entry besides "." and "..".
bool FolderHoldsEntries(const std::wstring& folder) {
    WIN32_FIND_DATAW found = {};
    UniqueFindHandle search(FindFirstFileW((folder + L"\\*.*").c_str(), &found));
    if (!search)
        return false;
    do {
        if (!IsDotEntry(found.cFileName))
            return true;
    } while (FindNextFileW(search.Get(), &found));
    return false;
}

} // namespace

void DeleteStartMenuEntries() {
    // Without its folder the group name alone would be a folder at the current drive's root.
    const std::wstring programs = ShellFolderPath(CSIDL_PROGRAMS);
    if (programs.empty())
        return;
    const std::wstring group = programs + kStartMenuGroupName;
    DeleteFileW((group + kStartMenuShortcutName).c_str());
    DeleteFileW((group + kStartMenuUninstallShortcutName).c_str());
    if (!FolderHoldsEntries(group))
        RemoveDirectoryW(group.c_str());
}
