#pragma once
// The progress dialog: a borderless modal dialog with a title, a status line and a bar that
// fills by itself; it closes itself with 1 when the bar is full. Input changes nothing.
//
//   CDXGIProgressDlg dialog;
//   dialog.m_dpi.Init();
//   dialog.m_title = ...; dialog.m_status = ...;
//   dialog.m_designWidth = 390; dialog.m_designHeight = 136;
//   dialog.DoModal(GetActiveWindow());
//
// The page's animation thread ends before the page dies. If the thread cannot be started,
// the dialog ends at once (with 1) instead of waiting for an end that would never come.
// A screen reader reads it as a dialog named by its title, with the status line as text and
// a progress bar whose value is the drawn part in whole percent, told at each new percent.
#include "PageDialog.h"
#include "ProgressPage.h"

#include "DialogImpl.h"

#include <string>

class CDXGIProgressDlg : public CDialogImpl<CDXGIProgressDlg>, public CPageDialog {
  public:
    enum { IDD = 129 };
    enum { kFinished = 1 };

    std::wstring m_status;

    BEGIN_MSG_MAP(CDXGIProgressDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(CProgressPage::kAnimationDoneMessage, OnAnimationDone)
    MESSAGE_HANDLER(CProgressPage::kPercentMessage, OnPercent)
    MESSAGE_HANDLER(WM_DPICHANGED, OnDpiChanged)
    MESSAGE_HANDLER(CDCompUtil::DeviceLostMessage(), OnDeviceLost)
    CHAIN_MSG_MAP(CPageDialog)
    END_MSG_MAP()

    const CProgressPage& Page() const { return m_page; }

  protected:
    // The window is made for the composition backend its host will use.
    DWORD CreationExStyle() const override { return CDCompUtil::CreationExStyleForNextWindow(); }
    // Starts the page's animation; false if its thread cannot be started.
    virtual bool StartAnimation();
    CProgressPage& AnimatedPage() { return m_page; }

  private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnAnimationDone(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPercent(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDpiChanged(UINT, WPARAM newDpi, LPARAM suggestedRect, BOOL&);
    LRESULT OnDeviceLost(UINT, WPARAM, LPARAM, BOOL&);

    CProgressPage m_page;
};
