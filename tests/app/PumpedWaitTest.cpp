// The workflow's wait for the folder-removal command: the window's messages are handled while
// it waits, it ends when the command does, and not later than its time.
#include "PumpedWait.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

constexpr UINT kPing = WM_APP + 7;

struct Window {
    Window() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam,
                                     LPARAM lParam) -> LRESULT {
            if (message == kPing)
                ++*reinterpret_cast<int*>(GetWindowLongPtrW(window, GWLP_USERDATA));
            return DefWindowProcW(window, message, wParam, lParam);
        };
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"PumpedWaitTest";
        RegisterClassW(&windowClass);
        handle = CreateWindowExW(0, L"PumpedWaitTest", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                 nullptr, windowClass.hInstance, nullptr);
        SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&pings));
    }
    ~Window() { DestroyWindow(handle); }
    HWND handle = nullptr;
    int pings = 0;
};

TEST(PumpedWait, HandlesMessagesUntilTheObjectIsSignalled) {
    Window window;
    ASSERT_NE(window.handle, nullptr);
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    // Messages arrive while the wait goes on, then the command ends.
    std::thread command([&] {
        for (int i = 0; i < 5; ++i) {
            PostMessageW(window.handle, kPing, 0, 0);
            Sleep(40);
        }
        SetEvent(done);
    });
    const bool signalled = WaitPumpingMessages(done, 10000);
    command.join();
    EXPECT_TRUE(signalled);
    EXPECT_EQ(window.pings, 5);

    // Not signalled: the wait ends with its time, and a quit meant for the loop outside is kept.
    ResetEvent(done);
    PostQuitMessage(3);
    EXPECT_FALSE(WaitPumpingMessages(done, 200));
    MSG quit{};
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 3u);
    EXPECT_FALSE(WaitPumpingMessages(done, 100));
    CloseHandle(done);
}

} // namespace
