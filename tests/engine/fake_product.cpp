// Stands in for the product's programs (Corvane.exe, platform-tools\adb.exe):
// it does nothing but wait to be killed, and ends by itself after a minute so
// that a failed test never leaves it behind for long.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    Sleep(60 * 1000);
    return 0;
}
