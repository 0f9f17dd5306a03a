#include "CompositionTestSupport.h"

#include "ui/composition/SoftwareDevice.h"
#include "svg/gdiplus/GDIPlusApi.h"

#include <wrl/client.h>

#include <cmath>
#include <cstdio>
#include <string>

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
    PumpMessages(50);
    // From here on the window passes its size changes and paints to the host.
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(host_.get()));
}

HostWindow::~HostWindow() {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
    host_.reset();
    PumpMessages(20);
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

void PumpMessages(DWORD milliseconds) {
    PumpUntil([] { return false; }, milliseconds);
}

bool PumpUntil(const std::function<bool()>& condition, DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (condition())
            return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= end)
            return false;
        MsgWaitForMultipleObjects(
            0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(end - now, 10)), QS_ALLINPUT);
    }
}

bool WaitPumping(HANDLE thread, DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        if (now >= end)
            return false;
        const DWORD result = MsgWaitForMultipleObjects(1, &thread, FALSE,
                                                       static_cast<DWORD>(end - now), QS_ALLINPUT);
        if (result == WAIT_OBJECT_0)
            return true;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
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

std::uint32_t Premultiplied(std::uint32_t rgb, float alpha) {
    auto channel = [&](int shift) {
        return static_cast<std::uint32_t>(std::lround(((rgb >> shift) & 0xFF) * alpha)) << shift;
    };
    return (static_cast<std::uint32_t>(std::lround(alpha * 255)) << 24) | channel(16) | channel(8) |
           channel(0);
}

std::uint32_t Over(std::uint32_t s, std::uint32_t d) {
    const double inverse = 1.0 - (s >> 24) / 255.0;
    std::uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const double value = ((s >> shift) & 0xFF) + ((d >> shift) & 0xFF) * inverse;
        result |= static_cast<std::uint32_t>(std::lround(std::min(255.0, value))) << shift;
    }
    return result;
}

int Channel(std::uint32_t pixel, int shift) {
    return static_cast<int>((pixel >> shift) & 0xFF);
}

bool Near(std::uint32_t actual, std::uint32_t expected, int tolerance) {
    for (int shift = 0; shift < 32; shift += 8) {
        if (std::abs(Channel(actual, shift) - Channel(expected, shift)) > tolerance)
            return false;
    }
    return true;
}

std::string Hex(std::uint32_t pixel) {
    char text[16];
    std::snprintf(text, sizeof(text), "%08X", pixel);
    return text;
}

Composition::Pixels LoadPicture(const wchar_t* path) {
    using namespace SVGEngine;
    GpBitmap* bitmap = nullptr;
    if (GdipCreateBitmapFromFile(path, &bitmap) != Ok)
        return {};
    const UniqueImage owned(bitmap);
    UINT width = 0, height = 0;
    GdipGetImageWidth(bitmap, &width);
    GdipGetImageHeight(bitmap, &height);
    Composition::Pixels pixels(static_cast<int>(width), static_cast<int>(height));
    BitmapData data{};
    data.Width = width;
    data.Height = height;
    data.Stride = static_cast<INT>(width * 4);
    data.PixelFormat = PixelFormat32bppPARGB;
    data.Scan0 = pixels.data.data();
    const GpRect all{0, 0, static_cast<INT>(width), static_cast<INT>(height)};
    if (GdipBitmapLockBits(bitmap, &all, ImageLockModeRead | ImageLockModeUserInputBuf,
                           PixelFormat32bppPARGB, &data) != Ok)
        return {};
    GdipBitmapUnlockBits(bitmap, &data);
    return pixels;
}

bool SavePng(const Composition::Pixels& pixels, const wchar_t* path) {
    using namespace SVGEngine;
    GpBitmap* bitmap = nullptr;
    if (GdipCreateBitmapFromScan0(
            pixels.width, pixels.height, pixels.width * 4, PixelFormat32bppPARGB,
            reinterpret_cast<BYTE*>(const_cast<std::uint32_t*>(pixels.data.data())), &bitmap) != Ok)
        return false;
    const UniqueImage owned(bitmap);
    // The PNG encoder's class id.
    const CLSID png{0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    return GdipSaveImageToFile(bitmap, path, &png, nullptr) == Ok;
}

} // namespace CompositionTest
