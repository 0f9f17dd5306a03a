// Dangerous install locations: the folder-removal command must not start, while
// the shortcuts and the uninstall entry still go.
#include "ProductNames.h"
#include "RemovalSteps.h"
#include "ProductSandbox.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <functional>
#include <memory>
#include <ostream>

using namespace TestSupport;

namespace {

struct DangerousLocation {
    const char* name;
    std::function<std::wstring(const std::wstring& sample)> location;
    // A folder that exists, or is made for the test, and gets a marker file that must stay;
    // with the product's main program beside it when the row says so.
    bool marked = false;
    bool holdsProgram = false;
    // How the value is stored: REG_BINARY takes the text's bytes in the ANSI code page, as a
    // careless installer might write them; REG_DWORD stores 1, whatever the text.
    DWORD type = REG_SZ;
    bool terminated = true;
};

// Shows the case's name, not its bytes, in the test's messages.
void PrintTo(const DangerousLocation& location, std::ostream* out) {
    *out << location.name;
}

std::wstring ParentOf(const std::wstring& path) {
    return path.substr(0, path.find_last_of(L'\\'));
}

std::wstring WindowsFolder() {
    wchar_t folder[MAX_PATH] = {};
    GetWindowsDirectoryW(folder, MAX_PATH);
    return folder;
}

// Another user's profile, made real by the test fixture.
std::wstring OtherUsersAppData() {
    return ParentOf(ShellFolder(CSIDL_PROFILE)) + L"\\Corvane Other User\\AppData";
}

const DangerousLocation kDangerousLocations[] = {
    {"DriveRoot", [](const std::wstring&) { return std::wstring(L"C:\\"); }},
    {"DriveRootWithoutSeparator", [](const std::wstring&) { return std::wstring(L"C:\\."); }},
    {"WindowsFolder", [](const std::wstring&) { return WindowsFolder(); }},
    {"WindowsFolderAsOneWritesIt",
     [](const std::wstring&) { return std::wstring(L"C:\\Windows"); }},
    {"ProgramFiles", [](const std::wstring&) { return ShellFolder(CSIDL_PROGRAM_FILES); }},
    {"UserProfile", [](const std::wstring&) { return ShellFolder(CSIDL_PROFILE); }},
    {"AnotherUsersProfile",
     [](const std::wstring&) { return ParentOf(ShellFolder(CSIDL_PROFILE)) + L"\\Someone Else"; }},
    {"ParentOfAKnownFolder",
     [](const std::wstring&) { return ParentOf(ShellFolder(CSIDL_APPDATA)); }},
    {"ParentOfTheSample", [](const std::wstring& sample) { return sample + L"\\..\\..\\.."; }},
    {"RelativePath", [](const std::wstring&) { return std::wstring(L"Corvane"); }},
    {"RelativeUpwards", [](const std::wstring&) { return std::wstring(L"..\\.."); }},
    {"QuoteInjection",
     [](const std::wstring& sample) {
         return sample + L"\" & rd /s /q \"" + ParentOf(sample) + L"\\Canary";
     }},
    {"PercentSign", [](const std::wstring& sample) { return sample + L"\\%SystemRoot%"; }},
    {"ExclamationMark", [](const std::wstring& sample) { return sample + L"!"; }},
    {"NetworkPath",
     [](const std::wstring&) { return std::wstring(L"\\\\localhost\\C$\\Corvane"); }},
    {"AnotherUsersAppData", [](const std::wstring&) { return OtherUsersAppData(); }},
    {"MissingFolder", [](const std::wstring& sample) { return sample + L" Not There"; }},
    // A folder of the product's name may still not be the product's, and nothing inside the
    // Windows folder is, whatever it holds.
    {"SiblingProductWithoutTheProgram",
     [](const std::wstring&) { return ShellFolder(CSIDL_PROGRAM_FILES) + L"\\Other"; }, true},
    {"InsideTheWindowsFolder",
     [](const std::wstring&) { return WindowsFolder() + L"\\system32\\drivers"; }, true, true},
    // Values no installer should have written.
    {"DwordValue", [](const std::wstring& sample) { return sample; }, false, false, REG_DWORD},
    {"BinaryValue", [](const std::wstring& sample) { return sample; }, false, false, REG_BINARY},
    {"ExpandableValue",
     [](const std::wstring&) { return std::wstring(L"%ProgramFiles%\\Corvane"); }, false, false,
     REG_EXPAND_SZ},
    {"EmptyValue", [](const std::wstring&) { return std::wstring(); }},
    {"BlanksOnly", [](const std::wstring&) { return std::wstring(L"   "); }},
    {"LongerThanMaxPath",
     [](const std::wstring& sample) { return sample + L"\\" + std::wstring(300, L'd'); }},
    {"AFile", [](const std::wstring& sample) { return sample + L"\\Corvane.exe"; }},
    {"UnterminatedFillingTheBuffer",
     [](const std::wstring&) { return L"C:\\" + std::wstring(257, L'c'); }, false, false, REG_SZ,
     false},
    // C:\Documents and Settings links to the profiles folder, as on Windows.
    {"DocumentsThroughALink",
     [](const std::wstring&) {
         const std::wstring documents = ShellFolder(CSIDL_PERSONAL);
         const std::wstring profiles = ParentOf(ShellFolder(CSIDL_PROFILE));
         return L"C:\\Documents and Settings" + documents.substr(profiles.size());
     }},
};

class GuardedRemoval : public ::testing::TestWithParam<DangerousLocation> {
  protected:
    void SetValue(const DangerousLocation& row, const std::wstring& location) {
        if (row.type == REG_DWORD) {
            const DWORD one = 1;
            entry_.SetRawLocation(REG_DWORD, &one, sizeof one);
        } else if (row.type == REG_BINARY) {
            const std::string bytes(location.begin(), location.end());
            entry_.SetRawLocation(REG_BINARY, bytes.c_str(), static_cast<DWORD>(bytes.size() + 1));
        } else {
            const size_t units = location.size() + (row.terminated ? 1 : 0);
            entry_.SetRawLocation(row.type, location.c_str(),
                                  static_cast<DWORD>(units * sizeof(wchar_t)));
        }
    }

