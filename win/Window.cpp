#include "Window.h"

namespace {

BOOL ModifyWindowLong(HWND window, int index, DWORD remove, DWORD add, UINT flags) {
    const DWORD old = static_cast<DWORD>(GetWindowLongW(window, index));
    const DWORD changed = (old & ~remove) | add;
    if (changed == old)
        return FALSE;
    SetWindowLongW(window, index, static_cast<LONG>(changed));
    if (flags != 0)
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return TRUE;
}

RECT WorkAreaOf(HWND window) {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor))
        return monitor.rcWork;
    RECT area = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

// The start of a span of `length` centred on [low, high), moved into [areaLow, areaHigh)
// where it fits; a span longer than the area starts at its low edge.
LONG CentredStart(LONG low, LONG high, LONG length, LONG areaLow, LONG areaHigh) {
    LONG start = low + (high - low - length) / 2;
    if (start + length > areaHigh)
        start = areaHigh - length;
    if (start < areaLow)
        start = areaLow;
    return start;
}

// MapWindowPoints answers 0 both for failure and for a zero offset.
BOOL MapRect(HWND from, HWND to, LPRECT rect) {
    SetLastError(ERROR_SUCCESS);
    return MapWindowPoints(from, to, reinterpret_cast<LPPOINT>(rect), 2) != 0 ||
           GetLastError() == ERROR_SUCCESS;
}

} // namespace

BOOL CWindow::ModifyStyle(DWORD remove, DWORD add, UINT flags) {
    return ModifyWindowLong(m_hWnd, GWL_STYLE, remove, add, flags);
}

BOOL CWindow::ModifyStyleEx(DWORD remove, DWORD add, UINT flags) {
    return ModifyWindowLong(m_hWnd, GWL_EXSTYLE, remove, add, flags);
}

BOOL CWindow::CenterWindow(HWND center) {
    RECT window;
    if (!::GetWindowRect(m_hWnd, &window))
        return FALSE;
    if (!center)
        center = ::GetWindow(m_hWnd, GW_OWNER);
    const bool overCenter = center && ::IsWindowVisible(center) && !::IsIconic(center);

    const RECT area = WorkAreaOf(overCenter ? center : m_hWnd);
    RECT reference = area;
    if (overCenter)
        ::GetWindowRect(center, &reference);

    const LONG width = window.right - window.left;
    const LONG height = window.bottom - window.top;
    const LONG x = CentredStart(reference.left, reference.right, width, area.left, area.right);
    const LONG y = CentredStart(reference.top, reference.bottom, height, area.top, area.bottom);
    return ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CWindow::ScreenToClient(LPRECT rect) const {
    return MapRect(nullptr, m_hWnd, rect);
}

BOOL CWindow::ClientToScreen(LPRECT rect) const {
    return MapRect(m_hWnd, nullptr, rect);
}
