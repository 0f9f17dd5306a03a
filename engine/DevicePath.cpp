#include "DevicePath.h"

#include <windows.h>

namespace {

bool IsFloppyDrive(const wchar_t* driveRoot) {
    return lstrcmpiW(driveRoot, L"A:\\") == 0 || lstrcmpiW(driveRoot, L"B:\\") == 0;
}

// The device name must cover a whole path segment: "\Device\HarddiskVolume1" is
// not the device of "\Device\HarddiskVolume10\x".
bool StartsWithDevice(const std::wstring& path, const wchar_t* device, int deviceLength) {
    if (deviceLength <= 0 || path.size() < static_cast<size_t>(deviceLength))
        return false;
    if (CompareStringOrdinal(path.c_str(), deviceLength, device, deviceLength, TRUE) != CSTR_EQUAL)
        return false;
    return path.size() == static_cast<size_t>(deviceLength) || path[deviceLength] == L'\\';
}

} // namespace

std::wstring DeviceToDrivePath(std::wstring devicePath) {
    wchar_t driveList[1000] = {};
    const DWORD listLength = GetLogicalDriveStringsW(1000, driveList);
    if (listLength == 0 || listLength > 1000)
        return devicePath;

    for (const wchar_t* drive = driveList; *drive != L'\0'; drive += lstrlenW(drive) + 1) {
        if (IsFloppyDrive(drive))
            continue;
        const wchar_t driveName[3] = {drive[0], drive[1], L'\0'};
        wchar_t device[100] = {};
        // A drive whose device name cannot be read (one longer than the room here,
        // as a network drive's can be) says nothing about the path: try the next.
        if (QueryDosDeviceW(driveName, device, 100) == 0)
            continue;
        const int deviceLength = lstrlenW(device);
        if (StartsWithDevice(devicePath, device, deviceLength))
            return driveName + devicePath.substr(deviceLength);
    }
    return devicePath;
}
