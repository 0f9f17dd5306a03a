#include "FinalPath.h"

#include "WinHandles.h"

namespace {

// "\\?\C:\dir" becomes "C:\dir"; other forms ("\\?\UNC\server\share") stay as they are.
std::wstring WithoutLongPathPrefix(const std::wstring& path) {
    const std::wstring prefix = L"\\\\?\\";
    if (path.compare(0, prefix.size(), prefix) == 0 && path.size() > prefix.size() + 1 &&
        path[prefix.size() + 1] == L':')
        return path.substr(prefix.size());
    return path;
}

} // namespace

std::wstring FinalFolderPath(const std::wstring& path) {
    if (path.empty())
        return std::wstring();
    // Backup semantics open folders; shared with everyone, so nothing else is held up.
    UniqueFileHandle folder(CreateFileW(
        path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION information = {};
    if (!folder || !GetFileInformationByHandle(folder.Get(), &information) ||
        !(information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::wstring();

    DWORD capacity = MAX_PATH;
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::wstring finalPath(capacity, L'\0');
        const DWORD length = GetFinalPathNameByHandleW(folder.Get(), finalPath.data(), capacity,
                                                       FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0)
            return std::wstring();
        if (length < capacity) {
            finalPath.resize(length);
            return WithoutLongPathPrefix(finalPath);
        }
        capacity = length + 1;
    }
    return std::wstring();
}
