#include "Composition.h"

#include "DCompDevice.h"
#include "SoftwareDevice.h"

namespace Composition {

bool DirectCompositionAvailable(const EntryPoints& entryPoints) {
    return ProbeDirectComposition(entryPoints.createDCompDevice);
}

HRESULT CreateDirectCompositionDevice(const EntryPoints& entryPoints, ID3D11Device* d3dDevice,
                                      ID2D1Device* d2dDevice, IDXGIFactory2* dxgiFactory,
                                      std::unique_ptr<Device>* device) {
    if (!d2dDevice || !device)
        return E_INVALIDARG;
    return CreateDCompDevice(entryPoints.createDCompDevice, d3dDevice, d2dDevice, dxgiFactory,
                             device);
}

HRESULT CreateSoftwareDevice(const EntryPoints& entryPoints, std::unique_ptr<Device>* device) {
    if (!device)
        return E_INVALIDARG;
    return SoftwareDevice::Create(entryPoints.wicFactory, entryPoints.d2dFactory, device);
}

} // namespace Composition
