#include "svg/gdiplus/GDIPlusSVGImageData.h"

#include "svg/gdiplus/Base64.h"

#include <cstring>

namespace SVGEngine {
namespace {

struct StreamReleaser {
    void operator()(IStream* stream) const { stream->Release(); }
};

} // namespace

GDIPlusSVGImageData::GDIPlusSVGImageData(std::string_view base64Text) {
    const std::vector<unsigned char> bytes = DecodeBase64Prefix(base64Text);
    if (bytes.empty())
        return;

    bytes_.reset(GlobalAlloc(GMEM_MOVEABLE, bytes.size()));
    if (!bytes_)
        return;
    void* destination = GlobalLock(static_cast<HGLOBAL>(bytes_.get()));
    if (!destination)
        return;
    std::memcpy(destination, bytes.data(), bytes.size());
    GlobalUnlock(static_cast<HGLOBAL>(bytes_.get()));

    IStream* rawStream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(static_cast<HGLOBAL>(bytes_.get()), FALSE, &rawStream)))
        return;
    std::unique_ptr<IStream, StreamReleaser> stream(rawStream);

    GpImage* image = nullptr;
    if (status_.Keep(GdipLoadImageFromStream(stream.get(), &image)) == Ok)
        image_.reset(image);
}

GDIPlusSVGImageData::~GDIPlusSVGImageData() {
    image_.reset();
}

float GDIPlusSVGImageData::Width() const {
    UINT width = 0;
    if (image_)
        status_.Keep(GdipGetImageWidth(image_.get(), &width));
    return static_cast<float>(width);
}

float GDIPlusSVGImageData::Height() const {
    UINT height = 0;
    if (image_)
        status_.Keep(GdipGetImageHeight(image_.get(), &height));
    return static_cast<float>(height);
}

} // namespace SVGEngine
