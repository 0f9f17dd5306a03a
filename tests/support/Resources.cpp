#include "Resources.h"

namespace TestSupport {

Resources::Resources(const std::wstring& file)
    : own_(false), module_(LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}

Resources::~Resources() {
    if (module_)
        FreeLibrary(module_);
}

std::vector<char> Resources::Bytes(const wchar_t* type, const wchar_t* name) const {
    if (!Loaded())
        return {};
    HRSRC resource = FindResourceW(module_, name, type);
    HGLOBAL loaded = resource ? LoadResource(module_, resource) : nullptr;
    const char* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    return data ? std::vector<char>(data, data + SizeofResource(module_, resource))
                : std::vector<char>();
}

std::string Resources::Text(const wchar_t* type, const wchar_t* name) const {
    const std::vector<char> bytes = Bytes(type, name);
    return std::string(bytes.begin(), bytes.end());
}

std::string SvgResource(int id) {
    return Resources().Text(L"SVG", MAKEINTRESOURCEW(id));
}

} // namespace TestSupport
