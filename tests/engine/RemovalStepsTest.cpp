// The whole removal against a sample installation, with the real cmd.exe and rd.
#include "FolderRemovalCommand.h"
#include "RemovalOrder.h"
#include "RemovalSteps.h"
#include "ProductSandbox.h"
#include "Wait.h"
#include "WinHandles.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <set>

using namespace TestSupport;

namespace {

// cmd.exe pings (at most a second) before rd; Wine needs a moment to start it.
constexpr DWORD kFolderRemovalTimeoutMs = 20000;

std::wstring SystemFolder() {
    wchar_t folder[MAX_PATH] = {};
    GetSystemDirectoryW(folder, MAX_PATH);
    return folder;
}

class RemovalSteps : public ::testing::Test {
  protected:
    void PlaceInstallation(const wchar_t* mainName = L"Corvane.exe",
                           const wchar_t* bridgeName = L"platform-tools\\adb.exe") {
        mainProgram_ = PlaceProgram(install_, mainName);
        bridgeProgram_ = PlaceProgram(install_, bridgeName);
        WriteFile(install_ + L"\\data\\settings.ini", "[Corvane]\r\n");
        WriteFile(canary_);
    }

    bool InstallFolderGoes() {
        return WaitUntil([this] { return !FolderExists(install_); }, kFolderRemovalTimeoutMs);
    }

