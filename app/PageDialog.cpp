#include "PageDialog.h"

#include "TextPage.h"

#include "DXGIButton.h"
#include "Window.h"

#include <windowsx.h>

namespace {

constexpr DWORD kFrameStyles =
    WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

} // namespace

void CPageDialog::PrepareWindow(HWND window) {
    m_window = window;
    // A run again (RunAgainWithSoftwareCompositor) starts from empty lists.
    m_mouseList.Clear();
    m_objects.clear();
    CWindow dialog(window);
    dialog.CenterWindow();
    m_dpi.UpdateForWindow(window);
    m_icons.SetOn(window);
    // Drawn by the page; as the window's text it names the window to the system (its own
    // accessible object, window lists), as a title bar's caption would.
    dialog.SetWindowText(m_title.c_str());
    dialog.ModifyStyle(kFrameStyles, 0);

    m_host.m_hWnd = window;
    m_host.m_dpi = &m_dpi;
    m_host.CreateDevices();

    // Both edges of the rectangle are scaled, its position too; the window is centred
    // again at its new size.
    RECT design{};
    dialog.GetWindowRect(&design);
    design.right = design.left + m_designWidth;
    design.bottom = design.top + m_designHeight;
    RECT scaled{};
    m_dpi.ScaleRect(&design, &scaled);
    dialog.SetWindowPos(nullptr, &scaled, SWP_NOACTIVATE);
    dialog.CenterWindow();
}

void CPageDialog::CreatePage(CTextPage* page) {
    page->m_dpi = &m_dpi;
    page->m_host = &m_host;
    page->Create(m_window, {0, 0, m_designWidth, m_designHeight}, m_title.c_str(), 0, nullptr, 0);
    m_objects.push_back(page);
}

void CPageDialog::CreateButton(CDXGIButton* button, const RECT& designRect, const wchar_t* caption,
                               int command) {
    button->m_dpi = &m_dpi;
    button->m_host = &m_host;
    button->Create(m_window, designRect, caption, command, nullptr, 0);
    m_objects.push_back(button);
    m_mouseList.Append(button);
}

LRESULT CPageDialog::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    m_host.CreateDevices();
    ValidateRect(m_window, nullptr);
    m_host.Commit();
    return 0;
}

LRESULT CPageDialog::OnSize(UINT, WPARAM type, LPARAM size, BOOL&) {
    m_host.OnSize(type, size);
    return 0;
}

LRESULT CPageDialog::OnSetCursor(UINT, WPARAM, LPARAM, BOOL& handled) {
    if (m_mouseList.OnSetCursor(m_window))
        return TRUE;
    handled = FALSE;
    return 0;
}

LRESULT CPageDialog::OnMouseMove(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    m_mouseList.OnMouseMove(wParam, lParam, m_window, &m_host);
    return 0;
}

LRESULT CPageDialog::OnCaptureChanged(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    m_mouseList.OnCaptureChanged(wParam, lParam, m_window, &m_host);
    return 0;
}

LRESULT CPageDialog::OnLButtonDown(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    if (m_mouseList.OnLButtonDown(wParam, lParam, m_window, &m_host))
        return 0;
    // A press on the background: kept, as the start of a drag would be, but nothing moves.
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(m_window, &point);
    m_pressPoint = point;
    m_dragging = TRUE;
    SetCapture(m_window);
    return 0;
}

LRESULT CPageDialog::OnLButtonUp(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    // A release no button takes also ends the capture and the captured object.
    if (!m_mouseList.OnLButtonUp(wParam, lParam, m_window, &m_host))
        m_dragging = FALSE;
    return 0;
}

void CPageDialog::ApplyDpiChange(WPARAM newDpi, LPARAM suggestedRect) {
    ::ApplyDpiChange(m_window, newDpi, suggestedRect, m_dpi, m_host, m_objects);
}

void CPageDialog::RecoverFromDeviceLoss() {
    m_host.RecoverFromDeviceLoss(m_objects);
}

LRESULT CPageDialog::OnDeviceLost(UINT, WPARAM, LPARAM, BOOL&) {
    RecoverFromDeviceLoss();
    return 0;
}

LRESULT CPageDialog::OnDpiChanged(UINT, WPARAM newDpi, LPARAM suggestedRect, BOOL&) {
    ApplyDpiChange(newDpi, suggestedRect);
    // WM_DPICHANGED: an application that processes it returns zero.
    return 0;
}
