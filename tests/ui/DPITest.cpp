// CDPI under the display each suite names; CMakeLists.txt runs each suite in its own
// process with that display (LogPixels) and, for SystemAware*, with Shcore hidden.
#include "DPI.h"
#include "SystemLibrary.h"

#include <gtest/gtest.h>

// RECT lives in the global namespace, so its operators must too.
static bool operator==(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}

static std::ostream& operator<<(std::ostream& out, const RECT& r) {
    return out << '{' << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << '}';
}

namespace {

int SystemDpi() {
    HDC dc = GetDC(nullptr);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(nullptr, dc);
    return dpi;
}

bool ShcoreAvailable() {
    return LoadSystemLibrary(L"shcore.dll") != nullptr;
}

// A thread that is not DPI aware reads 96 whatever the display says: a way to make a
// second reading differ from the first.
class UnawareThread {
  public:
    using Context = HANDLE;
    UnawareThread() {
        set_ = reinterpret_cast<Context(WINAPI*)(Context)>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext")));
        if (set_)
            previous_ = set_(reinterpret_cast<Context>(-1)); // DPI_AWARENESS_CONTEXT_UNAWARE
    }
    ~UnawareThread() {
        if (set_ && previous_)
            set_(previous_);
    }
    bool Active() const { return previous_ != nullptr; }

  private:
    Context(WINAPI* set_)(Context) = nullptr;
    Context previous_ = nullptr;
};

class Window {
  public:
    Window()
        : handle_(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 10, 10, 200, 100, nullptr, nullptr,
                                  nullptr, nullptr)) {}
    ~Window() { DestroyWindow(handle_); }
    HWND Handle() const { return handle_; }

  private:
    HWND handle_;
};

struct Conversion {
    int design;
    int at100;
    int at150;
};

// MulDiv rounds halves away from zero: 7.5 -> 8, -7.5 -> -8.
const Conversion kConversions[] = {{330, 330, 495},  {5, 5, 8},
                                   {1, 1, 2},        {3, 3, 5},
                                   {16, 16, 24},     {40, 40, 60},
                                   {0, 0, 0},        {732, 732, 1098},
                                   {432, 432, 648},  {-5, -5, -8},
                                   {200, 200, 300},  {44, 44, 66},
                                   {700, 700, 1050}, {2147483, 2147483, 3221225}};

struct Unscaling {
    int pixels;
    int at150;
};

const Unscaling kUnscalings[] = {{495, 330}, {8, 5}, {1098, 732}, {60, 40},
                                 {1, 1},     {2, 1}, {0, 0},      {-8, -5}};

struct RectScaling {
    RECT design;
    RECT at150;
};

// The four edges are scaled, not origin and size: {5, 5, 10, 10} is not {8, 8, 16, 16}.
const RectScaling kRects[] = {
    {{16, 16, 716, 416}, {24, 24, 1074, 624}},
    {{5, 5, 10, 10}, {8, 8, 15, 15}},
    {{0, 0, 732, 432}, {0, 0, 1098, 648}},
    {{-3, -1, 3, 1}, {-5, -2, 5, 2}},
};

void ExpectConversionsAt(const CDPI& dpi, int percent) {
    ASSERT_TRUE(percent == 100 || percent == 150);
    for (const Conversion& c : kConversions) {
        const int pixels = percent == 100 ? c.at100 : c.at150;
        EXPECT_EQ(dpi.Scale(c.design), pixels) << "Scale(" << c.design << ")";
    }
    for (const Unscaling& u : kUnscalings) {
        const int design = percent == 100 ? u.pixels : u.at150;
        EXPECT_EQ(dpi.Unscale(u.pixels), design) << "Unscale(" << u.pixels << ")";
    }
    // Unscale undoes Scale for every design size the dialogs could state.
    for (int design = -100; design <= 3000; ++design)
        ASSERT_EQ(dpi.Unscale(dpi.Scale(design)), design) << design;

    for (const RectScaling& r : kRects) {
        const RECT expected = percent == 100 ? r.design : r.at150;
        RECT inPlace = r.design;
        dpi.ScaleRect(&inPlace);
        EXPECT_EQ(inPlace, expected) << r.design;

        const RECT source = r.design;
        RECT destination = {-1, -1, -1, -1};
        dpi.ScaleRect(&source, &destination);
        EXPECT_EQ(destination, expected) << r.design;
        EXPECT_EQ(source, r.design);
    }
}

