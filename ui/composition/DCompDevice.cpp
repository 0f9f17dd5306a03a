// IDCompositionDesktopDevice and its kin are declared for Windows 8.1 and later only; this file
// runs only where DCompositionCreateDevice2 was found and worked.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0603
#include "DCompDevice.h"

#include <dcomp.h>
#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

namespace Composition {

namespace {

class DCompSurface : public Surface {
  public:
    explicit DCompSurface(ComPtr<IDCompositionVirtualSurface> surface)
        : surface_(std::move(surface)) {}
    HRESULT BeginDraw(ID2D1RenderTarget** target, POINT* offset) override {
        ID2D1DeviceContext* context = nullptr;
        const HRESULT hr = surface_->BeginDraw(nullptr, __uuidof(ID2D1DeviceContext),
                                               reinterpret_cast<void**>(&context), offset);
        if (FAILED(hr))
            return hr;
        // One Direct2D unit is one pixel, whatever the window's DPI.
        context->SetDpi(96.0f, 96.0f);
        *target = context; // the reference passes to the caller
        return hr;
    }
    HRESULT EndDraw() override { return surface_->EndDraw(); }
    HRESULT Resize(UINT width, UINT height) override { return surface_->Resize(width, height); }
    IUnknown* Content() const { return surface_.Get(); }

  private:
    ComPtr<IDCompositionVirtualSurface> surface_;
};

class DCompSwapChain : public SwapChain {
  public:
    explicit DCompSwapChain(ComPtr<IDXGISwapChain1> swapChain) : swapChain_(std::move(swapChain)) {}
    HRESULT CreateFrameTarget(ID2D1Factory* factory, ID2D1RenderTarget** target) override {
        ComPtr<IDXGISurface> buffer;
        HRESULT hr = swapChain_->GetBuffer(0, IID_PPV_ARGS(&buffer));
        if (FAILED(hr))
            return hr;
        const D2D1_RENDER_TARGET_PROPERTIES properties = D2D1::RenderTargetProperties(
            D2D1_RENDER_TARGET_TYPE_DEFAULT,
            D2D1::PixelFormat(DXGI_FORMAT_UNKNOWN, D2D1_ALPHA_MODE_PREMULTIPLIED), 96.0f, 96.0f);
        return factory->CreateDxgiSurfaceRenderTarget(buffer.Get(), &properties, target);
    }
    HRESULT Present() override { return swapChain_->Present(0, 0); }
    IUnknown* Content() const { return swapChain_.Get(); }

  private:
    ComPtr<IDXGISwapChain1> swapChain_;
};

class DCompEffectGroup : public EffectGroup {
  public:
    explicit DCompEffectGroup(ComPtr<IDCompositionEffectGroup> effect)
        : effect_(std::move(effect)) {}
    HRESULT SetOpacity(float opacity) override { return effect_->SetOpacity(opacity); }
    IDCompositionEffectGroup* Get() const { return effect_.Get(); }

  private:
    ComPtr<IDCompositionEffectGroup> effect_;
};

class DCompRectangleClip : public RectangleClip {
  public:
    explicit DCompRectangleClip(ComPtr<IDCompositionRectangleClip> clip) : clip_(std::move(clip)) {}
    HRESULT SetEdges(float left, float top, float right, float bottom) override {
        clip_->SetLeft(left);
        clip_->SetRight(right);
        clip_->SetTop(top);
        return clip_->SetBottom(bottom);
    }
    HRESULT SetRadii(const float r[8]) override {
        clip_->SetTopLeftRadiusX(r[0]);
        clip_->SetTopLeftRadiusY(r[1]);
        clip_->SetTopRightRadiusX(r[2]);
        clip_->SetTopRightRadiusY(r[3]);
        clip_->SetBottomLeftRadiusX(r[4]);
        clip_->SetBottomLeftRadiusY(r[5]);
        clip_->SetBottomRightRadiusX(r[6]);
        return clip_->SetBottomRightRadiusY(r[7]);
    }
    IDCompositionRectangleClip* Get() const { return clip_.Get(); }

