#include "MainDlg.h"

#include "UninstallWorkflow.h"

#include <windowsx.h>

namespace {

// SVG resources of the elements.
constexpr int kBackgroundPicture = 266;
constexpr int kLogoPicture = 235;
constexpr int kMinimizePicture = 237;
constexpr int kClosePicture = 238;
constexpr int kUninstallPicture = 262;
constexpr int kExitPicture = 265;

// WS_CAPTION, WS_SYSMENU, WS_THICKFRAME, WS_MINIMIZEBOX and WS_MAXIMIZEBOX go; the
// window draws its own frame.
constexpr DWORD kKeptStyle = 0xFF30FFFF;
// WS_EX_NOREDIRECTIONBITMAP, which only CreateWindowEx can give a window, comes with the
// window itself where DirectComposition draws it (CreationExStyle).
constexpr DWORD kCompositedExStyle = WS_EX_COMPOSITED;

// Shown in the taskbar and in Alt+Tab; the window itself has no title bar.
constexpr wchar_t kWindowTitle[] = L"卸载 Corvane";

} // namespace

CMainDlg::CMainDlg() {
    m_dpi.Init();
}

DWORD CMainDlg::CreationExStyle() const {
    return CDCompUtil::CreationExStyleForNextWindow();
}

LRESULT CMainDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    // A run again (below) starts from an empty list.
    m_mouseList.Clear();
    CenterWindow();
    m_dpi.UpdateForWindow(m_hWnd);
    m_icons.SetOn(m_hWnd);
    SetWindowText(kWindowTitle);
    ShapeWindow();

    m_host.m_hWnd = m_hWnd;
    m_host.m_dpi = &m_dpi;
    m_host.CreateDevices();

    CreateElements();
    if (m_host.MustRunAgainWithSoftwareCompositor()) {
        // Not shown yet: the user gets the software compositor's window instead of an empty
        // one.
        EndAndRunAgain();
        return 1;
    }
    m_host.Commit();

    m_access.Attach(m_hWnd, kWindowTitle, m_mouseList, &m_host);
    m_access.SetFocus(&m_uninstallButton);
    return 1;
}

void CMainDlg::ShapeWindow() {
    ModifyStyle(~kKeptStyle, 0);
    ModifyStyleEx(0, kCompositedExStyle);
    RECT rect{};
    GetWindowRect(&rect);
    rect.right = rect.left + kWindowWidth;
    rect.bottom = rect.top + kWindowHeight;
    m_dpi.ScaleRect(&rect);
    SetWindowPos(nullptr, &rect, SWP_NOACTIVATE);
    CenterWindow();
}

void CMainDlg::CreateElement(CSVGSimpleObject* element, const RECT& rect, const wchar_t* caption,
                             int command, int mode, int svgResource) {
    element->m_dpi = &m_dpi;
    element->m_host = &m_host;
    element->Create(m_hWnd, rect, caption, command, nullptr, mode);
    element->LoadSVGResource(svgResource);
}

void CMainDlg::CreateElements() {
    using namespace DialogLayout::Main;
    // In this order, each on top of the ones before; the mouse list follows the same order.
    CreateElement(&m_background, kBackground, nullptr, 0, 0, kBackgroundPicture);
    CreateElement(&m_logo, kLogo, nullptr, 0, 0, kLogoPicture);
    m_mouseList.Append(&m_logo);
    CreateElement(&m_minimizeButton, kMinimize, L"最小化", kMinimizeCommand,
                  CSVGButtonEx::kSpriteMode, kMinimizePicture);
    m_mouseList.Append(&m_minimizeButton);
    CreateElement(&m_closeButton, kClose, L"关闭", kCloseCommand, CSVGButtonEx::kSpriteMode,
                  kClosePicture);
    m_mouseList.Append(&m_closeButton);
    CreateElement(&m_uninstallButton, kAction, L"立即卸载", kUninstallCommand,
                  CSVGButtonEx::kRecolourMode, kUninstallPicture);
    m_mouseList.Append(&m_uninstallButton);
    // Takes the uninstall button's place when the workflow has run.
    CreateElement(&m_exitButton, kAction, L"退出", kExitCommand, CSVGButtonEx::kRecolourMode,
                  kExitPicture);
    m_exitButton.Hide();
    m_mouseList.Append(&m_exitButton);
    // The focus ring follows the shapes of the pictures: the sprites' rounded squares, and
    // the action buttons' pills.
    m_minimizeButton.SetFocusRingRadius(4);
    m_closeButton.SetFocusRingRadius(4);
    m_uninstallButton.SetFocusRingRadius(22);
    m_exitButton.SetFocusRingRadius(22);
}

