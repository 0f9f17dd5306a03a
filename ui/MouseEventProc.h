#pragma once
// The mouse-routing part every render object carries: hover and press state, mouse
// capture, the cursor, and a click turned into a WM_COMMAND posted to the dialog.
//
// Each operation takes the message's wParam, its lParam (a point in the coordinates of
// the object's parent), the dialog's handled flag and the dialog window. An object that
// is hidden, or has a hidden ancestor, answers 0 and leaves the flag alone; otherwise its
// children are asked first (with the point moved into this object's coordinates), and the
// first child that takes the message ends the call with 1.
#include <windows.h>

#include <vector>

template <class T> class CMyMouseEventProc {
  public:
    // State bits.
    static constexpr DWORD kDisabled = 0x04;
    static constexpr DWORD kToggled = 0x08;
    static constexpr DWORD kPressed = 0x10;
    static constexpr DWORD kHover = 0x40;
    // Any of these shows the pushed picture.
    static constexpr DWORD kPushedBits = 0x01 | kToggled | kPressed;

    // Not routed by the dialogs: a release inside, as if the object had the press.
    virtual LRESULT OnReleaseInside(WPARAM wParam, LPARAM lParam, BOOL* handled, HWND owner);
    virtual LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam, BOOL* handled, HWND owner);
    virtual LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam, BOOL* handled, HWND owner);
    virtual LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam, BOOL* handled, HWND owner);
    virtual LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam, BOOL* handled, HWND owner);
    // A cursor id (IDC_HAND) over an object that takes input, else 0. The point comes as
    // lParam and again as a POINT, both in the parent's coordinates.
    virtual LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam, BOOL* handled, HWND owner,
                                POINT point);
    // Not routed by the dialogs: the DPI changed; rescale and redraw, children too.
    virtual LRESULT OnLayoutChanged(WPARAM wParam, LPARAM lParam, BOOL* handled, HWND owner);

    // The object that holds the mouse between a press and its release, for the whole
    // process (all dialogs share it); null when none does.
    static T* CapturedObject() { return s_captured; }
    static void ClearCapturedObject() { s_captured = nullptr; }

    DWORD State() const { return m_state; }
    bool IsVisible() const { return m_visible != 0; }
    // Visible, and so are all its ancestors.
    bool Reachable() const;
    bool TakesInput() const { return m_passThrough == 0 || m_customHitRect != 0; }
    // Objects that get their input through this one, in order. Not owned.
    const std::vector<T*>& Children() const { return m_children; }

    // What a click does: one WM_COMMAND with the object's id, posted to the owner window.
    // The keyboard and assistive technology press objects through it too.
    void PostClick() const;

  protected:
    CMyMouseEventProc() = default;
    ~CMyMouseEventProc() = default;
    CMyMouseEventProc(const CMyMouseEventProc&) = delete;
    CMyMouseEventProc& operator=(const CMyMouseEventProc&) = delete;

    std::vector<T*> m_children;
    HWND m_owner = nullptr;
    RECT m_rect{};       // pixels, in the parent's coordinates
    RECT m_designRect{}; // the same in design units
    BOOL m_customHitRect = FALSE;
    RECT m_hitRect{};
    // Only the second is read: the text button's background.
    DWORD m_colours[4] = {0xFF1919, 0xC8C8C8, 0x00FA00, 0xC81414};
    int m_id = -1;
    DWORD m_state = 0;
    int m_mode = 0;
    float m_opacity = 1.0f;
    BOOL m_visible = TRUE;
    // Takes no mouse input unless the custom hit rect is set; buttons clear it.
    BOOL m_passThrough = TRUE;

    static T* s_captured;

  private:
    using Operation = LRESULT (CMyMouseEventProc::*)(WPARAM, LPARAM, BOOL*, HWND);

    T* Self() { return static_cast<T*>(this); }
    const T* Self() const { return static_cast<const T*>(this); }
    bool Disabled() const { return (m_state & kDisabled) != 0; }
    bool Inside(LPARAM lParam) const;
    LPARAM ToOwnCoordinates(LPARAM lParam) const;
    // Offers the message to the children; the first answer that is not 0.
    LRESULT AskChildren(Operation operation, WPARAM wParam, LPARAM lParam, BOOL* handled,
                        HWND owner);
    // This object's own part of a release.
    LRESULT Release(LPARAM lParam, BOOL* handled);
};
