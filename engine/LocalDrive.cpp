#include "LocalDrive.h"

#include <windows.h>

namespace {

bool IsLocalDriveType(const std::wstring& root) {
    switch (GetDriveTypeW(root.c_str())) {
    case DRIVE_FIXED:
    case DRIVE_REMOVABLE:
    case DRIVE_RAMDISK:
        return true;
    default:
        return false;
    }
}

// A volume's drive letter names a device ("\Device\HarddiskVolume2"); a SUBST
// drive's names another path ("\??\C:\Some Folder").
bool IsSubstitutedDrive(const std::wstring& driveName) {
    wchar_t device[1024] = {};
    if (QueryDosDeviceW(driveName.c_str(), device, 1024) == 0)
        return true; // cannot tell
    return lstrlenW(device) >= 4 && device[0] == L'\\' && device[1] == L'?' && device[2] == L'?' &&
           device[3] == L'\\';
}

} // namespace

bool IsOnLocalDrive(const std::wstring& path) {
    if (path.size() < 3 || path[1] != L':' || path[2] != L'\\')
        return false;
    return IsLocalDriveType(path.substr(0, 3)) && !IsSubstitutedDrive(path.substr(0, 2));
}
