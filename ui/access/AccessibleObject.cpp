#include "AccessibleObject.h"

#include "AccessibleParts.h"
#include "Oleacc.h"

#include <algorithm>
#include <string>

namespace {

// Fills children with VT_I4 ids from ids[*cursor], at most count of them.
HRESULT EnumerateIds(const std::vector<LONG>& ids, ULONG* cursor, ULONG count, VARIANT* children,
                     ULONG* fetched) {
    if (!children || (count > 1 && !fetched))
        return E_INVALIDARG;
    ULONG given = 0;
    while (given < count && *cursor < ids.size()) {
        VariantInit(&children[given]);
        children[given].vt = VT_I4;
        children[given].lVal = ids[(*cursor)++];
        ++given;
    }
    if (fetched)
        *fetched = given;
    return given == count ? S_OK : S_FALSE;
}

// A copy of the visible children with its own cursor, for IEnumVARIANT::Clone.
class CChildIdEnumerator final : public IEnumVARIANT {
  public:
    CChildIdEnumerator(std::vector<LONG> ids, ULONG cursor)
        : m_ids(std::move(ids)), m_cursor(cursor) {}

    STDMETHODIMP QueryInterface(REFIID id, void** object) override {
        if (!object)
            return E_POINTER;
        if (id == __uuidof(IUnknown) || id == __uuidof(IEnumVARIANT)) {
            *object = static_cast<IEnumVARIANT*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&m_references); }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG left = InterlockedDecrement(&m_references);
        if (left == 0)
            delete this;
        return left;
    }
    STDMETHODIMP Next(ULONG count, VARIANT* children, ULONG* fetched) override {
        return EnumerateIds(m_ids, &m_cursor, count, children, fetched);
    }
    STDMETHODIMP Skip(ULONG count) override {
        const ULONG left = static_cast<ULONG>(m_ids.size()) - m_cursor;
        m_cursor += std::min(count, left);
        return count <= left ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override {
        m_cursor = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumVARIANT** copy) override {
        if (!copy)
            return E_POINTER;
        *copy = new (std::nothrow) CChildIdEnumerator(m_ids, m_cursor);
        return *copy ? S_OK : E_OUTOFMEMORY;
    }

  private:
    ~CChildIdEnumerator() = default;
    LONG m_references = 1;
    std::vector<LONG> m_ids;
    ULONG m_cursor;
};

void SetI4(VARIANT* variant, LONG value) {
    VariantInit(variant);
    variant->vt = VT_I4;
    variant->lVal = value;
}

} // namespace

CAccessibleObject* CAccessibleObject::Create(const CAccessibleParts* parts) {
    return new (std::nothrow) CAccessibleObject(parts);
}

void CAccessibleObject::Disconnect() {
    if (!m_parts)
        return;
    m_parts = nullptr;
    CoDisconnectObject(static_cast<IAccessible*>(this), 0);
}

STDMETHODIMP CAccessibleObject::QueryInterface(REFIID id, void** object) {
    if (!object)
        return E_POINTER;
    if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible))
        *object = static_cast<IAccessible*>(this);
    else if (id == __uuidof(IEnumVARIANT))
        *object = static_cast<IEnumVARIANT*>(this);
    else if (id == __uuidof(IOleWindow))
        *object = static_cast<IOleWindow*>(this);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CAccessibleObject::AddRef() {
    return InterlockedIncrement(&m_references);
}

STDMETHODIMP_(ULONG) CAccessibleObject::Release() {
    const LONG left = InterlockedDecrement(&m_references);
    if (left == 0)
        delete this;
    return left;
}

STDMETHODIMP CAccessibleObject::GetTypeInfoCount(UINT* count) {
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP CAccessibleObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CAccessibleObject::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

STDMETHODIMP CAccessibleObject::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                       EXCEPINFO*, UINT*) {
    return E_NOTIMPL;
}

HRESULT CAccessibleObject::ChildId(const VARIANT& child, LONG* id) const {
    if (!m_parts)
        return RPC_E_DISCONNECTED;
    if (child.vt != VT_I4)
        return E_INVALIDARG;
    if (child.lVal != CHILDID_SELF && !m_parts->IsPart(child.lVal))
        return E_INVALIDARG;
    *id = child.lVal;
    return S_OK;
}

