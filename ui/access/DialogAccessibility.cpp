#include "DialogAccessibility.h"

#include "AccessibleObject.h"
#include "Oleacc.h"

#include "ui/DCompUtil.h"
#include "ui/MouseList.h"
#include "ui/SVGSimpleObject.h"

bool CDialogAccessibility::s_keyboardWasLast = false;

CDialogAccessibility::CDialogAccessibility()
    : m_refreshMessage(RegisterWindowMessageW(L"Corvane.DialogAccessibility.Refresh")) {}

CDialogAccessibility::~CDialogAccessibility() {
    Detach();
}

void CDialogAccessibility::Attach(HWND window, const wchar_t* name, const CMouseList& mouseList,
                                  CDCompUtil* host) {
    Detach();
    m_window = window;
    m_host = host;
    m_focus.SetObjects(mouseList.InputObjects());
    for (CSVGSimpleObject* object : m_focus.Objects())
        object->SetVisibilityListener(this);
    m_parts.Attach(window, name ? name : L"", &m_focus);
    m_parts.OnTakeFocus([this](CSVGSimpleObject* object) {
        if (!m_focus.SetFocused(object))
            return false;
        Refresh();
        return true;
    });
    // Hidden until the keyboard is used, unless the user asked to see them always or the
    // dialog was opened with a key (as Windows initialises a dialog's UI state).
    BOOL alwaysShown = FALSE;
    SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &alwaysShown, 0);
    m_focus.ShowCues(alwaysShown || s_keyboardWasLast);
    m_focus.SetWindowFocused(GetFocus() == window);
    m_announced = nullptr;
    m_announcedPercent = -1;
}

LONG CDialogAccessibility::AddText(const wchar_t* text, const CSVGSimpleObject* anchor,
                                   const RECT& designRect) {
    return m_parts.AddText(text ? text : L"", anchor, designRect);
}

LONG CDialogAccessibility::AddProgressBar(const wchar_t* name, const CSVGSimpleObject* anchor,
                                          const RECT& designRect, std::function<int()> percent) {
    const LONG id =
        m_parts.AddProgressBar(name ? name : L"", anchor, designRect, std::move(percent));
    // Only changes from here on are told.
    m_announcedPercent = m_parts.Percent();
    return id;
}

void CDialogAccessibility::SetFocus(const CSVGSimpleObject* object) {
    if (m_focus.SetFocused(object))
        Refresh();
}

void CDialogAccessibility::ProgressChanged(int percent) {
    const LONG id = m_parts.ProgressBarId();
    if (!m_window || !id)
        return;
    if (percent == m_announcedPercent)
        return;
    m_announcedPercent = percent;
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, m_window, OBJID_CLIENT, id);
}

BOOL CDialogAccessibility::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam, LRESULT& result, DWORD mapId) {
    if (mapId != 0 || !m_window || window != m_window)
        return FALSE;
    switch (message) {
    case WM_GETOBJECT:
        return OnGetObject(wParam, lParam, &result);
    case WM_GETDLGCODE:
        if (m_focus.Objects().empty())
            return FALSE;
        result = DLGC_WANTTAB | DLGC_WANTARROWS;
        return TRUE;
    case WM_KEYDOWN:
        s_keyboardWasLast = true;
        result = 0;
        return OnKeyDown(wParam, lParam);
    case WM_KEYUP:
        result = 0;
        return OnKeyUp(wParam);
    case WM_SYSKEYDOWN:
        s_keyboardWasLast = true;
        return FALSE;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
        s_keyboardWasLast = false;
        return FALSE;
    case WM_SETFOCUS:
        m_focus.SetWindowFocused(true);
        Refresh();
        return FALSE;
    case WM_KILLFOCUS:
        m_focus.SetWindowFocused(false);
        Refresh(m_focus.Cancel());
        return FALSE;
    case WM_UPDATEUISTATE:
        OnUpdateUIState(wParam);
        return FALSE;
    case WM_SHOWWINDOW:
        if (wParam && m_announceStart) {
            m_announceStart = false;
            NotifyWinEvent(EVENT_SYSTEM_DIALOGSTART, m_window, OBJID_WINDOW, CHILDID_SELF);
        }
        return FALSE;
    case WM_DESTROY:
        Detach();
        return FALSE;
    default:
        if (message == m_refreshMessage) {
            m_refreshPosted = false;
            Refresh();
            result = 0;
            return TRUE;
        }
        return FALSE;
    }
}

