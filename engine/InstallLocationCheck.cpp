#include "InstallLocationCheck.h"

#include "CanonicalPath.h"
#include "FinalPath.h"
#include "LocalDrive.h"
#include "ProductNames.h"
#include "ReparsePoints.h"
#include "UserProfiles.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

namespace {

// Folders that hold the system, programs or users' data. The install folder may
// be inside one of them, but never be one of them or a parent of one.
constexpr int kGuardedShellFolders[] = {
    CSIDL_WINDOWS,
    CSIDL_SYSTEM,
    CSIDL_SYSTEMX86,
    CSIDL_FONTS,
    CSIDL_PROGRAM_FILES,
    CSIDL_PROGRAM_FILESX86,
    CSIDL_PROGRAM_FILES_COMMON,
    CSIDL_PROGRAM_FILES_COMMONX86,
    CSIDL_COMMON_APPDATA,
    CSIDL_COMMON_DESKTOPDIRECTORY,
    CSIDL_COMMON_DOCUMENTS,
    CSIDL_COMMON_STARTMENU,
    CSIDL_COMMON_PROGRAMS,
    CSIDL_COMMON_STARTUP,
    CSIDL_COMMON_TEMPLATES,
    CSIDL_COMMON_MUSIC,
    CSIDL_COMMON_PICTURES,
    CSIDL_COMMON_VIDEO,
    CSIDL_PROFILE,
    CSIDL_DESKTOPDIRECTORY,
    CSIDL_PERSONAL,
    CSIDL_MYMUSIC,
    CSIDL_MYPICTURES,
    CSIDL_MYVIDEO,
    CSIDL_FAVORITES,
    CSIDL_APPDATA,
    CSIDL_LOCAL_APPDATA,
    CSIDL_STARTMENU,
    CSIDL_PROGRAMS,
    CSIDL_STARTUP,
    CSIDL_SENDTO,
    CSIDL_RECENT,
    CSIDL_TEMPLATES,
    CSIDL_NETHOOD,
    CSIDL_PRINTHOOD,
    CSIDL_INTERNET_CACHE,
    CSIDL_COOKIES,
    CSIDL_HISTORY,
    CSIDL_ADMINTOOLS,
};

const KNOWNFOLDERID* const kGuardedKnownFolders[] = {
    &FOLDERID_Downloads,
    &FOLDERID_Public,
    &FOLDERID_UserProfiles,
};

std::wstring CsidlFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)))
        return std::wstring();
    return path;
}

std::wstring KnownFolder(const KNOWNFOLDERID& id) {
    PWSTR path = nullptr;
    std::wstring result;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path)))
        result = path;
    CoTaskMemFree(path);
    return result;
}

std::wstring TempFolder() {
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, path);
    return length == 0 || length > MAX_PATH ? std::wstring() : std::wstring(path, length);
}

// A folder counts both where its path says and where it really is (a junction may
// have moved it to another drive).
void AddCanonical(std::vector<std::wstring>& folders, const std::wstring& folder) {
    if (folder.empty())
        return;
    const std::wstring canonical = CanonicalPath(folder);
    if (canonical.empty())
        return;
    folders.push_back(canonical);
    std::wstring finalPath = FinalFolderPath(canonical);
    if (!finalPath.empty() && finalPath != canonical)
        folders.push_back(std::move(finalPath));
}

std::wstring ProfilesFolder() {
    std::wstring folder = KnownFolder(FOLDERID_UserProfiles);
    if (folder.empty()) {
        // Older or partial systems: the parent of the current user's profile.
        folder = CanonicalPath(CsidlFolder(CSIDL_PROFILE));
        const size_t separator = folder.find_last_of(L'\\');
        folder = separator == std::wstring::npos ? std::wstring() : folder.substr(0, separator);
    }
    return CanonicalPath(folder);
}

} // namespace

InstallLocationFacts GatherInstallLocationFacts(const std::wstring& locationAsRead) {
    InstallLocationFacts facts;
    facts.canonicalLocation = CanonicalPath(locationAsRead);
    facts.finalLocation = FinalFolderPath(facts.canonicalLocation);
    facts.throughReparsePoint = PassesThroughReparsePoint(facts.canonicalLocation);
    facts.onLocalDrive = IsOnLocalDrive(facts.canonicalLocation) &&
                         (facts.finalLocation.empty() || IsOnLocalDrive(facts.finalLocation));

    for (int csidl : kGuardedShellFolders)
        AddCanonical(facts.shellFolders, CsidlFolder(csidl));
    for (const KNOWNFOLDERID* id : kGuardedKnownFolders)
        AddCanonical(facts.shellFolders, KnownFolder(*id));

    // Judged where the location really leads: a link there could stand for any file.
    if (!facts.finalLocation.empty())
        facts.mainProgramAttributes =
            GetFileAttributesW((facts.finalLocation + L'\\' + kMainProgramRelativePath).c_str());

    wchar_t folder[MAX_PATH] = {};
    if (GetWindowsDirectoryW(folder, MAX_PATH))
        AddCanonical(facts.windowsFolders, folder);
    if (GetSystemWindowsDirectoryW(folder, MAX_PATH))
        AddCanonical(facts.windowsFolders, folder);
    facts.shellFolders.insert(facts.shellFolders.end(), facts.windowsFolders.begin(),
                              facts.windowsFolders.end());
    if (GetSystemDirectoryW(folder, MAX_PATH))
        AddCanonical(facts.shellFolders, folder);
    AddCanonical(facts.shellFolders, TempFolder());

    facts.profilesFolder = ProfilesFolder();
    facts.currentProfile = CanonicalPath(CsidlFolder(CSIDL_PROFILE));
    for (const std::wstring& profile : ProfileFolders(facts.profilesFolder))
        AddCanonical(facts.profiles, profile);
    return facts;
}

bool IsSafeToRemoveInstallFolder(const std::wstring& locationAsRead) {
    return IsRemovableInstallLocation(locationAsRead, GatherInstallLocationFacts(locationAsRead));
}
