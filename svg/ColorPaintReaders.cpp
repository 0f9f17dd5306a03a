// Colours ("#", "rgb(", "var(", keywords, "currentcolor") and paints.
#include "ColorKeywords.h"
#include "SVGDocument.h"
#include "TextScan.h"
#include "ValueReaders.h"

#include <cstdint>
#include <cstring>

namespace SVGEngine {
namespace {

using namespace text;

// Decimal digits only, at least one; saturates far above 255.
bool ReadInteger(const char*& p, const char* end, int& value) {
    if (p == end || !IsDigit(*p))
        return false;
    value = 0;
    while (p != end && IsDigit(*p)) {
        if (value < 100000)
            value = value * 10 + (*p - '0');
        ++p;
    }
    return true;
}

bool ReadHexColor(const char*& p, const char* end, Color& color) {
    ++p; // '#'
    const char* start = p;
    std::uint64_t value = 0;
    while (p != end && HexDigit(*p) >= 0) {
        value = value * 16 + static_cast<std::uint64_t>(HexDigit(*p));
        if (value > 0x7FFFFFFF)
            throw SVGError("colour value out of range");
        ++p;
    }
    std::size_t digits = static_cast<std::size_t>(p - start);
    if (digits == 0)
        throw SVGError("colour without hexadecimal digits");
    std::uint32_t v = static_cast<std::uint32_t>(value);
    if (digits == 3) {
        color = {static_cast<float>(v / 256) / 15.0f, static_cast<float>((v / 16) % 16) / 15.0f,
                 static_cast<float>(v % 16) / 15.0f, 1.0f};
        return true;
    }
    if (digits == 6) {
        color = {static_cast<float>(v / 65536) / 255.0f,
                 static_cast<float>((v / 256) % 256) / 255.0f, static_cast<float>(v % 256) / 255.0f,
                 1.0f};
        return true;
    }
    return false;
}

bool ReadRgbColor(const char*& p, const char* end, Color& color) {
    p += 4; // "rgb("
    int components[3];
    for (int i = 0; i < 3; ++i) {
        SkipSpaces(p, end);
        if (!ReadInteger(p, end, components[i]))
            return false;
        SkipSpaces(p, end);
        const char expected = i < 2 ? ',' : ')';
        if (p == end || *p != expected)
            return false;
        ++p;
    }
    auto channel = [](int v) { return static_cast<float>(v < 255 ? v : 255) / 255.0f; };
    color = {channel(components[0]), channel(components[1]), channel(components[2]), 1.0f};
    return true;
}

bool ReadVarColor(const char*& p, const char* end, ColorImpl& color) {
    p += 4; // "var("
    SkipSpaces(p, end);
    if (!StartsWith(p, end, "--"))
        return false;
    p += 2;
    const char* name = p;
    while (p != end && (IsLetter(*p) || IsDigit(*p) || *p == '_' || *p == '-'))
        ++p;
    if (p == name)
        return false;
    VariableRef ref;
    ref.name.assign(name, p);
    SkipSpaces(p, end);
    if (p == end)
        return false;
    if (*p == ',') {
        ++p;
        ColorImpl fallback;
        if (!ReadColor(p, end, true, fallback))
            return false;
        if (const Color* c = boost::get<Color>(&fallback))
            ref.fallback = *c;
        if (p == end || *p != ')')
            return false;
        ++p;
    } else if (*p == ')') {
        ++p;
    } else {
        return false;
    }
    color = std::move(ref);
    return true;
}

bool ReadKeywordColor(const char*& p, const char* end, Color& color) {
    if (p == end)
        return false;
    const char first = ToLower(*p);
    const ColorKeyword* best = nullptr;
    for (const ColorKeyword* k = ColorKeywordsBegin(); k != ColorKeywordsEnd(); ++k) {
        if (k->name[0] < first)
            continue;
        if (k->name[0] > first)
            break;
        if (StartsWithNoCase(p, end, k->name, k->length) &&
            (best == nullptr || k->length > best->length))
            best = k;
    }
    if (best == nullptr)
        return false;
    color = best->color;
    p += best->length;
    return true;
}
} // namespace

bool ReadColor(const char*& p, const char* end, bool allowCurrentColor, ColorImpl& color) {
    const char* s = p;
    SkipSpaces(s, end);
    if (s == end)
        return false;
    bool ok = false;
    if (*s == '#') {
        Color c;
        ok = ReadHexColor(s, end, c);
        if (ok)
            color = c;
    } else if (StartsWithNoCase(s, end, "rgb(", 4)) {
        Color c;
        ok = ReadRgbColor(s, end, c);
        if (ok)
            color = c;
    } else if (StartsWithNoCase(s, end, "var(", 4)) {
        ok = ReadVarColor(s, end, color);
    } else {
        Color c;
        if (ReadKeywordColor(s, end, c)) {
            color = c;
            ok = true;
        } else if (allowCurrentColor && StartsWithNoCase(s, end, "currentcolor", 12)) {
            color = ColorKeys::CurrentColor;
            s += 12;
            ok = true;
        }
    }
    if (ok)
        p = s;
    return ok;
}

bool ReadColor(std::string_view text, bool allowCurrentColor, ColorImpl& color) {
    const char* p = text.data();
    return ReadColor(p, p + text.size(), allowCurrentColor, color);
}

PaintResult ReadPaint(std::string_view text, const GradientResolver& gradients, PaintImpl& paint) {
    const char* p = text.data();
    const char* end = p + text.size();
    SkipSpaces(p, end);
    if (p == end)
        return PaintResult::Unreadable;
    PaintResult result = PaintResult::Unreadable;
    if (StartsWith(p, end, "url(#")) {
        const char* id = p + 5;
        const char* close =
            static_cast<const char*>(std::memchr(id, ')', static_cast<std::size_t>(end - id)));
        if (close == nullptr)
            return PaintResult::Unreadable;
        GradientLookup found;
        gradients(std::string_view(id, static_cast<std::size_t>(close - id)), found);
        switch (found.kind) {
        case GradientLookup::Kind::NotFound:
            break;
        case GradientLookup::Kind::None:
            return PaintResult::None;
        case GradientLookup::Kind::Color:
            if (const Color* c = boost::get<Color>(&found.color))
                paint = *c;
            else if (const VariableRef* v = boost::get<VariableRef>(&found.color))
                paint = *v;
            else
                paint = ColorKeys::CurrentColor;
            result = PaintResult::Set;
            break;
        case GradientLookup::Kind::Gradient:
            paint = std::move(found.gradient);
            result = PaintResult::Set;
            break;
        }
        p = close + 1;
        SkipSpaces(p, end);
        if (p == end)
            return result;
    }
    // A plain paint, or the fallback after a gradient reference.
    if (StartsWith(p, end, "none")) {
        p += 4;
        result = PaintResult::None;
    } else {
        ColorImpl color;
        if (!ReadColor(p, end, true, color))
            return PaintResult::Unreadable;
        if (const Color* c = boost::get<Color>(&color))
            paint = *c;
        else if (VariableRef* v = boost::get<VariableRef>(&color))
            paint = std::move(*v);
        else
            paint = ColorKeys::CurrentColor;
        result = PaintResult::Set;
    }
    SkipSpaces(p, end);
    return p == end ? result : PaintResult::Unreadable;
}

} // namespace SVGEngine
