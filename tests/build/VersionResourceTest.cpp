// The version resource Windows shows in each program's properties: product, description,
// copyright and the version set once in the build.
#include "Files.h"
#include "TestProgramFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

class VersionInfo {
  public:
    // Read from a copy under another name: Wine answers version queries for any file named
    // uninstaller.exe with its own built-in uninstaller's (none).
    explicit VersionInfo(const std::wstring& program) {
        const std::wstring file = TestSupport::TempFolder() + L"corvane-version-probe.exe";
        if (!CopyFileW(program.c_str(), file.c_str(), FALSE))
            return;
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
        block_.resize(size);
        if (size == 0 || !GetFileVersionInfoW(file.c_str(), 0, size, block_.data()))
            block_.clear();
        DeleteFileW(file.c_str());
    }
    bool Present() const { return !block_.empty(); }
    std::wstring Text(const wchar_t* name) const {
        void* value = nullptr;
        UINT length = 0;
        const std::wstring path = std::wstring(L"\\StringFileInfo\\080404B0\\") + name;
        if (!Present() || !VerQueryValueW(block_.data(), path.c_str(), &value, &length) ||
            length == 0)
            return {};
        return std::wstring(static_cast<const wchar_t*>(value), length - 1);
    }
    std::wstring FixedFileVersion() const {
        void* value = nullptr;
        UINT length = 0;
        if (!Present() || !VerQueryValueW(block_.data(), L"\\", &value, &length))
            return {};
        const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
        return std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." +
               std::to_wstring(LOWORD(fixed->dwFileVersionMS)) + L"." +
               std::to_wstring(HIWORD(fixed->dwFileVersionLS)) + L"." +
               std::to_wstring(LOWORD(fixed->dwFileVersionLS));
    }

  private:
    std::vector<BYTE> block_;
};

struct ShippedProgram {
    const wchar_t* file; // relative to this test's folder
    const wchar_t* internalName;
    const wchar_t* description;
};

const ShippedProgram kPrograms[] = {
    {L"\\..\\launcher\\launcher_under_test.exe", L"uninstall", L"\u5378\u8F7D Corvane"},
    {L"\\..\\..\\app\\uninstaller.exe", L"uninstaller", L"Corvane \u5378\u8F7D\u7A0B\u5E8F"},
    {L"\\..\\..\\launcher\\uninstall.exe", L"uninstall", L"\u5378\u8F7D Corvane"},
};

TEST(VersionResource, EachProgramNamesTheProductItsVersionAndItsMaker) {
    const std::wstring version = CORVANE_EXPECTED_VERSION L".0";
    for (const ShippedProgram& program : kPrograms) {
        SCOPED_TRACE(testing::Message() << program.internalName);
        const VersionInfo info(TestProgramFolder() + program.file);
        ASSERT_TRUE(info.Present());
        EXPECT_EQ(info.FixedFileVersion(), version);
        EXPECT_EQ(info.Text(L"FileVersion"), version);
        EXPECT_EQ(info.Text(L"ProductVersion"), version);
        EXPECT_EQ(info.Text(L"ProductName"), L"Corvane");
        EXPECT_EQ(info.Text(L"OriginalFilename"), std::wstring(program.internalName) + L".exe");
        EXPECT_EQ(info.Text(L"FileDescription"), program.description);
        EXPECT_NE(info.Text(L"LegalCopyright").find(L"Velkor"), std::wstring::npos);
    }
}

} // namespace
