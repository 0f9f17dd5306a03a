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
    const std::wstring group = ShellFolderPath(CSIDL_PROGRAMS) + kStartMenuGroupName;
    DeleteFileW((group + kStartMenuShortcutName).c_str());
    DeleteFileW((group + kStartMenuUninstallShortcutName).c_str());
    if (!FolderHoldsEntries(group))
        RemoveDirectoryW(group.c_str());
}