    ScratchFolder scratch_{L"removal"};
    std::wstring install_ = scratch_.Path() + L"\\Corvane \u6D4B\u8BD5 \u5B89\u88C5";
    std::wstring canary_ = scratch_.Path() + L"\\Corvane \u6D4B\u8BD5 \u5B89\u88C5 2\\keep.txt";
    std::wstring mainProgram_;
    std::wstring bridgeProgram_;
    UninstallEntry entry_;
};

TEST_F(RemovalSteps, StopsTheProductAndRemovesTheInstallFolder) {
    PlaceInstallation();
    RunningProgram product(mainProgram_);
    RunningProgram secondProduct(mainProgram_);
    RunningProgram bridge(bridgeProgram_);
    RunningProgram otherProduct(PlaceProgram(scratch_.Path() + L"\\Other", L"Corvane.exe"));
    RunningProgram otherBridge(PlaceProgram(scratch_.Path() + L"\\Other", L"adb.exe"));
    ASSERT_TRUE(product.Started() && secondProduct.Started() && bridge.Started());
    ASSERT_TRUE(otherProduct.Started() && otherBridge.Started());
    entry_.SetLocation(install_);
    ChildCommandWatch commands;

    RunRemovalSteps();

    // Already ended when the command starts: it must not race the stopped programs.
    EXPECT_TRUE(product.WaitForEnd(0));
    EXPECT_TRUE(secondProduct.WaitForEnd(0));
    EXPECT_TRUE(bridge.WaitForEnd(0));
    EXPECT_TRUE(otherProduct.IsRunning());
    EXPECT_TRUE(otherBridge.IsRunning());
    EXPECT_FALSE(UninstallEntry::Exists());

    const std::vector<DWORD> started = commands.NewCommands();
    ASSERT_EQ(started.size(), 1u);
    EXPECT_TRUE(SamePath(ImagePathOf(started[0]), SystemFolder() + L"\\cmd.exe"));

    EXPECT_TRUE(InstallFolderGoes());
    EXPECT_TRUE(FileExists(canary_));
}

// The location as an installer may have written it: with a trailing backslash, with a lower-case
// drive letter. Each still stops the product and removes its folder, and only that folder.
TEST_F(RemovalSteps, LocationWrittenAnotherWayStillStopsAndRemoves) {
    ASSERT_EQ(install_[0], L'C');
    const struct {
        const char* what;
        std::wstring location;
    } cases[] = {
        {"trailing backslash", install_ + L"\\"},
        {"lower-case drive letter", L"c" + install_.substr(1)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PlaceInstallation();
        RunningProgram product(mainProgram_);
        RunningProgram bridge(bridgeProgram_);
        ASSERT_TRUE(product.Started() && bridge.Started());
        entry_.SetLocation(c.location);

        RunRemovalSteps();

        EXPECT_TRUE(product.WaitForEnd(0));
        EXPECT_TRUE(bridge.WaitForEnd(0));
        EXPECT_TRUE(InstallFolderGoes());
        EXPECT_TRUE(FileExists(canary_));
    }
}

TEST_F(RemovalSteps, ProgramsNamedInOtherLetterCaseAreStopped) {
    PlaceInstallation(L"CORVANE.EXE", L"Platform-Tools\\ADB.exe");
    RunningProgram product(mainProgram_);
    RunningProgram bridge(bridgeProgram_);
    ASSERT_TRUE(product.Started() && bridge.Started());
    entry_.SetLocation(install_);

    RunRemovalSteps();

    EXPECT_TRUE(product.WaitForEnd(0));
    EXPECT_TRUE(bridge.WaitForEnd(0));
    EXPECT_TRUE(InstallFolderGoes());
}

TEST_F(RemovalSteps, CommandIsNeverTakenFromTheCurrentFolder) {
    PlaceInstallation();
    // Programs planted where the uninstaller happens to run must not be started.
    PlaceProgram(install_, L"cmd.exe");
    PlaceProgram(install_, L"ping.exe");
    entry_.SetLocation(install_);
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(install_.c_str()));
    ChildCommandWatch commands;

    RunRemovalSteps();
    SetCurrentDirectoryW(previous);

    const std::vector<DWORD> started = commands.NewCommands();
    ASSERT_EQ(started.size(), 1u);
    EXPECT_TRUE(SamePath(ImagePathOf(started[0]), SystemFolder() + L"\\cmd.exe"));
    EXPECT_TRUE(InstallFolderGoes());
    const std::vector<DWORD> planted = ProcessesRunningFrom(install_);
    EXPECT_TRUE(planted.empty());
    for (DWORD id : planted)
        TerminateProcessById(id);
}

TEST_F(RemovalSteps, WithoutLocationNothingIsStoppedAndNoCommandStarts) {
    PlaceInstallation();
    RunningProgram product(mainProgram_);
    ASSERT_TRUE(product.Started());
    const std::wstring desktopShortcut =
        ShellFolder(CSIDL_DESKTOPDIRECTORY) + L"\\VelkorCorvane.lnk";
    WriteFile(desktopShortcut);
    ChildCommandWatch commands;

    RunRemovalSteps();

    EXPECT_FALSE(FileExists(desktopShortcut));
    EXPECT_TRUE(commands.NewCommands().empty());
    commands.StopNewCommands();
    EXPECT_TRUE(product.IsRunning());
    EXPECT_TRUE(FileExists(mainProgram_));
}

TEST_F(RemovalSteps, OneCharacterLocationCountsAsNoLocation) {
    PlaceInstallation();
    RunningProgram product(mainProgram_);
    ASSERT_TRUE(product.Started());
    entry_.SetLocation(L"C");
    ChildCommandWatch commands;

    RunRemovalSteps();

    EXPECT_FALSE(UninstallEntry::Exists());
    EXPECT_TRUE(commands.NewCommands().empty());
    commands.StopNewCommands();
    EXPECT_TRUE(product.IsRunning());
}

// Everything below the folder, by the standard library's own walk.
std::set<std::wstring> PathsBelow(const std::wstring& folder) {
    std::set<std::wstring> paths;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        paths.insert(entry.path().wstring());
    return paths;
}

size_t Depth(const std::wstring& path) {
    return static_cast<size_t>(std::count(path.begin(), path.end(), L'\\'));
}

// An order in which each can be removed: the files first, then the folders, deeper ones before
// the ones above them, the top folder last.
void ExpectRemovableOrder(const std::vector<std::wstring>& paths, const std::wstring& top) {
    ASSERT_FALSE(paths.empty());
    EXPECT_EQ(paths.back(), top);
    bool foldersBegun = false;
    size_t depthBefore = SIZE_MAX;
    for (const std::wstring& path : paths) {
        const bool folder = FolderExists(path) || path == top;
        EXPECT_FALSE(foldersBegun && !folder)
            << "a file after a folder: " << testing::PrintToString(path);
        if (!folder)
            continue;
        foldersBegun = true;
        EXPECT_LE(Depth(path), depthBefore) << testing::PrintToString(path);
        depthBefore = Depth(path);
    }
}

TEST_F(RemovalSteps, WhatAnotherProgramHoldsOpenGoesAtTheNextRestart) {
    PlaceInstallation();
    const std::wstring held = install_ + L"\\platform-tools\\adb.log";
    WriteFile(held);
    // Another program's handle without sharing: rd cannot delete the file, nor its folders.
    UniqueFileHandle holder(CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder);
    entry_.SetLocation(install_);
    PendingRestartRemovals pending;

    const FolderRemoval removal = RunRemovalSteps();
    ASSERT_NE(removal.Command(), nullptr);
    ASSERT_EQ(WaitForSingleObject(removal.Command(), kFolderRemovalTimeoutMs), WAIT_OBJECT_0);
    // What rd left (Windows' rd goes on past a file it cannot delete; Wine's stops there).
    std::set<std::wstring> left = PathsBelow(install_);
    EXPECT_TRUE(left.count(held) && left.count(install_ + L"\\platform-tools"));
    left.insert(install_);
    EXPECT_TRUE(removal.ScheduleLeftoversAtRestart());

    const std::vector<std::wstring> scheduled = pending.Added();
    EXPECT_EQ(std::set<std::wstring>(scheduled.begin(), scheduled.end()), left);
    EXPECT_EQ(scheduled.size(), left.size());
    ExpectRemovableOrder(scheduled, install_);
    EXPECT_TRUE(FileExists(canary_));
}

TEST_F(RemovalSteps, NothingToScheduleWithoutACommand) {
    PlaceInstallation();
    entry_.SetLocation(install_ + L" Not There");
    PendingRestartRemovals pending;

    const FolderRemoval removal = RunRemovalSteps();

    EXPECT_EQ(removal.Command(), nullptr);
    EXPECT_FALSE(removal.ScheduleLeftoversAtRestart());
    EXPECT_TRUE(pending.Added().empty());
}

TEST(RemovalOrder, FilesFirstThenFoldersDeepestFirstTheFolderLast) {
    ScratchFolder scratch(L"order");
    const std::wstring top = scratch.Path() + L"\\Corvane";
    for (const wchar_t* file :
         {L"\\Corvane.exe", L"\\a\\b\\c\\deep.txt", L"\\a\\one.txt", L"\\z\\two.txt"})
        WriteFile(top + file);
    CreateFolders(top + L"\\empty");

    std::vector<std::wstring> listed;
    for (const RemovalItem& item : ListForRemoval(top)) {
        EXPECT_EQ(item.isFolder, FolderExists(item.path)) << testing::PrintToString(item.path);
        listed.push_back(item.path);
    }
    std::set<std::wstring> everything = PathsBelow(top);
    everything.insert(top);
    EXPECT_EQ(std::set<std::wstring>(listed.begin(), listed.end()), everything);
    EXPECT_EQ(listed.size(), everything.size());
    ExpectRemovableOrder(listed, top);

    EXPECT_TRUE(ListForRemoval(top + L"\\Corvane.exe").empty());
    EXPECT_TRUE(ListForRemoval(top + L" Not There").empty());
    // A link is listed as itself, never entered: the sandbox links this one to C:\users.
    const std::vector<RemovalItem> link = ListForRemoval(L"C:\\Documents and Settings");
    ASSERT_EQ(link.size(), 1u);
    EXPECT_TRUE(link[0].isFolder);
}

TEST(FolderRemovalCommand, ParametersCarryTheLocationExactlyAsRead) {
    EXPECT_EQ(FolderRemovalParameters(L"C:\\Program Files\\Corvane"),
              L"/C ping 1.1.1.1 -n 1 -w 1000 > Nul & rd /s /q \"C:\\Program Files\\Corvane\"");
    EXPECT_EQ(FolderRemovalParameters(L"c:\\Corvane\\"),
              L"/C ping 1.1.1.1 -n 1 -w 1000 > Nul & rd /s /q \"c:\\Corvane\\\"");
}

} // namespace
