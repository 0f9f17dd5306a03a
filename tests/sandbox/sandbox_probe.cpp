// Looks for the host's files from inside the sandbox. Arguments: the host's root-relative
// path of a marker file in the host's home (e.g. "root\.sandbox-check\marker"), and a token
// to write into each of the user's shell folders.
// Prints each folder it wrote to; exits 1 when a drive reaches the host.
#include "Files.h"

#include <windows.h>
#include <shlobj.h>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using TestSupport::PathExists;

// Every letter, not just the drives the system lists: a drive that is mapped but not
// (yet) listed must not reach the host either.
std::vector<std::wstring> AllDriveRoots() {
    std::vector<std::wstring> drives;
    for (wchar_t letter = L'A'; letter <= L'Z'; ++letter)
        drives.push_back(std::wstring(1, letter) + L":\\");
    return drives;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        fwprintf(stderr, L"usage: sandbox_probe HOME_MARKER TOKEN\n");
        return 2;
    }
    const std::wstring homeMarker = argv[1];
    const std::wstring token = argv[2];
    int failures = 0;

    for (const std::wstring& drive : AllDriveRoots()) {
        for (const wchar_t* hostFile : {L"etc\\passwd", L"proc\\self\\status", L"usr\\bin"}) {
            if (PathExists(drive + hostFile)) {
                wprintf(L"REACHES HOST ROOT: %ls%ls\n", drive.c_str(), hostFile);
                ++failures;
            }
        }
        if (PathExists(drive + homeMarker)) {
            wprintf(L"REACHES HOST HOME: %ls%ls\n", drive.c_str(), homeMarker.c_str());
            ++failures;
        }
    }

    const int folders[] = {CSIDL_DESKTOPDIRECTORY, CSIDL_PERSONAL, CSIDL_MYMUSIC,
                           CSIDL_MYPICTURES,       CSIDL_MYVIDEO,  CSIDL_PROGRAMS};
    for (int csidl : folders) {
        wchar_t folder[MAX_PATH] = {};
        if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, folder))) {
            wprintf(L"no folder for CSIDL %d\n", csidl);
            ++failures;
            continue;
        }
        std::wstring file = std::wstring(folder) + L"\\" + token;
        HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            wprintf(L"cannot write %ls\n", file.c_str());
            ++failures;
            continue;
        }
        CloseHandle(h);
        wprintf(L"wrote %ls\n", file.c_str());
    }
    return failures == 0 ? 0 : 1;
}
