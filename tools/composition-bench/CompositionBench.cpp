// Software compositor benchmark, in one run:
//  - composing and showing one frame (a commit) of a window of 732 x 432 (and 1098 x 648, the
//    same window at 150 %) with its shadowed frame and ten objects, beside a bare
//    UpdateLayeredWindow of a prepared bitmap of the same size; the two are measured in turns
//    and the medians and their ratio printed;
//  - a swap chain's Present loop of 300 frames on a second thread while the UI thread handles
//    its messages: frames per second.
//
//   composition_bench [ROUNDS]
#include "CompositionBackend.h"
#include "FrameShadow.h"
#include "GraphicsDevices.h"
#include "svg/gdiplus/GDIPlusApi.h"
#include "ui/composition/Composition.h"
#include "ui/composition/SoftwareDevice.h"
#include "win/SystemLibrary.h"

#include <wrl/client.h>

#include <process.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <vector>

using Microsoft::WRL::ComPtr;

namespace {

double Now() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / frequency.QuadPart;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

HWND CreatePopup(int x, int y, int width, int height) {
    static const ATOM atom = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"CorvaneCompositionBench";
        return RegisterClassExW(&wc);
    }();
    (void)atom;
    HWND window =
        CreateWindowExW(WS_EX_TOOLWINDOW, L"CorvaneCompositionBench", L"", WS_POPUP, x, y, width,
                        height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    return window;
}

// The graphics objects a window's host shares with the others: the software compositor needs
// no Direct3D device.
using Devices = std::shared_ptr<CGraphicsDevices>;

// Clears a surface to a colour and draws a lighter bar across it, as a picture would.
void Paint(Composition::Surface& surface, std::uint32_t rgb, float alpha) {
    ComPtr<ID2D1RenderTarget> context;
    POINT offset{};
    if (FAILED(surface.BeginDraw(&context, &offset)))
        return;
    context->Clear(D2D1::ColorF(rgb, alpha));
    ComPtr<ID2D1SolidColorBrush> brush;
    context->CreateSolidColorBrush(D2D1::ColorF(0xFFFFFF, 0.5f), &brush);
    const D2D1_SIZE_F size = context->GetSize();
    context->FillRectangle(D2D1::RectF(offset.x + 2.0f, offset.y + size.height / 3,
                                       offset.x + size.width - 2.0f, offset.y + size.height / 2),
                           brush.Get());
    surface.EndDraw();
}

struct Scene {
    std::unique_ptr<Composition::Device> device;
    std::shared_ptr<Composition::Target> target;
    std::shared_ptr<Composition::Visual> root;
    std::vector<std::shared_ptr<Composition::Visual>> visuals;
    std::vector<std::shared_ptr<Composition::Surface>> surfaces;
    std::vector<std::shared_ptr<Composition::EffectGroup>> effects;

    // A window's tree at the given scale (percent): the frame and its shadow, and ten objects
    // laid out as the main window's.
    bool Build(const Devices& devices, HWND window, int percent) {
        auto s = [percent](int v) { return MulDiv(v, percent, 100); };
        if (FAILED(Composition::CreateSoftwareDevice(CompositionEntryPoints(devices), &device)) ||
            FAILED(device->CreateTargetForHwnd(window, true, &target)) ||
            FAILED(device->CreateVisual(&root)))
            return false;
        RECT client{};
        GetClientRect(window, &client);
        std::shared_ptr<Composition::Surface> frame;
        device->CreateVirtualSurface(client.right, client.bottom, &frame);
        ComPtr<ID2D1RenderTarget> context;
        POINT offset{};
        if (FAILED(frame->BeginDraw(&context, &offset)))
            return false;
        context->Clear(D2D1::ColorF(0, 0.0f));
        const ShadowStyle style = FrameShadowStyle(true);
        const RECT shape{s(16) - s(1), s(16) - s(1), client.right - s(16) + s(6),
                         client.bottom - s(16) + s(6)};
        DrawFrameShadow(context.Get(), FilledSilhouette(client.right, client.bottom, shape), style,
                        D2D1::Point2F(0, 0));
        frame->EndDraw();
        root->SetContent(frame);
        target->SetRoot(root);

        struct Object {
            int x, y, w, h;
            std::uint32_t rgb;
            float alpha, opacity;
        };
        const Object objects[] = {
            {16, 16, 700, 400, 0x2F3131, 1.0f, 1.0f},  // background
            {40, 40, 120, 36, 0x00D766, 1.0f, 1.0f},   // logo
            {636, 24, 24, 24, 0xC8C8C8, 0.8f, 1.0f},   // minimise
            {668, 24, 24, 24, 0xC8C8C8, 0.8f, 1.0f},   // close
            {250, 300, 232, 56, 0x00D766, 1.0f, 1.0f}, // uninstall button
            {250, 370, 232, 20, 0x19CC6E, 1.0f, 0.8f}, // caption
            {60, 120, 612, 150, 0x3A3D3D, 0.9f, 1.0f}, // card
            {80, 140, 200, 110, 0xF0F0F0, 1.0f, 1.0f}, // picture
            {300, 140, 350, 24, 0xFFFFFF, 1.0f, 0.7f}, // title
            {300, 180, 350, 60, 0xFFFFFF, 1.0f, 0.5f}, // message
        };
        for (const Object& o : objects) {
            std::shared_ptr<Composition::Visual> visual;
            std::shared_ptr<Composition::Surface> surface;
            std::shared_ptr<Composition::EffectGroup> effect;
            device->CreateVisual(&visual);
            device->CreateVirtualSurface(s(o.w), s(o.h), &surface);
            Paint(*surface, o.rgb, o.alpha);
            visual->SetOffsetX(static_cast<float>(s(o.x)));
            visual->SetOffsetY(static_cast<float>(s(o.y)));
            visual->SetContent(surface);
            device->CreateEffectGroup(&effect);
            effect->SetOpacity(o.opacity);
            visual->SetEffect(effect);
            root->AddVisual(visual);
            visuals.push_back(visual);
            surfaces.push_back(surface);
            effects.push_back(effect);
        }
        // The picture has rounded corners.
        std::shared_ptr<Composition::RectangleClip> clip;
        device->CreateRectangleClip(&clip);
        clip->SetEdges(0, 0, static_cast<float>(s(200)), static_cast<float>(s(110)));
        const float r = static_cast<float>(s(8));
        const float radii[8] = {r, r, r, r, r, r, r, r};
        clip->SetRadii(radii);
        visuals[7]->SetClip(clip);
        return SUCCEEDED(device->Commit());
    }
};

// A layered window shown by UpdateLayeredWindow from a bitmap prepared once.
struct BareLayeredWindow {
    HWND window = nullptr;
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    SIZE size{};

