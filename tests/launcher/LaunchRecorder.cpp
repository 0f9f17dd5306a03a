// Stands in for the uninstaller in the launcher's tests. Writes "<own path>\n<current
// directory>\n" to "started.txt" beside itself, then stays alive while "hold.flag" exists
// beside it (at most 60 s), so a test can launch again while it runs.
#include <windows.h>
#include <string>

namespace {

std::wstring OwnFolder(std::wstring* ownPath) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    *ownPath = path;
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L'\\'));
}

void WriteUtf8(const std::wstring& file, const std::wstring& text) {
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(bytes > 0 ? bytes - 1 : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), bytes, nullptr, nullptr);
    HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(h, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    CloseHandle(h);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    std::wstring ownPath;
    const std::wstring folder = OwnFolder(&ownPath);
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    WriteUtf8(folder + L"\\started.tmp", ownPath + L"\n" + current + L"\n");
    MoveFileExW((folder + L"\\started.tmp").c_str(), (folder + L"\\started.txt").c_str(),
                MOVEFILE_REPLACE_EXISTING);

    const std::wstring hold = folder + L"\\hold.flag";
    for (int i = 0; i < 600 && GetFileAttributesW(hold.c_str()) != INVALID_FILE_ATTRIBUTES; ++i)
        Sleep(100);
    return 0;
}
