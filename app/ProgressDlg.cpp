#include "ProgressDlg.h"

LRESULT CDXGIProgressDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    PrepareWindow(m_hWnd);
    // The first frame shows the title only; the status line comes with the animation.
    CreatePage(&m_page);
    if (RunAgainWithSoftwareCompositor()) {
        EndAndRunAgain();
        return TRUE;
    }
    m_page.SetStatus(m_status);
    m_page.SetTarget(m_dpi.Scale(CProgressPage::kBarLength));
    m_access.Attach(m_hWnd, m_title.c_str(), m_mouseList, &m_host);
    m_access.AddText(m_status.c_str(), &m_page, m_page.BodyRect());
    // The status line says what the bar measures.
    m_access.AddProgressBar(m_status.c_str(), &m_page, CProgressPage::kBarRect,
                            [this] { return m_page.DrawnPercent(); });
    m_access.AnnounceDialogStart();
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

LRESULT CDXGIProgressDlg::OnPercent(UINT, WPARAM percent, LPARAM, BOOL&) {
    m_access.ProgressChanged(static_cast<int>(percent));
    return 0;
}

LRESULT CDXGIProgressDlg::OnDpiChanged(UINT, WPARAM newDpi, LPARAM suggestedRect, BOOL&) {
    // The animation thread draws the page and reads the DPI: it waits while both change.
    const bool paused = m_page.PauseAnimation();
    ApplyDpiChange(newDpi, suggestedRect);
    if (paused && !m_page.StartAnimation())
        EndDialog(kFinished); // as when the thread cannot start at first
    // WM_DPICHANGED: an application that processes it returns zero.
    return 0;
}

LRESULT CDXGIProgressDlg::OnDeviceLost(UINT, WPARAM, LPARAM, BOOL&) {
    // The animation thread draws into the page's swap chain, which is made anew: it waits.
    const bool paused = m_page.PauseAnimation();
    RecoverFromDeviceLoss();
    if (paused && !m_page.StartAnimation())
        EndDialog(kFinished);
    return 0;
}

LRESULT CDXGIProgressDlg::OnAnimationDone(UINT, WPARAM, LPARAM, BOOL&) {
    EndDialog(kFinished);
    return 0;
}
