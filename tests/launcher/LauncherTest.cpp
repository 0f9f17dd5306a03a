// The launcher, run for real in the sandbox around a payload that records its start.
#include "Files.h"
#include "Text.h"
#include "TestProcess.h"
#include "Wait.h"

#include "RunningProcesses.h"

#include "TestProgramFolder.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using namespace TestSupport;

// Paths compare as Windows compares them: without regard to case, "\\" read as "\".
std::wstring Canonical(std::wstring path) {
    for (size_t at; (at = path.find(L"\\\\")) != std::wstring::npos;)
        path.erase(at, 1);
    CharUpperBuffW(path.data(), static_cast<DWORD>(path.size()));
    return path;
}

bool WaitFor(const std::wstring& path, DWORD timeoutMs) {
    return WaitUntil([&] { return PathExists(path); }, timeoutMs);
}

std::vector<DWORD> ProcessesNamed(const wchar_t* name) {
    std::vector<DWORD> ids;
    for (const PROCESSENTRY32W& entry : RunningProcesses()) {
        if (lstrcmpiW(entry.szExeFile, name) == 0)
            ids.push_back(entry.th32ProcessID);
    }
    return ids;
}

// The SIDs the DACL of a file or folder names, as the system reports them.
std::vector<std::wstring> DaclSids(const std::wstring& path) {
    std::vector<std::wstring> sids;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, &dacl, nullptr, &descriptor) != ERROR_SUCCESS)
        return sids;
    for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
        void* ace = nullptr;
        wchar_t* text = nullptr;
        if (GetAce(dacl, i, &ace) &&
            ConvertSidToStringSidW(&static_cast<ACCESS_ALLOWED_ACE*>(ace)->SidStart, &text)) {
            sids.push_back(text);
            LocalFree(text);
        }
    }
    LocalFree(descriptor);
    return sids;
}

// The names in a folder, "." and ".." left out, in the order found.
std::vector<std::wstring> FolderEntries(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

class LauncherTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string testName =
            ::testing::UnitTest::GetInstance()->current_test_info()->name();
        root_ = TempFolder() + L"launcher-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::wstring(testName.begin(), testName.end());
        DeleteTree(root_);
        ASSERT_TRUE(CreateDirectoryW(root_.c_str(), nullptr));
        UseTempFolder(root_);
    }

    void TearDown() override {
        DeleteFileW(HoldFlag().c_str());
        WaitForPayloadsToEnd();
        DeleteTree(root_);
    }

    // The launcher (and so the payload) takes its temporary folder from TMP.
    void UseTempFolder(const std::wstring& folder) {
        temp_ = folder;
        SetEnvironmentVariableW(L"TMP", folder.c_str());
        SetEnvironmentVariableW(L"TEMP", folder.c_str());
    }

    std::wstring WorkingFolder() const { return temp_ + L"\\KVDN13084007"; }
    std::wstring Target() const { return WorkingFolder() + L"\\uninstaller.exe"; }
    std::wstring Record() const { return temp_ + L"\\launcher-payload-started.txt"; }
    std::wstring HoldFlag() const { return temp_ + L"\\launcher-payload-hold.flag"; }

    DWORD RunLauncher() {
        TestProcess launcher;
        EXPECT_TRUE(launcher.Start(L"\"" + TestProgramFolder() + L"\\" LAUNCHER_FILE_NAME L"\""));
        EXPECT_TRUE(launcher.WaitForEnd(30000)) << "the launcher did not end";
        DWORD exitCode = 0xDEAD;
        launcher.ExitCode(&exitCode);
        return exitCode;
    }

    void WaitForPayloadsToEnd() {
        WaitUntil([] { return ProcessesNamed(L"uninstaller.exe").empty(); }, 10000);
    }

    std::wstring root_;
    std::wstring temp_;
};

TEST_F(LauncherTest, WritesThePayloadByteForByteAndStartsItInTheWorkingFolder) {
    EXPECT_EQ(RunLauncher(), 0u);
    ASSERT_TRUE(WaitFor(Record(), 20000)) << "the payload did not start";

    const std::vector<char> written = ReadAll(Target());
    const std::vector<char> payload = ReadAll(TestProgramFolder() + L"\\" PAYLOAD_FILE_NAME);
    ASSERT_FALSE(payload.empty());
    EXPECT_TRUE(written == payload)
        << "written " << written.size() << " bytes, payload " << payload.size();

    const std::wstring record = FromUtf8(ReadAll(Record()));
    const size_t lineEnd = record.find(L'\n');
    ASSERT_NE(lineEnd, std::wstring::npos);
    const std::wstring startedFrom = record.substr(0, lineEnd);
    std::wstring currentDirectory = record.substr(lineEnd + 1);
    currentDirectory.erase(currentDirectory.find_last_not_of(L"\\\n") + 1);
    EXPECT_EQ(Canonical(startedFrom), Canonical(Target()));
    EXPECT_EQ(Canonical(currentDirectory), Canonical(WorkingFolder()));

    // Of the folder's DACL (tests/launcher/PrivateFolderTest.cpp reads it entry by entry) Wine
    // keeps only what maps to Unix permission bits; a folder made with default security gives
    // Everyone read access there.
    const std::vector<std::wstring> sids = DaclSids(WorkingFolder());
    ASSERT_FALSE(sids.empty());
    EXPECT_EQ(std::count(sids.begin(), sids.end(), L"S-1-1-0"), 0) << "Everyone may read it";
}

