#pragma once
#include <string>

// True when an "X:\..." path lies on a fixed, removable or RAM drive of this
// machine: not a network drive, and not a drive letter that stands for a folder
// (SUBST), whose contents live on some other drive.
bool IsOnLocalDrive(const std::wstring& path);
