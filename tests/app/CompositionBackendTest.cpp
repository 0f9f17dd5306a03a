// The three windows on either composition backend. DirectComposition cannot run under Wine
// (DCompositionCreateDevice2 answers E_NOTIMPL), so a stand-in takes its place through the
// toolkit's seams (StandInBackend.h): chosen for new windows as DirectComposition would be, it
// hands every call on to the software compositor, and fails the step a test names.
//  - WS_EX_NOREDIRECTIONBITMAP, which only CreateWindowEx can give, is on the windows
//    DirectComposition draws from their creation, and never on the software compositor's
//    layered windows.
//  - Whatever step of DirectComposition fails, the window the user sees is the software
//    compositor's, made anew before anything showed, with every pixel as in a normal run.
//  - A device lost once (DXGI_ERROR_DEVICE_REMOVED from a Commit, D2DERR_RECREATE_TARGET from
//    an EndDraw, DXGI_ERROR_DEVICE_RESET from a Present, on the UI thread or the progress
//    page's animation thread) leaves no blank window: new devices, a new tree, everything drawn
//    again, once per loss.
#include "ThreeWindows.h"

#include "StandInBackend.h"

#include <gtest/gtest.h>

#include <d2derr.h>
#include <dxgi.h>

namespace {

using namespace AppTest;
using namespace TestSupport;
using CompositionTest::StandInBackend;
using CompositionTest::StandInPlan;
using CompositionTest::Step;

constexpr LONG_PTR kNoRedirectionBitmap = 0x00200000;

const WindowsShown& NormalRun() {
    static const WindowsShown normal = ShowAllThree();
    return normal;
}

TEST(CompositionBackend, RedirectionBitmapOnlyWhereTheSoftwareCompositorDraws) {
    const WindowsShown& normal = NormalRun();
    for (const WindowShown* shown : {&normal.main, &normal.question, &normal.progress}) {
        EXPECT_EQ(shown->exStyle & kNoRedirectionBitmap, 0);
        EXPECT_NE(shown->exStyle & WS_EX_LAYERED, 0);
        EXPECT_EQ(shown->initDialogs, 1);
    }

    StandInBackend directComposition(StandInPlan{true});
    const WindowsShown composed = ShowAllThree();
    const StandInBackend::Counts seen = directComposition.Seen();
    ASSERT_EQ(seen.targetWindows.size(), 3u) << "one window each";
    for (LONG_PTR exStyle : seen.targetExStyles)
        EXPECT_NE(exStyle & kNoRedirectionBitmap, 0) << "missing when the window was made";
    for (const WindowShown* shown : {&composed.main, &composed.question, &composed.progress}) {
        EXPECT_NE(shown->exStyle & kNoRedirectionBitmap, 0);
        EXPECT_EQ(shown->initDialogs, 1);
    }
}

struct FailingStep {
    const char* window;
    Step step;
};
void PrintTo(const FailingStep& c, std::ostream* out) {
    *out << c.window << "/" << CompositionTest::StepName(c.step);
}

class FailedDirectComposition : public ::testing::TestWithParam<FailingStep> {};

TEST_P(FailedDirectComposition, ShowsTheSoftwareCompositorsWindow) {
    const FailingStep& c = GetParam();
    const WindowsShown& normal = NormalRun();
    StandInBackend directComposition(StandInPlan{true, c.step, E_FAIL, 1});
    const std::string window = c.window;
    const WindowShown shown = window == "main"       ? ShowMainWindow()
                              : window == "question" ? ShowQuestion()
                                                     : ShowProgress();
    const WindowShown& expected = window == "main"       ? normal.main
                                  : window == "question" ? normal.question
                                                         : normal.progress;
    const StandInBackend::Counts seen = directComposition.Seen();
    EXPECT_EQ(seen.failed, 1) << "the step was never reached";
    EXPECT_EQ(seen.devicesMade, 1) << "the second run took DirectComposition again";
    EXPECT_EQ(shown.initDialogs, 2) << "not made again";
    EXPECT_EQ(shown.exStyle & kNoRedirectionBitmap, 0);
    EXPECT_NE(shown.exStyle & WS_EX_LAYERED, 0);
    ExpectSameFrame(expected.frame, shown.frame, c.window);
}

INSTANTIATE_TEST_SUITE_P(EachStep, FailedDirectComposition,
                         ::testing::Values(FailingStep{"main", Step::CreateDevice},
                                           FailingStep{"main", Step::CreateTarget},
                                           FailingStep{"main", Step::CreateVisual},
                                           FailingStep{"main", Step::CreateSurface},
                                           FailingStep{"main", Step::BeginDraw},
                                           FailingStep{"question", Step::CreateSwapChain},
                                           FailingStep{"question", Step::BeginDraw},
                                           FailingStep{"progress", Step::CreateSwapChain}));

struct LostDevice {
    const char* window;
    bool asDirectComposition;
    Step step;
    HRESULT answer;
    int times; // calls that report the one loss
    int after; // calls that go through first
};
void PrintTo(const LostDevice& c, std::ostream* out) {
    *out << c.window << "/" << CompositionTest::StepName(c.step);
}

WindowShown Show(const std::string& window, std::shared_ptr<const Frame>* last = nullptr) {
    return window == "main"       ? ShowMainWindow()
           : window == "question" ? ShowQuestion()
                                  : ShowProgress(nullptr, last);
}

class DeviceLoss : public ::testing::TestWithParam<LostDevice> {};

TEST_P(DeviceLoss, NewDevicesAndEverythingDrawnAgainOnce) {
    const LostDevice& c = GetParam();
    WindowShown expected;
    std::shared_ptr<const Frame> expectedLast;
    {
        StandInBackend same(StandInPlan{c.asDirectComposition});
        expected = Show(c.window, &expectedLast);
    }
    StandInBackend losing(StandInPlan{c.asDirectComposition, c.step, c.answer, c.times, c.after});
    std::shared_ptr<const Frame> last;
    const WindowShown shown = Show(c.window, &last);
    const StandInBackend::Counts seen = losing.Seen();
    EXPECT_EQ(seen.failed, c.times) << "the loss was not reported";
    ASSERT_EQ(seen.devicesMade, 2) << "one new device for the one loss";
    EXPECT_NE(seen.sets[1], seen.sets[0]) << "the lost set was used again";
    EXPECT_TRUE(seen.sets[0]->Lost());
    EXPECT_FALSE(seen.sets[1]->Lost());
    EXPECT_EQ(shown.initDialogs, 1) << "a lost device is no reason to make the window again";
    ExpectSameFrame(expected.frame, shown.frame, c.window);
    if (expectedLast) {
        ASSERT_NE(last, nullptr);
        ExpectSameFrame(*expectedLast, *last, "the progress page with the bar full");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Once, DeviceLoss,
    ::testing::Values(
        LostDevice{"main", false, Step::Commit, DXGI_ERROR_DEVICE_REMOVED, 1, 0},
        LostDevice{"main", true, Step::EndDraw, static_cast<HRESULT>(D2DERR_RECREATE_TARGET), 1, 0},
        // The page's and both buttons' first frames: three reports of one loss.
        LostDevice{"question", false, Step::Present, DXGI_ERROR_DEVICE_RESET, 3, 0},
        // Part-way through the animation, on its thread.
        LostDevice{"progress", false, Step::Present, DXGI_ERROR_DEVICE_REMOVED, 1, 100}));

} // namespace
