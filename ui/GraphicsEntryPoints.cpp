#include "GraphicsEntryPoints.h"

#include "win/SystemLibrary.h"

#include <wrl/client.h>

namespace Graphics {

namespace {

using D3D11CreateDeviceFunction = HRESULT(WINAPI*)(IDXGIAdapter*, D3D_DRIVER_TYPE, HMODULE, UINT,
                                                   const D3D_FEATURE_LEVEL*, UINT, UINT,
                                                   ID3D11Device**, D3D_FEATURE_LEVEL*,
                                                   ID3D11DeviceContext**);
// MinGW's d2d1_1.h does not declare D2D1CreateDevice.
using D2D1CreateDeviceFunction = HRESULT(WINAPI*)(IDXGIDevice*, const D2D1_CREATION_PROPERTIES*,
                                                  ID2D1Device**);
using D2D1CreateFactoryFunction = HRESULT(WINAPI*)(D2D1_FACTORY_TYPE, REFIID,
                                                   const D2D1_FACTORY_OPTIONS*, void**);
using DWriteCreateFactoryFunction = HRESULT(WINAPI*)(DWRITE_FACTORY_TYPE, REFIID, IUnknown**);
using DCompositionCreateDevice2Function = HRESULT(WINAPI*)(IUnknown*, REFIID, void**);
using DllGetClassObjectFunction = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);

const HRESULT kMissing = HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);

} // namespace

namespace System {

HRESULT CreateD3D11Device(D3D_DRIVER_TYPE driverType, UINT flags,
                          const D3D_FEATURE_LEVEL* featureLevels, UINT featureLevelCount,
                          ID3D11Device** device) {
    static const auto create =
        SystemProc<D3D11CreateDeviceFunction>(L"d3d11.dll", "D3D11CreateDevice");
    if (!create)
        return kMissing;
    return create(nullptr, driverType, nullptr, flags, featureLevels, featureLevelCount,
                  D3D11_SDK_VERSION, device, nullptr, nullptr);
}

HRESULT CreateD2DDevice(IDXGIDevice* dxgiDevice, ID2D1Device** device) {
    static const auto create =
        SystemProc<D2D1CreateDeviceFunction>(L"d2d1.dll", "D2D1CreateDevice");
    if (!create)
        return kMissing;
    // A multithreaded device: the UI thread and a render control's animation thread draw over
    // the one Direct3D device, which a single-threaded factory does not allow.
    D2D1_CREATION_PROPERTIES properties{};
    properties.threadingMode = D2D1_THREADING_MODE_MULTI_THREADED;
    properties.debugLevel = D2D1_DEBUG_LEVEL_NONE;
    properties.options = D2D1_DEVICE_CONTEXT_OPTIONS_NONE;
    return create(dxgiDevice, &properties, device);
}

HRESULT QueryDXGIFactory2(IDXGIAdapter* adapter, IDXGIFactory2** factory) {
    if (!adapter)
        return E_POINTER;
    return adapter->GetParent(__uuidof(IDXGIFactory2), reinterpret_cast<void**>(factory));
}

HRESULT CreateD2DFactory(ID2D1Factory** factory) {
    static const auto create =
        SystemProc<D2D1CreateFactoryFunction>(L"d2d1.dll", "D2D1CreateFactory");
    if (!create)
        return kMissing;
    return create(D2D1_FACTORY_TYPE_MULTI_THREADED, __uuidof(ID2D1Factory), nullptr,
                  reinterpret_cast<void**>(factory));
}

HRESULT CreateDWriteFactory(DWRITE_FACTORY_TYPE type, IDWriteFactory** factory) {
    static const auto create =
        SystemProc<DWriteCreateFactoryFunction>(L"dwrite.dll", "DWriteCreateFactory");
    if (!create)
        return kMissing;
    return create(type, __uuidof(IDWriteFactory), reinterpret_cast<IUnknown**>(factory));
}

HRESULT CreateDCompDevice(IUnknown* renderingDevice, REFIID iid, void** device) {
    static const auto create =
        SystemProc<DCompositionCreateDevice2Function>(L"dcomp.dll", "DCompositionCreateDevice2");
    if (!create)
        return kMissing;
    return create(renderingDevice, iid, device);
}

HRESULT CreateWicFactory(IWICImagingFactory** factory) {
    static const auto getClassObject =
        SystemProc<DllGetClassObjectFunction>(L"windowscodecs.dll", "DllGetClassObject");
    if (!getClassObject)
        return kMissing;
    Microsoft::WRL::ComPtr<IClassFactory> classFactory;
    const HRESULT hr = getClassObject(CLSID_WICImagingFactory, IID_IClassFactory,
                                      reinterpret_cast<void**>(classFactory.GetAddressOf()));
    if (FAILED(hr))
        return hr;
    return classFactory->CreateInstance(nullptr, IID_IWICImagingFactory,
                                        reinterpret_cast<void**>(factory));
}

} // namespace System

EntryPointSeams& Seams() {
    static EntryPointSeams seams;
    return seams;
}

HRESULT CreateD3D11Device(D3D_DRIVER_TYPE driverType, UINT flags,
                          const D3D_FEATURE_LEVEL* featureLevels, UINT featureLevelCount,
                          ID3D11Device** device) {
    return Seams().createD3D11Device(driverType, flags, featureLevels, featureLevelCount, device);
}

HRESULT CreateD2DDevice(IDXGIDevice* dxgiDevice, ID2D1Device** device) {
    return Seams().createD2DDevice(dxgiDevice, device);
}

HRESULT QueryDXGIFactory2(IDXGIAdapter* adapter, IDXGIFactory2** factory) {
    return Seams().queryDXGIFactory2(adapter, factory);
}

HRESULT CreateD2DFactory(ID2D1Factory** factory) {
    return Seams().createD2DFactory(factory);
}

HRESULT CreateDWriteFactory(DWRITE_FACTORY_TYPE type, IDWriteFactory** factory) {
    return Seams().createDWriteFactory(type, factory);
}

HRESULT CreateDCompDevice(IUnknown* renderingDevice, REFIID iid, void** device) {
    return Seams().createDCompDevice(renderingDevice, iid, device);
}

HRESULT CreateWicFactory(IWICImagingFactory** factory) {
    return Seams().createWicFactory(factory);
}

} // namespace Graphics
