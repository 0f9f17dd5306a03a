#include "DialogTemplate.h"

#include <cstring>

namespace {

// DLGTEMPLATEEX begins with dlgVer 1 and signature 0xFFFF, then helpID and exStyle (at byte 8);
// a plain DLGTEMPLATE with style and dwExtendedStyle (at byte 4).
constexpr size_t kExtendedTemplateExStyle = 8;
constexpr size_t kPlainTemplateExStyle = 4;

bool IsExtendedTemplate(const BYTE* bytes, size_t size) {
    WORD version = 0, signature = 0;
    if (size < 4)
        return false;
    std::memcpy(&version, bytes, 2);
    std::memcpy(&signature, bytes + 2, 2);
    return version == 1 && signature == 0xFFFF;
}

} // namespace

std::vector<BYTE> DialogTemplateWithExStyle(HINSTANCE module, LPCWSTR name, DWORD exStyle) {
    HRSRC found = FindResourceW(module, name, MAKEINTRESOURCEW(5)); // RT_DIALOG
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const BYTE* bytes = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    const size_t size = found ? SizeofResource(module, found) : 0;
    if (!bytes || size < sizeof(DLGTEMPLATE))
        return {};
    std::vector<BYTE> copy(bytes, bytes + size);
    const size_t at =
        IsExtendedTemplate(bytes, size) ? kExtendedTemplateExStyle : kPlainTemplateExStyle;
    if (copy.size() < at + sizeof(DWORD))
        return {};
    DWORD style = 0;
    std::memcpy(&style, copy.data() + at, sizeof style);
    style |= exStyle;
    std::memcpy(copy.data() + at, &style, sizeof style);
    return copy;
}
