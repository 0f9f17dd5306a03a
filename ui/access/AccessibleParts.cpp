#include "AccessibleParts.h"

#include "KeyboardFocus.h"

#include "ui/DPI.h"
#include "ui/SVGSimpleObject.h"

#include <oleacc.h>

namespace {

// What pressing a button is called, in the language of the dialogs.
constexpr wchar_t kPressAction[] = L"按下";

RECT ToScreen(HWND window, RECT rect) {
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    OffsetRect(&rect, origin.x, origin.y);
    return rect;
}

} // namespace

RECT ClientRectOf(const CSVGSimpleObject& object) {
    RECT rect = object.Rect();
    for (const CSVGSimpleObject* parent = object.Parent(); parent; parent = parent->Parent())
        OffsetRect(&rect, parent->Rect().left, parent->Rect().top);
    return rect;
}

void CAccessibleParts::Attach(HWND window, std::wstring name, const CKeyboardFocus* focus) {
    m_window = window;
    m_name = std::move(name);
    m_focus = focus;
    m_declared.clear();
}

LONG CAccessibleParts::AddText(std::wstring text, const CSVGSimpleObject* anchor,
                               const RECT& designRect) {
    m_declared.push_back({ROLE_SYSTEM_STATICTEXT, std::move(text), anchor, designRect, nullptr});
    return Count();
}

LONG CAccessibleParts::AddProgressBar(std::wstring name, const CSVGSimpleObject* anchor,
                                      const RECT& designRect, std::function<int()> percent) {
    m_declared.push_back(
        {ROLE_SYSTEM_PROGRESSBAR, std::move(name), anchor, designRect, std::move(percent)});
    return Count();
}

const std::vector<CSVGSimpleObject*>& CAccessibleParts::Buttons() const {
    static const std::vector<CSVGSimpleObject*> none;
    return m_focus ? m_focus->Objects() : none;
}

LONG CAccessibleParts::Count() const {
    return static_cast<LONG>(Buttons().size() + m_declared.size());
}

CSVGSimpleObject* CAccessibleParts::ButtonOf(LONG id) const {
    const std::vector<CSVGSimpleObject*>& buttons = Buttons();
    return id >= 1 && id <= static_cast<LONG>(buttons.size()) ? buttons[id - 1] : nullptr;
}

const CAccessibleParts::Declared* CAccessibleParts::DeclaredOf(LONG id) const {
    const LONG index = id - 1 - static_cast<LONG>(Buttons().size());
    return index >= 0 && index < static_cast<LONG>(m_declared.size()) ? &m_declared[index]
                                                                      : nullptr;
}

LONG CAccessibleParts::IdOf(const CSVGSimpleObject* object) const {
    const std::vector<CSVGSimpleObject*>& buttons = Buttons();
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i] == object)
            return static_cast<LONG>(i + 1);
    }
    return 0;
}

bool CAccessibleParts::IsVisible(LONG id) const {
    if (const CSVGSimpleObject* button = ButtonOf(id))
        return button->Reachable();
    const Declared* declared = DeclaredOf(id);
    return declared && (!declared->anchor || declared->anchor->Reachable());
}

std::vector<LONG> CAccessibleParts::VisibleParts() const {
    std::vector<LONG> parts;
    for (LONG id = 1; id <= Count(); ++id) {
        if (IsVisible(id))
            parts.push_back(id);
    }
    return parts;
}

std::wstring CAccessibleParts::Name(LONG id) const {
    if (id == CHILDID_SELF)
        return m_name;
    if (const CSVGSimpleObject* button = ButtonOf(id))
        return button->Caption();
    const Declared* declared = DeclaredOf(id);
    return declared ? declared->name : std::wstring();
}

LONG CAccessibleParts::Role(LONG id) const {
    if (id == CHILDID_SELF)
        return ROLE_SYSTEM_DIALOG;
    if (ButtonOf(id))
        return ROLE_SYSTEM_PUSHBUTTON;
    const Declared* declared = DeclaredOf(id);
    return declared ? declared->role : 0;
}

