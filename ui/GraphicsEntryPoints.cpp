#include "GraphicsEntryPoints.h"

#include "win/SystemLibrary.h"

namespace Graphics {

namespace {

using D3D11CreateDeviceFunction = HRESULT(WINAPI*)(IDXGIAdapter*, D3D_DRIVER_TYPE, HMODULE, UINT,
                                                   const D3D_FEATURE_LEVEL*, UINT, UINT,
                                                   ID3D11Device**, D3D_FEATURE_LEVEL*,
                                                   ID3D11DeviceContext**);
// MinGW's d2d1_1.h does not declare D2D1CreateDevice.
using D2D1CreateDeviceFunction = HRESULT(WINAPI*)(IDXGIDevice*, const void* creationProperties,
                                                  ID2D1Device**);
using DWriteCreateFactoryFunction = HRESULT(WINAPI*)(DWRITE_FACTORY_TYPE, REFIID, IUnknown**);
using DCompositionCreateDevice2Function = HRESULT(WINAPI*)(IUnknown*, REFIID, void**);
using DllGetClassObjectFunction = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);

const HRESULT kMissing = HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);

} // namespace

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
    return create(dxgiDevice, nullptr, device);
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
    IClassFactory* classFactory = nullptr;
    HRESULT hr = getClassObject(CLSID_WICImagingFactory, IID_IClassFactory,
                                reinterpret_cast<void**>(&classFactory));
    if (FAILED(hr))
        return hr;
    hr = classFactory->CreateInstance(nullptr, IID_IWICImagingFactory,
                                      reinterpret_cast<void**>(factory));
    classFactory->Release();
    return hr;
}

} // namespace Graphics
