// Finding and stopping the product's programs among real processes.
#include "DevicePath.h"
#include "ProductProcesses.h"
#include "StoppedProcesses.h"
#include "ProductSandbox.h"

#include <gtest/gtest.h>

#include <psapi.h>

#include <cwctype>

using namespace TestSupport;

namespace {

class ProductProcesses : public ::testing::Test {
  protected:
    ScratchFolder scratch_{L"processes"};
    std::wstring install_ = scratch_.Path() + L"\\Install Folder";
    std::wstring elsewhere_ = scratch_.Path() + L"\\Elsewhere";
};

TEST_F(ProductProcesses, LookingFindsTheNameFromAnyFolderButTerminatingSparesOtherFolders) {
    RunningProgram other(PlaceProgram(elsewhere_, L"Corvane.exe"));
    ASSERT_TRUE(other.Started());
    const std::wstring wanted = install_ + L"\\Corvane.exe";

    EXPECT_TRUE(KillProductProcesses(wanted, L"Corvane.exe", false));
    EXPECT_TRUE(KillProductProcesses(wanted, L"Corvane.exe", true));
    EXPECT_FALSE(other.WaitForEnd(500));
}

TEST_F(ProductProcesses, LookingLeavesTheProductRunning) {
    const std::wstring program = PlaceProgram(install_, L"Corvane.exe");
    RunningProgram product(program);
    ASSERT_TRUE(product.Started());
    EXPECT_TRUE(KillProductProcesses(program, L"Corvane.exe", false));
    EXPECT_FALSE(product.WaitForEnd(300));
}

TEST_F(ProductProcesses, TerminatingEndsEveryInstanceFromTheInstallFolder) {
    const std::wstring program = PlaceProgram(install_, L"Corvane.exe");
    RunningProgram first(program);
    RunningProgram second(program);
    ASSERT_TRUE(first.Started() && second.Started());

    StoppedProcesses stopped;
    EXPECT_TRUE(KillProductProcesses(program, L"Corvane.exe", true, &stopped));
    EXPECT_EQ(stopped.Count(), 2u);
    EXPECT_TRUE(stopped.WaitForAll());
    EXPECT_TRUE(first.WaitForEnd(0));
    EXPECT_TRUE(second.WaitForEnd(0));
}

TEST_F(ProductProcesses, NoProcessOfThatNameGivesFalse) {
    EXPECT_FALSE(
        KillProductProcesses(install_ + L"\\NoSuchProgram.exe", L"NoSuchProgram.exe", false));
    EXPECT_FALSE(
        KillProductProcesses(install_ + L"\\NoSuchProgram.exe", L"NoSuchProgram.exe", true));
}

TEST_F(ProductProcesses, DebugBridgeOutsidePlatformToolsSurvives) {
    RunningProgram inRoot(PlaceProgram(install_, L"adb.exe"));
    RunningProgram inOtherFolder(PlaceProgram(elsewhere_, L"platform-tools\\adb.exe"));
    const std::wstring bridge = PlaceProgram(install_, L"platform-tools\\adb.exe");
    RunningProgram inPlatformTools(bridge);
    ASSERT_TRUE(inRoot.Started() && inOtherFolder.Started() && inPlatformTools.Started());

    StoppedProcesses stopped;
    EXPECT_TRUE(KillProductProcesses(bridge, L"adb.exe", true, &stopped));
    EXPECT_TRUE(stopped.WaitForAll());
    EXPECT_TRUE(inPlatformTools.WaitForEnd(0));
    EXPECT_TRUE(inRoot.IsRunning());
    EXPECT_TRUE(inOtherFolder.IsRunning());
}

TEST_F(ProductProcesses, NamesAndPathsMatchWithoutRegardToCase) {
    RunningProgram upper(PlaceProgram(install_, L"CORVANE.EXE"));
    ASSERT_TRUE(upper.Started());
    std::wstring lowerPath = install_ + L"\\corvane.exe";
    for (wchar_t& c : lowerPath)
        c = static_cast<wchar_t>(std::towlower(c));

    StoppedProcesses stopped;
    EXPECT_TRUE(KillProductProcesses(lowerPath, L"Corvane.exe", true, &stopped));
    EXPECT_TRUE(stopped.WaitForAll());
    EXPECT_TRUE(upper.WaitForEnd(0));
}

TEST_F(ProductProcesses, SingleProcessMatchesOnlyItsOwnImagePath) {
    const std::wstring program = PlaceProgram(install_, L"Corvane.exe");
    RunningProgram product(program);
    ASSERT_TRUE(product.Started());

    EXPECT_FALSE(KillProcessIfPathMatches(product.Id(), elsewhere_ + L"\\Corvane.exe", true));
    EXPECT_TRUE(KillProcessIfPathMatches(product.Id(), program, false));
    EXPECT_TRUE(product.IsRunning());

    StoppedProcesses stopped;
    EXPECT_TRUE(KillProcessIfPathMatches(product.Id(), program, true, &stopped));
    EXPECT_TRUE(stopped.WaitForAll());
    EXPECT_TRUE(product.WaitForEnd(0));
}

TEST_F(ProductProcesses, ProcessThatCannotBeOpenedDoesNotMatch) {
    // Process ids are multiples of four; this one names nothing.
    EXPECT_FALSE(KillProcessIfPathMatches(0xFFFFFFF1u, install_ + L"\\Corvane.exe", true));
}

TEST(StoppedProcessesWait, GivesUpWhenTheBudgetIsSpent) {
    ScratchFolder scratch(L"stopped");
    RunningProgram product(PlaceProgram(scratch.Path(), L"Corvane.exe"));
    ASSERT_TRUE(product.Started());
    StoppedProcesses stopped;
    stopped.Add(UniqueHandle(OpenProcess(SYNCHRONIZE, FALSE, product.Id())));
    EXPECT_FALSE(stopped.WaitForAll(200));
    EXPECT_TRUE(product.IsRunning());
}

std::wstring DeviceOfDrive(const wchar_t* drive) {
    wchar_t device[100] = {};
    return QueryDosDeviceW(drive, device, 100) ? std::wstring(device) : std::wstring();
}

TEST(DevicePath, TranslatesTheSystemDrivesDevicePath) {
    const std::wstring device = DeviceOfDrive(L"C:");
    ASSERT_FALSE(device.empty());
    EXPECT_EQ(DeviceToDrivePath(device + L"\\Apps\\Corvane.exe"), L"C:\\Apps\\Corvane.exe");

    std::wstring otherCase = device;
    for (wchar_t& c : otherCase)
        c = static_cast<wchar_t>(std::towupper(c));
    EXPECT_EQ(DeviceToDrivePath(otherCase + L"\\Apps\\Corvane.exe"), L"C:\\Apps\\Corvane.exe");
}

TEST(DevicePath, DeviceNameMustEndAtASeparator) {
    const std::wstring device = DeviceOfDrive(L"C:");
    ASSERT_FALSE(device.empty());
    // A volume numbered 1 is not the start of volume 10; no drive maps that path.
    const std::wstring tenthVolume = device + L"0\\Apps\\Corvane.exe";
    EXPECT_EQ(DeviceToDrivePath(tenthVolume), tenthVolume);
}

TEST(DevicePath, DriveWhoseDeviceNameCannotBeReadIsPassedOver) {
    // Listed before the drive that maps the path: a device name longer than the
    // lookup's room, as a network drive's can be, so its query fails.
    DefinedDrive unreadable(
        L'C', L"\\Device\\LanmanRedirector\\;Q:0000000000012345\\" + std::wstring(100, L'x'), true);
    ASSERT_TRUE(DeviceOfDrive(unreadable.Name().c_str()).empty());
    DefinedDrive volume(unreadable.Letter(), L"\\Device\\CorvaneTestVolume", true);

    const struct {
        std::wstring devicePath;
        std::wstring expected;
    } cases[] = {
        {L"\\Device\\CorvaneTestVolume\\Apps\\Corvane.exe", volume.Name() + L"\\Apps\\Corvane.exe"},
        {L"\\DEVICE\\corvanetestvolume\\adb.exe", volume.Name() + L"\\adb.exe"},
        {DeviceOfDrive(L"C:") + L"\\Apps\\Corvane.exe", L"C:\\Apps\\Corvane.exe"},
        {L"\\Device\\CorvaneTestVolume2\\Corvane.exe",
         L"\\Device\\CorvaneTestVolume2\\Corvane.exe"},
        {L"\\Device\\NoSuchVolume\\Corvane.exe", L"\\Device\\NoSuchVolume\\Corvane.exe"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DeviceToDrivePath(c.devicePath), c.expected);
}

TEST(DevicePath, RunningProgramsImagePathTranslatesToItsDrivePath) {
    ScratchFolder scratch(L"devicepath");
    const std::wstring program = PlaceProgram(scratch.Path(), L"Corvane.exe");
    RunningProgram product(program);
    ASSERT_TRUE(product.Started());
    UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, product.Id()));
    ASSERT_TRUE(process);
    wchar_t devicePath[260] = {};
    ASSERT_NE(K32GetProcessImageFileNameW(process.Get(), devicePath, 260), 0u);
    const std::wstring translated = DeviceToDrivePath(devicePath);
    EXPECT_EQ(CompareStringOrdinal(translated.c_str(), -1, program.c_str(), -1, TRUE), CSTR_EQUAL)
        << "device path: " << testing::PrintToString(std::wstring(devicePath));
}

} // namespace