void ExpectDisplay(int systemDpi, bool shcore) {
    ASSERT_EQ(SystemDpi(), systemDpi) << "the test run did not set up the display";
    ASSERT_EQ(ShcoreAvailable(), shcore) << "the test run did not set up Shcore";
}

TEST(DpiAt96, PerMonitorAwareAndConvertsNothing) {
    ExpectDisplay(96, true);
    CDPI dpi;
    dpi.Init();
    EXPECT_EQ(dpi.Mode(), CDPI::PerMonitorAware);
    EXPECT_EQ(dpi.CurrentPercent(), 100);
    EXPECT_EQ(dpi.InitialPercent(), 100);
    ExpectConversionsAt(dpi, 100);
}

TEST(DpiAt144, PerMonitorAwareAtOneAndAHalf) {
    ExpectDisplay(144, true);
    CDPI dpi;
    dpi.Init();
    EXPECT_EQ(dpi.Mode(), CDPI::PerMonitorAware);
    EXPECT_EQ(dpi.CurrentPercent(), 150);
    EXPECT_EQ(dpi.InitialPercent(), 150);
    ExpectConversionsAt(dpi, 150);

    Window window;
    dpi.UpdateForWindow(window.Handle());
    EXPECT_EQ(dpi.CurrentPercent(), 150);
    ExpectConversionsAt(dpi, 150);
}

TEST(DpiAt144, AwarenessFixedBeforehandStillMeansPerMonitor) {
    ExpectDisplay(144, true);
    // As a manifest would: the process is aware before any CDPI exists.
    SetProcessDPIAware();
    auto setAwareness = SystemProc<HRESULT(WINAPI*)(int)>(L"shcore.dll", "SetProcessDpiAwareness");
    ASSERT_NE(setAwareness, nullptr);
    ASSERT_EQ(setAwareness(2), E_ACCESSDENIED);

    CDPI dpi;
    dpi.Init();
    EXPECT_EQ(dpi.Mode(), CDPI::PerMonitorAware);
    EXPECT_EQ(dpi.Scale(330), 495);
}

TEST(DpiAt144, PerMonitorModeFollowsTheLatestReading) {
    ExpectDisplay(144, true);
    CDPI dpi;
    dpi.Init();
    Window window;
    {
        UnawareThread unaware;
        ASSERT_TRUE(unaware.Active());
        dpi.UpdateForWindow(window.Handle());
    }
    EXPECT_EQ(dpi.CurrentPercent(), 100);
    EXPECT_EQ(dpi.InitialPercent(), 150);
    ExpectConversionsAt(dpi, 100);

    dpi.UpdateForWindow(window.Handle());
    EXPECT_EQ(dpi.CurrentPercent(), 150);
    ExpectConversionsAt(dpi, 150);
}

TEST(SystemAwareAt144, KeepsTheFirstReadingForGood) {
    ExpectDisplay(144, false);
    CDPI dpi;
    dpi.Init();
    EXPECT_EQ(dpi.Mode(), CDPI::SystemAware);
    EXPECT_EQ(dpi.InitialPercent(), 150);
    ExpectConversionsAt(dpi, 150);

    Window window;
    {
        UnawareThread unaware;
        ASSERT_TRUE(unaware.Active());
        dpi.UpdateForWindow(window.Handle());
    }
    EXPECT_EQ(dpi.CurrentPercent(), 100);
    EXPECT_EQ(dpi.InitialPercent(), 150);
    ExpectConversionsAt(dpi, 150);
}

} // namespace
