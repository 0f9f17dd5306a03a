#pragma once
// The question: a small borderless modal dialog with a title, a message and two text
// buttons. DoModal gives 1 for the confirm button, 2 for "取  消" (cancel), and -1 if the
// dialog cannot be made; nothing else ends it (not Escape, Enter or a click beside a button).
// A screen reader reads it as a dialog named by its title, with the two buttons and the
// question as text; the keyboard focus starts on "取  消", the safe choice.
//
//   CDXGIMsgDlg dialog;
//   dialog.m_dpi.Init();
//   dialog.m_title = ...; dialog.m_message = ...; dialog.m_confirmCaption = ...;
//   dialog.m_designWidth = 390; dialog.m_designHeight = 160;
//   INT_PTR result = dialog.DoModal(GetActiveWindow());
#include "MsgPage.h"
#include "PageDialog.h"

#include "DXGIButton.h"
#include "DialogImpl.h"

#include <string>

class CDXGIMsgDlg : public CDialogImpl<CDXGIMsgDlg>, public CPageDialog {
  public:
    enum { IDD = 129 };
    // Commands of the two buttons, and what DoModal gives for them.
    enum { kConfirmCommand = 2024, kCancelCommand = 2025 };
    enum { kConfirmed = 1, kCancelled = IDCANCEL };

    std::wstring m_message;
    std::wstring m_confirmCaption = L"确定";

    BEGIN_MSG_MAP(CDXGIMsgDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(kConfirmCommand, OnConfirm)
    COMMAND_ID_HANDLER(kCancelCommand, OnCancel)
    CHAIN_MSG_MAP(CPageDialog)
    END_MSG_MAP()

    const CMsgPage& Page() const { return m_page; }

  protected:
    // The window is made for the composition backend its host will use.
    DWORD CreationExStyle() const override { return CDCompUtil::CreationExStyleForNextWindow(); }

  private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnConfirm(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);

    CMsgPage m_page;
    CDXGIButton m_confirmButton{1};
    CDXGIButton m_cancelButton{1};
};