    bool Create(const Composition::Pixels& picture, int x, int y) {
        window = CreatePopup(x, y, picture.width, picture.height);
        SetWindowLongPtrW(window, GWL_EXSTYLE,
                          GetWindowLongPtrW(window, GWL_EXSTYLE) | WS_EX_LAYERED);
        dc = CreateCompatibleDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = picture.width;
        info.bmiHeader.biHeight = -picture.height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!bitmap)
            return false;
        memcpy(bits, picture.data.data(), picture.data.size() * 4);
        SelectObject(dc, bitmap);
        size = SIZE{picture.width, picture.height};
        return Show();
    }
    bool Show() {
        POINT source{0, 0};
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        return UpdateLayeredWindow(window, nullptr, nullptr, &size, dc, &source, 0, &blend,
                                   ULW_ALPHA) != FALSE;
    }
    ~BareLayeredWindow() {
        if (dc)
            DeleteDC(dc);
        if (bitmap)
            DeleteObject(bitmap);
        if (window)
            DestroyWindow(window);
    }
};

bool BenchCommit(const Devices& devices, int percent, int rounds) {
    const int width = MulDiv(732, percent, 100);
    const int height = MulDiv(432, percent, 100);
    HWND window = CreatePopup(20, 20, width, height);
    Scene scene;
    if (!scene.Build(devices, window, percent)) {
        std::printf("composition: could not build the %d %% scene\n", percent);
        DestroyWindow(window);
        return false;
    }
    Composition::Pixels frame;
    static_cast<Composition::SoftwareDevice*>(scene.device.get())->ReadLastFrame(window, &frame);
    BareLayeredWindow bare;
    if (!bare.Create(frame, 40 + width, 20)) {
        std::printf("composition: the bare layered window failed\n");
        DestroyWindow(window);
        return false;
    }
    Pump();
    std::vector<double> commits, bares;
    for (int i = 0; i < rounds; ++i) {
        // A change each round, as after a button's state: one visual moves by a pixel.
        scene.visuals[2]->SetOffsetX(static_cast<float>(MulDiv(636, percent, 100) + (i & 1)));
        double start = Now();
        scene.device->Commit();
        commits.push_back(Now() - start);
        start = Now();
        bare.Show();
        bares.push_back(Now() - start);
        Pump();
    }
    const double commit = Median(commits) * 1000;
    const double plain = Median(bares) * 1000;
    std::printf("composition %4d x %3d (%d %%, 10 objects): commit %.3f ms, bare "
                "UpdateLayeredWindow %.3f ms, ratio %.2f (median of %d)\n",
                width, height, percent, commit, plain, commit / plain, rounds);
    scene = Scene();
    DestroyWindow(window);
    return true;
}

HRESULT CreateOwnFactory(ID2D1Factory** factory) {
    using Create = HRESULT(WINAPI*)(D2D1_FACTORY_TYPE, REFIID, const D2D1_FACTORY_OPTIONS*, void**);
    static const auto create = SystemProc<Create>(L"d2d1.dll", "D2D1CreateFactory");
    return create ? create(D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory), nullptr,
                           reinterpret_cast<void**>(factory))
                  : E_NOTIMPL;
}

