#pragma once
#include <windows.h>

#include <string>
#include <vector>

// What the system says about an install location and the folders around it.
// Paths are in canonical full form: absolute, backslashes only, no "." or ".."
// segments, short names expanded, no trailing backslash except on a drive root.
struct InstallLocationFacts {
    std::wstring canonicalLocation;
    // Where the opened folder leads (its final path); empty when there is no folder.
    std::wstring finalLocation;
    // Some existing folder on the way is a junction, symbolic link or other reparse point.
    bool throughReparsePoint = false;
    // The location, and the folder it leads to, lie on local drives: not network
    // drives, not SUBST drives.
    bool onLocalDrive = false;
    // Attributes of the product's main program directly inside the folder the location
    // leads to; INVALID_FILE_ATTRIBUTES when there is none.
    DWORD mainProgramAttributes = INVALID_FILE_ATTRIBUTES;
    std::vector<std::wstring> shellFolders;   // Windows, Program Files, the profile, ...
    std::vector<std::wstring> windowsFolders; // the Windows folder, and the system's own one
    std::wstring profilesFolder;              // the folder holding every user's profile
    std::wstring currentProfile;              // the current user's profile
    std::vector<std::wstring> profiles;       // every profile there: users, Public, Default, ...
};

// Decides whether the install folder may be handed to "rd /s /q". The location
// text is the one read from the registry and passed to cmd.exe unchanged, so it
// must hold nothing that cmd.exe interprets inside quotes. Rejects drive roots,
// shell folders and their parents (the current user's folders counting in every
// profile), user profiles and anything not on a local drive,
// judging both the location and the folder it leads to; rejects a location that
// leads through a reparse point, and one where there is no folder to remove. Only the
// product's own folder goes: it holds the main program directly, as a regular file, and it
// lies nowhere inside the Windows folder.
bool IsRemovableInstallLocation(const std::wstring& locationAsRead,
                                const InstallLocationFacts& facts);
