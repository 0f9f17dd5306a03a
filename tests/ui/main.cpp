// The composition tests run on one UI thread with COM and GDI+, as the uninstaller does.
#include "svg/gdiplus/GDIPlusApi.h"

#include <gtest/gtest.h>

#include <objbase.h>

int main(int argc, char** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int result = 1;
    {
        SVGEngine::GDIPlusSession gdiplus;
        testing::InitGoogleTest(&argc, argv);
        result = RUN_ALL_TESTS();
    }
    CoUninitialize();
    return result;
}
