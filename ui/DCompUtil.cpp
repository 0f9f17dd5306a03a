#include "DCompUtil.h"

#include "D2DLock.h"
#include "FrameShadow.h"
#include "SVGSimpleObject.h"

#include <d2derr.h>
#include <dxgi.h>

#include <algorithm>
#include <cmath>

using Microsoft::WRL::ComPtr;

namespace {

// The hosts that hold a set of devices, to be told when it is lost; reached from animation
// threads too.
SRWLOCK g_hostsLock = SRWLOCK_INIT;
std::vector<const CDCompUtil*> g_hosts;

void Register(const CDCompUtil* host) {
    AcquireSRWLockExclusive(&g_hostsLock);
    if (std::find(g_hosts.begin(), g_hosts.end(), host) == g_hosts.end())
        g_hosts.push_back(host);
    ReleaseSRWLockExclusive(&g_hostsLock);
}

void Unregister(const CDCompUtil* host) {
    AcquireSRWLockExclusive(&g_hostsLock);
    g_hosts.erase(std::remove(g_hosts.begin(), g_hosts.end(), host), g_hosts.end());
    ReleaseSRWLockExclusive(&g_hostsLock);
}

// DXGI and Direct2D's answers when the device is gone: removed or reset (a driver update, a
// GPU reset), or a render target that must be made again (EndDraw, Present, Commit).
bool IsDeviceLoss(HRESULT hr) {
    return hr == DXGI_ERROR_DEVICE_REMOVED || hr == DXGI_ERROR_DEVICE_RESET ||
           hr == static_cast<HRESULT>(D2DERR_RECREATE_TARGET);
}

} // namespace

CDCompUtil::~CDCompUtil() {
    Reset();
}

void CDCompUtil::Reset() {
    Unregister(this);
    // The tree and the composition device before the devices they were made from.
    m_rootVisual.reset();
    m_target.reset();
    m_rootSurface.reset();
    m_compositionDevice.reset();
    m_multithread.Reset();
    m_devices.reset();
    m_failed = false;
    m_frameDrawn = false;
}

HRESULT CDCompUtil::Check(HRESULT hr) {
    if (FAILED(hr) && !ReportIfDeviceLost(hr))
        m_failed = true;
    return hr;
}

UINT CDCompUtil::DeviceLostMessage() {
    static const UINT message = RegisterWindowMessageW(L"CorvaneGraphicsDevicesLost");
    return message;
}

bool CDCompUtil::ReportIfDeviceLost(HRESULT hr) const {
    if (!IsDeviceLoss(hr))
        return false;
    CGraphicsDevices* lost = m_devices.get();
    if (!lost || lost->Lost())
        return true; // told already
    lost->MarkLost();
    AcquireSRWLockShared(&g_hostsLock);
    for (const CDCompUtil* host : g_hosts) {
        if (host->m_devices.get() == lost && host->m_hWnd)
            PostMessageW(host->m_hWnd, DeviceLostMessage(), 0, 0);
    }
    ReleaseSRWLockShared(&g_hostsLock);
    return true;
}

bool CDCompUtil::RecoverFromDeviceLoss(const std::vector<CSVGSimpleObject*>& objects) {
    if (!m_devices || !m_devices->Lost())
        return false;
    // Nothing made from the lost devices is used again: the host's tree, then each object's.
    Reset();
    CreateDevices();
    for (CSVGSimpleObject* object : objects)
        object->RecreateComposition();
    Commit();
    return true;
}

bool CDCompUtil::MustRunAgainWithSoftwareCompositor() {
    if (!m_failed || m_backend != CompositionBackend::DirectComposition)
        return false;
    // Whatever step failed, the user gets the same window from the software compositor: it is
    // made again, as a layered window without WS_EX_NOREDIRECTIONBITMAP, which only a new
    // window can be. The rest of the run stays with the software compositor.
    FallBackToSoftwareCompositor();
    Reset();
    return true;
}

