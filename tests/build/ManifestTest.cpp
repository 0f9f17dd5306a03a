// The application manifests of both programs: the uninstaller asks for the highest rights the
// user has (an administrator is asked to consent, a standard user runs as before), the launcher
// for none; both want common controls 6.0.0.0 and declare no DPI awareness (the uninstaller
// sets it at run time). Wine shows no consent prompt, so only the manifests are checked here.
#include "Resources.h"

#include "TestProgramFolder.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <string>

namespace {

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

struct ProgramManifest {
    const char* program;
    const wchar_t* file; // relative to this test's folder
    const char* level;
};

const ProgramManifest kPrograms[] = {
    {"uninstaller", L"\\..\\..\\app\\uninstaller.exe", "highestAvailable"},
    {"launcher", L"\\..\\launcher\\launcher_under_test.exe", "asInvoker"},
};

TEST(Manifest, EachProgramAsksForItsExecutionLevelAndCommonControls6) {
    for (const ProgramManifest& expected : kPrograms) {
        SCOPED_TRACE(expected.program);
        const std::wstring path = TestProgramFolder() + expected.file;
        const TestSupport::Resources program(path);
        ASSERT_TRUE(program.Loaded());
        // The application manifest: resource 1 of type RT_MANIFEST (24).
        const std::string manifest = program.Text(MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1));

        ASSERT_FALSE(manifest.empty());
        EXPECT_EQ(Count(manifest, "<requestedExecutionLevel "), 1u);
        EXPECT_EQ(Count(manifest, "level=\"" + std::string(expected.level) + "\""), 1u);
        EXPECT_EQ(Count(manifest, "uiAccess=\"false\""), 1u);
        EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
                  std::string::npos);
        EXPECT_EQ(manifest.find("dpiAware"), std::string::npos);
    }
}

} // namespace
