#pragma once
// The entry points of the graphics DLLs, looked up at run time in the system folder only
// (win/SystemLibrary.h): Direct3D 11, Direct2D, DirectWrite, DirectComposition and WIC are
// never imported, so the programs start on every Windows and never load them from their own
// folder. A missing DLL or entry point is HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND).
#include "ui/composition/Composition.h"

#include <windows.h>
#include <d2d1_1.h>
#include <d3d11.h>
#include <dwrite.h>
#include <wincodec.h>

namespace Graphics {

HRESULT CreateD3D11Device(D3D_DRIVER_TYPE driverType, UINT flags,
                          const D3D_FEATURE_LEVEL* featureLevels, UINT featureLevelCount,
                          ID3D11Device** device);
// D2D1CreateDevice, with no creation properties.
HRESULT CreateD2DDevice(IDXGIDevice* dxgiDevice, ID2D1Device** device);
HRESULT CreateDWriteFactory(DWRITE_FACTORY_TYPE type, IDWriteFactory** factory);
// DCompositionCreateDevice2 (Windows 8.1 and later).
HRESULT CreateDCompDevice(IUnknown* renderingDevice, REFIID iid, void** device);
// The WIC imaging factory, from the DLL's class object (no COM registration needed).
HRESULT CreateWicFactory(IWICImagingFactory** factory);

// What the composition layer starts its backends from.
constexpr Composition::EntryPoints kCompositionEntryPoints{&CreateDCompDevice, &CreateWicFactory};

} // namespace Graphics
