// The whole removal against a sample installation, with the real cmd.exe and rd.
#include "FolderRemovalCommand.h"
#include "RemovalSteps.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <shlobj.h>

using namespace enginetest;

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

TEST_F(RemovalSteps, LocationWithTrailingBackslashStillStopsAndRemoves) {
    PlaceInstallation();
    RunningProgram product(mainProgram_);
    RunningProgram bridge(bridgeProgram_);
    ASSERT_TRUE(product.Started() && bridge.Started());
    entry_.SetLocation(install_ + L"\\");

    RunRemovalSteps();

    EXPECT_TRUE(product.WaitForEnd(0));
    EXPECT_TRUE(bridge.WaitForEnd(0));
    EXPECT_TRUE(InstallFolderGoes());
    EXPECT_TRUE(FileExists(canary_));
}

TEST_F(RemovalSteps, LocationWithLowerCaseDriveLetterStillStopsAndRemoves) {
    PlaceInstallation();
    RunningProgram product(mainProgram_);
    RunningProgram bridge(bridgeProgram_);
    ASSERT_TRUE(product.Started() && bridge.Started());
    ASSERT_EQ(install_[0], L'C');
    entry_.SetLocation(L"c" + install_.substr(1));

    RunRemovalSteps();

    EXPECT_TRUE(product.WaitForEnd(0));
    EXPECT_TRUE(bridge.WaitForEnd(0));
    EXPECT_TRUE(InstallFolderGoes());
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

TEST(FolderRemovalCommand, ParametersCarryTheLocationExactlyAsRead) {
    EXPECT_EQ(FolderRemovalParameters(L"C:\\Program Files\\Corvane"),
              L"/C ping 1.1.1.1 -n 1 -w 1000 > Nul & rd /s /q \"C:\\Program Files\\Corvane\"");
    EXPECT_EQ(FolderRemovalParameters(L"c:\\Corvane\\"),
              L"/C ping 1.1.1.1 -n 1 -w 1000 > Nul & rd /s /q \"c:\\Corvane\\\"");
}

} // namespace