  private:
    ComPtr<IDCompositionRectangleClip> clip_;
};

class DCompVisual : public Visual {
  public:
    explicit DCompVisual(ComPtr<IDCompositionVisual2> visual) : visual_(std::move(visual)) {}
    HRESULT SetOffsetX(float x) override { return visual_->SetOffsetX(x); }
    HRESULT SetOffsetY(float y) override { return visual_->SetOffsetY(y); }
    HRESULT AddVisual(const std::shared_ptr<Visual>& child) override {
        auto* own = dynamic_cast<DCompVisual*>(child.get());
        return own ? visual_->AddVisual(own->visual_.Get(), FALSE, nullptr) : E_INVALIDARG;
    }
    HRESULT RemoveVisual(const std::shared_ptr<Visual>& child) override {
        auto* own = dynamic_cast<DCompVisual*>(child.get());
        return own ? visual_->RemoveVisual(own->visual_.Get()) : E_INVALIDARG;
    }
    HRESULT SetContent(const std::shared_ptr<Surface>& surface) override {
        auto* own = dynamic_cast<DCompSurface*>(surface.get());
        if (surface && !own)
            return E_INVALIDARG;
        return visual_->SetContent(own ? own->Content() : nullptr);
    }
    HRESULT SetContent(const std::shared_ptr<SwapChain>& swapChain) override {
        auto* own = dynamic_cast<DCompSwapChain*>(swapChain.get());
        if (swapChain && !own)
            return E_INVALIDARG;
        const HRESULT hr = visual_->SetContent(own ? own->Content() : nullptr);
        if (SUCCEEDED(hr) && own)
            visual_->SetBitmapInterpolationMode(DCOMPOSITION_BITMAP_INTERPOLATION_MODE_LINEAR);
        return hr;
    }
    HRESULT SetEffect(const std::shared_ptr<EffectGroup>& effect) override {
        auto* own = dynamic_cast<DCompEffectGroup*>(effect.get());
        if (effect && !own)
            return E_INVALIDARG;
        return visual_->SetEffect(own ? own->Get() : nullptr);
    }
    HRESULT SetClip(const std::shared_ptr<RectangleClip>& clip) override {
        auto* own = dynamic_cast<DCompRectangleClip*>(clip.get());
        if (clip && !own)
            return E_INVALIDARG;
        return visual_->SetClip(static_cast<IDCompositionClip*>(own ? own->Get() : nullptr));
    }
    IDCompositionVisual2* Get() const { return visual_.Get(); }

  private:
    ComPtr<IDCompositionVisual2> visual_;
};

class DCompTarget : public Target {
  public:
    explicit DCompTarget(ComPtr<IDCompositionTarget> target) : target_(std::move(target)) {}
    HRESULT SetRoot(const std::shared_ptr<Visual>& root) override {
        auto* own = dynamic_cast<DCompVisual*>(root.get());
        if (root && !own)
            return E_INVALIDARG;
        return target_->SetRoot(own ? own->Get() : nullptr);
    }

  private:
    ComPtr<IDCompositionTarget> target_;
};

class DCompDevice : public Device {
  public:
    DCompDevice(ComPtr<IDCompositionDesktopDevice> device, ID3D11Device* d3dDevice,
                IDXGIFactory2* dxgiFactory)
        : device_(std::move(device)), d3dDevice_(d3dDevice), dxgiFactory_(dxgiFactory) {}

