#include "Reflection.h"

namespace {

HWND ControlOf(LPARAM lParam) {
    return reinterpret_cast<HWND>(lParam);
}

template <typename Struct> const Struct* StructOf(LPARAM lParam) {
    return reinterpret_cast<const Struct*>(lParam);
}

} // namespace

HWND NotifyingChild(HWND parent, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND child = nullptr;
    switch (message) {
    case WM_COMMAND:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        child = ControlOf(lParam);
        break;
    case WM_NOTIFY:
        if (lParam)
            child = StructOf<NMHDR>(lParam)->hwndFrom;
        break;
    case WM_PARENTNOTIFY:
        // Only creation and destruction name the child; mouse events carry a point.
        if (LOWORD(wParam) == WM_CREATE || LOWORD(wParam) == WM_DESTROY)
            child = ControlOf(lParam);
        break;
    case WM_DRAWITEM:
        // wParam 0: a menu item, not a control.
        if (wParam && lParam)
            child = StructOf<DRAWITEMSTRUCT>(lParam)->hwndItem;
        break;
    case WM_MEASUREITEM:
        if (wParam && lParam)
            child =
                GetDlgItem(parent, static_cast<int>(StructOf<MEASUREITEMSTRUCT>(lParam)->CtlID));
        break;
    case WM_COMPAREITEM:
        if (lParam)
            child = StructOf<COMPAREITEMSTRUCT>(lParam)->hwndItem;
        break;
    case WM_DELETEITEM:
        if (lParam)
            child = StructOf<DELETEITEMSTRUCT>(lParam)->hwndItem;
        break;
    default:
        break;
    }
    // A notification may name any window; only this window's own children get one back.
    return child && IsChild(parent, child) ? child : nullptr;
}

LRESULT ReflectNotification(HWND parent, UINT message, WPARAM wParam, LPARAM lParam,
                            BOOL& handled) {
    HWND child = NotifyingChild(parent, message, wParam, lParam);
    if (!child) {
        handled = FALSE;
        return 0;
    }
    handled = TRUE;
    return SendMessageW(child, OCM__BASE + message, wParam, lParam);
}
