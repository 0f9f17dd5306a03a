// Stands in for the uninstaller in the launcher's tests. Writes "<own path>\n<current
// directory>\n" to "launcher-payload-started.txt" in the temporary folder, then stays alive while
// "launcher-payload-hold.flag" exists there (at most 60 s), so a test can launch again while it
// runs. Not beside itself: no program of the user may add a file to the folder it runs from.
#include <windows.h>
#include <string>

namespace {

std::wstring TempFolder() {
    wchar_t path[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, path);
    return path;
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
    wchar_t ownPath[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, ownPath, MAX_PATH);
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    const std::wstring temp = TempFolder();
    const std::wstring record = temp + L"launcher-payload-started.txt";
    WriteUtf8(record + L".tmp", std::wstring(ownPath) + L"\n" + current + L"\n");
    MoveFileExW((record + L".tmp").c_str(), record.c_str(), MOVEFILE_REPLACE_EXISTING);

    const std::wstring hold = temp + L"launcher-payload-hold.flag";
    for (int i = 0; i < 600 && GetFileAttributesW(hold.c_str()) != INVALID_FILE_ATTRIBUTES; ++i)
        Sleep(100);
    return 0;
}
