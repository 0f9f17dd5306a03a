// The number scanner against the digit-by-digit rule written out plainly: the
// same success, the same float bits and the same end of the number. The scanner
// takes shortcuts (short integer parts summed as integers, fraction quotients
// from a table); these tests hold them to the rule over many inputs.
#include "ValueReaders.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

using namespace SVGEngine;

namespace {

bool IsDigitChar(char c) {
    return c >= '0' && c <= '9';
}

// The rule: sign, integer digits, fraction digits each divided by its power of
// ten, optional exponent; all in single precision, one digit at a time.
bool RuleNumber(const char*& p, const char* end, float& out) {
    const char* s = p;
    if (s == end)
        return false;
    volatile float value = 0.0f;
    float sign = 1.0f;
    if (*s == '-' || *s == '+') {
        sign = *s == '-' ? -1.0f : 1.0f;
        if (++s == end)
            return false;
    }
    bool any = false;
    for (; s != end && IsDigitChar(*s); ++s, any = true)
        value = value * 10.0f + static_cast<float>(*s - '0');
    if (s != end && *s == '.') {
        ++s;
        if (s == end || !IsDigitChar(*s))
            return false;
        volatile float d = 10.0f;
        for (; s != end && IsDigitChar(*s); ++s) {
            value = value + static_cast<float>(*s - '0') / d;
            d = d * 10.0f;
        }
        any = true;
    }
    if (!any)
        return false;
    if (s != end && (*s == 'e' || *s == 'E')) {
        ++s;
        float exponentSign = 1.0f;
        if (s != end && (*s == '-' || *s == '+'))
            exponentSign = *s++ == '-' ? -1.0f : 1.0f;
        if (s == end || !IsDigitChar(*s))
            return false;
        float exponent = 0.0f;
        for (; s != end && IsDigitChar(*s); ++s)
            exponent = exponent * 10.0f + static_cast<float>(*s - '0');
        if (exponent != 0.0f)
            value = value * std::pow(10.0f, exponentSign * exponent);
    }
    const float result = value * sign;
    if (!std::isfinite(result))
        return false;
    out = result;
    p = s;
    return true;
}

std::uint32_t Bits(float f) {
    std::uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

// Scans `text` from `offset` both ways and compares everything.
void ExpectSameAsRule(const std::string& text, std::size_t offset = 0) {
    const char* const begin = text.data() + offset;
    const char* const end = text.data() + text.size();
    const char* ruleCursor = begin;
    const char* scanCursor = begin;
    float ruleValue = 12345.0f, scanValue = 12345.0f;
    const bool ruleRead = RuleNumber(ruleCursor, end, ruleValue);
    const bool scanRead = ReadNumber(scanCursor, end, scanValue);
    ASSERT_EQ(scanRead, ruleRead) << '"' << text << "\" at " << offset;
    EXPECT_EQ(scanCursor - begin, ruleCursor - begin) << '"' << text << '"';
    if (ruleRead) {
        EXPECT_EQ(Bits(scanValue), Bits(ruleValue))
            << '"' << text << "\": " << scanValue << " vs " << ruleValue;
    }
}

class Random {
  public:
    std::uint32_t Next() {
        state_ = state_ * 1664525u + 1013904223u;
        return state_ >> 8;
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }

  private:
    std::uint32_t state_ = 20261207u;
};

std::string Digits(Random& random, int count) {
    std::string s;
    for (int i = 0; i < count; ++i)
        s += static_cast<char>('0' + random.Below(10));
    return s;
}

} // namespace

TEST(NumberScanner, NumbersMatchTheRuleAtEveryLength) {
    // Every count of integer and fraction digits around the shortcuts' limits
    // (seven integer digits, twelve table places), with each kind of byte
    // after the number, at the end of the text and inside longer text.
    Random random;
    const char* const signs[] = {"", "-", "+"};
    const char* const after[] = {"", " ", ",", "-", ".", ".5", "e", "e2", "E-3", "L", "x", "\t"};
    for (int integerDigits = 0; integerDigits <= 10; ++integerDigits)
        for (int fractionDigits = -1; fractionDigits <= 15; ++fractionDigits)
            for (const char* sign : signs)
                for (const char* tail : after)
                    for (int round = 0; round < 4; ++round) {
                        std::string number = sign + Digits(random, integerDigits);
                        if (fractionDigits >= 0)
                            number += "." + Digits(random, fractionDigits);
                        number += tail;
                        ExpectSameAsRule(number);
                        ExpectSameAsRule(number + " 1 2 3 4 5 6 7 8 9");
                        ExpectSameAsRule("0 " + number + "c1,2 3,4 5,6", 2);
                    }
}

TEST(NumberScanner, PathLikeTextMatchesTheRule) {
    // Numbers as drawing tools write them, with separators, read from every
    // position of a long text (each start, also inside numbers).
    Random random;
    std::string text;
    for (int i = 0; i < 4000; ++i) {
        if (random.Below(4) == 0)
            text += "-";
        text += Digits(random, random.Below(5));
        if (random.Below(3) != 0)
            text += "." + Digits(random, 1 + random.Below(4));
        const char* separators[] = {" ", ",", "", "l", " c", "e1", "..", "-"};
        text += separators[random.Below(8)];
    }
    for (std::size_t offset = 0; offset < text.size(); ++offset)
        ExpectSameAsRule(text, offset);
}

TEST(NumberScanner, ArbitraryBytesMatchTheRule) {
    Random random;
    const char alphabet[] =
        "0123456789012345678901234567890123456789..--++eE ,xZ\t\xFF\xFA\x2F\x3A";
    for (int n = 0; n < 60000; ++n) {
        std::string text;
        const int length = 1 + random.Below(26);
        for (int i = 0; i < length; ++i)
            text += alphabet[random.Below(static_cast<int>(sizeof alphabet) - 1)];
        ExpectSameAsRule(text);
    }
}
