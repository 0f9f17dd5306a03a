// The number scanner under every numeric value, inline so that the path data
// reader, which calls it for nearly every byte it reads, pays no call for it.
// Values are accumulated in single precision, digit by digit.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace SVGEngine {

// +1 and -1: a sign picked by a flag and applied by a multiplication, which is exact.
// Flags that change at random (signs of numbers, arcs' sweep) would make a jump on
// them mispredicted half the time.
inline constexpr float kSigns[2] = {1.0f, -1.0f};

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

// The scanner a byte at a time; also the fallback of the word-at-a-time scanner below.
inline bool ScanNumberBytewise(const char*& p, const char* end, float& value) {
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

// Eight bytes of text as one word, the first byte in the lowest eight bits.
inline std::uint64_t LoadWord(const char* s) {
    std::uint64_t word;
    std::memcpy(&word, s, sizeof word);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    word = __builtin_bswap64(word);
#endif
    return word;
}

constexpr std::uint64_t EveryByte(std::uint8_t b) {
    return 0x0101010101010101ull * b;
}

// The digit values of the word's first `count` bytes (1 to 7), the others zero.
inline std::uint64_t DigitBytes(std::uint64_t word, int count) {
    return word & (EveryByte(0x0F) >> (64 - 8 * count));
}

// The integer the word's first `count` bytes spell, all digits (count 0 to 7).
// The digits are moved to the top, which drops the bytes after them and leaves
// leading zeros in the empty places; then neighbours are joined into pairs, quads
// and the whole. Four digits or fewer, as nearly every number has, take two joins
// of a 32-bit word; with no digits at all the shift moves everything out of it.
inline std::uint32_t WholeNumber(std::uint64_t word, int count) {
    if (count <= 4) {
        const std::uint64_t low = static_cast<std::uint32_t>(word) & 0x0F0F0F0Fu;
        std::uint32_t d = static_cast<std::uint32_t>(low << (32 - 8 * count));
        d = (d * 10 + (d >> 8)) & 0x00FF00FFu;
        return (d * 100 + (d >> 16)) & 0xFFFFu;
    }
    std::uint64_t d = (word & EveryByte(0x0F)) << (64 - 8 * count);
    d = (d * 10 + (d >> 8)) & 0x00FF00FF00FF00FFull;
    d = (d * 100 + (d >> 16)) & 0x0000FFFF0000FFFFull;
    return static_cast<std::uint32_t>((d * 10000 + (d >> 32)) & 0xFFFFFFFFull);
}

// Adds the fraction places [first, first + count) to v in order; empty places
// hold the digit 0, whose quotient 0 leaves v as it is.
template <int first, int count> inline float AddFractionPlaces(float v, std::uint64_t digitBytes) {
    for (int i = first; i < first + count; ++i)
        v = v + kFractions.value[i][(digitBytes >> (8 * i)) & 0x0F];
    return v;
}

#if defined(__SSE2__)
// One bit per byte of the sixteen bytes at s, the first byte in bit 0.
struct SixteenBytes {
    __m128i bytes;
    explicit SixteenBytes(const char* s)
        : bytes(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s))) {}
    unsigned Equal(char c) const {
        return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(c))));
    }
    unsigned Digits() const {
        // Signed compares: bytes from 0x80 up are negative and never digits.
        const __m128i digit = _mm_and_si128(_mm_cmpgt_epi8(bytes, _mm_set1_epi8('0' - 1)),
                                            _mm_cmpgt_epi8(_mm_set1_epi8('9' + 1), bytes));
        return static_cast<unsigned>(_mm_movemask_epi8(digit));
    }
};

// Room the sixteen-byte scanner needs from the number's first byte: the window, and
// the eight bytes of fraction digits read from the tenth byte at the latest.
constexpr std::ptrdiff_t kWindowScanRoom = 18;
#endif

} // namespace detail

// Reads one number at p; on success stores it, moves p past it and returns true.
//
// Where the text allows, the number's shape comes from one look at sixteen bytes:
// where its digits end, whether a point follows, where the fraction ends. The next
// number's start then waits on a few bit operations instead of a chain of byte
// loads and jumps that vary with every number's length. Anything unusual (eight or
// more digits in a part, a '+', an exponent, the end of the text close by) goes to
// the bytewise scanner, which gives the same results.
inline bool ScanNumber(const char*& p, const char* end, float& value) {
#if defined(__SSE2__)
    if (end - p < detail::kWindowScanRoom)
        return detail::ScanNumberBytewise(p, end, value);
    const detail::SixteenBytes window(p);
    const unsigned notDigit = ~window.Digits(); // bits 16 and up set: every search ends
    if (*p == '+')
        return detail::ScanNumberBytewise(p, end, value); // rare
    const bool negative = *p == '-';
    const int start = negative;
    const int integerEnd = __builtin_ctz(notDigit >> start) + start;
    const int integerDigits = integerEnd - start;
    if (integerDigits > 7)
        return detail::ScanNumberBytewise(p, end, value);
    // Up to seven digits every step of value * 10 + digit is exact in a float,
    // so the integer part is exactly the float of the whole number.
    float v = static_cast<float>(detail::WholeNumber(detail::LoadWord(p + start), integerDigits));
    int numberEnd = integerEnd;
    const bool point = (window.Equal('.') >> integerEnd) & 1u;
    if (point) {
        const int fractionStart = integerEnd + 1;
        const int fractionEnd = __builtin_ctz(notDigit >> fractionStart) + fractionStart;
        const int fractionDigits = fractionEnd - fractionStart;
        if (fractionDigits > 7 || fractionEnd > 15)
            return detail::ScanNumberBytewise(p, end, value);
        if (fractionDigits == 0)
            return false;
        // The table holds exactly the quotients digit / d the rule adds one by one.
        const std::uint64_t fraction =
            detail::DigitBytes(detail::LoadWord(p + fractionStart), fractionDigits);
        v = detail::AddFractionPlaces<0, 2>(v, fraction);
        if (fractionDigits > 2) {
            v = detail::AddFractionPlaces<2, 2>(v, fraction);
            if (fractionDigits > 4)
                v = detail::AddFractionPlaces<4, 3>(v, fraction);
        }
        numberEnd = fractionEnd;
    }
    if (integerDigits == 0 && !point)
        return false;
    // 'e' and 'E' are the only bytes that read 'e' with the case bit set.
    if ((p[numberEnd] | 0x20) == 'e')
        return detail::ScanNumberBytewise(p, end, value); // an exponent, rare
    value = v * kSigns[negative];
    p += numberEnd;
    return true;
#else
    return detail::ScanNumberBytewise(p, end, value);
#endif
}

} // namespace SVGEngine
