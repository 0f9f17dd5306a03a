// The XML reader the parser uses, with a faster scan of attribute values.
//
// The reader looks at attribute values a byte at a time until their closing quote or
// the first '&' (after which it translates entities). Path data makes nearly all of a
// large document's bytes attribute values, so that first scan is done here by the C
// library's search for a set of bytes. The scan stops at the same byte as the
// reader's own: the quote, '&' or the text's terminating zero.
#pragma once

#include <boost/property_tree/detail/rapidxml.hpp>

#include <cstring>

namespace boost {
namespace property_tree {
namespace detail {
namespace rapidxml {

namespace fast_scan {
// Moves text to the first `quote`, '&' or terminating zero. Short values (most
// attributes but path data) are looked at directly, without a call.
template <char quote> inline void SkipAttributeValue(char*& text) {
    static constexpr char kStops[] = {quote, '&', '\0'};
    char* s = text;
    for (int i = 0; i < 16; ++i, ++s)
        if (*s == quote || *s == '&' || *s == '\0') {
            text = s;
            return;
        }
    text = s + std::strcspn(s, kStops);
}
} // namespace fast_scan

template <>
template <>
inline void
xml_document<char>::skip<xml_document<char>::attribute_value_pure_pred<'"'>, 0>(char*& text) {
    fast_scan::SkipAttributeValue<'"'>(text);
}

template <>
template <>
inline void
xml_document<char>::skip<xml_document<char>::attribute_value_pure_pred<'\''>, 0>(char*& text) {
    fast_scan::SkipAttributeValue<'\''>(text);
}

} // namespace rapidxml
} // namespace detail
} // namespace property_tree
} // namespace boost
