// The artwork as the uninstaller finds it in its own resources: every SVG
// picture whole and intact, and the window icon drawn by the system at each
// size it holds.
#include "Colours.h"
#include "Resources.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

struct Picture {
    int id;
    const char* view_box;
    size_t file_size;
};

const Picture kPictures[] = {
    {266, "viewBox=\"0 0 700 400\"", ARTWORK_SIZE_BACKGROUND},
    {235, "viewBox=\"0 0 131 24\"", ARTWORK_SIZE_LOGO},
    {237, "viewBox=\"0 0 72 24\"", ARTWORK_SIZE_MINIMIZE},
    {238, "viewBox=\"0 0 72 24\"", ARTWORK_SIZE_CLOSE},
    {262, "viewBox=\"0 0 200 44\"", ARTWORK_SIZE_UNINSTALL_BUTTON},
    {265, "viewBox=\"0 0 200 44\"", ARTWORK_SIZE_EXIT_BUTTON},
};

struct IconHandle {
    HICON handle;
    explicit IconHandle(HICON h) : handle(h) {}
    ~IconHandle() {
        if (handle)
            DestroyIcon(handle);
    }
    IconHandle(const IconHandle&) = delete;
    IconHandle& operator=(const IconHandle&) = delete;
};

struct IconBitmaps {
    ICONINFO info{};
    bool ok;
    explicit IconBitmaps(HICON icon) : ok(GetIconInfo(icon, &info) != FALSE) {}
    ~IconBitmaps() {
        if (info.hbmColor)
            DeleteObject(info.hbmColor);
        if (info.hbmMask)
            DeleteObject(info.hbmMask);
    }
    IconBitmaps(const IconBitmaps&) = delete;
    IconBitmaps& operator=(const IconBitmaps&) = delete;
};

// A top-down 32-bit DIB section selected into a memory DC.
class Canvas {
  public:
    Canvas(int width, int height) : width_(width) {
        BITMAPINFO bmi{};
        bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
        bmi.bmiHeader.biWidth = width;
        bmi.bmiHeader.biHeight = -height;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &bmi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_),
                                   nullptr, 0);
        if (dc_ && bitmap_)
            old_ = SelectObject(dc_, bitmap_);
    }
    ~Canvas() {
        if (old_)
            SelectObject(dc_, old_);
        if (bitmap_)
            DeleteObject(bitmap_);
        if (dc_)
            DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    bool ok() const { return bits_ != nullptr && old_ != nullptr; }
    HDC dc() const { return dc_; }
    void Fill(uint32_t bgrx, int count) {
        for (int i = 0; i < count; ++i)
            bits_[i] = bgrx;
    }
    uint32_t At(int x, int y) const { return bits_[y * width_ + x]; }

  private:
    int width_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    uint32_t* bits_ = nullptr;
};

using TestSupport::Blue;
using TestSupport::Green;
using TestSupport::Red;

} // namespace

TEST(ArtworkResources, EverySvgPictureIsWholeAndHasItsSize) {
    for (const Picture& picture : kPictures) {
        SCOPED_TRACE(picture.id);
        const std::string svg = TestSupport::SvgResource(picture.id);
        ASSERT_EQ(svg.size(), picture.file_size);
        // The toolkit cuts the text at the first zero byte: there must be none.
        EXPECT_EQ(svg.find('\0'), std::string::npos);
        EXPECT_EQ(svg.rfind("<svg ", 0), 0u);
        EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
        EXPECT_NE(svg.find(picture.view_box), std::string::npos);
    }
}

TEST(ArtworkResources, IconLoadsAtEverySize) {
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        IconHandle icon(static_cast<HICON>(LoadImageW(
            GetModuleHandleW(nullptr), MAKEINTRESOURCEW(128), IMAGE_ICON, size, size, 0)));
        ASSERT_NE(icon.handle, nullptr);
        IconBitmaps bitmaps(icon.handle);
        ASSERT_TRUE(bitmaps.ok);
        ASSERT_NE(bitmaps.info.hbmColor, nullptr);
        BITMAP colour{};
        ASSERT_NE(GetObjectW(bitmaps.info.hbmColor, sizeof(colour), &colour), 0);
        EXPECT_EQ(colour.bmWidth, size);
        EXPECT_EQ(colour.bmHeight, size);
    }
}

TEST(ArtworkResources, IconDrawsAGreenTileWithTransparentCorners) {
    // The sizes the window asks for (small and big icon) and the largest one.
    for (int size : {16, 32, 48, 256}) {
        SCOPED_TRACE(size);
        IconHandle icon(static_cast<HICON>(LoadImageW(
            GetModuleHandleW(nullptr), MAKEINTRESOURCEW(128), IMAGE_ICON, size, size, 0)));
        ASSERT_NE(icon.handle, nullptr);
        Canvas canvas(size, size);
        ASSERT_TRUE(canvas.ok());
        const uint32_t magenta = 0x00FF00FF;
        canvas.Fill(magenta, size * size);
        ASSERT_TRUE(DrawIconEx(canvas.dc(), 0, 0, icon.handle, size, size, 0, nullptr, DI_NORMAL));
        GdiFlush();

        EXPECT_EQ(canvas.At(0, 0) & 0xFFFFFF, magenta);             // outside the rounded tile
        const uint32_t tile = canvas.At(size / 2, size * 12 / 100); // above the ring
        EXPECT_GT(Green(tile), 120);
        EXPECT_LT(Red(tile), Green(tile));
        EXPECT_LT(Blue(tile), Green(tile));
        int white = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const uint32_t p = canvas.At(x, y);
                if (Red(p) > 230 && Green(p) > 230 && Blue(p) > 230)
                    ++white;
            }
        EXPECT_GT(white, size * size * 8 / 100); // the white mark
    }
}
