#include "Wait.h"

#include <algorithm>

namespace TestSupport {
namespace {

// How often a condition is checked at the least: often enough for a pointer move or a frame,
// rarely enough that a check which enumerates processes does not load the machine.
constexpr DWORD kCheckEveryMs = 10;

void HandleWaitingMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

DWORD Remaining(ULONGLONG end) {
    const ULONGLONG now = GetTickCount64();
    return now >= end ? 0 : static_cast<DWORD>(end - now);
}

} // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition())
            return true;
        const DWORD left = Remaining(end);
        if (left == 0)
            return false;
        Sleep(std::min(left, kCheckEveryMs));
    }
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        HandleWaitingMessages();
        if (condition())
            return true;
        const DWORD left = Remaining(end);
        if (left == 0)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min(left, kCheckEveryMs), QS_ALLINPUT);
    }
}

void PumpFor(DWORD durationMs) {
    PumpUntil([] { return false; }, durationMs);
}

bool PumpUntilSignalled(HANDLE object, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        const DWORD left = Remaining(end);
        if (left == 0)
            return WaitForSingleObject(object, 0) == WAIT_OBJECT_0;
        if (MsgWaitForMultipleObjects(1, &object, FALSE, left, QS_ALLINPUT) == WAIT_OBJECT_0)
            return true;
        HandleWaitingMessages();
    }
}

} // namespace TestSupport
