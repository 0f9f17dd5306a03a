// Number, length, list, colour, paint and transform readers.
#include "ColorKeywords.h"
#include "TestSupport.h"
#include "ValueReaders.h"

#include <cmath>
#include <string>

using namespace SVGEngine;
using namespace SVGTest;

namespace {

bool Number(const char* text, float& value) {
    return ReadNumber(std::string_view(text), value);
}

bool Length(const char* text, float reference, float& value) {
    return ReadLength(std::string_view(text), reference, value);
}

Color Rgba(const ColorImpl& c) {
    const Color* color = boost::get<Color>(&c);
    if (color == nullptr)
        throw std::runtime_error("not a colour");
    return *color;
}

bool ReadsColor(const char* text, Color& out, bool allowCurrent = false) {
    ColorImpl c;
    if (!ReadColor(std::string_view(text), allowCurrent, c))
        return false;
    out = Rgba(c);
    return true;
}

void ExpectColor(const Color& actual, const Color& expected) {
    EXPECT_FLOAT_EQ(actual.r, expected.r);
    EXPECT_FLOAT_EQ(actual.g, expected.g);
    EXPECT_FLOAT_EQ(actual.b, expected.b);
    EXPECT_FLOAT_EQ(actual.a, expected.a);
}

GradientResolver NoGradients() {
    return [](std::string_view, GradientLookup& r) { r.kind = GradientLookup::Kind::NotFound; };
}

Matrix TransformOf(const char* text) {
    RecordingRenderer renderer;
    auto t = ReadTransformList(std::string_view(text), renderer);
    if (!t)
        throw std::runtime_error("no transform");
    return MatrixOf(*t);
}

bool HasTransform(const char* text) {
    RecordingRenderer renderer;
    return ReadTransformList(std::string_view(text), renderer) != nullptr;
}

void ExpectMatrix(const Matrix& m, const Matrix& e) {
    EXPECT_NEAR(m.a, e.a, 1e-5);
    EXPECT_NEAR(m.b, e.b, 1e-5);
    EXPECT_NEAR(m.c, e.c, 1e-5);
    EXPECT_NEAR(m.d, e.d, 1e-5);
    EXPECT_NEAR(m.e, e.e, 1e-4);
    EXPECT_NEAR(m.f, e.f, 1e-4);
}

} // namespace

TEST(NumberReader, ReadsSignsFractionsAndExponents) {
    float v = -1;
    EXPECT_TRUE(Number("12.5", v));
    EXPECT_FLOAT_EQ(v, 12.5f);
    EXPECT_TRUE(Number("-.5", v));
    EXPECT_FLOAT_EQ(v, -0.5f);
    EXPECT_TRUE(Number("+3", v));
    EXPECT_FLOAT_EQ(v, 3.0f);
    EXPECT_TRUE(Number("1e2", v));
    EXPECT_FLOAT_EQ(v, 100.0f);
    EXPECT_TRUE(Number("25E-1", v));
    EXPECT_FLOAT_EQ(v, 2.5f);
    EXPECT_TRUE(Number(" \t7\r\n", v));
    EXPECT_FLOAT_EQ(v, 7.0f);
}

TEST(NumberReader, RejectsIncompleteOrInfiniteNumbers) {
    float v = 42;
    for (const char* bad : {"5.", "1e", "1e+", "+", "-", "", ".", "1em", "1 2", "3e39", "x"})
        EXPECT_FALSE(Number(bad, v)) << bad;
    EXPECT_FLOAT_EQ(v, 42.0f); // a failed read leaves the target alone
}

TEST(NumberReader, AccumulatesInSinglePrecision) {
    // Digit by digit in float: 0.1 + 0.02 + 0.003 is not the nearest float to 0.123.
    float v;
    ASSERT_TRUE(Number("0.123", v));
    float expected = 0.0f;
    expected = expected + 1.0f / 10.0f;
    expected = expected + 2.0f / 100.0f;
    expected = expected + 3.0f / 1000.0f;
    EXPECT_EQ(v, expected);
}

