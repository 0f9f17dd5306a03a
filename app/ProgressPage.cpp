#include "ProgressPage.h"

#include "TextFormat.h"

#include <process.h>
#include <wrl/client.h>

namespace {

// Design units, relative to the page.
constexpr RECT kTitleRect = DialogLayout::Progress::kTitle;
constexpr RECT kStatusRect = DialogLayout::Progress::kStatus;
constexpr int kBarLeft = CProgressPage::kBarRect.left;
constexpr int kBarTop = CProgressPage::kBarRect.top;
constexpr int kBarHeight = CProgressPage::kBarRect.bottom - CProgressPage::kBarRect.top;
constexpr int kBarRadius = 1;

constexpr DWORD kOutlineColour = 0x979797;  // 151, 151, 151
constexpr DWORD kTrackColour = 0xD8D8D8;    // 216, 216, 216
constexpr DWORD kProgressColour = 0x14AB4E; // 20, 171, 78

} // namespace

CProgressPage::CProgressPage() : CTextPage(kTitleRect, kStatusRect) {}

CProgressPage::~CProgressPage() {
    StopAnimation();
}

bool CProgressPage::StartAnimation() {
    if (m_running)
        return true;
    StopAnimation(); // the handle of a thread that has ended
    m_endPosted = false;
    m_running = 1;
    unsigned threadId = 0;
    const uintptr_t thread =
        _beginthreadex(nullptr, 0, &CProgressPage::AnimationThread, this, 0, &threadId);
    if (!thread) {
        m_running = 0;
        return false;
    }
    m_thread = reinterpret_cast<HANDLE>(thread);
    m_threadId = threadId;
    return true;
}

void CProgressPage::StopAnimation() {
    if (!m_thread)
        return;
    m_running = 0;
    WaitForSingleObject(m_thread, INFINITE);
    CloseHandle(m_thread);
    m_thread = nullptr;
}

bool CProgressPage::PauseAnimation() {
    if (!m_thread)
        return false;
    m_pausing = true;
    StopAnimation();
    m_pausing = false;
    // Ended by the pause, or at the bar's end while it was asked: either way nobody was told.
    return !m_endPosted;
}

void CProgressPage::CreateResources(const RECT& designRect) {
    m_laidOutLength = Scale(kBarLength);
    CTextPage::CreateResources(designRect);
}

void CProgressPage::Relayout() {
    const int length = Scale(kBarLength);
    if (m_laidOutLength > 0 && length != m_laidOutLength) {
        m_current = MulDiv(m_current, length, m_laidOutLength);
        m_target = MulDiv(m_target, length, m_laidOutLength);
    }
    CTextPage::Relayout();
}

unsigned __stdcall CProgressPage::AnimationThread(void* page) {
    static_cast<CProgressPage*>(page)->Animate();
    return 0;
}

int CProgressPage::DrawnPercent() const {
    const int limit = Scale(kBarLength);
    return limit > 0 ? m_current * 100 / limit : 0;
}

void CProgressPage::Animate() {
    const int limit = Scale(kBarLength);
    int percent = DrawnPercent();
    while (m_running && m_current < limit) {
        if (m_current > m_target) {
            m_current = m_target.load();
            continue;
        }
        ++m_current;
        try {
            Draw();
        } catch (...) {
            // A frame that fails is skipped; the bar goes on with the next position.
        }
        if (DrawnPercent() != percent) {
            percent = DrawnPercent();
            PostMessageW(m_owner, kPercentMessage, static_cast<WPARAM>(percent), 0);
        }
        Sleep(0);
    }
    if (!m_pausing) {
        PostMessageW(m_owner, kAnimationDoneMessage, m_running ? 0 : 1, 0);
        m_endPosted = true;
    }
    m_running = 0;
}

void CProgressPage::DrawContent(ID2D1RenderTarget* target) {
    const int left = Scale(kBarLeft);
    const int top = Scale(kBarTop);
    const int width = Scale(kBarLength);
    const int height = Scale(kBarHeight);
    const int r = Scale(kBarRadius);
    const float radius = static_cast<float>(r);

    Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> outline, track, progress;
    if (FAILED(target->CreateSolidColorBrush(ColorFromRGB(kOutlineColour), &outline)) ||
        FAILED(target->CreateSolidColorBrush(ColorFromRGB(kTrackColour), &track)) ||
        FAILED(target->CreateSolidColorBrush(ColorFromRGB(kProgressColour), &progress)))
        return;

    const D2D1_ROUNDED_RECT bar = D2D1::RoundedRect(
        D2D1::RectF(static_cast<float>(left), static_cast<float>(top),
                    static_cast<float>(left + width), static_cast<float>(top + height)),
        radius, radius);
    target->DrawRoundedRectangle(bar, outline.Get(), 1.0f);
    target->FillRoundedRectangle(bar, track.Get());

    const int right = m_current + left;
    if (right > 2 * r) {
        D2D1_ROUNDED_RECT done = bar;
        done.rect.right = static_cast<float>(right);
        target->DrawRoundedRectangle(done, outline.Get(), 1.0f);
        target->FillRoundedRectangle(done, progress.Get());
    }
}
