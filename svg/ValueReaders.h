// Readers that turn SVG attribute text into values. They work in place on the
// text with a cursor; each returns whether it read a value. Numbers are
// accumulated in single precision.
#pragma once

#include "NumberScanner.h"
#include "SVGRenderer.h"

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace SVGEngine {

// The only whitespace of SVG attribute values: tab, line feed, carriage return, space.
inline bool IsSpace(char c) {
    // One bit test: space (32), tab (9), line feed (10) and carriage return (13).
    const unsigned code = static_cast<unsigned char>(c);
    return code <= ' ' && ((0x100002600ull >> code) & 1u) != 0;
}
inline void SkipSpaces(const char*& p, const char* end) {
    while (p != end && IsSpace(*p))
        ++p;
}
// Whitespace, at most one ",", whitespace.
inline void SkipSeparator(const char*& p, const char* end) {
    SkipSpaces(p, end);
    if (p != end && *p == ',') {
        ++p;
        SkipSpaces(p, end);
    }
}

bool ReadNumber(const char*& p, const char* end, float& value);
// A whole attribute holding one number, whitespace around it allowed.
bool ReadNumber(std::string_view text, float& value);

bool ReadLength(const char*& p, const char* end, float reference, bool allowUnitless, float& value);
bool ReadLength(std::string_view text, float reference, float& value);

// Reads a whole number list; on failure `values` keeps the items read so far.
bool ReadNumberList(std::string_view text, bool itemsMayTouch, std::vector<float>& values);
bool ReadLengthList(std::string_view text, float reference, bool itemsMayTouch,
                    std::vector<float>& values);
// Calls `item` for each number without storing the list; returns as ReadNumberList.
bool ForEachNumber(std::string_view text, bool itemsMayTouch,
                   const std::function<void(float)>& item);

std::vector<std::string_view> ReadTokenList(std::string_view text);

bool ReadArcFlag(const char*& p, const char* end, bool& flag);

// Throws SVGError for a "#" without hexadecimal digits or one above 7FFFFFFF.
bool ReadColor(const char*& p, const char* end, bool allowCurrentColor, ColorImpl& color);
// Reads one colour from the start and ignores what follows it.
bool ReadColor(std::string_view text, bool allowCurrentColor, ColorImpl& color);

enum class PaintResult { Set, None, Unreadable };

// What a "url(#id)" paint finds in the gradient table.
struct GradientLookup {
    enum class Kind { NotFound, None, Color, Gradient } kind = Kind::NotFound;
    ColorImpl color;
    GradientImpl gradient;
};
using GradientResolver = std::function<void(std::string_view id, GradientLookup& result)>;

PaintResult ReadPaint(std::string_view text, const GradientResolver& gradients, PaintImpl& paint);

// Plays a transform list into a transform made by the renderer; returns
// nothing when the list is empty or faulty.
std::unique_ptr<Transform> ReadTransformList(std::string_view text, SVGRenderer& renderer);

} // namespace SVGEngine
