#pragma once
// The DirectComposition backend: thin wrappers that hand each call to DirectComposition.
#include "Composition.h"

#include <memory>

namespace Composition {

// True when DCompositionCreateDevice2 (createDevice) makes a device without a rendering device.
bool ProbeDirectComposition(const decltype(EntryPoints::createDCompDevice)& createDevice);

// Fails where DCompositionCreateDevice2 (createDevice) is missing or refuses (Windows 7, Wine).
HRESULT CreateDCompDevice(const decltype(EntryPoints::createDCompDevice)& createDevice,
                          ID3D11Device* d3dDevice, ID2D1Device* d2dDevice,
                          IDXGIFactory2* dxgiFactory, std::unique_ptr<Device>* device);

} // namespace Composition
