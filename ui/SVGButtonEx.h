#pragma once
// A button drawn from an SVG picture, with one surface per look (normal, hover, pushed,
// disabled) rasterised once when the picture is loaded: hovering and pressing only swap
// the visual's content. Two ways to get the looks from one SVG:
//  - sprite (mode 1): the SVG holds the groups "normal", "hover" and "pushed" side by
//    side in three equal cells of the source rect; disabled is "normal" at 30 % opacity;
//  - recolour (mode 0): the first fill="#RRGGBB" of the SVG is replaced per look.
// The focus ring adds three more surfaces (normal, hover and pushed with the ring), made
// the first time the ring is shown: a program used with the mouse alone never pays for
// them, and once they exist hovering and pressing a focused button still only swap.
#include "SVGSimpleObject.h"

class CSVGButtonEx : public CSVGSimpleObject {
  public:
    static constexpr int kRecolourMode = 0;
    static constexpr int kSpriteMode = 1;
    // The looks, as RenderState takes them.
    static constexpr int kNormalLook = 0;
    static constexpr int kHoverLook = 1;
    static constexpr int kPushedLook = 2;
    static constexpr int kDisabledLook = 4;
    // Added to a look: the look with the keyboard focus ring.
    static constexpr int kWithFocusRing = 8;

    CSVGButtonEx();

    // The four surfaces: base (normal), disabled, hover, pushed.
    void CreateContent() override;
    void CreateResources(const RECT& designRect) override;
    void Rescale() override;
    // Rasterises all four looks.
    void Redraw() override;
    // Shows the surface of the current look.
    void UpdateState() override;
    // Makes the focused looks the first time the ring is shown.
    void ShowFocusRing(bool shown) override;
    // Rasterises one look (with kWithFocusRing, if asked) into surface.
    virtual HRESULT RenderState(int look, Composition::Surface* surface);

    // The look the state bits call for: disabled wins over pushed, pushed over hover.
    int CurrentLook() const;
    // Draws one look (with kWithFocusRing, if asked) at the object's pixel size into
    // graphics.
    void DrawLook(Gdiplus::GpGraphics* graphics, int look) const;

  private:
    static constexpr int kFocusedLooks[3] = {kNormalLook, kHoverLook, kPushedLook};

    const std::shared_ptr<Composition::Surface>& SurfaceOf(int look) const;
    // The surface of a look with the ring; null for the disabled look, which takes no focus.
    const std::shared_ptr<Composition::Surface>& FocusedSurfaceOf(int look) const;
    void CreateFocusedLooks();
    void RenderFocusedLooks();

    char m_disabledColour[8] = "#CCCCCC";
    char m_hoverColour[8] = "#19CC6E";
    char m_pushedColour[8] = "#00B255";
    std::shared_ptr<Composition::Surface> m_disabledSurface;
    std::shared_ptr<Composition::Surface> m_hoverSurface;
    std::shared_ptr<Composition::Surface> m_pushedSurface;
    // Normal, hover and pushed with the focus ring; empty until the ring is first shown.
    std::shared_ptr<Composition::Surface> m_focusedSurfaces[3];
};
