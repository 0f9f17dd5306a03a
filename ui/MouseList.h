#pragma once
// A dialog's mouse list: its top-level render objects in the order mouse and cursor
// messages are offered to them (children get theirs through their parents), and the
// routing of the dialog's mouse messages over them. After a message that changed what an
// object shows, the host is committed (no host, no commit).
#include <windows.h>

#include <vector>

class CDCompUtil;
class CSVGSimpleObject;

class CMouseList {
  public:
    void Append(CSVGSimpleObject* object) { m_objects.push_back(object); }
    void Clear() { m_objects.clear(); }
    const std::vector<CSVGSimpleObject*>& Objects() const { return m_objects; }
    // The objects of the list and their children (each after its parent) that take input,
    // hidden ones too: the dialog's buttons, in the order the keyboard goes through them.
    std::vector<CSVGSimpleObject*> InputObjects() const;

    // Every object hears the move. True if one changed its look.
    bool OnMouseMove(WPARAM wParam, LPARAM lParam, HWND owner, CDCompUtil* host);
    // The pointer has left the window (WM_MOUSELEAVE, also when the window is minimised or
    // covered): it is over no object now, so none may go on showing hover. True if one
    // changed its look.
    bool OnMouseLeave(HWND owner, CDCompUtil* host);
    // Offered in order until an object takes the press. False: the press is the
    // dialog's own (a drag, for example).
    bool OnLButtonDown(WPARAM wParam, LPARAM lParam, HWND owner, CDCompUtil* host);
    // Offered in order until an object takes the release. If none does, the dialog's
    // capture ends and no object holds the mouse any more.
    bool OnLButtonUp(WPARAM wParam, LPARAM lParam, HWND owner, CDCompUtil* host);
    // Every object re-shows its state. True if one did.
    bool OnCaptureChanged(WPARAM wParam, LPARAM lParam, HWND owner, CDCompUtil* host);
    // The first object under the cursor that takes input gives the cursor, which is set.
    // False: nothing was set; leave the message to the default processing.
    bool OnSetCursor(HWND owner);
    // The same for a point in client coordinates.
    bool OnSetCursor(HWND owner, POINT clientPoint);

  private:
    std::vector<CSVGSimpleObject*> m_objects;
};
