// The accessibility test dialog as a program of its own, for the tests that read it from
// another process as a screen reader does. Writes "command <id>" for each command it gets
// and ends with the dialog's result (-2 if nobody ended it within two minutes).
#include "AccessTestDialog.h"

#include "svg/gdiplus/GDIPlusApi.h"

#include <objbase.h>

int main() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    _Module.Init(nullptr);
    INT_PTR result = -1;
    {
        SVGEngine::GDIPlusSession gdiplus;
        AccessTest::CAccessTestDialog dialog(true);
        dialog.SetLifetime(120000);
        result = dialog.DoModal(nullptr);
    }
    _Module.Term();
    CoUninitialize();
    return static_cast<int>(result);
}
