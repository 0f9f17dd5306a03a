// The judgement on the install location, with the system's facts laid out by hand.
#include "InstallLocationGuard.h"

#include <gtest/gtest.h>

namespace {

InstallLocationFacts FactsFor(const std::wstring& canonical) {
    InstallLocationFacts facts;
    facts.canonicalLocation = canonical;
    facts.finalLocation = canonical;
    facts.onLocalDrive = true;
    facts.shellFolders = {L"C:\\Windows",
                          L"C:\\Windows\\System32",
                          L"C:\\Program Files",
                          L"C:\\ProgramData",
                          L"C:\\Users\\Ann",
                          L"C:\\Users\\Ann\\Desktop",
                          L"C:\\Users\\Ann\\Documents",
                          L"C:\\Users\\Ann\\AppData\\Roaming",
                          L"C:\\Users\\Ann\\AppData\\Local"};
    // The system's own Windows folder differs from the user's on a terminal server.
    facts.windowsFolders = {L"C:\\Windows", L"E:\\Shared\\Windows"};
    facts.mainProgramAttributes = FILE_ATTRIBUTE_ARCHIVE;
    facts.profilesFolder = L"C:\\Users";
    facts.currentProfile = L"C:\\Users\\Ann";
    facts.profiles = {L"C:\\Users\\Ann", L"C:\\Users\\Bob", L"C:\\Users\\Default",
                      L"C:\\Users\\Public"};
    return facts;
}

// Where the text read and its canonical form are the same.
bool Removable(const std::wstring& location) {
    return IsRemovableInstallLocation(location, FactsFor(location));
}

TEST(InstallLocationGuard, AcceptsOrdinaryInstallFolders) {
    EXPECT_TRUE(Removable(L"C:\\Program Files\\Corvane"));
    EXPECT_TRUE(Removable(L"D:\\Apps\\Corvane Phone Suite"));
    EXPECT_TRUE(Removable(L"C:\\Users\\Ann\\AppData\\Local\\Corvane"));
    EXPECT_TRUE(Removable(L"C:\\\u8F6F\u4EF6\\Corvane \u624B\u673A"));
    // Sharing a name prefix is neither being nor containing a shell folder.
    EXPECT_TRUE(Removable(L"C:\\Program Files Corvane"));
    EXPECT_TRUE(Removable(L"C:\\Win"));
    // The text read may end with a separator; its canonical form does not.
    EXPECT_TRUE(IsRemovableInstallLocation(L"C:\\Program Files\\Corvane\\",
                                           FactsFor(L"C:\\Program Files\\Corvane")));
}

TEST(InstallLocationGuard, RejectsDriveRoots) {
    EXPECT_FALSE(IsRemovableInstallLocation(L"C:\\", FactsFor(L"C:\\")));
    EXPECT_FALSE(IsRemovableInstallLocation(L"D:\\", FactsFor(L"D:\\")));
    EXPECT_FALSE(IsRemovableInstallLocation(L"C:\\Corvane\\..", FactsFor(L"C:\\")));
}

TEST(InstallLocationGuard, RejectsShellFoldersWhateverTheirCase) {
    EXPECT_FALSE(Removable(L"C:\\Windows"));
    EXPECT_FALSE(Removable(L"c:\\windows\\SYSTEM32"));
    EXPECT_FALSE(Removable(L"C:\\Program Files"));
    EXPECT_FALSE(Removable(L"C:\\ProgramData"));
    EXPECT_FALSE(Removable(L"C:\\Users\\Ann\\Desktop"));
    EXPECT_FALSE(IsRemovableInstallLocation(L"C:\\Tools\\..\\Windows", FactsFor(L"C:\\Windows")));
}

TEST(InstallLocationGuard, RejectsParentsOfShellFolders) {
    EXPECT_FALSE(Removable(L"C:\\Users\\Ann\\AppData"));
    EXPECT_FALSE(Removable(L"C:\\USERS"));
}

TEST(InstallLocationGuard, RejectsEveryUsersProfile) {
    EXPECT_FALSE(Removable(L"C:\\Users\\Ann"));
    EXPECT_FALSE(Removable(L"C:\\Users\\Bob"));
    EXPECT_TRUE(Removable(L"C:\\Users\\Bob\\Tools\\Corvane"));
}

TEST(InstallLocationGuard, TheUsersFoldersCountInEveryProfile) {
    const struct {
        const wchar_t* location;
        bool removable;
    } cases[] = {
        {L"C:\\Users\\Bob\\AppData", false},
        {L"C:\\Users\\Bob\\AppData\\Roaming", false},
        {L"C:\\Users\\Bob\\AppData\\Local", false},
        {L"C:\\Users\\Bob\\Desktop", false},
        {L"c:\\users\\BOB\\appdata\\roaming", false},
        {L"C:\\Users\\Default\\AppData\\Local", false},
        {L"C:\\Users\\Public\\Desktop", false},
        {L"C:\\Users\\Public\\AppData", false},
        {L"C:\\Users\\Bob\\AppData\\Local\\Programs\\Corvane", true},
        {L"C:\\Users\\Bob\\AppData\\Roaming\\Corvane", true},
        {L"C:\\Users\\Default\\Corvane", true},
        {L"C:\\Users\\Bob\\DesktopTools", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Removable(c.location), c.removable) << testing::PrintToString(c.location);
}

TEST(InstallLocationGuard, RemovesOnlyTheProductsOwnFolderAndNothingInsideWindows) {
    constexpr DWORD kNone = INVALID_FILE_ATTRIBUTES;
    constexpr DWORD kFile = FILE_ATTRIBUTE_ARCHIVE;
    const struct {
        const wchar_t* location;
        DWORD mainProgram; // what Corvane.exe directly inside it is
        bool removable;
    } cases[] = {
        {L"C:\\Windows\\System32\\drivers", kFile, false},
        {L"c:\\windows\\corvane", kFile, false},
        {L"C:\\Windows\\WinSxS\\amd64\\x\\Corvane", kFile, false},
        {L"E:\\Shared\\Windows\\Corvane", kFile, false},
        {L"C:\\Program Files\\Internet Explorer", kNone, false},
        {L"C:\\Program Files\\Other", kNone, false},
        {L"C:\\Users\\Ann\\Documents\\Thesis", kNone, false},
        {L"C:\\Users\\Ann\\Documents\\Corvane", FILE_ATTRIBUTE_DIRECTORY, false},
        {L"C:\\Users\\Ann\\Documents\\Corvane", FILE_ATTRIBUTE_REPARSE_POINT | kFile, false},
        {L"C:\\Users\\Ann\\Documents\\Corvane",
         FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY, false},
        {L"C:\\Users\\Ann\\Documents\\Corvane", kFile, true},
        {L"C:\\Users\\Ann\\Documents\\Corvane", FILE_ATTRIBUTE_NORMAL, true},
        {L"C:\\Users\\Ann\\Documents\\Corvane",
         FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | kFile, true},
        {L"C:\\Program Files\\Corvane", kFile, true},
        // Sharing a name prefix is not being inside.
        {L"C:\\Windows Apps\\Corvane", kFile, true},
    };
    for (const auto& c : cases) {
        InstallLocationFacts facts = FactsFor(c.location);
        facts.mainProgramAttributes = c.mainProgram;
        EXPECT_EQ(IsRemovableInstallLocation(c.location, facts), c.removable)
            << testing::PrintToString(c.location) << " with Corvane.exe " << c.mainProgram;
    }
}

TEST(InstallLocationGuard, RejectsPathsNotAbsoluteOnADrive) {
    const InstallLocationFacts facts = FactsFor(L"C:\\Windows\\System32\\Corvane");
    EXPECT_FALSE(IsRemovableInstallLocation(L"Corvane", facts));
    EXPECT_FALSE(IsRemovableInstallLocation(L"..\\Corvane", facts));
    EXPECT_FALSE(IsRemovableInstallLocation(L"C:Corvane", facts));
    EXPECT_FALSE(IsRemovableInstallLocation(L"\\Corvane", facts));
    EXPECT_FALSE(IsRemovableInstallLocation(L"\\\\server\\share\\Corvane", facts));
    EXPECT_FALSE(IsRemovableInstallLocation(L"\\\\?\\C:\\Corvane", facts));
    EXPECT_FALSE(IsRemovableInstallLocation(L"", facts));
}

TEST(InstallLocationGuard, RejectsCharactersTheCommandInterpreterExpands) {
    EXPECT_FALSE(Removable(L"C:\\Apps\\Corvane\" & rd /s /q \"C:\\Users"));
    EXPECT_FALSE(Removable(L"C:\\Apps\\%SystemRoot%"));
    EXPECT_FALSE(Removable(L"C:\\Apps\\Corvane!"));
    EXPECT_FALSE(Removable(L"C:\\Apps\\Cor\tvane"));
    EXPECT_FALSE(Removable(L"C:\\Apps\\Corvane\n"));
}

TEST(InstallLocationGuard, RejectsWhatIsNotOnALocalDrive) {
    InstallLocationFacts facts = FactsFor(L"Q:\\Corvane");
    facts.onLocalDrive = false;
    EXPECT_FALSE(IsRemovableInstallLocation(L"Q:\\Corvane", facts));
}

TEST(InstallLocationGuard, JudgesTheFolderTheLocationLeadsTo) {
    // An ordinary location by its text; what the opened folder says decides.
    const struct {
        const char* name;
        std::wstring finalLocation;
        bool throughReparsePoint;
        bool onLocalDrive;
        bool removable;
    } cases[] = {
        {"the same folder", L"C:\\Apps\\Corvane", false, true, true},
        {"another ordinary folder", L"D:\\Corvane", false, true, true},
        {"a shell folder", L"C:\\Users\\Ann\\Desktop", false, true, false},
        {"a folder inside Windows", L"C:\\Windows\\Temp\\Corvane", false, true, false},
        {"a shell folder in other case", L"c:\\users\\ann\\desktop", false, true, false},
        {"a parent of shell folders", L"C:\\Users\\Ann\\AppData", false, true, false},
        {"the profiles folder", L"C:\\Users", false, true, false},
        {"another user's profile", L"C:\\Users\\Bob", false, true, false},
        {"a drive root", L"D:\\", false, true, false},
        {"no folder at all", L"", false, true, false},
        {"a network share", L"\\\\?\\UNC\\server\\share\\Corvane", false, true, false},
        {"the same folder through a link", L"C:\\Apps\\Corvane", true, true, false},
        {"the same folder on a SUBST drive", L"C:\\Apps\\Corvane", false, false, false},
    };
    for (const auto& c : cases) {
        InstallLocationFacts facts = FactsFor(L"C:\\Apps\\Corvane");
        facts.finalLocation = c.finalLocation;
        facts.throughReparsePoint = c.throughReparsePoint;
        facts.onLocalDrive = c.onLocalDrive;
        EXPECT_EQ(IsRemovableInstallLocation(L"C:\\Apps\\Corvane", facts), c.removable) << c.name;
    }
}

TEST(InstallLocationGuard, RejectsMalformedCanonicalForms) {
    EXPECT_FALSE(IsRemovableInstallLocation(L"C:\\Apps\\Corvane", FactsFor(L"")));
    EXPECT_FALSE(
        IsRemovableInstallLocation(L"C:\\Apps\\Corvane", FactsFor(L"C:\\Apps\\..\\Windows")));
    EXPECT_FALSE(IsRemovableInstallLocation(L"C:\\Apps\\Corvane", FactsFor(L"C:/Apps/Corvane")));
    EXPECT_FALSE(
        IsRemovableInstallLocation(L"C:\\Apps\\Corvane", FactsFor(L"C:\\Apps\\\\Corvane")));
}

} // namespace
