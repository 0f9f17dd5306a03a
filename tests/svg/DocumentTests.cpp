// Document size, element building, presentation attributes and inheritance.
#include "TestSupport.h"

#include <cstring>

using namespace SVGEngine;
using namespace SVGTest;
using Graphic = SVGDocumentImpl::Graphic;
using Group = SVGDocumentImpl::Group;
using Image = SVGDocumentImpl::Image;

namespace {

// A 2 x 3 PNG header (signature and IHDR), enough for the recording renderer.
const char* kPng2x3 = "iVBORw0KGgoAAAANSUhEUgAAAAIAAAADCAYAAAC56t6B";
// A 7 x 5 JPEG header (SOI, APP0, SOF0).
const char* kJpeg7x5 = "/9j/4AAQSkZJRgABAQAAAQABAAD/wAARCAAFAAcDASIAAhEBAxEB";

std::string ImageSvg(const std::string& attributes) {
    return "<svg viewBox='0 0 100 100'><image " + attributes +
           " xlink:href='data:image/png;base64," + kPng2x3 + "'/></svg>";
}

const Image& OnlyImage(const Loaded& l) {
    return As<Image>(Child(l.Root(), 0));
}

} // namespace

TEST(DocumentSize, ViewBoxWidthAndHeight) {
    struct Case {
        const char* svg;
        int width, height;
    };
    for (const Case& c :
         {Case{"<svg width='72' height='24'/>", 72, 24},
          Case{"<svg viewBox='0 0 700 400'/>", 700, 400},
          Case{"<svg width='100' viewBox='0 0 50 50'/>", 50, 50},
          Case{"<svg viewBox='0 0 72'/>", 320, 200}, Case{"<svg viewBox='0 0 72 24 5'/>", 320, 200},
          Case{"<svg viewBox='0,0,72.9,24.9'/>", 72, 24}, Case{"<svg viewBox='0-1-2-3'/>", 0, 0},
          Case{"<svg/>", 320, 200}, Case{"<svg width='50%' height='bad'/>", 160, 0},
          Case{"<svg width='1in' height='2cm'/>", 96, 75},
          Case{"<html width='72' height='24'/>", 320, 200},
          Case{"<svg viewBox='0 0 -5 1e30'/>", 0, 2147483647}}) {
        Loaded l = Load(c.svg);
        EXPECT_EQ(l.document->Width(), c.width) << c.svg;
        EXPECT_EQ(l.document->Height(), c.height) << c.svg;
    }
}

TEST(DocumentSize, RootXAndYMoveTheViewBox) {
    Loaded l = Load("<svg x='5' y='10%' width='50' height='20'/>");
    EXPECT_FLOAT_EQ(l.Impl().GetViewBox().x, 5.0f);
    EXPECT_FLOAT_EQ(l.Impl().GetViewBox().y, 20.0f); // 10% of the default height 200
}

TEST(Elements, ShapesBecomeGraphicsWithTheirPaths) {
    Loaded l = Load("<svg viewBox='0 0 200 100'>"
                    "<rect x='1' y='2' width='30' height='40'/>"
                    "<rect width='4' height='4' rx='3'/>"
                    "<rect width='10' height='4' rx='1' ry='3'/>"
                    "<rect width='10' height='10' rx='-2'/>"
                    "<circle cx='50%' cy='50%' r='10'/>"
                    "<ellipse cx='1' cy='2' rx='3' ry='-4'/>"
                    "<line x1='1' y1='2' x2='3' y2='4'/>"
                    "<polygon points='0,0 10,0 10'/>"
                    "<polyline points='1 2 3 4 5 6'/>"
                    "<polyline points='7'/>"
                    "<path d='M1 1 L2 2 x'/>"
                    "<path/><polygon/>"
                    "</svg>");
    const Group& root = l.Root();
    ASSERT_EQ(root.Children().size(), 11u);
    for (const auto& child : root.Children())
        EXPECT_EQ(child->GetKind(), SVGDocumentImpl::Kind::Graphic);

    auto only = [&](std::size_t i) -> const PathOp& {
        const auto& ops = Ops(Child(root, i));
        if (ops.empty())
            throw std::runtime_error("empty path");
        return ops[0];
    };
    EXPECT_EQ(only(0).kind, PathOp::Rect);
    EXPECT_EQ(only(0).args, (std::vector<float>{1, 2, 30, 40}));
    EXPECT_EQ(only(1).kind, PathOp::RoundedRect); // rx 3 for both radii, clamped to 2
    EXPECT_EQ(only(1).args, (std::vector<float>{0, 0, 4, 4, 2}));
    EXPECT_EQ(only(2).args, (std::vector<float>{0, 0, 10, 4, 2})); // larger of 1 and min(3, 2)
    EXPECT_EQ(only(3).kind, PathOp::Rect);                         // negative radius: square
    EXPECT_EQ(only(4).kind, PathOp::Ellipse);
    EXPECT_EQ(only(4).args, (std::vector<float>{100, 50, 10, 10}));
    EXPECT_EQ(only(5).args, (std::vector<float>{1, 2, 3, -4})); // passed on unchanged

    const auto& line = Ops(Child(root, 6));
    ASSERT_EQ(line.size(), 2u);
    EXPECT_EQ(line[1].args, (std::vector<float>{3, 4}));

    const auto& polygon = Ops(Child(root, 7));
    ASSERT_EQ(polygon.size(), 3u);
    EXPECT_EQ(polygon[1].args, (std::vector<float>{10, 0}));
    EXPECT_EQ(polygon[2].kind, PathOp::Close);
    EXPECT_EQ(Ops(Child(root, 8)).size(), 3u);
    EXPECT_TRUE(Ops(Child(root, 9)).empty()); // fewer than two numbers: empty, but drawn
    EXPECT_EQ(Ops(Child(root, 10)).size(), 2u);
}

