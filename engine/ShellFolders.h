#pragma once
#include <string>

// Path of one of the current user's shell folders (a CSIDL value), or an empty
// string when the folder cannot be found.
std::wstring ShellFolderPath(int csidl);