void CDCompUtil::CreateDevices() {
    RECT client{};
    GetClientRect(m_hWnd, &client);
    m_width = client.right - client.left;
    m_height = client.bottom - client.top;
    if (m_devices)
        return;
    m_devices = CGraphicsDevices::Shared();
    m_backend = NextWindowBackend();
    Register(this);

    // Each step that fails ends the building (the window shows what was made, and a dialog
    // runs again with the software compositor, MustRunAgainWithSoftwareCompositor).
    if (m_compositionDevice ||
        FAILED(Check(CreateCompositionDevice(m_backend, m_devices, &m_compositionDevice))))
        return;
    if (m_backend == CompositionBackend::DirectComposition) {
        if (ID2D1Factory* factory = D2DFactory())
            factory->QueryInterface(IID_PPV_ARGS(&m_multithread));
    }
    if (!m_hWnd || FAILED(Check(m_compositionDevice->CreateTargetForHwnd(m_hWnd, true, &m_target))))
        return;
    if (m_rootVisual || FAILED(Check(m_compositionDevice->CreateVisual(&m_rootVisual))))
        return;
    if (FAILED(Check(m_compositionDevice->CreateVirtualSurface(m_width, m_height, &m_rootSurface))))
        return;
    if (FAILED(Check(DrawFrame())))
        return;
    m_rootVisual->SetContent(m_rootSurface);
    m_target->SetRoot(m_rootVisual);
}

IDWriteFactory* CDCompUtil::DWriteFactory() const {
    return m_devices ? m_devices->DWriteFactory() : nullptr;
}

ID2D1Factory* CDCompUtil::D2DFactory() const {
    if (!m_devices)
        return nullptr;
    // DirectComposition's pages draw on the Direct3D device through its Direct2D device's
    // factory.
    const CDirect3DDevices* direct3D =
        m_backend == CompositionBackend::DirectComposition ? Direct3D() : nullptr;
    return direct3D ? direct3D->D2DFactory() : m_devices->D2DFactory();
}

const CDirect3DDevices* CDCompUtil::Direct3D() const {
    return m_devices ? m_devices->Direct3DIfMade() : nullptr;
}

ID3D11Device* CDCompUtil::D3DDevice() const {
    const CDirect3DDevices* direct3D = Direct3D();
    return direct3D ? direct3D->D3DDevice() : nullptr;
}

IDXGIFactory2* CDCompUtil::DXGIFactory() const {
    const CDirect3DDevices* direct3D = Direct3D();
    return direct3D ? direct3D->DXGIFactory() : nullptr;
}

ID2D1Device* CDCompUtil::D2DDevice() const {
    const CDirect3DDevices* direct3D = Direct3D();
    return direct3D ? direct3D->D2DDevice() : nullptr;
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
    // read-back; its silhouette is filled in memory too (GDI+ took 10 to 15 ms for it under
    // Wine, a tenth of the window's start).
    const Silhouette silhouette = FilledSilhouette(w, h, silhouetteRect);
    const Composition::Pixels shadow = BlurShadow(silhouette, style);
    return m_rootSurface->CopyPixels(shadow.data.data(), w, h, w * 4);
}

HRESULT CDCompUtil::DrawFrameWithDirect2D(int w, int h, const RECT& silhouetteRect,
                                          ShadowStyle style) {
    // The progress page's animation thread may be drawing over the same device.
    const CD2DLock lock(m_multithread.Get());
    ComPtr<ID2D1RenderTarget> target;
    POINT offset{};
    const HRESULT began = m_rootSurface->BeginDraw(&target, &offset);
    if (FAILED(began))
        return began;
    target->Clear(D2D1::ColorF(0, 0.0f));
    DrawFrameShadow(target.Get(), FilledSilhouette(w, h, silhouetteRect), style,
                    D2D1::Point2F(static_cast<float>(offset.x), static_cast<float>(offset.y)));
    return m_rootSurface->EndDraw();
}

HRESULT CDCompUtil::Commit() {
    return m_compositionDevice ? Check(m_compositionDevice->Commit()) : S_OK;
}

void CDCompUtil::OnSize(WPARAM type, LPARAM size) {
    if (!m_compositionDevice || type == SIZE_MINIMIZED)
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
