#include "FramePacer.h"

#include "win/SystemLibrary.h"

namespace Composition {

namespace {

LONGLONG Now() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

// Sleeps about the given milliseconds with the system timer at 1 ms meanwhile: at its usual
// 15.6 ms a Windows 7 sleep could miss a 16.7 ms frame by a whole tick.
void SleepPrecisely(DWORD milliseconds) {
    using TimePeriodFunction = UINT(WINAPI*)(UINT);
    static const auto begin = SystemProc<TimePeriodFunction>(L"winmm.dll", "timeBeginPeriod");
    static const auto end = SystemProc<TimePeriodFunction>(L"winmm.dll", "timeEndPeriod");
    const bool raised = begin && end && begin(1) == 0;
    Sleep(milliseconds);
    if (raised)
        end(1);
}

} // namespace

FramePacer::FramePacer(int framesPerSecond) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    frequency_ = frequency.QuadPart;
    period_ = frequency_ / framesPerSecond;
}

void FramePacer::WaitForSlot() {
    LONGLONG now = Now();
    if (!started_ || now >= lastSlot_ + period_) {
        started_ = true;
        lastSlot_ = now;
        return;
    }
    const LONGLONG slot = lastSlot_ + period_;
    while (now < slot) {
        const LONGLONG remaining = slot - now;
        SleepPrecisely(static_cast<DWORD>((remaining * 1000 + frequency_ - 1) / frequency_));
        now = Now();
    }
    lastSlot_ = slot;
}

} // namespace Composition
