#include "DXGIRenderCtrl.h"

#include "DCompUtil.h"

CDXGIRenderCtrl::~CDXGIRenderCtrl() {
    m_renderTarget.Reset();
    m_d2dFactory.Reset();
    m_multithread.Reset();
    m_swapChain.reset();
}

void CDXGIRenderCtrl::CreateContent() {
    // The host's factory, shared by every page and button of the process: under Wine each
    // factory that draws costs a Direct3D device of its own.
    m_d2dFactory = m_host ? m_host->D2DFactory() : nullptr;
    m_multithread = m_host ? m_host->Multithread() : nullptr;
    m_width = PixelWidth();
    m_height = PixelHeight();
    m_swapChain.reset();
    Composition::Device* device = CompositionDevice();
    if (!device || FAILED(Checked(device->CreateSwapChain(m_width, m_height, &m_swapChain)))) {
        m_swapChain.reset();
        return;
    }
    if (m_visual)
        m_visual->SetContent(m_swapChain);
}

void CDXGIRenderCtrl::CreateResources(const RECT&) {}

void CDXGIRenderCtrl::SetRect(RECT*) {}

void CDXGIRenderCtrl::Rescale() {
    RECT scaled;
    if (!ScaledRectChanged(&scaled))
        return;
    m_rect = m_hitRect = scaled;
    // A new swap chain of the new size in place of the old: the visual's SetContent with it
    // takes effect at the next commit, as any change of the tree does.
    CreateContent();
}

HRESULT CDXGIRenderCtrl::Present() {
    return m_swapChain ? m_swapChain->Present() : S_OK;
}

ID2D1RenderTarget* CDXGIRenderCtrl::BeginFrame() {
    // Held to the end of the present: another thread draws over the same Direct3D device.
    if (m_multithread)
        m_multithread->Enter();
    m_frameLock = m_multithread;
    m_renderTarget.Reset();
    if (!m_swapChain || !m_d2dFactory ||
        FAILED(m_swapChain->CreateFrameTarget(m_d2dFactory.Get(), &m_renderTarget))) {
        m_renderTarget.Reset();
        return nullptr;
    }
    m_renderTarget->BeginDraw();
    return m_renderTarget.Get();
}

void CDXGIRenderCtrl::EndFrame() {
    // A lost device shows in EndDraw (D2DERR_RECREATE_TARGET) or in Present
    // (DXGI_ERROR_DEVICE_REMOVED or _RESET): the host is told, and its dialog builds anew.
    if (m_renderTarget && m_host)
        m_host->ReportIfDeviceLost(m_renderTarget->EndDraw());
    else if (m_renderTarget)
        m_renderTarget->EndDraw();
    const HRESULT presented = Present();
    if (m_host)
        m_host->ReportIfDeviceLost(presented);
    // The page's target is valid only until the present.
    m_renderTarget.Reset();
    if (m_frameLock)
        m_frameLock->Leave();
    m_frameLock.Reset();
}
