#include "CompositionTestSupport.h"

#include "Wait.h"

#include "ui/composition/SoftwareDevice.h"

#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

namespace CompositionTest {

namespace {

constexpr wchar_t kWindowClass[] = L"CorvaneCompositionTestWindow";

void RegisterWindowClass(WNDPROC proc) {
    static const ATOM atom = [proc] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kWindowClass;
        return RegisterClassExW(&wc);
    }();
    (void)atom;
}

} // namespace

LRESULT CALLBACK HostWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* host = reinterpret_cast<CDCompUtil*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_SIZE:
        if (host)
            host->OnSize(wParam, lParam);
        return 0;
    case WM_PAINT:
        if (host) {
            host->CreateDevices();
            ValidateRect(window, nullptr);
            host->Commit();
            return 0;
        }
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HostWindow::HostWindow(int x, int y, int width, int height, bool active)
    : host_(std::make_unique<CountingHost>()) {
    RegisterWindowClass(&HostWindow::WindowProc);
    window_ = CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, L"Composition test", WS_POPUP, x, y,
                              width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    dpi_.Init();
    host_->m_hWnd = window_;
    host_->m_dpi = &dpi_;
    host_->m_active = active ? 1 : 0;
    host_->CreateDevices();
    host_->Commit();
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    TestSupport::PumpFor(50);
    // From here on the window passes its size changes and paints to the host.
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(host_.get()));
}

HostWindow::~HostWindow() {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
    host_.reset();
    TestSupport::PumpFor(20);
}

Composition::Pixels HostWindow::CommitAndRead() {
    host_->Commit();
    return Read();
}

Composition::Pixels HostWindow::Read() {
    Composition::Pixels frame;
    if (auto* device = dynamic_cast<Composition::SoftwareDevice*>(host_->CompositionDevice()))
        device->ReadLastFrame(window_, &frame);
    return frame;
}

HRESULT FillSurface(Composition::Surface& surface, std::uint32_t rgb, float alpha) {
    ComPtr<ID2D1RenderTarget> context;
    POINT offset{};
    const HRESULT hr = surface.BeginDraw(&context, &offset);
    if (FAILED(hr))
        return hr;
    context->Clear(D2D1::ColorF(rgb, alpha));
    return surface.EndDraw();
}

TestVisual AddFilledVisual(Composition::Device& device, Composition::Visual& parent, int x, int y,
                           int width, int height, std::uint32_t rgb, float alpha, float opacity) {
    TestVisual v;
    device.CreateVisual(&v.visual);
    device.CreateVirtualSurface(width, height, &v.surface);
    FillSurface(*v.surface, rgb, alpha);
    v.visual->SetOffsetX(static_cast<float>(x));
    v.visual->SetOffsetY(static_cast<float>(y));
    v.visual->SetContent(v.surface);
    device.CreateEffectGroup(&v.effect);
    v.effect->SetOpacity(opacity);
    v.visual->SetEffect(v.effect);
    parent.AddVisual(v.visual);
    return v;
}

} // namespace CompositionTest
