#pragma once
#include <string>

// Full form of a path as the file system resolves it: absolute, backslashes
// only, "." and ".." segments resolved, 8.3 short names expanded as far as the
// folders exist, no trailing backslash except on a drive root. Empty on failure.
std::wstring CanonicalPath(const std::wstring& path);
