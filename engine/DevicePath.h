#pragma once
#include <string>

// Turns a kernel device path ("\Device\HarddiskVolume2\dir\file.exe") into its
// drive-letter form ("C:\dir\file.exe"). Returns the path unchanged when no drive
// maps it, and an empty path when a drive's device name cannot be read.
std::wstring DeviceToDrivePath(std::wstring devicePath);
