// The four looks of the SVG buttons, drawn from the program's own pictures into GDI+
// bitmaps and checked by pixel: sprite cells (with the disabled "normal" cell at 30 %
// opacity) and recoloured bodies.
#include "BitmapPixels.h"
#include "Colours.h"

#include "FillRecolour.h"
#include "SVGButtonEx.h"

#include <gtest/gtest.h>

#include <ostream>

#include <memory>
#include <string>
#include <vector>

namespace {

using SVGEngine::GDIPlusSVGBitmap;
using TestSupport::Near;
using TestSupport::PixelAt;
using TestSupport::Premultiplied;

constexpr int kNormal = CSVGButtonEx::kNormalLook;
constexpr int kHover = CSVGButtonEx::kHoverLook;
constexpr int kPushed = CSVGButtonEx::kPushedLook;
constexpr int kDisabled = CSVGButtonEx::kDisabledLook;

// Resource ids of the pictures.
constexpr int kMinimize = 237;
constexpr int kClose = 238;
constexpr int kUninstall = 262;
constexpr int kExit = 265;

std::unique_ptr<GDIPlusSVGBitmap> DrawLook(const CSVGButtonEx& button, int look) {
    auto bitmap = std::make_unique<GDIPlusSVGBitmap>(button.PixelWidth(), button.PixelHeight());
    EXPECT_TRUE(bitmap->Valid());
    button.DrawLook(bitmap->Graphics(), look);
    return bitmap;
}

struct PixelCheck {
    int x;
    int y;
    std::uint32_t argb; // premultiplied
};

struct LookCase {
    std::string name;
    int resource;
    int mode;
    int size; // pixels, square for sprites; recoloured buttons are 200 x 44
    int look;
    std::vector<PixelCheck> pixels;
};

void PrintTo(const LookCase& value, std::ostream* out) {
    *out << value.name;
}

// Sprite cells: minimise and close. Grey glyph #B4BABA; hover cell at group opacity 0.8
// (white glyph 204, close's red body #FF5A4E at 0.9 x 0.8 = 183, minimise's white body
// at 0.12 x 0.8 = 24); pushed at 0.3 (glyph 76); disabled is "normal" at 0.3. Alphas are in
// 255ths, as GDI+ writes them.
// Recoloured: the green body #00D766 becomes #19CC6E, #00B255, #CCCCCC.
std::vector<LookCase> LookCases() {
    const std::uint32_t grey = 0xFFB4BABA;
    return {
        {"MinimizeNormal",
         kMinimize,
         1,
         24,
         kNormal,
         {{12, 11, grey}, {12, 12, grey}, {12, 10, 0}, {12, 13, 0}, {2, 12, 0}}},
        {"MinimizeHover",
         kMinimize,
         1,
         24,
         kHover,
         {{12, 11, Premultiplied(0xFFFFFF, 204 / 255.0f)},
          {2, 12, Premultiplied(0xFFFFFF, 24 / 255.0f)},
          {12, 5, Premultiplied(0xFFFFFF, 24 / 255.0f)}}},
        {"MinimizePushed",
         kMinimize,
         1,
         24,
         kPushed,
         {{12, 11, Premultiplied(0xFFFFFF, 76 / 255.0f)},
          {2, 12, Premultiplied(0xFFFFFF, 9 / 255.0f)}}},
        {"MinimizeDisabled",
         kMinimize,
         1,
         24,
         kDisabled,
         {{12, 11, Premultiplied(0xB4BABA, 76 / 255.0f)}, {12, 13, 0}, {2, 12, 0}}},
        // 150 %: the 24-unit cell fills 36 pixels, the bar spans y 16.5 to 19.5.
        {"MinimizeNormalAt36",
         kMinimize,
         1,
         36,
         kNormal,
         {{18, 17, grey},
          {18, 18, grey},
          {18, 15, 0},
          {18, 20, 0},
          {24, 18, grey},
          {9, 17, 0},
          {27, 18, 0}}},
        {"MinimizeHoverAt36",
         kMinimize,
         1,
         36,
         kHover,
         {{18, 17, Premultiplied(0xFFFFFF, 204 / 255.0f)},
          {3, 18, Premultiplied(0xFFFFFF, 24 / 255.0f)}}},
        {"CloseNormal", kClose, 1, 24, kNormal, {{9, 9, grey}, {14, 9, grey}, {2, 2, 0}}},
        {"CloseHover",
         kClose,
         1,
         24,
         kHover,
         {{9, 9, Premultiplied(0xFFFFFF, 204 / 255.0f)},
          {2, 12, Premultiplied(0xFF5A4E, 183 / 255.0f)}}},
        {"ClosePushed",
         kClose,
         1,
         24,
         kPushed,
         {{9, 9, Premultiplied(0xFFFFFF, 76 / 255.0f)},
          {2, 12, Premultiplied(0xFF5A4E, 68 / 255.0f)}}},
        {"CloseDisabled",
         kClose,
         1,
         24,
         kDisabled,
         {{9, 9, Premultiplied(0xB4BABA, 76 / 255.0f)}, {2, 12, 0}}},
        {"UninstallNormal",
         kUninstall,
         0,
         0,
         kNormal,
         {{10, 22, 0xFF00D766}, {190, 22, 0xFF00D766}, {1, 1, 0}, {198, 42, 0}}},
        {"UninstallHover", kUninstall, 0, 0, kHover, {{10, 22, 0xFF19CC6E}, {1, 1, 0}}},
        {"UninstallPushed", kUninstall, 0, 0, kPushed, {{10, 22, 0xFF00B255}, {1, 1, 0}}},
        {"UninstallDisabled", kUninstall, 0, 0, kDisabled, {{10, 22, 0xFFCCCCCC}, {1, 1, 0}}},
        {"ExitNormal", kExit, 0, 0, kNormal, {{10, 22, 0xFF00D766}}},
        {"ExitHover", kExit, 0, 0, kHover, {{10, 22, 0xFF19CC6E}}},
        {"ExitPushed", kExit, 0, 0, kPushed, {{10, 22, 0xFF00B255}}},
        {"ExitDisabled", kExit, 0, 0, kDisabled, {{10, 22, 0xFFCCCCCC}}},
    };
}

void CreateButton(CSVGButtonEx* button, int resource, int mode, int size) {
    const RECT rect =
        mode == CSVGButtonEx::kSpriteMode ? RECT{0, 0, size, size} : RECT{0, 0, 200, 44};
    button->Create(nullptr, rect, L"button", 1, nullptr, mode);
    button->LoadSVGResource(resource);
}

class ButtonLookTest : public ::testing::TestWithParam<LookCase> {};

TEST_P(ButtonLookTest, Pixels) {
    const LookCase& test = GetParam();
    CSVGButtonEx button;
    CreateButton(&button, test.resource, test.mode, test.size);
    ASSERT_NE(button.SVGText().find("<svg"), std::string::npos);
    const auto bitmap = DrawLook(button, test.look);
    for (const PixelCheck& check : test.pixels) {
        const std::uint32_t actual = PixelAt(*bitmap, check.x, check.y);
        EXPECT_TRUE(Near(actual, check.argb, 2))
            << "at " << check.x << "," << check.y << std::hex << " got 0x" << actual
            << " expected 0x" << check.argb;
    }
}

INSTANTIATE_TEST_SUITE_P(Pictures, ButtonLookTest, ::testing::ValuesIn(LookCases()),
                         [](const auto& info) { return info.param.name; });

// Recolouring touches the body only: the white label outlines keep every pixel.
TEST(RecolouredButton, LabelUnchangedInEveryLook) {
    for (int resource : {kUninstall, kExit}) {
        CSVGButtonEx button;
        CreateButton(&button, resource, CSVGButtonEx::kRecolourMode, 0);
        const auto normal = DrawLook(button, kNormal);
        const int white = TestSupport::CountPixels(*normal, 0xFFFFFFFF);
        EXPECT_GT(white, 100) << resource;
        for (int look : {kHover, kPushed, kDisabled}) {
            const auto other = DrawLook(button, look);
            EXPECT_EQ(TestSupport::CountPixels(*other, 0xFFFFFFFF), white)
                << resource << " " << look;
            EXPECT_FALSE(TestSupport::SamePixels(*normal, *other)) << resource << " " << look;
        }
    }
}

// A recoloured picture without a fill="#RRGGBB" looks the same in every state.
TEST(RecolouredButton, PictureWithoutHashFillLooksTheSame) {
    const char* texts[] = {
        "<svg width='20' height='20'><rect width='20' height='20' fill='#336699'/></svg>",
        "<svg width=\"20\" height=\"20\"><rect width=\"20\" height=\"20\" fill=\"red\"/></svg>",
    };
    for (const char* text : texts) {
        CSVGButtonEx button;
        button.Create(nullptr, {0, 0, 20, 20}, nullptr, 1, nullptr, CSVGButtonEx::kRecolourMode);
        button.SetSVGText(text);
        const auto normal = DrawLook(button, kNormal);
        EXPECT_EQ(TestSupport::CountPixels(*normal, 0), 0) << text;
        for (int look : {kHover, kPushed, kDisabled})
            EXPECT_TRUE(TestSupport::SamePixels(*normal, *DrawLook(button, look))) << text << look;
    }
}

struct RecolourCase {
    const char* text;
    const char* expected;
};

TEST(RecolourFirstFill, OnlyTheFirstHashFillChanges) {
    const RecolourCase cases[] = {
        {"<rect fill=\"#00D766\"/><path fill=\"#FFFFFF\"/>",
         "<rect fill=\"#19CC6E\"/><path fill=\"#FFFFFF\"/>"},
        {"<g fill='#111111'><rect fill=\"#222222\"/>",
         "<g fill='#111111'><rect fill=\"#19CC6E\"/>"},
        {"<rect fill=\"red\"/>", "<rect fill=\"red\"/>"},
        {"fill=\"#", "fill=\"#19CC6E"},
        {"fill=\"#12", "fill=\"#19CC6E"},
        {"", ""},
        {"fill=", "fill="},
    };
    for (const RecolourCase& test : cases)
        EXPECT_EQ(RecolourFirstFill(test.text, "#19CC6E"), test.expected) << test.text;
}

} // namespace
