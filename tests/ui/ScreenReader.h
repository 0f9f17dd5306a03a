// Reads a window the way a screen reader does: AccessibleObjectFromWindow for its client
// area, then the children that AccessibleChildren hands back and what IAccessible says of
// each (name, role, state, location, value, default action). Works on a window of any
// process; the reader's own process should be DPI aware, so locations are screen pixels.
#pragma once

#include <oleacc.h>
#include <windows.h>
#include <wrl/client.h>

#include "Text.h"

#include <string>
#include <vector>

namespace ScreenReader {

struct Node {
    LONG id = CHILDID_SELF;
    std::wstring name;
    LONG role = 0;
    LONG state = 0;
    RECT location{}; // screen pixels
    std::wstring value;
    std::wstring defaultAction;
};

struct Tree {
    Node dialog;
    std::vector<Node> children;
    // The first failure met while reading, or S_OK.
    HRESULT status = S_OK;
    Microsoft::WRL::ComPtr<IAccessible> object;
};

// The client area's object of the window and everything it tells about itself and its
// children.
Tree Read(HWND window);
// What one id says now (its children's object already read).
Node ReadNode(IAccessible* object, LONG id, HRESULT* status);
const Node* Find(const Tree& tree, const std::wstring& name);
// The VARIANT that names a child (or CHILDID_SELF) in IAccessible calls.
VARIANT Child(LONG id);

// The tree as lines of text: role, name, states, location relative to the dialog, value and
// default action, one node per line, the children indented. Names as UTF-8.
std::string Print(const Tree& tree);
std::string StateText(LONG state);
std::string RoleText(LONG role);
using TestSupport::Utf8;

// Records the WinEvents one process raises, as a screen reader's out-of-context hook gets
// them. The recording thread must pump messages for them to arrive (TestSupport::PumpUntil).
class EventLog {
  public:
    struct Event {
        DWORD event;
        HWND window;
        LONG object;
        LONG child;
    };

    EventLog();
    ~EventLog();
    EventLog(const EventLog&) = delete;
    EventLog& operator=(const EventLog&) = delete;

    // Only events of windows of this process count (0: none yet), and those its UI thread
    // raised for a window that is gone by the time they arrive.
    void Follow(DWORD processId, DWORD uiThreadId);
    std::vector<Event> Events() const;
    // The events of one kind, in order.
    std::vector<Event> Of(DWORD event) const;
    void Clear();

  private:
    static void CALLBACK Hook(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child,
                              DWORD thread, DWORD time);
    HWINEVENTHOOK hook_ = nullptr;
};

} // namespace ScreenReader
