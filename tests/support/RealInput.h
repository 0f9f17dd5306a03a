// Real mouse input for the toolkit tests: requests to run_with_input.sh, which performs
// them with xdotool on the session's X display. While a request is pending, this thread's
// messages are pumped, so windows keep working.
#pragma once

#include <windows.h>

#include <string>

namespace TestSupport {

class RealInput {
  public:
    // False when the program does not run under run_with_input.sh.
    static bool Available();

    // Screen coordinates.
    static bool MoveTo(int x, int y);
    static bool Press();
    static bool Release();
    // An X key name ("Escape", "Return"), pressed and released.
    static bool Key(const std::string& name);
    // An X key name held down, and let go.
    static bool KeyDown(const std::string& name);
    static bool KeyUp(const std::string& name);
    // The display as a person sees it, saved as a PNG file of that name; its Windows path,
    // empty if it could not be taken. With CORVANE_UI_FRAMES naming a folder, a copy is kept
    // there for people to look at.
    static std::wstring Screenshot(const std::string& fileName);
};

} // namespace TestSupport
