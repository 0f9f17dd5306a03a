// Transform lists, played straight into a renderer Transform.
#include "TextScan.h"
#include "ValueReaders.h"

#include <cmath>
#include <cstring>

namespace SVGEngine {

using namespace text;

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
