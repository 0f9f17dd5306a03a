#pragma once
// The folder of the running test program, without a trailing backslash: test programs find
// the build's other files relative to it.
#include <windows.h>

#include <string>

inline std::wstring TestProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring full = path;
    return full.substr(0, full.find_last_of(L'\\'));
}
