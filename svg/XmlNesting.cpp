#include "XmlNesting.h"

#include <cstring>

namespace SVGEngine {
namespace {

// Moves p past the first occurrence of `marker`, or to end.
const char* SkipPast(const char* p, const char* end, const char* marker) {
    const std::size_t length = std::strlen(marker);
    for (; p + length <= end; ++p)
        if (std::memcmp(p, marker, length) == 0)
            return p + length;
    return end;
}

} // namespace

bool NestsDeeperThan(const char* p, const char* end, int limit) {
    int depth = 0;
    while (p != end) {
        const char* open =
            static_cast<const char*>(std::memchr(p, '<', static_cast<std::size_t>(end - p)));
        if (open == nullptr)
            return false;
        p = open + 1;
        if (p == end)
            return false;
        if (*p == '!') {
            if (end - p >= 3 && p[1] == '-' && p[2] == '-') {
                p = SkipPast(p + 3, end, "-->");
            } else if (end - p >= 8 && std::memcmp(p, "![CDATA[", 8) == 0) {
                p = SkipPast(p + 8, end, "]]>");
            } else {
                // DOCTYPE, possibly with an internal subset in brackets.
                int brackets = 0;
                for (; p != end; ++p) {
                    if (*p == '[')
                        ++brackets;
                    if (*p == ']')
                        --brackets;
                    if (*p == '>' && brackets <= 0)
                        break;
                }
            }
        } else if (*p == '?') {
            p = SkipPast(p + 1, end, "?>");
        } else if (*p == '/') {
            --depth;
        } else {
            if (++depth > limit)
                return true;
            // Find the end of the tag, jumping over quoted values (long path data).
            for (; p != end; ++p) {
                if (*p == '"' || *p == '\'') {
                    const char* close = static_cast<const char*>(
                        std::memchr(p + 1, *p, static_cast<std::size_t>(end - p - 1)));
                    if (close == nullptr)
                        return false;
                    p = close;
                } else if (*p == '>') {
                    if (p[-1] == '/')
                        --depth;
                    break;
                }
            }
        }
    }
    return false;
}

} // namespace SVGEngine
