#include "UninstallWorkflow.h"

#include "DialogLayout.h"
#include "MsgDlg.h"
#include "ProgressDlg.h"
#include "PumpedWait.h"

#include "InstallLocation.h"
#include "ProductNames.h"
#include "ProductPaths.h"
#include "ProductProcesses.h"
#include "RemovalSteps.h"
#include "TempCopy.h"

#include <string>

namespace {

// Shorter locations mean that no installation was found.
constexpr size_t kShortestLocation = 2;
// The command has usually removed the folder while the progress was shown; a folder with many
// files may take it longer, but not without end.
constexpr DWORD kFolderRemovalWaitMs = 10000;

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

// Once the command has ended (or the wait is over), whatever is left of the folder is held
// open by another program: it goes at the next restart. The window takes no input while it
// waits, as while a dialog of the workflow is open, but goes on painting and moving.
void SeeFolderRemovalThrough(const FolderRemoval& removal, HWND owner) {
    if (!removal.Command())
        return;
    if (WaitForSingleObject(removal.Command(), 0) == WAIT_TIMEOUT) {
        EnableWindow(owner, FALSE);
        WaitPumpingMessages(removal.Command(), kFolderRemovalWaitMs);
        EnableWindow(owner, TRUE);
        // Disabling took the keyboard focus away from the window; it is still the active one.
        if (GetActiveWindow() == owner && !GetFocus())
            SetFocus(owner);
    }
    removal.ScheduleLeftoversAtRestart();
}

} // namespace

void FillForceRemovalQuestion(CDXGIMsgDlg& dialog) {
    dialog.m_dpi.Init();
    dialog.m_title = L"检测到Corvane正在运行...";
    dialog.m_message = L"确认要继续强制卸载Corvane软件吗？";
    dialog.m_confirmCaption = L"强制卸载";
    dialog.m_designWidth = DialogLayout::Question::kWidth;
    dialog.m_designHeight = DialogLayout::Question::kHeight;
}

void FillRemovalProgress(CDXGIProgressDlg& dialog) {
    dialog.m_dpi.Init();
    dialog.m_title = L"开始卸载软件...";
    dialog.m_status = L"正在删除已安装文件";
    dialog.m_designWidth = DialogLayout::Progress::kWidth;
    dialog.m_designHeight = DialogLayout::Progress::kHeight;
}

LRESULT RunUninstallWorkflow(IUninstallWindow& window) {
    const HWND owner = window.OwnerWindow();
    const std::wstring location = QueryInstallLocation(false);
    // A dialog that cannot run (-1) does not stop the removal; only cancel does.
    if (location.size() >= kShortestLocation && ProductRuns(location) &&
        AskToForceRemoval(owner) == IDCANCEL)
        return 0;
    const FolderRemoval removal = RunRemovalSteps();
    ShowRemovalProgress(owner);
    SeeFolderRemovalThrough(removal, owner);
    ScheduleTempCopyRemovalAtRestart();
    window.ShowFinishedState();
    return 0;
}
