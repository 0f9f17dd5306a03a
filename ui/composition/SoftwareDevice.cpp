#include "SoftwareDevice.h"

#include "LayeredWindowPresenter.h"
#include "PresentChannel.h"
#include "SceneComposer.h"
#include "SoftwareSurface.h"
#include "SoftwareSwapChain.h"
#include "SoftwareVisual.h"

#include <algorithm>

using Microsoft::WRL::ComPtr;

namespace Composition {

namespace {

constexpr wchar_t kMessageWindowClass[] = L"CorvaneSoftwareCompositor";
constexpr UINT kPresentMessage = WM_APP + 1;
// DirectComposition's answer when a window already has a target.
constexpr HRESULT kWindowAlreadyComposed = static_cast<HRESULT>(0x88980800L);

HINSTANCE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

} // namespace

// One window's tree: the committed snapshot, composed on commit and again when a swap chain in
// it presents a new page.
class SoftwareTarget : public Target {
  public:
    explicit SoftwareTarget(HWND window) : window_(window), presenter_(window) {}

    HWND Window() const { return window_; }

    HRESULT SetRoot(const std::shared_ptr<Visual>& root) override {
        auto own = std::dynamic_pointer_cast<SoftwareVisual>(root);
        if (root && !own)
            return E_INVALIDARG;
        root_ = std::move(own);
        return S_OK;
    }

    HRESULT Commit() {
        if (!root_)
            return S_OK;
        scene_ = std::make_unique<SceneLayer>(root_->Snapshot(0, 0));
        return ComposeAndShow();
    }

    // After a present: recompose only if a page of the committed tree changed.
    HRESULT ShowNewPages() {
        if (!scene_)
            return S_OK;
        const bool changed =
            std::any_of(pagesShown_.begin(), pagesShown_.end(),
                        [](const PageUse& use) { return use.page->Version() != use.version; });
        return changed ? ComposeAndShow() : S_OK;
    }

    bool CopyLastFrame(Pixels* frame) const { return presenter_.CopyLastFrame(frame); }

  private:
    HRESULT ComposeAndShow() {
        // A minimised window keeps its last frame.
        if (IsIconic(window_))
            return S_OK;
        int width = 0, height = 0, clientX = 0, clientY = 0;
        std::uint32_t* frame = presenter_.BeginFrame(&width, &height, &clientX, &clientY);
        if (!frame)
            return S_OK;
        // The tree's origin is the client area's top-left corner.
        const Canvas canvas{frame, width, height, -clientX, -clientY};
        pagesShown_.clear();
        ComposeLayer(canvas, *scene_, &pagesShown_);
        return presenter_.Show();
    }

    HWND window_;
    LayeredWindowPresenter presenter_;
    std::shared_ptr<SoftwareVisual> root_;
    std::unique_ptr<SceneLayer> scene_;
    std::vector<PageUse> pagesShown_;
};

HRESULT SoftwareDevice::Create(decltype(EntryPoints::wicFactory) wicFactory,
                               decltype(EntryPoints::d2dFactory) d2dFactory,
                               std::unique_ptr<Device>* device) {
    if (!wicFactory || !d2dFactory || !device)
        return E_INVALIDARG;
    std::unique_ptr<SoftwareDevice> created(new SoftwareDevice());
    created->drawing_ =
        std::make_shared<SurfaceDrawing>(std::move(wicFactory), std::move(d2dFactory));

    static const ATOM windowClass = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &SoftwareDevice::MessageProc;
        wc.hInstance = ThisModule();
        wc.lpszClassName = kMessageWindowClass;
        return RegisterClassExW(&wc);
    }();
    if (!windowClass)
        return HRESULT_FROM_WIN32(GetLastError());
    created->messageWindow_ = CreateWindowExW(0, kMessageWindowClass, L"", 0, 0, 0, 0, 0,
                                              HWND_MESSAGE, nullptr, ThisModule(), nullptr);
    if (!created->messageWindow_)
        return HRESULT_FROM_WIN32(GetLastError());
    SetWindowLongPtrW(created->messageWindow_, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(created.get()));
    created->channel_ = std::make_shared<PresentChannel>(created->messageWindow_, kPresentMessage);
    *device = std::move(created);
    return S_OK;
}