    ScratchFolder scratch_{L"guard"};
    std::wstring sample_ = scratch_.Path() + L"\\Corvane";
    std::wstring canary_ = scratch_.Path() + L"\\Canary\\keep.txt";
    MadeFolder otherUser_{OtherUsersAppData() + L"\\Roaming"};
    UninstallEntry entry_;
};

TEST_P(GuardedRemoval, NoCommandStartsButShortcutsAndEntryGo) {
    const std::wstring sampleProgram = PlaceProgram(sample_, L"Corvane.exe");
    WriteFile(sample_ + L"\\data\\settings.ini");
    WriteFile(canary_);
    const std::wstring desktopShortcut =
        ShellFolder(CSIDL_DESKTOPDIRECTORY) + L"\\VelkorCorvane.lnk";
    const std::wstring group = ShellFolder(CSIDL_PROGRAMS) + kStartMenuGroupName;
    WriteFile(desktopShortcut);
    WriteFile(group + kStartMenuShortcutName);
    const std::wstring location = GetParam().location(sample_);
    std::unique_ptr<MadeFolder> marked;
    std::unique_ptr<PlacedFile> marker, program;
    if (GetParam().marked) {
        marked = std::make_unique<MadeFolder>(location);
        marker = std::make_unique<PlacedFile>(location + L"\\corvane-guard-marker.txt");
        if (GetParam().holdsProgram)
            program = std::make_unique<PlacedFile>(location + L"\\Corvane.exe");
    }
    SetValue(GetParam(), location);
    ChildCommandWatch commands;

    RunRemovalSteps();

    const bool commandStarted = !commands.NewCommands().empty();
    // Stop a wrongly started command during its ping, before its rd runs.
    commands.StopNewCommands();
    EXPECT_FALSE(commandStarted);
    EXPECT_FALSE(UninstallEntry::Exists());
    EXPECT_FALSE(FileExists(desktopShortcut));
    EXPECT_FALSE(FolderExists(group));
    EXPECT_TRUE(FileExists(sampleProgram));
    EXPECT_TRUE(FileExists(sample_ + L"\\data\\settings.ini"));
    EXPECT_TRUE(FileExists(canary_));
    EXPECT_TRUE(FolderExists(WindowsFolder()));
    if (marker) {
        EXPECT_TRUE(FileExists(marker->Path()));
    }
}

INSTANTIATE_TEST_SUITE_P(Locations, GuardedRemoval, ::testing::ValuesIn(kDangerousLocations),
                         [](const ::testing::TestParamInfo<DangerousLocation>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