TEST(Elements, UnsupportedElementsAreSkippedWithTheirSubtree) {
    Loaded l =
        Load("<svg><mask><rect width='1' height='1'/></mask><filter id='f'><feBlur/></filter>"
             "<text>hi<rect/></text><svg><rect/></svg><foo:bar xmlns:foo='x'/>"
             "<!-- comment --><rect id='kept'/></svg>");
    ASSERT_EQ(l.Root().Children().size(), 1u);
    EXPECT_NE(l.Impl().FindElement("kept"), nullptr);
    EXPECT_EQ(l.Impl().FindElement("f"), nullptr);
}

TEST(Elements, IdTableKeepsTheFirstElement) {
    Loaded l = Load("<svg><rect id='a' x='1'/><g id='a'/><circle id='b'/><rect id=''/></svg>");
    const auto* a = l.Impl().FindElement("a");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->GetKind(), SVGDocumentImpl::Kind::Graphic);
    EXPECT_EQ(l.Impl().FindElement(""), nullptr);
    // Ids written with character references arrive as their UTF-8 bytes.
    Loaded u = Load("<svg><g id='&#x5361;&amp;'/></svg>");
    EXPECT_NE(u.Impl().FindElement("\xE5\x8D\xA1&"), nullptr);
}

TEST(Elements, AttributeValuesOfEveryLengthEndAtTheirQuote) {
    // Values short and long (the reader scans long ones in bulk), in either quote, holding
    // the other quote and a character reference before, at and after the bulk scan's start.
    for (const char quote : {'\'', '"'}) {
        const char other = quote == '"' ? '\'' : '"';
        for (std::size_t length = 0; length <= 40; ++length)
            for (std::size_t at = 0; at <= length; at += 3) {
                std::string written(length, 'x'), read(length, 'x');
                if (length > 0)
                    written[length / 2] = read[length / 2] = other;
                written.insert(at, "&amp;");
                read.insert(at, "&");
                const std::string svg = std::string("<svg><g id=") + quote + written + quote +
                                        " fill=" + quote + "red" + quote + "/></svg>";
                Loaded l = Load(svg.c_str());
                EXPECT_NE(l.Impl().FindElement(read), nullptr) << svg;
                ASSERT_EQ(l.Root().Children().size(), 1u) << svg;
            }
        // A value the text ends inside of: the error is at the text's end.
        for (std::size_t length : {0u, 5u, 15u, 16u, 17u, 100u}) {
            const std::string svg = std::string("<svg id=") + quote + std::string(length, 'x');
            try {
                Load(svg.c_str());
                ADD_FAILURE() << "no error: " << svg;
            } catch (const XMLParseError& e) {
                EXPECT_EQ(e.offset(), svg.size()) << svg;
            }
        }
    }
}

TEST(Styles, RootFillNoneIsInheritedUnlessOverridden) {
    Loaded l = Load("<svg fill='none' stroke='red' opacity='0.5'>"
                    "<rect fill='white'/><rect/></svg>");
    const auto& white = As<Graphic>(Child(l.Root(), 0));
    EXPECT_TRUE(white.Fill().hasFill);
    EXPECT_EQ(boost::get<Color>(white.Fill().paintImpl), (Color{1, 1, 1, 1}));
    const auto& plain = As<Graphic>(Child(l.Root(), 1));
    EXPECT_FALSE(plain.Fill().hasFill);
    EXPECT_FALSE(plain.Stroke().hasStroke); // the root's stroke and opacity are not read
    EXPECT_FLOAT_EQ(plain.Style().opacity, 1.0f);
    EXPECT_FALSE(Load("<svg fill=' none'><rect/></svg>").Root().Children().empty());
}

