// The uninstaller runs the removal on a single-threaded COM apartment; so do the tests.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <objbase.h>

int main(int argc, char** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    // Each test removes its own folder; the shared root goes once it is empty.
    RemoveDirectoryW(enginetest::TestRoot().c_str());
    CoUninitialize();
    return result;
}
