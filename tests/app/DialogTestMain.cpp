// The dialog tests run on one UI thread with COM and GDI+ and the dialog module, as the
// uninstaller does. CORVANE_TEST_LOGPIXELS runs them again with the display at another DPI.
#include "TestRerun.h"

#include "AppModule.h"
#include "svg/gdiplus/GDIPlusApi.h"

#include <gtest/gtest.h>

#include <objbase.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    uitest::RerunSettings settings;
    if (uitest::RerunRequested(&settings))
        return uitest::Rerun(settings);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    _Module.Init(nullptr);
    int result = 1;
    {
        SVGEngine::GDIPlusSession gdiplus;
        result = RUN_ALL_TESTS();
    }
    _Module.Term();
    CoUninitialize();
    return result;
}
