#include "RemovalOrder.h"

#include "WinHandles.h"

#include <algorithm>
#include <utility>

namespace {

bool IsDotEntry(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

size_t Depth(const std::wstring& path) {
    return static_cast<size_t>(std::count(path.begin(), path.end(), L'\\'));
}

} // namespace

std::wstring ExtendedLengthPath(const std::wstring& path) {
    if (path.size() < MAX_PATH - 12 || path.compare(0, 4, L"\\\\?\\") == 0)
        return path;
    return L"\\\\?\\" + path;
}

std::vector<RemovalItem> ListForRemoval(const std::wstring& folder) {
    std::vector<RemovalItem> items;
    const DWORD attributes = GetFileAttributesW(ExtendedLengthPath(folder).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return items;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        items.push_back({folder, true});
        return items;
    }

    // Files and links first, as found; then the folders, deeper ones first, so that each
    // folder is empty by the time its turn comes, and the folder itself last. No recursion:
    // a deep tree must not exhaust the stack.
    std::vector<std::wstring> pending{folder};
    std::vector<std::wstring> folders;
    while (!pending.empty()) {
        std::wstring current = std::move(pending.back());
        pending.pop_back();
        WIN32_FIND_DATAW found = {};
        UniqueFindHandle search(FindFirstFileExW(ExtendedLengthPath(current + L"\\*").c_str(),
                                                 FindExInfoBasic, &found, FindExSearchNameMatch,
                                                 nullptr, 0));
        if (search) {
            do {
                if (IsDotEntry(found.cFileName))
                    continue;
                std::wstring path = current + L'\\' + found.cFileName;
                const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
                if (isFolder && !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                    pending.push_back(std::move(path));
                else
                    items.push_back({std::move(path), isFolder});
            } while (FindNextFileW(search.Get(), &found));
        }
        folders.push_back(std::move(current));
    }
    // The folder itself has the least depth of all, so it ends up last.
    std::stable_sort(folders.begin(), folders.end(),
                     [](const std::wstring& left, const std::wstring& right) {
                         return Depth(left) > Depth(right);
                     });
    for (std::wstring& path : folders)
        items.push_back({std::move(path), true});
    return items;
}
