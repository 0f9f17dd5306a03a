#pragma once
#include <string>

// The folder the launcher writes the uninstaller into: the user's temporary folder in
// its long form, followed by "\KVDN13084007" (so it holds two backslashes in a row,
// which the file system reads as one).
std::wstring BuildWorkingFolder();

// "<working folder>\uninstaller.exe", cut to the 260 units a path buffer holds.
std::wstring BuildTargetFile(const std::wstring& workingFolder);
