#include "PicturePrefetch.h"

#include "SVGPicture.h"

CPicturePrefetch::~CPicturePrefetch() {
    if (m_worker.valid())
        m_worker.wait();
}

void CPicturePrefetch::Start(const std::vector<Request>& requests, const CDPI& dpi) {
    if (m_worker.valid())
        return;
    m_dpi = dpi;
    for (const Request& request : requests) {
        RECT scaled{};
        m_dpi.ScaleRect(&request.designRect, &scaled);
        Picture picture;
        // The resource is read here: the worker touches nothing the UI thread uses.
        picture.svgText = SVGResourceText(request.resource);
        picture.width = scaled.right - scaled.left;
        picture.height = scaled.bottom - scaled.top;
        if (!picture.svgText.empty() && picture.width > 0 && picture.height > 0)
            m_pictures.push_back(std::move(picture));
    }
    if (m_pictures.empty())
        return;
    try {
        m_worker = std::async(std::launch::async, [this] { Rasterise(); });
    } catch (const std::system_error&) {
        // No thread: the objects draw their pictures themselves.
        m_pictures.clear();
    }
}

void CPicturePrefetch::Rasterise() {
    // GDI+ objects of their own on this thread: GDI+ may be used from several threads at once
    // as long as no object is shared between them.
    for (Picture& picture : m_pictures) {
        auto bitmap = std::make_unique<SVGEngine::GDIPlusSVGBitmap>(picture.width, picture.height);
        if (!bitmap->Valid())
            continue;
        DrawSVGPicture(bitmap->Graphics(), picture.svgText, &m_dpi);
        picture.bitmap = std::move(bitmap);
    }
}

std::unique_ptr<SVGEngine::GDIPlusSVGBitmap>
CPicturePrefetch::Take(const std::string& svgText, int width, int height, const CDPI* dpi) {
    if (!m_worker.valid())
        return nullptr;
    // The same scale (the object's and the prefetch's percentage at work, awareness included).
    constexpr int kProbe = 10000;
    if ((dpi ? dpi->Scale(kProbe) : kProbe) != m_dpi.Scale(kProbe))
        return nullptr;
    m_worker.wait();
    for (Picture& picture : m_pictures) {
        if (picture.bitmap && picture.width == width && picture.height == height &&
            picture.svgText == svgText)
            return std::move(picture.bitmap);
    }
    return nullptr;
}
