#pragma once
#include <string>

// True when a folder on the way to the path, or the path itself, is a junction,
// symbolic link or other reparse point, or cannot be looked at. Looks at each
// existing part of an "X:\..." path, from the drive root's child down.
bool PassesThroughReparsePoint(const std::wstring& path);
