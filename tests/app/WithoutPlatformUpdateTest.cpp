// The uninstaller's three windows on a Windows 7 SP1 without its Platform Update, which lacks
// D2D1CreateDevice and IDXGIFactory2 (and Direct2D 1.1 with them): with both refused, as that
// system refuses them, the main window and both dialogs show exactly the pixels of a normal
// run. Neither run makes a Direct3D device: the software compositor draws without one.
#include "ThreeWindows.h"

#include "GraphicsEntryPoints.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

using namespace AppTest;
using namespace TestSupport;

std::atomic<int> g_direct3DDevices{0};

HRESULT CountedD3D11CreateDevice(D3D_DRIVER_TYPE driver, UINT flags,
                                 const D3D_FEATURE_LEVEL* levels, UINT count,
                                 ID3D11Device** device) {
    ++g_direct3DDevices;
    return Graphics::System::CreateD3D11Device(driver, flags, levels, count, device);
}

HRESULT MissingD2D1CreateDevice(IDXGIDevice*, ID2D1Device**) {
    return HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
}

HRESULT NoDXGIFactory2(IDXGIAdapter*, IDXGIFactory2** factory) {
    *factory = nullptr;
    return E_NOINTERFACE;
}

TEST(WithoutPlatformUpdate, TheThreeWindowsLookAsInANormalRun) {
    Graphics::EntryPointSeams& seams = Graphics::Seams();
    const Graphics::EntryPointSeams saved = seams;
    seams.createD3D11Device = &CountedD3D11CreateDevice;
    const WindowsShown normal = ShowAllThree();
    EXPECT_EQ(g_direct3DDevices, 0) << "the software compositor made a Direct3D device";

    seams.createD2DDevice = &MissingD2D1CreateDevice;
    seams.queryDXGIFactory2 = &NoDXGIFactory2;
    const WindowsShown without = ShowAllThree();
    seams = saved;
    EXPECT_EQ(g_direct3DDevices, 0);

    ExpectSameFrame(normal.main.frame, without.main.frame, "main window");
    ExpectSameFrame(normal.question.frame, without.question.frame, "question");
    ExpectSameFrame(normal.progress.frame, without.progress.frame, "progress window at its end");
    ASSERT_TRUE(normal.progressFirst && normal.progressLast && without.progressFirst &&
                without.progressLast);
    ExpectSameFrame(*normal.progressFirst, *without.progressFirst, "progress page before the bar");
    ExpectSameFrame(*normal.progressLast, *without.progressLast, "progress page with the bar full");
}

} // namespace
