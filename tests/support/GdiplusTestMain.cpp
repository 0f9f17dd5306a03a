// The main of the test programs that need only GDI+ around their tests.
#include "TestMain.h"

int main(int argc, char** argv) {
    TestSupport::TestRun run;
    run.gdiplus = true;
    return TestSupport::RunAllTests(argc, argv, run);
}
