#include "ProductPaths.h"

std::wstring ProductFilePath(const std::wstring& installLocation,
                             const std::wstring& relativePath) {
    std::wstring path = installLocation;
    while (!path.empty() && (path.back() == L'\\' || path.back() == L'/'))
        path.pop_back();
    return path + L'\\' + relativePath;
}
