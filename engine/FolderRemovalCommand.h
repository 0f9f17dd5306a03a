#pragma once
#include "WinHandles.h"

#include <string>

// Parameter text of the command that deletes the install folder: a short pause
// (one ping) so the uninstaller can finish, then "rd /s /q" on the location,
// quoted, exactly as it was read.
std::wstring FolderRemovalParameters(const std::wstring& installLocation);

// Starts that command in a hidden cmd.exe from the system folder, with the system
// folder as working directory. Returns its process, to learn when it has ended, or no
// handle when it did not start. The caller has judged the location safe to remove.
UniqueHandle StartFolderRemovalCommand(const std::wstring& installLocation);
