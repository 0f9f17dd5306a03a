#pragma once
// What assistive technology is told about a dialog whose client area is drawn, not built
// from child windows: the dialog itself (child id 0) and its parts, each a simple child with
// a fixed id. The buttons come first, in keyboard order (ids 1..n, hidden ones included, so
// an id always means the same button); then the texts and the progress bar the dialog
// declares. Names, roles, states, locations (screen pixels) and default actions follow the
// objects as they are now.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class CKeyboardFocus;
class CSVGSimpleObject;

class CAccessibleParts {
  public:
    // The dialog's window and name; its buttons are the keyboard's (focus->Objects()).
    void Attach(HWND window, std::wstring name, const CKeyboardFocus* focus);
    // A text the dialog draws inside anchor, at designRect (design units, from the anchor's
    // top-left corner). Returns its id.
    LONG AddText(std::wstring text, const CSVGSimpleObject* anchor, const RECT& designRect);
    // A progress bar drawn inside anchor; percent gives the drawn position, 0..100.
    LONG AddProgressBar(std::wstring name, const CSVGSimpleObject* anchor, const RECT& designRect,
                        std::function<int()> percent);

    HWND Window() const { return m_window; }
    // Ids 1..Count() are the parts, hidden ones too.
    LONG Count() const;
    bool IsPart(LONG id) const { return id >= 1 && id <= Count(); }
    // The parts shown now, in order.
    std::vector<LONG> VisibleParts() const;
    bool IsVisible(LONG id) const;
    // 0 when the object is not one of the buttons.
    LONG IdOf(const CSVGSimpleObject* object) const;
    CSVGSimpleObject* ButtonOf(LONG id) const;

    // Id 0 is the dialog.
    std::wstring Name(LONG id) const;
    LONG Role(LONG id) const;
    LONG State(LONG id) const;
    // In screen pixels. False for an id that names nothing.
    bool Location(LONG id, RECT* screen) const;
    // The progress bar's value ("45%"); empty for every other part.
    std::wstring Value(LONG id) const;
    std::wstring DefaultAction(LONG id) const;
    // A button that can be pressed is clicked (one WM_COMMAND posted, as a mouse click
    // does). E_FAIL for a button that cannot be pressed now; DISP_E_MEMBERNOTFOUND for a
    // part that has no action.
    HRESULT DoDefaultAction(LONG id) const;
    // SELFLAG_TAKEFOCUS: a button that can be pressed takes the keyboard focus, as the dialog
    // moves it (OnTakeFocus). E_FAIL for one that cannot; DISP_E_MEMBERNOTFOUND for the
    // other parts, which take no focus.
    HRESULT TakeFocus(LONG id) const;
    void OnTakeFocus(std::function<bool(CSVGSimpleObject*)> takeFocus) {
        m_takeFocus = std::move(takeFocus);
    }
    // The visible part at a screen point, 0 for the dialog's other pixels, -1 outside.
    LONG HitTest(POINT screen) const;

    LONG ProgressBarId() const;
    int Percent() const;

  private:
    struct Declared {
        LONG role;
        std::wstring name;
        const CSVGSimpleObject* anchor;
        RECT designRect;
        std::function<int()> percent;
    };

    const std::vector<CSVGSimpleObject*>& Buttons() const;
    const Declared* DeclaredOf(LONG id) const;
    // The part's rectangle in client pixels.
    bool ClientRect(LONG id, RECT* rect) const;

    HWND m_window = nullptr;
    std::wstring m_name;
    const CKeyboardFocus* m_focus = nullptr;
    std::vector<Declared> m_declared;
    std::function<bool(CSVGSimpleObject*)> m_takeFocus;
};

// The client pixels of an object: its rectangle moved by its ancestors' offsets.
RECT ClientRectOf(const CSVGSimpleObject& object);
