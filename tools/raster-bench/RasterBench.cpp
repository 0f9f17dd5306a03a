// Raster benchmark: rasterises every picture of the main window as the UI does (background,
// logo, and the four state pictures of each button) at 100 % and 150 %, beside a bare GDI+
// fill of bitmaps of the same sizes in the same run, and prints both and their ratio.
//
//   raster_bench PICTURE_FOLDER [ROUNDS]
#include "SVGDocument.h"
#include "svg/gdiplus/GDIPlusSVGBitmap.h"
#include "svg/gdiplus/GDIPlusSVGRenderer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
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

// One rasterisation the window makes: a picture into a bitmap of the object's pixel size.
struct Job {
    std::string name;
    std::string svg;
    int width;
    int height;
    std::function<void(const SVGDocument&, int, int)> draw;
};

// As the UI: a recolour button replaces the first fill="#xxxxxx" for each state.
std::string Recoloured(std::string svg, const char* colour) {
    const std::string marker = "fill=\"#";
    const std::size_t at = svg.find(marker);
    if (colour && at != std::string::npos && at + marker.size() + 6 <= svg.size())
        svg.replace(at + marker.size() - 1, 7, colour);
    return svg;
}

int Scaled(int size, int percent) {
    return (size * percent + 50) / 100;
}

std::vector<Job> WindowJobs(const std::wstring& folder, int percent) {
    std::vector<Job> jobs;
    auto picture = [&](const char* name, const wchar_t* file, int w, int h) {
        jobs.push_back({name, ReadFile(folder + L"\\" + file), Scaled(w, percent),
                        Scaled(h, percent), [](const SVGDocument& d, int pw, int ph) {
                            d.Render(static_cast<float>(pw), static_cast<float>(ph));
                        }});
    };
    picture("background", L"background.svg", 700, 400);
    picture("logo", L"logo.svg", 131, 24);

    struct Cell {
        const char* id;
        float x;
        float opacity;
    };
    const Cell cells[] = {
        {"normal", 0, 1.0f}, {"hover", 24, 1.0f}, {"pushed", 48, 1.0f}, {"normal", 0, 0.3f}};
    for (const wchar_t* sprite : {L"minimize.svg", L"close.svg"}) {
        const std::string text = ReadFile(folder + L"\\" + sprite);
        for (const Cell& cell : cells)
            jobs.push_back({"sprite button states", text, Scaled(24, percent), Scaled(24, percent),
                            [cell](const SVGDocument& d, int pw, int ph) {
                                d.RenderElement(cell.id, 0, 0, static_cast<float>(pw),
                                                static_cast<float>(ph), cell.x, 0, 24, 24,
                                                cell.opacity);
                            }});
    }
    const char* colours[] = {nullptr, "#19CC6E", "#00B255", "#CCCCCC"};
    for (const wchar_t* button : {L"uninstall-button.svg", L"exit-button.svg"}) {
        const std::string text = ReadFile(folder + L"\\" + button);
        for (const char* colour : colours)
            jobs.push_back({"recoloured button states", Recoloured(text, colour),
                            Scaled(200, percent), Scaled(44, percent),
                            [](const SVGDocument& d, int pw, int ph) {
                                d.Render(0, 0, static_cast<float>(pw), static_cast<float>(ph), 0, 0,
                                         200, 44, 1.0f);
                            }});
    }
    return jobs;
}

// The pixels leave the bitmap as the UI copies them out for Direct2D.
std::size_t CopyOut(const GDIPlusSVGBitmap& bitmap, std::vector<unsigned char>& sink) {
    const GDIPlusSVGBitmap::LockedPixels pixels = bitmap.Lock();
    if (!pixels.Valid())
        return 0;
    const std::size_t bytes = static_cast<std::size_t>(pixels.Stride()) * pixels.Height();
    sink.resize(bytes);
    std::memcpy(sink.data(), pixels.Row(0), bytes);
    return bytes;
}

std::size_t RasteriseSvg(const Job& job, std::vector<unsigned char>& sink) {
    GDIPlusSVGBitmap bitmap(job.width, job.height);
    auto renderer = std::make_shared<GDIPlusSVGRenderer>();
    renderer->SetTarget(bitmap.Graphics());
    std::unique_ptr<SVGDocument> document = SVGDocument::Create(job.svg.c_str(), renderer);
    job.draw(*document, job.width, job.height);
    return CopyOut(bitmap, sink);
}

std::size_t BareFill(const Job& job, std::vector<unsigned char>& sink) {
    GDIPlusSVGBitmap bitmap(job.width, job.height);
    GpSolidFill* raw = nullptr;
    GdipCreateSolidFill(0xFF19CC6E, &raw);
    UniqueBrush brush(raw);
    GdipFillRectangleI(bitmap.Graphics(), brush.get(), 0, 0, job.width, job.height);
    return CopyOut(bitmap, sink);
}

double Seconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Median time of one pass over all jobs, in milliseconds.
double MedianMs(const std::vector<Job>& jobs, int rounds,
                std::size_t (*rasterise)(const Job&, std::vector<unsigned char>&),
                std::size_t& checksum) {
    std::vector<unsigned char> sink;
    std::vector<double> times;
    for (int round = 0; round < rounds; ++round) {
        const double start = Seconds();
        for (const Job& job : jobs)
            checksum += rasterise(job, sink);
        times.push_back((Seconds() - start) * 1000.0);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fwprintf(stderr, L"usage: raster_bench PICTURE_FOLDER [ROUNDS]\n");
        return 2;
    }
    const std::wstring folder = argv[1];
    const int rounds = argc > 2 ? std::max(1, _wtoi(argv[2])) : 15;
    GDIPlusSession gdiplus;
    if (!gdiplus.Started())
        return 2;

    std::printf(
        "raster benchmark: main window pictures (background, logo, 4 states x 4 buttons)\n");
    std::printf("median of %d rounds; each round rasterises all 18 pictures once\n", rounds);
    std::printf("%-7s %9s %14s %14s %8s\n", "scale", "pixels", "svg ms/round", "fill ms/round",
                "ratio");
    std::size_t checksum = 0;
    for (int percent : {100, 150}) {
        const std::vector<Job> jobs = WindowJobs(folder, percent);
        long long pixels = 0;
        for (const Job& job : jobs) {
            if (job.svg.empty()) {
                std::fwprintf(stderr, L"raster_bench: a picture is missing in %ls\n",
                              folder.c_str());
                return 1;
            }
            pixels += static_cast<long long>(job.width) * job.height;
        }
        MedianMs(jobs, 2, RasteriseSvg, checksum); // warm-up
        const double svg = MedianMs(jobs, rounds, RasteriseSvg, checksum);
        const double fill = MedianMs(jobs, rounds, BareFill, checksum);
        std::printf("%5d %% %9lld %14.3f %14.3f %7.1fx\n", percent, pixels, svg, fill, svg / fill);
        // Where the time goes: the same measurement per kind of picture.
        for (const char* kind :
             {"background", "logo", "sprite button states", "recoloured button states"}) {
            std::vector<Job> group;
            for (const Job& job : jobs)
                if (job.name == kind)
                    group.push_back(job);
            const double groupSvg = MedianMs(group, rounds, RasteriseSvg, checksum);
            const double groupFill = MedianMs(group, rounds, BareFill, checksum);
            std::printf("  %-26s x%zu %10.3f %14.3f %7.1fx\n", kind, group.size(), groupSvg,
                        groupFill, groupSvg / groupFill);
        }
    }
    std::printf("(bytes copied: %zu)\n", checksum);
    return 0;
}
