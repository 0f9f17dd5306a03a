#include "svg/gdiplus/Base64.h"

namespace SVGEngine {
namespace {

int SextetOf(char c) {
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

} // namespace

std::vector<unsigned char> DecodeBase64Prefix(std::string_view text) {
    std::vector<unsigned char> bytes;
    bytes.reserve(text.size() / 4 * 3 + 2);
    unsigned int bits = 0;
    int bitCount = 0;
    for (char c : text) {
        const int sextet = SextetOf(c);
        if (sextet < 0)
            break;
        bits = (bits << 6) | static_cast<unsigned int>(sextet);
        bitCount += 6;
        if (bitCount >= 8) {
            bitCount -= 8;
            bytes.push_back(static_cast<unsigned char>((bits >> bitCount) & 0xFF));
        }
    }
    return bytes;
}

} // namespace SVGEngine
