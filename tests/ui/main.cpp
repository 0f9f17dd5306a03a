// The UI tests run on one UI thread with COM and GDI+, as the uninstaller does.
// CORVANE_TEST_LOGPIXELS and CORVANE_TEST_HIDE_DLLS run them again with another display or
// without some DLLs (TestRerun.h).
#include "TestRerun.h"

#include "svg/gdiplus/GDIPlusApi.h"

#include <gtest/gtest.h>

#include <objbase.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    uitest::RerunSettings settings;
    if (uitest::RerunRequested(&settings))
        return uitest::Rerun(settings);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int result = 1;
    {
        SVGEngine::GDIPlusSession gdiplus;
        result = RUN_ALL_TESTS();
    }
    CoUninitialize();
    return result;
}
