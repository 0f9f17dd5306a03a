#include "RsvgLoader.h"

#include <librsvg/rsvg.h>
#include <stdexcept>

namespace bench {

RsvgDocument::RsvgDocument(const std::string& text) {
    GError* error = nullptr;
    RsvgHandle* handle = rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(text.data()),
                                                   text.size(), &error);
    if (!handle) {
        std::string message = error ? error->message : "unknown error";
        if (error)
            g_error_free(error);
        throw std::runtime_error("librsvg rejected the document: " + message);
    }
    handle_ = handle;
    if (!rsvg_handle_get_intrinsic_size_in_pixels(handle, &width_, &height_)) {
        // No absolute size given: librsvg then has only the viewBox to offer.
        RsvgRectangle viewBox{};
        gboolean hasWidth = FALSE, hasHeight = FALSE, hasViewBox = FALSE;
        RsvgLength width{}, height{};
        rsvg_handle_get_intrinsic_dimensions(handle, &hasWidth, &width, &hasHeight, &height,
                                             &hasViewBox, &viewBox);
        width_ = hasViewBox ? viewBox.width : 0;
        height_ = hasViewBox ? viewBox.height : 0;
    }
}

RsvgDocument::~RsvgDocument() {
    g_object_unref(static_cast<RsvgHandle*>(handle_));
}

} // namespace bench
