#pragma once
// What the uninstall button starts, on the main window's thread: if the product runs, the
// user is asked whether to force the removal; then the removal itself, the progress
// dialog, and the main window's finished state, whose only way on is its exit button.
// The one place where the removal engine and the dialogs meet.
#include "UninstallWindow.h"

#include <windows.h>

class CDXGIMsgDlg;
class CDXGIProgressDlg;

// Returns 0, the uninstall command's result. Reports nothing: only the question's cancel
// button stops a removal. What the folder-removal command cannot remove, because another
// program holds it open, goes at the next restart, and so does the uninstaller's own copy.
LRESULT RunUninstallWorkflow(IUninstallWindow& window);

// The workflow's two dialogs, filled with their texts and sizes; the tests that show one on its
// own fill it the same way.
void FillForceRemovalQuestion(CDXGIMsgDlg& dialog);
void FillRemovalProgress(CDXGIProgressDlg& dialog);
