// use, symbol and defs: references to content defined elsewhere.
#include "TestSupport.h"

using namespace SVGEngine;
using namespace SVGTest;
using Graphic = SVGDocumentImpl::Graphic;
using Group = SVGDocumentImpl::Group;

TEST(Use, RefersToDefsContentWithAnOffset) {
    Loaded l = Load("<svg><defs><rect id='a' width='3' height='4'/></defs>"
                    "<use id='u' x='5' xlink:href='#a'/></svg>");
    ASSERT_EQ(l.Root().Children().size(), 1u); // defs content itself is not drawn
    const auto& use = As<Group>(Child(l.Root(), 0));
    EXPECT_EQ(l.Impl().FindElement("u"), &use);
    ASSERT_TRUE(use.Style().transform);
    const Matrix m = MatrixOf(*use.Style().transform);
    EXPECT_DOUBLE_EQ(m.e, 5.0);
    EXPECT_DOUBLE_EQ(m.f, 0.0);
    ASSERT_EQ(use.Children().size(), 1u);
    EXPECT_EQ(Ops(Child(use, 0))[0].args, (std::vector<float>{0, 0, 3, 4}));
    // The copy built for the use enters the id table under the rect's id.
    EXPECT_EQ(l.Impl().FindElement("a"), &Child(use, 0));
}

TEST(Use, ContentOutsideDefsOrMissingIsNotUsed) {
    for (const char* svg : {"<svg><rect id='a'/><use x='5' xlink:href='#a'/></svg>",
                            "<svg><defs><rect id='a'/></defs><use xlink:href='a'/></svg>",
                            "<svg><defs><rect id='a'/></defs><use xlink:href='#b'/></svg>",
                            "<svg><defs><rect id='a'/></defs><use/></svg>",
                            "<svg><use xlink:href='#a'/><defs><rect id='a'/></defs></svg>"}) {
        Loaded l = Load(svg);
        for (const auto& child : l.Root().Children())
            EXPECT_NE(child->GetKind(), SVGDocumentImpl::Kind::Group) << svg;
    }
}

TEST(Use, UseAttributesAreInheritedByTheContent) {
    Loaded l = Load("<svg><defs fill='blue'><g id='pair' fill='red'><rect/><rect fill='lime'/></g>"
                    "</defs><use xlink:href='#pair' fill='yellow' opacity='0.5'/></svg>");
    const auto& use = As<Group>(Child(l.Root(), 0));
    EXPECT_FLOAT_EQ(use.Style().opacity, 0.5f);
    // A referenced g contributes only its children; its own fill is not read.
    ASSERT_EQ(use.Children().size(), 2u);
    EXPECT_EQ(boost::get<Color>(As<Graphic>(Child(use, 0)).Fill().paintImpl), Rgb(255, 255, 0));
    EXPECT_EQ(boost::get<Color>(As<Graphic>(Child(use, 1)).Fill().paintImpl), Rgb(0, 255, 0));
}

TEST(Use, OwnTransformAppliesAfterTheOffset) {
    Loaded l = Load("<svg><defs><rect id='a'/></defs>"
                    "<use xlink:href='#a' x='10' y='1' transform='scale(2)'/></svg>");
    const Matrix m = MatrixOf(*Child(l.Root(), 0).Style().transform);
    double x, y;
    m.Apply(0, 0, x, y); // the origin moves by (10, 1), then scales: (20, 2) as SVG places it
    EXPECT_DOUBLE_EQ(x, 20.0);
    EXPECT_DOUBLE_EQ(y, 2.0);
    EXPECT_DOUBLE_EQ(m.a, 2.0);
}

TEST(Use, LaterDefinitionReplacesTheReference) {
    Loaded l = Load("<svg><defs><rect id='a' width='1'/><circle id='a' r='2'/></defs>"
                    "<use xlink:href='#a'/></svg>");
    const auto& use = As<Group>(Child(l.Root(), 0));
    EXPECT_EQ(Ops(Child(use, 0))[0].kind, PathOp::Ellipse);
}

TEST(Symbol, ViewBoxTranslatesAndResizesTheDocument) {
    Loaded l = Load("<svg viewBox='0 0 100 100'><symbol id='s' viewBox='5 6 20 10' "
                    "transform='scale(3)' fill='red'><rect width='50%'/></symbol></svg>");
    const auto& symbol = As<Group>(Child(l.Root(), 0));
    ASSERT_TRUE(symbol.Style().transform);
    const Matrix m = MatrixOf(*symbol.Style().transform);
    EXPECT_DOUBLE_EQ(m.a, 1.0);
    EXPECT_DOUBLE_EQ(m.e, -5.0);
    EXPECT_DOUBLE_EQ(m.f, -6.0);
    EXPECT_EQ(l.document->Width(), 20);
    EXPECT_EQ(l.document->Height(), 10);
    const auto& rect = As<Graphic>(Child(symbol, 0));
    EXPECT_FLOAT_EQ(Ops(rect)[0].args[2], 10.0f); // percentages follow the new viewBox
    // Children inherit from the symbol's parent, not from the symbol.
    EXPECT_EQ(boost::get<Color>(rect.Fill().paintImpl), (Color{0, 0, 0, 1}));

    // Four numbers and a fault: the viewBox changes, the transform does not.
    Loaded faulty = Load("<svg><symbol viewBox='1 2 30 40 x' transform='scale(3)'/></svg>");
    EXPECT_EQ(faulty.document->Width(), 30);
    EXPECT_DOUBLE_EQ(MatrixOf(*Child(faulty.Root(), 0).Style().transform).a, 3.0);
    Loaded few = Load("<svg width='7' height='7'><symbol viewBox='1 2 30'/></svg>");
    EXPECT_EQ(few.document->Width(), 7);
}

TEST(Symbol, UsedSymbolContributesItsChildren) {
    Loaded l = Load("<svg><defs><symbol id='s'><rect/><circle/></symbol></defs>"
                    "<use xlink:href='#s'/></svg>");
    const auto& use = As<Group>(Child(l.Root(), 0));
    ASSERT_EQ(use.Children().size(), 2u);
    EXPECT_EQ(Child(use, 1).GetKind(), SVGDocumentImpl::Kind::Graphic);
}

TEST(Defs, ChildrenAreDefinitionsNotDrawings) {
    Loaded l = Load("<svg><defs><g id='g'><rect/></g><linearGradient id='lg'/></defs>"
                    "<defs><path id='p' d='M0 0'/></defs></svg>");
    EXPECT_TRUE(l.Root().Children().empty());
    EXPECT_EQ(l.Impl().FindElement("g"), nullptr);
    EXPECT_EQ(l.Impl().FindElement("p"), nullptr);
}
