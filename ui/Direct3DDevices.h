#pragma once
// The Direct3D 11 device and what DirectComposition needs on it: DXGI 1.2's factory (its
// composition swap chains) and a Direct2D 1.1 device (its surfaces). Made only for the
// DirectComposition backend: the software compositor draws without any of them.
#include <windows.h>
#include <d2d1_1.h>
#include <d3d11.h>
#include <dxgi1_2.h>
#include <wrl/client.h>

#include <memory>

class CDirect3DDevices {
  public:
    // Null when one of them cannot be made (no Direct3D 11 device on hardware or WARP, no
    // IDXGIFactory2 or no D2D1CreateDevice, as on Windows 7 without its Platform Update).
    static std::unique_ptr<CDirect3DDevices> Create();

    CDirect3DDevices(const CDirect3DDevices&) = delete;
    CDirect3DDevices& operator=(const CDirect3DDevices&) = delete;
    ~CDirect3DDevices();

    ID3D11Device* D3DDevice() const { return m_d3dDevice.Get(); }
    IDXGIFactory2* DXGIFactory() const { return m_dxgiFactory.Get(); }
    ID2D1Device* D2DDevice() const { return m_d2dDevice.Get(); }
    // The factory the Direct2D device belongs to.
    ID2D1Factory* D2DFactory() const { return m_d2dFactory.Get(); }

  private:
    CDirect3DDevices() = default;
    // D3D11CreateDevice of the driver type with every feature level the runtime knows.
    static HRESULT CreateD3DDevice(D3D_DRIVER_TYPE driver, ID3D11Device** device);

    Microsoft::WRL::ComPtr<ID3D11Device> m_d3dDevice;
    Microsoft::WRL::ComPtr<IDXGIDevice> m_dxgiDevice;
    Microsoft::WRL::ComPtr<IDXGIFactory2> m_dxgiFactory;
    Microsoft::WRL::ComPtr<ID2D1Device> m_d2dDevice;
    Microsoft::WRL::ComPtr<ID2D1Factory> m_d2dFactory;
};
