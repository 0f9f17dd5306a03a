#pragma once
// The MSAA object of a dialog's client area (IAccessible, with IEnumVARIANT over its visible
// children and IOleWindow for its window), answering from the dialog's parts. Its children
// are simple elements named by their ids; none is an object of its own. Clients may hold it
// longer than the dialog lives: Disconnect, when the dialog goes, makes every later call fail
// with RPC_E_DISCONNECTED and lets go of the clients in other processes.
#include <oleacc.h>
#include <windows.h>

#include <string>
#include <vector>

class CAccessibleParts;

class CAccessibleObject final : public IAccessible, public IEnumVARIANT, public IOleWindow {
  public:
    // A new object with one reference, which the caller owns.
    static CAccessibleObject* Create(const CAccessibleParts* parts);
    void Disconnect();

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID id, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch: no type information; clients use the IAccessible methods.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                        UINT*) override;

    // IAccessible
    STDMETHODIMP get_accParent(IDispatch** parent) override;
    STDMETHODIMP get_accChildCount(long* count) override;
    STDMETHODIMP get_accChild(VARIANT child, IDispatch** object) override;
    STDMETHODIMP get_accName(VARIANT child, BSTR* name) override;
    STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override;
    STDMETHODIMP get_accDescription(VARIANT child, BSTR* description) override;
    STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override;
    STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override;
    STDMETHODIMP get_accHelp(VARIANT child, BSTR* help) override;
    STDMETHODIMP get_accHelpTopic(BSTR* helpFile, VARIANT child, long* topic) override;
    STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    STDMETHODIMP get_accFocus(VARIANT* child) override;
    STDMETHODIMP get_accSelection(VARIANT* children) override;
    STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override;
    STDMETHODIMP accSelect(long flags, VARIANT child) override;
    STDMETHODIMP accLocation(long* left, long* top, long* width, long* height,
                             VARIANT child) override;
    STDMETHODIMP accNavigate(long direction, VARIANT start, VARIANT* end) override;
    STDMETHODIMP accHitTest(long left, long top, VARIANT* child) override;
    STDMETHODIMP accDoDefaultAction(VARIANT child) override;
    STDMETHODIMP put_accName(VARIANT child, BSTR name) override;
    STDMETHODIMP put_accValue(VARIANT child, BSTR value) override;

    // IEnumVARIANT: the ids of the visible children, as VT_I4.
    STDMETHODIMP Next(ULONG count, VARIANT* children, ULONG* fetched) override;
    STDMETHODIMP Skip(ULONG count) override;
    STDMETHODIMP Reset() override;
    STDMETHODIMP Clone(IEnumVARIANT** copy) override;

    // IOleWindow
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override;

  private:
    explicit CAccessibleObject(const CAccessibleParts* parts) : m_parts(parts) {}
    ~CAccessibleObject() = default;

    // S_OK with the id of a child (or CHILDID_SELF) named by the variant; E_INVALIDARG for
    // anything else; RPC_E_DISCONNECTED once the dialog is gone.
    HRESULT ChildId(const VARIANT& child, LONG* id) const;
    // A text answer: S_FALSE and null for an empty one.
    static HRESULT Text(const std::wstring& text, BSTR* answer);

    LONG m_references = 1;
    const CAccessibleParts* m_parts;
    // Where the enumeration of the children stands.
    ULONG m_cursor = 0;
};
