#pragma once
#include <string>

// Windows paths and file names are case-insensitive: they compare ordinally, ignoring case.
bool EqualIgnoringCase(const std::wstring& left, const std::wstring& right);
