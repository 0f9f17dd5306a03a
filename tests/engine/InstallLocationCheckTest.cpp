// The guard's view of real paths: canonical forms and the shell folders it protects.
#include "CanonicalPath.h"
#include "InstallLocationCheck.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <shlobj.h>

using namespace enginetest;

namespace {

std::wstring ShortName(const std::wstring& path) {
    wchar_t shortPath[MAX_PATH] = {};
    const DWORD length = GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? std::wstring() : std::wstring(shortPath);
}

TEST(CanonicalPath, ResolvesDotsSlashesAndTrailingSeparators) {
    ScratchFolder scratch(L"canonical");
    EXPECT_TRUE(SamePath(CanonicalPath(scratch.Path() + L"\\a\\..\\b\\.\\c\\"),
                         scratch.Path() + L"\\b\\c"));
    EXPECT_TRUE(SamePath(CanonicalPath(L"c:/CorvaneEngineTests/canonical/"), scratch.Path()));
    EXPECT_TRUE(SamePath(CanonicalPath(L"C:\\CorvaneEngineTests\\..\\..\\.."), L"C:\\"));
}

TEST(CanonicalPath, ExpandsShortNamesOfExistingFolders) {
    ScratchFolder scratch(L"canonical-short");
    const std::wstring longFolder = scratch.Path() + L"\\A Rather Long Folder Name";
    CreateFolders(longFolder);
    const std::wstring shortFolder = ShortName(longFolder);
    ASSERT_FALSE(shortFolder.empty());
    ASSERT_FALSE(SamePath(shortFolder, longFolder)) << "no short name to expand";
    EXPECT_TRUE(SamePath(CanonicalPath(shortFolder), longFolder));
    EXPECT_TRUE(SamePath(CanonicalPath(shortFolder + L"\\not yet\\there"),
                         longFolder + L"\\not yet\\there"));
}

TEST(InstallLocationCheck, ProtectsTheSystemAndUserFoldersOfThisMachine) {
    const InstallLocationFacts facts = GatherInstallLocationFacts(L"C:\\Corvane");
    auto isProtected = [&facts](const std::wstring& folder) {
        for (const std::wstring& known : facts.shellFolders) {
            if (SamePath(known, CanonicalPath(folder)))
                return true;
        }
        return false;
    };
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    EXPECT_TRUE(isProtected(windows));
    EXPECT_TRUE(isProtected(ShellFolder(CSIDL_PROGRAM_FILES)));
    EXPECT_TRUE(isProtected(ShellFolder(CSIDL_PROFILE)));
    EXPECT_TRUE(isProtected(ShellFolder(CSIDL_DESKTOPDIRECTORY)));
    EXPECT_TRUE(isProtected(ShellFolder(CSIDL_APPDATA)));
    EXPECT_FALSE(facts.profilesFolder.empty());
    EXPECT_TRUE(facts.onLocalDrive);
}

TEST(InstallLocationCheck, JudgesRealLocations) {
    ScratchFolder scratch(L"check");
    const std::wstring install = scratch.Path() + L"\\Corvane";
    CreateFolders(install);
    EXPECT_TRUE(IsSafeToRemoveInstallFolder(install));
    EXPECT_TRUE(IsSafeToRemoveInstallFolder(install + L"\\"));

    const std::wstring programFiles = ShellFolder(CSIDL_PROGRAM_FILES);
    EXPECT_FALSE(IsSafeToRemoveInstallFolder(programFiles));
    EXPECT_FALSE(IsSafeToRemoveInstallFolder(install + L"\\..\\..\\.."));
    const std::wstring shortProgramFiles = ShortName(programFiles);
    if (!shortProgramFiles.empty()) {
        EXPECT_FALSE(IsSafeToRemoveInstallFolder(shortProgramFiles));
    }
}

} // namespace
