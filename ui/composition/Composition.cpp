#include "Composition.h"

#include "DCompDevice.h"
#include "SoftwareDevice.h"

namespace Composition {

HRESULT CreateDevice(const EntryPoints& entryPoints, ID3D11Device* d3dDevice,
                     ID2D1Device* d2dDevice, IDXGIFactory2* dxgiFactory,
                     std::unique_ptr<Device>* device) {
    if (!d2dDevice || !device)
        return E_INVALIDARG;
    if (SUCCEEDED(CreateDCompDevice(entryPoints.createDCompDevice, d3dDevice, d2dDevice,
                                    dxgiFactory, device)))
        return S_OK;
    return SoftwareDevice::Create(entryPoints.createWicFactory, d2dDevice, device);
}

} // namespace Composition
