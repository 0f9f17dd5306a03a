// Loads an SVG text with librsvg, the reference the engine's load time is compared with.
#pragma once

#include <string>

namespace bench {

// A loaded librsvg handle; released with the object.
class RsvgDocument {
  public:
    // Parses and builds the document from the bytes; throws std::runtime_error when
    // librsvg rejects them.
    explicit RsvgDocument(const std::string& text);
    ~RsvgDocument();
    RsvgDocument(const RsvgDocument&) = delete;
    RsvgDocument& operator=(const RsvgDocument&) = delete;

    // The intrinsic size in pixels, as the engine's Width and Height report it.
    double Width() const { return width_; }
    double Height() const { return height_; }

  private:
    void* handle_ = nullptr; // RsvgHandle*, kept opaque so callers need no GLib headers
    double width_ = 0;
    double height_ = 0;
};

} // namespace bench