TEST(LengthReader, UnitsAndPercentages) {
    float v;
    EXPECT_TRUE(Length("50%", 320, v));
    EXPECT_FLOAT_EQ(v, 160.0f);
    EXPECT_TRUE(Length("2in", 0, v));
    EXPECT_FLOAT_EQ(v, 192.0f);
    EXPECT_TRUE(Length("10pX", 0, v));
    EXPECT_FLOAT_EQ(v, 10.0f);
    EXPECT_TRUE(Length("1cm", 0, v));
    EXPECT_FLOAT_EQ(v, 37.795277f);
    EXPECT_TRUE(Length("10mm", 0, v));
    EXPECT_FLOAT_EQ(v, 37.795277f);
    EXPECT_TRUE(Length("3pt", 0, v));
    EXPECT_FLOAT_EQ(v, 3 * 1.3333334f);
    EXPECT_TRUE(Length("2pc", 0, v));
    EXPECT_FLOAT_EQ(v, 32.0f);
    EXPECT_TRUE(Length("10   ", 0, v));
    EXPECT_FLOAT_EQ(v, 10.0f);
    for (const char* bad : {"10PX", "10q", "1em", "10p", "10 px", "10pxx"})
        EXPECT_FALSE(Length(bad, 0, v)) << bad;
}

TEST(LengthReader, CursorFormNeedsUnitUnlessUnitlessAllowed) {
    const std::string text = "12 ";
    const char* p = text.data();
    float v;
    EXPECT_FALSE(ReadLength(p, p + 2, 0, false, v));
    EXPECT_TRUE(ReadLength(p, p + 2, 0, true, v));
    EXPECT_EQ(p, text.data() + 2);
}

TEST(ListReaders, NumberListsLengthListsAndTokens) {
    std::vector<float> v;
    EXPECT_TRUE(ReadNumberList("0 0 72 24", true, v));
    EXPECT_EQ(v, (std::vector<float>{0, 0, 72, 24}));
    EXPECT_TRUE(ReadNumberList("0,0,72,24", true, v));
    EXPECT_EQ(v, (std::vector<float>{0, 0, 72, 24}));
    EXPECT_TRUE(ReadNumberList("0 0 72", true, v));
    EXPECT_EQ(v.size(), 3u);
    EXPECT_TRUE(ReadNumberList("10-5", true, v));
    EXPECT_EQ(v, (std::vector<float>{10, -5}));
    EXPECT_FALSE(ReadNumberList("10-5", false, v));
    EXPECT_TRUE(ReadNumberList("  ", true, v));
    EXPECT_TRUE(v.empty());
    EXPECT_FALSE(ReadNumberList("1 2 x 3", true, v));
    EXPECT_EQ(v, (std::vector<float>{1, 2})); // items before the fault are kept
    EXPECT_TRUE(ReadLengthList("5 10% 1in", 200, true, v));
    EXPECT_EQ(v, (std::vector<float>{5, 20, 96}));

    const auto tokens = ReadTokenList("  xMidYMid \t slice ");
    ASSERT_EQ(tokens.size(), 2u);
    EXPECT_EQ(tokens[0], "xMidYMid");
    EXPECT_EQ(tokens[1], "slice");
}

TEST(ListReaders, ArcFlagIsOneCharacter) {
    const std::string text = " ,10";
    const char* p = text.data();
    bool flag = false;
    ASSERT_TRUE(ReadArcFlag(p, text.data() + text.size(), flag));
    EXPECT_TRUE(flag);
    ASSERT_TRUE(ReadArcFlag(p, text.data() + text.size(), flag));
    EXPECT_FALSE(flag);
    EXPECT_FALSE(ReadArcFlag(p, text.data() + text.size(), flag));
}

