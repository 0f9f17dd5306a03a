#include "DCompUtil.h"

#include "FrameShadow.h"
#include "GraphicsEntryPoints.h"

#include <cmath>

using Microsoft::WRL::ComPtr;

namespace {

const D3D_FEATURE_LEVEL kFeatureLevels[] = {
    D3D_FEATURE_LEVEL_11_1, D3D_FEATURE_LEVEL_11_0, D3D_FEATURE_LEVEL_10_1, D3D_FEATURE_LEVEL_10_0,
    D3D_FEATURE_LEVEL_9_3,  D3D_FEATURE_LEVEL_9_2,  D3D_FEATURE_LEVEL_9_1,
};

} // namespace

CDCompUtil::~CDCompUtil() {
    m_rootVisual.reset();
    m_target.reset();
    m_compositionDevice.reset();
    m_dwriteFactory.Reset();
    m_d2dDevice.Reset();
    m_d2dContext.Reset();
    m_d3dDevice.Reset();
    m_rootSurface.reset();
    m_dxgiFactory.Reset();
    m_dxgiDevice.Reset();
}

void CDCompUtil::CreateDevices() {
    RECT client{};
    GetClientRect(m_hWnd, &client);
    m_width = client.right - client.left;
    m_height = client.bottom - client.top;
    if (m_d3dDevice)
        return;

    // Hardware first; WARP where there is no usable adapter.
    for (D3D_DRIVER_TYPE driver : {D3D_DRIVER_TYPE_HARDWARE, D3D_DRIVER_TYPE_WARP}) {
        if (SUCCEEDED(Graphics::CreateD3D11Device(driver, D3D11_CREATE_DEVICE_BGRA_SUPPORT,
                                                  kFeatureLevels, ARRAYSIZE(kFeatureLevels),
                                                  &m_d3dDevice)))
            break;
        m_d3dDevice.Reset();
    }
    if (!m_d3dDevice || m_d2dDevice)
        return;

    m_d3dDevice.As(&m_dxgiDevice);
    ComPtr<IDXGIAdapter> adapter;
    if (m_dxgiDevice)
        m_dxgiDevice->GetParent(IID_PPV_ARGS(&adapter));
    if (!adapter || FAILED(adapter->GetParent(IID_PPV_ARGS(&m_dxgiFactory))))
        return;
    if (FAILED(Graphics::CreateD2DDevice(m_dxgiDevice.Get(), &m_d2dDevice)) ||
        FAILED(m_d2dDevice->CreateDeviceContext(D2D1_DEVICE_CONTEXT_OPTIONS_NONE, &m_d2dContext)))
        return;
    if (m_dwriteFactory ||
        FAILED(Graphics::CreateDWriteFactory(DWRITE_FACTORY_TYPE_SHARED, &m_dwriteFactory)))
        return;

    if (m_compositionDevice ||
        FAILED(Composition::CreateDevice(m_d3dDevice.Get(), m_d2dDevice.Get(), m_dxgiFactory.Get(),
                                         &m_compositionDevice)))
        return;
    if (!m_hWnd || FAILED(m_compositionDevice->CreateTargetForHwnd(m_hWnd, true, &m_target)))
        return;
    if (m_rootVisual || FAILED(m_compositionDevice->CreateVisual(&m_rootVisual)))
        return;
    if (FAILED(m_compositionDevice->CreateVirtualSurface(m_width, m_height, &m_rootSurface)))
        return;
    if (FAILED(DrawFrame()))
        return;
    m_rootVisual->SetContent(m_rootSurface);
    m_target->SetRoot(m_rootVisual);
}

HRESULT CDCompUtil::DrawFrame() {
    RECT client{};
    GetClientRect(m_hWnd, &client);
    const int w = m_width = client.right - client.left;
    const int h = m_height = client.bottom - client.top;
    if (!m_rootSurface)
        return E_UNEXPECTED;
    m_rootSurface->Resize(w, h);
    m_frameDrawn = false;
    // A window without area has no frame to draw.
    if (w <= 0 || h <= 0)
        return S_OK;

    auto scale = [this](int value) { return m_dpi ? m_dpi->Scale(value) : value; };
    const int margin = scale(16);
    const int inset = scale(1);
    const ShadowStyle style = FrameShadowStyle(m_active != 0);
    const int extension = scale(static_cast<int>(std::ceil(style.sigma)));
    // The content rectangle grown by the inset to the left and top and by the extension to
    // the right and bottom, so the shadow falls mostly below and to the right.
    const RECT silhouetteRect{margin - inset, margin - inset, w - margin + extension,
                              h - margin + extension};
    const HRESULT hr = m_compositionDevice && m_compositionDevice->IsSoftware()
                           ? DrawComputedFrame(w, h, silhouetteRect, style)
                           : DrawFrameWithDirect2D(w, h, silhouetteRect, style);
    if (SUCCEEDED(hr)) {
        m_frameDrawn = true;
        m_frameWidth = w;
        m_frameHeight = h;
        m_frameActive = m_active;
        m_frameMargin = margin;
    }
    return hr;
}

HRESULT CDCompUtil::DrawComputedFrame(int w, int h, const RECT& silhouetteRect, ShadowStyle style) {
    // The software compositor keeps its surfaces in memory and has no Direct2D effects to
    // blur with: the shadow computed on the CPU goes straight in, without a draw and a
    // read-back.
    Silhouette silhouette;
    if (!DrawSilhouette(w, h, silhouetteRect, &silhouette)) {
        const Composition::Pixels clear(w, h);
        return m_rootSurface->CopyPixels(clear.data.data(), w, h, w * 4);
    }
    const Composition::Pixels shadow = BlurShadow(silhouette, style);
    return m_rootSurface->CopyPixels(shadow.data.data(), w, h, w * 4);
}

HRESULT CDCompUtil::DrawFrameWithDirect2D(int w, int h, const RECT& silhouetteRect,
                                          ShadowStyle style) {
    ComPtr<ID2D1DeviceContext> context;
    POINT offset{};
    const HRESULT began = m_rootSurface->BeginDraw(&context, &offset);
    if (FAILED(began))
        return began;
    context->Clear(D2D1::ColorF(0, 0.0f));
    Silhouette silhouette;
    if (DrawSilhouette(w, h, silhouetteRect, &silhouette))
        DrawFrameShadow(context.Get(), silhouette, style,
                        D2D1::Point2F(static_cast<float>(offset.x), static_cast<float>(offset.y)));
    return m_rootSurface->EndDraw();
}

HRESULT CDCompUtil::Commit() {
    return m_compositionDevice ? m_compositionDevice->Commit() : S_OK;
}

void CDCompUtil::OnSize(WPARAM type, LPARAM size) {
    if (!m_d3dDevice || type == SIZE_MINIMIZED)
        return;
    // The system repeats WM_SIZE for a size the window already has (when it is first shown,
    // for one): the frame drawn for it stands.
    const int margin = m_dpi ? m_dpi->Scale(16) : 16;
    if (m_frameDrawn && m_frameWidth == LOWORD(size) && m_frameHeight == HIWORD(size) &&
        m_frameActive == m_active && m_frameMargin == margin)
        return;
    if (m_rootSurface)
        m_rootSurface->Resize(LOWORD(size), HIWORD(size));
    DrawFrame();
    Commit();
}
