// The number scanner under every numeric value, inline so that the path data
// reader, which calls it for nearly every byte it reads, pays no call for it.
// Values are accumulated in single precision, digit by digit.
#pragma once

#include <cmath>
#include <cstdint>

namespace SVGEngine {

inline bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

namespace detail {

// digit / d for the first fraction places, d = 10, 100, ... multiplied up in
// single precision as the scanner does; computed by the compiler with the same
// rounding as a division at run time.
constexpr int kFractionPlaces = 12;
struct FractionTable {
    float value[kFractionPlaces][10] = {};
    float nextDivisor = 0.0f; // d for the place after the table
    constexpr FractionTable() {
        float d = 10.0f;
        for (int place = 0; place < kFractionPlaces; ++place) {
            for (int digit = 0; digit < 10; ++digit)
                value[place][digit] = static_cast<float>(digit) / d;
            d *= 10.0f;
        }
        nextDivisor = d;
    }
};
inline constexpr FractionTable kFractions;

} // namespace detail

inline bool ScanNumber(const char*& p, const char* end, float& value) {
    const char* s = p;
    if (s == end)
        return false;
    float sign = 1.0f;
    if (*s == '-' || *s == '+') {
        if (*s == '-')
            sign = -1.0f;
        ++s;
        if (s == end)
            return false;
    }
    // Up to seven digits every step of value * 10 + digit is exact in a float,
    // so they are summed as an integer first with the same result.
    const char* first = s;
    const char* exactEnd = end - s > 7 ? s + 7 : end;
    std::uint32_t whole = 0;
    while (s != exactEnd && IsDigit(*s)) {
        whole = whole * 10 + static_cast<std::uint32_t>(*s - '0');
        ++s;
    }
    float v = static_cast<float>(whole);
    // Stopped short of exactEnd, the loop met a non-digit: no need to look again.
    if (s == exactEnd) {
        while (s != end && IsDigit(*s)) {
            v = v * 10.0f + static_cast<float>(*s - '0');
            ++s;
        }
    }
    bool digits = s != first;
    if (s != end && *s == '.') {
        ++s;
        if (s == end || !IsDigit(*s))
            return false;
        // The table holds exactly the quotients digit / d, without dividing.
        const char* tableEnd =
            end - s > detail::kFractionPlaces ? s + detail::kFractionPlaces : end;
        const float(*place)[10] = detail::kFractions.value;
        do {
            v = v + (*place)[*s - '0'];
            ++place;
            ++s;
        } while (s != tableEnd && IsDigit(*s));
        if (s == tableEnd) {
            float d = detail::kFractions.nextDivisor;
            while (s != end && IsDigit(*s)) {
                v = v + static_cast<float>(*s - '0') / d;
                d *= 10.0f;
                ++s;
            }
        }
        digits = true;
    }
    if (!digits)
        return false;
    // 'e' and 'E' are the only bytes that read 'e' with the case bit set.
    if (s != end && (*s | 0x20) == 'e') {
        ++s;
        float expSign = 1.0f;
        if (s != end && (*s == '-' || *s == '+')) {
            if (*s == '-')
                expSign = -1.0f;
            ++s;
        }
        if (s == end || !IsDigit(*s))
            return false;
        float exponent = 0.0f;
        while (s != end && IsDigit(*s)) {
            exponent = exponent * 10.0f + static_cast<float>(*s - '0');
            ++s;
        }
        if (exponent != 0.0f)
            v *= std::pow(10.0f, expSign * exponent);
    }
    v *= sign;
    if (!std::isfinite(v))
        return false;
    value = v;
    p = s;
    return true;
}

} // namespace SVGEngine
