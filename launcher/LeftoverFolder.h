#pragma once
#include <string>

// Removes whatever is at the working folder's place before the launcher makes the folder anew:
// a folder an earlier run left, or one another program prepared, with anything planted in it.
// Links (junctions, symbolic links, other reparse points), inside or the folder itself, are
// removed as themselves and never followed. True when nothing is left at the path. False when
// the folder is in use (an uninstaller started from it still runs), in which case nothing is
// touched, or when something could not be removed.
bool RemoveLeftoverFolder(const std::wstring& path);
