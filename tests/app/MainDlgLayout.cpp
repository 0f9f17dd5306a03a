#include "MainDlgLayout.h"

#include "BitmapPixels.h"
#include "Colours.h"

#include "DialogLayout.h"
#include "SVGButtonEx.h"
#include "SVGSOCtrl.h"

#include "svg/gdiplus/GDIPlusSVGBitmap.h"

#include <gtest/gtest.h>

#include <vector>

namespace AppTest {

using namespace TestSupport;

namespace {

enum class Kind { Picture, Sprite, Recolour };

struct ElementRow {
    const char* name;
    int picture;
    RECT rect; // design units, window coordinates
    Kind kind;
};

// Bottom to top, as the window stacks them.
const ElementRow kLayout[] = {
    {"background", 266, DialogLayout::Main::kBackground, Kind::Picture},
    {"logo", 235, DialogLayout::Main::kLogo, Kind::Picture},
    {"minimize", 237, DialogLayout::Main::kMinimize, Kind::Sprite},
    {"close", 238, DialogLayout::Main::kClose, Kind::Sprite},
    {"uninstall", 262, DialogLayout::Main::kAction, Kind::Recolour},
    {"exit", 265, DialogLayout::Main::kAction, Kind::Recolour},
};

const int kAllLooks[] = {CSVGButtonEx::kNormalLook, CSVGButtonEx::kHoverLook,
                         CSVGButtonEx::kPushedLook, CSVGButtonEx::kDisabledLook};

std::vector<std::uint32_t> PixelsOf(const SVGEngine::GDIPlusSVGBitmap& bitmap) {
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            pixels.push_back(TestSupport::PixelAt(bitmap, x, y));
    return pixels;
}

} // namespace

struct MainWindowLayout::Element {
    RECT rect; // pixels
    std::map<int, std::vector<std::uint32_t>> looks;
};

MainWindowLayout::MainWindowLayout(const CDPI& dpi)
    : size_{dpi.Scale(DialogLayout::Main::kWidth), dpi.Scale(DialogLayout::Main::kHeight)} {
    for (const ElementRow& row : kLayout) {
        auto element = std::make_unique<Element>();
        dpi.ScaleRect(&row.rect, &element->rect);
        const int width = element->rect.right - element->rect.left;
        const int height = element->rect.bottom - element->rect.top;
        // Objects without a host draw nothing on their own; they only say what they would.
        if (row.kind == Kind::Picture) {
            CSVGSOCtrl picture;
            picture.m_dpi = const_cast<CDPI*>(&dpi);
            picture.Create(nullptr, row.rect, nullptr, 0, nullptr, 0);
            picture.LoadSVGResource(row.picture);
            SVGEngine::GDIPlusSVGBitmap bitmap(width, height);
            picture.DrawSVG(bitmap.Graphics());
            element->looks[CSVGButtonEx::kNormalLook] = PixelsOf(bitmap);
        } else {
            CSVGButtonEx button;
            button.m_dpi = const_cast<CDPI*>(&dpi);
            button.Create(nullptr, row.rect, nullptr, 0, nullptr,
                          row.kind == Kind::Sprite ? CSVGButtonEx::kSpriteMode
                                                   : CSVGButtonEx::kRecolourMode);
            button.LoadSVGResource(row.picture);
            for (int look : kAllLooks) {
                SVGEngine::GDIPlusSVGBitmap bitmap(width, height);
                button.DrawLook(bitmap.Graphics(), look);
                element->looks[look] = PixelsOf(bitmap);
            }
        }
        elements_[row.name] = std::move(element);
    }
}

MainWindowLayout::~MainWindowLayout() = default;

RECT MainWindowLayout::RectOf(const std::string& element) const {
    return elements_.at(element)->rect;
}

POINT MainWindowLayout::CentreOf(const std::string& element) const {
    const RECT rect = RectOf(element);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

std::uint32_t MainWindowLayout::Expected(int x, int y, const Looks& looks) const {
    std::uint32_t pixel = 0;
    for (const ElementRow& row : kLayout) {
        const Element& element = *elements_.at(row.name);
        const auto listed = looks.find(row.name);
        int look = CSVGButtonEx::kNormalLook;
        if (listed != looks.end())
            look = listed->second;
        else if (std::string(row.name) == "exit")
            continue; // hidden until the workflow has run
        if (look == kHidden)
            continue;
        const POINT point{x, y};
        if (!PtInRect(&element.rect, point))
            continue;
        const int width = element.rect.right - element.rect.left;
        const auto& pixels = element.looks.at(look);
        pixel = TestSupport::Over(
            pixels[static_cast<size_t>(y - element.rect.top) * width + (x - element.rect.left)],
            pixel);
    }
    return pixel;
}

const Composition::Pixels& MainWindowLayout::ExpectedFrame(const Looks& looks) const {
    auto drawn = frames_.find(looks);
    if (drawn == frames_.end()) {
        Composition::Pixels frame(size_.cx, size_.cy);
        for (int y = 0; y < size_.cy; ++y)
            for (int x = 0; x < size_.cx; ++x)
                frame.Row(y)[x] = Expected(x, y, looks);
        drawn = frames_.emplace(looks, std::move(frame)).first;
    }
    return drawn->second;
}

int MainWindowLayout::Mismatches(const Composition::Pixels& frame, const RECT& area,
                                 const Looks& looks) const {
    const Composition::Pixels& expected = ExpectedFrame(looks);
    if (frame.width != expected.width || frame.height != expected.height ||
        expected.width < area.right || expected.height < area.bottom)
        return (area.right - area.left) * (area.bottom - area.top);
    int mismatches = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            mismatches += !TestSupport::Near(frame.At(x, y), expected.At(x, y), 2);
    return mismatches;
}

INT_PTR RunMainWindow(Testable<CMainDlg>& dialog, const MainWindowScript& script) {
    return RunScripted([&] { return dialog.DoModal(GetActiveWindow()); },
                       Driver(dialog.record, dialog.Dpi(), dialog.Host()),
                       [&](Driver& d) {
                           static const MainWindowLayout layout(d.dpi);
                           ASSERT_TRUE(d.MoveTo(Background(d)));
                           script(d, layout);
                       });
}

POINT Background(const Driver& d) {
    return {d.dpi.Scale(100), d.dpi.Scale(250)};
}

void Click(Driver& d, POINT client) {
    ASSERT_TRUE(d.MoveTo(client));
    ASSERT_TRUE(d.Press());
    ASSERT_TRUE(d.Release());
}

Frame CardShowing(Driver& d, const MainWindowLayout& layout, const Looks& looks) {
    return d.ShownFrame(
        [&](const Frame& frame) { return layout.Mismatches(frame, layout.Card(), looks) == 0; });
}

void ExpectCard(Driver& d, const MainWindowLayout& layout, const Looks& looks, const char* what) {
    EXPECT_EQ(layout.Mismatches(CardShowing(d, layout, looks), layout.Card(), looks), 0) << what;
}

} // namespace AppTest