TEST(ColorReader, HexRgbAndKeywords) {
    Color c;
    ASSERT_TRUE(ReadsColor("#f00", c));
    ExpectColor(c, {1, 0, 0, 1});
    ASSERT_TRUE(ReadsColor("#ff0000", c));
    ExpectColor(c, {1, 0, 0, 1});
    ASSERT_TRUE(ReadsColor("#1a2B3c", c));
    ExpectColor(c, Rgb(0x1a, 0x2b, 0x3c));
    ASSERT_TRUE(ReadsColor("RGB(255, 0, 0)", c));
    ExpectColor(c, {1, 0, 0, 1});
    ASSERT_TRUE(ReadsColor("rgb(300,0,0)", c));
    ExpectColor(c, {1, 0, 0, 1});
    ASSERT_TRUE(ReadsColor("Red", c));
    ExpectColor(c, {1, 0, 0, 1});
    ASSERT_TRUE(ReadsColor("blueviolet", c));
    ExpectColor(c, Rgb(138, 43, 226));
    ASSERT_TRUE(ReadsColor("lightblue", c));
    ExpectColor(c, Rgb(173, 216, 230));
    ASSERT_TRUE(ReadsColor("  white and more", c)); // text after the colour is ignored
    ExpectColor(c, {1, 1, 1, 1});
    for (const char* bad : {"#f00f", "#0000ff00", "#ff00", "rgb(100%,0,0)", "rgb(1 2 3)",
                            "rgb(-1,0,0)", "rgb(1.5,0,0)", "nosuchcolor", ""})
        EXPECT_FALSE(ReadsColor(bad, c)) << bad;
}

TEST(ColorReader, KeywordTableHas148SortedRows) {
    const std::size_t rows = static_cast<std::size_t>(ColorKeywordsEnd() - ColorKeywordsBegin());
    EXPECT_EQ(rows, 148u);
    for (const ColorKeyword* k = ColorKeywordsBegin() + 1; k != ColorKeywordsEnd(); ++k) {
        EXPECT_LT(std::string(k[-1].name), std::string(k->name));
        EXPECT_EQ(std::string(k->name).size(), k->length);
    }
    struct Row {
        const char* name;
        int r, g, b;
    };
    for (const Row& row :
         {Row{"aliceblue", 240, 248, 255}, Row{"black", 0, 0, 0}, Row{"lightblue", 173, 216, 230},
          Row{"rebeccapurple", 102, 51, 153}, Row{"red", 255, 0, 0}, Row{"white", 255, 255, 255},
          Row{"yellowgreen", 154, 205, 50}, Row{"darkslategrey", 47, 79, 79},
          Row{"mediumspringgreen", 0, 250, 154}}) {
        Color c;
        ASSERT_TRUE(ReadsColor(row.name, c)) << row.name;
        ExpectColor(c, Rgb(row.r, row.g, row.b));
    }
}

TEST(ColorReader, CurrentColorAndVariables) {
    ColorImpl c;
    ASSERT_TRUE(ReadColor("currentColor", true, c));
    EXPECT_NE(boost::get<ColorKeys>(&c), nullptr);
    EXPECT_FALSE(ReadColor("currentcolor", false, c));

    ASSERT_TRUE(ReadColor("var(--accent, #00ff00)", false, c));
    const VariableRef* ref = boost::get<VariableRef>(&c);
    ASSERT_NE(ref, nullptr);
    EXPECT_EQ(ref->name, "accent");
    ExpectColor(ref->fallback, {0, 1, 0, 1});

    ASSERT_TRUE(ReadColor("VAR( --a_b-1 )", false, c));
    ref = boost::get<VariableRef>(&c);
    ASSERT_NE(ref, nullptr);
    EXPECT_EQ(ref->name, "a_b-1");
    ExpectColor(ref->fallback, {0, 0, 0, 1});

    // A fallback that is itself a key or a variable becomes opaque black.
    ASSERT_TRUE(ReadColor("var(--x,currentcolor)", false, c));
    ExpectColor(boost::get<VariableRef>(c).fallback, {0, 0, 0, 1});
    ASSERT_TRUE(ReadColor("var(--x,var(--y,red))", false, c));
    ExpectColor(boost::get<VariableRef>(c).fallback, {0, 0, 0, 1});

    for (const char* bad : {"var(accent)", "var(--)", "var(--a,nosuch)", "var(--a", "var(--a red)"})
        EXPECT_FALSE(ReadColor(bad, false, c)) << bad;
}

