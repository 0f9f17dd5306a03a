#include "ValueReaders.h"

#include "ColorKeywords.h"
#include "NumberScanner.h"
#include "SVGDocument.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace SVGEngine {
namespace {

char ToLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when the text at p begins, lower-cased, with the lower-case `word`.
bool StartsWithNoCase(const char* p, const char* end, const char* word, std::size_t length) {
    if (static_cast<std::size_t>(end - p) < length)
        return false;
    for (std::size_t i = 0; i < length; ++i)
        if (ToLower(p[i]) != word[i])
            return false;
    return true;
}

bool StartsWith(const char* p, const char* end, const char* word) {
    std::size_t length = std::strlen(word);
    return static_cast<std::size_t>(end - p) >= length && std::memcmp(p, word, length) == 0;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

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

bool ReadListItems(std::string_view text, bool itemsMayTouch,
                   const std::function<bool(const char*&, const char*, float&)>& readItem,
                   const std::function<void(float)>& store) {
    const char* p = text.data();
    const char* end = p + text.size();
    SkipSpaces(p, end);
    while (p != end) {
        float value;
        if (!readItem(p, end, value))
            return false;
        store(value);
        if (!itemsMayTouch && p != end && !IsSpace(*p) && *p != ',')
            return false;
        SkipSeparator(p, end);
    }
    return true;
}

} // namespace

bool ReadNumber(const char*& p, const char* end, float& value) {
    return ScanNumber(p, end, value);
}

bool ReadNumber(std::string_view text, float& value) {
    const char* p = text.data();
    const char* end = p + text.size();
    SkipSpaces(p, end);
    float v;
    if (!ReadNumber(p, end, v))
        return false;
    SkipSpaces(p, end);
    if (p != end)
        return false;
    value = v;
    return true;
}

bool ReadLength(const char*& p, const char* end, float reference, bool allowUnitless,
                float& value) {
    const char* s = p;
    float v;
    if (!ReadNumber(s, end, v))
        return false;
    if (s == end) {
        if (!allowUnitless)
            return false;
        value = v;
        p = s;
        return true;
    }
    const char c = *s;
    if (c == '%') {
        value = v / 100.0f * reference;
        p = s + 1;
        return true;
    }
    if (c == 'c' || c == 'i' || c == 'm' || c == 'p') {
        if (s + 1 == end)
            return false;
        const char u = ToLower(s[1]);
        float factor;
        if (c == 'c' && u == 'm')
            factor = 37.795277f;
        else if (c == 'm' && u == 'm')
            factor = 3.7795277f;
        else if (c == 'i' && u == 'n')
            factor = 96.0f;
        else if (c == 'p' && u == 'c')
            factor = 16.0f;
        else if (c == 'p' && u == 't')
            factor = 1.3333334f;
        else if (c == 'p' && u == 'x')
            factor = 1.0f;
        else
            return false;
        value = v * factor;
        p = s + 2;
        return true;
    }
    if (!allowUnitless)
        return false;
    value = v;
    p = s;
    return true;
}

bool ReadLength(std::string_view text, float reference, float& value) {
    const char* p = text.data();
    const char* end = p + text.size();
    SkipSpaces(p, end);
    float v;
    if (!ReadLength(p, end, reference, true, v))
        return false;
    SkipSpaces(p, end);
    if (p != end)
        return false;
    value = v;
    return true;
}

bool ForEachNumber(std::string_view text, bool itemsMayTouch,
                   const std::function<void(float)>& item) {
    return ReadListItems(
        text, itemsMayTouch,
        [](const char*& p, const char* end, float& v) { return ReadNumber(p, end, v); }, item);
}

bool ReadNumberList(std::string_view text, bool itemsMayTouch, std::vector<float>& values) {
    values.clear();
    return ForEachNumber(text, itemsMayTouch, [&values](float v) { values.push_back(v); });
}

bool ReadLengthList(std::string_view text, float reference, bool itemsMayTouch,
                    std::vector<float>& values) {
    values.clear();
    return ReadListItems(
        text, itemsMayTouch,
        [reference](const char*& p, const char* end, float& v) {
            return ReadLength(p, end, reference, true, v);
        },
        [&values](float v) { values.push_back(v); });
}

std::vector<std::string_view> ReadTokenList(std::string_view text) {
    std::vector<std::string_view> tokens;
    const char* p = text.data();
    const char* end = p + text.size();
    while (true) {
        SkipSpaces(p, end);
        if (p == end)
            break;
        const char* start = p;
        while (p != end && !IsSpace(*p))
            ++p;
        tokens.emplace_back(start, static_cast<std::size_t>(p - start));
    }
    return tokens;
}

bool ReadArcFlag(const char*& p, const char* end, bool& flag) {
    const char* s = p;
    SkipSeparator(s, end);
    if (s == end || (*s != '0' && *s != '1'))
        return false;
    flag = *s == '1';
    p = s + 1;
    return true;
}

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

namespace {

// The longest function name of a transform list, "translate", has nine letters.
bool ReadTransformItem(const char*& p, const char* end, SVGRenderer& renderer,
                       Transform& accumulated) {
    const char* name = p;
    while (p != end && IsLetter(*p))
        ++p;
    const std::string_view function(name, static_cast<std::size_t>(p - name));
    SkipSpaces(p, end);
    if (p == end || *p != '(')
        return false;
    ++p;
    const char* close =
        static_cast<const char*>(std::memchr(p, ')', static_cast<std::size_t>(end - p)));
    if (close == nullptr)
        return false;
    float args[6];
    std::size_t count = 0;
    bool tooMany = false;
    const bool listRead =
        ForEachNumber(std::string_view(p, static_cast<std::size_t>(close - p)), true, [&](float v) {
            if (count < 6)
                args[count++] = v;
            else
                tooMany = true;
        });
    if (!listRead || tooMany)
        return false;
    p = close + 1;
    if (function == "matrix") {
        if (count != 6)
            return false;
        auto m = renderer.CreateTransform(1, 0, 0, 1, 0, 0);
        if (!m)
            return false;
        m->Set(args[0], args[1], args[2], args[3], args[4], args[5]);
        accumulated.Concat(*m);
    } else if (function == "translate") {
        if (count != 1 && count != 2)
            return false;
        accumulated.Translate(args[0], count == 2 ? args[1] : 0.0f);
    } else if (function == "scale") {
        if (count != 1 && count != 2)
            return false;
        accumulated.Scale(args[0], count == 2 ? args[1] : args[0]);
    } else if (function == "rotate") {
        if (count == 1) {
            accumulated.Rotate(args[0]);
        } else if (count == 3) {
            accumulated.Translate(args[1], args[2]);
            accumulated.Rotate(args[0]);
            accumulated.Translate(-args[1], -args[2]);
        } else {
            return false;
        }
    } else if (function == "skewX" || function == "skewY") {
        if (count != 1)
            return false;
        const float t = std::tan(args[0] * 0.017453292f);
        auto m = renderer.CreateTransform(1, 0, 0, 1, 0, 0);
        if (!m)
            return false;
        if (function == "skewX")
            m->Set(1, 0, t, 1, 0, 0);
        else
            m->Set(1, t, 0, 1, 0, 0);
        accumulated.Concat(*m);
    } else {
        return false;
    }
    return true;
}

} // namespace

std::unique_ptr<Transform> ReadTransformList(std::string_view text, SVGRenderer& renderer) {
    const char* p = text.data();
    const char* end = p + text.size();
    SkipSpaces(p, end);
    if (p == end)
        return nullptr;
    std::unique_ptr<Transform> accumulated = renderer.CreateTransform(1, 0, 0, 1, 0, 0);
    if (!accumulated)
        return nullptr;
    bool first = true;
    while (true) {
        SkipSpaces(p, end);
        bool comma = false;
        if (!first && p != end && *p == ',') {
            comma = true;
            ++p;
            SkipSpaces(p, end);
        }
        if (p == end) {
            if (comma)
                return nullptr; // a separator must lead to another item
            break;
        }
        if (!ReadTransformItem(p, end, renderer, *accumulated))
            return nullptr;
        first = false;
    }
    return accumulated;
}

} // namespace SVGEngine