TEST(Styles, GroupStylesAreInheritedAndOpacityIsNot) {
    Loaded l = Load("<svg><g id='hover' opacity='0.8' fill='#00f' stroke='red' stroke-width='3' "
                    "fill-rule='evenodd' color='lime'>"
                    "<rect id='r'/><g fill-opacity='2'><rect stroke='none'/></g></g></svg>");
    const auto* hover = l.Impl().FindElement("hover");
    ASSERT_NE(hover, nullptr);
    EXPECT_EQ(hover->GetKind(), SVGDocumentImpl::Kind::Group);
    EXPECT_FLOAT_EQ(hover->Style().opacity, 0.8f);
    const auto& rect = As<Graphic>(*l.Impl().FindElement("r"));
    EXPECT_FLOAT_EQ(rect.Style().opacity, 1.0f);
    EXPECT_EQ(boost::get<Color>(rect.Fill().paintImpl), (Color{0, 0, 1, 1}));
    EXPECT_EQ(rect.Fill().fillRule, WindingRule::EvenOdd);
    EXPECT_EQ(boost::get<Color>(rect.Fill().color), (Color{0, 1, 0, 1}));
    EXPECT_TRUE(rect.Stroke().hasStroke);
    EXPECT_FLOAT_EQ(rect.Stroke().lineWidth, 3.0f);
    const auto& inner = As<Graphic>(Child(As<Group>(Child(As<Group>(*hover), 1)), 0));
    EXPECT_FLOAT_EQ(inner.Fill().fillOpacity, 1.0f); // clamped
    EXPECT_FALSE(inner.Stroke().hasStroke);
    EXPECT_FLOAT_EQ(inner.Stroke().lineWidth, 3.0f);
}

TEST(Styles, StrokeProperties) {
    Loaded l = Load(
        "<svg viewBox='0 0 30 40'>"
        "<rect stroke='red' stroke-width='0'/>"
        "<rect stroke='red' stroke-width='bad'/>"
        "<rect stroke='red' stroke-width='-2'/>"
        "<rect stroke='red' stroke-width='10%' stroke-dasharray='5,-1' stroke-linecap='square' "
        "stroke-linejoin='bevel' stroke-miterlimit='0.5' stroke-opacity='-1'/>"
        "<rect stroke-dasharray='4 2 1' stroke-dashoffset='2' stroke-linecap='butt' "
        "stroke-linejoin='round' stroke-miterlimit='7' stroke-linecap='round'/>"
        "<rect stroke-dasharray='1 x'/>"
        "</svg>");
    auto stroke = [&](std::size_t i) { return As<Graphic>(Child(l.Root(), i)).Stroke(); };
    EXPECT_FALSE(stroke(0).hasStroke);
    EXPECT_FLOAT_EQ(stroke(0).lineWidth, 0.0f);
    EXPECT_FALSE(stroke(1).hasStroke);
    EXPECT_FLOAT_EQ(stroke(1).lineWidth, 1.0f);
    EXPECT_TRUE(stroke(2).hasStroke);
    EXPECT_FLOAT_EQ(stroke(2).lineWidth, 1.0f);
    EXPECT_FLOAT_EQ(stroke(3).lineWidth, 5.0f); // 10% of the full diagonal 50
    EXPECT_TRUE(stroke(3).dashArray.empty());
    EXPECT_EQ(stroke(3).lineCap, LineCap::Square);
    EXPECT_EQ(stroke(3).lineJoin, LineJoin::Bevel);
    EXPECT_FLOAT_EQ(stroke(3).miterLimit, 4.0f);
    EXPECT_FLOAT_EQ(stroke(3).strokeOpacity, 0.0f);
    EXPECT_EQ(stroke(4).dashArray, (std::vector<float>{4, 2, 1, 4, 2, 1}));
    EXPECT_FLOAT_EQ(stroke(4).dashOffset, 2.0f);
    EXPECT_EQ(stroke(4).lineCap, LineCap::Butt); // the first of two attributes wins
    EXPECT_EQ(stroke(4).lineJoin, LineJoin::Round);
    EXPECT_FLOAT_EQ(stroke(4).miterLimit, 7.0f);
    EXPECT_TRUE(stroke(5).dashArray.empty());
}

