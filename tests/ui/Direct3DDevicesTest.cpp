// The Direct3D devices DirectComposition draws with, made through the real entry points under
// Wine, with D3D11CreateDevice answering as a runtime without Direct3D 11.1 does (Windows 7
// SP1 without its Platform Update): E_INVALIDARG to any feature-level list that holds 11_1.
// The devices are made all the same, on hardware or, without it, on WARP.
#include "Direct3DDevices.h"
#include "GraphicsEntryPoints.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

struct Call {
    D3D_DRIVER_TYPE driver;
    bool with11_1;
    HRESULT answer;
};
std::vector<Call> g_calls;
bool g_noHardware = false;

HRESULT RuntimeWithout11_1(D3D_DRIVER_TYPE driver, UINT flags, const D3D_FEATURE_LEVEL* levels,
                           UINT count, ID3D11Device** device) {
    const bool with11_1 = std::count(levels, levels + count, D3D_FEATURE_LEVEL_11_1) > 0;
    HRESULT hr = E_INVALIDARG;
    if (!with11_1)
        hr = g_noHardware && driver == D3D_DRIVER_TYPE_HARDWARE
                 ? DXGI_ERROR_UNSUPPORTED
                 : Graphics::System::CreateD3D11Device(driver, flags, levels, count, device);
    g_calls.push_back({driver, with11_1, hr});
    return hr;
}

struct RuntimeCase {
    const char* name;
    bool noHardware;
    std::vector<std::pair<D3D_DRIVER_TYPE, bool>> expectedCalls; // driver, with 11_1
};
void PrintTo(const RuntimeCase& c, std::ostream* out) {
    *out << c.name;
}

class WithoutDirect3D11_1 : public ::testing::TestWithParam<RuntimeCase> {
  protected:
    void SetUp() override {
        saved_ = Graphics::Seams();
        Graphics::Seams().createD3D11Device = &RuntimeWithout11_1;
        g_calls.clear();
    }
    void TearDown() override { Graphics::Seams() = saved_; }

  private:
    Graphics::EntryPointSeams saved_;
};

TEST_P(WithoutDirect3D11_1, AsksAgainWithoutThatLevel) {
    const RuntimeCase& c = GetParam();
    g_noHardware = c.noHardware;
    const std::unique_ptr<CDirect3DDevices> devices = CDirect3DDevices::Create();
    ASSERT_EQ(g_calls.size(), c.expectedCalls.size());
    for (size_t i = 0; i < g_calls.size(); ++i) {
        EXPECT_EQ(g_calls[i].driver, c.expectedCalls[i].first) << "call " << i;
        EXPECT_EQ(g_calls[i].with11_1, c.expectedCalls[i].second) << "call " << i;
    }
    const bool made = SUCCEEDED(g_calls.back().answer);
    ASSERT_EQ(devices != nullptr, made);
    if (!made)
        GTEST_SKIP() << "this Wine makes no WARP device (0x" << std::hex << g_calls.back().answer
                     << ")";
    EXPECT_LE(devices->D3DDevice()->GetFeatureLevel(), D3D_FEATURE_LEVEL_11_0);
    EXPECT_NE(devices->DXGIFactory(), nullptr);
    EXPECT_NE(devices->D2DDevice(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Runtimes, WithoutDirect3D11_1,
                         ::testing::Values(RuntimeCase{"Hardware",
                                                       false,
                                                       {{D3D_DRIVER_TYPE_HARDWARE, true},
                                                        {D3D_DRIVER_TYPE_HARDWARE, false}}},
                                           RuntimeCase{"WarpOnly",
                                                       true,
                                                       {{D3D_DRIVER_TYPE_HARDWARE, true},
                                                        {D3D_DRIVER_TYPE_HARDWARE, false},
                                                        {D3D_DRIVER_TYPE_WARP, true},
                                                        {D3D_DRIVER_TYPE_WARP, false}}}),
                         [](const ::testing::TestParamInfo<RuntimeCase>& info) {
                             return info.param.name;
                         });

} // namespace
