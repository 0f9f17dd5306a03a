#include "MouseEventProc.h"

#include "SVGSimpleObject.h"

#include <windowsx.h>

template <class T> T* CMyMouseEventProc<T>::s_captured = nullptr;

template <class T> bool CMyMouseEventProc<T>::Reachable() const {
    if (!m_visible)
        return false;
    for (const T* ancestor = Self()->Parent(); ancestor; ancestor = ancestor->Parent()) {
        if (!ancestor->IsVisible())
            return false;
    }
    return true;
}

template <class T> void CMyMouseEventProc<T>::PostClick() const {
    PostMessageW(m_owner, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(m_id), 0), 0);
}

template <class T> bool CMyMouseEventProc<T>::Inside(LPARAM lParam) const {
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    return PtInRect(m_customHitRect ? &m_hitRect : &m_rect, point) != FALSE;
}

template <class T> LPARAM CMyMouseEventProc<T>::ToOwnCoordinates(LPARAM lParam) const {
    // Points travel as two 16-bit words, as in the mouse messages.
    const WORD x = static_cast<WORD>(GET_X_LPARAM(lParam) - m_rect.left);
    const WORD y = static_cast<WORD>(GET_Y_LPARAM(lParam) - m_rect.top);
    return MAKELPARAM(x, y);
}

template <class T>
LRESULT CMyMouseEventProc<T>::AskChildren(Operation operation, WPARAM wParam, LPARAM lParam,
                                          BOOL* handled, HWND owner) {
    const LPARAM inner = ToOwnCoordinates(lParam);
    for (T* child : m_children) {
        // A child that is hidden answers 0 and leaves the flag as it found it, so the
        // answer, not the flag, says whether a child took the message.
        if (const LRESULT answer = (child->*operation)(wParam, inner, handled, owner))
            return answer;
    }
    return 0;
}

template <class T>
LRESULT CMyMouseEventProc<T>::OnLButtonDown(WPARAM wParam, LPARAM lParam, BOOL* handled,
                                            HWND owner) {
    if (!Reachable())
        return 0;
    if (const LRESULT answer =
            AskChildren(&CMyMouseEventProc::OnLButtonDown, wParam, lParam, handled, owner))
        return answer;
    *handled = FALSE;
    if (!TakesInput() || !Inside(lParam) || Disabled())
        return 0;
    *handled = TRUE;
    m_state |= kPressed;
    Self()->UpdateState();
    s_captured = Self();
    SetCapture(m_owner);
    return 1;
}

template <class T> LRESULT CMyMouseEventProc<T>::Release(LPARAM lParam, BOOL* handled) {
    if (!TakesInput() || s_captured != Self() || Disabled())
        return 0;
    // The dialog hears WM_CAPTURECHANGED while this object still holds the capture, so
    // the other objects re-show their state and this one does not.
    ReleaseCapture();
    s_captured = nullptr;
    if (Inside(lParam)) {
        if (m_state & kPressed) {
            PostClick();
            // A button the click leaves on screen must not go on looking pushed (nor
            // flip to a toggled look): the pointer is over it, so it shows hover.
            m_state &= ~kPressed;
        }
        m_state |= kHover;
        *handled = TRUE;
        Self()->UpdateState();
        return 1;
    }
    // Released elsewhere: the pointer is no longer over this object either.
    if (m_state & (kPressed | kHover)) {
        m_state &= ~(kPressed | kHover);
        Self()->UpdateState();
    }
    return 0;
}

template <class T>
LRESULT CMyMouseEventProc<T>::OnLButtonUp(WPARAM wParam, LPARAM lParam, BOOL* handled, HWND owner) {
    if (!Reachable())
        return 0;
    if (const LRESULT answer =
            AskChildren(&CMyMouseEventProc::OnLButtonUp, wParam, lParam, handled, owner))
        return answer;
    *handled = FALSE;
    return Release(lParam, handled);
}

template <class T>
LRESULT CMyMouseEventProc<T>::OnReleaseInside(WPARAM wParam, LPARAM lParam, BOOL* handled,
                                              HWND owner) {
    if (!Reachable())
        return 0;
    if (const LRESULT answer =
            AskChildren(&CMyMouseEventProc::OnReleaseInside, wParam, lParam, handled, owner))
        return answer;
    *handled = FALSE;
    if (!TakesInput() || !Inside(lParam) || Disabled())
        return 0;
    return Release(lParam, handled);
}

template <class T>
LRESULT CMyMouseEventProc<T>::OnMouseMove(WPARAM wParam, LPARAM lParam, BOOL* handled, HWND owner) {
    if (!Reachable())
        return 0;
    if (const LRESULT answer =
            AskChildren(&CMyMouseEventProc::OnMouseMove, wParam, lParam, handled, owner))
        return answer;
    *handled = FALSE;
    // With a button (or a modifier key) held, hover does not change.
    if (!TakesInput() || Disabled() || wParam != 0)
        return 0;
    const bool inside = Inside(lParam);
    const bool hover = (m_state & kHover) != 0;
    if (inside == hover)
        return 0;
    m_state ^= kHover;
    *handled = TRUE;
    Self()->UpdateState();
    return 1;
}

template <class T>
LRESULT CMyMouseEventProc<T>::OnCaptureChanged(WPARAM wParam, LPARAM lParam, BOOL* handled,
                                               HWND owner) {
    if (!Reachable())
        return 0;
    if (const LRESULT answer =
            AskChildren(&CMyMouseEventProc::OnCaptureChanged, wParam, lParam, handled, owner))
        return answer;
    *handled = FALSE;
    if (!TakesInput() || s_captured == Self())
        return 0;
    *handled = TRUE;
    Self()->UpdateState();
    return 1;
}

template <class T>
LRESULT CMyMouseEventProc<T>::OnSetCursor(WPARAM wParam, LPARAM lParam, BOOL* handled, HWND owner,
                                          POINT point) {
    if (!Reachable() || Disabled())
        return 0;
    const LPARAM inner = ToOwnCoordinates(lParam);
    const POINT innerPoint{point.x - m_rect.left, point.y - m_rect.top};
    for (T* child : m_children) {
        if (const LRESULT cursor = child->OnSetCursor(wParam, inner, handled, owner, innerPoint))
            return cursor;
    }
    *handled = FALSE;
    const bool onHitRect = m_customHitRect && PtInRect(&m_hitRect, point);
    if (onHitRect || (!m_passThrough && Inside(lParam))) {
        *handled = TRUE;
        return reinterpret_cast<ULONG_PTR>(IDC_HAND);
    }
    return 0;
}

template <class T>
LRESULT CMyMouseEventProc<T>::OnLayoutChanged(WPARAM wParam, LPARAM lParam, BOOL* handled,
                                              HWND owner) {
    Self()->Rescale();
    Self()->Redraw();
    for (T* child : m_children)
        child->OnLayoutChanged(wParam, lParam, handled, owner);
    return 0;
}

template class CMyMouseEventProc<CSVGSimpleObject>;
