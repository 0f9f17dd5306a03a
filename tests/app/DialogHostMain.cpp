// The question or the progress dialog as a program of its own, filled as the uninstall
// workflow fills it, for the tests that read it from another process as a screen reader
// does:  app_dialog_host question | progress
// Writes "result <n>" and ends with the dialog's result.
#include "MsgDlg.h"
#include "ProgressDlg.h"

#include "AppModule.h"
#include "svg/gdiplus/GDIPlusApi.h"

#include <objbase.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    const bool question = argc > 1 && std::strcmp(argv[1], "question") == 0;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    _Module.Init(nullptr);
    INT_PTR result = -1;
    {
        SVGEngine::GDIPlusSession gdiplus;
        if (question) {
            CDXGIMsgDlg dialog;
            dialog.m_dpi.Init();
            dialog.m_title = L"检测到Corvane正在运行...";
            dialog.m_message = L"确认要继续强制卸载Corvane软件吗？";
            dialog.m_confirmCaption = L"强制卸载";
            dialog.m_designWidth = 390;
            dialog.m_designHeight = 160;
            result = dialog.DoModal(nullptr);
        } else {
            CDXGIProgressDlg dialog;
            dialog.m_dpi.Init();
            dialog.m_title = L"开始卸载软件...";
            dialog.m_status = L"正在删除已安装文件";
            dialog.m_designWidth = 390;
            dialog.m_designHeight = 136;
            result = dialog.DoModal(nullptr);
        }
    }
    std::printf("result %d\n", static_cast<int>(result));
    std::fflush(stdout);
    _Module.Term();
    CoUninitialize();
    return static_cast<int>(result);
}
