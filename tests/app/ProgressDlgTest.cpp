// The progress dialog on its own, as the uninstall workflow fills it, at the display's DPI
// (registered at 100 % and at 150 %): every page its animation presents, the window as
// composed part-way, the end by itself, and its animation thread, which never outlives the page
// and whose absence does not leave the dialog open for ever.
#include "DialogDriver.h"
#include "FrameChecks.h"

#include "DialogLayout.h"
#include "ProgressDlg.h"
#include "RealInput.h"
#include "StandInBackend.h"
#include "Wait.h"
#include "UninstallWorkflow.h"

#include "ui/composition/SoftwareSwapChain.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

using namespace AppTest;
using namespace TestSupport;

constexpr std::uint32_t kOutline = 0x979797, kTrack = 0xD8D8D8, kProgress = 0x14AB4E;
constexpr RECT kBarDesign = DialogLayout::Progress::kBar;
constexpr int kBarLength = DialogLayout::Progress::kBarLength;

// The bar's track in pixels, and its middle row.
struct Bar {
    int left, right, top, middle;
    explicit Bar(const CDPI& dpi)
        : left(dpi.Scale(kBarDesign.left)), right(left + dpi.Scale(kBarLength)),
          top(dpi.Scale(kBarDesign.top)),
          middle(top + dpi.Scale(kBarDesign.bottom - kBarDesign.top) / 2) {}
};

// What one page shows: title and status line inked, and on the bar's middle row the green part
// [greenFrom, greenTo) without a gap, then from one pixel after it the track's colour.
struct PageLook {
    bool title, status;
    int greenFrom = -1, greenTo = -1;
    bool greenWhole = true, trackAfter = true;
};

PageLook LookOf(const Frame& page, const CDPI& dpi) {
    PageLook look;
    look.title = InkIn(page, Scaled(dpi, DialogLayout::Progress::kTitle), kWhite).closest <= 24;
    look.status =
        InkIn(page, Scaled(dpi, DialogLayout::Progress::kStatus), Blend(kWhite, 0.7, kPageColour))
            .closest <= 24;
    const Bar bar(dpi);
    int greens = 0;
    for (int x = bar.left - 2; x < bar.right + 2; ++x) {
        if (Distance(page.At(x, bar.middle), kProgress) <= 6) {
            ++greens;
            look.greenFrom = look.greenFrom < 0 ? x : look.greenFrom;
            look.greenTo = x + 1;
        }
    }
    look.greenWhole = greens == look.greenTo - look.greenFrom;
    for (int x = std::max(look.greenTo, bar.left) + 1; x < bar.right; ++x)
        look.trackAfter = look.trackAfter && Distance(page.At(x, bar.middle), kTrack) <= 3;
    return look;
}

const Composition::PresentedPage* PagesOf(const CProgressPage& page) {
    auto swapChain = CompositionTest::SoftwareSwapChainBehind(page.SwapChain());
    return swapChain ? swapChain->Shown().get() : nullptr;
}

// Sees the page presented before the animation, the animation's thread and the first page it
// presents; or refuses the thread.
class TestProgressDlg : public Testable<CDXGIProgressDlg> {
  public:
    bool refuseThread = false;
    std::shared_ptr<const Frame> firstPage, firstThreadPage;
    std::uint64_t firstVersion = 0, firstThreadVersion = 0;
    HANDLE thread = nullptr;

  protected:
    bool StartAnimation() override {
        if (const Composition::PresentedPage* pages = PagesOf(Page()))
            firstPage = pages->Current(&firstVersion);
        if (refuseThread)
            return false;
        const bool started = CDXGIProgressDlg::StartAnimation();
        thread = OpenThread(SYNCHRONIZE, FALSE, Page().AnimationThreadId());
        // The thread's first page is shown for one frame period (about 17 ms).
        if (const Composition::PresentedPage* pages = started ? PagesOf(Page()) : nullptr) {
            WaitUntil([&] { return pages->Version() >= 2; }, 2000);
            firstThreadPage = pages->Current(&firstThreadVersion);
        }
        return started;
    }
};

class ProgressDlgTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(RealInput::Available()) << "run through run_with_input.sh";
        FillRemovalProgress(*dialog_);
    }
    // Destroys the dialog; true if its animation thread had ended by then.
    bool ThreadEndedWithTheDialog() {
        const HANDLE thread = dialog_->thread;
        dialog_.reset();
        const bool ended = thread && WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
        if (thread)
            CloseHandle(thread);
        return ended;
    }

    std::unique_ptr<TestProgressDlg> dialog_ = std::make_unique<TestProgressDlg>();
};

// One presented frame per pixel of the bar: the first (before the thread) with the title only,
// every later one with the status line and a green part one pixel longer, from the bar's left
// edge. Part-way the window shows the page, bar and corners; a press on the background changes
// nothing. The dialog closes itself with 1.
TEST_F(ProgressDlgTest, FillsTheBarFrameByFrameAndClosesItself) {
    struct Sample {
        std::uint64_t version;
        ULONGLONG milliseconds;
        PageLook look;
    };
    std::vector<Sample> samples;
    const INT_PTR result = RunScripted(*dialog_, [&](Driver& d) {
        const CDPI& dpi = d.dpi;
        const Bar bar(dpi);
        const Composition::PresentedPage* pages = PagesOf(dialog_->Page());
        ASSERT_NE(pages, nullptr);
        const POINT background{dpi.Scale(300), dpi.Scale(40)};
        ASSERT_TRUE(d.MoveTo(background));
        bool pressed = false, composed = false;
        for (std::uint64_t version = 0; d.IsOpen(); Sleep(1)) {
            const std::shared_ptr<const Frame> page = pages->Current(&version);
            if (page && version >= 2 && (samples.empty() || samples.back().version != version))
                samples.push_back({version, GetTickCount64(), LookOf(*page, dpi)});
            if (!pressed && version > 30) {
                pressed = true;
                RECT before{}, after{};
                GetWindowRect(d.Window(), &before);
                bool captured = false;
                ASSERT_TRUE(d.Press());
                d.OnDialogThread([&] { captured = GetCapture() == d.Window(); });
                ASSERT_TRUE(d.MoveTo({background.x + dpi.Scale(30), background.y + dpi.Scale(20)}));
                ASSERT_TRUE(d.Release());
                GetWindowRect(d.Window(), &after);
                EXPECT_TRUE(captured);
                EXPECT_EQ(after, before) << "the window moved";
            }
            if (!composed && version > static_cast<std::uint64_t>(dpi.Scale(kBarLength) / 2)) {
                composed = true;
                const Frame frame = d.ShownFrame();
                d.SaveFrame(frame, L"progress-dialog");
                ExpectPage(frame, dpi,
                           {DialogLayout::Progress::kWidth, DialogLayout::Progress::kHeight},
                           {{200, 115}, {300, 40}});
                EXPECT_LE(Distance(frame.At(bar.left + 1, bar.middle), kProgress), 1);
                EXPECT_LE(Distance(frame.At(bar.right - 2, bar.middle), kTrack), 1);
                // The one-pixel outline on the track's edge shows in the pixel outside it,
                // whole (a renderer that does not smooth edges) or half (one that does).
                for (const POINT& p :
                     {POINT{bar.left - 1, bar.middle}, POINT{bar.right - 2, bar.top - 1}}) {
                    const std::uint32_t shown = frame.At(p.x, p.y);
                    EXPECT_TRUE(Distance(shown, kOutline) <= 2 ||
                                Distance(shown, Blend(kOutline, 0.5, kPageColour)) <= 8)
                        << "outline at " << p.x << "," << p.y << ": " << Hex(shown);
                }
            }
        }
    });
    EXPECT_EQ(result, 1);

    const CDPI& dpi = dialog_->m_dpi;
    const int limit = dpi.Scale(kBarLength);
    EXPECT_EQ(limit, dpi.Scale(100) == 150 ? 495 : 330);
    std::uint64_t presented = 0;
    PagesOf(dialog_->Page())->Current(&presented);
    EXPECT_EQ(presented, 1u + limit);
    EXPECT_EQ(dialog_->Page().Current(), limit);

    // The first page: the title, no status line, no green. The thread's first: both texts
    // and one green pixel (its right edge at 31 at 100 %).
    const Bar bar(dpi);
    ASSERT_TRUE(dialog_->firstPage && dialog_->firstThreadPage);
    EXPECT_EQ(dialog_->firstVersion, 1u);
    const PageLook first = LookOf(*dialog_->firstPage, dpi);
    EXPECT_TRUE(first.title && !first.status && first.greenFrom < 0 && first.trackAfter);
    EXPECT_EQ(dialog_->firstThreadVersion, 2u);
    samples.insert(samples.begin(),
                   {dialog_->firstThreadVersion, 0, LookOf(*dialog_->firstThreadPage, dpi)});
    EXPECT_EQ(samples.front().look.greenTo, dpi.Scale(100) == 100 ? 31 : bar.left + 1);

    ASSERT_GT(samples.size(), static_cast<size_t>(limit / 4)) << "too few pages seen";
    for (const Sample& sample : samples) {
        const PageLook& look = sample.look;
        SCOPED_TRACE(testing::Message() << "frame " << sample.version);
        EXPECT_TRUE(look.title && look.status && look.greenWhole && look.trackAfter);
        EXPECT_EQ(look.greenFrom, bar.left);
        EXPECT_EQ(look.greenTo, bar.left + static_cast<int>(sample.version) - 1);
    }
    // The compositor's pace: a figure to look at, not a test.
    const Sample &from = samples[1], &to = samples.back();
    const double seconds = (to.milliseconds - from.milliseconds) / 1000.0;
    std::printf("frames %d to %d in %.2f s: %.1f a second\n", static_cast<int>(from.version),
                static_cast<int>(to.version), seconds, (to.version - from.version) / seconds);
    EXPECT_TRUE(ThreadEndedWithTheDialog()) << "the animation thread outlived the dialog";
}

