#include "SVGSimpleObject.h"

#include "BitmapToSurface.h"
#include "D2DLock.h"
#include "DCompUtil.h"
#include "DPI.h"
#include "RasterCount.h"

#include "svg/SVGDocument.h"
#include "svg/gdiplus/GDIPlusSVGBitmap.h"
#include "svg/gdiplus/GDIPlusSVGRenderer.h"

#include <algorithm>
#include <cstring>

CSVGSimpleObject::~CSVGSimpleObject() {
    // A dialog may end while one of its objects holds the press.
    if (s_captured == this)
        s_captured = nullptr;
}

int CSVGSimpleObject::Scale(int value) const {
    return m_dpi ? m_dpi->Scale(value) : value;
}

int CSVGSimpleObject::Unscale(int value) const {
    return m_dpi ? m_dpi->Unscale(value) : value;
}

RECT CSVGSimpleObject::ScaleRect(const RECT& designRect) const {
    RECT scaled = designRect;
    if (m_dpi)
        m_dpi->ScaleRect(&designRect, &scaled);
    return scaled;
}

bool CSVGSimpleObject::ScaledRectChanged(RECT* scaled) const {
    *scaled = ScaleRect(m_designRect);
    return scaled->right - scaled->left != PixelWidth() ||
           scaled->bottom - scaled->top != PixelHeight();
}

Composition::Device* CSVGSimpleObject::CompositionDevice() const {
    return m_host ? m_host->CompositionDevice() : nullptr;
}

HRESULT CSVGSimpleObject::Checked(HRESULT hr) const {
    return m_host ? m_host->Check(hr) : hr;
}

std::shared_ptr<Composition::Visual> CSVGSimpleObject::ParentVisual() const {
    if (m_parent)
        return m_parent->m_visual;
    return m_host ? m_host->RootVisual() : nullptr;
}

void CSVGSimpleObject::Create(HWND owner, const RECT& designRect, const wchar_t* caption, int id,
                              CSVGSimpleObject* parent, int mode) {
    m_owner = owner;
    m_parent = parent;
    m_designRect = designRect;
    m_rect = m_hitRect = ScaleRect(designRect);
    m_id = id;
    if (caption) {
        wcsncpy(m_caption, caption, kCaptionSize - 1);
        m_caption[kCaptionSize - 1] = L'\0';
        std::memcpy(m_captionCopy, m_caption, sizeof m_caption);
    }
    m_mode = mode;

    m_visible = TRUE;
    // Created again (a dialog run again on a new window), the object starts afresh.
    m_clip.reset();
    BuildComposition();
    CreateResources(m_designRect);
}

void CSVGSimpleObject::BuildComposition() {
    m_visual.reset();
    m_effectGroup.reset();
    if (Composition::Device* device = CompositionDevice()) {
        Checked(device->CreateVisual(&m_visual));
        CreateContent();
        if (m_visual) {
            m_visual->SetOffsetX(static_cast<float>(m_rect.left));
            m_visual->SetOffsetY(static_cast<float>(m_rect.top));
            const std::shared_ptr<Composition::Visual> parentVisual = ParentVisual();
            if (parentVisual && m_visible)
                parentVisual->AddVisual(m_visual);
            if (m_surface)
                m_visual->SetContent(m_surface);
            Checked(device->CreateEffectGroup(&m_effectGroup));
            m_visual->SetEffect(m_effectGroup);
        }
    }
    if (m_effectGroup)
        m_effectGroup->SetOpacity(m_opacity);
}

void CSVGSimpleObject::RecreateComposition() {
    const bool clipped = m_clip != nullptr;
    m_clip.reset();
    BuildComposition();
    if (clipped)
        SetClip(m_clipEdges, m_clipRadii);
    CreateResources(m_designRect);
    Redraw();
    UpdateState();
    for (CSVGSimpleObject* child : m_children)
        child->RecreateComposition();
}

void CSVGSimpleObject::CreateChild(CSVGSimpleObject* child, const RECT& designRect,
                                   const wchar_t* caption, int id, int svgResource,
                                   bool addToChildren) {
    child->m_dpi = m_dpi;
    child->m_host = m_host;
    child->Create(m_owner, designRect, caption, id, this, 0);
    if (svgResource != 0)
        child->LoadSVGResource(svgResource);
    if (addToChildren)
        m_children.push_back(child);
}

void CSVGSimpleObject::CreateContent() {
    m_surface.reset();
    if (Composition::Device* device = CompositionDevice())
        Checked(device->CreateVirtualSurface(PixelWidth(), PixelHeight(), &m_surface));
}

void CSVGSimpleObject::SetClip(const RECT& edges, const int radii[8]) {
    m_clipEdges = edges;
    std::copy(radii, radii + 8, m_clipRadii);
    Composition::Device* device = CompositionDevice();
    if (!device || !m_visual)
        return;
    if (!m_clip)
        Checked(device->CreateRectangleClip(&m_clip));
    if (!m_clip)
        return;
    m_clip->SetEdges(static_cast<float>(edges.left), static_cast<float>(edges.top),
                     static_cast<float>(edges.right), static_cast<float>(edges.bottom));
    float floatRadii[8];
    for (int i = 0; i < 8; ++i)
        floatRadii[i] = static_cast<float>(radii[i]);
    m_clip->SetRadii(floatRadii);
    m_visual->SetClip(m_clip);
}

void CSVGSimpleObject::ClearClip() {
    if (m_visual)
        m_visual->SetClip(nullptr);
}

