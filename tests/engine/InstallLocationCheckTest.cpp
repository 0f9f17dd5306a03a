// The guard's view of real paths: canonical forms and the shell folders it protects.
#include "CanonicalPath.h"
#include "InstallLocationCheck.h"
#include "ProductSandbox.h"

#include <gtest/gtest.h>

#include <shlobj.h>

using namespace TestSupport;

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

std::wstring ParentOf(const std::wstring& path) {
    return path.substr(0, path.find_last_of(L'\\'));
}

// The same path through the link Windows keeps from its older layout (the sandbox
// has it too): C:\Documents and Settings leads to the profiles folder.
const std::wstring kLegacyProfilesLink = L"C:\\Documents and Settings";

std::wstring ThroughLegacyLink(const std::wstring& pathInProfiles) {
    const std::wstring profiles = ParentOf(CanonicalPath(ShellFolder(CSIDL_PROFILE)));
    return kLegacyProfilesLink + pathInProfiles.substr(profiles.size());
}

TEST(InstallLocationCheck, SeesWhereALinkLeads) {
    const DWORD attributes = GetFileAttributesW(kLegacyProfilesLink.c_str());
    ASSERT_TRUE(attributes != INVALID_FILE_ATTRIBUTES &&
                (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        << "the sandbox links C:\\Documents and Settings to the profiles folder";
    const std::wstring documents = CanonicalPath(ShellFolder(CSIDL_PERSONAL));
    const InstallLocationFacts facts = GatherInstallLocationFacts(ThroughLegacyLink(documents));
    EXPECT_TRUE(SamePath(facts.finalLocation, documents));
    EXPECT_TRUE(facts.throughReparsePoint);
    EXPECT_TRUE(facts.onLocalDrive);
}

TEST(InstallLocationCheck, JudgesWhereRealLocationsLead) {
    ScratchFolder scratch(L"leads");
    WriteFile(scratch.Path() + L"\\Corvane\\Corvane.exe");
    CreateFolders(scratch.Path() + L"\\Imitation\\Corvane.exe");
    const MadeFolder ownPrograms(CanonicalPath(ShellFolder(CSIDL_LOCAL_APPDATA)) +
                                 L"\\Programs\\Corvane Engine Test");
    WriteFile(ownPrograms.Path() + L"\\Corvane.exe");
    const DefinedDrive subst(L'C', scratch.Path(), false);
    const struct {
        const char* name;
        std::wstring location;
        bool removable;
    } cases[] = {
        {"an ordinary folder", scratch.Path() + L"\\Corvane", true},
        {"a folder among the user's own programs", ownPrograms.Path(), true},
        {"that folder through a link", ThroughLegacyLink(ownPrograms.Path()), false},
        {"Documents through a link", ThroughLegacyLink(ShellFolder(CSIDL_PERSONAL)), false},
        {"AppData through a link", ParentOf(ThroughLegacyLink(ShellFolder(CSIDL_APPDATA))), false},
        {"the link itself", kLegacyProfilesLink, false},
        {"a folder that does not exist", scratch.Path() + L"\\Not There", false},
        {"a folder whose Corvane.exe is a folder", scratch.Path() + L"\\Imitation", false},
        {"a folder without Corvane.exe", scratch.Path(), false},
        {"a file", FakeProductProgram(), false},
        {"a folder on a SUBST drive", subst.Name() + L"\\Corvane", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsSafeToRemoveInstallFolder(c.location), c.removable) << c.name;
}

TEST(InstallLocationCheck, JudgesTheFoldersOfEveryProfile) {
    // Another user, and the profile new users are made from, as real folders.
    const std::wstring profiles = ParentOf(CanonicalPath(ShellFolder(CSIDL_PROFILE)));
    const std::wstring other = profiles + L"\\Corvane Other User";
    const MadeFolder otherRoaming(other + L"\\AppData\\Roaming");
    const MadeFolder otherPrograms(other + L"\\AppData\\Local\\Programs\\Corvane");
    WriteFile(otherPrograms.Path() + L"\\Corvane.exe");
    const MadeFolder otherDocuments(other + L"\\Documents");
    const MadeFolder defaultLocal(profiles + L"\\Default\\AppData\\Local");
    const struct {
        std::wstring location;
        bool removable;
    } cases[] = {
        {other + L"\\AppData", false},
        {other + L"\\AppData\\Roaming", false},
        {other + L"\\Documents", false},
        {other, false},
        {profiles + L"\\Default\\AppData", false},
        {profiles + L"\\Default\\AppData\\Local", false},
        {other + L"\\AppData\\Local\\Programs\\Corvane", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsSafeToRemoveInstallFolder(c.location), c.removable)
            << testing::PrintToString(c.location);
}

TEST(InstallLocationCheck, JudgesRealLocations) {
    ScratchFolder scratch(L"check");
    const std::wstring install = scratch.Path() + L"\\Corvane";
    WriteFile(install + L"\\Corvane.exe");
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
