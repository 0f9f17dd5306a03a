// The working folder the launcher makes: its permissions, and what it refuses. Wine enforces no
// permissions and keeps of a file's DACL only what maps to Unix permission bits, so the
// descriptor the folder is created with is read here entry by entry, and the launched folder in
// LauncherTest only as far as Wine keeps it.
#include "PrivateFolder.h"
#include "WorkingFolderSecurity.h"

#include "Files.h"
#include "TestProgramFolder.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <sddl.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

std::wstring SidText(PSID sid) {
    wchar_t* text = nullptr;
    if (!ConvertSidToStringSidW(sid, &text))
        return L"?";
    std::wstring result = text;
    LocalFree(text);
    return result;
}

std::wstring CurrentUser() {
    HANDLE token = nullptr;
    OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
    std::vector<BYTE> buffer(256);
    DWORD size = 0;
    const BOOL got = GetTokenInformation(token, TokenUser, buffer.data(), 256, &size);
    CloseHandle(token);
    return got ? SidText(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid) : L"";
}

struct Entry {
    std::wstring sid;
    DWORD mask;
    BYTE flags;
    bool operator==(const Entry& other) const {
        return sid == other.sid && mask == other.mask && flags == other.flags;
    }
};

std::ostream& operator<<(std::ostream& out, const Entry& entry) {
    return out << std::string(entry.sid.begin(), entry.sid.end()) << " mask 0x" << std::hex
               << entry.mask << " flags 0x" << static_cast<int>(entry.flags) << std::dec;
}

// Rights that would let a program of the user put a DLL beside the uninstaller, change its file,
// or give itself such rights back.
constexpr DWORD kWidening = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_DELETE_CHILD |
                            FILE_WRITE_ATTRIBUTES | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE |
                            GENERIC_ALL;

TEST(WorkingFolderSecurity, OnlySystemAndAdministratorsMayChangeTheFolder) {
    const std::wstring user = CurrentUser();
    ASSERT_FALSE(user.empty());
    const BYTE inherited = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
    const std::vector<Entry> sealed = {{L"S-1-5-18", FILE_ALL_ACCESS, inherited},
                                       {L"S-1-5-32-544", FILE_ALL_ACCESS, inherited},
                                       {user, kWorkingFolderUserAccess, inherited},
                                       {L"S-1-3-4", kWorkingFolderUserAccess, inherited}};
    std::vector<Entry> accepting = sealed;
    accepting.push_back({user, FILE_ADD_FILE, 0}); // the folder alone, not its files

    for (const bool acceptingTheProgram : {true, false}) {
        SCOPED_TRACE(acceptingTheProgram ? "while the program is written" : "sealed");
        const SecurityDescriptor descriptor = WorkingFolderSecurity(acceptingTheProgram);
        ASSERT_TRUE(descriptor);
        ASSERT_TRUE(IsValidSecurityDescriptor(descriptor.get()));
        SECURITY_DESCRIPTOR_CONTROL control = 0;
        DWORD revision = 0;
        ASSERT_TRUE(GetSecurityDescriptorControl(descriptor.get(), &control, &revision));
        EXPECT_TRUE(control & SE_DACL_PROTECTED) << "the temp folder's entries would be inherited";
        BOOL present = FALSE, defaulted = FALSE;
        PACL dacl = nullptr;
        ASSERT_TRUE(GetSecurityDescriptorDacl(descriptor.get(), &present, &dacl, &defaulted));
        ASSERT_TRUE(present && dacl);

        std::vector<Entry> entries;
        for (DWORD i = 0; i < dacl->AceCount; ++i) {
            void* ace = nullptr;
            ASSERT_TRUE(GetAce(dacl, i, &ace));
            const auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
            ASSERT_EQ(allowed->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
            const std::wstring sid = SidText(const_cast<DWORD*>(&allowed->SidStart));
            entries.push_back({sid, allowed->Mask, allowed->Header.AceFlags});
            const bool forTheUser = sid == user || sid == L"S-1-3-4";
            // Adding a file is FILE_WRITE_DATA on a file: only on the folder itself, never
            // inherited by the uninstaller's file.
            const DWORD allowedHere = allowed->Header.AceFlags == 0 ? FILE_ADD_FILE : 0;
            if (forTheUser) {
                EXPECT_EQ(allowed->Mask & kWidening & ~allowedHere, 0u) << entries.back();
            }
        }
        EXPECT_EQ(entries, acceptingTheProgram ? accepting : sealed);
    }
}

class PrivateFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = TestSupport::TempFolder() + L"private-folder-test-" +
                  std::to_wstring(GetCurrentProcessId());
        program_.assign(4096, 'p');
    }
    void TearDown() override {
        for (const wchar_t* name : {L"uninstaller.exe", L"version.dll"})
            DeleteFileW((folder_ + L"\\" + name).c_str());
        RemoveDirectoryW(folder_.c_str());
    }
    EmbeddedProgram Program() const { return {program_.data(), program_.size()}; }

    std::wstring folder_;
    std::string program_;
};

TEST_F(PrivateFolderTest, IsMadeByThisRunAndHoldsTheProgramAlone) {
    {
        PrivateFolder folder = PrivateFolder::Create(folder_);
        ASSERT_TRUE(folder);
        // Made by someone else since: it exists already.
        EXPECT_FALSE(PrivateFolder::Create(folder_));
        EXPECT_TRUE(folder.AddProgram(folder_ + L"\\uninstaller.exe", Program()));
        // The folder cannot be renamed while the launcher holds it.
        EXPECT_FALSE(MoveFileW(folder_.c_str(), (folder_ + L"-moved").c_str()));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    }
    std::ifstream written((folder_ + L"\\uninstaller.exe").c_str(), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(written), {}), program_);
}

TEST_F(PrivateFolderTest, RefusesAFileSomeoneElseAddedWhileTheProgramWasWritten) {
    PrivateFolder folder = PrivateFolder::Create(folder_);
    ASSERT_TRUE(folder);
    // Until the program is in, the folder lets the user add a file: so could any program of it.
    std::ofstream((folder_ + L"\\version.dll").c_str()) << "planted";
    EXPECT_FALSE(folder.AddProgram(folder_ + L"\\uninstaller.exe", Program()));
}

TEST_F(PrivateFolderTest, RefusesAnExistingFolder) {
    ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
    EXPECT_FALSE(PrivateFolder::Create(folder_));
}

} // namespace
