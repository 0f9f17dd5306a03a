// The product's desktop shortcut and its Start-menu group.
#include "ProductNames.h"
#include "RemovalSteps.h"
#include "StartMenuEntries.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstdlib>

using namespace enginetest;

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
    DeleteStartMenuEntries();
    EXPECT_FALSE(FolderExists(group_));
    EXPECT_TRUE(FolderExists(ShellFolder(CSIDL_PROGRAMS)));
}

} // namespace
