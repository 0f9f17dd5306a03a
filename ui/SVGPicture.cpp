#include "SVGPicture.h"

#include "DPI.h"

#include "svg/SVGDocument.h"
#include "svg/gdiplus/GDIPlusSVGRenderer.h"

#include <windows.h>

#include <cstring>
#include <memory>

std::string SVGResourceText(int id) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), L"SVG");
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (!bytes)
        return std::string();
    const DWORD size = SizeofResource(module, found);
    const void* zero = std::memchr(bytes, '\0', size);
    return std::string(bytes, zero ? static_cast<const char*>(zero) : bytes + size);
}

void DrawSVGPicture(Gdiplus::GpGraphics* graphics, const std::string& svgText, const CDPI* dpi) {
    auto renderer = std::make_shared<SVGEngine::GDIPlusSVGRenderer>();
    renderer->SetTarget(graphics);
    try {
        const std::unique_ptr<SVGEngine::SVGDocument> document =
            SVGEngine::SVGDocument::Create(svgText.c_str(), renderer);
        const int width = dpi ? dpi->Scale(document->Width()) : document->Width();
        const int height = dpi ? dpi->Scale(document->Height()) : document->Height();
        document->Render(static_cast<float>(width), static_cast<float>(height));
    } catch (const SVGEngine::SVGError&) {
        // A picture the engine rejects stays blank; the dialog goes on.
    } catch (const boost::property_tree::detail::rapidxml::parse_error&) {
    }
}
