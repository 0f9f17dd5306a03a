// A dialog built as the uninstaller's dialogs are (template 129, a composition host, render
// objects routed through a mouse list), with its accessibility chained first in its map: the
// main window's four buttons (the exit button hidden in the uninstall button's place) on a
// flat card, and a text button. Commands are recorded; 3043 swaps the uninstall button for
// the exit button, as the uninstall workflow ends; 3047 ends the dialog with 2 and 2026 with
// 2026; other commands go to the default processing, which ends nothing.
#pragma once

#include "DCompUtil.h"
#include "DPI.h"
#include "DXGIButton.h"
#include "DialogAccessibility.h"
#include "DialogImpl.h"
#include "MouseList.h"
#include "SVGButtonEx.h"
#include "SVGSOCtrl.h"

#include <windows.h>

#include <functional>
#include <vector>

namespace AccessTest {

// Design units of the 732 x 432 window.
constexpr RECT kMinimizeRect{648, 28, 672, 52};
constexpr RECT kCloseRect{680, 28, 704, 52};
constexpr RECT kActionRect{243, 332, 443, 376};
constexpr RECT kTextButtonRect{300, 200, 378, 240};
// The card's flat colour, so that a button's look can be checked pixel by pixel.
constexpr DWORD kBackgroundColour = 0x203040;
// A point of the card no button covers.
constexpr POINT kQuietPoint{30, 400};

enum Command { kMinimize = 2024, kCancel = 2025, kClose = 2026, kUninstall = 3043, kExit = 3047 };

class CAccessTestDialog : public CDialogImpl<CAccessTestDialog> {
  public:
    enum { IDD = 129 };
    // lParam: a const std::function<void()>* to run on the dialog's thread (sent).
    static constexpr UINT kRunMessage = WM_APP + 1;
    static constexpr UINT kShownMessage = WM_APP + 2;

    // Reads the DPI and makes the process DPI aware.
    CAccessTestDialog() { m_dpi.Init(); }

    BEGIN_MSG_MAP(CAccessTestDialog)
    CHAIN_MSG_MAP_MEMBER(m_access)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
    MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
    MESSAGE_RANGE_HANDLER(WM_MOUSEMOVE, WM_LBUTTONUP, OnMouse)
    MESSAGE_HANDLER(WM_CAPTURECHANGED, OnMouse)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    MESSAGE_HANDLER(kRunMessage, OnRun)
    MESSAGE_HANDLER(kShownMessage, OnShownMessage)
    END_MSG_MAP()

    // Called once the modal loop runs with the window shown.
    void OnShown(std::function<void()> shown) { m_shown = std::move(shown); }

    // Read on the dialog's thread, or after it ended.
    const std::vector<int>& Commands() const { return m_commands; }
    CDialogAccessibility& Access() { return m_access; }
    CDCompUtil& Host() { return m_host; }
    const CDPI& Dpi() const { return m_dpi; }
    CSVGButtonEx& Minimize() { return m_minimize; }
    CSVGButtonEx& Close() { return m_close; }
    CSVGButtonEx& Uninstall() { return m_uninstall; }
    CSVGButtonEx& Exit() { return m_exit; }
    CDXGIButton& TextButton() { return m_textButton; }

  private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
    LRESULT OnSetCursor(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMouse(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommand(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnRun(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnShownMessage(UINT, WPARAM, LPARAM, BOOL&);
    void Create(CSVGSimpleObject* object, const RECT& rect, const wchar_t* caption, int id,
                int mode, int picture);

    std::function<void()> m_shown;
    CDPI m_dpi;
    CDCompUtil m_host;
    CSVGSOCtrl m_background;
    CSVGButtonEx m_minimize, m_close, m_uninstall, m_exit;
    CDXGIButton m_textButton{1};
    CMouseList m_mouseList;
    CDialogAccessibility m_access;
    std::vector<int> m_commands;
};

} // namespace AccessTest
