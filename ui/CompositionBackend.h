#pragma once
// Which composition backend a window's host composes with, decided for the process before the
// first window exists (a window for DirectComposition must be created with
// WS_EX_NOREDIRECTIONBITMAP, the software compositor's must not): DirectComposition where it
// works, the software compositor elsewhere (Windows 7, Wine), and the software compositor for
// the rest of the run once a step of DirectComposition has failed.
#include "GraphicsDevices.h"

#include "ui/composition/Composition.h"

#include <windows.h>

#include <functional>
#include <memory>

enum class CompositionBackend { DirectComposition, Software };

// The backend the next window's host will use.
CompositionBackend NextWindowBackend();
// From now on every new window uses the software compositor.
void FallBackToSoftwareCompositor();
// The extended style bits a window for the backend is created with.
DWORD CreationExStyleFor(CompositionBackend backend);

// The entry points the composition layer starts from, with the set's factories.
Composition::EntryPoints CompositionEntryPoints(const std::shared_ptr<CGraphicsDevices>& devices);
// A host's composition device for the backend, through the seams below.
HRESULT CreateCompositionDevice(CompositionBackend backend,
                                const std::shared_ptr<CGraphicsDevices>& devices,
                                std::unique_ptr<Composition::Device>* device);

// Seams for tests, each set to the real thing: whether DirectComposition works, and how a host
// makes its device for each backend. A test may answer for the system or stand a device of its
// own (that hands the calls on to a real one) between the host and the layer. Changed and put
// back by tests on the UI thread while no window is open; ForgetBackendChoice lets the next
// window decide again.
struct CompositionSeams {
    std::function<bool()> directCompositionAvailable;
    std::function<HRESULT(const std::shared_ptr<CGraphicsDevices>& devices,
                          std::unique_ptr<Composition::Device>* device)>
        createDirectCompositionDevice;
    std::function<HRESULT(const std::shared_ptr<CGraphicsDevices>& devices,
                          std::unique_ptr<Composition::Device>* device)>
        createSoftwareDevice;
};
CompositionSeams& CompositionBackendSeams();
// The real ones, for a seam to hand on to.
CompositionSeams RealCompositionSeams();
void ForgetBackendChoice();
