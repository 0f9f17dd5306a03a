// The uninstaller runs the removal on a single-threaded COM apartment; so do the tests.
#include "ProductSandbox.h"
#include "TestMain.h"

#include <windows.h>

int main(int argc, char** argv) {
    TestSupport::TestRun run;
    run.comApartment = true;
    const int result = TestSupport::RunAllTests(argc, argv, run);
    // Each test removes its own folder; the shared root goes once it is empty.
    RemoveDirectoryW(TestSupport::TestRoot().c_str());
    return result;
}
