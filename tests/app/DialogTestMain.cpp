// The dialog tests run on one UI thread with COM and GDI+ and the dialog module, as the
// uninstaller does. CORVANE_TEST_LOGPIXELS runs them again with the display at another DPI.
#include "TestMain.h"

int main(int argc, char** argv) {
    TestSupport::TestRun run;
    run.comApartment = true;
    run.gdiplus = true;
    run.dialogModule = true;
    return TestSupport::RunAllTests(argc, argv, run);
}