TEST(Styles, FillVisibilityDisplayAndStopProperties) {
    Loaded l =
        Load("<svg>"
             "<rect fill='url(#nowhere)' display='none' visibility='hidden'/>"
             "<g visibility='hidden'><rect visibility='visible' display='inline'/><rect/></g>"
             "<rect fill='currentcolor' color='currentcolor' stop-color='currentcolor' "
             "stop-opacity='0.25' clip-rule='evenodd' fill-rule='bogus'/>"
             "</svg>");
    const auto& first = As<Graphic>(Child(l.Root(), 0));
    EXPECT_TRUE(first.Fill().hasFill);
    EXPECT_EQ(boost::get<Color>(first.Fill().paintImpl), (Color{0, 0, 0, 1}));
    EXPECT_FALSE(first.Style().display);
    EXPECT_FALSE(first.Fill().visibility);
    const auto& group = As<Group>(Child(l.Root(), 1));
    EXPECT_TRUE(As<Graphic>(Child(group, 0)).Fill().visibility);
    EXPECT_TRUE(As<Graphic>(Child(group, 0)).Style().display);
    EXPECT_FALSE(As<Graphic>(Child(group, 1)).Fill().visibility);
    const auto& last = As<Graphic>(Child(l.Root(), 2));
    EXPECT_NE(boost::get<ColorKeys>(&last.Fill().paintImpl), nullptr);
    EXPECT_NE(boost::get<Color>(&last.Fill().color), nullptr); // "color" cannot be currentcolor
    EXPECT_NE(boost::get<ColorKeys>(&last.Style().stopColor), nullptr);
    EXPECT_FLOAT_EQ(last.Style().stopOpacity, 0.25f);
    EXPECT_EQ(last.Fill().clipRule, WindingRule::EvenOdd);
    EXPECT_EQ(last.Fill().fillRule, WindingRule::NonZero);
}

TEST(Styles, TransformsBelongToTheirElement) {
    Loaded l = Load("<svg><g transform='translate(5 6)'><rect transform='scale(2'/>"
                    "<rect transform='scale(3)'/></g></svg>");
    const auto& group = As<Group>(Child(l.Root(), 0));
    ASSERT_TRUE(group.Style().transform);
    EXPECT_DOUBLE_EQ(MatrixOf(*group.Style().transform).e, 5.0);
    EXPECT_FALSE(Child(group, 0).Style().transform);
    ASSERT_TRUE(Child(group, 1).Style().transform);
    EXPECT_DOUBLE_EQ(MatrixOf(*Child(group, 1).Style().transform).a, 3.0);
}

TEST(Images, EmbeddedPngAndJpegOnly) {
    Loaded l = Load(ImageSvg("id='pic'").c_str());
    ASSERT_EQ(l.Root().Children().size(), 1u);
    const Image& image = OnlyImage(l);
    EXPECT_FLOAT_EQ(image.Data().Width(), 2.0f);
    EXPECT_FLOAT_EQ(image.Data().Height(), 3.0f);
    EXPECT_EQ(dynamic_cast<const RecordingImageData&>(image.Data()).encoding, ImageEncoding::PNG);
    // Default size: the image's own.
    EXPECT_FLOAT_EQ(image.ClipArea().width, 2.0f);
    EXPECT_FLOAT_EQ(image.ClipArea().height, 3.0f);
    EXPECT_NE(l.Impl().FindElement("pic"), nullptr);

    const std::string jpeg = std::string("<svg><image xlink:href='data:image/jpg;base64,") +
                             kJpeg7x5 + "'/><image xlink:href='data:image/jpeg;base64," + kJpeg7x5 +
                             "'/></svg>";
    Loaded j = Load(jpeg.c_str());
    ASSERT_EQ(j.Root().Children().size(), 2u);
    EXPECT_EQ(
        dynamic_cast<const RecordingImageData&>(As<Image>(Child(j.Root(), 0)).Data()).encoding,
        ImageEncoding::JPEG);
    EXPECT_FLOAT_EQ(As<Image>(Child(j.Root(), 1)).ClipArea().width, 7.0f);
    EXPECT_FLOAT_EQ(As<Image>(Child(j.Root(), 1)).ClipArea().height, 5.0f);

    for (const char* none : {"<svg><image xlink:href='picture.png' width='5' height='5'/></svg>",
                             "<svg><image href='data:image/png;base64,AAAA'/></svg>",
                             "<svg><image xlink:href='data:image/gif;base64,R0lG'/></svg>",
                             "<svg><image xlink:href='data:image/png;base64,!!!!'/></svg>"})
        EXPECT_TRUE(Load(none).Root().Children().empty()) << none;
}

