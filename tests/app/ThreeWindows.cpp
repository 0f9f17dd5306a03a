#include "ThreeWindows.h"

#include "FrameChecks.h"
#include "MainDlgLayout.h"
#include "StandInBackend.h"

#include "MsgDlg.h"
#include "ProgressDlg.h"
#include "UninstallWorkflow.h"

#include "ui/composition/SoftwareSwapChain.h"

#include <gtest/gtest.h>

namespace AppTest {

using namespace TestSupport;

namespace {

// Counts the runs of WM_INITDIALOG.
template <class Dialog> class Counted : public Testable<Dialog> {
  public:
    int initDialogs = 0;

    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result, DWORD mapId = 0) override {
        initDialogs += message == WM_INITDIALOG;
        return Testable<Dialog>::ProcessWindowMessage(window, message, wParam, lParam, result,
                                                      mapId);
    }
};

// Keeps the page shown before the animation, the last page, and the window as composed when
// the animation has ended.
class ShownProgress : public Counted<CDXGIProgressDlg> {
  public:
    std::shared_ptr<const Frame> firstPage, lastPage;
    WindowShown shown;

    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result, DWORD mapId = 0) override {
        if (message == CProgressPage::kAnimationDoneMessage) {
            if (const Composition::PresentedPage* pages = Pages())
                lastPage = pages->Current(nullptr);
            if (auto* device = CompositionTest::SoftwareDeviceBehind(Host().CompositionDevice()))
                device->ReadLastFrame(window, &shown.frame);
            shown.exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
        }
        return Counted<CDXGIProgressDlg>::ProcessWindowMessage(window, message, wParam, lParam,
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

bool CaptionsDrawn(const Frame& frame, const CDPI& dpi) {
    for (const RECT& button : {RECT{202, 114, 280, 154}, RECT{292, 114, 370, 154}}) {
        if (InkIn(frame, Scaled(dpi, button), 0x00D766).closest > 12)
            return false;
    }
    return true;
}

} // namespace

WindowShown ShowMainWindow() {
    WindowShown shown;
    Counted<CMainDlg> main;
    RunMainWindow(main, [&](Driver& d, const MainWindowLayout& layout) {
        shown.frame = CardShowing(d, layout, {});
        shown.exStyle = GetWindowLongPtrW(d.Window(), GWL_EXSTYLE);
        Click(d, layout.CentreOf("close"));
    });
    shown.initDialogs = main.initDialogs;
    return shown;
}

WindowShown ShowQuestion() {
    WindowShown shown;
    Counted<CDXGIMsgDlg> question;
    FillForceRemovalQuestion(question);
    RunScripted(question, [&](Driver& d) {
        ASSERT_TRUE(d.MoveTo({d.dpi.Scale(100), d.dpi.Scale(140)}));
        shown.frame = d.ShownFrame([&](const Frame& f) { return CaptionsDrawn(f, d.dpi); });
        shown.exStyle = GetWindowLongPtrW(d.Window(), GWL_EXSTYLE);
        Click(d, {d.dpi.Scale(330), d.dpi.Scale(134)}); // cancel
    });
    shown.initDialogs = question.initDialogs;
    return shown;
}

WindowShown ShowProgress(std::shared_ptr<const Frame>* first, std::shared_ptr<const Frame>* last) {
    ShownProgress progress;
    FillRemovalProgress(progress);
    RunScripted(progress, [&](Driver& d) { EXPECT_TRUE(d.WaitForEnd(30000)); });
    if (first)
        *first = progress.firstPage;
    if (last)
        *last = progress.lastPage;
    progress.shown.initDialogs = progress.initDialogs;
    return progress.shown;
}

WindowsShown ShowAllThree() {
    WindowsShown shown;
    shown.main = ShowMainWindow();
    shown.question = ShowQuestion();
    shown.progress = ShowProgress(&shown.progressFirst, &shown.progressLast);
    return shown;
}

void ExpectSameFrame(const Frame& expected, const Frame& actual, const char* what) {
    ASSERT_GT(expected.width, 0) << what << ": nothing shown";
    ASSERT_EQ(actual.width, expected.width) << what;
    ASSERT_EQ(actual.height, expected.height) << what;
    int different = 0;
    for (size_t i = 0; i < expected.data.size(); ++i)
        different += expected.data[i] != actual.data[i];
    EXPECT_EQ(different, 0) << what;
}

} // namespace AppTest