bool CDialogAccessibility::OnGetObject(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    // The object id travels in the low 32 bits.
    if (static_cast<LONG>(lParam) != OBJID_CLIENT)
        return false;
    if (!m_object)
        m_object.Attach(CAccessibleObject::Create(&m_parts));
    if (!m_object)
        return false;
    const LRESULT answer = Oleacc::ResultFromObject(__uuidof(IAccessible), wParam,
                                                    static_cast<IAccessible*>(m_object.Get()));
    if (answer < 0)
        return false;
    *result = answer;
    return true;
}

bool CDialogAccessibility::OnKeyDown(WPARAM key, LPARAM flags) {
    if (m_focus.Objects().empty())
        return false;
    bool looksChanged = false;
    switch (key) {
    case VK_TAB:
        looksChanged = m_focus.Cancel();
        m_focus.Move(GetKeyState(VK_SHIFT) >= 0);
        break;
    case VK_RIGHT:
    case VK_DOWN:
    case VK_LEFT:
    case VK_UP:
        looksChanged = m_focus.Cancel();
        m_focus.Move(key == VK_RIGHT || key == VK_DOWN);
        break;
    case VK_SPACE:
        // Held down, the key repeats; the button stays pressed once.
        if (!(flags & (1 << 30)))
            looksChanged = m_focus.Press();
        break;
    default:
        return false;
    }
    ShowCues();
    Refresh(looksChanged);
    return true;
}

bool CDialogAccessibility::OnKeyUp(WPARAM key) {
    if (key != VK_SPACE || m_focus.Objects().empty())
        return false;
    Refresh(m_focus.Release());
    return true;
}

void CDialogAccessibility::OnUpdateUIState(WPARAM wParam) {
    if (!(HIWORD(wParam) & UISF_HIDEFOCUS))
        return;
    if (LOWORD(wParam) == UIS_SET)
        m_focus.ShowCues(false);
    else if (LOWORD(wParam) == UIS_CLEAR)
        m_focus.ShowCues(true);
    Refresh();
}

void CDialogAccessibility::ShowCues() {
    if (m_focus.CuesShown())
        return;
    m_focus.ShowCues(true);
    // Windows keeps the window's UI state: it answers with WM_UPDATEUISTATE where it does.
    SendMessageW(m_window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
}

void CDialogAccessibility::Refresh(bool looksChanged) {
    if (!m_window)
        return;
    if (m_focus.UpdateRing())
        looksChanged = true;
    const CSVGSimpleObject* focused = m_focus.WindowFocused() ? m_focus.Focused() : nullptr;
    if (focused != m_announced) {
        m_announced = focused;
        if (focused)
            NotifyWinEvent(EVENT_OBJECT_FOCUS, m_window, OBJID_CLIENT, m_parts.IdOf(focused));
    }
    if (looksChanged && m_host)
        m_host->Commit();
}

void CDialogAccessibility::OnVisibilityChanged(CSVGSimpleObject* object) {
    const LONG id = m_parts.IdOf(object);
    if (!m_window || !id)
        return;
    NotifyWinEvent(object->IsVisible() ? EVENT_OBJECT_SHOW : EVENT_OBJECT_HIDE, m_window,
                   OBJID_CLIENT, id);
    if (!m_refreshPosted)
        m_refreshPosted = PostMessageW(m_window, m_refreshMessage, 0, 0) != FALSE;
}

void CDialogAccessibility::Detach() {
    m_focus.Clear();
    for (CSVGSimpleObject* object : m_focus.Objects())
        object->SetVisibilityListener(nullptr);
    m_focus.SetObjects({});
    if (m_object) {
        m_object->Disconnect();
        m_object.Reset();
    }
    m_parts.Attach(nullptr, L"", nullptr);
    m_parts.OnTakeFocus(nullptr);
    m_window = nullptr;
    m_host = nullptr;
    m_announced = nullptr;
    m_refreshPosted = false;
}
