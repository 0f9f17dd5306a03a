#pragma once
// The working folder's permissions. The launcher runs with the user's rights, so does every other
// program of the user: the folder must not let any of them add a DLL beside the uninstaller,
// change its file, or give itself those rights back.
#include <windows.h>

#include <memory>

// Read, execute and delete: the user can run the uninstaller, and the next run's launcher can
// still remove the folder and its file.
constexpr DWORD kWorkingFolderUserAccess = FILE_GENERIC_READ | FILE_GENERIC_EXECUTE | DELETE;

struct LocalMemoryFree {
    void operator()(void* memory) const { LocalFree(memory); }
};
using SecurityDescriptor = std::unique_ptr<void, LocalMemoryFree>;

// A protected DACL (nothing inherited from the temp folder, where the user has full control),
// every entry inherited by the folder's files: SYSTEM and Administrators full control (the
// removal at the next restart runs as the system); the user and OWNER RIGHTS (S-1-3-4)
// kWorkingFolderUserAccess. While the uninstaller is being written (acceptingTheProgram) one
// more entry, on the folder alone, lets the user add a file. No entry ever lets the user change
// permissions, create a subfolder or write to a file. Null when the user cannot be found out.
SecurityDescriptor WorkingFolderSecurity(bool acceptingTheProgram);