TEST(ColorReader, HexWithoutDigitsOrOutOfRangeIsAnError) {
    ColorImpl c;
    EXPECT_THROW(ReadColor("#", false, c), SVGError);
    EXPECT_THROW(ReadColor("#xyz", false, c), SVGError);
    EXPECT_THROW(ReadColor("#80000000", false, c), SVGError);
    EXPECT_FALSE(ReadColor("#7fffffff", false, c)); // fits, but eight digits do not read
}

TEST(PaintReader, ColoursNoneAndFaults) {
    PaintImpl p;
    EXPECT_EQ(ReadPaint("red", NoGradients(), p), PaintResult::Set);
    ExpectColor(boost::get<Color>(p), {1, 0, 0, 1});
    EXPECT_EQ(ReadPaint("#fff", NoGradients(), p), PaintResult::Set);
    ExpectColor(boost::get<Color>(p), {1, 1, 1, 1});
    EXPECT_EQ(ReadPaint("  none  ", NoGradients(), p), PaintResult::None);
    EXPECT_EQ(ReadPaint("currentcolor", NoGradients(), p), PaintResult::Set);
    EXPECT_NE(boost::get<ColorKeys>(&p), nullptr);
    EXPECT_EQ(ReadPaint("var(--accent, #00ff00)", NoGradients(), p), PaintResult::Set);
    EXPECT_EQ(boost::get<VariableRef>(p).name, "accent");
    EXPECT_EQ(ReadPaint("none red", NoGradients(), p), PaintResult::Unreadable);
    EXPECT_EQ(ReadPaint("rgb(1 2 3)", NoGradients(), p), PaintResult::Unreadable);
    EXPECT_EQ(ReadPaint("", NoGradients(), p), PaintResult::Unreadable);
    EXPECT_EQ(ReadPaint("red blue", NoGradients(), p), PaintResult::Unreadable);
}

TEST(PaintReader, GradientReferencesAndFallbacks) {
    GradientImpl two;
    two.stops = std::make_shared<const std::vector<GradientStopImpl>>(2);
    two.gradient.x2 = 9;
    const GradientResolver resolver = [&](std::string_view id, GradientLookup& r) {
        if (id == "g1") {
            r.kind = GradientLookup::Kind::Gradient;
            r.gradient = two;
        } else if (id == "empty") {
            r.kind = GradientLookup::Kind::None;
        } else if (id == "one") {
            r.kind = GradientLookup::Kind::Color;
            r.color = Color{0, 0, 1, 1};
        } else {
            r.kind = GradientLookup::Kind::NotFound;
        }
    };
    PaintImpl p;
    ASSERT_EQ(ReadPaint("url(#g1)", resolver, p), PaintResult::Set);
    EXPECT_FLOAT_EQ(boost::get<GradientImpl>(p).gradient.x2, 9.0f);
    EXPECT_EQ(ReadPaint("url(#empty) red", resolver, p), PaintResult::None);
    ASSERT_EQ(ReadPaint("url(#one)", resolver, p), PaintResult::Set);
    ExpectColor(boost::get<Color>(p), {0, 0, 1, 1});
    EXPECT_EQ(ReadPaint("url(#missing)", resolver, p), PaintResult::Unreadable);
    ASSERT_EQ(ReadPaint("url(#missing) green", resolver, p), PaintResult::Set);
    ExpectColor(boost::get<Color>(p), Rgb(0, 128, 0));
    EXPECT_EQ(ReadPaint("url(#g1) none", resolver, p), PaintResult::None);
    EXPECT_EQ(ReadPaint("url(#g1", resolver, p), PaintResult::Unreadable);
}

