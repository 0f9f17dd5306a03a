// Small helpers over the XML reader's nodes, shared by the parser's files.
#pragma once

#include <boost/property_tree/detail/rapidxml.hpp>

#include <string_view>

namespace SVGEngine {
namespace xml {

namespace rapidxml = boost::property_tree::detail::rapidxml;

inline std::string_view Name(const rapidxml::xml_base<char>& item) {
    return {item.name(), item.name_size()};
}
inline std::string_view Value(const rapidxml::xml_base<char>& item) {
    return {item.value(), item.value_size()};
}

inline bool IsElement(const rapidxml::xml_node<char>& node) {
    return node.type() == rapidxml::node_element;
}

// The value of the first attribute of that name, if present.
inline bool Attribute(const rapidxml::xml_node<char>& node, const char* name,
                      std::string_view& value) {
    const rapidxml::xml_attribute<char>* a = node.first_attribute(name);
    if (a == nullptr)
        return false;
    value = Value(*a);
    return true;
}

inline bool HasChildElement(const rapidxml::xml_node<char>& node) {
    for (auto* c = node.first_node(); c != nullptr; c = c->next_sibling())
        if (IsElement(*c))
            return true;
    return false;
}

} // namespace xml
} // namespace SVGEngine
