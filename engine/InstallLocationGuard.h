#pragma once
#include <string>
#include <vector>

// What the system says about an install location and the folders around it.
// Paths are in canonical full form: absolute, backslashes only, no "." or ".."
// segments, short names expanded, no trailing backslash except on a drive root.
struct InstallLocationFacts {
    std::wstring canonicalLocation;
    bool onLocalDrive = false;
    std::vector<std::wstring> shellFolders; // Windows, Program Files, the profile, ...
    std::wstring profilesFolder;            // the folder holding every user's profile
};

// Decides whether the install folder may be handed to "rd /s /q". The location
// text is the one read from the registry and passed to cmd.exe unchanged, so it
// must hold nothing that cmd.exe interprets inside quotes. Rejects drive roots,
// shell folders and their parents, user profiles and anything not on a local drive.
bool IsRemovableInstallLocation(const std::wstring& locationAsRead,
                                const InstallLocationFacts& facts);
