#pragma once
// The main of the test programs: what the run needs around its tests, started once and ended
// after them.
namespace TestSupport {

struct TestRun {
    // A single-threaded COM apartment on the test thread, as the uninstaller has.
    bool comApartment = false;
    // GDI+ for the whole run (GdiplusForTheRun).
    bool gdiplus = false;
    // The dialog module (win/AppModule.h), as in the program.
    bool dialogModule = false;
};

// Runs every test; with CORVANE_TEST_LOGPIXELS or CORVANE_TEST_HIDE_DLLS set, runs this program
// again with those settings instead (TestRerun.h). The tests' exit code.
int RunAllTests(int argc, char** argv, const TestRun& run);

} // namespace TestSupport
