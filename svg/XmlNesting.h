// A quick scan of XML text for its deepest element nesting, so that text nested
// deeper than the recursive XML reader can safely follow is refused up front.
#pragma once

#include <cstddef>

namespace SVGEngine {

// True when elements in [text, end) nest deeper than `limit`. Comments, CDATA
// sections, processing instructions, DOCTYPE and quoted attribute values are
// skipped; the scan never reads past `end`.
bool NestsDeeperThan(const char* text, const char* end, int limit);

} // namespace SVGEngine
