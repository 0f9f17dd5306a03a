// Swap chains of the software compositor: a page presented from a second thread shows without
// a commit, a presentation loop runs at the compositor's pace, and the UI thread never has to
// serve the presenting thread (it may even wait for it without handling messages).
#include "Colours.h"
#include "CompositionTestSupport.h"
#include "Wait.h"

#include "win/SystemLibrary.h"

#include <gtest/gtest.h>
#include <wrl/client.h>

#include <process.h>

#include <vector>

using Microsoft::WRL::ComPtr;
using namespace CompositionTest;
using namespace TestSupport;

namespace {

constexpr int kPageWidth = 120;
constexpr int kPageHeight = 60;
constexpr int kPageX = 500;
constexpr int kPageY = 300;

HRESULT CreateOwnFactory(ID2D1Factory** factory) {
    using Create = HRESULT(WINAPI*)(D2D1_FACTORY_TYPE, REFIID, const D2D1_FACTORY_OPTIONS*, void**);
    static const auto create = SystemProc<Create>(L"d2d1.dll", "D2D1CreateFactory");
    if (!create)
        return E_NOTIMPL;
    return create(D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory), nullptr,
                  reinterpret_cast<void**>(factory));
}

// What the animation thread of a page does: frames drawn with its own factory, presented.
struct Presenter {
    Composition::SwapChain* swapChain;
    std::vector<std::uint32_t> colours; // one frame each
    HRESULT result = E_FAIL;
    double seconds = 0;

    static unsigned __stdcall Run(void* self) {
        static_cast<Presenter*>(self)->Present();
        return 0;
    }
    void Present() {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        ComPtr<ID2D1Factory> factory;
        result = CreateOwnFactory(&factory);
        LARGE_INTEGER frequency, start, end;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&start);
        for (std::uint32_t colour : colours) {
            if (FAILED(result))
                break;
            ComPtr<ID2D1RenderTarget> target;
            result = swapChain->CreateFrameTarget(factory.Get(), &target);
            if (FAILED(result))
                break;
            target->BeginDraw();
            target->Clear(D2D1::ColorF(colour));
            // The page draws in pixels: a 10 x 10 marker at its bottom-right corner.
            ComPtr<ID2D1SolidColorBrush> brush;
            target->CreateSolidColorBrush(D2D1::ColorF(0xFFFFFF), &brush);
            target->FillRectangle(
                D2D1::RectF(kPageWidth - 10, kPageHeight - 10, kPageWidth, kPageHeight),
                brush.Get());
            result = target->EndDraw();
            if (SUCCEEDED(result))
                result = swapChain->Present();
        }
        QueryPerformanceCounter(&end);
        seconds = static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart;
        factory.Reset();
        CoUninitialize();
    }
};

HANDLE Start(Presenter* presenter) {
    return reinterpret_cast<HANDLE>(
        _beginthreadex(nullptr, 0, &Presenter::Run, presenter, 0, nullptr));
}

class SwapChainPage : public testing::Test {
  protected:
    void SetUp() override {
        window_ = std::make_unique<HostWindow>(80, 80, 732, 432);
        Composition::Device& device = window_->Device();
        ASSERT_EQ(device.CreateSwapChain(kPageWidth, kPageHeight, &swapChain_), S_OK);
        ASSERT_EQ(device.CreateVisual(&visual_), S_OK);
        visual_->SetOffsetX(kPageX);
        visual_->SetOffsetY(kPageY);
        visual_->SetContent(swapChain_);
        window_->Host().RootVisual()->AddVisual(visual_);
        before_ = window_->CommitAndRead();
    }
    std::uint32_t Shown(int x, int y) { return window_->Read().At(kPageX + x, kPageY + y); }
    bool Shows(std::uint32_t rgb) {
        return Shown(5, 5) == (0xFF000000u | rgb) &&
               Shown(kPageWidth - 1, kPageHeight - 1) == 0xFFFFFFFFu;
    }

    std::unique_ptr<HostWindow> window_;
    std::shared_ptr<Composition::SwapChain> swapChain_;
    std::shared_ptr<Composition::Visual> visual_;
    Composition::Pixels before_;
};

TEST_F(SwapChainPage, PresentFromASecondThreadShowsWithoutACommit) {
    // Nothing presented yet: nothing of the page shows.
    EXPECT_EQ(before_.At(kPageX + 5, kPageY + 5), before_.At(kPageX - 5, kPageY + 5));

    Presenter presenter{swapChain_.get(), {0x2F3131, 0x00D766}};
    HANDLE thread = Start(&presenter);
    ASSERT_TRUE(thread);
    ASSERT_TRUE(PumpUntilSignalled(thread, 20000));
    CloseHandle(thread);
    ASSERT_EQ(presenter.result, S_OK);
    // The UI thread's message loop shows the newest page; nobody commits.
    EXPECT_TRUE(PumpUntil([&] { return Shows(0x00D766); }, 2000))
        << Hex(Shown(5, 5)) << " " << Hex(Shown(kPageWidth - 1, kPageHeight - 1));
    // Exactly at the visual's offset: the pixel before the page is the frame's own.
    EXPECT_EQ(window_->Read().At(kPageX - 1, kPageY + 5), before_.At(kPageX - 1, kPageY + 5));
}

TEST_F(SwapChainPage, PresentLoopRunsAtTheCompositorsPaceAndNeverWaitsForTheUIThread) {
    Presenter presenter{swapChain_.get(), {}};
    for (int i = 0; i < 30; ++i)
        presenter.colours.push_back(i % 2 ? 0x102030 : 0x405060);
    HANDLE thread = Start(&presenter);
    ASSERT_TRUE(thread);
    // As a dialog joining its animation thread: this thread handles no message meanwhile.
    const DWORD waited = WaitForSingleObject(thread, 20000);
    CloseHandle(thread);
    ASSERT_EQ(waited, WAIT_OBJECT_0) << "the presenting thread waited for the UI thread";
    ASSERT_EQ(presenter.result, S_OK);
    // Thirty presents span at least twenty-nine frame periods of 1/60 s.
    EXPECT_GE(presenter.seconds, 29.0 / 60.0 * 0.98);
    // The last page shows as soon as the UI thread gets to its messages.
    EXPECT_TRUE(PumpUntil([&] { return Shows(0x102030); }, 2000)) << Hex(Shown(5, 5));
}

TEST_F(SwapChainPage, PagesOfAHiddenVisualDoNotShow) {
    window_->Host().RootVisual()->RemoveVisual(visual_);
    const Composition::Pixels hidden = window_->CommitAndRead();
    Presenter presenter{swapChain_.get(), {0xFF00FF}};
    HANDLE thread = Start(&presenter);
    ASSERT_TRUE(thread);
    ASSERT_TRUE(PumpUntilSignalled(thread, 20000));
    CloseHandle(thread);
    ASSERT_EQ(presenter.result, S_OK);
    PumpFor(100);
    EXPECT_TRUE(window_->Read().data == hidden.data);
    // Shown again, the page presented meanwhile appears with the commit.
    window_->Host().RootVisual()->AddVisual(visual_);
    window_->CommitAndRead();
    EXPECT_TRUE(Shows(0xFF00FF)) << Hex(Shown(5, 5));
}

} // namespace
