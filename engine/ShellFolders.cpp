#include "ShellFolders.h"

#include <windows.h>
#include <shlobj.h>
#include <wrl/client.h>

std::wstring ShellFolderPath(int csidl) {
    wchar_t path[260] = {};
    PIDLIST_ABSOLUTE itemList = nullptr;
    if (FAILED(SHGetFolderLocation(nullptr, csidl, nullptr, 0, &itemList)))
        return path;

    if (!SHGetPathFromIDListW(itemList, path))
        path[0] = L'\0';

    Microsoft::WRL::ComPtr<IMalloc> shellAllocator;
    if (SUCCEEDED(SHGetMalloc(&shellAllocator)))
        shellAllocator->Free(itemList);
    return path;
}
