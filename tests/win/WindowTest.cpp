// CWindow's own logic: centring, rectangles mapped with a zero offset, style changes.
#include "Window.h"

#include <gtest/gtest.h>

namespace {

struct Popup : CWindow {
    Popup(RECT r, HWND owner = nullptr, DWORD style = WS_POPUP)
        : CWindow(CreateWindowExW(0, L"STATIC", L"", style, r.left, r.top, r.right - r.left,
                                  r.bottom - r.top, owner, nullptr, nullptr, nullptr)) {}
    ~Popup() { DestroyWindow(); }
};

TEST(Window, CentresOverAVisibleOwnerElseOverTheWorkAreaAndStaysInside) {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT a = monitor.rcWork;
    const LONG midX = (a.left + a.right - 200) / 2, midY = (a.top + a.bottom - 100) / 2;
    enum Owner { None, Shown, Hidden, Minimised };
    const struct {
        Owner owner;
        RECT ownerRect;
        LONG width;
        POINT expected;
    } cases[] = {
        {Shown, {100, 100, 500, 400}, 200, {200, 200}},
        {Hidden, {100, 100, 500, 400}, 200, {midX, midY}},
        {Minimised, {100, 100, 500, 400}, 200, {midX, midY}},
        {None, {}, 200, {midX, midY}},
        {Shown,
         {a.right - 100, a.bottom - 50, a.right + 100, a.bottom + 50},
         200,
         {a.right - 200, a.bottom - 100}},
        {Shown, {a.left - 300, a.top - 200, a.left + 100, a.top + 50}, 200, {a.left, a.top}},
        {None, {}, a.right - a.left + 40, {a.left, midY}}, // wider than the area
    };
    for (const auto& c : cases) {
        Popup owner(c.ownerRect);
        if (c.owner == Shown || c.owner == Minimised)
            owner.ShowWindow(c.owner == Shown ? SW_SHOWNOACTIVATE : SW_MINIMIZE);
        Popup window({5, 5, 5 + c.width, 105}, c.owner == None ? nullptr : owner.m_hWnd);
        ASSERT_TRUE(window.CenterWindow());
        RECT at;
        window.GetWindowRect(&at);
        EXPECT_EQ(at.left, c.expected.x) << "case " << &c - cases;
        EXPECT_EQ(at.top, c.expected.y) << "case " << &c - cases;
    }
}

TEST(Window, MapsRectanglesAlsoWhenTheClientAreaSitsAtTheScreenOrigin) {
    for (const LONG origin : {0, 50}) {
        Popup window({origin, origin, origin + 100, origin + 80});
        RECT r = {60, 70, 90, 100};
        ASSERT_TRUE(window.ScreenToClient(&r));
        EXPECT_EQ(r.left, 60 - origin);
        ASSERT_TRUE(window.ClientToScreen(&r));
        EXPECT_EQ(r.bottom, 100);
    }
}

TEST(Window, ModifiesStylesOnlyWhenSomethingChanges) {
    Popup window({0, 0, 100, 100}, nullptr, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME);
    EXPECT_TRUE(window.ModifyStyle(~0xFF30FFFFu, 0, SWP_FRAMECHANGED));
    EXPECT_EQ(window.GetStyle() & (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME), WS_POPUP);
    EXPECT_FALSE(window.ModifyStyle(~0xFF30FFFFu, 0));
    EXPECT_TRUE(window.ModifyStyleEx(0, WS_EX_COMPOSITED | WS_EX_LAYERED));
    EXPECT_FALSE(window.ModifyStyleEx(0, WS_EX_LAYERED));
}

} // namespace
