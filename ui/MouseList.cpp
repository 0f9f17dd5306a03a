#include "MouseList.h"

#include "DCompUtil.h"
#include "SVGSimpleObject.h"

namespace {

void CommitIf(bool changed, CDCompUtil* host) {
    if (changed && host)
        host->Commit();
}

void AddInputObjects(CSVGSimpleObject* object, std::vector<CSVGSimpleObject*>* objects) {
    if (object->TakesInput())
        objects->push_back(object);
    for (CSVGSimpleObject* child : object->Children())
        AddInputObjects(child, objects);
}

} // namespace

std::vector<CSVGSimpleObject*> CMouseList::InputObjects() const {
    std::vector<CSVGSimpleObject*> objects;
    for (CSVGSimpleObject* object : m_objects)
        AddInputObjects(object, &objects);
    return objects;
}

bool CMouseList::OnMouseMove(WPARAM wParam, LPARAM lParam, HWND owner, CDCompUtil* host) {
    BOOL handled = TRUE;
    bool changed = false;
    for (CSVGSimpleObject* object : m_objects) {
        if (object->OnMouseMove(wParam, lParam, &handled, owner))
            changed = true;
    }
    CommitIf(changed, host);
    return changed;
}

bool CMouseList::OnMouseLeave(HWND owner, CDCompUtil* host) {
    // A move with no button down to (-1, -1), left of and above every object (objects lie
    // at or right of and below their parent's origin).
    return OnMouseMove(0, MAKELPARAM(0xFFFF, 0xFFFF), owner, host);
}

bool CMouseList::OnLButtonDown(WPARAM wParam, LPARAM lParam, HWND owner, CDCompUtil* host) {
    BOOL handled = TRUE;
    bool taken = false;
    // An object that is hidden answers 0 and leaves the flag untouched, so whether an
    // object took the press is its answer, not the flag.
    for (CSVGSimpleObject* object : m_objects) {
        if (object->OnLButtonDown(wParam, lParam, &handled, owner)) {
            taken = true;
            break;
        }
    }
    CommitIf(taken, host);
    return taken;
}

bool CMouseList::OnLButtonUp(WPARAM wParam, LPARAM lParam, HWND owner, CDCompUtil* host) {
    // A release outside the pressed object takes no message but changes its look back
    // from pushed: that change is committed too.
    const bool released = CSVGSimpleObject::CapturedObject() != nullptr;
    BOOL handled = TRUE;
    bool taken = false;
    for (CSVGSimpleObject* object : m_objects) {
        if (object->OnLButtonUp(wParam, lParam, &handled, owner)) {
            taken = true;
            break;
        }
    }
    if (!taken) {
        ReleaseCapture();
        CSVGSimpleObject::ClearCapturedObject();
    }
    CommitIf(taken || released, host);
    return taken;
}

bool CMouseList::OnCaptureChanged(WPARAM wParam, LPARAM lParam, HWND owner, CDCompUtil* host) {
    BOOL handled = FALSE;
    bool changed = false;
    for (CSVGSimpleObject* object : m_objects) {
        if (object->OnCaptureChanged(wParam, lParam, &handled, owner))
            changed = true;
    }
    CommitIf(changed, host);
    return changed;
}

bool CMouseList::OnSetCursor(HWND owner) {
    POINT point{};
    if (!GetCursorPos(&point) || !ScreenToClient(owner, &point))
        return false;
    return OnSetCursor(owner, point);
}

bool CMouseList::OnSetCursor(HWND owner, POINT clientPoint) {
    // The point goes as lParam too, so both of the objects' hit tests see the cursor.
    const LPARAM lParam =
        MAKELPARAM(static_cast<WORD>(clientPoint.x), static_cast<WORD>(clientPoint.y));
    BOOL handled = FALSE;
    for (CSVGSimpleObject* object : m_objects) {
        if (const LRESULT cursor = object->OnSetCursor(0, lParam, &handled, owner, clientPoint)) {
            SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(cursor)));
            return true;
        }
    }
    return false;
}
