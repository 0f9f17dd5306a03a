#include "ProgressDlg.h"

LRESULT CDXGIProgressDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    PrepareWindow(m_hWnd);
    // The first frame shows the title only; the status line comes with the animation.
    CreatePage(&m_page);
    m_page.SetStatus(m_status);
    m_page.SetTarget(m_dpi.Scale(CProgressPage::kBarLength));
    if (!StartAnimation()) {
        // No thread, no end message: nothing would ever close the dialog.
        EndDialog(kFinished);
        return TRUE;
    }
    m_host.Commit();
    return TRUE;
}

bool CDXGIProgressDlg::StartAnimation() {
    return m_page.StartAnimation();
}

LRESULT CDXGIProgressDlg::OnAnimationDone(UINT, WPARAM, LPARAM, BOOL&) {
    EndDialog(kFinished);
    return 0;
}
