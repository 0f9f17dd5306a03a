#include "UninstallWorkflow.h"

#include "MainDlg.h"
#include "MsgDlg.h"
#include "ProgressDlg.h"

#include "InstallLocation.h"
#include "ProductNames.h"
#include "ProductPaths.h"
#include "ProductProcesses.h"
#include "RemovalSteps.h"

#include <string>

namespace {

// Shorter locations mean that no installation was found.
constexpr size_t kShortestLocation = 2;

// Any process of the product's name counts, wherever it runs from.
bool ProductRuns(const std::wstring& location) {
    return KillProductProcesses(ProductFilePath(location, kMainProgramRelativePath),
                                kMainProgramImageName, false);
}

// The dialogs belong to the main window, whichever window is active when the command is
// handled: the main window stays disabled while they are open, so nothing can start the
// workflow a second time or close the program underneath them.
INT_PTR AskToForceRemoval(HWND owner) {
    CDXGIMsgDlg dialog;
    FillForceRemovalQuestion(dialog);
    return dialog.DoModal(owner);
}

void ShowRemovalProgress(HWND owner) {
    CDXGIProgressDlg dialog;
    FillRemovalProgress(dialog);
    dialog.DoModal(owner);
}

} // namespace

void FillForceRemovalQuestion(CDXGIMsgDlg& dialog) {
    dialog.m_dpi.Init();
    dialog.m_title = L"检测到Corvane正在运行...";
    dialog.m_message = L"确认要继续强制卸载Corvane软件吗？";
    dialog.m_confirmCaption = L"强制卸载";
    dialog.m_designWidth = 390;
    dialog.m_designHeight = 160;
}

void FillRemovalProgress(CDXGIProgressDlg& dialog) {
    dialog.m_dpi.Init();
    dialog.m_title = L"开始卸载软件...";
    dialog.m_status = L"正在删除已安装文件";
    dialog.m_designWidth = 390;
    dialog.m_designHeight = 136;
}

LRESULT RunUninstallWorkflow(CMainDlg& mainDialog) {
    const std::wstring location = QueryInstallLocation(false);
    // A dialog that cannot run (-1) does not stop the removal; only cancel does.
    if (location.size() >= kShortestLocation && ProductRuns(location) &&
        AskToForceRemoval(mainDialog) == IDCANCEL)
        return 0;
    RunRemovalSteps();
    ShowRemovalProgress(mainDialog);
    mainDialog.ShowFinishedState();
    return 0;
}
