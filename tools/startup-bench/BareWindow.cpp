// The yardstick of the start-up benchmark: the least a Direct3D 11 plus Direct2D window program
// does to show one frame. It loads its DLLs at run time from the system folder as the
// uninstaller does, opens a borderless window of the uninstaller's size centred on the screen,
// clears it once to the uninstaller's page colour through a swap chain, presents, and ends
// after LINGER_MS (so the frame can be seen).
//
//   bare_window [LINGER_MS]
#include "SystemLibrary.h"

#include <windows.h>
#include <d2d1_1.h>
#include <d3d11.h>
#include <dxgi1_2.h>
#include <wrl/client.h>

#include <cstdio>
#include <cwchar>

using Microsoft::WRL::ComPtr;

namespace {

constexpr int kWidth = 732;
constexpr int kHeight = 432;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

int Fail(const char* what, HRESULT hr) {
    std::fprintf(stderr, "bare_window: %s failed (0x%08lx)\n", what,
                 static_cast<unsigned long>(hr));
    return 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    RestrictDllSearchToSystemFolder();
    const DWORD lingerMs = argc > 1 ? std::wcstoul(argv[1], nullptr, 10) : 1500;

    using CreateDevice = decltype(&D3D11CreateDevice);
    using CreateFactory =
        HRESULT(WINAPI*)(D2D1_FACTORY_TYPE, REFIID, const D2D1_FACTORY_OPTIONS*, void**);
    const auto createDevice = SystemProc<CreateDevice>(L"d3d11.dll", "D3D11CreateDevice");
    const auto createFactory = SystemProc<CreateFactory>(L"d2d1.dll", "D2D1CreateFactory");
    if (!createDevice || !createFactory)
        return Fail("loading d3d11 and d2d1", E_NOINTERFACE);

    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = L"CorvaneBareWindow";
    RegisterClassW(&windowClass);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"bare", WS_POPUP, x, y, kWidth,
                                  kHeight, nullptr, nullptr, instance, nullptr);
    if (!window)
        return Fail("CreateWindowExW", HRESULT_FROM_WIN32(GetLastError()));

    ComPtr<ID3D11Device> device;
    HRESULT hr =
        createDevice(nullptr, D3D_DRIVER_TYPE_HARDWARE, nullptr, D3D11_CREATE_DEVICE_BGRA_SUPPORT,
                     nullptr, 0, D3D11_SDK_VERSION, &device, nullptr, nullptr);
    if (FAILED(hr))
        hr = createDevice(nullptr, D3D_DRIVER_TYPE_WARP, nullptr, D3D11_CREATE_DEVICE_BGRA_SUPPORT,
                          nullptr, 0, D3D11_SDK_VERSION, &device, nullptr, nullptr);
    if (FAILED(hr))
        return Fail("D3D11CreateDevice", hr);
    ComPtr<IDXGIDevice> dxgiDevice;
    ComPtr<IDXGIAdapter> adapter;
    ComPtr<IDXGIFactory2> dxgiFactory;
    device.As(&dxgiDevice);
    dxgiDevice->GetAdapter(&adapter);
    hr = adapter->GetParent(IID_PPV_ARGS(&dxgiFactory));
    if (FAILED(hr))
        return Fail("IDXGIFactory2", hr);

    DXGI_SWAP_CHAIN_DESC1 description = {};
    description.Width = kWidth;
    description.Height = kHeight;
    description.Format = DXGI_FORMAT_B8G8R8A8_UNORM;
    description.SampleDesc.Count = 1;
    description.BufferUsage = DXGI_USAGE_RENDER_TARGET_OUTPUT;
    description.BufferCount = 2;
    description.SwapEffect = DXGI_SWAP_EFFECT_DISCARD;
    ComPtr<IDXGISwapChain1> swapChain;
    hr = dxgiFactory->CreateSwapChainForHwnd(device.Get(), window, &description, nullptr, nullptr,
                                             &swapChain);
    if (FAILED(hr))
        return Fail("CreateSwapChainForHwnd", hr);

    ComPtr<ID2D1Factory1> factory;
    hr = createFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory1), nullptr,
                       reinterpret_cast<void**>(factory.GetAddressOf()));
    if (FAILED(hr))
        return Fail("D2D1CreateFactory", hr);
    ComPtr<ID2D1Device> d2dDevice;
    ComPtr<ID2D1DeviceContext> context;
    if (FAILED(hr = factory->CreateDevice(dxgiDevice.Get(), &d2dDevice)) ||
        FAILED(hr = d2dDevice->CreateDeviceContext(D2D1_DEVICE_CONTEXT_OPTIONS_NONE, &context)))
        return Fail("the Direct2D device", hr);
    ComPtr<IDXGISurface> backBuffer;
    swapChain->GetBuffer(0, IID_PPV_ARGS(&backBuffer));
    const D2D1_BITMAP_PROPERTIES1 properties = D2D1::BitmapProperties1(
        D2D1_BITMAP_OPTIONS_TARGET | D2D1_BITMAP_OPTIONS_CANNOT_DRAW,
        D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_IGNORE));
    ComPtr<ID2D1Bitmap1> target;
    if (FAILED(hr = context->CreateBitmapFromDxgiSurface(backBuffer.Get(), &properties, &target)))
        return Fail("CreateBitmapFromDxgiSurface", hr);
    context->SetTarget(target.Get());

    ShowWindow(window, SW_SHOWNOACTIVATE);
    context->BeginDraw();
    context->Clear(D2D1::ColorF(47 / 255.f, 49 / 255.f, 49 / 255.f));
    if (FAILED(hr = context->EndDraw()))
        return Fail("EndDraw", hr);
    if (FAILED(hr = swapChain->Present(1, 0)))
        return Fail("Present", hr);

    SetTimer(window, 1, lingerMs, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER) {
            DestroyWindow(window);
            continue;
        }
        DispatchMessageW(&message);
    }
    return 0;
}
