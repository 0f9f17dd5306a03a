// A DLL planted beside a program must not be loaded: the uninstaller runs from a folder any
// program of the user can write to. Each program runs from a folder of its own with stand-in
// DLLs beside it (tests/build/PlantedLibrary.cpp) that leave a marker when loaded. Wine prefers
// its built-in DLLs, which would hide the fault, so the test runs with WINEDLLOVERRIDES asking
// for the planted names natively first ("name=n,b"): Wine then searches the program's folder
// as Windows does. The programs with GDI+ or version.dll in their import table show it. The
// uninstaller itself is started with every DLL it loads planted beside it, shows its main window
// and is closed by its close button's command.
#include "Files.h"
#include "ProcessWindows.h"
#include "TestProcess.h"
#include "Wait.h"

#include "TestProgramFolder.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace TestSupport;

// Where the launcher's test payload records its start (tests/launcher/LaunchRecorder.cpp).
std::wstring LauncherRecord() {
    return TempFolder() + L"launcher-payload-started.txt";
}

std::wstring OverrideList() {
    wchar_t value[2048] = {};
    const DWORD length = GetEnvironmentVariableW(L"SANDBOX_DLLOVERRIDES", value, 2048);
    return std::wstring(value, length < 2048 ? length : 0);
}

// Every name the run asks Wine to take natively first, as a file name: the DLLs the uninstaller
// loads (tests/build/CMakeLists.txt lists them).
std::vector<std::wstring> EveryOverriddenName() {
    std::wstring names = OverrideList();
    names = names.substr(0, names.find(L'='));
    std::vector<std::wstring> files;
    for (size_t start = 0; start < names.size();) {
        size_t end = names.find(L',', start);
        if (end == std::wstring::npos)
            end = names.size();
        const std::wstring name = names.substr(start, end - start);
        files.push_back(name.find(L'.') == std::wstring::npos ? name + L".dll" : name);
        start = end + 1;
    }
    return files;
}

// Wine takes its overrides from the environment it starts with: tests/build/CMakeLists.txt
// hands "name,name,...=n,b" to the sandbox, which appends it to WINEDLLOVERRIDES.
bool AskedForNatively(const std::wstring& dll) {
    const std::wstring names = L"," + OverrideList();
    const bool isDll = dll.size() > 4 && dll.compare(dll.size() - 4, 4, L".dll") == 0;
    const std::wstring name = L"," + (isDll ? dll.substr(0, dll.size() - 4) : dll);
    return names.find(name + L",") != std::wstring::npos ||
           names.find(name + L"=n,b") != std::wstring::npos;
}

std::wstring Lower(std::wstring text) {
    CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// The full paths of the modules a process has loaded, in lower case.
std::vector<std::wstring> ModulesOf(DWORD processId) {
    std::vector<std::wstring> paths;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
    if (snapshot == INVALID_HANDLE_VALUE)
        return paths;
    MODULEENTRY32W module = {};
    module.dwSize = sizeof module;
    for (BOOL more = Module32FirstW(snapshot, &module); more;
         more = Module32NextW(snapshot, &module))
        paths.push_back(Lower(module.szExePath));
    CloseHandle(snapshot);
    return paths;
}

struct ProgramRun {
    long exitCode = -1;                // -1: could not start, or had to be stopped after 60 s
    bool windowShown = false;          // only looked for when asked
    std::vector<std::wstring> modules; // read once the window showed
};

// Runs `program` with `arguments` from `folder` (also its current directory). With
// `closesItsWindow`, waits for the program's first visible window, reads its modules and sends
// the window the command of the uninstaller's close button (2026).
ProgramRun RunFrom(const std::wstring& folder, const std::wstring& program,
                   const std::wstring& arguments, bool closesItsWindow) {
    ProgramRun run;
    StartOptions options;
    options.workingFolder = folder;
    TestProcess process;
    if (!process.Start(L"\"" + folder + L"\\" + program + L"\" " + arguments, options))
        return run;
    if (closesItsWindow) {
        HWND window = nullptr;
        WaitUntil(
            [&] {
                window = FindWindowOf(process.Id(), [](HWND) { return true; });
                return window || !process.IsRunning();
            },
            60000);
        if (window) {
            run.windowShown = true;
            run.modules = ModulesOf(process.Id());
            PostMessageW(window, WM_COMMAND, 2026, 0);
        }
    }
    DWORD exitCode = 0;
    if (process.WaitForEnd(60000) && process.ExitCode(&exitCode))
        run.exitCode = static_cast<long>(exitCode);
    return run;
}

struct PlantCase {
    const char* what;
    const wchar_t* program; // relative to this test's folder
    const wchar_t* arguments;
    std::vector<std::wstring> planted; // stand-ins put beside the program under these names
    std::vector<std::wstring> loaded;  // those of them the program is expected to load
    bool works;         // exit code 0; for the uninstaller, its window shows and it ends with 2026
    bool startsPayload; // the launcher's payload records its start
    bool isUninstaller = false;
};

// DLLs that planting aims at: those the launcher and the DLLs it uses load (comctl32 comes
// from WinSxS through the manifest), the ones Wine's own libraries load as soon as they are
// loaded themselves (version, uxtheme, shcore), the uninstaller's graphics libraries.
const std::vector<std::wstring> kLauncherPlants = {
    L"comctl32.dll",  L"ole32.dll",        L"shell32.dll", L"advapi32.dll", L"version.dll",
    L"uxtheme.dll",   L"shcore.dll",       L"gdiplus.dll", L"dwmapi.dll",   L"propsys.dll",
    L"cryptbase.dll", L"profapi.dll",      L"d3d11.dll",   L"dxgi.dll",     L"d2d1.dll",
    L"dwrite.dll",    L"windowscodecs.dll"};

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
    {"uninstaller, every DLL it loads planted beside it",
     L"..\\..\\app\\uninstaller.exe",
     L"",
     EveryOverriddenName(),
     {},
     true,
     false,
     true},
};

