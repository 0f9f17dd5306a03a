// Clip paths: building, references and their effect on drawing.
#include "TestSupport.h"

using namespace SVGEngine;
using namespace SVGTest;
using Graphic = SVGDocumentImpl::Graphic;

TEST(ClipPaths, FirstShapeChildIsTheClip) {
    Loaded l =
        Load("<svg><clipPath id='c' clip-rule='evenodd'><g><rect/></g>"
             "<rect x='1' width='5' height='6' transform='translate(2 3)' clip-rule='nonzero'/>"
             "<circle r='9'/></clipPath><rect clip-path='url(#c)'/></svg>");
    const auto& rect = Child(l.Root(), 0);
    ASSERT_TRUE(rect.Style().clippingPath);
    const ClippingPath& clip = *rect.Style().clippingPath;
    EXPECT_TRUE(clip.hasClipContent);
    EXPECT_EQ(clip.clipRule, WindingRule::EvenOdd);
    ASSERT_TRUE(clip.path);
    const auto& ops = dynamic_cast<const RecordingPath&>(*clip.path).ops;
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_EQ(ops[0].args, (std::vector<float>{1, 0, 5, 6}));
    ASSERT_TRUE(clip.transform);
    EXPECT_DOUBLE_EQ(MatrixOf(*clip.transform).e, 2.0);
}

TEST(ClipPaths, RuleIsInheritedAndEmptyClipsHaveNoContent) {
    Loaded l = Load("<svg><defs clip-rule='evenodd'><clipPath id='c'><rect/></clipPath>"
                    "<clipPath id='empty'><g/></clipPath><clipPath><rect/></clipPath></defs>"
                    "<rect clip-path='url(#c)'/><rect clip-path='url(#empty)'/>"
                    "<rect clip-path='url(#other)'/></svg>");
    EXPECT_EQ(Child(l.Root(), 0).Style().clippingPath->clipRule, WindingRule::EvenOdd);
    const ClippingPath& empty = *Child(l.Root(), 1).Style().clippingPath;
    EXPECT_FALSE(empty.hasClipContent);
    EXPECT_FALSE(empty.path);
    EXPECT_EQ(empty.clipRule, WindingRule::NonZero);
    EXPECT_FALSE(Child(l.Root(), 2).Style().clippingPath);
}

TEST(ClipPaths, LaterDefinitionReplacesForElementsAfterIt) {
    Loaded l = Load("<svg><clipPath id='c'><rect/></clipPath><rect clip-path='url(#c)'/>"
                    "<clipPath id='c'><circle/></clipPath><rect clip-path='url(#c)'/></svg>");
    const auto first = Child(l.Root(), 0).Style().clippingPath;
    const auto second = Child(l.Root(), 1).Style().clippingPath;
    ASSERT_TRUE(first && second);
    EXPECT_EQ(dynamic_cast<const RecordingPath&>(*first->path).ops[0].kind, PathOp::Rect);
    EXPECT_EQ(dynamic_cast<const RecordingPath&>(*second->path).ops[0].kind, PathOp::Ellipse);
}

TEST(ClipPaths, ClipWithoutContentStopsDrawingOfTheSubtree) {
    Loaded l = Draw("<svg><clipPath id='e'/><clipPath id='c'><rect/></clipPath>"
                    "<g clip-path='url(#e)'><rect/><rect/></g>"
                    "<rect clip-path='url(#e)'/>"
                    "<g clip-path='url(#c)'><rect id='drawn'/></g></svg>");
    EXPECT_EQ(l.Draws().size(), 1u);
    // Saves for the fit, the root and the clipped group, its rect, three Restores.
    EXPECT_EQ(l.renderer->calls.size(), 7u);
    ASSERT_TRUE(l.renderer->calls[2].style.clippingPath);
}
