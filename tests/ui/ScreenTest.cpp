// What the screen shows: the layered window on the sandbox's display, captured by the test's
// driver script (tests/ui/run_screen_test.sh), matches the composed frame blended over the
// display's known grey, alpha included. Skipped when not run by that script.
#include "Colours.h"
#include "CompositionTestSupport.h"
#include "Files.h"
#include "Pictures.h"
#include "Wait.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using namespace CompositionTest;
using namespace TestSupport;

namespace {

std::wstring Environment(const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(value, length) : std::wstring();
}

TEST(Screen, ShowsTheComposedFrameOverTheDisplay) {
    const std::wstring folder = Environment(L"CORVANE_SCREEN_DIR");
    const std::wstring greyText = Environment(L"SANDBOX_ROOT_GREY");
    if (folder.empty() || greyText.empty())
        GTEST_SKIP() << "run by tests/ui/run_screen_test.sh, which takes the screenshot";
    const std::uint32_t grey = 0xFF000000u | std::wcstoul(greyText.c_str(), nullptr, 16);

    // The dialog's look in small: a card, a half-transparent object reaching into the shadow
    // margin, a rounded picture, and the active window's shadow around them.
    HostWindow window(180, 140, 732, 432, true);
    Composition::Device& device = window.Device();
    Composition::Visual& root = *window.Host().RootVisual();
    TestVisual card = AddFilledVisual(device, root, 16, 16, 700, 400, 0x2F3131);
    TestVisual faded = AddFilledVisual(device, root, 600, 300, 180, 180, 0x19CC6E, 1.0f, 0.5f);
    TestVisual rounded = AddFilledVisual(device, *card.visual, 40, 40, 200, 120, 0xF0F0F0);
    std::shared_ptr<Composition::RectangleClip> clip;
    device.CreateRectangleClip(&clip);
    clip->SetEdges(0, 0, 200, 120);
    const float radii[8] = {24, 24, 24, 24, 24, 24, 24, 24};
    clip->SetRadii(radii);
    rounded.visual->SetClip(clip);
    const Composition::Pixels frame = window.CommitAndRead();
    ASSERT_EQ(frame.width, 732);
    PumpFor(500);

    // Ask the driver for the screenshot and wait for it.
    SavePng(frame, folder + L"\\composed.png");
    CloseHandle(CreateFileW((folder + L"\\ready").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            0, nullptr));
    const std::wstring shot = folder + L"\\screen.png";
    ASSERT_TRUE(PumpUntil([&] { return FileExists(shot); }, 60000)) << "no screenshot came";
    PumpFor(200);
    // The display is opaque: premultiplied or not, its pixels are the same.
    const Composition::Pixels screen = LoadPicture(shot);
    ASSERT_GT(screen.width, 0) << "the screenshot cannot be read";

    // Far from the window the display shows its grey.
    EXPECT_EQ(screen.At(2, 2), grey) << Hex(screen.At(2, 2));
    RECT placed{};
    GetWindowRect(window.Handle(), &placed);
    ASSERT_EQ(placed.right - placed.left, frame.width);
    ASSERT_LE(placed.right, screen.width);
    ASSERT_LE(placed.bottom, screen.height);

    // Each pixel of the window: the frame over the grey.
    Composition::Pixels expected(frame.width, frame.height);
    int wrong = 0, translucent = 0;
    std::string first;
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            const std::uint32_t want = Over(frame.At(x, y), grey);
            expected.Row(y)[x] = want;
            const std::uint32_t got = screen.At(placed.left + x, placed.top + y);
            const int alpha = Channel(frame.At(x, y), 24);
            translucent += alpha > 0 && alpha < 255;
            if (!Near(got, want, 3) && wrong++ == 0)
                first = "(" + std::to_string(x) + "," + std::to_string(y) + ") shows " + Hex(got) +
                        ", expected " + Hex(want);
        }
    }
    SavePng(expected, folder + L"\\expected.png");
    EXPECT_GT(translucent, 10000) << "the frame should hold much half-transparent shadow";
    EXPECT_EQ(wrong, 0) << "first: " << first;
}

} // namespace
