#include "LeftoverFolder.h"

#include "RemovalOrder.h"
#include "WinHandles.h"

#include <windows.h>

namespace {

bool NothingAt(const std::wstring& path) {
    if (GetFileAttributesW(ExtendedLengthPath(path).c_str()) != INVALID_FILE_ATTRIBUTES)
        return false;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

UniqueFileHandle OpenAsItself(const std::wstring& path, DWORD access, DWORD sharing) {
    return UniqueFileHandle(
        CreateFileW(ExtendedLengthPath(path).c_str(), access, sharing, nullptr, OPEN_EXISTING,
                    FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

// A process's current directory is held open without delete sharing, and the launcher makes
// the folder the uninstaller's current directory: while one runs from it, the folder cannot be
// opened for deletion.
bool InUse(const std::wstring& folder) {
    const UniqueFileHandle handle =
        OpenAsItself(folder, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    return !handle && GetLastError() == ERROR_SHARING_VIOLATION;
}

// Deletes exactly the object that was listed: opened as itself (FILE_FLAG_OPEN_REPARSE_POINT, so
// a link is not followed) and deleted through that handle. Should the open reach a link's target
// all the same (Wine follows Unix symbolic links), the handle is no link and nothing is deleted.
bool RemoveAsItself(const std::wstring& path) {
    const DWORD listed = GetFileAttributesW(ExtendedLengthPath(path).c_str());
    if (listed == INVALID_FILE_ATTRIBUTES)
        return false;
    const UniqueFileHandle handle =
        OpenAsItself(path, DELETE | FILE_READ_ATTRIBUTES,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    BY_HANDLE_FILE_INFORMATION opened = {};
    if (!handle || !GetFileInformationByHandle(handle.Get(), &opened))
        return false;
    if ((opened.dwFileAttributes ^ listed) & FILE_ATTRIBUTE_REPARSE_POINT)
        return false;
    FILE_DISPOSITION_INFO disposition = {TRUE};
    return SetFileInformationByHandle(handle.Get(), FileDispositionInfo, &disposition,
                                      sizeof disposition) != FALSE;
}

} // namespace

bool RemoveLeftoverFolder(const std::wstring& path) {
    if (NothingAt(path))
        return true;
    if (InUse(path))
        return false;
    // A file, or a link to one, in the folder's place is removed like any other item.
    std::vector<RemovalItem> items = ListForRemoval(path);
    if (items.empty())
        items.push_back({path, false});
    for (const RemovalItem& item : items) {
        if (!RemoveAsItself(item.path))
            return false;
    }
    return NothingAt(path);
}
