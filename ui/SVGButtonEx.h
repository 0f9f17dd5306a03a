#pragma once
// A button drawn from an SVG picture, with one surface per look (normal, hover, pushed,
// disabled) rasterised once when the picture is loaded: hovering and pressing only swap
// the visual's content. Two ways to get the looks from one SVG:
//  - sprite (mode 1): the SVG holds the groups "normal", "hover" and "pushed" side by
//    side in three equal cells of the source rect; disabled is "normal" at 30 % opacity;
//  - recolour (mode 0): the first fill="#RRGGBB" of the SVG is replaced per look.
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

    CSVGButtonEx();

    // The four surfaces: base (normal), disabled, hover, pushed.
    void CreateContent() override;
    void CreateResources(const RECT& designRect) override;
    void Rescale() override;
    // Rasterises all four looks.
    void Redraw() override;
    // Shows the surface of the current look.
    void UpdateState() override;
    // Rasterises one look into surface.
    virtual HRESULT RenderState(int look, Composition::Surface* surface);

    // The look the state bits call for: disabled wins over pushed, pushed over hover.
    int CurrentLook() const;
    // Draws one look at the object's pixel size into graphics.
    void DrawLook(Gdiplus::GpGraphics* graphics, int look) const;

  private:
    const std::shared_ptr<Composition::Surface>& SurfaceOf(int look) const;

    char m_disabledColour[8] = "#CCCCCC";
    char m_hoverColour[8] = "#19CC6E";
    char m_pushedColour[8] = "#00B255";
    std::shared_ptr<Composition::Surface> m_disabledSurface;
    std::shared_ptr<Composition::Surface> m_hoverSurface;
    std::shared_ptr<Composition::Surface> m_pushedSurface;
};
