#pragma once
// The first pictures of a window, rasterised on a worker thread while the UI thread makes the
// window (the dialog, its devices): with a second core the window shows that much sooner. An
// object takes a picture only when it would draw the same one (same SVG text, pixel size and
// DPI); anything else it draws itself, as without a prefetch.
#include "DPI.h"

#include "svg/gdiplus/GDIPlusSVGBitmap.h"

#include <windows.h>

#include <future>
#include <memory>
#include <string>
#include <vector>

class CPicturePrefetch {
  public:
    struct Request {
        int resource;    // of type "SVG"
        RECT designRect; // where the object showing it will stand
    };

    CPicturePrefetch() = default;
    // Waits for the worker.
    ~CPicturePrefetch();
    CPicturePrefetch(const CPicturePrefetch&) = delete;
    CPicturePrefetch& operator=(const CPicturePrefetch&) = delete;

    // Starts rasterising the pictures at the DPI as it stands (GDI+ must be started); once.
    void Start(const std::vector<Request>& requests, const CDPI& dpi);
    // The bitmap of svgText at width x height and the DPI of dpi, once: waits for the worker.
    // Null when no such picture was started, or it could not be drawn.
    std::unique_ptr<SVGEngine::GDIPlusSVGBitmap> Take(const std::string& svgText, int width,
                                                      int height, const CDPI* dpi);

  private:
    struct Picture {
        std::string svgText;
        int width = 0;
        int height = 0;
        std::unique_ptr<SVGEngine::GDIPlusSVGBitmap> bitmap;
    };

    void Rasterise();

    CDPI m_dpi;
    // The worker's alone until it has finished (m_worker ready).
    std::vector<Picture> m_pictures;
    std::future<void> m_worker;
};