HRESULT CAccessibleObject::Text(const std::wstring& text, BSTR* answer) {
    if (text.empty()) {
        *answer = nullptr;
        return S_FALSE;
    }
    *answer = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *answer ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CAccessibleObject::get_accParent(IDispatch** parent) {
    if (!parent)
        return E_POINTER;
    *parent = nullptr;
    if (!m_parts)
        return RPC_E_DISCONNECTED;
    // The window's own object, which the system provides.
    return Oleacc::ObjectFromWindow(m_parts->Window(), static_cast<DWORD>(OBJID_WINDOW),
                                    __uuidof(IDispatch), reinterpret_cast<void**>(parent));
}

STDMETHODIMP CAccessibleObject::get_accChildCount(long* count) {
    if (!count)
        return E_POINTER;
    *count = 0;
    if (!m_parts)
        return RPC_E_DISCONNECTED;
    *count = static_cast<long>(m_parts->VisibleParts().size());
    return S_OK;
}

STDMETHODIMP CAccessibleObject::get_accChild(VARIANT child, IDispatch** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    LONG id;
    const HRESULT result = ChildId(child, &id);
    if (FAILED(result))
        return result;
    if (id == CHILDID_SELF)
        return E_INVALIDARG;
    // Simple elements: the client asks this object about them by id.
    return S_FALSE;
}

STDMETHODIMP CAccessibleObject::get_accName(VARIANT child, BSTR* name) {
    if (!name)
        return E_POINTER;
    *name = nullptr;
    LONG id;
    const HRESULT result = ChildId(child, &id);
    return FAILED(result) ? result : Text(m_parts->Name(id), name);
}

STDMETHODIMP CAccessibleObject::get_accValue(VARIANT child, BSTR* value) {
    if (!value)
        return E_POINTER;
    *value = nullptr;
    LONG id;
    const HRESULT result = ChildId(child, &id);
    return FAILED(result) ? result : Text(m_parts->Value(id), value);
}

STDMETHODIMP CAccessibleObject::get_accDescription(VARIANT child, BSTR* description) {
    if (!description)
        return E_POINTER;
    *description = nullptr;
    LONG id;
    const HRESULT result = ChildId(child, &id);
    return FAILED(result) ? result : S_FALSE;
}

STDMETHODIMP CAccessibleObject::get_accRole(VARIANT child, VARIANT* role) {
    if (!role)
        return E_POINTER;
    VariantInit(role);
    LONG id;
    const HRESULT result = ChildId(child, &id);
    if (FAILED(result))
        return result;
    SetI4(role, m_parts->Role(id));
    return S_OK;
}

STDMETHODIMP CAccessibleObject::get_accState(VARIANT child, VARIANT* state) {
    if (!state)
        return E_POINTER;
    VariantInit(state);
    LONG id;
    const HRESULT result = ChildId(child, &id);
    if (FAILED(result))
        return result;
    SetI4(state, m_parts->State(id));
    return S_OK;
}

STDMETHODIMP CAccessibleObject::get_accHelp(VARIANT child, BSTR* help) {
    if (!help)
        return E_POINTER;
    *help = nullptr;
    LONG id;
    const HRESULT result = ChildId(child, &id);
    return FAILED(result) ? result : S_FALSE;
}

STDMETHODIMP CAccessibleObject::get_accHelpTopic(BSTR* helpFile, VARIANT child, long* topic) {
    if (!helpFile || !topic)
        return E_POINTER;
    *helpFile = nullptr;
    *topic = -1;
    LONG id;
    const HRESULT result = ChildId(child, &id);
    return FAILED(result) ? result : S_FALSE;
}

STDMETHODIMP CAccessibleObject::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    if (!shortcut)
        return E_POINTER;
    *shortcut = nullptr;
    LONG id;
    const HRESULT result = ChildId(child, &id);
    return FAILED(result) ? result : S_FALSE;
}

STDMETHODIMP CAccessibleObject::get_accFocus(VARIANT* child) {
    if (!child)
        return E_POINTER;
    VariantInit(child);
    if (!m_parts)
        return RPC_E_DISCONNECTED;
    if (GetFocus() != m_parts->Window())
        return S_FALSE;
    LONG focused = CHILDID_SELF;
    for (LONG id : m_parts->VisibleParts()) {
        if (m_parts->State(id) & STATE_SYSTEM_FOCUSED)
            focused = id;
    }
    SetI4(child, focused);
    return S_OK;
}

STDMETHODIMP CAccessibleObject::get_accSelection(VARIANT* children) {
    if (!children)
        return E_POINTER;
    VariantInit(children);
    return m_parts ? S_FALSE : RPC_E_DISCONNECTED;
}

STDMETHODIMP CAccessibleObject::get_accDefaultAction(VARIANT child, BSTR* action) {
    if (!action)
        return E_POINTER;
    *action = nullptr;
    LONG id;
    const HRESULT result = ChildId(child, &id);
    return FAILED(result) ? result : Text(m_parts->DefaultAction(id), action);
}

STDMETHODIMP CAccessibleObject::accSelect(long flags, VARIANT child) {
    LONG id;
    const HRESULT result = ChildId(child, &id);
    if (FAILED(result))
        return result;
    // Only the focus can be taken, and only by a button that can be pressed.
    if (flags != SELFLAG_TAKEFOCUS)
        return DISP_E_MEMBERNOTFOUND;
    return m_parts->TakeFocus(id);
}

