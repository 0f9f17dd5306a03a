// The question dialog as a program of its own, filled as the uninstall workflow fills it, for
// the tests that read it from another process as a screen reader does (the uninstaller asks
// it only when the product runs). Writes "result <n>" and ends with the dialog's result.
#include "MsgDlg.h"
#include "UninstallWorkflow.h"

#include "AppModule.h"
#include "svg/gdiplus/GDIPlusApi.h"

#include <objbase.h>

#include <cstdio>

int main() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    _Module.Init(nullptr);
    INT_PTR result = -1;
    {
        SVGEngine::GDIPlusSession gdiplus;
        CDXGIMsgDlg dialog;
        FillForceRemovalQuestion(dialog);
        result = dialog.DoModal(nullptr);
    }
    std::printf("result %d\n", static_cast<int>(result));
    std::fflush(stdout);
    _Module.Term();
    CoUninitialize();
    return static_cast<int>(result);
}
