#pragma once
// The entry points of the graphics DLLs, looked up at run time in the system folder only
// (win/SystemLibrary.h): Direct3D 11, Direct2D, DirectWrite, DirectComposition and WIC are
// never imported, so the programs start on every Windows and never load them from their own
// folder. A missing DLL or entry point is HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND).
//
// The toolkit reaches each of them through a seam (Seams() below), which a test may point at
// a function of its own that refuses the call, as a system without the entry point would, or
// hands it on to the real one (namespace Graphics::System).
#include "ui/composition/Composition.h"

#include <windows.h>
#include <d2d1.h>
#include <d2d1_1.h>
#include <d3d11.h>
#include <dwrite.h>
#include <dxgi1_2.h>
#include <wincodec.h>

namespace Graphics {

namespace System {

HRESULT CreateD3D11Device(D3D_DRIVER_TYPE driverType, UINT flags,
                          const D3D_FEATURE_LEVEL* featureLevels, UINT featureLevelCount,
                          ID3D11Device** device);
// D2D1CreateDevice (Direct2D 1.1: Windows 8, or Windows 7 with its Platform Update), for a
// device of a multithreaded factory.
HRESULT CreateD2DDevice(IDXGIDevice* dxgiDevice, ID2D1Device** device);
// The adapter's factory as IDXGIFactory2 (DXGI 1.2, which the Platform Update brings).
HRESULT QueryDXGIFactory2(IDXGIAdapter* adapter, IDXGIFactory2** factory);
// D2D1CreateFactory, multithreaded, as the Direct2D 1.0 interface every Windows has.
HRESULT CreateD2DFactory(ID2D1Factory** factory);
HRESULT CreateDWriteFactory(DWRITE_FACTORY_TYPE type, IDWriteFactory** factory);
// DCompositionCreateDevice2 (Windows 8.1 and later).
HRESULT CreateDCompDevice(IUnknown* renderingDevice, REFIID iid, void** device);
// The WIC imaging factory, from the DLL's class object (no COM registration needed).
HRESULT CreateWicFactory(IWICImagingFactory** factory);

} // namespace System

// What the toolkit calls: each goes to its seam.
HRESULT CreateD3D11Device(D3D_DRIVER_TYPE driverType, UINT flags,
                          const D3D_FEATURE_LEVEL* featureLevels, UINT featureLevelCount,
                          ID3D11Device** device);
HRESULT CreateD2DDevice(IDXGIDevice* dxgiDevice, ID2D1Device** device);
HRESULT QueryDXGIFactory2(IDXGIAdapter* adapter, IDXGIFactory2** factory);
HRESULT CreateD2DFactory(ID2D1Factory** factory);
HRESULT CreateDWriteFactory(DWRITE_FACTORY_TYPE type, IDWriteFactory** factory);
HRESULT CreateDCompDevice(IUnknown* renderingDevice, REFIID iid, void** device);
HRESULT CreateWicFactory(IWICImagingFactory** factory);

// The seams, each set to the real entry point. Tests change them on the UI thread while no
// window is open, and put them back.
struct EntryPointSeams {
    decltype(&System::CreateD3D11Device) createD3D11Device = &System::CreateD3D11Device;
    decltype(&System::CreateD2DDevice) createD2DDevice = &System::CreateD2DDevice;
    decltype(&System::QueryDXGIFactory2) queryDXGIFactory2 = &System::QueryDXGIFactory2;
    decltype(&System::CreateD2DFactory) createD2DFactory = &System::CreateD2DFactory;
    decltype(&System::CreateDWriteFactory) createDWriteFactory = &System::CreateDWriteFactory;
    decltype(&System::CreateDCompDevice) createDCompDevice = &System::CreateDCompDevice;
    decltype(&System::CreateWicFactory) createWicFactory = &System::CreateWicFactory;
};
EntryPointSeams& Seams();

} // namespace Graphics