STDMETHODIMP CAccessibleObject::accLocation(long* left, long* top, long* width, long* height,
                                            VARIANT child) {
    if (!left || !top || !width || !height)
        return E_POINTER;
    *left = *top = *width = *height = 0;
    LONG id;
    const HRESULT result = ChildId(child, &id);
    if (FAILED(result))
        return result;
    RECT screen;
    if (!m_parts->Location(id, &screen))
        return S_FALSE;
    *left = screen.left;
    *top = screen.top;
    *width = screen.right - screen.left;
    *height = screen.bottom - screen.top;
    return S_OK;
}

STDMETHODIMP CAccessibleObject::accNavigate(long direction, VARIANT start, VARIANT* end) {
    if (!end)
        return E_POINTER;
    VariantInit(end);
    LONG from;
    const HRESULT result = ChildId(start, &from);
    if (FAILED(result))
        return result;
    const std::vector<LONG> visible = m_parts->VisibleParts();
    LONG to = 0;
    if (from == CHILDID_SELF) {
        if (direction == NAVDIR_FIRSTCHILD && !visible.empty())
            to = visible.front();
        else if (direction == NAVDIR_LASTCHILD && !visible.empty())
            to = visible.back();
        else if (direction != NAVDIR_FIRSTCHILD && direction != NAVDIR_LASTCHILD)
            return DISP_E_MEMBERNOTFOUND; // the window's siblings are the system's business
    } else {
        const auto at = std::find(visible.begin(), visible.end(), from);
        const bool forward =
            direction == NAVDIR_NEXT || direction == NAVDIR_RIGHT || direction == NAVDIR_DOWN;
        const bool backward =
            direction == NAVDIR_PREVIOUS || direction == NAVDIR_LEFT || direction == NAVDIR_UP;
        if (!forward && !backward)
            return E_INVALIDARG;
        if (at != visible.end()) {
            if (forward && at + 1 != visible.end())
                to = *(at + 1);
            else if (backward && at != visible.begin())
                to = *(at - 1);
        }
    }
    if (to == 0)
        return S_FALSE;
    SetI4(end, to);
    return S_OK;
}

STDMETHODIMP CAccessibleObject::accHitTest(long left, long top, VARIANT* child) {
    if (!child)
        return E_POINTER;
    VariantInit(child);
    if (!m_parts)
        return RPC_E_DISCONNECTED;
    const LONG id = m_parts->HitTest(POINT{left, top});
    if (id < 0)
        return S_FALSE;
    SetI4(child, id);
    return S_OK;
}

STDMETHODIMP CAccessibleObject::accDoDefaultAction(VARIANT child) {
    LONG id;
    const HRESULT result = ChildId(child, &id);
    return FAILED(result) ? result : m_parts->DoDefaultAction(id);
}

STDMETHODIMP CAccessibleObject::put_accName(VARIANT, BSTR) {
    return E_NOTIMPL;
}

STDMETHODIMP CAccessibleObject::put_accValue(VARIANT, BSTR) {
    return E_NOTIMPL;
}

STDMETHODIMP CAccessibleObject::Next(ULONG count, VARIANT* children, ULONG* fetched) {
    if (fetched)
        *fetched = 0;
    if (!m_parts)
        return RPC_E_DISCONNECTED;
    return EnumerateIds(m_parts->VisibleParts(), &m_cursor, count, children, fetched);
}

STDMETHODIMP CAccessibleObject::Skip(ULONG count) {
    if (!m_parts)
        return RPC_E_DISCONNECTED;
    const ULONG total = static_cast<ULONG>(m_parts->VisibleParts().size());
    const ULONG left = total > m_cursor ? total - m_cursor : 0;
    m_cursor += std::min(count, left);
    return count <= left ? S_OK : S_FALSE;
}

STDMETHODIMP CAccessibleObject::Reset() {
    m_cursor = 0;
    return m_parts ? S_OK : RPC_E_DISCONNECTED;
}

STDMETHODIMP CAccessibleObject::Clone(IEnumVARIANT** copy) {
    if (!copy)
        return E_POINTER;
    *copy = nullptr;
    if (!m_parts)
        return RPC_E_DISCONNECTED;
    *copy = new (std::nothrow) CChildIdEnumerator(m_parts->VisibleParts(), m_cursor);
    return *copy ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CAccessibleObject::GetWindow(HWND* window) {
    if (!window)
        return E_POINTER;
    *window = m_parts ? m_parts->Window() : nullptr;
    return m_parts ? S_OK : RPC_E_DISCONNECTED;
}

STDMETHODIMP CAccessibleObject::ContextSensitiveHelp(BOOL) {
    return E_NOTIMPL;
}
