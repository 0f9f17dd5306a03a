#include "AccessTestDialog.h"

namespace AccessTest {

void CAccessTestDialog::Create(CSVGSimpleObject* object, const RECT& rect, const wchar_t* caption,
                               int id, int mode, int picture) {
    object->m_dpi = &m_dpi;
    object->m_host = &m_host;
    object->Create(m_hWnd, rect, caption, id, nullptr, mode);
    if (picture)
        object->LoadSVGResource(picture);
}

LRESULT CAccessTestDialog::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    m_dpi.UpdateForWindow(m_hWnd);
    ModifyStyle(WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0);
    SetWindowPos(nullptr, 0, 0, m_dpi.Scale(732), m_dpi.Scale(432), SWP_NOACTIVATE | SWP_NOMOVE);
    CenterWindow();
    m_host.m_hWnd = m_hWnd;
    m_host.m_dpi = &m_dpi;
    m_host.CreateDevices();

    Create(&m_background, {16, 16, 716, 416}, nullptr, 0, 0, 0);
    m_background.SetSVGText("<svg width='700' height='400'><rect width='700' height='400' "
                            "fill='#203040'/></svg>");
    m_background.Redraw();
    Create(&m_minimize, kMinimizeRect, L"最小化", kMinimize, CSVGButtonEx::kSpriteMode, 237);
    Create(&m_close, kCloseRect, L"关闭", kClose, CSVGButtonEx::kSpriteMode, 238);
    Create(&m_uninstall, kActionRect, L"立即卸载", kUninstall, CSVGButtonEx::kRecolourMode, 262);
    Create(&m_exit, kActionRect, L"退出", kExit, CSVGButtonEx::kRecolourMode, 265);
    m_exit.Hide();
    Create(&m_textButton, kTextButtonRect, L"取  消", kCancel, 0, 0);
    for (CSVGButtonEx* sprite : {&m_minimize, &m_close})
        sprite->SetFocusRingRadius(4);
    for (CSVGButtonEx* pill : {&m_uninstall, &m_exit})
        pill->SetFocusRingRadius(22);
    for (CSVGSimpleObject* object : std::initializer_list<CSVGSimpleObject*>{
             &m_minimize, &m_close, &m_uninstall, &m_exit, &m_textButton})
        m_mouseList.Append(object);
    m_host.Commit();

    m_access.Attach(m_hWnd, L"卸载 Corvane", m_mouseList, &m_host);
    m_access.SetFocus(&m_uninstall);
    PostMessage(kShownMessage);
    return TRUE;
}

LRESULT CAccessTestDialog::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    m_host.CreateDevices();
    ValidateRect(nullptr);
    m_host.Commit();
    return 0;
}

LRESULT CAccessTestDialog::OnSize(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    m_host.OnSize(wParam, lParam);
    m_host.Commit();
    return 0;
}

LRESULT CAccessTestDialog::OnSetCursor(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    if (LOWORD(lParam) == HTCLIENT && m_mouseList.OnSetCursor(m_hWnd))
        return TRUE;
    handled = FALSE;
    return 0;
}

LRESULT CAccessTestDialog::OnMouse(UINT message, WPARAM wParam, LPARAM lParam, BOOL&) {
    switch (message) {
    case WM_MOUSEMOVE:
        m_mouseList.OnMouseMove(wParam, lParam, m_hWnd, &m_host);
        break;
    case WM_LBUTTONDOWN:
        m_mouseList.OnLButtonDown(wParam, lParam, m_hWnd, &m_host);
        break;
    case WM_LBUTTONUP:
        m_mouseList.OnLButtonUp(wParam, lParam, m_hWnd, &m_host);
        break;
    case WM_CAPTURECHANGED:
        m_mouseList.OnCaptureChanged(wParam, lParam, m_hWnd, &m_host);
        break;
    default:
        break;
    }
    return 0;
}

LRESULT CAccessTestDialog::OnCommand(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    const int id = LOWORD(wParam);
    m_commands.push_back(id);
    switch (id) {
    case kUninstall:
        m_uninstall.Hide();
        m_exit.Show();
        m_host.Commit();
        break;
    case kExit:
        EndDialog(2);
        break;
    case kClose:
        EndDialog(2026);
        break;
    default:
        handled = FALSE;
        break;
    }
    return 0;
}

LRESULT CAccessTestDialog::OnRun(UINT, WPARAM, LPARAM lParam, BOOL&) {
    (*reinterpret_cast<const std::function<void()>*>(lParam))();
    return 0;
}

LRESULT CAccessTestDialog::OnShownMessage(UINT, WPARAM, LPARAM, BOOL&) {
    if (m_shown)
        m_shown();
    return 0;
}

} // namespace AccessTest
