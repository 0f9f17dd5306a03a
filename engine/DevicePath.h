#pragma once
#include <string>

// Turns a kernel device path ("\Device\HarddiskVolume2\dir\file.exe") into its
// drive-letter form ("C:\dir\file.exe"). Drives whose device name cannot be read
// are passed over. Returns the path unchanged when no drive maps it.
std::wstring DeviceToDrivePath(std::wstring devicePath);
