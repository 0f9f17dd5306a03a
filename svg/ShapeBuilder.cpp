// Shapes and images: the elements that draw something.
#include "PathData.h"
#include "SVGParser.h"
#include "XmlAccess.h"

#include <algorithm>
#include <cmath>

namespace SVGEngine {

using namespace xml;

std::shared_ptr<Path> SVGParser::BuildShape(Node& node) {
    const std::string_view name = Name(node);
    const SVGDocumentImpl::ViewBox& viewBox = document_.viewBox_;
    std::string_view value;
    if (name == "rect") {
        const float x = LengthAttribute(node, "x", viewBox.width, 0.0f);
        const float y = LengthAttribute(node, "y", viewBox.height, 0.0f);
        const float w = LengthAttribute(node, "width", viewBox.width, 0.0f);
        const float h = LengthAttribute(node, "height", viewBox.height, 0.0f);
        const bool hasRx = node.first_attribute("rx") != nullptr;
        const bool hasRy = node.first_attribute("ry") != nullptr;
        float rx = 0.0f, ry = 0.0f;
        if (hasRx && hasRy) {
            rx = LengthAttribute(node, "rx", viewBox.width, 0.0f);
            ry = LengthAttribute(node, "ry", viewBox.height, 0.0f);
        } else if (hasRx) {
            rx = ry = LengthAttribute(node, "rx", viewBox.width, 0.0f);
        } else if (hasRy) {
            rx = ry = LengthAttribute(node, "ry", viewBox.height, 0.0f);
        }
        // Negative radii (an error in SVG) count as square corners.
        rx = std::max(0.0f, std::min(rx, w / 2.0f));
        ry = std::max(0.0f, std::min(ry, h / 2.0f));
        std::shared_ptr<Path> path = NewPath();
        if (rx == 0.0f && ry == 0.0f)
            path->AddRect(x, y, w, h);
        else
            path->AddRoundedRect(x, y, w, h, std::max(rx, ry));
        return path;
    }
    if (name == "circle") {
        const float r = LengthAttribute(node, "r", Diagonal(), 0.0f);
        const float cx = LengthAttribute(node, "cx", viewBox.width, 0.0f);
        const float cy = LengthAttribute(node, "cy", viewBox.height, 0.0f);
        std::shared_ptr<Path> path = NewPath();
        path->AddEllipse(cx, cy, r, r);
        return path;
    }
    if (name == "ellipse") {
        const float rx = LengthAttribute(node, "rx", viewBox.width, 0.0f);
        const float ry = LengthAttribute(node, "ry", viewBox.height, 0.0f);
        const float cx = LengthAttribute(node, "cx", viewBox.width, 0.0f);
        const float cy = LengthAttribute(node, "cy", viewBox.height, 0.0f);
        std::shared_ptr<Path> path = NewPath();
        path->AddEllipse(cx, cy, rx, ry);
        return path;
    }
    if (name == "line") {
        std::shared_ptr<Path> path = NewPath();
        path->MoveTo(LengthAttribute(node, "x1", viewBox.width, 0.0f),
                     LengthAttribute(node, "y1", viewBox.height, 0.0f));
        path->LineTo(LengthAttribute(node, "x2", viewBox.width, 0.0f),
                     LengthAttribute(node, "y2", viewBox.height, 0.0f));
        return path;
    }
    if (name == "polyline" || name == "polygon") {
        if (!Attribute(node, "points", value))
            return nullptr;
        std::shared_ptr<Path> path = NewPath();
        std::size_t count = 0;
        float pendingX = 0.0f;
        ForEachNumber(value, true, [&](float n) {
            if (count % 2 == 0) {
                pendingX = n;
            } else if (count == 1) {
                path->MoveTo(pendingX, n);
            } else {
                path->LineTo(pendingX, n);
            }
            ++count;
        });
        if (count >= 2 && name == "polygon")
            path->ClosePath();
        return path;
    }
    if (name == "path") {
        if (!Attribute(node, "d", value))
            return nullptr;
        std::shared_ptr<Path> path = NewPath();
        PlayPathData(value, *path);
        return path;
    }
    return nullptr;
}

void SVGParser::BuildImage(Node& node, GraphicStyle style, const FillStyle& fill,
                           std::string_view id) {
    std::string_view href;
    if (!Attribute(node, "xlink:href", href))
        return;
    static constexpr struct {
        std::string_view prefix;
        ImageEncoding encoding;
    } kPrefixes[] = {{"data:image/png;base64,", ImageEncoding::PNG},
                     {"data:image/jpg;base64,", ImageEncoding::JPEG},
                     {"data:image/jpeg;base64,", ImageEncoding::JPEG}};
    std::shared_ptr<ImageData> data;
    for (const auto& p : kPrefixes) {
        if (href.substr(0, p.prefix.size()) == p.prefix) {
            data = document_.Renderer().CreateImageData(href.substr(p.prefix.size()), p.encoding);
            if (!data)
                return;
            break;
        }
    }
    if (!data)
        return;

    const SVGDocumentImpl::ViewBox& viewBox = document_.viewBox_;
    const float imageWidth = data->Width();
    const float imageHeight = data->Height();
    RectF viewport{LengthAttribute(node, "x", viewBox.width, 0.0f),
                   LengthAttribute(node, "y", viewBox.height, 0.0f),
                   LengthAttribute(node, "width", viewBox.width, imageWidth),
                   LengthAttribute(node, "height", viewBox.height, imageHeight)};

    std::string_view align, meetOrSlice;
    std::string_view value;
    if (Attribute(node, "preserveAspectRatio", value)) {
        const auto tokens = ReadTokenList(value);
        if (tokens.size() == 1 || tokens.size() == 2) {
            align = tokens[0];
            if (tokens.size() == 2)
                meetOrSlice = tokens[1];
        }
    }
    RectF placed = viewport;
    if (align != "none") {
        const float sy = viewport.height / imageHeight;
        const float sx = viewport.width / imageWidth;
        const float scale = meetOrSlice == "slice" ? std::max(sy, sx) : std::min(sy, sx);
        placed.width = scale * imageWidth;
        placed.height = scale * imageHeight;
        // 0 = min, 1 = mid, 2 = max along each axis.
        int ax = 1, ay = 1;
        static constexpr std::string_view kAligns[] = {"xMinYMin", "xMidYMin", "xMaxYMin",
                                                       "xMinYMid", "xMidYMid", "xMaxYMid",
                                                       "xMinYMax", "xMidYMax", "xMaxYMax"};
        for (int i = 0; i < 9; ++i)
            if (align == kAligns[i]) {
                ax = i % 3;
                ay = i / 3;
            }
        placed.x = viewport.x + (viewport.width - placed.width) * static_cast<float>(ax) / 2.0f;
        placed.y = viewport.y + (viewport.height - placed.height) * static_cast<float>(ay) / 2.0f;
    }
    if (imageWidth == 0.0f || imageHeight == 0.0f || viewport.width == 0.0f ||
        viewport.height == 0.0f || placed.width == 0.0f || placed.height == 0.0f)
        return;
    Add(std::make_shared<SVGDocumentImpl::Image>(std::move(style), std::move(data), viewport,
                                                 placed, fill.visibility),
        id);
}

float SVGParser::LengthAttribute(Node& node, const char* name, float reference,
                                 float absent) const {
    std::string_view value;
    if (!Attribute(node, name, value))
        return absent;
    float length;
    return ReadLength(value, reference, length) ? length : absent;
}

std::shared_ptr<Path> SVGParser::NewPath() {
    std::shared_ptr<Path> path = document_.Renderer().CreatePath();
    if (!path)
        throw SVGError("the renderer made no path");
    return path;
}

} // namespace SVGEngine
