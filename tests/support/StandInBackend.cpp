#include "StandInBackend.h"

#include "CompositionBackend.h"

#include "ui/composition/SoftwareSwapChain.h"

#include <mutex>

namespace CompositionTest {

const char* StepName(Step step) {
    switch (step) {
    case Step::None:
        return "none";
    case Step::CreateDevice:
        return "CreateDevice";
    case Step::CreateTarget:
        return "CreateTargetForHwnd";
    case Step::CreateVisual:
        return "CreateVisual";
    case Step::CreateSurface:
        return "CreateVirtualSurface";
    case Step::BeginDraw:
        return "BeginDraw";
    case Step::EndDraw:
        return "EndDraw";
    case Step::CreateSwapChain:
        return "CreateSwapChainForComposition";
    case Step::Present:
        return "Present";
    case Step::Commit:
        return "Commit";
    }
    return "?";
}

// Shared by the stand-in's objects; presents come from animation threads too.
struct StandInBackend::State {
    StandInPlan plan;
    mutable std::mutex mutex;
    Counts counts;

    // The answer of a step: the failure while the plan has some left, else S_OK (go on).
    HRESULT Answer(Step step) {
        std::lock_guard<std::mutex> lock(mutex);
        if (step != plan.failing)
            return S_OK;
        ++counts.reached;
        if (counts.reached <= plan.after || counts.failed >= plan.times)
            return S_OK;
        ++counts.failed;
        return plan.answer;
    }
};

namespace {

using State = StandInBackend::State;

class StandInSurface : public Composition::Surface {
  public:
    StandInSurface(std::shared_ptr<State> state, std::shared_ptr<Composition::Surface> inner)
        : state_(std::move(state)), inner_(std::move(inner)) {}
    HRESULT BeginDraw(ID2D1RenderTarget** target, POINT* offset) override {
        const HRESULT hr = state_->Answer(Step::BeginDraw);
        return FAILED(hr) ? hr : inner_->BeginDraw(target, offset);
    }
    HRESULT EndDraw() override {
        const HRESULT drawn = inner_->EndDraw();
        const HRESULT hr = state_->Answer(Step::EndDraw);
        return FAILED(hr) ? hr : drawn;
    }
    HRESULT Resize(UINT width, UINT height) override { return inner_->Resize(width, height); }
    HRESULT CopyPixels(const void* pixels, UINT width, UINT height, UINT stride) override {
        if (state_->plan.asDirectComposition)
            return E_NOTIMPL;
        return inner_->CopyPixels(pixels, width, height, stride);
    }
    const std::shared_ptr<Composition::Surface>& Inner() const { return inner_; }

  private:
    std::shared_ptr<State> state_;
    std::shared_ptr<Composition::Surface> inner_;
};

class StandInSwapChain : public Composition::SwapChain {
  public:
    StandInSwapChain(std::shared_ptr<State> state, std::shared_ptr<Composition::SwapChain> inner)
        : state_(std::move(state)), inner_(std::move(inner)) {}
    HRESULT CreateFrameTarget(ID2D1Factory* factory, ID2D1RenderTarget** target) override {
        return inner_->CreateFrameTarget(factory, target);
    }
    HRESULT Present() override {
        const HRESULT presented = inner_->Present();
        const HRESULT hr = state_->Answer(Step::Present);
        return FAILED(hr) ? hr : presented;
    }
    const std::shared_ptr<Composition::SwapChain>& Inner() const { return inner_; }

  private:
    std::shared_ptr<State> state_;
    std::shared_ptr<Composition::SwapChain> inner_;
};

class StandInVisual : public Composition::Visual {
  public:
    explicit StandInVisual(std::shared_ptr<Composition::Visual> inner) : inner_(std::move(inner)) {}
    HRESULT SetOffsetX(float x) override { return inner_->SetOffsetX(x); }
    HRESULT SetOffsetY(float y) override { return inner_->SetOffsetY(y); }
    HRESULT AddVisual(const std::shared_ptr<Visual>& child) override {
        return inner_->AddVisual(Unwrapped(child));
    }
    HRESULT RemoveVisual(const std::shared_ptr<Visual>& child) override {
        return inner_->RemoveVisual(Unwrapped(child));
    }
    HRESULT SetContent(const std::shared_ptr<Composition::Surface>& surface) override {
        auto own = std::dynamic_pointer_cast<StandInSurface>(surface);
        return inner_->SetContent(own ? own->Inner() : surface);
    }
    HRESULT SetContent(const std::shared_ptr<Composition::SwapChain>& swapChain) override {
        auto own = std::dynamic_pointer_cast<StandInSwapChain>(swapChain);
        return inner_->SetContent(own ? own->Inner() : swapChain);
    }
    HRESULT SetEffect(const std::shared_ptr<Composition::EffectGroup>& effect) override {
        return inner_->SetEffect(effect);
    }
    HRESULT SetClip(const std::shared_ptr<Composition::RectangleClip>& clip) override {
        return inner_->SetClip(clip);
    }
    static std::shared_ptr<Visual> Unwrapped(const std::shared_ptr<Visual>& visual) {
        auto own = std::dynamic_pointer_cast<StandInVisual>(visual);
        return own ? own->inner_ : visual;
    }

  private:
    std::shared_ptr<Composition::Visual> inner_;
};

class StandInTarget : public Composition::Target {
  public:
    explicit StandInTarget(std::shared_ptr<Composition::Target> inner) : inner_(std::move(inner)) {}
    HRESULT SetRoot(const std::shared_ptr<Composition::Visual>& root) override {
        return inner_->SetRoot(StandInVisual::Unwrapped(root));
    }