LONG CAccessibleParts::State(LONG id) const {
    if (id == CHILDID_SELF) {
        return STATE_SYSTEM_FOCUSABLE | (GetFocus() == m_window ? STATE_SYSTEM_FOCUSED : 0);
    }
    LONG state = IsVisible(id) ? 0 : STATE_SYSTEM_INVISIBLE;
    if (const CSVGSimpleObject* button = ButtonOf(id)) {
        const DWORD bits = button->State();
        if (bits & CSVGSimpleObject::kDisabled)
            state |= STATE_SYSTEM_UNAVAILABLE;
        if (bits & CSVGSimpleObject::kPushedBits)
            state |= STATE_SYSTEM_PRESSED;
        if (bits & CSVGSimpleObject::kHover)
            state |= STATE_SYSTEM_HOTTRACKED;
        if (button->Pressable())
            state |= STATE_SYSTEM_FOCUSABLE;
        if (m_focus->WindowFocused() && m_focus->Focused() == button)
            state |= STATE_SYSTEM_FOCUSED;
        return state;
    }
    return state | STATE_SYSTEM_READONLY;
}

bool CAccessibleParts::ClientRect(LONG id, RECT* rect) const {
    if (id == CHILDID_SELF)
        return GetClientRect(m_window, rect) != FALSE;
    if (const CSVGSimpleObject* button = ButtonOf(id)) {
        *rect = ClientRectOf(*button);
        return true;
    }
    const Declared* declared = DeclaredOf(id);
    if (!declared)
        return false;
    RECT scaled = declared->designRect;
    POINT origin{0, 0};
    if (declared->anchor) {
        if (const CDPI* dpi = declared->anchor->m_dpi)
            dpi->ScaleRect(&scaled);
        const RECT anchor = ClientRectOf(*declared->anchor);
        origin = {anchor.left, anchor.top};
    }
    OffsetRect(&scaled, origin.x, origin.y);
    *rect = scaled;
    return true;
}

bool CAccessibleParts::Location(LONG id, RECT* screen) const {
    RECT client;
    if (!ClientRect(id, &client))
        return false;
    *screen = ToScreen(m_window, client);
    return true;
}

std::wstring CAccessibleParts::Value(LONG id) const {
    const Declared* declared = DeclaredOf(id);
    if (!declared || !declared->percent)
        return {};
    return std::to_wstring(declared->percent()) + L"%";
}

std::wstring CAccessibleParts::DefaultAction(LONG id) const {
    return ButtonOf(id) ? kPressAction : L"";
}

HRESULT CAccessibleParts::DoDefaultAction(LONG id) const {
    const CSVGSimpleObject* button = ButtonOf(id);
    if (!button)
        return DISP_E_MEMBERNOTFOUND;
    if (!button->Pressable())
        return E_FAIL;
    button->PostClick();
    return S_OK;
}

HRESULT CAccessibleParts::TakeFocus(LONG id) const {
    CSVGSimpleObject* button = ButtonOf(id);
    if (!button)
        return DISP_E_MEMBERNOTFOUND;
    return m_takeFocus && m_takeFocus(button) ? S_OK : E_FAIL;
}

LONG CAccessibleParts::HitTest(POINT screen) const {
    POINT client = screen;
    RECT area;
    if (!ScreenToClient(m_window, &client) || !GetClientRect(m_window, &area) ||
        !PtInRect(&area, client))
        return -1;
    for (LONG id : VisibleParts()) {
        RECT rect;
        if (ClientRect(id, &rect) && PtInRect(&rect, client))
            return id;
    }
    return CHILDID_SELF;
}

LONG CAccessibleParts::ProgressBarId() const {
    for (LONG id = 1; id <= Count(); ++id) {
        if (const Declared* declared = DeclaredOf(id); declared && declared->percent)
            return id;
    }
    return 0;
}

int CAccessibleParts::Percent() const {
    const Declared* declared = DeclaredOf(ProgressBarId());
    return declared ? declared->percent() : 0;
}
