// Hostile input: deep nesting, reference cycles, multiplying references.
#include "TestSupport.h"

#include <string>

using namespace SVGEngine;
using namespace SVGTest;

namespace {

std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

} // namespace

TEST(Robustness, DeepNestingIsRefusedWithAnError) {
    const std::string deep = "<svg>" + Repeat("<g>", 100000) + Repeat("</g>", 100000) + "</svg>";
    EXPECT_THROW(Load(deep.c_str()), SVGError);
    const std::string unclosed = "<svg>" + Repeat("<g a='>'>", 50000);
    EXPECT_THROW(Load(unclosed.c_str()), SVGError);
    // The deepest nesting accepted works; comments and quoted text do not count as elements.
    const std::string fine = "<svg>" + Repeat("<g>", 198) + Repeat("</g>", 198) + "<!--" +
                             Repeat("<g>", 1000) + "-->" + "<rect x='" + Repeat("&lt;", 10) +
                             "'/></svg>";
    Loaded l = Draw(fine.c_str());
    EXPECT_EQ(l.renderer->maxDepth, 200);
    EXPECT_EQ(l.renderer->depth, 0);
}

TEST(Robustness, UseCyclesEndAndDrawBalanced) {
    Loaded l = Draw("<svg><defs><g id='a'><rect/><use xlink:href='#b'/></g>"
                    "<g id='b'><use xlink:href='#a'/></g><use id='self' xlink:href='#self'/>"
                    "</defs><use xlink:href='#a'/><use xlink:href='#self'/></svg>");
    EXPECT_EQ(l.Draws().size(), 1u);
    EXPECT_EQ(l.renderer->depth, 0);
}

TEST(Robustness, MultiplyingReferencesHitTheBudget) {
    // Each level uses the previous one ten times: 10^9 rects if expanded.
    std::string svg = "<svg><defs><g id='l0'><rect/></g>";
    for (int i = 1; i <= 9; ++i) {
        svg += "<g id='l" + std::to_string(i) + "'>";
        for (int k = 0; k < 10; ++k)
            svg += "<use xlink:href='#l" + std::to_string(i - 1) + "'/>";
        svg += "</g>";
    }
    svg += "</defs><use xlink:href='#l9'/></svg>";
    EXPECT_THROW(Load(svg.c_str()), SVGError);
}

TEST(Robustness, LargeFlatDocumentsLoad) {
    std::string svg = "<svg viewBox='0 0 1000 1000'>";
    for (int i = 0; i < 20000; ++i)
        svg += "<path fill='#123456' d='M" + std::to_string(i % 1000) +
               " 0 l10 10 h5 v5 c1 2 3 4 5 6 a5 5 0 0 1 10 0 z'/>";
    svg += "</svg>";
    Loaded l = Load(svg.c_str());
    EXPECT_EQ(l.Root().Children().size(), 20000u);
}

TEST(Robustness, OddValuesNeverCrash) {
    for (const char* svg : {
             "<svg viewBox='0 0 1e38 1e38'><rect width='1e38in' height='-1e38'/></svg>",
             "<svg><path d='M0 0 A1e-30 1e-30 0 0 1 1e30 1e30'/></svg>",
             "<svg><path d='M0 0 A1e30 1e30 45 1 1 1e-30 0'/></svg>",
             "<svg><path d='M1e38 1e38 A1 1 0 0 1 -1e38 -1e38'/></svg>",
             "<svg><rect fill='url(#' stroke='url(#)'/></svg>",
             "<svg><rect clip-path='url(#)'/></svg>",
             "<svg><linearGradient id='a' xlink:href='#a'><stop/><stop/></linearGradient>"
             "<rect fill='url(#a)'/></svg>",
             "<svg><image xlink:href='data:image/png;base64,'/></svg>",
             "<svg><polygon points='1e39 5 6'/></svg>",
         }) {
        Loaded l = Load(svg);
        l.document->Render(100, 100);
        l.document->Render(0, 0, 0, 0, 0, 0, 1, 1, 1);
        EXPECT_EQ(l.renderer->depth, 0) << svg;
        EXPECT_FALSE(l.renderer->unbalanced);
    }
}

namespace {

// A renderer whose factories fail, as one out of resources might.
class FailingRenderer : public RecordingRenderer {
  public:
    std::unique_ptr<Path> CreatePath() override { return nullptr; }
    std::unique_ptr<Transform> CreateTransform(float, float, float, float, float, float) override {
        return nullptr;
    }
};

} // namespace

TEST(Robustness, RendererThatMakesNothingGivesErrorsNotCrashes) {
    auto renderer = std::make_shared<FailingRenderer>();
    EXPECT_THROW(SVGDocument::Create("<svg><rect/></svg>", renderer), SVGError);
    auto document = SVGDocument::Create(
        "<svg><g transform='scale(2) skewX(3)'/><symbol viewBox='0 0 1 1'/></svg>", renderer);
    EXPECT_FALSE(Child(*document->Impl().Root(), 0).Style().transform);
    document->Render(10, 10);
    document->Render(0, 0, 1, 1, 0, 0, 1, 1, 1);
    EXPECT_TRUE(renderer->calls.empty());
}
