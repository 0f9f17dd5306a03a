#pragma once
// One rectangle of a dialog with its own visual: the base of every picture, button and
// page. It keeps the rectangle (pixels and design units), caption, state bits and SVG
// text, hangs its visual under its parent's (or the host's root visual), and rasterises
// its SVG text into its surface. Objects never draw on WM_PAINT: the compositor keeps
// showing a surface until it is filled again.
//
// Creation: set m_dpi and m_host, Create, LoadSVGResource (which draws), append the
// object to the dialog's mouse list if it takes input, and commit the host once for all.
// An object created without a host has no visual and no surface, but routes the mouse.
#include "MouseEventProc.h"
#include "RenderObject.h"
#include "VisibilityListener.h"

#include "svg/gdiplus/GDIPlusApi.h"
#include "ui/composition/Composition.h"

#include <windows.h>

#include <memory>
#include <string>

class CDCompUtil;
class CDPI;
class IFocusRingPainter;

class CSVGSimpleObject : public IRenderObject, public CMyMouseEventProc<CSVGSimpleObject> {
  public:
    // Room for 259 UTF-16 units and the terminator; longer captions are cut.
    static constexpr int kCaptionSize = 260;

    CSVGSimpleObject() = default;

    void Render() override {}
    virtual ~CSVGSimpleObject();
    // Creates child under this object, with this object's dpi and host, mode 0; loads
    // the SVG resource (0 = none) and, if asked, lets the child take input through this.
    virtual void CreateChild(CSVGSimpleObject* child, const RECT& designRect,
                             const wchar_t* caption, int id, int svgResource, bool addToChildren);
    // The surface the picture goes to, at the pixel size of the rectangle.
    virtual void CreateContent();
    // A rounded clip in the visual's own pixels; radii top-left x, y, top-right x, y,
    // bottom-left x, y, bottom-right x, y.
    virtual void SetClip(const RECT& edges, const int radii[8]);
    virtual void ClearClip();
    // Spare hook; nothing in the toolkit calls it.
    virtual void Hook() {}
    // Text formats and first frames of the objects that draw text; called last by Create.
    virtual void CreateResources(const RECT& designRect);
    // Moves and resizes to a rectangle in pixels; leaves *rect holding design units.
    virtual void SetRect(RECT* rect);
    // Applies the DPI to the design rectangle again (the visual's offset stays): resizes the
    // content, does not draw it.
    virtual void Rescale();
    // Takes the SVG text from resource id of type "SVG" and redraws.
    virtual void LoadSVGResource(int id);
    // Told 0 when the object is hidden.
    virtual void Notify(int value);
    // Rasterises the SVG text into the surface; 0 without a surface.
    virtual HRESULT RenderSVG();
    // Draws the SVG text at its own size (scaled for DPI) into graphics, anchored at the
    // top-left. A text the SVG engine rejects draws nothing.
    virtual void DrawSVG(Gdiplus::GpGraphics* graphics);
    virtual void Redraw();
    // Shows the current state bits; buttons override it. The caller commits.
    virtual void UpdateState();
    // Draws the keyboard focus ring in the object's picture, or stops drawing it; the
    // caller commits. Buttons draw it (with their painter); other objects only keep the flag.
    virtual void ShowFocusRing(bool shown);
    // The DPI changed: the rectangle, the visual's offset, the content at the new pixel size,
    // the text formats and every picture made again from the design rectangle, children too.
    // The caller commits.
    virtual void Relayout();

    // The devices were lost and the host's tree is new: the visual, the effect group, the clip
    // and the content are made again on the host's new device, the object laid out as it
    // stands (rectangle, shown or hidden, opacity, state, focus ring), its text formats made
    // again and every picture drawn, children too. The caller commits.
    virtual void RecreateComposition();

    // Owner window, rectangle in design units (in the parent's coordinates), caption
    // (or null), command id, parent (or null for the host's root visual), mode.
    void Create(HWND owner, const RECT& designRect, const wchar_t* caption, int id,
                CSVGSimpleObject* parent, int mode);
    // Takes the visual out of the tree and the object (and its children) out of mouse
    // routing; Show puts it back on top of its siblings. Neither commits.
    void Hide();
    void Show();

