#pragma once
// What the uninstaller's question and progress dialogs share: a borderless window sized from
// design units, whose whole face is one page on the window's composition host; the window
// icons; the mouse routed to the dialog's buttons; and a press on the background, which takes
// the mouse capture and records where it was made but does not move the window; and what a
// screen reader and the keyboard need (CDialogAccessibility, which sees the messages first).
// A dialog derives from this beside CDialogImpl and chains its message map to this one.
#include "DialogChrome.h"

#include "DCompUtil.h"
#include "DPI.h"
#include "ui/access/DialogAccessibility.h"
#include "MessageMap.h"
#include "MouseList.h"

#include <windows.h>

#include <string>
#include <vector>

class CDXGIButton;
class CTextPage;

class CPageDialog {
  public:
    CPageDialog() = default;
    CPageDialog(const CPageDialog&) = delete;
    CPageDialog& operator=(const CPageDialog&) = delete;

    // The creator calls m_dpi.Init() and sets the title and the design size.
    CDPI m_dpi;
    std::wstring m_title;
    int m_designWidth = 0;
    int m_designHeight = 0;

    BEGIN_MSG_MAP(CPageDialog)
    CHAIN_MSG_MAP_MEMBER(m_access)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnNothingDone)
    MESSAGE_HANDLER(WM_TIMER, OnNothingDone)
    MESSAGE_HANDLER(WM_KEYDOWN, OnKeyDown)
    MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
    MESSAGE_HANDLER(WM_CAPTURECHANGED, OnCaptureChanged)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    // A press soon after another on the same spot comes as a double-click: a press all the same.
    MESSAGE_HANDLER(WM_LBUTTONDBLCLK, OnLButtonDown)
    MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
    MESSAGE_HANDLER(WM_DPICHANGED, OnDpiChanged)
    MESSAGE_HANDLER(CDCompUtil::DeviceLostMessage(), OnDeviceLost)
    END_MSG_MAP()

    const CDCompUtil& Host() const { return m_host; }
    const CDialogAccessibility& Access() const { return m_access; }
    // The latest press on the background, in screen coordinates, and whether the button is
    // still down since.
    POINT PressPoint() const { return m_pressPoint; }
    bool Dragging() const { return m_dragging != FALSE; }

  protected:
    // The first steps of WM_INITDIALOG: centre the window, read its monitor's DPI, set the
    // icons and the title as the window's text, take away caption and frame, build the host's
    // devices, and size the window to the design size scaled, centred again.
    void PrepareWindow(HWND window);
    // The page over the whole client area, with the title as its caption; it draws its first
    // frame.
    void CreatePage(CTextPage* page);
    // A text button with its rectangle in design units, caption and command; it joins the
    // mouse list.
    void CreateButton(CDXGIButton* button, const RECT& designRect, const wchar_t* caption,
                      int command);
    // Once the page and buttons are made, before the window shows: true when DirectComposition
    // failed at a step, and the dialog is to run again (EndAndRunAgain) with the software
    // compositor, so that the user never sees an empty window.
    bool RunAgainWithSoftwareCompositor() { return m_host.MustRunAgainWithSoftwareCompositor(); }
    // WM_DPICHANGED: the page and the buttons laid out again at the new DPI, in the window's
    // suggested rectangle.
    void ApplyDpiChange(WPARAM newDpi, LPARAM suggestedRect);
    // The host's devices were lost: the host and the page and buttons are built anew.
    void RecoverFromDeviceLoss();

    CDCompUtil m_host;
    CMouseList m_mouseList;
    // Lets go of the dialog's objects when the window is destroyed, before they die with the
    // dialog class.
    CDialogAccessibility m_access;

  private:
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSize(UINT, WPARAM type, LPARAM size, BOOL&);
    LRESULT OnNothingDone(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
    LRESULT OnKeyDown(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnSetCursor(UINT, WPARAM, LPARAM, BOOL& handled);
    LRESULT OnMouseMove(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
    LRESULT OnCaptureChanged(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
    LRESULT OnLButtonDown(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
    LRESULT OnLButtonUp(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
    LRESULT OnDpiChanged(UINT, WPARAM, LPARAM suggestedRect, BOOL& handled);
    LRESULT OnDeviceLost(UINT, WPARAM, LPARAM, BOOL&);

    HWND m_window = nullptr;
    // The page, then the buttons: what a new DPI lays out again.
    std::vector<CSVGSimpleObject*> m_objects;
    CDialogIcons m_icons;
    BOOL m_dragging = FALSE;
    POINT m_pressPoint{};
};