// What another program (or an earlier run) may have left at the working folder's place. Links
// cannot be made from Windows code under Wine 8; tests/e2e's planted-DLL run makes them.
struct Leftover {
    const char* what;
    bool asFile;                       // a file in the folder's place instead of a folder
    std::vector<const wchar_t*> files; // relative to the working folder; folders made on the way
};

const Leftover kLeftovers[] = {
    {"a folder an earlier run left", false, {L"uninstaller.exe"}},
    {"a folder prepared with DLLs planted beside the uninstaller, and subfolders",
     false,
     {L"uninstaller.exe", L"version.dll", L"uxtheme.dll", L"dwmapi.dll", L"sub\\cryptbase.dll",
      L"sub\\deeper\\profapi.dll", L"empty\\"}},
    {"a file in the folder's place", true, {}},
};

TEST_F(LauncherTest, ReplacesWhateverIsAtTheWorkingFolderPlace) {
    const std::vector<char> payload = ReadAll(TestProgramFolder() + L"\\" PAYLOAD_FILE_NAME);
    ASSERT_FALSE(payload.empty());
    for (const Leftover& leftover : kLeftovers) {
        SCOPED_TRACE(leftover.what);
        DeleteTree(WorkingFolder());
        DeleteFileW(WorkingFolder().c_str());
        DeleteFileW(Record().c_str());
        std::vector<std::wstring> planted;
        if (leftover.asFile) {
            std::ofstream(WorkingFolder().c_str()) << "not a folder";
        } else {
            ASSERT_TRUE(CreateDirectoryW(WorkingFolder().c_str(), nullptr));
        }
        for (const wchar_t* relative : leftover.files) {
            const std::wstring path = WorkingFolder() + L"\\" + relative;
            for (size_t at = path.find(L'\\', WorkingFolder().size() + 1); at != std::wstring::npos;
                 at = path.find(L'\\', at + 1))
                CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
            if (path.back() != L'\\')
                std::ofstream(path.c_str(), std::ios::binary) << std::string(4 << 20, 'x');
            planted.push_back(path);
        }

        EXPECT_EQ(RunLauncher(), 0u);
        ASSERT_TRUE(WaitFor(Record(), 20000)) << "the payload did not start";
        WaitForPayloadsToEnd();
        EXPECT_TRUE(ReadAll(Target()) == payload);
        for (const std::wstring& path : planted) {
            if (Canonical(path) != Canonical(Target())) {
                EXPECT_FALSE(PathExists(path)) << std::string(path.begin(), path.end());
            }
        }
        EXPECT_EQ(FolderEntries(WorkingFolder()), std::vector<std::wstring>{L"uninstaller.exe"});
    }
}

TEST_F(LauncherTest, SecondLaunchWhileTheFirstRunsStartsNothing) {
    std::ofstream(HoldFlag().c_str()).put('1');
    EXPECT_EQ(RunLauncher(), 0u);
    ASSERT_TRUE(WaitFor(Record(), 20000));
    ASSERT_TRUE(DeleteFileW(Record().c_str()));
    const std::vector<char> firstCopy = ReadAll(Target());
    ASSERT_EQ(ProcessesNamed(L"uninstaller.exe").size(), 1u);

    EXPECT_EQ(RunLauncher(), 0u);
    EXPECT_FALSE(WaitFor(Record(), 3000)) << "a second payload started";
    EXPECT_EQ(ProcessesNamed(L"uninstaller.exe").size(), 1u);
    EXPECT_TRUE(ReadAll(Target()) == firstCopy) << "the running program's file was changed";
    EXPECT_EQ(FolderEntries(WorkingFolder()), std::vector<std::wstring>{L"uninstaller.exe"});
}

TEST_F(LauncherTest, TempFolderOutsideTheAnsiCodePageStillWorks) {
    const std::wstring chineseFolder = root_ + L"\\\x7528\x6237\x6D4B\x8BD5"; // 用户测试
    BOOL lossy = FALSE;
    WideCharToMultiByte(CP_ACP, 0, chineseFolder.c_str(), -1, nullptr, 0, nullptr, &lossy);
    ASSERT_TRUE(lossy) << "this test needs an ANSI code page without Chinese (code page "
                       << GetACP() << ")";
    ASSERT_TRUE(CreateDirectoryW(chineseFolder.c_str(), nullptr));
    UseTempFolder(chineseFolder);

    EXPECT_EQ(RunLauncher(), 0u);
    ASSERT_TRUE(WaitFor(Record(), 20000)) << "the payload did not start";
    EXPECT_TRUE(ReadAll(Target()) == ReadAll(TestProgramFolder() + L"\\" PAYLOAD_FILE_NAME));
}

} // namespace
