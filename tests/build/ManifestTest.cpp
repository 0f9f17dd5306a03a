// The application manifests of both programs: no elevation asked for, common controls
// 6.0.0.0, and no DPI awareness declared (the uninstaller sets it at run time).
#include <gtest/gtest.h>

#include <windows.h>
#include <string>

namespace {

std::string ManifestOf(HMODULE module) {
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    if (!resource)
        return {};
    HGLOBAL loaded = LoadResource(module, resource);
    const char* bytes = static_cast<const char*>(LockResource(loaded));
    return bytes ? std::string(bytes, SizeofResource(module, resource)) : std::string();
}

std::wstring OwnFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L'\\'));
}

void ExpectPlainManifest(const std::string& manifest) {
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
              std::string::npos);
    EXPECT_EQ(manifest.find("dpiAware"), std::string::npos);
    EXPECT_EQ(manifest.find("requireAdministrator"), std::string::npos);
}

TEST(Manifest, TheUninstallerAsksForNothingButCommonControls6) {
    ExpectPlainManifest(ManifestOf(GetModuleHandleW(nullptr)));
}

TEST(Manifest, TheLauncherAsksForNothingButCommonControls6) {
    const std::wstring launcher = OwnFolder() + L"\\..\\launcher\\launcher_under_test.exe";
    HMODULE module = LoadLibraryExW(launcher.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    ExpectPlainManifest(ManifestOf(module));
    FreeLibrary(module);
}

} // namespace
