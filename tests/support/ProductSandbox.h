#pragma once
// A sample installation in the sandbox for the engine and workflow tests: test folders, the
// stand-in product program (started and ended), the real uninstall entry in HKLM, shell folders,
// defined drives, the command interpreters started and the removals at the next restart.
#include "Files.h"
#include "TestProcess.h"

#include <windows.h>

#include <string>
#include <vector>

namespace TestSupport {

// Every file the tests create lives below this folder of the sandbox's C: drive.
std::wstring TestRoot();

// A fresh, empty folder below the test root for one test, removed at the end.
class ScratchFolder {
  public:
    explicit ScratchFolder(const std::wstring& name);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::wstring& Path() const { return path_; }

  private:
    std::wstring path_;
};

// A folder made for one test anywhere in the sandbox's C: drive (another user's
// profile, say), with whichever of its parents were missing. At the end exactly
// what it made is removed, with anything the test put inside.
class MadeFolder {
  public:
    explicit MadeFolder(const std::wstring& path);
    ~MadeFolder();
    MadeFolder(const MadeFolder&) = delete;
    MadeFolder& operator=(const MadeFolder&) = delete;
    const std::wstring& Path() const { return path_; }

  private:
    std::wstring path_;
    std::wstring topmostMade_;
};

// The stand-in product program built beside the test program.
std::wstring FakeProductProgram();

// Copies the stand-in to folder\relativePath, creating folders on the way.
std::wstring PlaceProgram(const std::wstring& folder, const std::wstring& relativePath);

// A program started from the test root, so that its own folder is nobody's current directory
// (as with a product started from its shortcut); ended when the object goes.
class RunningProgram : public TestProcess {
  public:
    explicit RunningProgram(const std::wstring& exePath);
};

// The product's uninstall entry in the real HKLM, in the native registry view or
// in another (KEY_WOW64_32KEY: as a 32-bit installer writes it). Whatever the test
// leaves of it is deleted at the end.
class UninstallEntry {
  public:
    explicit UninstallEntry(REGSAM view = 0);
    ~UninstallEntry();
    UninstallEntry(const UninstallEntry&) = delete;
    UninstallEntry& operator=(const UninstallEntry&) = delete;

    void CreateEmpty();
    void SetLocation(const std::wstring& location);
    // Raw bytes and type, for values that do not fit or lack their terminator.
    void SetRawLocation(DWORD type, const void* data, DWORD byteCount);
    void AddChildKey(const std::wstring& name);
    static bool Exists(REGSAM view = 0);

  private:
    REGSAM view_;
};

void WriteFile(const std::wstring& path, const std::string& content = "x");
void CreateFolders(const std::wstring& path);
// Removes a test folder tree; refuses anything outside the test root and the
// shell folders the tests use.
void RemoveTree(const std::wstring& path);

// A file written for one test where it may not be left behind (inside a folder of the
// system, say); removed at the end.
class PlacedFile {
  public:
    explicit PlacedFile(const std::wstring& path) : path_(path) { WriteFile(path); }
    ~PlacedFile() { DeleteFileW(path_.c_str()); }
    PlacedFile(const PlacedFile&) = delete;
    PlacedFile& operator=(const PlacedFile&) = delete;
    const std::wstring& Path() const { return path_; }

  private:
    std::wstring path_;
};

std::wstring ShellFolder(int csidl);

// A drive letter defined with DefineDosDeviceW for one test (to a folder, as SUBST
// does, or with a raw device name); the definition is removed at the end.
class DefinedDrive {
  public:
    // The first letter after `after` that names no drive yet.
    DefinedDrive(wchar_t after, const std::wstring& target, bool rawTarget);
    ~DefinedDrive();
    DefinedDrive(const DefinedDrive&) = delete;
    DefinedDrive& operator=(const DefinedDrive&) = delete;
    wchar_t Letter() const { return name_[0]; }
    // "X:"
    const std::wstring& Name() const { return name_; }

  private:
    std::wstring name_;
};

// Full image path of a running process, or empty when it cannot be read.
std::wstring ImagePathOf(DWORD processId);
// Processes whose image file lies inside the folder.
std::vector<DWORD> ProcessesRunningFrom(const std::wstring& folder);
void TerminateProcessById(DWORD processId);
bool SamePath(const std::wstring& left, const std::wstring& right);

// Notes the command interpreters this test program has started so far, and
// tells which ones were started after that.
class ChildCommandWatch {
  public:
    ChildCommandWatch();
    std::vector<DWORD> NewCommands() const;
    // Ends new command interpreters and their children (a safety net for a test
    // whose guard failed: the command sleeps before it removes anything).
    void StopNewCommands() const;

  private:
    std::vector<DWORD> before_;
};

// The removals at the next restart that Windows keeps in the registry
// (PendingFileRenameOperations of the session manager). Notes the list as it was and puts it
// back at the end, so no test leaves a removal behind for the sandbox's next start.
class PendingRestartRemovals {
  public:
    PendingRestartRemovals();
    ~PendingRestartRemovals();
    PendingRestartRemovals(const PendingRestartRemovals&) = delete;
    PendingRestartRemovals& operator=(const PendingRestartRemovals&) = delete;

    // The paths scheduled for deletion since then, in their order, without the "\??\" prefix.
    std::vector<std::wstring> Added() const;

  private:
    std::vector<wchar_t> before_;
    bool existed_ = false;
};

} // namespace TestSupport
