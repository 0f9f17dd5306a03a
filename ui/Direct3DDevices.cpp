#include "Direct3DDevices.h"

#include "GraphicsEntryPoints.h"

#include <d3d10.h>

#include <initializer_list>

using Microsoft::WRL::ComPtr;

namespace {

// 11_1 first: CreateD3DDevice leaves it out where the runtime does not know it.
const D3D_FEATURE_LEVEL kFeatureLevels[] = {
    D3D_FEATURE_LEVEL_11_1, D3D_FEATURE_LEVEL_11_0, D3D_FEATURE_LEVEL_10_1, D3D_FEATURE_LEVEL_10_0,
    D3D_FEATURE_LEVEL_9_3,  D3D_FEATURE_LEVEL_9_2,  D3D_FEATURE_LEVEL_9_1,
};

} // namespace

HRESULT CDirect3DDevices::CreateD3DDevice(D3D_DRIVER_TYPE driver, ID3D11Device** device) {
    HRESULT hr = Graphics::CreateD3D11Device(driver, D3D11_CREATE_DEVICE_BGRA_SUPPORT,
                                             kFeatureLevels, ARRAYSIZE(kFeatureLevels), device);
    // D3D11CreateDevice: a runtime without Direct3D 11.1 (Windows 7 without its Platform
    // Update) answers E_INVALIDARG to a list holding D3D_FEATURE_LEVEL_11_1; then the list
    // without it.
    if (hr == E_INVALIDARG)
        hr = Graphics::CreateD3D11Device(driver, D3D11_CREATE_DEVICE_BGRA_SUPPORT,
                                         kFeatureLevels + 1, ARRAYSIZE(kFeatureLevels) - 1, device);
    return hr;
}

std::unique_ptr<CDirect3DDevices> CDirect3DDevices::Create() {
    std::unique_ptr<CDirect3DDevices> devices(new CDirect3DDevices());
    // Hardware first; WARP where there is no usable adapter.
    for (D3D_DRIVER_TYPE driver : {D3D_DRIVER_TYPE_HARDWARE, D3D_DRIVER_TYPE_WARP}) {
        if (SUCCEEDED(CreateD3DDevice(driver, &devices->m_d3dDevice)))
            break;
        devices->m_d3dDevice.Reset();
    }
    if (!devices->m_d3dDevice)
        return nullptr;
    // The device's immediate context is reached from more than one thread: a window's
    // drawing on the UI thread and a render control's frames on its animation thread.
    // Direct3D then takes its own lock around each use.
    ComPtr<ID3D10Multithread> multithread;
    if (SUCCEEDED(devices->m_d3dDevice.As(&multithread)))
        multithread->SetMultithreadProtected(TRUE);

    ComPtr<IDXGIAdapter> adapter;
    if (FAILED(devices->m_d3dDevice.As(&devices->m_dxgiDevice)) ||
        FAILED(devices->m_dxgiDevice->GetParent(IID_PPV_ARGS(&adapter))) ||
        FAILED(Graphics::QueryDXGIFactory2(adapter.Get(), &devices->m_dxgiFactory)) ||
        FAILED(Graphics::CreateD2DDevice(devices->m_dxgiDevice.Get(), &devices->m_d2dDevice)))
        return nullptr;
    devices->m_d2dDevice->GetFactory(&devices->m_d2dFactory);
    return devices;
}

CDirect3DDevices::~CDirect3DDevices() {
    // What was made from a device goes before it.
    m_d2dFactory.Reset();
    m_d2dDevice.Reset();
    m_dxgiFactory.Reset();
    m_dxgiDevice.Reset();
    m_d3dDevice.Reset();
}
