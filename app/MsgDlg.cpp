#include "MsgDlg.h"

namespace {

// Design units, in the dialog's client area.
constexpr RECT kConfirmRect{202, 114, 280, 154};
constexpr RECT kCancelRect{292, 114, 370, 154};

} // namespace

LRESULT CDXGIMsgDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    PrepareWindow(m_hWnd);
    m_page.SetMessage(m_message);
    CreatePage(&m_page);
    CreateButton(&m_confirmButton, kConfirmRect, m_confirmCaption.c_str(), kConfirmCommand);
    CreateButton(&m_cancelButton, kCancelRect, L"取  消", kCancelCommand);
    m_host.Commit();
    return TRUE;
}

LRESULT CDXGIMsgDlg::OnConfirm(WORD, WORD, HWND, BOOL&) {
    EndDialog(kConfirmed);
    return 0;
}

LRESULT CDXGIMsgDlg::OnCancel(WORD, WORD, HWND, BOOL&) {
    EndDialog(kCancelled);
    return 0;
}
