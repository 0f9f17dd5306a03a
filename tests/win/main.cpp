// The dialog module lives for the whole test run, as in the program.
#include "TestMain.h"

int main(int argc, char** argv) {
    TestSupport::TestRun run;
    run.dialogModule = true;
    return TestSupport::RunAllTests(argc, argv, run);
}
