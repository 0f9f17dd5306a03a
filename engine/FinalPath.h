#pragma once
#include <string>

// Where an existing folder really is: the final path of the opened folder, after
// every junction, symbolic link and substituted drive on the way, in "X:\..."
// form. Empty when the path names no folder that can be opened.
std::wstring FinalFolderPath(const std::wstring& path);
