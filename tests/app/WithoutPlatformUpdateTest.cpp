// The uninstaller's three windows on a Windows 7 SP1 without its Platform Update, which lacks
// D2D1CreateDevice and IDXGIFactory2 (and Direct2D 1.1 with them): with both refused, as that
// system refuses them, the main window and both dialogs show exactly the pixels of a normal
// run. Neither run makes a Direct3D device: the software compositor draws without one.
#include "DialogDriver.h"
#include "FrameChecks.h"
#include "MainDlgLayout.h"

#include "GraphicsEntryPoints.h"
#include "MsgDlg.h"
#include "ProgressDlg.h"
#include "UninstallWorkflow.h"

#include "ui/composition/SoftwareDevice.h"
#include "ui/composition/SoftwareSwapChain.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

namespace {

using namespace AppTest;

std::atomic<int> g_direct3DDevices{0};

HRESULT CountedD3D11CreateDevice(D3D_DRIVER_TYPE driver, UINT flags,
                                 const D3D_FEATURE_LEVEL* levels, UINT count,
                                 ID3D11Device** device) {
    ++g_direct3DDevices;
    return Graphics::System::CreateD3D11Device(driver, flags, levels, count, device);
}

HRESULT MissingD2D1CreateDevice(IDXGIDevice*, ID2D1Device**) {
    return HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
}

HRESULT NoDXGIFactory2(IDXGIAdapter*, IDXGIFactory2** factory) {
    *factory = nullptr;
    return E_NOINTERFACE;
}

// The progress dialog that keeps the page it showed first (before its animation) and its last
// page, and the window as composed when the animation had ended.
class ShownProgress : public Testable<CDXGIProgressDlg> {
  public:
    std::shared_ptr<const Frame> firstPage, lastPage;
    Frame lastWindow;

    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result, DWORD mapId = 0) override {
        if (message == CProgressPage::kAnimationDoneMessage) {
            if (const Composition::PresentedPage* pages = Pages())
                lastPage = pages->Current(nullptr);
            if (auto* device =
                    dynamic_cast<Composition::SoftwareDevice*>(Host().CompositionDevice()))
                device->ReadLastFrame(window, &lastWindow);
        }
        return Testable<CDXGIProgressDlg>::ProcessWindowMessage(window, message, wParam, lParam,
                                                                result, mapId);
    }

  protected:
    bool StartAnimation() override {
        if (const Composition::PresentedPage* pages = Pages())
            firstPage = pages->Current(nullptr);
        return CDXGIProgressDlg::StartAnimation();
    }

  private:
    const Composition::PresentedPage* Pages() const {
        auto swapChain =
            std::dynamic_pointer_cast<Composition::SoftwareSwapChain>(Page().SwapChain());
        return swapChain ? swapChain->Shown().get() : nullptr;
    }
};

struct WindowsShown {
    Frame main, question, progressWindow;
    std::shared_ptr<const Frame> progressFirst, progressLast;
};

bool CaptionsDrawn(const Frame& frame, const CDPI& dpi) {
    for (const RECT& button : {RECT{202, 114, 280, 154}, RECT{292, 114, 370, 154}}) {
        if (InkIn(frame, Scaled(dpi, button), 0x00D766).closest > 12)
            return false;
    }
    return true;
}

WindowsShown ShowAllThree() {
    WindowsShown shown;
    Testable<CMainDlg> main;
    RunMainWindow(main, [&](Driver& d, const MainWindowLayout& layout) {
        shown.main = CardShowing(d, layout, {});
        Click(d, layout.CentreOf("close"));
    });

    Testable<CDXGIMsgDlg> question;
    FillForceRemovalQuestion(question);
    RunScripted(question, [&](Driver& d) {
        ASSERT_TRUE(d.MoveTo({d.dpi.Scale(100), d.dpi.Scale(140)}));
        shown.question = d.ShownFrame([&](const Frame& f) { return CaptionsDrawn(f, d.dpi); });
        Click(d, {d.dpi.Scale(330), d.dpi.Scale(134)});
    });

    ShownProgress progress;
    FillRemovalProgress(progress);
    RunScripted(progress, [&](Driver& d) { EXPECT_TRUE(d.WaitForEnd(30000)); });
    shown.progressWindow = progress.lastWindow;
    shown.progressFirst = progress.firstPage;
    shown.progressLast = progress.lastPage;
    return shown;
}

void ExpectSame(const Frame& normal, const Frame& without, const char* what) {
    ASSERT_GT(normal.width, 0) << what << ": nothing shown in the normal run";
    ASSERT_EQ(without.width, normal.width) << what;
    ASSERT_EQ(without.height, normal.height) << what;
    int different = 0;
    for (size_t i = 0; i < normal.data.size(); ++i)
        different += normal.data[i] != without.data[i];
    EXPECT_EQ(different, 0) << what;
}

TEST(WithoutPlatformUpdate, TheThreeWindowsLookAsInANormalRun) {
    Graphics::EntryPointSeams& seams = Graphics::Seams();
    const Graphics::EntryPointSeams saved = seams;
    seams.createD3D11Device = &CountedD3D11CreateDevice;
    const WindowsShown normal = ShowAllThree();
    EXPECT_EQ(g_direct3DDevices, 0) << "the software compositor made a Direct3D device";

    seams.createD2DDevice = &MissingD2D1CreateDevice;
    seams.queryDXGIFactory2 = &NoDXGIFactory2;
    const WindowsShown without = ShowAllThree();
    seams = saved;
    EXPECT_EQ(g_direct3DDevices, 0);

    ExpectSame(normal.main, without.main, "main window");
    ExpectSame(normal.question, without.question, "question");
    ExpectSame(normal.progressWindow, without.progressWindow, "progress window at its end");
    ASSERT_TRUE(normal.progressFirst && normal.progressLast && without.progressFirst &&
                without.progressLast);
    ExpectSame(*normal.progressFirst, *without.progressFirst, "progress page before the bar");
    ExpectSame(*normal.progressLast, *without.progressLast, "progress page with the bar full");
}

} // namespace
