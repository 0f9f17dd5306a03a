// The two files we ship, as Windows sees them: uninstall.exe carries uninstaller.exe byte for
// byte as resource "BIN" 201 and shows the product's icon (icon 128, the one the uninstaller's
// window uses) in Explorer and in the file's properties; both carry the product's version.
#include "Files.h"
#include "Resources.h"

#include "TestProgramFolder.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

using TestSupport::ReadAll;
using TestSupport::Resources;

std::wstring BuildFolder() {
    std::wstring folder = TestProgramFolder();             // tests\build
    folder = folder.substr(0, folder.find_last_of(L'\\')); // tests
    return folder.substr(0, folder.find_last_of(L'\\'));
}

const std::wstring kLauncher = BuildFolder() + L"\\launcher\\uninstall.exe";
const std::wstring kUninstaller = BuildFolder() + L"\\app\\uninstaller.exe";

#pragma pack(push, 2)
struct IconDirectoryEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

// The icon group's entries: (width, height) with 0 meaning 256, and the image bytes.
std::vector<std::pair<int, std::vector<char>>> IconImages(const Resources& program) {
    std::vector<std::pair<int, std::vector<char>>> images;
    const std::vector<char> group = program.Bytes(RT_GROUP_ICON, MAKEINTRESOURCEW(128));
    if (group.size() < 6)
        return images;
    const WORD count = *reinterpret_cast<const WORD*>(group.data() + 4);
    for (WORD i = 0; i < count && 6 + (i + 1) * sizeof(IconDirectoryEntry) <= group.size(); ++i) {
        const auto* entry = reinterpret_cast<const IconDirectoryEntry*>(
            group.data() + 6 + i * sizeof(IconDirectoryEntry));
        images.emplace_back(entry->width ? entry->width : 256,
                            program.Bytes(RT_ICON, MAKEINTRESOURCEW(entry->id)));
    }
    return images;
}

TEST(ProductFiles, TheLauncherCarriesTheUninstallerByteForByte) {
    const std::vector<char> uninstaller = ReadAll(kUninstaller);
    ASSERT_GT(uninstaller.size(), 100000u);
    const Resources launcher(kLauncher);
    ASSERT_TRUE(launcher.Loaded());
    const std::vector<char> carried = launcher.Bytes(L"BIN", MAKEINTRESOURCEW(201));
    ASSERT_EQ(carried.size(), uninstaller.size());
    EXPECT_TRUE(carried == uninstaller);
}

TEST(ProductFiles, TheLauncherShowsTheProductIconAtEverySize) {
    const Resources launcher(kLauncher);
    const Resources uninstaller(kUninstaller);
    ASSERT_TRUE(launcher.Loaded());
    ASSERT_TRUE(uninstaller.Loaded());
    const auto launcherImages = IconImages(launcher);
    const auto windowImages = IconImages(uninstaller);
    std::vector<int> sizes;
    for (const auto& image : launcherImages) {
        sizes.push_back(image.first);
        EXPECT_FALSE(image.second.empty()) << "an icon image of " << image.first << " is missing";
    }
    for (int size : {16, 32, 48, 256})
        EXPECT_NE(std::find(sizes.begin(), sizes.end(), size), sizes.end()) << size;
    // The same pictures the uninstaller's window shows.
    ASSERT_EQ(launcherImages.size(), windowImages.size());
    for (size_t i = 0; i < launcherImages.size(); ++i) {
        EXPECT_EQ(launcherImages[i].first, windowImages[i].first) << i;
        EXPECT_TRUE(launcherImages[i].second == windowImages[i].second)
            << "image " << i << ": " << launcherImages[i].second.size() << " and "
            << windowImages[i].second.size() << " bytes";
    }

    // What Explorer does for the file: its first icon, large and small.
    HICON large = nullptr, small = nullptr;
    EXPECT_EQ(ExtractIconExW(kLauncher.c_str(), 0, &large, &small, 1), 2u);
    EXPECT_NE(large, nullptr);
    EXPECT_NE(small, nullptr);
    if (large)
        DestroyIcon(large);
    if (small)
        DestroyIcon(small);
    EXPECT_EQ(ExtractIconExW(kLauncher.c_str(), -1, nullptr, nullptr, 0), 1u);
}

TEST(ProductFiles, BothAreReleaseBuiltAndWithinTheirSizes) {
    // Release: no debugging sections (a debug build of the uninstaller is several times the
    // size). The sizes are reported by the benchmarks; here only a ceiling well above them
    // catches a build that has lost its settings.
    for (const std::wstring& file : {kLauncher, kUninstaller}) {
        const std::vector<char> bytes = ReadAll(file);
        ASSERT_GT(bytes.size(), 0x400u);
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes.data());
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(bytes.data() + dos->e_lfanew);
        ASSERT_EQ(nt->Signature, IMAGE_NT_SIGNATURE);
        EXPECT_EQ(nt->FileHeader.Machine, IMAGE_FILE_MACHINE_AMD64);
        EXPECT_EQ(nt->OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
        const auto* section = IMAGE_FIRST_SECTION(nt);
        for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
            const std::string name(reinterpret_cast<const char*>(section->Name),
                                   strnlen(reinterpret_cast<const char*>(section->Name), 8));
            EXPECT_NE(name.rfind("/", 0), 0u) << "a long-named (debugging) section";
            EXPECT_NE(name.rfind(".debug", 0), 0u) << name;
        }
        EXPECT_EQ(nt->FileHeader.PointerToSymbolTable, 0u) << "symbols left in the file";
    }
}

} // namespace
