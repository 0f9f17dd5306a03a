#pragma once
// The face of the progress dialog: its title, a status line and a bar that an animation
// thread fills from left to right, one pixel per frame, each frame presented on the page's
// swap chain (so the compositor's pace sets the speed). When the bar is full the thread
// posts kAnimationDoneMessage to the page's owner window.
//
// The thread touches only this page (its frames, position and running flag) and reads the
// DPI converter; the page waits for it before it dies.
#include "DialogLayout.h"
#include "TextPage.h"

#include <windows.h>

#include <atomic>
#include <string>

class CProgressPage : public CTextPage {
  public:
    // Posted by the animation thread to the owner window when it ends: wParam 1 if it was
    // stopped, 0 if the bar reached its end; lParam 0.
    static constexpr UINT kAnimationDoneMessage = 3026;
    // Posted by the animation thread to the owner window each time the drawn bar reaches a
    // new whole percentage of its length (so about a hundred times, not once per frame):
    // wParam the percentage; lParam 0.
    static constexpr UINT kPercentMessage = WM_APP + 1;
    // The bar's full length in design units: the animation draws one frame per pixel of it.
    static constexpr int kBarLength = DialogLayout::Progress::kBarLength;
    // The bar's track, in design units relative to the page.
    static constexpr RECT kBarRect = DialogLayout::Progress::kBar;

    CProgressPage();
    // Stops the animation thread and waits for it.
    ~CProgressPage() override;

    void SetStatus(std::wstring status) { SetBodyText(std::move(status)); }
    const std::wstring& Status() const { return BodyText(); }
    // The bar position (pixels) the animation may not pass. Set before the animation starts.
    void SetTarget(int target) { m_target = target; }

    // Starts the animation thread unless it runs already. False if it cannot be started.
    bool StartAnimation();
    // Asks the thread to stop after its current frame and waits for it to end. The thread
    // always ends soon after: it checks the request before every frame.
    void StopAnimation();
    // Stops the thread as StopAnimation does, but without the end message: the dialog goes on
    // and lays the page out again meanwhile. True if the animation had not ended yet; then
    // StartAnimation goes on from where the bar stands.
    bool PauseAnimation();

    // At the new DPI (the animation paused): the bar keeps its share of the track, and its
    // target too.
    void Relayout() override;
    // The formats, the clip and the first frame; the bar's length in pixels for them.
    void CreateResources(const RECT& designRect) override;

    bool Running() const { return m_running != 0; }
    // Pixels of the bar drawn green, from its left edge.
    int Current() const { return m_current; }
    // The drawn part as a whole percentage of the bar, 0..100.
    int DrawnPercent() const;
    // 0 when no thread was started.
    DWORD AnimationThreadId() const { return m_threadId; }

  protected:
    // The bar: its track, and over it the part done.
    void DrawContent(ID2D1RenderTarget* target) override;

  private:
    static unsigned __stdcall AnimationThread(void* page);
    void Animate();

    // Written by the UI thread before the thread starts and to ask it to stop; the thread
    // moves the position and clears the flag when it ends.
    std::atomic<int> m_target{0};
    std::atomic<int> m_current{0};
    std::atomic<int> m_running{0};
    // Asked by PauseAnimation: the thread ends without the end message.
    std::atomic<bool> m_pausing{false};
    // The thread has posted the end message.
    std::atomic<bool> m_endPosted{false};
    // The bar's full length in pixels the page was last laid out for.
    int m_laidOutLength = 0;
    HANDLE m_thread = nullptr;
    DWORD m_threadId = 0;
};
