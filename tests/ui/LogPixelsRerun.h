#pragma once
// Wine reads the display's DPI (HKCU\Control Panel\Desktop, LogPixels) when a process
// starts. A test program that must see another DPI runs itself again with the value set,
// and puts the prefix's value back when that run ends.
#include <windows.h>

namespace uitest {

// Set in the second run, so it runs the tests instead of starting a third.
constexpr wchar_t kRerunVariable[] = L"CORVANE_TEST_RERUN";

// Runs this program's command line again with LogPixels = dpi (bounded wait) and returns
// its exit code; 1 if the value could not be set or the program did not end in time.
int RerunAtLogPixels(DWORD dpi);

} // namespace uitest
