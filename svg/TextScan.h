// Character helpers shared by the value readers.
#pragma once

#include <cstddef>
#include <cstring>

namespace SVGEngine {
namespace text {

inline char ToLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when the text at p begins, lower-cased, with the lower-case `word`.
inline bool StartsWithNoCase(const char* p, const char* end, const char* word, std::size_t length) {
    if (static_cast<std::size_t>(end - p) < length)
        return false;
    for (std::size_t i = 0; i < length; ++i)
        if (ToLower(p[i]) != word[i])
            return false;
    return true;
}

inline bool StartsWith(const char* p, const char* end, const char* word) {
    std::size_t length = std::strlen(word);
    return static_cast<std::size_t>(end - p) >= length && std::memcmp(p, word, length) == 0;
}

inline int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

inline bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
} // namespace text
} // namespace SVGEngine
