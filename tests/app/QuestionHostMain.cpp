// The question dialog as a program of its own, filled as the uninstall workflow fills it, for
// the tests that read it from another process as a screen reader does (the uninstaller asks
// it only when the product runs). Writes "result <n>" and ends with the dialog's result.
#include "MsgDlg.h"

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
        dialog.m_dpi.Init();
        dialog.m_title = L"检测到Corvane正在运行...";
        dialog.m_message = L"确认要继续强制卸载Corvane软件吗？";
        dialog.m_confirmCaption = L"强制卸载";
        dialog.m_designWidth = 390;
        dialog.m_designHeight = 160;
        result = dialog.DoModal(nullptr);
    }
    std::printf("result %d\n", static_cast<int>(result));
    std::fflush(stdout);
    _Module.Term();
    CoUninitialize();
    return static_cast<int>(result);
}
