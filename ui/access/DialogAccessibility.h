#pragma once
// What makes a drawn dialog usable with a screen reader and with the keyboard alone. A
// dialog keeps one as a member and hands it its messages first (CHAIN_MSG_MAP_MEMBER); it
// takes only these, and lets every other message (and these, where the dialog needs them
// too) go on down the dialog's map:
//  - WM_GETOBJECT for the client area: the dialog's MSAA object (CAccessibleObject);
//  - WM_GETDLGCODE: the dialog wants Tab and the arrow keys, which the dialog manager
//    (IsDialogMessage) would otherwise keep for moving among child controls it does not have;
//  - Tab, Shift+Tab and the arrow keys move the keyboard focus among the buttons; Space
//    presses the focused one as a click would. Enter and Escape are left to the dialog
//    manager, which turns them into IDOK and IDCANCEL commands (the dialogs ignore them);
//  - focus, UI state (hidden focus cues) and visibility changes, which move the focus ring
//    and are told to assistive technology as WinEvents.
#include "AccessibleParts.h"
#include "KeyboardFocus.h"

#include "ui/VisibilityListener.h"
#include "win/MessageMap.h"

#include <windows.h>
#include <wrl/client.h>

class CAccessibleObject;
class CDCompUtil;
class CMouseList;

class CDialogAccessibility : public CMessageMap, private IVisibilityListener {
  public:
    CDialogAccessibility();
    ~CDialogAccessibility() override;
    CDialogAccessibility(const CDialogAccessibility&) = delete;
    CDialogAccessibility& operator=(const CDialogAccessibility&) = delete;

    // At the end of WM_INITDIALOG, once the dialog's objects exist: the dialog's name, its
    // buttons (the mouse list's objects that take input, in order) and the host that shows
    // their looks. The keyboard focus starts on the first button.
    void Attach(HWND window, const wchar_t* name, const CMouseList& mouseList, CDCompUtil* host);
    // Texts and a progress bar the dialog draws (CAccessibleParts); their ids.
    LONG AddText(const wchar_t* text, const CSVGSimpleObject* anchor, const RECT& designRect);
    LONG AddProgressBar(const wchar_t* name, const CSVGSimpleObject* anchor, const RECT& designRect,
                        std::function<int()> percent);
    // The button that has the keyboard focus when the dialog starts.
    void SetFocus(const CSVGSimpleObject* object);
    // Tells assistive technology that the dialog has opened, when its window shows.
    void AnnounceDialogStart() { m_announceStart = true; }
    // The progress bar has reached this whole percentage: told when it is a new one. (Told
    // by the percentage drawn, not read anew, so that a busy UI thread still tells each step.)
    void ProgressChanged(int percent);

    const CAccessibleParts& Parts() const { return m_parts; }
    const CKeyboardFocus& Focus() const { return m_focus; }
    HWND Window() const { return m_window; }

    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result, DWORD mapId = 0) override;

    // True when the latest key or mouse button press this process saw came from the
    // keyboard: a dialog opened by a key starts with its focus cues shown.
    static bool KeyboardWasLast() { return s_keyboardWasLast; }

  private:
    void OnVisibilityChanged(CSVGSimpleObject* object) override;
    bool OnGetObject(WPARAM wParam, LPARAM lParam, LRESULT* result);
    bool OnKeyDown(WPARAM key, LPARAM flags);
    bool OnKeyUp(WPARAM key);
    void OnUpdateUIState(WPARAM wParam);
    // Focus cues on, also in the system's UI state of the window.
    void ShowCues();
    // Puts the ring where the focus is, tells a moved focus, and commits what changed.
    void Refresh(bool looksChanged = false);
    void Detach();

    static bool s_keyboardWasLast;

    HWND m_window = nullptr;
    CDCompUtil* m_host = nullptr;
    CKeyboardFocus m_focus;
    CAccessibleParts m_parts;
    Microsoft::WRL::ComPtr<CAccessibleObject> m_object;
    // The button last told to have the focus; null while the window has no focus.
    const CSVGSimpleObject* m_announced = nullptr;
    int m_announcedPercent = -1;
    bool m_announceStart = false;
    bool m_refreshPosted = false;
    // Posted to the window to look at the focus once a series of changes is done (the
    // exit button shown after the uninstall button was hidden).
    const UINT m_refreshMessage;
};
