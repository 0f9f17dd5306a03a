#include "MsgDlg.h"

#include "DialogLayout.h"

LRESULT CDXGIMsgDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    PrepareWindow(m_hWnd);
    m_page.SetMessage(m_message);
    CreatePage(&m_page);
    CreateButton(&m_confirmButton, DialogLayout::Question::kConfirm, m_confirmCaption.c_str(),
                 kConfirmCommand);
    CreateButton(&m_cancelButton, DialogLayout::Question::kCancel, L"取  消", kCancelCommand);
    if (RunAgainWithSoftwareCompositor()) {
        EndAndRunAgain();
        return TRUE;
    }
    m_host.Commit();

    m_access.Attach(m_hWnd, m_title.c_str(), m_mouseList, &m_host);
    m_access.AddText(m_message.c_str(), &m_page, m_page.BodyRect());
    m_access.SetFocus(&m_cancelButton);
    m_access.AnnounceDialogStart();
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