  private:
    std::shared_ptr<Composition::Target> inner_;
};

class StandInDevice : public Composition::Device {
  public:
    StandInDevice(std::shared_ptr<State> state, std::unique_ptr<Composition::Device> inner)
        : state_(std::move(state)), inner_(std::move(inner)) {}

    Composition::Device* Inner() const { return inner_.get(); }

    bool IsSoftware() const override { return !state_->plan.asDirectComposition; }
    HRESULT CreateTargetForHwnd(HWND window, bool topmost,
                                std::shared_ptr<Composition::Target>* target) override {
        {
            std::lock_guard<std::mutex> lock(state_->mutex);
            state_->counts.targetWindows.push_back(window);
            state_->counts.targetExStyles.push_back(GetWindowLongPtrW(window, GWL_EXSTYLE));
        }
        HRESULT hr = state_->Answer(Step::CreateTarget);
        std::shared_ptr<Composition::Target> inner;
        if (SUCCEEDED(hr))
            hr = inner_->CreateTargetForHwnd(window, topmost, &inner);
        if (SUCCEEDED(hr))
            *target = std::make_shared<StandInTarget>(std::move(inner));
        return hr;
    }
    HRESULT CreateVisual(std::shared_ptr<Composition::Visual>* visual) override {
        HRESULT hr = state_->Answer(Step::CreateVisual);
        std::shared_ptr<Composition::Visual> inner;
        if (SUCCEEDED(hr))
            hr = inner_->CreateVisual(&inner);
        if (SUCCEEDED(hr))
            *visual = std::make_shared<StandInVisual>(std::move(inner));
        return hr;
    }
    HRESULT CreateVirtualSurface(UINT width, UINT height,
                                 std::shared_ptr<Composition::Surface>* surface) override {
        HRESULT hr = state_->Answer(Step::CreateSurface);
        std::shared_ptr<Composition::Surface> inner;
        if (SUCCEEDED(hr))
            hr = inner_->CreateVirtualSurface(width, height, &inner);
        if (SUCCEEDED(hr))
            *surface = std::make_shared<StandInSurface>(state_, std::move(inner));
        return hr;
    }
    HRESULT CreateSwapChain(UINT width, UINT height,
                            std::shared_ptr<Composition::SwapChain>* swapChain) override {
        HRESULT hr = state_->Answer(Step::CreateSwapChain);
        std::shared_ptr<Composition::SwapChain> inner;
        if (SUCCEEDED(hr))
            hr = inner_->CreateSwapChain(width, height, &inner);
        if (SUCCEEDED(hr))
            *swapChain = std::make_shared<StandInSwapChain>(state_, std::move(inner));
        return hr;
    }
    HRESULT CreateEffectGroup(std::shared_ptr<Composition::EffectGroup>* effect) override {
        return inner_->CreateEffectGroup(effect);
    }
    HRESULT CreateRectangleClip(std::shared_ptr<Composition::RectangleClip>* clip) override {
        return inner_->CreateRectangleClip(clip);
    }
    HRESULT Commit() override {
        const HRESULT committed = inner_->Commit();
        const HRESULT hr = state_->Answer(Step::Commit);
        return FAILED(hr) ? hr : committed;
    }

  private:
    std::shared_ptr<State> state_;
    std::unique_ptr<Composition::Device> inner_;
};

} // namespace

StandInBackend::StandInBackend(const StandInPlan& plan) : state_(std::make_shared<State>()) {
    state_->plan = plan;
    CompositionSeams& seams = CompositionBackendSeams();
    const CompositionSeams real = RealCompositionSeams();
    auto standIn = [state = state_, real](const std::shared_ptr<CGraphicsDevices>& devices,
                                          std::unique_ptr<Composition::Device>* device) {
        {
            std::lock_guard<std::mutex> lock(state->mutex);
            ++state->counts.devicesMade;
            state->counts.sets.push_back(devices);
        }
        // As DirectComposition's host, on the Direct3D devices: its pages are drawn with the
        // Direct2D device's (multithreaded) factory.
        if (state->plan.asDirectComposition && devices)
            devices->Direct3D();
        HRESULT hr = state->Answer(Step::CreateDevice);
        std::unique_ptr<Composition::Device> inner;
        if (SUCCEEDED(hr))
            hr = real.createSoftwareDevice(devices, &inner);
        if (SUCCEEDED(hr))
            *device = std::make_unique<StandInDevice>(state, std::move(inner));
        return hr;
    };
    if (plan.asDirectComposition) {
        seams.directCompositionAvailable = [] { return true; };
        seams.createDirectCompositionDevice = standIn;
    } else {
        seams.createSoftwareDevice = standIn;
    }
    ForgetBackendChoice();
}

StandInBackend::~StandInBackend() {
    CompositionBackendSeams() = RealCompositionSeams();
    ForgetBackendChoice();
}

StandInBackend::Counts StandInBackend::Seen() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->counts;
}

std::shared_ptr<Composition::SoftwareSwapChain>
SoftwareSwapChainBehind(const std::shared_ptr<Composition::SwapChain>& swapChain) {
    auto standIn = std::dynamic_pointer_cast<StandInSwapChain>(swapChain);
    return std::dynamic_pointer_cast<Composition::SoftwareSwapChain>(standIn ? standIn->Inner()
                                                                             : swapChain);
}

Composition::SoftwareDevice* SoftwareDeviceBehind(Composition::Device* device) {
    if (auto* standIn = dynamic_cast<StandInDevice*>(device))
        device = standIn->Inner();
    return dynamic_cast<Composition::SoftwareDevice*>(device);
}

} // namespace CompositionTest
