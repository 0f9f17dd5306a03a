#include "TestDialog.h"

#include "DCompUtil.h"

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
    record_.window = window_;
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

LRESULT CALLBACK TestDialog::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* dialog = reinterpret_cast<TestDialog*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!dialog || dialog->window_ != window)
        return DefWindowProcW(window, message, wParam, lParam);
    LRESULT result = 0;
    if (dialog->record_.Before(window, message, wParam, lParam, &result))
        return result;
    bool handled = false;
    result = dialog->Handle(message, wParam, lParam, &handled);
    if (!handled)
        result = DefWindowProcW(window, message, wParam, lParam);
    dialog->record_.After(window, message, lParam);
    return result;
}

LRESULT TestDialog::Handle(UINT message, WPARAM wParam, LPARAM lParam, bool* handled) {
    *handled = true;
    switch (message) {
    case WM_MOUSEMOVE:
        mouseList_.OnMouseMove(wParam, lParam, window_, host_);
        return 0;
    case WM_LBUTTONDOWN:
        mouseList_.OnLButtonDown(wParam, lParam, window_, host_);
        return 0;
    case WM_LBUTTONUP:
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
        return 0; // recorded
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
