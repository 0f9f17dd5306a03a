#pragma once
// Some tests need another display or a system without some DLL. Wine reads both when a
// process starts (HKCU\Control Panel\Desktop LogPixels; the per-program DLL overrides under
// HKCU\Software\Wine\AppDefaults), so such a test program runs itself again with those
// settings and puts the prefix back as it was when that run ends.
#include <windows.h>

#include <string>
#include <vector>

namespace TestSupport {

struct RerunSettings {
    DWORD logPixels = 0;                  // 0: leave the display's DPI
    std::vector<std::wstring> hiddenDlls; // refused to this program, as if missing
};

// The settings the environment asks for (CORVANE_TEST_LOGPIXELS=144,
// CORVANE_TEST_HIDE_DLLS=shcore;...); false when none is asked for, or in the second run.
bool RerunRequested(RerunSettings* settings);

// Runs this program's command line again with the settings (bounded wait) and returns its
// exit code; 1 if a setting could not be made or the run did not end in time.
int Rerun(const RerunSettings& settings);

} // namespace TestSupport
