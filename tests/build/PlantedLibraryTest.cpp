// A DLL planted beside a program must not be loaded: the uninstaller runs from a folder any
// program of the user can write to. Each program runs from a folder of its own with stand-in
// DLLs beside it (tests/build/PlantedLibrary.cpp) that leave a marker when loaded. Wine prefers
// its built-in DLLs, which would hide the fault, so the test runs with WINEDLLOVERRIDES asking
// for the planted names natively first ("name=n,b"): Wine then searches the program's folder
// as Windows does. The programs with GDI+ or version.dll in their import table show it.
#include "TestProgramFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring LauncherRecord() {
    wchar_t temp[MAX_PATH] = {}, longTemp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    GetLongPathNameW(temp, longTemp, MAX_PATH);
    return std::wstring(longTemp) + L"KVDN13084007\\started.txt";
}

// Wine takes its overrides from the environment it starts with: tests/build/CMakeLists.txt
// hands "name,name,...=n,b" to the sandbox, which appends it to WINEDLLOVERRIDES.
bool AskedForNatively(const std::wstring& dll) {
    wchar_t value[1024] = {};
    const DWORD length = GetEnvironmentVariableW(L"SANDBOX_DLLOVERRIDES", value, 1024);
    const std::wstring names = L"," + std::wstring(value, length < 1024 ? length : 0);
    const std::wstring name = L"," + dll.substr(0, dll.size() - 4); // without ".dll"
    return names.find(name + L",") != std::wstring::npos ||
           names.find(name + L"=n,b") != std::wstring::npos;
}

// Runs `program` with `arguments` from `folder` (also its current directory); its exit code, or
// -1 when it could not start or had to be stopped after 60 s.
long RunFrom(const std::wstring& folder, const std::wstring& program,
             const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + folder + L"\\" + program + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process))
        return -1;
    CloseHandle(process.hThread);
    DWORD exitCode = 0;
    if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
        exitCode = static_cast<DWORD>(-1);
    } else {
        GetExitCodeProcess(process.hProcess, &exitCode);
    }
    CloseHandle(process.hProcess);
    return static_cast<long>(exitCode);
}

struct PlantCase {
    const char* what;
    const wchar_t* program; // relative to this test's folder
    const wchar_t* arguments;
    std::vector<std::wstring> planted; // stand-ins put beside the program under these names
    std::vector<std::wstring> loaded;  // those of them the program is expected to load
    bool works;                        // exit code 0
    bool startsPayload;                // the launcher's payload records its start
};

// DLLs that planting aims at and that are not KnownDLLs: the launcher's run-time loads (comctl32
// comes from WinSxS through the manifest), the uninstaller's graphics libraries. Not the names
// Wine's own libraries load while the process starts, before any code of the program runs
// (version, uxtheme, shcore), nor the KnownDLLs, which Windows never takes from a program's
// folder but Wine does when asked for them natively.
const std::vector<std::wstring> kLauncherPlants = {
    L"comctl32.dll",  L"gdiplus.dll", L"dwmapi.dll",       L"propsys.dll",
    L"cryptbase.dll", L"profapi.dll", L"d3d11.dll",        L"dxgi.dll",
    L"d2d1.dll",      L"dwrite.dll",  L"windowscodecs.dll"};

const PlantCase kCases[] = {
    {"shipped way: delay-loaded, search restricted",
     L"system_folder_probe.exe",
     L"",
     {L"gdiplus.dll", L"version.dll"},
     {},
     true,
     false},
    {"delay-loaded without the restriction",
     L"system_folder_probe.exe",
     L"--unrestricted",
     {L"gdiplus.dll"},
     {L"gdiplus.dll"},
     false,
     false},
    {"GDI+ in the import table",
     L"system_folder_probe_static.exe",
     L"",
     {L"gdiplus.dll"},
     {L"gdiplus.dll"},
     false,
     false},
    {"version.dll in the import table",
     L"system_folder_probe_static.exe",
     L"",
     {L"version.dll"},
     {L"version.dll"},
     false,
     false},
    {"launcher", L"..\\launcher\\launcher_under_test.exe", L"", kLauncherPlants, {}, true, true},
};

TEST(PlantedLibrary, IsLoadedOnlyWhereTheProgramDoesNotKeepToTheSystemFolder) {
    const std::wstring here = TestProgramFolder();
    const std::wstring standIn = here + L"\\planted.dll";
    ASSERT_TRUE(Exists(standIn));
    int index = 0;
    for (const PlantCase& c : kCases) {
        SCOPED_TRACE(c.what);
        const std::wstring folder = here + L"\\planted-" + std::to_wstring(index++);
        for (const std::wstring& name : c.planted)
            ASSERT_TRUE(AskedForNatively(name)) << std::string(name.begin(), name.end());
        CreateDirectoryW(folder.c_str(), nullptr);
        const std::wstring program = c.program;
        const std::wstring fileName = program.substr(program.find_last_of(L'\\') + 1);
        std::vector<std::wstring> created = {folder + L"\\" + fileName};
        ASSERT_TRUE(CopyFileW((here + L"\\" + program).c_str(), created[0].c_str(), FALSE));
        for (const std::wstring& name : c.planted) {
            created.push_back(folder + L"\\" + name);
            ASSERT_TRUE(CopyFileW(standIn.c_str(), created.back().c_str(), FALSE));
            created.push_back(folder + L"\\" + name + L".loaded");
            DeleteFileW(created.back().c_str());
        }
        if (c.startsPayload)
            DeleteFileW(LauncherRecord().c_str());

        const long exitCode = RunFrom(folder, fileName, c.arguments);
        EXPECT_EQ(exitCode == 0, c.works) << "exit code " << exitCode;
        for (const std::wstring& name : c.planted) {
            const bool expected =
                std::find(c.loaded.begin(), c.loaded.end(), name) != c.loaded.end();
            EXPECT_EQ(Exists(folder + L"\\" + name + L".loaded"), expected)
                << "planted " << std::string(name.begin(), name.end());
        }
        if (c.startsPayload) {
            bool started = false;
            for (int i = 0; i < 100 && !(started = Exists(LauncherRecord())); ++i)
                Sleep(100);
            EXPECT_TRUE(started) << "the launcher's payload did not start";
        }
        for (const std::wstring& file : created)
            DeleteFileW(file.c_str());
        RemoveDirectoryW(folder.c_str());
    }
}

} // namespace