// Every module but the program itself comes from the system folder, or from WinSxS: common
// controls 6, as the manifest asks.
void ExpectOnlySystemModules(const std::vector<std::wstring>& modules,
                             const std::wstring& program) {
    wchar_t windows[MAX_PATH] = {}, system[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring systemFolder = Lower(system) + L"\\";
    const std::wstring sideBySide = Lower(windows) + L"\\winsxs\\";
    bool commonControls6 = false;
    ASSERT_FALSE(modules.empty());
    for (const std::wstring& path : modules) {
        const std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
        if (name == Lower(program))
            continue;
        const bool fromSystem = path.compare(0, systemFolder.size(), systemFolder) == 0 &&
                                path.find(L'\\', systemFolder.size()) == std::wstring::npos;
        const bool fromSideBySide = path.compare(0, sideBySide.size(), sideBySide) == 0;
        EXPECT_TRUE(fromSystem || fromSideBySide) << std::string(path.begin(), path.end());
        if (name == L"comctl32.dll") {
            commonControls6 = fromSideBySide &&
                              path.find(L"common-controls") != std::wstring::npos &&
                              path.find(L"_6.0.") != std::wstring::npos;
        }
    }
    EXPECT_TRUE(commonControls6) << "common controls 6 from WinSxS";
}

TEST(PlantedLibrary, IsLoadedOnlyWhereTheProgramDoesNotKeepToTheSystemFolder) {
    const std::wstring here = TestProgramFolder();
    const std::wstring standIn = here + L"\\planted.dll";
    ASSERT_TRUE(PathExists(standIn));
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

        const ProgramRun run = RunFrom(folder, fileName, c.arguments, c.isUninstaller);
        if (c.isUninstaller) {
            EXPECT_TRUE(run.windowShown) << "the uninstaller's window did not show";
            EXPECT_EQ(run.exitCode, 2026) << "the close button's exit code";
            ExpectOnlySystemModules(run.modules, fileName);
        } else {
            EXPECT_EQ(run.exitCode == 0, c.works) << "exit code " << run.exitCode;
        }
        for (const std::wstring& name : c.planted) {
            const bool expected =
                std::find(c.loaded.begin(), c.loaded.end(), name) != c.loaded.end();
            EXPECT_EQ(PathExists(folder + L"\\" + name + L".loaded"), expected)
                << "planted " << std::string(name.begin(), name.end());
        }
        if (c.startsPayload) {
            EXPECT_TRUE(WaitUntil([] { return PathExists(LauncherRecord()); }, 10000))
                << "the launcher's payload did not start";
        }
        for (const std::wstring& file : created)
            DeleteFileW(file.c_str());
        RemoveDirectoryW(folder.c_str());
    }
}

} // namespace