TEST(Images, PreserveAspectRatioPlacesTheImage) {
    struct Case {
        const char* attributes;
        RectF placed;
    };
    // A 2 x 3 image in a 40 x 30 viewport at (10, 20): meet scale 10, slice scale 20.
    const char* box = "x='10' y='20' width='40' height='30' ";
    for (const Case& c :
         {Case{"", {20, 20, 20, 30}}, Case{"preserveAspectRatio='xMinYMin'", {10, 20, 20, 30}},
          Case{"preserveAspectRatio='xMaxYMax meet'", {30, 20, 20, 30}},
          Case{"preserveAspectRatio='none'", {10, 20, 40, 30}},
          Case{"preserveAspectRatio='xMidYMin slice'", {10, 20, 40, 60}},
          Case{"preserveAspectRatio='xMinYMax slice'", {10, -10, 40, 60}},
          Case{"preserveAspectRatio='xMinYMin slice extra'", {20, 20, 20, 30}},
          Case{"preserveAspectRatio='bogus'", {20, 20, 20, 30}}}) {
        Loaded l = Load(ImageSvg(std::string(box) + c.attributes).c_str());
        const Image& image = OnlyImage(l);
        EXPECT_FLOAT_EQ(image.FillArea().x, c.placed.x) << c.attributes;
        EXPECT_FLOAT_EQ(image.FillArea().y, c.placed.y) << c.attributes;
        EXPECT_FLOAT_EQ(image.FillArea().width, c.placed.width) << c.attributes;
        EXPECT_FLOAT_EQ(image.FillArea().height, c.placed.height) << c.attributes;
        EXPECT_FLOAT_EQ(image.ClipArea().x, 10.0f);
        EXPECT_FLOAT_EQ(image.ClipArea().width, 40.0f);
    }
    EXPECT_TRUE(Load(ImageSvg("width='0'").c_str()).Root().Children().empty());
}

TEST(Errors, MalformedXmlReportsMessageAndPosition) {
    const char* text = "<svg><rect x=1/></svg>";
    try {
        SVGDocument::Create(text, std::make_shared<RecordingRenderer>());
        FAIL() << "no error";
    } catch (const XMLParseError& e) {
        EXPECT_STRNE(e.what(), "");
        EXPECT_STREQ(e.what(), "expected ' or \"");
        EXPECT_EQ(e.offset(), 13u); // at the unquoted value
        EXPECT_EQ(e.where<char>(), text + e.offset());
    }
    EXPECT_THROW(Load("x<svg/>"), boost::property_tree::detail::rapidxml::parse_error);
    EXPECT_THROW(Load("<svg"), XMLParseError);
    EXPECT_EQ(Load("").Root().Children().size(), 0u); // no element: an empty document
    try {
        Load("  <svg>");
        FAIL() << "no error";
    } catch (const XMLParseError& e) {
        EXPECT_STREQ(e.what(), "unexpected end of data");
    }
    try {
        Load("x");
        FAIL() << "no error";
    } catch (const XMLParseError& e) {
        EXPECT_STREQ(e.what(), "expected <");
        EXPECT_EQ(e.offset(), 0u);
    }
}

TEST(Errors, ListedValueFaultsEndCreation) {
    EXPECT_THROW(Load("<svg><rect clip-path='none'/></svg>"), SVGError);
    EXPECT_THROW(Load("<svg><rect fill='#'/></svg>"), SVGError);
    EXPECT_THROW(Load("<svg><rect color='#123456789'/></svg>"), SVGError);
    EXPECT_THROW(Load("<svg><linearGradient id='g' xlink:href=''/></svg>"), SVGError);
    EXPECT_NO_THROW(Load("<svg><rect clip-path='url(#x)' fill='#12' stroke='bogus'/></svg>"));
}

TEST(Errors, ByteOrderMarkAndDeclarationsAreSkipped) {
    Loaded l = Load("\xEF\xBB\xBF<?xml version='1.0'?><!DOCTYPE svg><!-- c -->\n"
                    "<svg width='7' height='8'><?pi x?><rect/></svg><svg width='1'/>");
    EXPECT_EQ(l.document->Width(), 7);
    EXPECT_EQ(l.Root().Children().size(), 1u);
}

TEST(Errors, MissingTextOrRendererIsAnError) {
    EXPECT_THROW(SVGDocument::Create(nullptr, std::make_shared<RecordingRenderer>()), SVGError);
    EXPECT_THROW(SVGDocument::Create("<svg/>", nullptr), SVGError);
}