void CSVGSimpleObject::CreateResources(const RECT&) {}

void CSVGSimpleObject::SetRect(RECT* rect) {
    const int width = rect->right - rect->left;
    const int height = rect->bottom - rect->top;
    if (m_surface && (width != PixelWidth() || height != PixelHeight()))
        m_surface->Resize(width, height);
    m_rect = *rect;
    if (m_visual) {
        m_visual->SetOffsetX(static_cast<float>(rect->left));
        m_visual->SetOffsetY(static_cast<float>(rect->top));
    }
    m_hitRect = *rect;
    rect->left = Unscale(rect->left);
    rect->right = Unscale(rect->right);
    rect->top = Unscale(rect->top);
    rect->bottom = Unscale(rect->bottom);
    m_designRect = *rect;
}

void CSVGSimpleObject::Rescale() {
    RECT scaled;
    if (!m_surface || !ScaledRectChanged(&scaled))
        return;
    m_surface->Resize(scaled.right - scaled.left, scaled.bottom - scaled.top);
    m_rect = m_hitRect = scaled;
}

void CSVGSimpleObject::Relayout() {
    Rescale();
    m_rect = ScaleRect(m_designRect);
    if (!m_customHitRect)
        m_hitRect = m_rect;
    if (m_visual) {
        m_visual->SetOffsetX(static_cast<float>(m_rect.left));
        m_visual->SetOffsetY(static_cast<float>(m_rect.top));
    }
    CreateResources(m_designRect);
    Redraw();
    for (CSVGSimpleObject* child : m_children)
        child->Relayout();
}

void CSVGSimpleObject::LoadSVGResource(int id) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), L"SVG");
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (!bytes)
        return;
    const DWORD size = SizeofResource(module, found);
    const void* zero = std::memchr(bytes, '\0', size);
    m_svgText.assign(bytes, zero ? static_cast<const char*>(zero) : bytes + size);
    if (m_host)
        Redraw();
}

void CSVGSimpleObject::Notify(int) {}

HRESULT CSVGSimpleObject::RenderSVG() {
    if (!m_surface)
        return 0;
    SVGEngine::GDIPlusSVGBitmap bitmap(PixelWidth(), PixelHeight());
    if (!bitmap.Valid())
        return E_FAIL;
    DrawSVG(bitmap.Graphics());
    RasterCount::Add();
    const CD2DLock lock(m_host ? m_host->Multithread() : nullptr);
    return Checked(CopyBitmapToSurface(bitmap, m_surface.get()));
}

void CSVGSimpleObject::DrawSVG(Gdiplus::GpGraphics* graphics) {
    auto renderer = std::make_shared<SVGEngine::GDIPlusSVGRenderer>();
    renderer->SetTarget(graphics);
    try {
        const std::unique_ptr<SVGEngine::SVGDocument> document =
            SVGEngine::SVGDocument::Create(m_svgText.c_str(), renderer);
        document->Render(static_cast<float>(Scale(document->Width())),
                         static_cast<float>(Scale(document->Height())));
    } catch (const SVGEngine::SVGError&) {
        // A picture the engine rejects stays blank; the dialog goes on.
    } catch (const boost::property_tree::detail::rapidxml::parse_error&) {
    }
}

void CSVGSimpleObject::Redraw() {
    RenderSVG();
}

void CSVGSimpleObject::UpdateState() {}

void CSVGSimpleObject::ShowFocusRing(bool shown) {
    if (m_focusRing == shown)
        return;
    m_focusRing = shown;
    UpdateState();
}

void CSVGSimpleObject::Hide() {
    const bool wasVisible = m_visible != FALSE;
    if (wasVisible && m_visual) {
        if (const std::shared_ptr<Composition::Visual> parentVisual = ParentVisual())
            parentVisual->RemoveVisual(m_visual);
    }
    m_visible = FALSE;
    Notify(0);
    if (wasVisible && m_visibilityListener)
        m_visibilityListener->OnVisibilityChanged(this);
}

void CSVGSimpleObject::Show() {
    const bool wasVisible = m_visible != FALSE;
    if (!wasVisible && m_visual) {
        if (const std::shared_ptr<Composition::Visual> parentVisual = ParentVisual())
            parentVisual->AddVisual(m_visual);
    }
    m_visible = TRUE;
    if (!wasVisible && m_visibilityListener)
        m_visibilityListener->OnVisibilityChanged(this);
}

bool CSVGSimpleObject::Pressable() const {
    return Reachable() && TakesInput() && !(m_state & kDisabled);
}

void CSVGSimpleObject::KeyPress() {
    m_state |= kPressed;
    UpdateState();
}

void CSVGSimpleObject::KeyRelease(bool click) {
    if (!(m_state & kPressed))
        return;
    m_state &= ~kPressed;
    if (click)
        PostClick();
    UpdateState();
}

void CSVGSimpleObject::Enable(bool enable) {
    if (enable)
        m_state &= ~kDisabled;
    else
        m_state |= kDisabled;
    UpdateState();
}

void CSVGSimpleObject::SetHitRect(const RECT& hitRect) {
    m_hitRect = hitRect;
    m_customHitRect = TRUE;
}

void CSVGSimpleObject::SetSourceRect(const RECT& sourceRect) {
    m_sourceRect = sourceRect;
    m_useSourceRect = TRUE;
}

void CSVGSimpleObject::SetOpacity(float opacity) {
    m_opacity = opacity;
    if (m_effectGroup)
        m_effectGroup->SetOpacity(opacity);
}