TEST(TransformReader, EachFunction) {
    ExpectMatrix(TransformOf("matrix(1 2 3 4 5 6)"), {1, 2, 3, 4, 5, 6});
    ExpectMatrix(TransformOf("translate(10)"), {1, 0, 0, 1, 10, 0});
    ExpectMatrix(TransformOf("translate(10,-5)"), {1, 0, 0, 1, 10, -5});
    ExpectMatrix(TransformOf("scale(2)"), {2, 0, 0, 2, 0, 0});
    ExpectMatrix(TransformOf("scale(2 3)"), {2, 0, 0, 3, 0, 0});
    ExpectMatrix(TransformOf("rotate(90)"), {0, 1, -1, 0, 0, 0});
    ExpectMatrix(TransformOf("skewX(45)"), {1, 0, 1, 1, 0, 0});
    ExpectMatrix(TransformOf("skewY(45)"), {1, 1, 0, 1, 0, 0});
}

TEST(TransformReader, ListsComposeInDocumentOrder) {
    ExpectMatrix(TransformOf("rotate(90 10 10)"),
                 TransformOf("translate(10,10) rotate(90) translate(-10,-10)"));
    // translate(10) scale(2): the point (1, 0) scales to (2, 0), then moves to (12, 0).
    double x, y;
    TransformOf("translate(10) scale(2)").Apply(1, 0, x, y);
    EXPECT_NEAR(x, 12, 1e-6);
    EXPECT_NEAR(y, 0, 1e-6);
    ExpectMatrix(TransformOf("translate(1,2) skewX(45)"), {1, 0, 1, 1, 1, 2});
    ExpectMatrix(TransformOf(" translate(1) , scale(2)"), {2, 0, 0, 2, 1, 0});
}

TEST(TransformReader, AnyFaultGivesNoTransform) {
    for (const char* bad : {"", "   ", "scale(2", "scale 2", "Scale(2)", "matrix(1 2 3)",
                            "translate(1 2 3)", "rotate(1 2)", "skewX()", "scale(2) x", "scale(2),",
                            "scale(2) ,, scale(3)", "scale(1 x)"})
        EXPECT_FALSE(HasTransform(bad)) << bad;
}

TEST(NumberReader, FractionsMatchDigitByDigitDivision) {
    // The scanner's result for many fractions, against the rule written out plainly.
    unsigned seed = 12345;
    for (int n = 0; n < 2000; ++n) {
        std::string text = std::to_string(seed % 1000) + ".";
        const int places = 1 + static_cast<int>(seed % 15);
        for (int i = 0; i < places; ++i) {
            seed = seed * 1103515245u + 12345u;
            text += static_cast<char>('0' + (seed >> 16) % 10);
        }
        volatile float expected = static_cast<float>(std::stoi(text.substr(0, text.find('.'))));
        volatile float d = 10.0f;
        for (std::size_t i = text.find('.') + 1; i < text.size(); ++i) {
            expected = expected + static_cast<float>(text[i] - '0') / d;
            d = d * 10.0f;
        }
        float v;
        ASSERT_TRUE(Number(text.c_str(), v)) << text;
        EXPECT_EQ(v, expected) << text;
        seed = seed * 1103515245u + 12345u;
    }
}

TEST(Whitespace, ExactlyTabLineFeedCarriageReturnAndSpace) {
    // Every byte value: form feed, vertical tab, NUL and bytes above 127 are not whitespace.
    for (int code = 0; code < 256; ++code) {
        const char c = static_cast<char>(code);
        const bool expected = code == ' ' || code == '\t' || code == '\n' || code == '\r';
        EXPECT_EQ(IsSpace(c), expected) << code;
    }
    float v = 0.0f;
    EXPECT_TRUE(Number("\t\r\n 7 \n", v));
    EXPECT_EQ(v, 7.0f);
    EXPECT_FALSE(Number("\f7", v));
    EXPECT_FALSE(Number("7\v", v));
}
