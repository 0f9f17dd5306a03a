#pragma once
// The composition layer the toolkit draws through: a tree of visuals, each showing a
// surface or a swap chain, with an offset, an opacity (effect group) and a rounded clip.
// Two backends keep the same tree and give the same picture:
//  - DirectComposition, where DCompositionCreateDevice2 works (Windows 8 and later);
//  - a software compositor elsewhere (Windows 7, Wine): surfaces and swap-chain pages are
//    CPU bitmaps drawn with Direct2D, composed with premultiplied alpha and shown on a
//    layered window.
// The operations mirror DirectComposition's, so the code above reads like it.
#include <windows.h>
#include <d2d1_1.h>
#include <d3d11.h>
#include <dxgi1_2.h>
#include <wincodec.h>

#include <memory>

namespace Composition {

// A picture kept by the compositor until it is drawn again (a virtual surface).
// Pixels are premultiplied; a surface starts fully transparent.
class Surface {
  public:
    virtual ~Surface() = default;
    // Draws the whole surface: the context's origin is the surface's top-left corner shifted
    // by *offset, so callers draw at (offset.x, offset.y); one Direct2D unit is one pixel (the
    // context comes at 96 DPI). Only one draw at a time on a device. What the surface showed
    // before is not kept: the caller draws every pixel (Clear first).
    virtual HRESULT BeginDraw(ID2D1DeviceContext** context, POINT* offset) = 0;
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

// The two system entry points the backends start from. The layer imports no graphics DLL:
// its user looks the entry points up (in the system folder only) and hands them in.
struct EntryPoints {
    // DCompositionCreateDevice2.
    HRESULT (*createDCompDevice)(IUnknown* renderingDevice, REFIID iid, void** device);
    // The WIC imaging factory; the software compositor's swap-chain pages are WIC bitmaps.
    HRESULT (*createWicFactory)(IWICImagingFactory** factory);
};

// DirectComposition when the system has it (DCompositionCreateDevice2 from the Direct2D
// device), otherwise the software compositor. The devices are the host's; the DXGI factory
// makes DirectComposition's swap chains.
HRESULT CreateDevice(const EntryPoints& entryPoints, ID3D11Device* d3dDevice,
                     ID2D1Device* d2dDevice, IDXGIFactory2* dxgiFactory,
                     std::unique_ptr<Device>* device);

} // namespace Composition
