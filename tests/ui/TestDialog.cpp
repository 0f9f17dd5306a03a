#include "TestDialog.h"

#include "DCompUtil.h"

#include <windowsx.h>

namespace UiTest {
namespace {

const wchar_t kTestDialogClass[] = L"CorvaneUiTestDialog";

ATOM RegisterTestDialogClass(WNDPROC procedure) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kTestDialogClass;
    return RegisterClassW(&windowClass);
}

} // namespace

TestDialog::TestDialog(int x, int y, int width, int height, CDCompUtil* host, CDPI* dpi)
    : host_(host) {
    static const ATOM registered = RegisterTestDialogClass(WindowProc);
    (void)registered;
    window_ = CreateWindowExW(0, kTestDialogClass, L"test dialog", WS_POPUP, x, y, width, height,
                              nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (host_ && window_) {
        host_->m_hWnd = window_;
        host_->m_dpi = dpi;
        host_->CreateDevices();
    }
}

void TestDialog::Show() {
    ShowWindow(window_, SW_SHOWNORMAL);
    UpdateWindow(window_);
    SetForegroundWindow(window_);
}

TestDialog::~TestDialog() {
    if (window_)
        DestroyWindow(window_);
}

POINT TestDialog::ToScreen(int x, int y) const {
    POINT point{x, y};
    ClientToScreen(window_, &point);
    return point;
}

LRESULT CALLBACK TestDialog::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* dialog = reinterpret_cast<TestDialog*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (dialog && dialog->window_ == window) {
        bool handled = false;
        const LRESULT result = dialog->Handle(message, wParam, lParam, &handled);
        if (handled)
            return result;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT TestDialog::Handle(UINT message, WPARAM wParam, LPARAM lParam, bool* handled) {
    *handled = true;
    switch (message) {
    case WM_MOUSEMOVE:
        lastMove_ = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        lastMoveKeys_ = wParam;
        ++mouseMoves_;
        mouseList_.OnMouseMove(wParam, lParam, window_, host_);
        return 0;
    case WM_LBUTTONDOWN:
        ++presses_;
        mouseList_.OnLButtonDown(wParam, lParam, window_, host_);
        return 0;
    case WM_LBUTTONUP:
        ++releases_;
        mouseList_.OnLButtonUp(wParam, lParam, window_, host_);
        return 0;
    case WM_CAPTURECHANGED:
        mouseList_.OnCaptureChanged(wParam, lParam, window_, host_);
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && mouseList_.OnSetCursor(window_))
            return TRUE;
        break;
    case WM_COMMAND:
        commands_.push_back(LOWORD(wParam));
        return 0;
    case WM_PAINT:
        if (!host_)
            break;
        host_->CreateDevices();
        ValidateRect(window_, nullptr);
        host_->Commit();
        return 0;
    case WM_SIZE:
        if (!host_)
            break;
        host_->OnSize(wParam, lParam);
        host_->Commit();
        return 0;
    case WM_ERASEBKGND:
        if (!host_)
            break;
        return 1;
    default:
        break;
    }
    *handled = false;
    return 0;
}

} // namespace UiTest