void CMainDlg::ShowFinishedState() {
    m_uninstallButton.Hide();
    m_exitButton.Show();
    m_host.Commit();
}

LRESULT CMainDlg::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    m_host.CreateDevices();
    ValidateRect(nullptr);
    m_host.Commit();
    return 0;
}

LRESULT CMainDlg::OnSize(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    m_host.OnSize(wParam, lParam);
    m_host.Commit();
    return 0;
}

LRESULT CMainDlg::OnActivateApp(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    // The shadow is stronger and wider while the program is the active one.
    const int active = static_cast<int>(wParam);
    if (active != m_host.m_active) {
        m_host.m_active = active;
        m_host.DrawFrame();
    }
    m_host.Commit();
    handled = FALSE;
    return 0;
}

LRESULT CMainDlg::OnNcHitTest(UINT, WPARAM, LPARAM lParam, BOOL&) {
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(&point);
    RECT client{};
    GetClientRect(&client);
    if (PtInRect(&m_minimizeButton.Rect(), point) || PtInRect(&m_closeButton.Rect(), point))
        return HTCLIENT;
    // The top band, shadow margin included, lets the system drag the window.
    const bool inBand = point.x >= client.left && point.x < client.right && point.y >= 0 &&
                        point.y < m_dpi.Scale(kCaptionHeight);
    return inBand ? HTCAPTION : HTCLIENT;
}

LRESULT CMainDlg::OnSetCursor(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    // Only where a click reaches the buttons: not over the drag band, and not while a
    // modal dialog of the workflow has the window disabled.
    if (LOWORD(lParam) == HTCLIENT && m_mouseList.OnSetCursor(m_hWnd))
        return TRUE;
    handled = FALSE;
    return 0;
}

void CMainDlg::TrackMouseLeave() {
    if (m_trackingMouseLeave)
        return;
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_hWnd, 0};
    m_trackingMouseLeave = TrackMouseEvent(&track) != FALSE;
}

LRESULT CMainDlg::OnMouseMove(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    TrackMouseLeave();
    m_mouseList.OnMouseMove(wParam, lParam, m_hWnd, &m_host);
    return 0;
}

LRESULT CMainDlg::OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&) {
    // The pointer is no longer over the window (it left, or the window was minimised or
    // covered): no button may go on looking hovered.
    m_trackingMouseLeave = false;
    m_mouseList.OnMouseLeave(m_hWnd, &m_host);
    return 0;
}

LRESULT CMainDlg::OnLButtonDown(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    if (!m_mouseList.OnLButtonDown(wParam, lParam, m_hWnd, &m_host) &&
        GET_Y_LPARAM(lParam) < m_dpi.Scale(kCaptionHeight))
        PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, 0);
    return 0;
}

LRESULT CMainDlg::OnLButtonUp(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    m_mouseList.OnLButtonUp(wParam, lParam, m_hWnd, &m_host);
    return 0;
}

LRESULT CMainDlg::OnCaptureChanged(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    m_mouseList.OnCaptureChanged(wParam, lParam, m_hWnd, &m_host);
    return 0;
}

LRESULT CMainDlg::OnDpiChanged(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    // Every element, the hidden exit button too: it shows at the DPI of the moment it is shown.
    ApplyDpiChange(m_hWnd, wParam, lParam, m_dpi, m_host, Elements());
    // WM_DPICHANGED: an application that processes it returns zero.
    return 0;
}

LRESULT CMainDlg::OnDeviceLost(UINT, WPARAM, LPARAM, BOOL&) {
    m_host.RecoverFromDeviceLoss(Elements());
    return 0;
}

std::vector<CSVGSimpleObject*> CMainDlg::Elements() {
    return {&m_background,      &m_logo,      &m_minimizeButton, &m_closeButton,
            &m_uninstallButton, &m_exitButton};
}

LRESULT CMainDlg::OnMinimize(WORD, WORD, HWND, BOOL&) {
    ShowWindow(SW_MINIMIZE);
    return 0;
}

LRESULT CMainDlg::OnClose(WORD, WORD, HWND, BOOL&) {
    EndDialog(kClosedResult);
    return 0;
}

LRESULT CMainDlg::OnUninstall(WORD, WORD, HWND, BOOL&) {
    return RunUninstallWorkflow(*this);
}

LRESULT CMainDlg::OnExit(WORD, WORD, HWND, BOOL&) {
    EndDialog(kExitedResult);
    return 0;
}
