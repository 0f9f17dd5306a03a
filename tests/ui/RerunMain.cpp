// The DPI tests need neither COM nor GDI+: with Shcore refused to the program, Wine's GDI+
// cannot load at all (its shlwapi leans on Shcore).
// CORVANE_TEST_LOGPIXELS and CORVANE_TEST_HIDE_DLLS run the tests with another display or
// without some DLLs (TestRerun.h).
#include "TestMain.h"

int main(int argc, char** argv) {
    return TestSupport::RunAllTests(argc, argv, TestSupport::TestRun());
}
