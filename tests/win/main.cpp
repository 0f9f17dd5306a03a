// The dialog module lives for the whole test run, as in the program.
#include "AppModule.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    _Module.Init(nullptr);
    const int result = RUN_ALL_TESTS();
    _Module.Term();
    return result;
}