// A dialog ended while its bar still runs: the page stops its thread and waits for it.
TEST_F(ProgressDlgTest, EndedEarlyTheThreadStopsBeforeThePageDies) {
    const INT_PTR result = RunScripted(*dialog_, [&](Driver& d) {
        const Composition::PresentedPage* pages = PagesOf(dialog_->Page());
        ASSERT_NE(pages, nullptr);
        WaitUntil([&] { return pages->Version() >= 30; }, 10000);
        d.OnDialogThread([&] { EndDialog(d.Window(), 7); });
    });
    EXPECT_EQ(result, 7);
    EXPECT_TRUE(dialog_->Page().Running()) << "the bar had ended already: nothing was tested";
    EXPECT_LT(dialog_->Page().Current(), dialog_->m_dpi.Scale(kBarLength));
    EXPECT_TRUE(ThreadEndedWithTheDialog()) << "the animation thread outlived the dialog";
}

// Moved part-way to a monitor of another DPI (to 150 % from 100 %, to 100 % from 150 %): the
// bar goes on from the share of the track it had, to the end of the track at the new DPI, on a
// page of the new size, and the dialog still closes itself.
TEST_F(ProgressDlgTest, GoesOnAtTheNewDpiAfterADpiChange) {
    int newPercent = 0, percentBefore = -1, percentAfter = -1;
    const INT_PTR result = RunScripted(*dialog_, [&](Driver& d) {
        const Composition::PresentedPage* pages = PagesOf(dialog_->Page());
        ASSERT_NE(pages, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return pages->Version() >= 100; }, 10000));
        const int oldPercent = d.dpi.Scale(100);
        newPercent = oldPercent == 100 ? 150 : 100;
        RECT window{};
        GetWindowRect(d.Window(), &window);
        const RECT suggested{
            window.left, window.top,
            window.left + MulDiv(window.right - window.left, newPercent, oldPercent),
            window.top + MulDiv(window.bottom - window.top, newPercent, oldPercent)};
        const WORD newDpi = static_cast<WORD>(MulDiv(96, newPercent, 100));
        d.OnDialogThread([&] {
            percentBefore = dialog_->Page().DrawnPercent();
            SendMessageW(d.Window(), WM_DPICHANGED, MAKEWPARAM(newDpi, newDpi),
                         reinterpret_cast<LPARAM>(&suggested));
            percentAfter = dialog_->Page().DrawnPercent();
        });
        EXPECT_TRUE(dialog_->Page().Running()) << "the bar had ended already: nothing was tested";
        EXPECT_TRUE(d.WaitForEnd(20000)) << "the dialog did not close itself";
    });
    EXPECT_EQ(result, 1);
    EXPECT_NEAR(percentAfter, percentBefore, 1) << "the bar jumped";
    const CDPI& dpi = dialog_->m_dpi;
    EXPECT_EQ(dpi.Scale(100), newPercent);
    EXPECT_EQ(dialog_->Page().Current(), MulDiv(kBarLength, newPercent, 100));
    EXPECT_EQ(dialog_->Page().SwapChainWidth(),
              MulDiv(DialogLayout::Progress::kWidth, newPercent, 100));
    EXPECT_EQ(dialog_->Page().SwapChainHeight(),
              MulDiv(DialogLayout::Progress::kHeight, newPercent, 100));
    EXPECT_TRUE(ThreadEndedWithTheDialog()) << "the animation thread outlived the dialog";
}

