#include "TempCopy.h"

#include "CanonicalPath.h"
#include "PathCompare.h"
#include "ProductNames.h"
#include "RestartRemoval.h"

#include <windows.h>

#include <string>

namespace {

std::wstring OwnProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return std::wstring();
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
    return std::wstring();
}

std::wstring TempCopyFolder() {
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH)
        return std::wstring();
    return CanonicalPath(std::wstring(temp, length) + kTempCopyFolderName);
}

} // namespace

bool ScheduleTempCopyRemovalAtRestart() {
    const std::wstring program = CanonicalPath(OwnProgramPath());
    const std::wstring folder = TempCopyFolder();
    if (program.empty() || folder.empty() ||
        !EqualIgnoringCase(program, folder + L'\\' + kTempCopyFileName))
        return false;
    return ScheduleRemovalAtRestart({{program, false}, {folder, true}});
}
