#include "BenchDocuments.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace bench {
namespace {

// Small deterministic generator: the same documents on every machine and run.
class Lcg {
  public:
    explicit Lcg(std::uint32_t seed) : state_(seed) {}
    std::uint32_t Next() {
        state_ = state_ * 1664525u + 1013904223u;
        return state_ >> 8;
    }
    // A value in [low, high) rounded to two decimals, as drawing tools write them.
    double Real(double low, double high) {
        double unit = (Next() & 0xFFFF) / 65536.0;
        return static_cast<int>((low + unit * (high - low)) * 100.0) / 100.0;
    }
    int Int(int low, int high) { return low + static_cast<int>(Next() % (high - low)); }

  private:
    std::uint32_t state_;
};

std::string Num(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}

std::string HexColor(Lcg& random) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%06x", random.Next() & 0xFFFFFF);
    return buffer;
}

const char* const kHeader = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

} // namespace

std::vector<BenchDocument> IconDocuments() {
    std::vector<BenchDocument> icons;
    icons.push_back(
        {"icon-close-sprite",
         std::string(kHeader) +
             "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"72\" height=\"24\" "
             "viewBox=\"0 0 72 24\" fill=\"none\">\n"
             "  <g id=\"normal\"><path d=\"M7 7L17 17M17 7L7 17\" stroke=\"#ffffff\" "
             "stroke-width=\"1.5\" stroke-linecap=\"round\"/></g>\n"
             "  <g id=\"hover\" opacity=\"0.8\"><rect x=\"24\" width=\"24\" height=\"24\" "
             "rx=\"4\" fill=\"#e81123\"/><path d=\"M31 7L41 17M41 7L31 17\" stroke=\"#ffffff\" "
             "stroke-width=\"1.5\" stroke-linecap=\"round\"/></g>\n"
             "  <g id=\"pushed\" opacity=\"0.3\"><rect x=\"48\" width=\"24\" height=\"24\" "
             "rx=\"4\" fill=\"#e81123\"/><path d=\"M55 7L65 17M65 7L55 17\" stroke=\"#ffffff\" "
             "stroke-width=\"1.5\" stroke-linecap=\"round\"/></g>\n"
             "</svg>\n"});
    icons.push_back(
        {"icon-logo", std::string(kHeader) +
                          "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"48\" height=\"48\" "
                          "viewBox=\"0 0 48 48\">\n"
                          "  <defs><linearGradient id=\"g\" x1=\"0\" y1=\"0\" x2=\"48\" y2=\"48\">"
                          "<stop offset=\"0\" stop-color=\"#4f8cff\"/><stop offset=\"1\" "
                          "stop-color=\"#7a3cff\"/></linearGradient></defs>\n"
                          "  <circle cx=\"24\" cy=\"24\" r=\"22\" fill=\"url(#g)\"/>\n"
                          "  <path d=\"M16 14h10a8 8 0 0 1 0 16h-6v6h-4z\" fill=\"#ffffff\"/>\n"
                          "  <circle cx=\"26\" cy=\"22\" r=\"3\" fill=\"#4f8cff\"/>\n"
                          "</svg>\n"});
    icons.push_back(
        {"icon-check",
         std::string(kHeader) +
             "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" height=\"16\">\n"
             "  <rect x=\"0.5\" y=\"0.5\" width=\"15\" height=\"15\" rx=\"3\" fill=\"#2ea043\" "
             "stroke=\"#1a7f37\"/>\n"
             "  <polyline points=\"4,8 7,11 12,5\" fill=\"none\" stroke=\"white\" "
             "stroke-width=\"2\" stroke-linecap=\"round\" stroke-linejoin=\"round\"/>\n"
             "</svg>\n"});
    return icons;
}