// Without its thread nothing would ever end the dialog: it ends at once, unshown, with 1.
TEST_F(ProgressDlgTest, EndsAtOnceWhenItsThreadCannotStart) {
    dialog_->refuseThread = true;
    dialog_->record.safetyMs = 10000;
    bool shown = false;
    EXPECT_EQ(RunScripted(*dialog_, [&](Driver&) { shown = true; }), 1);
    EXPECT_FALSE(shown);
    EXPECT_NE(dialog_->firstPage, nullptr);
    EXPECT_FALSE(dialog_->Page().Running());
}

// On DirectComposition the UI thread and the animation thread draw over one Direct3D device:
// the page's factory is multithreaded, and each frame with its present is drawn inside
// Direct2D's lock (ID2D1Multithread), so while another thread holds the lock nothing is
// presented. (DirectComposition stands in as the software compositor under Wine.)
TEST_F(ProgressDlgTest, FramesAreDrawnInsideDirect2DsLockOnDirectComposition) {
    CompositionTest::StandInBackend directComposition(CompositionTest::StandInPlan{true});
    ULONGLONG heldFor = 0;
    std::uint64_t before = 0, after = 0, later = 0;
    const INT_PTR result = RunScripted(*dialog_, [&](Driver& d) {
        const Composition::PresentedPage* pages = PagesOf(dialog_->Page());
        ASSERT_NE(pages, nullptr);
        Microsoft::WRL::ComPtr<ID2D1Multithread> lock;
        ASSERT_TRUE(d.OnDialogThread([&] {
            if (ID2D1Factory* factory = dialog_->Host().D2DFactory())
                factory->QueryInterface(IID_PPV_ARGS(&lock));
        }));
        ASSERT_NE(lock, nullptr);
        EXPECT_TRUE(lock->GetMultithreadProtected());
        ASSERT_TRUE(WaitUntil([&] { return pages->Version() >= 5; }, 5000));
        lock->Enter();
        const ULONGLONG start = GetTickCount64();
        before = pages->Version();
        Sleep(300);
        after = pages->Version();
        heldFor = GetTickCount64() - start;
        lock->Leave();
        WaitUntil([&] { return pages->Version() > after; }, 3000);
        later = pages->Version();
        EXPECT_TRUE(d.WaitForEnd(30000));
    });
    EXPECT_GE(heldFor, 250u);
    EXPECT_EQ(after, before) << "pages were presented while another thread held the lock";
    EXPECT_GT(later, after) << "the animation did not go on";
    EXPECT_EQ(result, CDXGIProgressDlg::kFinished);
}

} // namespace
