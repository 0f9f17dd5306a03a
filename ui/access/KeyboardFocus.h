#pragma once
// The keyboard focus among a dialog's buttons. It moves over the buttons that can be pressed
// now (visible, enabled), in their order, wrapping, and the focused one can be pressed as a
// click would press it. The focus ring is drawn only while focus cues are shown (Windows
// hides them until the keyboard is used) and the dialog window has the keyboard focus.
//
// The buttons draw the ring with FocusRingPainter (FocusRing.h).
//
// The focus belongs to a place in the order: when the focused button is hidden or disabled,
// the focus passes to the next button after that place that can be pressed, so a button
// shown in its place (the exit button after the uninstall button) takes it.
#include <windows.h>

#include <vector>

class CSVGSimpleObject;

class CKeyboardFocus {
  public:
    // The dialog's buttons in order (CMouseList::InputObjects); the focus starts on the first.
    void SetObjects(std::vector<CSVGSimpleObject*> objects);
    const std::vector<CSVGSimpleObject*>& Objects() const { return m_objects; }

    // The focused button; null when no button can be pressed.
    CSVGSimpleObject* Focused() const;
    // False (and no change) for an object that is not one of the buttons or cannot be
    // pressed now.
    bool SetFocused(const CSVGSimpleObject* object);
    // To the next (or previous) button that can be pressed, wrapping. False if there is none
    // other than the focused one.
    bool Move(bool forward);

    // Space: the focused button looks pushed until Release, which clicks it if it still has
    // the focus and can still be pressed. Cancel lets it go without a click. Each returns
    // true when a look changed.
    bool Press();
    bool Release();
    bool Cancel();

    void ShowCues(bool shown) { m_cuesShown = shown; }
    bool CuesShown() const { return m_cuesShown; }
    void SetWindowFocused(bool focused) { m_windowFocused = focused; }
    bool WindowFocused() const { return m_windowFocused; }

    // Puts the ring where it belongs now; true if a look changed (the caller commits).
    bool UpdateRing();
    // Takes every ring away (the dialog is going).
    void Clear();

  private:
    int IndexOf(const CSVGSimpleObject* object) const;

    std::vector<CSVGSimpleObject*> m_objects;
    int m_place = 0;
    CSVGSimpleObject* m_ringOn = nullptr;
    CSVGSimpleObject* m_pressed = nullptr;
    bool m_cuesShown = false;
    bool m_windowFocused = false;
};