BenchDocument PictureDocument() {
    Lcg random(700400);
    std::ostringstream svg;
    svg << kHeader
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"700\" height=\"400\" "
           "viewBox=\"0 0 700 400\">\n<defs>\n";
    const int gradients = 24;
    for (int i = 0; i < gradients; ++i) {
        if (i % 3 == 2) {
            svg << "  <radialGradient id=\"g" << i << "\" cx=\"" << Num(random.Real(0, 700))
                << "\" cy=\"" << Num(random.Real(0, 400)) << "\" r=\"" << Num(random.Real(20, 300))
                << "\">";
        } else {
            svg << "  <linearGradient id=\"g" << i << "\" x1=\"" << Num(random.Real(0, 700))
                << "\" y1=\"" << Num(random.Real(0, 400)) << "\" x2=\"" << Num(random.Real(0, 700))
                << "\" y2=\"" << Num(random.Real(0, 400)) << "\">";
        }
        const int stops = random.Int(2, 5);
        for (int s = 0; s < stops; ++s) {
            svg << "<stop offset=\"" << Num(static_cast<double>(s) / (stops - 1))
                << "\" stop-color=\"" << HexColor(random) << "\" stop-opacity=\""
                << Num(random.Real(0.5, 1)) << "\"/>";
        }
        svg << (i % 3 == 2 ? "</radialGradient>\n" : "</linearGradient>\n");
    }
    svg << "</defs>\n<rect width=\"700\" height=\"400\" fill=\"url(#g0)\"/>\n";

    const int paths = 320;
    for (int i = 0; i < paths; ++i) {
        if (i % 40 == 0)
            svg << (i ? "</g>\n" : "") << "<g opacity=\"" << Num(random.Real(0.6, 1)) << "\">\n";
        double x = random.Real(0, 700), y = random.Real(0, 400);
        svg << "  <path d=\"M" << Num(x) << ' ' << Num(y);
        const int segments = random.Int(3, 9);
        for (int s = 0; s < segments; ++s) {
            switch (random.Int(0, 4)) {
            case 0:
                svg << " L" << Num(random.Real(0, 700)) << ' ' << Num(random.Real(0, 400));
                break;
            case 1:
                svg << " C" << Num(random.Real(0, 700)) << ' ' << Num(random.Real(0, 400)) << ' '
                    << Num(random.Real(0, 700)) << ' ' << Num(random.Real(0, 400)) << ' '
                    << Num(random.Real(0, 700)) << ' ' << Num(random.Real(0, 400));
                break;
            case 2:
                svg << " q" << Num(random.Real(-40, 40)) << ' ' << Num(random.Real(-40, 40)) << ' '
                    << Num(random.Real(-40, 40)) << ' ' << Num(random.Real(-40, 40));
                break;
            default:
                svg << " a" << Num(random.Real(5, 60)) << ' ' << Num(random.Real(5, 60)) << " 0 "
                    << random.Int(0, 2) << ' ' << random.Int(0, 2) << ' '
                    << Num(random.Real(-50, 50)) << ' ' << Num(random.Real(-50, 50));
                break;
            }
        }
        svg << "Z\" fill=\"url(#g" << random.Int(0, gradients) << ")\" fill-opacity=\""
            << Num(random.Real(0.3, 1)) << "\"";
        if (i % 4 == 0)
            svg << " stroke=\"" << HexColor(random) << "\" stroke-width=\""
                << Num(random.Real(0.5, 3)) << "\"";
        svg << "/>\n";
    }
    svg << "</g>\n</svg>\n";
    return {"picture-700x400", svg.str()};
}

BenchDocument LargePathDocument(std::size_t minimumBytes) {
    Lcg random(1000000);
    std::ostringstream svg;
    svg << kHeader
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"1000\" height=\"1000\" "
           "viewBox=\"0 0 1000 1000\">\n";
    int index = 0;
    while (static_cast<std::size_t>(svg.tellp()) < minimumBytes) {
        if (index % 50 == 0)
            svg << (index ? "</g>\n" : "") << "<g transform=\"translate("
                << Num(random.Real(-20, 20)) << ' ' << Num(random.Real(-20, 20)) << ")\">\n";
        svg << "<path id=\"p" << index << "\" fill=\"" << HexColor(random) << "\" stroke=\""
            << HexColor(random) << "\" stroke-width=\"" << Num(random.Real(0.5, 2)) << "\" d=\"M"
            << Num(random.Real(0, 1000)) << ',' << Num(random.Real(0, 1000));
        const int segments = random.Int(40, 120);
        for (int s = 0; s < segments; ++s) {
            switch (random.Int(0, 6)) {
            case 0:
                svg << 'l' << Num(random.Real(-30, 30)) << ',' << Num(random.Real(-30, 30));
                break;
            case 1:
                svg << 'c' << Num(random.Real(-30, 30)) << ',' << Num(random.Real(-30, 30)) << ' '
                    << Num(random.Real(-30, 30)) << ',' << Num(random.Real(-30, 30)) << ' '
                    << Num(random.Real(-30, 30)) << ',' << Num(random.Real(-30, 30));
                break;
            case 2:
                svg << 'S' << Num(random.Real(0, 1000)) << ' ' << Num(random.Real(0, 1000)) << ' '
                    << Num(random.Real(0, 1000)) << ' ' << Num(random.Real(0, 1000));
                break;
            case 3:
                svg << 'h' << Num(random.Real(-30, 30)) << 'v' << Num(random.Real(-30, 30));
                break;
            case 4:
                svg << 'Q' << Num(random.Real(0, 1000)) << ' ' << Num(random.Real(0, 1000)) << ' '
                    << Num(random.Real(0, 1000)) << ' ' << Num(random.Real(0, 1000));
                break;
            default:
                svg << 'a' << Num(random.Real(2, 40)) << ' ' << Num(random.Real(2, 40)) << ' '
                    << random.Int(0, 90) << ' ' << random.Int(0, 2) << ' ' << random.Int(0, 2)
                    << ' ' << Num(random.Real(-30, 30)) << ' ' << Num(random.Real(-30, 30));
                break;
            }
        }
        svg << "z\"/>\n";
        ++index;
    }
    svg << "</g>\n</svg>\n";
    return {"paths-1mb", svg.str()};
}

std::vector<BenchDocument> DocumentsInFolder(const std::string& folder) {
    namespace fs = std::filesystem;
    std::vector<BenchDocument> documents;
    std::error_code error;
    if (!fs::is_directory(folder, error))
        return documents;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        if (!entry.is_regular_file() || entry.path().extension() != ".svg")
            continue;
        std::ifstream file(entry.path(), std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        documents.push_back({"file-" + entry.path().stem().string(), text.str()});
    }
    std::sort(documents.begin(), documents.end(),
              [](const BenchDocument& a, const BenchDocument& b) { return a.name < b.name; });
    return documents;
}

} // namespace bench