    // Disables (no input, disabled look) or enables the object and shows the result.
    void Enable(bool enable);
    // Visible (with its ancestors), takes input and is enabled: an object the keyboard and
    // assistive technology may press.
    bool Pressable() const;
    // The keyboard's press (Space): the object looks pushed until KeyRelease, which clicks
    // it when asked, as a mouse click does. The caller commits.
    void KeyPress();
    void KeyRelease(bool click);
    // Corner radius of the button's shape in design units; the focus ring follows it.
    void SetFocusRingRadius(int radius) { m_focusRingRadius = radius; }
    int FocusRingRadius() const { return m_focusRingRadius; }
    bool FocusRingShown() const { return m_focusRing; }
    // How the ring is drawn; set before the ring first shows (null: no ring is drawn).
    void SetFocusRingPainter(const IFocusRingPainter* painter) { m_focusRingPainter = painter; }
    // Told after each Hide and Show that changes the visible flag (null: nobody).
    void SetVisibilityListener(IVisibilityListener* listener) { m_visibilityListener = listener; }
    void SetSVGText(std::string text) { m_svgText = std::move(text); }
    // Hit tests use this rectangle (pixels, parent's coordinates) and the object takes
    // input even when it passes the mouse through otherwise.
    void SetHitRect(const RECT& hitRect);
    void SetPassThrough(bool passThrough) { m_passThrough = passThrough; }
    // The part of the document a picture is taken from (document units).
    void SetSourceRect(const RECT& sourceRect);
    // Opacity of the visual and everything under it.
    void SetOpacity(float opacity);

    const RECT& Rect() const { return m_rect; }
    const RECT& DesignRect() const { return m_designRect; }
    const RECT& HitRect() const { return m_hitRect; }
    int Id() const { return m_id; }
    int Mode() const { return m_mode; }
    float Opacity() const { return m_opacity; }
    HWND Owner() const { return m_owner; }
    const wchar_t* Caption() const { return m_caption; }
    const std::string& SVGText() const { return m_svgText; }
    CSVGSimpleObject* Parent() const { return m_parent; }
    const std::shared_ptr<Composition::Visual>& Visual() const { return m_visual; }
    int PixelWidth() const { return m_rect.right - m_rect.left; }
    int PixelHeight() const { return m_rect.bottom - m_rect.top; }

    // Set by the creator before Create.
    CDPI* m_dpi = nullptr;
    CDCompUtil* m_host = nullptr;

  protected:
    int Scale(int value) const;
    int Unscale(int value) const;
    RECT ScaleRect(const RECT& designRect) const;
    // The design rectangle scaled again; false when its size equals the current one.
    bool ScaledRectChanged(RECT* scaled) const;
    // Where this object's visual hangs: the parent's visual or the host's root visual.
    std::shared_ptr<Composition::Visual> ParentVisual() const;
    Composition::Device* CompositionDevice() const;
    // The visual (under the parent's, unless hidden), the content and the effect group with
    // the opacity, on the host's device.
    void BuildComposition();
    // The result of a composition step, told to the host (which may have the window made
    // again when DirectComposition fails); returned.
    HRESULT Checked(HRESULT hr) const;

    wchar_t m_caption[kCaptionSize] = {};
    wchar_t m_captionCopy[kCaptionSize] = {};
    BOOL m_useSourceRect = FALSE;
    RECT m_sourceRect{0, 0, 72, 24};
    std::string m_svgText = "<svg></svg>";
    std::shared_ptr<Composition::Visual> m_visual;
    std::shared_ptr<Composition::Surface> m_surface;
    std::shared_ptr<Composition::EffectGroup> m_effectGroup;
    std::shared_ptr<Composition::RectangleClip> m_clip;
    // What SetClip was given last.
    RECT m_clipEdges{};
    int m_clipRadii[8] = {};
    CSVGSimpleObject* m_parent = nullptr;
    bool m_focusRing = false;
    int m_focusRingRadius = 0;
    const IFocusRingPainter* m_focusRingPainter = nullptr;
    IVisibilityListener* m_visibilityListener = nullptr;
};
