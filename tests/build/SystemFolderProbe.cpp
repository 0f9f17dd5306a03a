// Stands in for a shipped program in the planted-DLL test: GDI+ draws a pixel and version.dll
// reads a version resource, after the DLL search is restricted as every shipped program does
// first (skipped with "--unrestricted"). Built twice: with GDI+ and version.dll delay-loaded, as
// we ship them, and with the ordinary import libraries, which name both in the import table.
// Exit code 0 when both worked, 3 when a DLL could not be loaded.
#include "SystemLibrary.h"

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cwchar>
#include <string>

namespace {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

// A failed delay-load raises an exception; end quietly instead of starting a debugger.
LONG WINAPI EndOnFailedLoad(EXCEPTION_POINTERS*) {
    ExitProcess(3);
}

bool GdiplusDraws() {
    GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (GdiplusStartup(&token, &input, nullptr) != Ok)
        return false;
    GpBitmap* bitmap = nullptr;
    ARGB pixel = 0;
    if (GdipCreateBitmapFromScan0(1, 1, 0, PixelFormat32bppARGB, nullptr, &bitmap) == Ok) {
        GdipBitmapSetPixel(bitmap, 0, 0, 0xFF336699);
        GdipBitmapGetPixel(bitmap, 0, 0, &pixel);
        GdipDisposeImage(bitmap);
    }
    GdiplusShutdown(token);
    return pixel == 0xFF336699;
}

bool VersionReads() {
    wchar_t folder[MAX_PATH] = {};
    GetSystemDirectoryW(folder, MAX_PATH);
    const std::wstring kernel = std::wstring(folder) + L"\\kernel32.dll";
    DWORD ignored = 0;
    return GetFileVersionInfoSizeW(kernel.c_str(), &ignored) > 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (!(argc > 1 && std::wcscmp(argv[1], L"--unrestricted") == 0))
        RestrictDllSearchToSystemFolder();
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(EndOnFailedLoad);
    const bool drawn = GdiplusDraws();
    const bool read = VersionReads();
    return drawn && read ? 0 : 1;
}
