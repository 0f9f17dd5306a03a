#pragma once
// The Direct3D 11 device and what hangs on it (DXGI, the Direct2D device, the DirectWrite
// factory), one set for the process: made when the first window's host asks for it and shared
// by every host alive at the same time, so that a dialog opened over the main window costs no
// device of its own (under Wine each Direct3D device is a software OpenGL context of hundreds
// of megabytes). Released, in order, when the last host lets go.
#include <windows.h>
#include <d2d1_1.h>
#include <d3d11.h>
#include <dwrite.h>
#include <dxgi1_2.h>
#include <wrl/client.h>

#include <memory>

class CGraphicsDevices {
  public:
    // The set the live hosts share, made now if none is alive; null when no Direct3D device
    // can be made (the next call tries again). What fails after the Direct3D device is null.
    static std::shared_ptr<CGraphicsDevices> Shared();

    CGraphicsDevices(const CGraphicsDevices&) = delete;
    CGraphicsDevices& operator=(const CGraphicsDevices&) = delete;
    ~CGraphicsDevices();

    ID3D11Device* D3DDevice() const { return m_d3dDevice.Get(); }
    IDXGIFactory2* DXGIFactory() const { return m_dxgiFactory.Get(); }
    ID2D1Device* D2DDevice() const { return m_d2dDevice.Get(); }
    IDWriteFactory* DWriteFactory() const { return m_dwriteFactory.Get(); }

  private:
    CGraphicsDevices() = default;
    // False without a Direct3D device.
    bool Create();

    Microsoft::WRL::ComPtr<ID3D11Device> m_d3dDevice;
    Microsoft::WRL::ComPtr<IDXGIDevice> m_dxgiDevice;
    Microsoft::WRL::ComPtr<IDXGIFactory2> m_dxgiFactory;
    Microsoft::WRL::ComPtr<ID2D1Device> m_d2dDevice;
    Microsoft::WRL::ComPtr<IDWriteFactory> m_dwriteFactory;
};
