// Runs the uninstaller's removal as its uninstall button would, without the window:
// the running check, then every removal step. Prints what it finds on the way.
#include "InstallLocation.h"
#include "ProductProcesses.h"
#include "RemovalSteps.h"

#include <windows.h>
#include <cstdio>
#include <string>

namespace {

void PrintLine(const std::wstring& text) {
    // UTF-8 on the way out, so Chinese folder names survive any console code page.
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(bytes > 0 ? bytes - 1 : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), bytes, nullptr, nullptr);
    fwrite(utf8.data(), 1, utf8.size(), stdout);
    fputc('\n', stdout);
    fflush(stdout);
}

} // namespace

int wmain() {
    const std::wstring location = QueryInstallLocation(false);
    PrintLine(L"install location: \"" + location + L"\"");
    if (location.size() >= 2) {
        const bool running =
            KillProductProcesses(location + L"\\Corvane.exe", L"Corvane.exe", false);
        PrintLine(running
                      ? L"Corvane.exe is running: the uninstaller would ask to force the removal"
                      : L"Corvane.exe is not running");
    }
    const ULONGLONG start = GetTickCount64();
    RunRemovalSteps();
    PrintLine(L"removal steps done in " + std::to_wstring(GetTickCount64() - start) +
              L" ms; the folder-removal command now runs on its own");
    return 0;
}
