// The DPI tests need neither COM nor GDI+: with Shcore refused to the program, Wine's GDI+
// cannot load at all (its shlwapi leans on Shcore).
// CORVANE_TEST_LOGPIXELS and CORVANE_TEST_HIDE_DLLS run the tests with another display or
// without some DLLs (TestRerun.h).
#include "TestRerun.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    uitest::RerunSettings settings;
    if (uitest::RerunRequested(&settings))
        return uitest::Rerun(settings);
    return RUN_ALL_TESTS();
}
