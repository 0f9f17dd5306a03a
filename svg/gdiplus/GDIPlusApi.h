// The one place that pulls in the GDI+ flat API, and owning handles for its objects.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <memory>

namespace SVGEngine {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace detail {
struct PathDeleter {
    void operator()(GpPath* p) const { GdipDeletePath(p); }
};
struct MatrixDeleter {
    void operator()(GpMatrix* m) const { GdipDeleteMatrix(m); }
};
struct BrushDeleter {
    void operator()(GpBrush* b) const { GdipDeleteBrush(b); }
};
struct PenDeleter {
    void operator()(GpPen* p) const { GdipDeletePen(p); }
};
struct ImageDeleter {
    void operator()(GpImage* i) const { GdipDisposeImage(i); }
};
struct GraphicsDeleter {
    void operator()(GpGraphics* g) const { GdipDeleteGraphics(g); }
};
struct ImageAttributesDeleter {
    void operator()(GpImageAttributes* a) const { GdipDisposeImageAttributes(a); }
};
struct GlobalDeleter {
    void operator()(void* block) const { GlobalFree(static_cast<HGLOBAL>(block)); }
};
} // namespace detail

using UniquePath = std::unique_ptr<GpPath, detail::PathDeleter>;
using UniqueMatrix = std::unique_ptr<GpMatrix, detail::MatrixDeleter>;
using UniqueBrush = std::unique_ptr<GpBrush, detail::BrushDeleter>;
using UniquePen = std::unique_ptr<GpPen, detail::PenDeleter>;
using UniqueImage = std::unique_ptr<GpImage, detail::ImageDeleter>;
using UniqueGraphics = std::unique_ptr<GpGraphics, detail::GraphicsDeleter>;
using UniqueImageAttributes = std::unique_ptr<GpImageAttributes, detail::ImageAttributesDeleter>;
using UniqueGlobal = std::unique_ptr<void, detail::GlobalDeleter>;

// Remembers the last failing GDI+ status of an object; drawing never stops on one.
class GDIPlusStatusKeeper {
  public:
    Status Keep(Status status) {
        if (status != Ok)
            lastStatus_ = status;
        return status;
    }
    Status LastStatus() const { return lastStatus_; }

  private:
    Status lastStatus_ = Ok;
};

// Starts GDI+ for the life of the object (programs and tests; the uninstaller's entry does
// the same around its dialog).
class GDIPlusSession {
  public:
    GDIPlusSession() {
        GdiplusStartupInput input;
        started_ = GdiplusStartup(&token_, &input, nullptr) == Ok;
    }
    ~GDIPlusSession() {
        if (started_)
            GdiplusShutdown(token_);
    }
    GDIPlusSession(const GDIPlusSession&) = delete;
    GDIPlusSession& operator=(const GDIPlusSession&) = delete;
    bool Started() const { return started_; }

  private:
    ULONG_PTR token_ = 0;
    bool started_ = false;
};

} // namespace SVGEngine
