// Development tool: renders SVG files with the engine's GDI+ renderer into PNG or PAM files.
//
//   svgrender IN.svg OUT.png|OUT.pam WIDTH HEIGHT
//   svgrender --list JOBS.txt      one "IN OUT WIDTH HEIGHT" per line (paths without blanks)
//
// The picture is fitted into WIDTH x HEIGHT as the uninstaller does (uniform scale, top-left).
// PAM output holds straight (not premultiplied) RGBA, for the comparison scripts.
#include "SVGDocument.h"
#include "svg/gdiplus/GDIPlusSVGBitmap.h"
#include "svg/gdiplus/GDIPlusSVGRenderer.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace SVGEngine;

namespace {

std::string ReadFile(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool EndsWith(const std::wstring& text, const std::wstring& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool FindPngEncoder(CLSID& clsid) {
    UINT count = 0, bytes = 0;
    if (GdipGetImageEncodersSize(&count, &bytes) != Ok || bytes == 0)
        return false;
    std::vector<unsigned char> buffer(bytes);
    auto* codecs = reinterpret_cast<ImageCodecInfo*>(buffer.data());
    if (GdipGetImageEncoders(count, bytes, codecs) != Ok)
        return false;
    for (UINT i = 0; i < count; ++i) {
        if (std::wstring(codecs[i].MimeType) == L"image/png") {
            clsid = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

bool WritePam(const GDIPlusSVGBitmap& bitmap, const std::wstring& path) {
    const GDIPlusSVGBitmap::LockedPixels pixels = bitmap.Lock();
    if (!pixels.Valid())
        return false;
    std::ofstream out(path.c_str(), std::ios::binary);
    out << "P7\nWIDTH " << pixels.Width() << "\nHEIGHT " << pixels.Height()
        << "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
    std::vector<unsigned char> row(static_cast<std::size_t>(pixels.Width()) * 4);
    for (int y = 0; y < pixels.Height(); ++y) {
        const std::uint8_t* in = pixels.Row(y);
        for (int x = 0; x < pixels.Width(); ++x) {
            const unsigned a = in[4 * x + 3];
            auto straight = [a](unsigned c) {
                return static_cast<unsigned char>(a ? std::min(255u, (c * 255 + a / 2) / a) : 0);
            };
            row[4 * x + 0] = straight(in[4 * x + 2]);
            row[4 * x + 1] = straight(in[4 * x + 1]);
            row[4 * x + 2] = straight(in[4 * x + 0]);
            row[4 * x + 3] = static_cast<unsigned char>(a);
        }
        out.write(reinterpret_cast<const char*>(row.data()),
                  static_cast<std::streamsize>(row.size()));
    }
    return static_cast<bool>(out);
}

bool WritePng(const GDIPlusSVGBitmap& bitmap, const std::wstring& path) {
    CLSID png;
    return FindPngEncoder(png) &&
           GdipSaveImageToFile(bitmap.Bitmap(), path.c_str(), &png, nullptr) == Ok;
}

// Renders one file; returns false (with a message) when it cannot.
bool RenderOne(const std::wstring& input, const std::wstring& output, int width, int height) {
    const std::string text = ReadFile(input);
    if (text.empty()) {
        std::fwprintf(stderr, L"svgrender: cannot read %ls\n", input.c_str());
        return false;
    }
    GDIPlusSVGBitmap bitmap(width, height);
    if (!bitmap.Valid()) {
        std::fwprintf(stderr, L"svgrender: cannot make a %dx%d bitmap\n", width, height);
        return false;
    }
    try {
        auto renderer = std::make_shared<GDIPlusSVGRenderer>();
        renderer->SetTarget(bitmap.Graphics());
        std::unique_ptr<SVGDocument> document = SVGDocument::Create(text.c_str(), renderer);
        document->Render(static_cast<float>(width), static_cast<float>(height));
    } catch (const std::exception& error) {
        std::fwprintf(stderr, L"svgrender: %ls: %hs\n", input.c_str(), error.what());
        return false;
    }
    const bool written =
        EndsWith(output, L".pam") ? WritePam(bitmap, output) : WritePng(bitmap, output);
    if (!written)
        std::fwprintf(stderr, L"svgrender: cannot write %ls\n", output.c_str());
    return written;
}

int RunList(const std::wstring& listPath) {
    std::wifstream list(listPath.c_str());
    if (!list) {
        std::fwprintf(stderr, L"svgrender: cannot read %ls\n", listPath.c_str());
        return 2;
    }
    int failures = 0;
    std::wstring input, output;
    int width = 0, height = 0;
    while (list >> input >> output >> width >> height)
        failures += RenderOne(input, output, width, height) ? 0 : 1;
    return failures == 0 ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    GDIPlusSession gdiplus;
    if (!gdiplus.Started()) {
        std::fwprintf(stderr, L"svgrender: GDI+ did not start\n");
        return 2;
    }
    if (argc == 3 && std::wstring(argv[1]) == L"--list")
        return RunList(argv[2]);
    if (argc != 5) {
        std::fwprintf(stderr, L"usage: svgrender IN.svg OUT.png|OUT.pam WIDTH HEIGHT\n"
                              L"       svgrender --list JOBS.txt\n");
        return 2;
    }
    const int width = _wtoi(argv[3]);
    const int height = _wtoi(argv[4]);
    return RenderOne(argv[1], argv[2], width, height) ? 0 : 1;
}
