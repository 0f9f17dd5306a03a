#include "UiTestSupport.h"

#include "svg/gdiplus/GDIPlusApi.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace UiTest {
namespace {

class GDIPlusEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        session_ = std::make_unique<SVGEngine::GDIPlusSession>();
        ASSERT_TRUE(session_->Started());
    }
    void TearDown() override { session_.reset(); }

  private:
    std::unique_ptr<SVGEngine::GDIPlusSession> session_;
};

const auto* const gdiplusEnvironment = ::testing::AddGlobalTestEnvironment(new GDIPlusEnvironment);

const wchar_t kOwnerClass[] = L"CorvaneUiTestOwner";

ATOM RegisterOwnerClass() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kOwnerClass;
    return RegisterClassW(&windowClass);
}

int Channel(std::uint32_t argb, int shift) {
    return static_cast<int>((argb >> shift) & 0xFF);
}

} // namespace

OwnerWindow::OwnerWindow() {
    static const ATOM registered = RegisterOwnerClass();
    (void)registered;
    window_ = CreateWindowExW(0, kOwnerClass, L"owner", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    TakeCommands();
}

OwnerWindow::~OwnerWindow() {
    if (GetCapture() == window_)
        ReleaseCapture();
    DestroyWindow(window_);
}

std::vector<int> OwnerWindow::TakeCommands() {
    std::vector<int> ids;
    MSG message;
    while (PeekMessageW(&message, window_, WM_COMMAND, WM_COMMAND, PM_REMOVE)) {
        EXPECT_EQ(HIWORD(message.wParam), 0);
        EXPECT_EQ(message.lParam, 0);
        ids.push_back(LOWORD(message.wParam));
    }
    return ids;
}

std::uint32_t PixelAt(const SVGEngine::GDIPlusSVGBitmap& bitmap, int x, int y) {
    const auto pixels = bitmap.Lock();
    return pixels.Valid() ? pixels.Pixel(x, y) : 0xDEADBEEF;
}

bool SamePixels(const SVGEngine::GDIPlusSVGBitmap& a, const SVGEngine::GDIPlusSVGBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return false;
    const auto pa = a.Lock();
    const auto pb = b.Lock();
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < a.Width(); ++x) {
            if (pa.Pixel(x, y) != pb.Pixel(x, y))
                return false;
        }
    }
    return true;
}

int CountPixels(const SVGEngine::GDIPlusSVGBitmap& bitmap, std::uint32_t argb) {
    const auto pixels = bitmap.Lock();
    int count = 0;
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int x = 0; x < bitmap.Width(); ++x)
            count += pixels.Pixel(x, y) == argb;
    }
    return count;
}

bool FullyTransparent(const SVGEngine::GDIPlusSVGBitmap& bitmap) {
    return CountPixels(bitmap, 0) == bitmap.Width() * bitmap.Height();
}

bool Near(std::uint32_t actual, std::uint32_t expected, int tolerance) {
    for (int shift : {0, 8, 16, 24}) {
        if (std::abs(Channel(actual, shift) - Channel(expected, shift)) > tolerance)
            return false;
    }
    return true;
}

std::uint32_t Premultiplied(std::uint32_t rgb, int alpha) {
    const auto scaled = [&](int shift) {
        return static_cast<std::uint32_t>(Channel(rgb, shift) * alpha / 255) << shift;
    };
    return static_cast<std::uint32_t>(alpha) << 24 | scaled(16) | scaled(8) | scaled(0);
}

} // namespace UiTest
