#pragma once
// The composition layer the toolkit draws through: a tree of visuals, each showing a
// surface or a swap chain, with an offset, an opacity (effect group) and a rounded clip.
// Two backends keep the same tree and give the same picture:
//  - DirectComposition, where DCompositionCreateDevice2 works (Windows 8 and later);
//  - a software compositor elsewhere (Windows 7, Wine): surfaces and swap-chain pages are
//    CPU (WIC) bitmaps drawn with Direct2D 1.0 render targets, composed with premultiplied
//    alpha and shown on a layered window. It needs no Direct3D device, and nothing of
//    Direct2D 1.1 or DXGI 1.2, which Windows 7 without its Platform Update lacks.
// The operations mirror DirectComposition's, so the code above reads like it.
#include <windows.h>
#include <d2d1.h>
#include <d2d1_1.h>
#include <d3d11.h>
#include <dxgi1_2.h>
#include <wincodec.h>

#include <functional>
#include <memory>

namespace Composition {

// A picture kept by the compositor until it is drawn again (a virtual surface).
// Pixels are premultiplied; a surface starts fully transparent.
class Surface {
  public:
    virtual ~Surface() = default;
    // Draws the whole surface: the target's origin is the surface's top-left corner shifted
    // by *offset, so callers draw at (offset.x, offset.y); one Direct2D unit is one pixel (the
    // target comes at 96 DPI). Only one draw at a time on a device. What the surface showed
    // before is not kept: the caller draws every pixel (Clear first). DirectComposition hands
    // out a device context (QueryInterface ID2D1DeviceContext for effects); the software
    // compositor a Direct2D 1.0 render target on a WIC bitmap.
    virtual HRESULT BeginDraw(ID2D1RenderTarget** target, POINT* offset) = 0;
    virtual HRESULT EndDraw() = 0;
    virtual HRESULT Resize(UINT width, UINT height) = 0;
    // Replaces the picture with premultiplied 32-bit pixels (rows `stride` bytes apart) at the
    // surface's top-left corner, the rest transparent, as a draw that copies them would. A
    // surface kept in memory takes them without a draw; the others answer E_NOTIMPL and the
    // caller draws them.
    virtual HRESULT CopyPixels(const void* pixels, UINT width, UINT height, UINT stride) {
        (void)pixels, (void)width, (void)height, (void)stride;
        return E_NOTIMPL;
    }
};

// A page its owner redraws as often as it likes without touching the visual tree.
// Frames may be drawn and presented from a thread other than the UI thread; a present is
// shown without a commit, paced like a desktop compositor (about 60 a second).
class SwapChain {
  public:
    virtual ~SwapChain() = default;
    // A render target on the page to draw next, made by the caller's own factory; one
    // Direct2D unit is one pixel. The target stays valid until the next Present.
    virtual HRESULT CreateFrameTarget(ID2D1Factory* factory, ID2D1RenderTarget** target) = 0;
    virtual HRESULT Present() = 0;
};

// Opacity applied to a visual and everything under it.
class EffectGroup {
  public:
    virtual ~EffectGroup() = default;
    virtual HRESULT SetOpacity(float opacity) = 0;
};

// A rectangle with rounded corners in the visual's own coordinates (pixels).
class RectangleClip {
  public:
    virtual ~RectangleClip() = default;
    virtual HRESULT SetEdges(float left, float top, float right, float bottom) = 0;
    // Radii in the order top-left x, y; top-right x, y; bottom-left x, y; bottom-right x, y.
    virtual HRESULT SetRadii(const float radii[8]) = 0;
};

class Visual {
  public:
    virtual ~Visual() = default;
    virtual HRESULT SetOffsetX(float x) = 0;
    virtual HRESULT SetOffsetY(float y) = 0;
    // Adds a child on top of its earlier siblings.
    virtual HRESULT AddVisual(const std::shared_ptr<Visual>& child) = 0;
    virtual HRESULT RemoveVisual(const std::shared_ptr<Visual>& child) = 0;
    // A visual shows at most one content: a surface, a swap chain, or nothing (nullptr).
    virtual HRESULT SetContent(const std::shared_ptr<Surface>& surface) = 0;
    virtual HRESULT SetContent(const std::shared_ptr<SwapChain>& swapChain) = 0;
    virtual HRESULT SetEffect(const std::shared_ptr<EffectGroup>& effect) = 0;
    // nullptr removes the clip.
    virtual HRESULT SetClip(const std::shared_ptr<RectangleClip>& clip) = 0;
};

// Binds a tree to a window.
class Target {
  public:
    virtual ~Target() = default;
    virtual HRESULT SetRoot(const std::shared_ptr<Visual>& root) = 0;
};

// Creates the tree's objects and shows the tree on Commit.
class Device {
  public:
    virtual ~Device() = default;
    virtual bool IsSoftware() const = 0;
    virtual HRESULT CreateTargetForHwnd(HWND window, bool topmost,
                                        std::shared_ptr<Target>* target) = 0;
    virtual HRESULT CreateVisual(std::shared_ptr<Visual>* visual) = 0;
    // Premultiplied 32-bit pixels.
    virtual HRESULT CreateVirtualSurface(UINT width, UINT height,
                                         std::shared_ptr<Surface>* surface) = 0;
    // Two pages of 32-bit BGRA, opaque content (the page draws every pixel).
    virtual HRESULT CreateSwapChain(UINT width, UINT height,
                                    std::shared_ptr<SwapChain>* swapChain) = 0;
    virtual HRESULT CreateEffectGroup(std::shared_ptr<EffectGroup>* effect) = 0;
    virtual HRESULT CreateRectangleClip(std::shared_ptr<RectangleClip>* clip) = 0;
    // Shows every change made to the tree and its surfaces since the last commit.
    virtual HRESULT Commit() = 0;
};

// The system entry points and shared factories the backends start from. The layer imports no
// graphics DLL: its user looks the entry points up (in the system folder only) and hands them
// in.
struct EntryPoints {
    // DCompositionCreateDevice2.
    std::function<HRESULT(IUnknown* renderingDevice, REFIID iid, void** device)> createDCompDevice;
    // A WIC imaging factory; the software compositor's surfaces and pages are WIC bitmaps.
    std::function<HRESULT(IWICImagingFactory** factory)> wicFactory;
    // The Direct2D factory (multithreaded) the software compositor draws its surfaces with;
    // the user may hand out the one it gives everything else.
    std::function<HRESULT(ID2D1Factory** factory)> d2dFactory;
};

// Whether DirectComposition works here: DCompositionCreateDevice2 with no rendering device
// (the parameter is optional) makes a device. Needs no window and no Direct3D device, so the
// backend is known before either exists. False on Windows 7 and under Wine (E_NOTIMPL).
bool DirectCompositionAvailable(const EntryPoints& entryPoints);

// DirectComposition over the host's Direct2D device; its swap chains come from the DXGI
// factory on the Direct3D device.
HRESULT CreateDirectCompositionDevice(const EntryPoints& entryPoints, ID3D11Device* d3dDevice,
                                      ID2D1Device* d2dDevice, IDXGIFactory2* dxgiFactory,
                                      std::unique_ptr<Device>* device);

// The software compositor (UI thread). WIC and Direct2D are asked for only when a surface is
// first drawn or a swap chain first made: pictures copied in as pixels need neither.
HRESULT CreateSoftwareDevice(const EntryPoints& entryPoints, std::unique_ptr<Device>* device);

} // namespace Composition
