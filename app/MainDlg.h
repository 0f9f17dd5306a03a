#pragma once
// The uninstaller's one top-level window: a borderless, composited card of 700 x 400
// design units inside a 16-unit transparent margin that holds its drop shadow. It shows
// the background, the logo, the minimise and close buttons and one action button:
// "立即卸载" (uninstall) until the workflow has run, "退出" (exit) afterwards. Only the
// close button (2026) and the exit button (2) end it; Escape, Enter and Alt+F4 do not.
// A screen reader reads it as the dialog "卸载 Corvane" with its buttons; Tab and Space work
// them, the keyboard focus starting on the uninstall button (and passing to the exit button
// when that takes its place).
#include "DCompUtil.h"
#include "DPI.h"
#include "ui/access/DialogAccessibility.h"
#include "DialogChrome.h"
#include "DialogLayout.h"
#include "DialogImpl.h"
#include "MouseList.h"
#include "SVGButtonEx.h"
#include "SVGSOCtrl.h"
#include "UninstallWindow.h"

#include <windows.h>

#include <vector>

class CMainDlg : public CDialogImpl<CMainDlg>, public IUninstallWindow {
  public:
    enum { IDD = 129 };

    // Commands the buttons post, and the dialog's results.
    static constexpr int kMinimizeCommand = 2024;
    static constexpr int kCloseCommand = 2026;
    static constexpr int kUninstallCommand = 3043;
    static constexpr int kExitCommand = 3047;
    static constexpr INT_PTR kClosedResult = 2026;
    static constexpr INT_PTR kExitedResult = 2;
    // Swallowed; nothing sends it.
    static constexpr UINT kQuietMessage = 2022;
    // Design units: the window with its shadow margin, and the band at its top that drags it.
    static constexpr int kWindowWidth = DialogLayout::Main::kWidth;
    static constexpr int kWindowHeight = DialogLayout::Main::kHeight;
    static constexpr int kCaptionHeight = DialogLayout::Main::kCaptionHeight;

    // Reads the DPI and makes the process DPI aware: the main window is the first window.
    CMainDlg();

    // The workflow's dialogs belong to the main window.
    HWND OwnerWindow() const override { return m_hWnd; }
    // The workflow's finished state: the exit button takes the uninstall button's place.
    // Shown at once.
    void ShowFinishedState() override;

    const CDCompUtil& Host() const { return m_host; }
    const CDPI& Dpi() const { return m_dpi; }

    BEGIN_MSG_MAP(CMainDlg)
    CHAIN_MSG_MAP_MEMBER(m_access)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_DESTROY, OnQuietMessage)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnQuietMessage)
    MESSAGE_HANDLER(WM_TIMER, OnQuietMessage)
    MESSAGE_HANDLER(kQuietMessage, OnQuietMessage)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_ACTIVATEAPP, OnActivateApp)
    MESSAGE_HANDLER(WM_NCHITTEST, OnNcHitTest)
    MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
    MESSAGE_HANDLER(WM_MOUSELEAVE, OnMouseLeave)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    // A press soon after another on the same spot comes as a double-click: a press all the same.
    MESSAGE_HANDLER(WM_LBUTTONDBLCLK, OnLButtonDown)
    MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
    MESSAGE_HANDLER(WM_CAPTURECHANGED, OnCaptureChanged)
    MESSAGE_HANDLER(WM_DPICHANGED, OnDpiChanged)
    MESSAGE_HANDLER(CDCompUtil::DeviceLostMessage(), OnDeviceLost)
    COMMAND_ID_HANDLER(kMinimizeCommand, OnMinimize)
    COMMAND_ID_HANDLER(kCloseCommand, OnClose)
    COMMAND_ID_HANDLER(kUninstallCommand, OnUninstall)
    COMMAND_ID_HANDLER(kExitCommand, OnExit)
    // IDOK and IDCANCEL (Enter, Escape, Alt+F4) stay unhandled: they end nothing.
    REFLECT_NOTIFICATIONS()
    END_MSG_MAP()

  protected:
    // The window is made for the composition backend its host will use.
    DWORD CreationExStyle() const override;
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnQuietMessage(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnActivateApp(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNcHitTest(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetCursor(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCaptureChanged(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDpiChanged(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDeviceLost(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMinimize(WORD, WORD, HWND, BOOL&);
    LRESULT OnClose(WORD, WORD, HWND, BOOL&);
    LRESULT OnUninstall(WORD, WORD, HWND, BOOL&);
    LRESULT OnExit(WORD, WORD, HWND, BOOL&);

  private:
    // Sets the window's style and size (732 x 432 design units, centred).
    void ShapeWindow();
    // Creates one element on the host, with its picture.
    void CreateElement(CSVGSimpleObject* element, const RECT& rect, const wchar_t* caption,
                       int command, int mode, int svgResource);
    void CreateElements();
    // Every element, in the order they are made (the hidden exit button too).
    std::vector<CSVGSimpleObject*> Elements();
    // Asks for WM_MOUSELEAVE once the pointer is over the window.
    void TrackMouseLeave();

    CDPI m_dpi;
    // The host comes before the elements so that it outlives them.
    CDCompUtil m_host;
    CDialogIcons m_icons;
    // Laid out as DialogLayout::Main says.
    CSVGSOCtrl m_logo;
    CSVGButtonEx m_minimizeButton;
    CSVGButtonEx m_closeButton;
    CSVGButtonEx m_uninstallButton;
    CSVGButtonEx m_exitButton;
    CMouseList m_mouseList;
    CSVGSOCtrl m_background;
    bool m_trackingMouseLeave = false;
    CDialogAccessibility m_access;
};
