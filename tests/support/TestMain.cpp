#include "TestMain.h"

#include "GdiplusForTheRun.h"
#include "TestRerun.h"

#include "AppModule.h"

#include <gtest/gtest.h>

#include <objbase.h>

namespace TestSupport {

int RunAllTests(int argc, char** argv, const TestRun& run) {
    testing::InitGoogleTest(&argc, argv);
    RerunSettings settings;
    if (RerunRequested(&settings))
        return Rerun(settings);
    if (run.comApartment)
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (run.dialogModule)
        _Module.Init(nullptr);
    if (run.gdiplus)
        testing::AddGlobalTestEnvironment(new GdiplusForTheRun);
    const int result = RUN_ALL_TESTS();
    if (run.dialogModule)
        _Module.Term();
    if (run.comApartment)
        CoUninitialize();
    return result;
}

} // namespace TestSupport
