#include "UserProfiles.h"

#include "WinHandles.h"

std::vector<std::wstring> ProfileFolders(const std::wstring& profilesFolder) {
    std::vector<std::wstring> profiles;
    if (profilesFolder.empty())
        return profiles;
    WIN32_FIND_DATAW found = {};
    UniqueFindHandle search(FindFirstFileW((profilesFolder + L"\\*").c_str(), &found));
    if (!search)
        return profiles;
    do {
        const std::wstring name = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..")
            profiles.push_back(profilesFolder + L'\\' + name);
    } while (FindNextFileW(search.Get(), &found));
    return profiles;
}
