#include "SVGButtonEx.h"

#include "BitmapToSurface.h"
#include "D2DLock.h"
#include "DCompUtil.h"
#include "FillRecolour.h"
#include "FocusRingPainter.h"
#include "RasterCount.h"

#include "svg/SVGDocument.h"
#include "svg/gdiplus/GDIPlusSVGBitmap.h"
#include "svg/gdiplus/GDIPlusSVGRenderer.h"

CSVGButtonEx::CSVGButtonEx() {
    m_passThrough = FALSE;
}

void CSVGButtonEx::CreateContent() {
    m_surface.reset();
    m_disabledSurface.reset();
    m_hoverSurface.reset();
    m_pushedSurface.reset();
    for (std::shared_ptr<Composition::Surface>& surface : m_focusedSurfaces)
        surface.reset();
    Composition::Device* device = CompositionDevice();
    if (!device)
        return;
    for (std::shared_ptr<Composition::Surface>* surface :
         {&m_surface, &m_disabledSurface, &m_hoverSurface, &m_pushedSurface})
        Checked(device->CreateVirtualSurface(PixelWidth(), PixelHeight(), surface));
    // Made again while the ring shows (after a device loss): the looks with the ring too.
    if (m_focusRing)
        CreateFocusedLooks();
}

void CSVGButtonEx::CreateResources(const RECT&) {}

void CSVGButtonEx::Rescale() {
    RECT scaled;
    if (!m_surface || !ScaledRectChanged(&scaled))
        return;
    const UINT width = scaled.right - scaled.left;
    const UINT height = scaled.bottom - scaled.top;
    for (const std::shared_ptr<Composition::Surface>& surface :
         {m_surface, m_disabledSurface, m_hoverSurface, m_pushedSurface, m_focusedSurfaces[0],
          m_focusedSurfaces[1], m_focusedSurfaces[2]}) {
        if (surface)
            surface->Resize(width, height);
    }
    m_rect = m_hitRect = scaled;
}

void CSVGButtonEx::Redraw() {
    for (int look : {kNormalLook, kHoverLook, kPushedLook, kDisabledLook})
        RenderState(look, SurfaceOf(look).get());
    RenderFocusedLooks();
}

void CSVGButtonEx::ShowFocusRing(bool shown) {
    if (shown && !m_focusedSurfaces[0]) {
        CreateFocusedLooks();
        RenderFocusedLooks();
    }
    CSVGSimpleObject::ShowFocusRing(shown);
}

void CSVGButtonEx::CreateFocusedLooks() {
    Composition::Device* device = CompositionDevice();
    if (!device || !m_surface)
        return;
    for (std::shared_ptr<Composition::Surface>& surface : m_focusedSurfaces)
        Checked(device->CreateVirtualSurface(PixelWidth(), PixelHeight(), &surface));
}

void CSVGButtonEx::RenderFocusedLooks() {
    for (int i = 0; i < 3; ++i) {
        if (m_focusedSurfaces[i])
            RenderState(kFocusedLooks[i] | kWithFocusRing, m_focusedSurfaces[i].get());
    }
}

int CSVGButtonEx::CurrentLook() const {
    if (m_state & kDisabled)
        return kDisabledLook;
    if (m_state & kPushedBits)
        return kPushedLook;
    if (m_state & kHover)
        return kHoverLook;
    return kNormalLook;
}

void CSVGButtonEx::UpdateState() {
    if (!m_visual)
        return;
    const int look = CurrentLook();
    const std::shared_ptr<Composition::Surface>& focused = FocusedSurfaceOf(look);
    m_visual->SetContent(m_focusRing && focused ? focused : SurfaceOf(look));
}

const std::shared_ptr<Composition::Surface>& CSVGButtonEx::FocusedSurfaceOf(int look) const {
    static const std::shared_ptr<Composition::Surface> none;
    for (int i = 0; i < 3; ++i) {
        if (kFocusedLooks[i] == look)
            return m_focusedSurfaces[i];
    }
    return none;
}

const std::shared_ptr<Composition::Surface>& CSVGButtonEx::SurfaceOf(int look) const {
    switch (look) {
    case kDisabledLook:
        return m_disabledSurface;
    case kPushedLook:
        return m_pushedSurface;
    case kHoverLook:
        return m_hoverSurface;
    default:
        return m_surface;
    }
}

HRESULT CSVGButtonEx::RenderState(int look, Composition::Surface* surface) {
    if (!surface)
        return 0;
    SVGEngine::GDIPlusSVGBitmap bitmap(PixelWidth(), PixelHeight());
    if (!bitmap.Valid())
        return E_FAIL;
    DrawLook(bitmap.Graphics(), look);
    RasterCount::Add();
    const CD2DLock lock(m_host ? m_host->Multithread() : nullptr);
    return Checked(CopyBitmapToSurface(bitmap, surface));
}

void CSVGButtonEx::DrawLook(Gdiplus::GpGraphics* graphics, int look) const {
    if (look & kWithFocusRing) {
        DrawLook(graphics, look & ~kWithFocusRing);
        if (m_focusRingPainter)
            m_focusRingPainter->Paint(graphics, PixelWidth(), PixelHeight(), m_dpi,
                                      m_focusRingRadius);
        return;
    }
    auto renderer = std::make_shared<SVGEngine::GDIPlusSVGRenderer>();
    renderer->SetTarget(graphics);
    const float width = static_cast<float>(PixelWidth());
    const float height = static_cast<float>(PixelHeight());
    try {
        if (m_mode == kSpriteMode) {
            const auto document = SVGEngine::SVGDocument::Create(m_svgText.c_str(), renderer);
            const int cell = (m_sourceRect.right - m_sourceRect.left) / 3;
            const int cellHeight = m_sourceRect.bottom - m_sourceRect.top;
            const char* id = "normal";
            int cellLeft = 0;
            float opacity = 1.0f;
            if (look == kDisabledLook) {
                opacity = 0.3f;
            } else if (look == kPushedLook) {
                id = "pushed";
                cellLeft = 2 * cell;
            } else if (look == kHoverLook) {
                id = "hover";
                cellLeft = cell;
            }
            document->RenderElement(id, 0.0f, 0.0f, width, height, static_cast<float>(cellLeft),
                                    0.0f, static_cast<float>(cell), static_cast<float>(cellHeight),
                                    opacity);
            return;
        }
        const char* colour = look == kPushedLook     ? m_pushedColour
                             : look == kHoverLook    ? m_hoverColour
                             : look == kDisabledLook ? m_disabledColour
                                                     : nullptr;
        const std::string text = colour ? RecolourFirstFill(m_svgText, colour) : m_svgText;
        const auto document = SVGEngine::SVGDocument::Create(text.c_str(), renderer);
        // The source as left, top, width, height in document units.
        float source[4] = {0.0f, 0.0f, static_cast<float>(m_designRect.right - m_designRect.left),
                           static_cast<float>(m_designRect.bottom - m_designRect.top)};
        if (m_useSourceRect) {
            source[0] = static_cast<float>(m_sourceRect.left);
            source[1] = static_cast<float>(m_sourceRect.top);
            source[2] = static_cast<float>(m_sourceRect.right - m_sourceRect.left);
            source[3] = static_cast<float>(m_sourceRect.bottom - m_sourceRect.top);
        }
        document->Render(0.0f, 0.0f, width, height, source[0], source[1], source[2], source[3],
                         1.0f);
    } catch (const SVGEngine::SVGError&) {
        // A picture the engine rejects stays blank; the dialog goes on.
    } catch (const boost::property_tree::detail::rapidxml::parse_error&) {
    }
}
