#pragma once
#include "EmbeddedProgram.h"
#include "WinHandles.h"

#include <string>

// The working folder, made by this run (WorkingFolderSecurity.h): once the uninstaller is in it,
// no program of the user can add a file to it, change its file or change its permissions.
class PrivateFolder {
  public:
    // Creates the folder; an empty object when anything is at the path already (one that
    // appeared since the leftovers were removed was made by someone else) or it cannot be made.
    static PrivateFolder Create(const std::wstring& path);

    explicit operator bool() const { return static_cast<bool>(folder_); }

    // Writes the program as `target`, a file directly in the folder, then takes the right to add
    // files away from the user. True when the folder then holds that file and nothing else: a
    // file someone else added while the program was being written fails it.
    bool AddProgram(const std::wstring& target, const EmbeddedProgram& program);

  private:
    PrivateFolder(std::wstring path, UniqueFileHandle folder);

    std::wstring path_;
    // Open without delete sharing as long as the object lives: meanwhile the folder can be
    // neither removed nor renamed, so the uninstaller starts from this folder and no other.
    UniqueFileHandle folder_;
};
