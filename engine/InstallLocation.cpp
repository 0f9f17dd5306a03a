#include "InstallLocation.h"

#include "ProductNames.h"
#include "WinHandles.h"

#include <cwchar>

std::wstring QueryInstallLocation(bool deleteEntry) {
    std::wstring location;

    HKEY rawUninstallKey = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallKeyPath, 0, KEY_READ, &rawUninstallKey) !=
        ERROR_SUCCESS)
        return location;
    UniqueRegKey uninstallKey(rawUninstallKey);

    HKEY rawProductKey = nullptr;
    if (RegOpenKeyExW(uninstallKey.Get(), kProductSubkeyName, 0, KEY_READ | KEY_WRITE,
                      &rawProductKey) != ERROR_SUCCESS)
        return location;

    {
        UniqueRegKey productKey(rawProductKey);
        wchar_t buffer[260] = {};
        DWORD byteCount = sizeof(buffer);
        if (RegQueryValueExW(productKey.Get(), kInstallLocationValueName, nullptr, nullptr,
                             reinterpret_cast<BYTE*>(buffer), &byteCount) == ERROR_SUCCESS) {
            // A value stored without terminator may fill the buffer completely.
            location.assign(buffer, wcsnlen(buffer, 260));
        }
    }

    if (deleteEntry)
        RegDeleteKeyW(uninstallKey.Get(), kProductSubkeyName);
    return location;
}
