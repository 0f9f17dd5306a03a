// The product's desktop shortcut and its Start-menu group.
#include "ProductNames.h"
#include "RemovalSteps.h"
#include "ShellFolders.h"
#include "StartMenuEntries.h"
#include "ProductSandbox.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstdlib>
#include <ostream>

using namespace TestSupport;

namespace {

// The test run may name the ANSI code page it expects (SANDBOX_LANG picks it).
void ExpectConfiguredCodePage() {
    const char* expected = std::getenv("CORVANE_EXPECTED_ACP");
    if (expected != nullptr && *expected != '\0') {
        ASSERT_EQ(GetACP(), static_cast<UINT>(std::atoi(expected)));
    }
}

TEST(DesktopShortcut, IsDeletedUnderThisCodePage) {
    ExpectConfiguredCodePage();
    UninstallEntry noEntry;
    const std::wstring desktop = ShellFolder(CSIDL_DESKTOPDIRECTORY);
    ASSERT_FALSE(desktop.empty());
    const std::wstring shortcut = desktop + L"\\VelkorCorvane.lnk";
    const std::wstring neighbour = desktop + L"\\VelkorCorvane notes.txt";
    WriteFile(shortcut);
    WriteFile(neighbour);

    RunRemovalSteps();

    EXPECT_FALSE(FileExists(shortcut));
    EXPECT_TRUE(FileExists(neighbour));
    DeleteFileW(neighbour.c_str());
}

class StartMenuGroup : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(ShellFolder(CSIDL_PROGRAMS).empty());
        RemoveTree(group_);
    }
    void TearDown() override { RemoveTree(group_); }

    void PlaceShortcuts() {
        WriteFile(group_ + kStartMenuShortcutName);
        WriteFile(group_ + kStartMenuUninstallShortcutName);
    }

    std::wstring group_ = ShellFolder(CSIDL_PROGRAMS) + kStartMenuGroupName;
};

TEST_F(StartMenuGroup, IsRemovedWithItsShortcuts) {
    PlaceShortcuts();
    ASSERT_TRUE(FileExists(group_ + L"\\\u5378\u8F7DVelkorCorvane.lnk"));
    DeleteStartMenuEntries();
    EXPECT_FALSE(FolderExists(group_));
}

TEST_F(StartMenuGroup, EmptyGroupIsRemovedEvenWithoutShortcuts) {
    CreateFolders(group_);
    DeleteStartMenuEntries();
    EXPECT_FALSE(FolderExists(group_));
}

TEST_F(StartMenuGroup, ForeignFileKeepsTheGroup) {
    PlaceShortcuts();
    WriteFile(group_ + L"\\Tessamure Help.url");
    DeleteStartMenuEntries();
    EXPECT_TRUE(FolderExists(group_));
    EXPECT_TRUE(FileExists(group_ + L"\\Tessamure Help.url"));
    EXPECT_FALSE(FileExists(group_ + kStartMenuShortcutName));
    EXPECT_FALSE(FileExists(group_ + kStartMenuUninstallShortcutName));
}

TEST_F(StartMenuGroup, ForeignSubfolderKeepsTheGroup) {
    PlaceShortcuts();
    CreateFolders(group_ + L"\\Tools");
    DeleteStartMenuEntries();
    EXPECT_TRUE(FolderExists(group_ + L"\\Tools"));
    EXPECT_FALSE(FileExists(group_ + kStartMenuShortcutName));
}

TEST_F(StartMenuGroup, MissingGroupIsPassedOver) {
    // The same names straight in the Programs folder, and a group whose name
    // begins like ours, are someone else's.
    const std::wstring programs = ShellFolder(CSIDL_PROGRAMS);
    const std::wstring looseShortcut = programs + kStartMenuShortcutName;
    const std::wstring looseUninstallShortcut = programs + kStartMenuUninstallShortcutName;
    const std::wstring similarGroup = group_ + L" Tools";
    WriteFile(looseShortcut);
    WriteFile(looseUninstallShortcut);
    CreateFolders(similarGroup);

    DeleteStartMenuEntries();

    EXPECT_FALSE(FolderExists(group_));
    EXPECT_TRUE(FileExists(looseShortcut));
    EXPECT_TRUE(FileExists(looseUninstallShortcut));
    EXPECT_TRUE(FolderExists(similarGroup));
    RemoveTree(looseShortcut);
    RemoveTree(looseUninstallShortcut);
    RemoveTree(similarGroup);
}

