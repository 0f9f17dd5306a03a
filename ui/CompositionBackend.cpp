#include "CompositionBackend.h"

#include "GraphicsEntryPoints.h"

#include <atomic>

namespace {

// WS_EX_NOREDIRECTIONBITMAP (Windows 8 on).
constexpr DWORD kNoRedirectionBitmap = 0x00200000;

enum Choice { kUndecided, kDirectComposition, kSoftware };

// A reference to the process's shared object for the layer; E_FAIL when there is none.
template <class Interface> HRESULT HandOut(Interface* object, Interface** out) {
    if (!object)
        return E_FAIL;
    object->AddRef();
    *out = object;
    return S_OK;
}
std::atomic<int> g_choice{kUndecided};

} // namespace

CompositionSeams RealCompositionSeams() {
    CompositionSeams real;
    real.directCompositionAvailable = [] {
        return Composition::DirectCompositionAvailable(CompositionEntryPoints(nullptr));
    };
    real.createDirectCompositionDevice = [](const std::shared_ptr<CGraphicsDevices>& devices,
                                            std::unique_ptr<Composition::Device>* device) {
        const CDirect3DDevices* direct3D = devices ? devices->Direct3D() : nullptr;
        if (!direct3D)
            return E_FAIL;
        return Composition::CreateDirectCompositionDevice(
            CompositionEntryPoints(devices), direct3D->D3DDevice(), direct3D->D2DDevice(),
            direct3D->DXGIFactory(), device);
    };
    real.createSoftwareDevice = [](const std::shared_ptr<CGraphicsDevices>& devices,
                                   std::unique_ptr<Composition::Device>* device) {
        return Composition::CreateSoftwareDevice(CompositionEntryPoints(devices), device);
    };
    return real;
}

CompositionSeams& CompositionBackendSeams() {
    static CompositionSeams seams = RealCompositionSeams();
    return seams;
}

void ForgetBackendChoice() {
    g_choice = kUndecided;
}

CompositionBackend NextWindowBackend() {
    if (g_choice == kUndecided) {
        const bool available = CompositionBackendSeams().directCompositionAvailable();
        int expected = kUndecided;
        g_choice.compare_exchange_strong(expected, available ? kDirectComposition : kSoftware);
    }
    return g_choice == kDirectComposition ? CompositionBackend::DirectComposition
                                          : CompositionBackend::Software;
}

void FallBackToSoftwareCompositor() {
    g_choice = kSoftware;
}

DWORD CreationExStyleFor(CompositionBackend backend) {
    // WS_EX_NOREDIRECTIONBITMAP takes effect only when CreateWindowEx makes the window: a
    // window for DirectComposition has it from the start, so that no GDI redirection surface
    // (which nothing paints) shows under the composition tree. A layered window needs its own.
    return backend == CompositionBackend::DirectComposition ? kNoRedirectionBitmap : 0;
}

Composition::EntryPoints CompositionEntryPoints(const std::shared_ptr<CGraphicsDevices>& devices) {
    Composition::EntryPoints entryPoints;
    entryPoints.createDCompDevice = &Graphics::CreateDCompDevice;
    entryPoints.wicFactory = [devices](IWICImagingFactory** factory) {
        return HandOut(devices ? devices->WicFactory() : nullptr, factory);
    };
    entryPoints.d2dFactory = [devices](ID2D1Factory** factory) {
        return HandOut(devices ? devices->D2DFactory() : nullptr, factory);
    };
    return entryPoints;
}

HRESULT CreateCompositionDevice(CompositionBackend backend,
                                const std::shared_ptr<CGraphicsDevices>& devices,
                                std::unique_ptr<Composition::Device>* device) {
    const CompositionSeams& seams = CompositionBackendSeams();
    return backend == CompositionBackend::DirectComposition
               ? seams.createDirectCompositionDevice(devices, device)
               : seams.createSoftwareDevice(devices, device);
}