struct PresentLoop {
    Composition::SwapChain* swapChain;
    int width, height, frames;
    bool draw = true; // false: presents the page as it is, which shows the pacing alone
    double seconds = 0;
    double createTime = 0, drawTime = 0, presentTime = 0;
    HRESULT result = S_OK;

    static unsigned __stdcall Run(void* self) {
        auto* loop = static_cast<PresentLoop*>(self);
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        loop->Loop();
        CoUninitialize();
        return 0;
    }
    void Loop() {
        ComPtr<ID2D1Factory> factory;
        result = CreateOwnFactory(&factory);
        const double start = Now();
        for (int i = 0; i < frames && SUCCEEDED(result); ++i) {
            if (!draw) {
                result = swapChain->Present();
                continue;
            }
            // A progress page's frame: background, track and a growing bar.
            ComPtr<ID2D1RenderTarget> target;
            const double t0 = Now();
            result = swapChain->CreateFrameTarget(factory.Get(), &target);
            createTime += Now() - t0;
            if (FAILED(result))
                break;
            ComPtr<ID2D1SolidColorBrush> track, bar;
            target->CreateSolidColorBrush(D2D1::ColorF(0x3A3D3D), &track);
            target->CreateSolidColorBrush(D2D1::ColorF(0x00D766), &bar);
            target->BeginDraw();
            target->Clear(D2D1::ColorF(0x2F3131));
            const float left = width * 0.1f, right = width * 0.9f, top = height * 0.6f;
            target->FillRectangle(D2D1::RectF(left, top, right, top + 6), track.Get());
            target->FillRectangle(
                D2D1::RectF(left, top, left + (right - left) * (i + 1) / frames, top + 6),
                bar.Get());
            const double t1 = Now();
            result = target->EndDraw();
            drawTime += Now() - t1;
            const double t2 = Now();
            if (SUCCEEDED(result))
                result = swapChain->Present();
            presentTime += Now() - t2;
        }

        seconds = Now() - start;
    }
};

bool BenchPresent(const Devices& devices, int frames) {
    HWND window = CreatePopup(20, 20, 732, 432);
    Scene scene;
    if (!scene.Build(devices, window, 100)) {
        DestroyWindow(window);
        return false;
    }
    // The progress page: 390 x 160 at 150 %.
    const int width = 585, height = 240;
    std::shared_ptr<Composition::SwapChain> swapChain;
    std::shared_ptr<Composition::Visual> visual;
    scene.device->CreateSwapChain(width, height, &swapChain);
    scene.device->CreateVisual(&visual);
    visual->SetOffsetX(70);
    visual->SetOffsetY(96);
    visual->SetContent(swapChain);
    scene.root->AddVisual(visual);
    scene.device->Commit();

    bool ok = true;
    for (bool draw : {true, false}) {
        PresentLoop loop{swapChain.get(), width, height, frames, draw};
        HANDLE thread = reinterpret_cast<HANDLE>(
            _beginthreadex(nullptr, 0, &PresentLoop::Run, &loop, 0, nullptr));
        // The UI thread meanwhile handles its messages, as in a modal loop, bounded.
        const double deadline = Now() + 60;
        for (;;) {
            const DWORD waited = MsgWaitForMultipleObjects(1, &thread, FALSE, 100, QS_ALLINPUT);
            if (waited == WAIT_OBJECT_0 || Now() > deadline)
                break;
            Pump();
        }
        const bool ended = WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
        if (!ended)
            WaitForSingleObject(thread, 10000);
        CloseHandle(thread);
        Pump();
        if (!ended || FAILED(loop.result))
            std::printf("present loop: failed (0x%08lX)\n",
                        static_cast<unsigned long>(loop.result));
        else if (!draw)
            std::printf("present pace: %d presents of an unchanged page in %.3f s: %.1f frames per "
                        "second\n",
                        frames, loop.seconds, frames / loop.seconds);
        else
            std::printf(
                "present loop: %d frames of %d x %d drawn and presented in %.3f s: %.1f frames "
                "per second (per frame: target %.2f ms, drawing to EndDraw %.2f ms, Present "
                "%.2f ms besides its wait)\n",
                frames, width, height, loop.seconds, frames / loop.seconds,
                loop.createTime * 1000 / frames, loop.drawTime * 1000 / frames,
                loop.presentTime * 1000 / frames);
        ok = ok && ended && SUCCEEDED(loop.result);
    }
    scene = Scene();
    DestroyWindow(window);
    return ok;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    RestrictDllSearchToSystemFolder();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const int rounds = argc > 1 ? std::max(5, _wtoi(argv[1])) : 200;
    int failures = 0;
    {
        SVGEngine::GDIPlusSession gdiplus;
        const Devices devices = CGraphicsDevices::Shared();
        failures += !BenchCommit(devices, 100, rounds);
        failures += !BenchCommit(devices, 150, rounds);
        failures += !BenchPresent(devices, 300);
    }
    CoUninitialize();
    return failures ? 1 : 0;
}