SoftwareDevice::~SoftwareDevice() {
    if (channel_)
        channel_->Close();
    if (messageWindow_) {
        SetWindowLongPtrW(messageWindow_, GWLP_USERDATA, 0);
        DestroyWindow(messageWindow_);
    }
}

LRESULT CALLBACK SoftwareDevice::MessageProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    if (message == kPresentMessage) {
        if (auto* device =
                reinterpret_cast<SoftwareDevice*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
            device->ShowPresentedPages();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::vector<std::shared_ptr<SoftwareTarget>> SoftwareDevice::LiveTargets() {
    std::vector<std::shared_ptr<SoftwareTarget>> live;
    std::vector<std::weak_ptr<SoftwareTarget>> kept;
    for (const auto& weak : targets_) {
        if (auto target = weak.lock()) {
            live.push_back(std::move(target));
            kept.push_back(weak);
        }
    }
    targets_.swap(kept);
    return live;
}

void SoftwareDevice::ShowPresentedPages() {
    channel_->Received();
    for (const auto& target : LiveTargets())
        target->ShowNewPages();
}

HRESULT SoftwareDevice::CreateTargetForHwnd(HWND window, bool /*topmost*/,
                                            std::shared_ptr<Target>* target) {
    if (!target || !IsWindow(window))
        return E_INVALIDARG;
    for (const auto& existing : LiveTargets()) {
        if (existing->Window() == window)
            return kWindowAlreadyComposed;
    }
    auto created = std::make_shared<SoftwareTarget>(window);
    targets_.push_back(created);
    *target = std::move(created);
    return S_OK;
}

HRESULT SoftwareDevice::CreateVisual(std::shared_ptr<Visual>* visual) {
    if (!visual)
        return E_POINTER;
    *visual = std::make_shared<SoftwareVisual>();
    return S_OK;
}

HRESULT SoftwareDevice::CreateVirtualSurface(UINT width, UINT height,
                                             std::shared_ptr<Surface>* surface) {
    if (!surface)
        return E_POINTER;
    *surface = std::make_shared<SoftwareSurface>(drawing_, width, height);
    return S_OK;
}

HRESULT SoftwareDevice::CreateSwapChain(UINT width, UINT height,
                                        std::shared_ptr<SwapChain>* swapChain) {
    if (!swapChain)
        return E_POINTER;
    ComPtr<IWICImagingFactory> wic;
    HRESULT hr = drawing_->Wic(&wic);
    if (FAILED(hr))
        return hr;
    std::shared_ptr<SoftwareSwapChain> created;
    hr = SoftwareSwapChain::Create(wic.Get(), width, height, channel_, &created);
    if (SUCCEEDED(hr))
        *swapChain = std::move(created);
    return hr;
}

HRESULT SoftwareDevice::CreateEffectGroup(std::shared_ptr<EffectGroup>* effect) {
    if (!effect)
        return E_POINTER;
    *effect = std::make_shared<SoftwareEffectGroup>();
    return S_OK;
}

HRESULT SoftwareDevice::CreateRectangleClip(std::shared_ptr<RectangleClip>* clip) {
    if (!clip)
        return E_POINTER;
    *clip = std::make_shared<SoftwareRectangleClip>();
    return S_OK;
}

HRESULT SoftwareDevice::Commit() {
    HRESULT result = S_OK;
    for (const auto& target : LiveTargets()) {
        const HRESULT hr = target->Commit();
        if (FAILED(hr) && SUCCEEDED(result))
            result = hr;
    }
    return result;
}

HRESULT SoftwareDevice::ReadLastFrame(HWND window, Pixels* frame) const {
    for (const auto& weak : targets_) {
        auto target = weak.lock();
        if (target && target->Window() == window)
            return target->CopyLastFrame(frame) ? S_OK : S_FALSE;
    }
    return E_INVALIDARG;
}

} // namespace Composition
