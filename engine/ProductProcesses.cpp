#include "ProductProcesses.h"

#include "DevicePath.h"
#include "RunningProcesses.h"
#include "StoppedProcesses.h"
#include "WinHandles.h"

#include <psapi.h>

#include <cstdio>
#include <cwchar>

namespace {

// PROCESS_QUERY_INFORMATION | PROCESS_VM_WRITE | PROCESS_VM_OPERATION |
// PROCESS_CREATE_THREAD | PROCESS_TERMINATE
constexpr DWORD kProductProcessAccess = 0x042B;

// Windows file names and paths are case-insensitive; compare them ordinally.
bool SameNameIgnoringCase(const wchar_t* left, const wchar_t* right) {
    return CompareStringOrdinal(left, -1, right, -1, TRUE) == CSTR_EQUAL;
}

} // namespace

bool KillProcessIfPathMatches(DWORD processId, std::wstring fullPath, bool terminate,
                              StoppedProcesses* stopped) {
    // Diagnostic line in GBK ("Kill进程Pid = %d"); a windowed program shows it nowhere.
    std::printf("Kill\xBD\xF8\xB3\xCC"
                "Pid = %d\n",
                static_cast<int>(processId));

    UniqueHandle process(OpenProcess(kProductProcessAccess, FALSE, processId));
    if (!process)
        return false;

    wchar_t devicePath[260] = {};
    if (K32GetProcessImageFileNameW(process.Get(), devicePath, 260) == 0)
        return false;

    const std::wstring imagePath = DeviceToDrivePath(devicePath);
    if (!SameNameIgnoringCase(imagePath.c_str(), fullPath.c_str()))
        return false;

    if (terminate) {
        // Our open handle keeps the process id from being reused, so this second
        // handle, which may wait, names the same process.
        UniqueHandle waitable(OpenProcess(SYNCHRONIZE, FALSE, processId));
        TerminateProcess(process.Get(), 0);
        if (stopped)
            stopped->Add(std::move(waitable));
    }
    return true;
}

bool KillProductProcesses(std::wstring fullPath, std::wstring imageName, bool terminate,
                          StoppedProcesses* stopped) {
    wchar_t wantedName[64] = {};
    wcsncpy(wantedName, imageName.c_str(), 63);

    bool seen = false;
    for (const PROCESSENTRY32W& entry : RunningProcesses()) {
        if (!SameNameIgnoringCase(entry.szExeFile, wantedName))
            continue;
        const bool fromInstallFolder =
            KillProcessIfPathMatches(entry.th32ProcessID, fullPath, terminate, stopped);
        if (!terminate && fromInstallFolder)
            return true;
        seen = true;
    }
    return seen;
}
