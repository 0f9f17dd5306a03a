#pragma once
// Text between the wide strings of Windows and the UTF-8 of files, pipes and messages.
#include <string>
#include <vector>

namespace TestSupport {

std::string Utf8(const std::wstring& text);
std::wstring FromUtf8(const std::vector<char>& bytes);

} // namespace TestSupport