    bool IsSoftware() const override { return false; }
    HRESULT CreateTargetForHwnd(HWND window, bool topmost,
                                std::shared_ptr<Target>* target) override {
        ComPtr<IDCompositionTarget> created;
        const HRESULT hr = device_->CreateTargetForHwnd(window, topmost ? TRUE : FALSE, &created);
        if (SUCCEEDED(hr))
            *target = std::make_shared<DCompTarget>(std::move(created));
        return hr;
    }
    HRESULT CreateVisual(std::shared_ptr<Visual>* visual) override {
        ComPtr<IDCompositionVisual2> created;
        const HRESULT hr = device_->CreateVisual(&created);
        if (SUCCEEDED(hr))
            *visual = std::make_shared<DCompVisual>(std::move(created));
        return hr;
    }
    HRESULT CreateVirtualSurface(UINT width, UINT height,
                                 std::shared_ptr<Surface>* surface) override {
        ComPtr<IDCompositionVirtualSurface> created;
        const HRESULT hr = device_->CreateVirtualSurface(width, height, DXGI_FORMAT_R8G8B8A8_UNORM,
                                                         DXGI_ALPHA_MODE_PREMULTIPLIED, &created);
        if (SUCCEEDED(hr))
            *surface = std::make_shared<DCompSurface>(std::move(created));
        return hr;
    }
    HRESULT CreateSwapChain(UINT width, UINT height,
                            std::shared_ptr<SwapChain>* swapChain) override {
        if (!dxgiFactory_ || !d3dDevice_)
            return E_UNEXPECTED;
        DXGI_SWAP_CHAIN_DESC1 desc{};
        desc.Width = width;
        desc.Height = height;
        desc.Format = DXGI_FORMAT_B8G8R8A8_UNORM;
        desc.Stereo = FALSE;
        desc.SampleDesc = {1, 0};
        desc.BufferUsage = DXGI_USAGE_RENDER_TARGET_OUTPUT;
        desc.BufferCount = 2;
        desc.Scaling = DXGI_SCALING_STRETCH;
        desc.SwapEffect = DXGI_SWAP_EFFECT_FLIP_SEQUENTIAL;
        desc.AlphaMode = DXGI_ALPHA_MODE_UNSPECIFIED;
        // DXGI_SWAP_CHAIN_FLAG_DISPLAY_ONLY keeps the content off remote sessions, desktop
        // duplication and screen capture (empty pages over Remote Desktop or a shared screen);
        // ALLOW_MODE_SWITCH means nothing for a composition swap chain. So: no flags.
        desc.Flags = 0;
        ComPtr<IDXGISwapChain1> created;
        const HRESULT hr =
            dxgiFactory_->CreateSwapChainForComposition(d3dDevice_.Get(), &desc, nullptr, &created);
        if (FAILED(hr))
            return hr;
        const DXGI_RGBA transparent{0, 0, 0, 0};
        created->SetBackgroundColor(&transparent);
        *swapChain = std::make_shared<DCompSwapChain>(std::move(created));
        return S_OK;
    }
    HRESULT CreateEffectGroup(std::shared_ptr<EffectGroup>* effect) override {
        ComPtr<IDCompositionEffectGroup> created;
        const HRESULT hr = device_->CreateEffectGroup(&created);
        if (SUCCEEDED(hr))
            *effect = std::make_shared<DCompEffectGroup>(std::move(created));
        return hr;
    }
    HRESULT CreateRectangleClip(std::shared_ptr<RectangleClip>* clip) override {
        ComPtr<IDCompositionRectangleClip> created;
        const HRESULT hr = device_->CreateRectangleClip(&created);
        if (SUCCEEDED(hr))
            *clip = std::make_shared<DCompRectangleClip>(std::move(created));
        return hr;
    }
    HRESULT Commit() override { return device_->Commit(); }

  private:
    ComPtr<IDCompositionDesktopDevice> device_;
    ComPtr<ID3D11Device> d3dDevice_;
    ComPtr<IDXGIFactory2> dxgiFactory_;
};

} // namespace

bool ProbeDirectComposition(const decltype(EntryPoints::createDCompDevice)& createDevice) {
    if (!createDevice)
        return false;
    // DCompositionCreateDevice2's rendering device is optional: without one the device still
    // tells whether DirectComposition works, at the cost of a device and no Direct3D.
    ComPtr<IDCompositionDesktopDevice> probe;
    return SUCCEEDED(createDevice(nullptr, __uuidof(IDCompositionDesktopDevice),
                                  reinterpret_cast<void**>(probe.GetAddressOf()))) &&
           probe;
}

HRESULT CreateDCompDevice(const decltype(EntryPoints::createDCompDevice)& createDevice,
                          ID3D11Device* d3dDevice, ID2D1Device* d2dDevice,
                          IDXGIFactory2* dxgiFactory, std::unique_ptr<Device>* device) {
    if (!createDevice)
        return HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
    ComPtr<IDCompositionDesktopDevice> created;
    const HRESULT hr = createDevice(d2dDevice, __uuidof(IDCompositionDesktopDevice),
                                    reinterpret_cast<void**>(created.GetAddressOf()));
    if (FAILED(hr))
        return hr;
    *device = std::make_unique<DCompDevice>(std::move(created), d3dDevice, dxgiFactory);
    return S_OK;
}

} // namespace Composition
