#include "GraphicsDevices.h"

#include "GraphicsEntryPoints.h"

#include <d3d10.h>

#include <initializer_list>

using Microsoft::WRL::ComPtr;

namespace {

const D3D_FEATURE_LEVEL kFeatureLevels[] = {
    D3D_FEATURE_LEVEL_11_1, D3D_FEATURE_LEVEL_11_0, D3D_FEATURE_LEVEL_10_1, D3D_FEATURE_LEVEL_10_0,
    D3D_FEATURE_LEVEL_9_3,  D3D_FEATURE_LEVEL_9_2,  D3D_FEATURE_LEVEL_9_1,
};

// Hosts are made on more than one thread in the tests; the set is made once all the same.
SRWLOCK g_lock = SRWLOCK_INIT;
std::weak_ptr<CGraphicsDevices> g_shared;

} // namespace

std::shared_ptr<CGraphicsDevices> CGraphicsDevices::Shared() {
    AcquireSRWLockExclusive(&g_lock);
    std::shared_ptr<CGraphicsDevices> devices = g_shared.lock();
    if (!devices) {
        devices.reset(new CGraphicsDevices());
        if (devices->Create())
            g_shared = devices;
        else
            devices.reset();
    }
    ReleaseSRWLockExclusive(&g_lock);
    return devices;
}

CGraphicsDevices::~CGraphicsDevices() {
    // What was made from a device goes before it.
    m_dwriteFactory.Reset();
    m_d2dDevice.Reset();
    m_dxgiFactory.Reset();
    m_dxgiDevice.Reset();
    m_d3dDevice.Reset();
}

bool CGraphicsDevices::Create() {
    // Hardware first; WARP where there is no usable adapter.
    for (D3D_DRIVER_TYPE driver : {D3D_DRIVER_TYPE_HARDWARE, D3D_DRIVER_TYPE_WARP}) {
        if (SUCCEEDED(Graphics::CreateD3D11Device(driver, D3D11_CREATE_DEVICE_BGRA_SUPPORT,
                                                  kFeatureLevels, ARRAYSIZE(kFeatureLevels),
                                                  &m_d3dDevice)))
            break;
        m_d3dDevice.Reset();
    }
    if (!m_d3dDevice)
        return false;
    // The device's immediate context is reached from more than one thread: a window's
    // drawing on the UI thread and a render control's frames on its animation thread, now
    // for every window of the process. Direct3D then takes its own lock around each use.
    // (Wine's devices are always locked, so only Windows sees a difference.)
    ComPtr<ID3D10Multithread> multithread;
    if (SUCCEEDED(m_d3dDevice.As(&multithread)))
        multithread->SetMultithreadProtected(TRUE);

    m_d3dDevice.As(&m_dxgiDevice);
    ComPtr<IDXGIAdapter> adapter;
    if (m_dxgiDevice)
        m_dxgiDevice->GetParent(IID_PPV_ARGS(&adapter));
    if (!adapter || FAILED(adapter->GetParent(IID_PPV_ARGS(&m_dxgiFactory)))) {
        m_dxgiFactory.Reset();
        return true;
    }
    if (FAILED(Graphics::CreateD2DDevice(m_dxgiDevice.Get(), &m_d2dDevice))) {
        m_d2dDevice.Reset();
        return true;
    }
    if (FAILED(Graphics::CreateDWriteFactory(DWRITE_FACTORY_TYPE_SHARED, &m_dwriteFactory)))
        m_dwriteFactory.Reset();
    return true;
}
