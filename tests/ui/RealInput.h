// Real mouse input for the toolkit tests: requests to run_with_input.sh, which performs
// them with xdotool on the session's X display. While a request is pending, this thread's
// messages are pumped, so windows keep working.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace UiTest {

class RealInput {
  public:
    // False when the program does not run under run_with_input.sh.
    static bool Available();

    // Screen coordinates.
    static bool MoveTo(int x, int y);
    static bool Press();
    static bool Release();
    // Keys pressed and released on the focused window, in xdotool's names ("Escape",
    // "Return", "alt+F4").
    static bool Key(const std::string& keys);
    // One key held down, and let go.
    static bool KeyDown(const std::string& key);
    static bool KeyUp(const std::string& key);
};

// Dispatches this thread's messages until done() holds or timeoutMs passes; false on
// timeout.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);
// Dispatches this thread's messages for about durationMs.
void PumpFor(DWORD durationMs);

} // namespace UiTest
