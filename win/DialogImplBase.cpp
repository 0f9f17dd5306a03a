#include "DialogImplBase.h"

#include "AppModule.h"
#include "DialogTemplate.h"

namespace {

// A dialog procedure returns these messages' results itself; every other result goes
// through DWLP_MSGRESULT, and the procedure returns TRUE.
bool ReturnsResultDirectly(UINT message) {
    switch (message) {
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return true;
    default:
        return false;
    }
}

} // namespace

INT_PTR CDialogImplBase::RunModal(LPCWSTR templateName, HWND owner, LPARAM initParam) {
    if (!_Module.IsInitialized()) { // _Module.Init was not called
        SetLastError(ERROR_INVALID_STATE);
        return -1;
    }
    INT_PTR result = -1;
    do {
        runAgain_ = false;
        // The dialog's first message takes the object from the module's record.
        if (!_Module.AddCreateWndData(this)) {
            SetLastError(ERROR_OUTOFMEMORY);
            return -1;
        }
        bound_ = false;
        const DWORD exStyle = CreationExStyle();
        const std::vector<BYTE> withExStyle =
            exStyle ? DialogTemplateWithExStyle(_Module.Instance(), templateName, exStyle)
                    : std::vector<BYTE>();
        result =
            withExStyle.empty()
                ? DialogBoxParamW(_Module.Instance(), templateName, owner, DialogProc, initParam)
                : DialogBoxIndirectParamW(_Module.Instance(),
                                          reinterpret_cast<LPCDLGTEMPLATEW>(withExStyle.data()),
                                          owner, DialogProc, initParam);
        if (!bound_) {
            // No window took the record (no such template, for one): drop it rather than
            // leave it waiting for a window that never comes.
            const DWORD error = GetLastError();
            _Module.ExtractCreateWndData();
            SetLastError(error);
            return result;
        }
    } while (runAgain_);
    return result;
}

void CDialogImplBase::EndAndRunAgain() {
    runAgain_ = true;
    ::EndDialog(m_hWnd, 0);
}

CDialogImplBase* CDialogImplBase::Bind(HWND window) {
    auto* dialog = static_cast<CDialogImplBase*>(_Module.ExtractCreateWndData());
    if (!dialog)
        return nullptr;
    dialog->m_hWnd = window;
    dialog->bound_ = true;
    SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(dialog));
    return dialog;
}

INT_PTR CALLBACK CDialogImplBase::DialogProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    auto* dialog = reinterpret_cast<CDialogImplBase*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!dialog) {
        // The first message (WM_SETFONT, before WM_INITDIALOG) binds the window.
        dialog = Bind(window);
        if (!dialog) {
            // No object for this window: a dialog nothing handles could never end.
            ::EndDialog(window, -1);
            return FALSE;
        }
    }

    LRESULT result = 0;
    const BOOL handled = dialog->ProcessWindowMessage(window, message, wParam, lParam, result, 0);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, DWLP_USER, 0);
        dialog->m_hWnd = nullptr;
    }
    if (!handled)
        return FALSE;
    if (ReturnsResultDirectly(message))
        return static_cast<INT_PTR>(result);
    SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
    return TRUE;
}
