#include "FolderRemovalCommand.h"

#include "ThreadAnsiText.h"

#include <windows.h>
#include <shellapi.h>

namespace {

std::wstring SystemFolder() {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::wstring();
    return std::wstring(folder, length);
}

} // namespace

std::wstring FolderRemovalParameters(const std::wstring& installLocation) {
    return WidenWithThreadCodePage("/C ping 1.1.1.1 -n 1 -w 1000 > Nul & rd /s /q ") + L'"' +
           installLocation + L'"';
}

void StartFolderRemovalCommand(const std::wstring& installLocation) {
    // cmd.exe and ping.exe come from the system folder only, never from beside
    // the user's files, and the install folder is nobody's current directory.
    const std::wstring systemFolder = SystemFolder();
    if (systemFolder.empty())
        return;
    const std::wstring interpreter = systemFolder + L"\\cmd.exe";
    const std::wstring parameters = FolderRemovalParameters(installLocation);
    ShellExecuteW(nullptr, L"open", interpreter.c_str(), parameters.c_str(), systemFolder.c_str(),
                  SW_HIDE);
}
