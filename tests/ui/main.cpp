// CORVANE_TEST_LOGPIXELS=<dpi> runs the tests with the display at that DPI.
#include "LogPixelsRerun.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const char* dpi = std::getenv("CORVANE_TEST_LOGPIXELS");
    if (dpi && !GetEnvironmentVariableW(uitest::kRerunVariable, nullptr, 0))
        return uitest::RerunAtLogPixels(static_cast<DWORD>(std::atoi(dpi)));
    return RUN_ALL_TESTS();
}
