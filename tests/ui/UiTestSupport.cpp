#include "UiTestSupport.h"

#include <gtest/gtest.h>

namespace UiTest {
namespace {

const wchar_t kOwnerClass[] = L"CorvaneUiTestOwner";

ATOM RegisterOwnerClass() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kOwnerClass;
    return RegisterClassW(&windowClass);
}

} // namespace

OwnerWindow::OwnerWindow() {
    static const ATOM registered = RegisterOwnerClass();
    (void)registered;
    window_ = CreateWindowExW(0, kOwnerClass, L"owner", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    TakeCommands();
}

OwnerWindow::~OwnerWindow() {
    if (GetCapture() == window_)
        ReleaseCapture();
    DestroyWindow(window_);
}

std::vector<int> OwnerWindow::TakeCommands() {
    std::vector<int> ids;
    MSG message;
    while (PeekMessageW(&message, window_, WM_COMMAND, WM_COMMAND, PM_REMOVE)) {
        EXPECT_EQ(HIWORD(message.wParam), 0);
        EXPECT_EQ(message.lParam, 0);
        ids.push_back(LOWORD(message.wParam));
    }
    return ids;
}

} // namespace UiTest
