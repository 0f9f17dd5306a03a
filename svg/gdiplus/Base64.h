// Base64 decoding for images embedded as data URLs.
#pragma once

#include <string_view>
#include <vector>

namespace SVGEngine {

// Decodes the standard alphabet up to the first "=" or the first character outside it (a line
// break or a blank ends the data). A trailing group of two or three characters gives one or two
// bytes; a lone trailing character gives nothing.
std::vector<unsigned char> DecodeBase64Prefix(std::string_view text);

} // namespace SVGEngine
