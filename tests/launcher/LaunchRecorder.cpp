// Stands in for the uninstaller in the launcher's tests. Writes "<own path>\n<current
// directory>\n" to "launcher-payload-started.txt" in the temporary folder, then stays alive while
// "launcher-payload-hold.flag" exists there (at most 60 s), so a test can launch again while it
// runs. Not beside itself: no program of the user may add a file to the folder it runs from.
#include "Files.h"
#include "Text.h"
#include "Wait.h"

#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    using namespace TestSupport;
    wchar_t ownPath[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, ownPath, MAX_PATH);
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    const std::wstring temp = TempFolder();
    // Whole or not at all: the test reads it as soon as it is there.
    WriteWhole(temp + L"launcher-payload-started.txt",
               Utf8(std::wstring(ownPath) + L"\n" + current + L"\n"));

    const std::wstring hold = temp + L"launcher-payload-hold.flag";
    WaitUntil([&] { return !PathExists(hold); }, 60000);
    return 0;
}