// Points one of the user's shell folders (a value under User Shell Folders) inside a
// file, where no folder can be; the old setting comes back at the end.
class UnfindableShellFolder {
  public:
    explicit UnfindableShellFolder(const wchar_t* name) : name_(name) {
        DWORD byteCount = sizeof(old_);
        RegGetValueW(HKEY_CURRENT_USER, kKey, name_, RRF_RT_ANY | RRF_NOEXPAND, nullptr, old_,
                     &byteCount);
        Set((FakeProductProgram() + L"\\Folder").c_str());
    }
    ~UnfindableShellFolder() { Set(old_); }
    UnfindableShellFolder(const UnfindableShellFolder&) = delete;
    UnfindableShellFolder& operator=(const UnfindableShellFolder&) = delete;

  private:
    static constexpr const wchar_t* kKey =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    void Set(const wchar_t* value) {
        RegSetKeyValueW(HKEY_CURRENT_USER, kKey, name_, REG_EXPAND_SZ, value,
                        static_cast<DWORD>((lstrlenW(value) + 1) * sizeof(wchar_t)));
    }

    const wchar_t* name_;
    wchar_t old_[MAX_PATH] = {};
};

struct MissingFolderCase {
    const char* name;
    const wchar_t* settingName; // under User Shell Folders
    int csidl;                  // as the removal looks it up
};

// Shows the case's name, not its bytes, in the test's messages.
void PrintTo(const MissingFolderCase& folder, std::ostream* out) {
    *out << folder.name;
}

class MissingShellFolder : public ::testing::TestWithParam<MissingFolderCase> {};

TEST_P(MissingShellFolder, ItsStepDoesNothingAndTheOtherStepsRun) {
    UninstallEntry noEntry;
    const std::wstring desktopShortcut =
        ShellFolder(CSIDL_DESKTOPDIRECTORY) + L"\\VelkorCorvane.lnk";
    WriteFile(desktopShortcut);
    // Where the names alone lead: the root of the current drive, here C:.
    const ScratchFolder scratch(L"missing-folder");
    const MadeFolder rootGroup(L"C:" + std::wstring(kStartMenuGroupName));
    const std::wstring rootShortcut = L"C:\\VelkorCorvane.lnk";
    const std::wstring rootFiles[] = {rootShortcut, rootGroup.Path() + kStartMenuShortcutName,
                                      rootGroup.Path() + kStartMenuUninstallShortcutName};
    for (const std::wstring& file : rootFiles)
        WriteFile(file);
    wchar_t previousFolder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previousFolder);
    SetCurrentDirectoryW(scratch.Path().c_str());
    bool found = false;
    {
        const UnfindableShellFolder unfindable(GetParam().settingName);
        found = !ShellFolderPath(GetParam().csidl).empty();
        if (!found)
            RunRemovalSteps();
    }
    SetCurrentDirectoryW(previousFolder);

    if (!found) {
        for (const std::wstring& file : rootFiles)
            EXPECT_TRUE(FileExists(file)) << testing::PrintToString(file);
        // The other steps still run. (Without a desktop Wine's shell turns no folder
        // into an item list, so there the Start-menu folder is not found either.)
        if (GetParam().csidl != CSIDL_DESKTOP) {
            EXPECT_FALSE(FileExists(desktopShortcut));
        }
    }
    DeleteFileW(desktopShortcut.c_str());
    DeleteFileW(rootShortcut.c_str()); // the group goes with its MadeFolder
    if (found) // ctest runs this suite in a program of its own and fails on a skip
        GTEST_SKIP() << "the shell found this folder earlier in this program and keeps it";
}

// The desktop first: once found, the shell keeps its path for the program's life.
const MissingFolderCase kMissingFolders[] = {
    {"Desktop", L"Desktop", CSIDL_DESKTOP},
    {"StartMenuPrograms", L"Programs", CSIDL_PROGRAMS},
};

INSTANTIATE_TEST_SUITE_P(Folders, MissingShellFolder, ::testing::ValuesIn(kMissingFolders),
                         [](const ::testing::TestParamInfo<MissingFolderCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
