// CDPI under the display each suite names: CMakeLists.txt runs each suite in its own
// process at that DPI (LogPixels) and, for SystemAware*, with Shcore refused to it.
#include "DPI.h"
#include "SystemLibrary.h"

#include <gtest/gtest.h>

namespace {

// MulDiv rounds halves away from zero: 7.5 -> 8, -7.5 -> -8.
const struct {
    int design, at150;
} kScaled[] = {{330, 495}, {5, 8},   {1, 2},      {3, 5},     {16, 24},  {40, 60},
               {0, 0},     {-5, -8}, {732, 1098}, {432, 648}, {200, 300}};
const struct {
    int pixels, at150;
} kUnscaled[] = {{495, 330}, {8, 5}, {1098, 732}, {60, 40}, {1, 1}, {2, 1}, {-8, -5}};
// The four edges are scaled, not origin and size: {5, 5, 10, 10} is not {8, 8, 16, 16}.
const struct {
    RECT design, at150;
} kRects[] = {{{16, 16, 716, 416}, {24, 24, 1074, 624}},
              {{5, 5, 10, 10}, {8, 8, 15, 15}},
              {{-3, -1, 3, 1}, {-5, -2, 5, 2}}};

void ExpectConversionsAt(const CDPI& dpi, int percent) {
    const bool at150 = percent == 150;
    for (const auto& c : kScaled)
        EXPECT_EQ(dpi.Scale(c.design), at150 ? c.at150 : c.design) << c.design;
    for (const auto& c : kUnscaled)
        EXPECT_EQ(dpi.Unscale(c.pixels), at150 ? c.at150 : c.pixels) << c.pixels;
    for (int design = -100; design <= 3000; ++design)
        ASSERT_EQ(dpi.Unscale(dpi.Scale(design)), design);
    for (const auto& c : kRects) {
        const RECT expected = at150 ? c.at150 : c.design;
        RECT inPlace = c.design, copy = {};
        dpi.ScaleRect(&inPlace);
        dpi.ScaleRect(&c.design, &copy);
        EXPECT_TRUE(EqualRect(&inPlace, &expected)) << c.design.right;
        EXPECT_TRUE(EqualRect(&copy, &expected)) << c.design.right;
    }
}

// Checks that the run set the display up as the suite expects, then initialises.
void Init(CDPI& dpi, int systemDpi, bool shcore) {
    HDC screen = GetDC(nullptr);
    ASSERT_EQ(GetDeviceCaps(screen, LOGPIXELSX), systemDpi) << "display not set up";
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(LoadSystemLibrary(L"shcore.dll") != nullptr, shcore) << "Shcore not set up";
    dpi.Init();
}

using DpiContext = HANDLE;
const auto SetThreadDpiContext =
    SystemProc<DpiContext(WINAPI*)(DpiContext)>(L"user32.dll", "SetThreadDpiAwarenessContext");
const DpiContext kUnaware = reinterpret_cast<DpiContext>(-1); // DPI_AWARENESS_CONTEXT_UNAWARE

// A second reading that differs from the first: a thread that is not DPI aware reads 96
// whatever the display.
void UpdateAsUnawareThread(CDPI& dpi) {
    ASSERT_NE(SetThreadDpiContext, nullptr);
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
    const DpiContext previous = SetThreadDpiContext(kUnaware);
    dpi.UpdateForWindow(window);
    SetThreadDpiContext(previous);
    DestroyWindow(window);
}

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// Windows 7 and 8.0 start a process DPI unaware and, above 100 %, show it 96 DPI until it
// calls SetProcessDPIAware. Wine makes every process DPI aware from its start, so the test's
// thread stands in for such a process: unaware (Wine shows it 96 DPI) until the real
// SetProcessDPIAware has made the process aware, and then as aware as the process.
DpiContext g_processContext = nullptr;
BOOL WINAPI SetProcessDPIAwareAsOnWindows7() {
    const BOOL made = CDPI::SystemEntryPoints().setProcessDPIAware();
    SetThreadDpiContext(g_processContext);
    return made;
}

TEST(DpiAt96, PerMonitorAwareAndConvertsNothing) {
    CDPI dpi;
    Init(dpi, 96, true);
    EXPECT_EQ(dpi.Mode(), CDPI::PerMonitorAware);
    EXPECT_EQ(dpi.CurrentPercent(), 100);
    ExpectConversionsAt(dpi, 100);
}

TEST(DpiAt144, AwarenessFixedBeforehandStillMeansPerMonitorAtOneAndAHalf) {
    SetProcessDPIAware(); // as a manifest would, before any CDPI
    auto setAwareness = SystemProc<HRESULT(WINAPI*)(int)>(L"shcore.dll", "SetProcessDpiAwareness");
    ASSERT_NE(setAwareness, nullptr);
    ASSERT_EQ(setAwareness(2), E_ACCESSDENIED);
    CDPI dpi;
    Init(dpi, 144, true);
    EXPECT_EQ(dpi.Mode(), CDPI::PerMonitorAware);
    EXPECT_EQ(dpi.InitialPercent(), 150);
    ExpectConversionsAt(dpi, 150);
}

TEST(DpiAt144, PerMonitorModeFollowsTheLatestReading) {
    CDPI dpi;
    Init(dpi, 144, true);
    UpdateAsUnawareThread(dpi);
    EXPECT_EQ(dpi.CurrentPercent(), 100);
    EXPECT_EQ(dpi.InitialPercent(), 150);
    ExpectConversionsAt(dpi, 100);
}

// WM_DPICHANGED's DPI: conversions follow it in per-monitor mode; one that cannot be read
// counts as 96.
TEST(DpiAt96, TakesTheDpiOfADpiChange) {
    CDPI dpi;
    Init(dpi, 96, true);
    dpi.UpdateForDpiChange(MAKEWPARAM(144, 144));
    EXPECT_EQ(dpi.CurrentPercent(), 150);
    EXPECT_EQ(dpi.InitialPercent(), 100);
    ExpectConversionsAt(dpi, 150);
    dpi.UpdateForDpiChange(0);
    EXPECT_EQ(dpi.CurrentPercent(), 100);
    ExpectConversionsAt(dpi, 100);
}

// Without Shcore the first reading is the desktop's, which a process not yet DPI aware would
// see as 96: it is read once the process is aware.
TEST(SystemAwareAt144, ReadsTheDpiOnceTheProcessIsAware) {
    ASSERT_NE(SetThreadDpiContext, nullptr);
    g_processContext = SetThreadDpiContext(kUnaware);
    ASSERT_EQ(ScreenDpi(), 96) << "the stand-in for DPI virtualization does not work";
    CDPI::EntryPoints entries = CDPI::SystemEntryPoints();
    ASSERT_EQ(entries.getDpiForMonitor, nullptr) << "Shcore not hidden";
    entries.setProcessDPIAware = &SetProcessDPIAwareAsOnWindows7;
    CDPI dpi;
    dpi.Init(entries);
    SetThreadDpiContext(g_processContext);
    EXPECT_EQ(dpi.Mode(), CDPI::SystemAware);
    EXPECT_EQ(dpi.InitialPercent(), 150);
    ExpectConversionsAt(dpi, 150);
}

TEST(SystemAwareAt144, KeepsTheFirstReadingForGood) {
    CDPI dpi;
    Init(dpi, 144, false);
    EXPECT_EQ(dpi.Mode(), CDPI::SystemAware);
    UpdateAsUnawareThread(dpi);
    EXPECT_EQ(dpi.CurrentPercent(), 100);
    EXPECT_EQ(dpi.InitialPercent(), 150);
    ExpectConversionsAt(dpi, 150);
    // A DPI change does not move a system-aware process off its first reading either.
    dpi.UpdateForDpiChange(MAKEWPARAM(96, 96));
    ExpectConversionsAt(dpi, 150);
}

} // namespace
