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

UniqueHandle StartFolderRemovalCommand(const std::wstring& installLocation) {
    // cmd.exe and ping.exe come from the system folder only, never from beside
    // the user's files, and the install folder is nobody's current directory.
    const std::wstring systemFolder = SystemFolder();
    if (systemFolder.empty())
        return UniqueHandle();
    const std::wstring interpreter = systemFolder + L"\\cmd.exe";
    const std::wstring parameters = FolderRemovalParameters(installLocation);
    SHELLEXECUTEINFOW execute = {};
    execute.cbSize = sizeof execute;
    // The process handle tells when rd is done; no message box about a failed start, which
    // the user could do nothing about.
    execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    execute.lpVerb = L"open";
    execute.lpFile = interpreter.c_str();
    execute.lpParameters = parameters.c_str();
    execute.lpDirectory = systemFolder.c_str();
    execute.nShow = SW_HIDE;
    if (!ShellExecuteExW(&execute))
        return UniqueHandle();
    return UniqueHandle(execute.hProcess);
}
