#include "CanonicalPath.h"

#include <windows.h>

namespace {

std::wstring FullPathName(const std::wstring& path) {
    DWORD capacity = MAX_PATH;
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::wstring full(capacity, L'\0');
        const DWORD length = GetFullPathNameW(path.c_str(), capacity, full.data(), nullptr);
        if (length == 0)
            return std::wstring();
        if (length < capacity) {
            full.resize(length);
            return full;
        }
        capacity = length + 1;
    }
    return std::wstring();
}

bool LongPathName(const std::wstring& path, std::wstring& longPath) {
    DWORD capacity = MAX_PATH;
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::wstring buffer(capacity, L'\0');
        const DWORD length = GetLongPathNameW(path.c_str(), buffer.data(), capacity);
        if (length == 0)
            return false;
        if (length < capacity) {
            buffer.resize(length);
            longPath = buffer;
            return true;
        }
        capacity = length + 1;
    }
    return false;
}

// Expands short names in the longest leading part of the path that exists.
std::wstring ExpandShortNames(const std::wstring& fullPath) {
    std::wstring existing = fullPath;
    std::wstring rest;
    while (!existing.empty()) {
        std::wstring expanded;
        if (LongPathName(existing, expanded)) {
            if (!expanded.empty() && expanded.back() == L'\\' && !rest.empty())
                expanded.pop_back();
            return expanded + rest;
        }
        const size_t separator = existing.find_last_of(L'\\');
        if (separator == std::wstring::npos || separator + 1 >= existing.size())
            break;
        rest = existing.substr(separator) + rest;
        existing.erase(separator);
        if (existing.size() == 2 && existing[1] == L':')
            existing += L'\\'; // keep the root a root
    }
    return fullPath;
}

} // namespace

std::wstring CanonicalPath(const std::wstring& path) {
    std::wstring canonical = FullPathName(path);
    if (canonical.empty())
        return canonical;
    canonical = ExpandShortNames(canonical);
    while (canonical.size() > 3 && canonical.back() == L'\\')
        canonical.pop_back();
    return canonical;
}
