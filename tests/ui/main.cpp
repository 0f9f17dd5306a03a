// The UI tests run on one UI thread with COM and GDI+, as the uninstaller does.
// CORVANE_TEST_LOGPIXELS and CORVANE_TEST_HIDE_DLLS run them again with another display or
// without some DLLs (TestRerun.h).
#include "TestMain.h"

int main(int argc, char** argv) {
    TestSupport::TestRun run;
    run.comApartment = true;
    run.gdiplus = true;
    return TestSupport::RunAllTests(argc, argv, run);
}
