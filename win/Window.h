#pragma once
// A thin wrapper of a window handle, in the WTL manner: the calls the dialogs make, named
// as Win32 names them. It owns nothing; copying it copies the handle.
#include <windows.h>

class CWindow {
  public:
    HWND m_hWnd = nullptr;

    CWindow(HWND window = nullptr) : m_hWnd(window) {}
    CWindow& operator=(HWND window) {
        m_hWnd = window;
        return *this;
    }
    operator HWND() const { return m_hWnd; }

    void Attach(HWND window) { m_hWnd = window; }
    HWND Detach() {
        HWND window = m_hWnd;
        m_hWnd = nullptr;
        return window;
    }

    BOOL IsWindow() const { return ::IsWindow(m_hWnd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
    BOOL DestroyWindow() { return ::DestroyWindow(m_hWnd); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    HWND GetWindow(UINT relation) const { return ::GetWindow(m_hWnd, relation); }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    HWND SetFocus() { return ::SetFocus(m_hWnd); }
    HWND SetCapture() { return ::SetCapture(m_hWnd); }
    BOOL SetWindowText(LPCWSTR text) { return ::SetWindowTextW(m_hWnd, text); }

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::PostMessageW(m_hWnd, message, wParam, lParam);
    }

    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE)); }
    // Removes, then adds style bits; writes only if that changes the style and then, with
    // flags, lets the frame follow (SetWindowPos with SWP_FRAMECHANGED, for instance).
    // TRUE if the style changed.
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);

    BOOL GetClientRect(LPRECT rect) const { return ::GetClientRect(m_hWnd, rect); }
    BOOL GetWindowRect(LPRECT rect) const { return ::GetWindowRect(m_hWnd, rect); }
    BOOL SetWindowPos(HWND insertAfter, int x, int y, int width, int height, UINT flags) {
        return ::SetWindowPos(m_hWnd, insertAfter, x, y, width, height, flags);
    }
    BOOL SetWindowPos(HWND insertAfter, LPCRECT rect, UINT flags) {
        return ::SetWindowPos(m_hWnd, insertAfter, rect->left, rect->top, rect->right - rect->left,
                              rect->bottom - rect->top, flags);
    }
    BOOL MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE) {
        return ::MoveWindow(m_hWnd, x, y, width, height, repaint);
    }
    BOOL MoveWindow(LPCRECT rect, BOOL repaint = TRUE) {
        return ::MoveWindow(m_hWnd, rect->left, rect->top, rect->right - rect->left,
                            rect->bottom - rect->top, repaint);
    }
    BOOL ScreenToClient(LPPOINT point) const { return ::ScreenToClient(m_hWnd, point); }
    BOOL ScreenToClient(LPRECT rect) const;
    BOOL ClientToScreen(LPPOINT point) const { return ::ClientToScreen(m_hWnd, point); }
    BOOL ClientToScreen(LPRECT rect) const;

    // Top-level windows: centres over `center`, or the owner when none is given, if that
    // window is visible and not minimised; otherwise over the work area of the window's
    // monitor. The window is kept inside that monitor's work area. Moves only.
    BOOL CenterWindow(HWND center = nullptr);

    // WM_SETICON; returns the icon it replaces.
    HICON SetIcon(HICON icon, BOOL big = TRUE) {
        return reinterpret_cast<HICON>(::SendMessageW(
            m_hWnd, WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
    }

    BOOL Invalidate(BOOL erase = TRUE) { return ::InvalidateRect(m_hWnd, nullptr, erase); }
    BOOL InvalidateRect(LPCRECT rect, BOOL erase = TRUE) {
        return ::InvalidateRect(m_hWnd, rect, erase);
    }
    BOOL ValidateRect(LPCRECT rect) { return ::ValidateRect(m_hWnd, rect); }
    BOOL UpdateWindow() { return ::UpdateWindow(m_hWnd); }
};
