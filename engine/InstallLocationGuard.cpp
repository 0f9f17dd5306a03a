#include "InstallLocationGuard.h"

#include "PathCompare.h"

#include <windows.h>

namespace {

bool IsDriveLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

bool HasCharactersCmdInterprets(const std::wstring& text) {
    for (wchar_t c : text) {
        if (c < 0x20 || c == 0x7F || c == L'"' || c == L'%' || c == L'!')
            return true;
    }
    return false;
}

// "X:\" or "X:/" at the start: absolute on a drive (not "X:name", not UNC, not "\\?\").
bool StartsWithDriveRoot(const std::wstring& path) {
    return path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == L':' &&
           (path[2] == L'\\' || path[2] == L'/');
}

bool IsAncestorOf(const std::wstring& ancestor, const std::wstring& path) {
    if (path.size() <= ancestor.size() || path[ancestor.size()] != L'\\')
        return false;
    return EqualIgnoringCase(ancestor, path.substr(0, ancestor.size()));
}

std::wstring ParentOf(const std::wstring& path) {
    const size_t separator = path.find_last_of(L'\\');
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

// Canonical form as promised by the facts: "X:\" followed by non-empty segments.
bool IsWellFormedCanonical(const std::wstring& path) {
    if (!StartsWithDriveRoot(path) || path[2] != L'\\' || path.size() <= 3)
        return false;
    if (path.find(L'/') != std::wstring::npos || path.back() == L'\\')
        return false;
    size_t start = 3;
    while (start <= path.size()) {
        size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos)
            end = path.size();
        const std::wstring segment = path.substr(start, end - start);
        if (segment.empty() || segment == L"." || segment == L"..")
            return false;
        start = end + 1;
    }
    return true;
}

bool IsRegularFile(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
}

bool IsRemovableFolder(const std::wstring& location, const InstallLocationFacts& facts) {
    if (!IsWellFormedCanonical(location))
        return false; // a drive root ends here too, and so does a missing folder

    // Whatever it holds, nothing inside the Windows folder is the product's to remove.
    for (const std::wstring& windows : facts.windowsFolders) {
        if (!windows.empty() &&
            (EqualIgnoringCase(location, windows) || IsAncestorOf(windows, location)))
            return false;
    }

    auto coversFolder = [&location](const std::wstring& folder) {
        return !folder.empty() &&
               (EqualIgnoringCase(location, folder) || IsAncestorOf(location, folder));
    };
    for (const std::wstring& folder : facts.shellFolders) {
        if (coversFolder(folder))
            return false;
        // The current user's folders stand for the same folders of every profile.
        if (!IsAncestorOf(facts.currentProfile, folder))
            continue;
        const std::wstring inProfile = folder.substr(facts.currentProfile.size());
        for (const std::wstring& profile : facts.profiles) {
            if (coversFolder(profile + inProfile))
                return false;
        }
    }
    for (const std::wstring& profile : facts.profiles) {
        if (coversFolder(profile))
            return false;
    }
    if (coversFolder(facts.profilesFolder))
        return false;

    // Any user's profile, not just the current one's.
    if (!facts.profilesFolder.empty() &&
        EqualIgnoringCase(ParentOf(location), facts.profilesFolder))
        return false;
    return true;
}

} // namespace

bool IsRemovableInstallLocation(const std::wstring& locationAsRead,
                                const InstallLocationFacts& facts) {
    if (HasCharactersCmdInterprets(locationAsRead) || !StartsWithDriveRoot(locationAsRead))
        return false;
    if (!facts.onLocalDrive || facts.throughReparsePoint)
        return false;
    // A folder without the product's main program is some other product's, or the user's.
    if (!IsRegularFile(facts.mainProgramAttributes))
        return false;
    // rd follows the text, but removes the folder it leads to: both must pass.
    return IsRemovableFolder(facts.canonicalLocation, facts) &&
           IsRemovableFolder(facts.finalLocation, facts);
}
