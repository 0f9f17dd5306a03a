#include "ReparsePoints.h"

#include <windows.h>

bool PassesThroughReparsePoint(const std::wstring& path) {
    if (path.size() <= 3)
        return false;
    for (size_t end = path.find(L'\\', 3);; end = path.find(L'\\', end + 1)) {
        const std::wstring part = path.substr(0, end);
        const DWORD attributes = GetFileAttributesW(part.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            // Nothing below a part that does not exist; any other failure leaves it unknown.
            const DWORD error = GetLastError();
            return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
        }
        if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
            return true;
        if (end == std::wstring::npos)
            return false;
    }
}
