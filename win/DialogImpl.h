#pragma once
// A modal dialog class in the WTL manner:
//
//   class CMyDlg : public CDialogImpl<CMyDlg> {
//     public:
//       enum { IDD = 129 };
//       BEGIN_MSG_MAP(CMyDlg)
//           MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
//           COMMAND_ID_HANDLER(IDOK, OnOK)
//       END_MSG_MAP()
//       ...
//   };
//   INT_PTR result = CMyDlg().DoModal();
//
// Messages the map leaves unhandled get the default dialog processing. The window's
// DWLP_USER slot belongs to this class. _Module must be initialised.
#include "AppModule.h"
#include "DialogImplBase.h"

template <class T> class CDialogImpl : public CDialogImplBase {
  public:
    // Runs the dialog from template T::IDD of the module's resources until EndDialog;
    // returns EndDialog's result, or -1 if the dialog cannot run. WM_INITDIALOG gets
    // initParam.
    INT_PTR DoModal(HWND owner = ::GetActiveWindow(), LPARAM initParam = 0) {
        return RunModal(MAKEINTRESOURCEW(T::IDD), owner, initParam);
    }
};
