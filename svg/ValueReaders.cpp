#include "ValueReaders.h"

#include "NumberScanner.h"
#include "TextScan.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace SVGEngine {
namespace {

using namespace text;

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

// A whole attribute holding one value read by `read`, whitespace around it allowed;
// `value` changes only when the whole text is that value.
template <typename Reader>
bool ReadWholeValue(std::string_view text, float& value, const Reader& read) {
    const char* p = text.data();
    const char* end = p + text.size();
    SkipSpaces(p, end);
    float v;
    if (!read(p, end, v))
        return false;
    SkipSpaces(p, end);
    if (p != end)
        return false;
    value = v;
    return true;
}

} // namespace

bool ReadNumber(const char*& p, const char* end, float& value) {
    return ScanNumber(p, end, value);
}

bool ReadNumber(std::string_view text, float& value) {
    return ReadWholeValue(text, value, [](const char*& p, const char* end, float& v) {
        return ReadNumber(p, end, v);
    });
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
    return ReadWholeValue(text, value, [reference](const char*& p, const char* end, float& v) {
        return ReadLength(p, end, reference, true, v);
    });
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

} // namespace SVGEngine
