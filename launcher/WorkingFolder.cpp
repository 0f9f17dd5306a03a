#include "WorkingFolder.h"

#include <windows.h>
#include <cwchar>

namespace {
constexpr DWORD kPathUnits = 260;
}

std::wstring BuildWorkingFolder() {
    wchar_t shortTemp[kPathUnits] = {};
    wchar_t longTemp[kPathUnits] = {};
    GetTempPathW(kPathUnits, shortTemp);
    GetLongPathNameW(shortTemp, longTemp, kPathUnits);
    return std::wstring(longTemp) + L"\\KVDN13084007";
}

std::wstring BuildTargetFile(const std::wstring& workingFolder) {
    wchar_t target[kPathUnits] = {};
    swprintf(target, kPathUnits, L"%ls\\uninstaller.exe", workingFolder.c_str());
    return target;
}
