#pragma once
// What every modal dialog class shares, whatever its template: running the dialog,
// binding its window to the object, and handing every message to the object's message
// map with the result returned the way a dialog procedure must.
#include <windows.h>

#include "MessageMap.h"
#include "Window.h"

class CDialogImplBase : public CWindow, public CMessageMap {
  public:
    CDialogImplBase(const CDialogImplBase&) = delete;
    CDialogImplBase& operator=(const CDialogImplBase&) = delete;

    // Ends the modal loop; DoModal returns result.
    BOOL EndDialog(INT_PTR result) { return ::EndDialog(m_hWnd, result); }

  protected:
    CDialogImplBase() = default;

    // DialogBoxParamW on the template of the module's resources, or DialogBoxIndirectParamW on
    // a copy of it carrying CreationExStyle. -1 if the dialog cannot run: the last error is
    // then ERROR_OUTOFMEMORY when the object could not be bound to its window,
    // ERROR_INVALID_STATE without _Module.Init, else DialogBoxParamW's.
    INT_PTR RunModal(LPCWSTR templateName, HWND owner, LPARAM initParam);

    // Extended style bits the dialog's window is created with besides its template's (some
    // take effect only at creation); asked before each run. None by default.
    virtual DWORD CreationExStyle() const { return 0; }
    // For WM_INITDIALOG, before the window shows: ends this run (the window is destroyed
    // without ever showing) and runs the dialog again from the start on a new window, made
    // with the CreationExStyle of then.
    void EndAndRunAgain();

  private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static CDialogImplBase* Bind(HWND window);

    bool bound_ = false;
    bool runAgain_ = false;
};
