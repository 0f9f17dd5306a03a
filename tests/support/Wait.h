#pragma once
// Bounded waits for the tests. A test waits either on a thread that must keep its windows
// working (the messages of this thread are handled meanwhile: PumpUntil, PumpFor,
// PumpUntilSignalled) or on one whose messages must wait, such as a thread without windows or a
// window's own handler (WaitUntil). Every wait ends by its time.
#include <windows.h>

#include <functional>

namespace TestSupport {

// Checks the condition until it holds or the time is up, without handling messages; the
// condition's last value.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// Handles this thread's messages until the condition holds or the time is up; the condition's
// last value. Messages waiting when it is called are handled before the first check.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);
// Handles this thread's messages for about the given time.
void PumpFor(DWORD durationMs);
// Waits for a handle (a thread, a process, an event) while handling messages, as a modal
// loop does; false after the time.
bool PumpUntilSignalled(HANDLE object, DWORD timeoutMs);

} // namespace TestSupport
