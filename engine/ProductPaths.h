#pragma once
#include <string>

// Full path of a file inside the install folder, joined with exactly one
// backslash however the location ends ("C:\Corvane\" gives "C:\Corvane\x.exe").
std::wstring ProductFilePath(const std::wstring& installLocation, const std::wstring& relativePath);
